/** @file A dialog field that keeps the cp932 bytes it was filled from. */
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/qt/Cp932QString.h"

namespace tw {

/// A field filled from a document keeps the bytes it was filled from: Unicode
/// has one character for cp932's NEC and IBM duplicates (87 90 and 81 E0 are
/// both "≒"), so the text read back could name other bytes. The bytes stand
/// until the user changes the field.
class FieldBytes {
  public:
    /// The text to show for `bytes`.
    QString Fill(std::string_view bytes) {
        bytes_ = std::string(bytes);
        shown_ = QStringFromCp932(bytes);
        return shown_;
    }
    /// The bytes the field's present text stands for.
    std::string Of(const QString& text) const {
        return text == shown_ ? bytes_ : Cp932FromQString(text);
    }

  private:
    std::string bytes_;
    QString shown_;
};

}  // namespace tw
