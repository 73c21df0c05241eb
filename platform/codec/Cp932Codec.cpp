#include "platform/codec/Cp932Codec.h"

namespace tw::cp932 {
namespace {

#include "cp932_tables.inc"

// Shown for a lone byte that is not a character; one cell, like the byte.
constexpr char16_t kBadSingle = 0xFFFD;
// Shown for a well-formed pair with no character; GETA MARK is the customary
// placeholder in Japanese text and is two cells wide, like the pair.
constexpr char16_t kBadDouble = 0x3013;

constexpr bool IsLead(uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsTrail(uint8_t b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
constexpr int LeadIndex(uint8_t lead) {
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}

void AppendCode(std::string& out, int code) {
    if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
}

/// A character without a cp932 form becomes "?" and is counted.
void AppendCodeOrMark(std::string& out, int code, int& missing) {
    if (code >= 0) {
        AppendCode(out, code);
        return;
    }
    out.push_back('?');
    ++missing;
}

// One ill-formed UTF-8 sequence per maximal subpart, as the Unicode standard
// recommends, so a single damaged byte costs a single "?".
struct Utf8Step {
    char32_t scalar;  // meaningful only when valid
    size_t length;
    bool valid;
};

Utf8Step NextUtf8(const unsigned char* p, size_t n) {
    unsigned char b = p[0];
    if (b < 0x80) return {b, 1, true};
    size_t need;
    char32_t c;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        need = 1;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        need = 2;
        c = b & 0x0F;
        if (b == 0xE0) lo = 0xA0;  // overlong
        if (b == 0xED) hi = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        need = 3;
        c = b & 0x07;
        if (b == 0xF0) lo = 0x90;  // overlong
        if (b == 0xF4) hi = 0x8F;  // beyond U+10FFFF
    } else {
        return {0, 1, false};
    }
    size_t i = 1;
    for (; i <= need; ++i) {
        if (i >= n) return {0, i, false};
        unsigned char t = p[i];
        if (i == 1 ? (t < lo || t > hi) : (t < 0x80 || t > 0xBF)) return {0, i, false};
        c = (c << 6) | (t & 0x3F);
    }
    return {c, i, true};
}

}  // namespace

DecodedChar DecodeAt(const char* p, size_t n) noexcept {
    uint8_t b = static_cast<uint8_t>(p[0]);
    if (b < 0x80) return {b, 1, true};
    if (b >= 0xA1 && b <= 0xDF) return {static_cast<char16_t>(0xFF61 + (b - 0xA1)), 1, true};
    if (!IsLead(b)) return {kBadSingle, 1, false};
    // A lead byte without a trail stands alone, so the byte after it (often a
    // line break) still begins its own character.
    if (n < 2 || !IsTrail(static_cast<uint8_t>(p[1]))) return {kBadSingle, 1, false};
    char16_t u = kDecodeDouble[LeadIndex(b) * 256 + static_cast<uint8_t>(p[1])];
    if (u == 0) return {kBadDouble, 2, false};
    return {u, 2, true};
}

std::u16string Decode(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        DecodedChar d = DecodeAt(bytes.data() + i, bytes.size() - i);
        out.push_back(d.unit);
        i += d.length;
    }
    return out;
}

int EncodeChar(char32_t c) noexcept {
    if (c == 0) return 0;
    if (c > 0xFFFF) return -1;
    int code = kEncodeBmp[c];
    return code != 0 ? code : -1;
}

std::string Encode(std::u16string_view text, int* lossy) {
    std::string out;
    out.reserve(text.size() * 2);
    int missing = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        if (u >= 0xD800 && u <= 0xDFFF) {
            // cp932 has nothing outside the BMP; a pair is still one character
            // and so one "?".
            if (u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF) {
                ++i;
            }
            AppendCodeOrMark(out, -1, missing);
            continue;
        }
        AppendCodeOrMark(out, EncodeChar(u), missing);
    }
    if (lossy) *lossy = missing;
    return out;
}

std::string EncodeUtf8(std::string_view utf8, int* lossy) {
    std::string out;
    out.reserve(utf8.size());
    int missing = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t i = 0;
    while (i < utf8.size()) {
        Utf8Step s = NextUtf8(p + i, utf8.size() - i);
        i += s.length;
        AppendCodeOrMark(out, s.valid ? EncodeChar(s.scalar) : -1, missing);
    }
    if (lossy) *lossy = missing;
    return out;
}

}  // namespace tw::cp932
