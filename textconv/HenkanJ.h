/** @file The Japanese character-class conversions of a cp932 text. */
#pragma once

#include <string>
#include <string_view>

namespace tw {

// Each converts the whole text, whatever its length, and keeps every byte it
// has no mapping for as it was (NUL, damaged pairs and the duplicate NEC/IBM
// rows included). A double-byte character is a lead byte and the byte after it.

/// ASCII 0x21-0x7E to the full-width forms, the space to the full-width
/// space, half-width katakana to full-width, a following half-width voiced or
/// semi-voiced mark combined into the letter where cp932 has the combination.
std::string ToFullWidth(std::string_view text);
/// The reverse: a voiced letter becomes the half-width letter and its mark.
/// What has no half-width form (hiragana, kanji, most symbols) stays.
std::string ToHalfWidth(std::string_view text);
/// Full-width katakana to the hiragana of the same sound, where cp932 has one.
std::string ToHiragana(std::string_view text);
/// Hiragana to full-width katakana.
std::string ToKatakana(std::string_view text);

}  // namespace tw
