/** @file The system clipboard, carrying Shift-JIS bytes. */
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw {

/// Text goes out both as Unicode for other programs and as the raw cp932
/// bytes, so that copy and paste inside the program are byte-exact.
class IClipboard {
  public:
    virtual ~IClipboard() = default;
    virtual void SetText(std::string_view cp932) = 0;
    /// The raw bytes when the clipboard holds ours, else its Unicode text
    /// encoded to cp932; nothing when it holds no text.
    virtual std::optional<std::string> GetText() = 0;
};

}  // namespace tw
