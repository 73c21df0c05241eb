#include "platform/codec/Cp932Codec.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace tw::cp932 {
namespace {

std::string Bytes(int code) {
    std::string s;
    if (code > 0xFF) s.push_back(static_cast<char>(code >> 8));
    s.push_back(static_cast<char>(code & 0xFF));
    return s;
}

// Every well-formed double-byte code, mapped or not.
std::vector<int> AllPairs() {
    std::vector<int> codes;
    for (int lead = 0x81; lead <= 0xFC; lead += lead == 0x9F ? 0x41 : 1) {
        for (int trail = 0x40; trail <= 0xFC; trail += trail == 0x7E ? 2 : 1) {
            codes.push_back(lead << 8 | trail);
        }
    }
    return codes;
}

// What Linux input methods and programs produce for characters Windows users
// type, with the codes Windows gives them.
const struct {
    char32_t c;
    int code;
} kBestFit[] = {{0x301C, 0x8160}, {0x2016, 0x8161}, {0x2212, 0x817C},
                {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00AC, 0x81CA},
                {0x00A5, 0x5C},   {0x203E, 0x7E},   {0x2014, 0x815C}};

// The character walk the display does; the lengths add up to the bytes taken.
std::vector<DecodedChar> WalkAll(std::string_view s) {
    std::vector<DecodedChar> chars;
    for (size_t i = 0; i < s.size(); i += chars.back().length) {
        chars.push_back(DecodeAt(s.data() + i, s.size() - i));
    }
    return chars;
}

size_t TotalLength(const std::vector<DecodedChar>& chars) {
    size_t n = 0;
    for (const DecodedChar& d : chars)
        n += d.length;
    return n;
}

TEST(Cp932Decode, FollowsWindowsTable) {
    const struct {
        int code;
        char16_t unit;
    } kFacts[] = {
        {0x5C, 0x5C},     {0x7E, 0x7E},     {0x8160, 0xFF5E}, {0x817C, 0xFF0D}, {0x8191, 0xFFE0},
        {0x8192, 0xFFE1}, {0x81CA, 0xFFE2}, {0x815C, 0x2015}, {0x8161, 0x2225}, {0x82A0, 0x3042},
        {0x82B1, 0x3053}, {0x889F, 0x4E9C}, {0x8740, 0x2460}, {0xED40, 0x7E8A}, {0xFA40, 0x2170},
        {0xF040, 0xE000}, {0xF9FC, 0xE757}, {0xB1, 0xFF71},   {0xA1, 0xFF61},   {0xDF, 0xFF9F},
    };
    for (const auto& f : kFacts) {
        std::string b = Bytes(f.code);
        DecodedChar d = DecodeAt(b.data(), b.size());
        EXPECT_EQ(d.unit, f.unit) << std::hex << f.code;
        EXPECT_EQ(d.length, b.size()) << std::hex << f.code;
        EXPECT_TRUE(d.valid) << std::hex << f.code;
    }

    // The user-defined rows run on through the private-use area, 188 per row.
    for (int code : AllPairs()) {
        int lead = code >> 8, trail = code & 0xFF;
        if (lead < 0xF0 || lead > 0xF9) continue;
        std::string b = Bytes(code);
        char16_t want =
            static_cast<char16_t>(0xE000 + (lead - 0xF0) * 188 + trail - 0x40 - (trail >= 0x80));
        ASSERT_EQ(DecodeAt(b.data(), 2).unit, want) << std::hex << code;
    }

    for (int b = 0; b < 0x80; ++b) {
        char c = static_cast<char>(b);
        EXPECT_EQ(DecodeAt(&c, 1).unit, b) << "controls stay as they are for the painter";
    }
    for (int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF}) {
        char c = static_cast<char>(b);
        DecodedChar d = DecodeAt(&c, 1);
        EXPECT_EQ(d.unit, 0xFFFD);
        EXPECT_EQ(d.length, 1);
        EXPECT_FALSE(d.valid);
    }
}

