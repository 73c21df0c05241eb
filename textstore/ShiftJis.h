/** @file Shift-JIS byte classification and the terminator tests shared by the whole editor. */
#pragma once

#include <cstdint>
#include <string_view>

namespace tw {

/// Lead bytes of code page 932.
constexpr bool IsLeadByte(unsigned char b) noexcept {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

enum ByteType : int { kSingleByte = 0, kLeadByte = 1, kTrailByte = 2 };

/// Classifies the byte at 1-based `pos`: 0 single, 1 lead, 2 trail; 0 when
/// `pos` lies outside the string. A byte is a trail byte when an odd number of
/// lead-byte values run directly before it.
int ByteTypeAt(std::string_view s, int32_t pos) noexcept;

/// True when the entry ends a logical line (CR LF) or the document (NUL NUL).
constexpr bool HasTerminator(std::string_view s) noexcept {
    return s.size() > 1 && (s[s.size() - 2] == '\r' || s[s.size() - 2] == '\0');
}

/// The entry without its two terminating bytes.
constexpr std::string_view StripTerminator(std::string_view s) noexcept {
    return HasTerminator(s) ? s.substr(0, s.size() - 2) : s;
}

inline constexpr std::string_view kCrLf{"\r\n", 2};
inline constexpr std::string_view kEndMarker{"\0\0", 2};

}  // namespace tw
