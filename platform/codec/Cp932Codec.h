// cp932 (Windows Shift-JIS) <-> Unicode at the edges of the editor.
//
// The editor keeps documents as the cp932 bytes they were read as and never
// converts them; these functions serve only what is shown, typed or exchanged
// with other programs. Decoding never fails: every byte ends up in exactly one
// character whose cell width (1 or 2) equals its byte length, so a damaged file
// still lines up on screen and saves back unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw::cp932 {

struct DecodedChar {
    char16_t unit;   // the character, or U+FFFD / U+3013 for undecodable bytes
    uint8_t length;  // bytes taken: 1 or 2 (also the cell width)
    bool valid;      // false for a replacement
};

// Decodes the character starting at p; n >= 1 bytes are available there.
DecodedChar DecodeAt(const char* p, size_t n) noexcept;

// Decodes a whole byte string, one UTF-16 unit per character.
std::u16string Decode(std::string_view bytes);

// Code of one Unicode scalar in cp932: 0..0xFF for single bytes, 0x8140.. for
// double bytes, -1 when there is none.
int EncodeChar(char32_t c) noexcept;

// Encodes UTF-16 text; characters without a cp932 form become "?". *lossy (if
// given) is set to the number of them.
std::string Encode(std::u16string_view text, int* lossy = nullptr);

// As Encode, for UTF-8 text; each ill-formed UTF-8 sequence also becomes one
// "?" and counts as lossy.
std::string EncodeUtf8(std::string_view utf8, int* lossy = nullptr);

}  // namespace tw::cp932