TEST(Cp932Decode, LeadByteWalk) {
    const struct {
        std::string bytes;
        std::u16string text;
        std::vector<int> lengths;
    } kCases[] = {
        {"a\x82", u"a\uFFFD", {1, 1}},           // lead at end of text
        {"\x82\r\n", u"\uFFFD\r\n", {1, 1, 1}},  // line break survives
        {"\x82 x", u"\uFFFD x", {1, 1, 1}},      // space is no trail
        {"\x82\x7F", u"\uFFFD\x7F", {1, 1}},     // gap in the trail range
        {"\x82\xFD", u"\uFFFD\uFFFD", {1, 1}},   // above the trail range
        {std::string("\x82\0", 2), std::u16string(u"\uFFFD\0", 2), {1, 1}},
        {"\x82\xA0\xB1", u"\u3042\uFF71", {2, 1}},  // katakana after a pair
        {"\x85\x40", u"\u3013", {2}},               // unmapped row
        {"\x81\xAD\x41", u"\u3013A", {2, 1}},       // gap inside a row
    };
    for (const auto& c : kCases) {
        std::vector<int> lengths;
        std::u16string text;
        for (const DecodedChar& d : WalkAll(c.bytes)) {
            lengths.push_back(d.length);
            text.push_back(d.unit);
            EXPECT_EQ(d.valid, d.unit != 0xFFFD && d.unit != 0x3013);
        }
        EXPECT_EQ(lengths, c.lengths);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(Decode(c.bytes), c.text);
    }

    // Only n bytes may be read: a trail beyond them does not belong to the lead.
    const char pair[] = "\x82\xA0";
    EXPECT_EQ(DecodeAt(pair, 1).unit, 0xFFFD);
    EXPECT_EQ(DecodeAt(pair, 1).length, 1);
}

TEST(Cp932Decode, RandomBytesKeepTheCellGrid) {
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> any(0, 255), len(0, 64);
    for (int round = 0; round < 2000; ++round) {
        std::string s(len(rng), '\0');
        for (char& c : s) {
            // Bias towards lead bytes so truncated and unmapped pairs are common.
            int b = any(rng);
            c = static_cast<char>(b < 96 ? 0x81 + b % 8 : b);
        }
        std::vector<DecodedChar> chars = WalkAll(s);
        ASSERT_EQ(TotalLength(chars), s.size());
        std::u16string text = Decode(s);
        ASSERT_EQ(text.size(), chars.size());
        for (size_t i = 0; i < text.size(); ++i) {
            const DecodedChar& d = chars[i];
            ASSERT_EQ(text[i], d.unit);
            ASSERT_TRUE(d.length == 1 || d.length == 2);
            ASSERT_FALSE(d.unit >= 0xD800 && d.unit <= 0xDFFF);
            if (!d.valid) {
                ASSERT_EQ(d.unit, d.length == 1 ? 0xFFFD : 0x3013);
            }
        }
    }
}

TEST(Cp932Encode, WindowsBestFitAndPreferredCodes) {
    for (const auto& f : kBestFit) {
        EXPECT_EQ(EncodeChar(f.c), f.code) << std::hex << static_cast<uint32_t>(f.c);
    }
    // Characters with several codes take JIS X 0208, then NEC row 13, then IBM.
    const struct {
        char32_t c;
        int code;
    } kPreferred[] = {{0x2252, 0x81E0}, {0x2235, 0x81E6}, {0xFFE2, 0x81CA}, {0x2261, 0x81DF},
                      {0x2160, 0x8754}, {0x3231, 0x878A}, {0x2116, 0x8782}, {0x2121, 0x8784},
                      {0x2170, 0xFA40}, {0x7E8A, 0xFA5C}, {0xFFE4, 0xFA55}, {0xFF07, 0xFA56}};
    for (const auto& f : kPreferred) {
        EXPECT_EQ(EncodeChar(f.c), f.code) << std::hex << static_cast<uint32_t>(f.c);
    }
    for (char32_t c = 0xFF61; c <= 0xFF9F; ++c) {
        EXPECT_EQ(EncodeChar(c), static_cast<int>(0xA1 + (c - 0xFF61)));
    }
    int lossy = -1;
    EXPECT_EQ(Encode(u"\uFF71\u3042\uFF9F", &lossy), "\xB1\x82\xA0\xDF");
    EXPECT_EQ(lossy, 0);
    EXPECT_EQ(Encode(std::u16string(u"a\0b", 3), &lossy), std::string("a\0b", 3));
    EXPECT_EQ(lossy, 0);
}

TEST(Cp932Encode, UnencodableBecomesQuestionMarkAndCounts) {
    const struct {
        std::u16string text;
        std::string bytes;
        int lossy;
    } kCases[] = {
        {u"\uFFFD", "?", 1},
        {u"\U0001F600", "?", 1},  // one character, however many units
        {u"a\U0001F600\U0001F600b", "a??b", 2},
        {std::u16string(1, char16_t(0xD83D)) + u"x", "?x", 1},  // lone high surrogate
        {u"x" + std::u16string(1, char16_t(0xDE00)), "x?", 1},  // lone low surrogate
        {u"\u00E9\u3042", "?\x82\xA0", 1},
    };
    for (const auto& c : kCases) {
        int lossy = -1;
        EXPECT_EQ(Encode(c.text, &lossy), c.bytes);
        EXPECT_EQ(lossy, c.lossy);
    }
    EXPECT_EQ(Encode(u"\u00E9"), "?") << "the count is optional";
    EXPECT_EQ(EncodeChar(0x1F600), -1);
    EXPECT_EQ(EncodeChar(0xD800), -1);
    EXPECT_EQ(EncodeChar(0x110000), -1);
    EXPECT_EQ(EncodeChar(0xFFFD), -1);
}

