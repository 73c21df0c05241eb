#include "settings/ColorText.h"

#include <cstdio>

namespace tw {

std::string ColorText(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%.2x%.2x%.2x", rgb & 0xFF, (rgb >> 8) & 0xFF,
                  (rgb >> 16) & 0xFF);
    return text;
}

namespace {

int HexDigit(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

ParsedColor ParseColorText(std::string_view text) noexcept {
    // Text position 1..6 after the sign: red high, red low, green high, ...
    static constexpr uint32_t kWeights[6] = {0x10, 0x1, 0x1000, 0x100, 0x100000, 0x10000};
    ParsedColor result;
    for (size_t i = 0; i < 6; ++i) {
        const int digit = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        if (digit < 0) return result;
        result.Color += static_cast<uint32_t>(digit) * kWeights[i];
    }
    result.Complete = true;
    return result;
}

}  // namespace tw
