/** @file Colours as the tab colour fields write them: "#rrggbb". */
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

inline constexpr const char* kColorTextMessage = "16進数以外の数値が指定されています。";

/// "#rrggbb" in lower case for a direct colour 0x00BBGGRR.
std::string ColorText(uint32_t rgb);

struct ParsedColor {
    uint32_t Color = 0;  ///< 0x00BBGGRR, as far as the text was read
    bool Complete = false;
};

/// Reads characters 2 to 7 as the hexadecimal digits of red, green and blue
/// (the first is not examined). At the first one that is missing or no
/// digit it stops with what was summed so far.
ParsedColor ParseColorText(std::string_view text) noexcept;

}  // namespace tw
