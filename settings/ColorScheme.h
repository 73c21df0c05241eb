/** @file The eight editor colours, their built-in scheme and the named colours offered for them. */
#pragma once

#include <array>
#include <cstdint>

#include "settings/OptionData.h"

namespace tw {

/// The editor colours in the order of the colour list.
using EditorColors = std::array<uint32_t, 8>;

inline constexpr std::array<const char*, 8> kColorEntryNames = {
    "通常文字",      "エディタ背景",
    "選択文字",      "検索文字",
    "URL、Mail To:", "EOF、改行、全角スペース",
    "引用行",        "キャレットアンダーライン"};

inline constexpr EditorColors kBuiltInColors = {0x000000, 0xFFFFFF, 0xFF0000, 0xFF0000,
                                                0xFF0000, 0x808000, 0x808080, 0x000000};

struct NamedColor {
    const char* Name;
    uint32_t Value;
};

inline constexpr std::array<NamedColor, 18> kNamedColors = {{
    {"Black（黒）", 0x000000},
    {"Maroon（茶）", 0x000080},
    {"Green（緑）", 0x008000},
    {"Olive（オリーブ）", 0x008080},
    {"Navy（紺）", 0x800000},
    {"Purple（紫）", 0x800080},
    {"Teal（青緑）", 0x808000},
    {"Gray（灰）", 0x808080},
    {"Silver（銀）", 0xC0C0C0},
    {"Red（赤）", 0x0000FF},
    {"Lime（ライム）", 0x00FF00},
    {"Yellow（黄）", 0x00FFFF},
    {"Blue（青）", 0xFF0000},
    {"Fuchsia（マゼンダ）", 0xFF00FF},
    {"White（白）", 0xFFFFFF},
    {"MoneyGreen（深緑）", 0xC0DCC0},
    {"SkyBlue（スカイブルー）", 0xF0CAA6},
    {"MedGray（メッゾグレー）", 0xA4A0A0},
}};

/// The list position of a named colour, or -1.
inline int NamedColorIndex(uint32_t value) noexcept {
    for (size_t i = 0; i < kNamedColors.size(); ++i)
        if (kNamedColors[i].Value == value) return static_cast<int>(i);
    return -1;
}

/// The named colour at a list position; 0x000000 for any other position.
inline uint32_t NamedColorValue(int index) noexcept {
    return index >= 0 && index < static_cast<int>(kNamedColors.size()) ? kNamedColors[index].Value
                                                                       : 0x000000;
}

}  // namespace tw
