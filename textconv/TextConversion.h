/** @file The conversions of the document's "変換(&C)" menu: selection in, its replacement out. */
#pragma once

#include <string>
#include <string_view>

namespace tw {

enum class Conversion {
    LowerCase,
    UpperCase,
    HalfWidth,
    FullWidth,
    Hiragana,
    Katakana,
    SpaceToTab,
    TabToSpace,
};

/// The selection `text` (cp932, CR LF breaks) converted whole. `tabCount` is
/// the editor's tab width, for the two tab conversions.
std::string Convert(Conversion conversion, std::string_view text, int tabCount);

/// Only the single-byte letters change; a double-byte character, whose trail
/// byte may well be a letter's code, is copied as it is.
std::string ToLowerCase(std::string_view text);
std::string ToUpperCase(std::string_view text);

/// Every run of `tabCount` spaces becomes one TAB, counted from wherever the
/// run starts, not from tab stops or line starts; a shorter rest stays spaces.
std::string SpacesToTabs(std::string_view text, int tabCount);

}  // namespace tw
