/** @file The one colour type of the program. */
#pragma once

#include <cstdint>

namespace tw {

/// 0x00BBGGRR, as the settings file stores colours; 0x800000nn stands for the
/// desktop's system colour nn (5 window, 8 window text, 13 highlight, 15 button
/// face, ...), which platform/qt/SystemColors resolves against the palette.
using TColor = uint32_t;

/// Whether the colour names a system colour rather than an RGB value.
constexpr bool IsSystemColor(TColor color) noexcept {
    return (color & 0x80000000u) != 0;
}

}  // namespace tw