TEST(Cp932Encode, Utf8Input) {
    const struct {
        std::string utf8;
        std::string bytes;
        int lossy;
    } kCases[] = {
        {"A\xE3\x81\x82", "A\x82\xA0", 0},  // あ
        {"\xE3\x80\x9C", "\x81\x60", 0},    // wave dash, as input methods send it
        {"\xEF\xBD\xB1", "\xB1", 0},        // half-width katakana
        {"\xF0\x9F\x98\x80", "?", 1},       // outside the BMP
        {"\xC3", "?", 1},                   // cut off at the end
        {"\xE3\x81\x41", "?A", 1},          // cut off before ASCII
        {"\xC0\xAF", "??", 2},              // overlong
        {"\xED\xA0\x80", "???", 3},         // encoded surrogate
    };
    for (const auto& c : kCases) {
        int lossy = -1;
        EXPECT_EQ(EncodeUtf8(c.utf8, &lossy), c.bytes);
        EXPECT_EQ(lossy, c.lossy);
    }
}

TEST(Cp932RoundTrip, BytesSurviveUnlessDuplicate) {
    std::set<int> duplicates;
    std::string roundTrips;
    for (int b = 0; b <= 0xFF; ++b) {
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) roundTrips += Bytes(b);
    }
    for (int code : AllPairs()) {
        std::string b = Bytes(code);
        DecodedChar d = DecodeAt(b.data(), 2);
        if (!d.valid) continue;
        int back = EncodeChar(d.unit);
        ASSERT_GT(back, 0xFF) << std::hex << code;
        EXPECT_FALSE(back >> 8 == 0xED || back >> 8 == 0xEE) << "Windows never writes these rows";
        if (back == code) {
            roundTrips += b;
            continue;
        }
        duplicates.insert(code);
        std::string other = Bytes(back);
        EXPECT_EQ(DecodeAt(other.data(), 2).unit, d.unit) << std::hex << code;
        int lead = code >> 8;
        EXPECT_TRUE(lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA)
            << "JIS X 0208 codes are always the preferred ones: " << std::hex << code;
    }
    int lossy = -1;
    EXPECT_EQ(Encode(Decode(roundTrips), &lossy), roundTrips);
    EXPECT_EQ(lossy, 0);

    EXPECT_GT(duplicates.size(), 300u);
    EXPECT_LT(duplicates.size(), 500u);
    // NEC row 13 loses only the symbols JIS X 0208 already has; the IBM rows
    // lose the Roman numerals and symbols NEC row 13 or JIS already has.
    std::set<int> row87, rowFA;
    for (int code : duplicates) {
        if (code >> 8 == 0x87) row87.insert(code);
        if (code >> 8 >= 0xFA) rowFA.insert(code);
    }
    EXPECT_EQ(row87, (std::set<int>{0x8790, 0x8791, 0x8792, 0x8795, 0x8796, 0x8797, 0x879A, 0x879B,
                                    0x879C}));
    EXPECT_EQ(rowFA, (std::set<int>{0xFA4A, 0xFA4B, 0xFA4C, 0xFA4D, 0xFA4E, 0xFA4F, 0xFA50, 0xFA51,
                                    0xFA52, 0xFA53, 0xFA54, 0xFA58, 0xFA59, 0xFA5A, 0xFA5B}));
}

TEST(Cp932RoundTrip, EncodeTableHasNoStrayEntries) {
    // Whatever encodes must decode back to the same character, apart from the
    // agreed best-fit substitutes.
    std::set<char32_t> substitutes;
    for (const auto& f : kBestFit)
        substitutes.insert(f.c);
    for (char32_t c = 1; c <= 0xFFFF; ++c) {
        int code = EncodeChar(c);
        if (code < 0) continue;
        std::string b = Bytes(code);
        DecodedChar d = DecodeAt(b.data(), b.size());
        ASSERT_TRUE(d.valid) << std::hex << static_cast<uint32_t>(c);
        ASSERT_EQ(d.length, b.size());
        if (d.unit != c) {
            EXPECT_TRUE(substitutes.count(c)) << std::hex << static_cast<uint32_t>(c);
        }
    }
}

}  // namespace
}  // namespace tw::cp932
