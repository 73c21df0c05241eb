/** @file Modal messages and the beep, as the logic asks for them. */
#pragma once

#include <string>

namespace tw {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoAbortAll };
enum class MessageIcon { None, Information, Warning, Error, Question };

/// Which button closed the message.
enum class MessageAnswer { Ok, Cancel, Yes, No, Abort, All };

class IMessageBox {
  public:
    virtual ~IMessageBox() = default;
    /// Shows `text` (UTF-8) modally and returns the button pressed; closing the
    /// box without a button answers Cancel (or No where there is no Cancel).
    virtual MessageAnswer Show(const std::string& text, const std::string& caption,
                               MessageButtons buttons, MessageIcon icon) = 0;
    virtual void Beep() = 0;
};

}  // namespace tw
