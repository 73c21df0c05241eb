// The owner's match test: whole cp932 characters, the case rule checked
// against Unicode through the codec, and the last-hit rules of the dialogs.
#include <gtest/gtest.h>

#include <random>

#include "platform/codec/Cp932Codec.h"
#include "search/FindMatch.h"
#include "textstore/EntryArena.h"
#include "textstore/LineStore.h"
#include "textstore/ShiftJis.h"

using namespace tw;
using namespace std::string_literals;

namespace {

constexpr size_t npos = SearchPattern::npos;

size_t Find(std::string_view text, std::string_view pattern, bool caseSensitive, size_t from = 0) {
    return SearchPattern(pattern, caseSensitive).FindIn(text, from);
}

/// The Unicode letter of the other case, for the scripts cp932 holds.
char32_t UnicodeOtherCase(char32_t c) {
    auto swap = [&](char32_t upper, char32_t lower, char32_t n) -> char32_t {
        if (c >= upper && c < upper + n) return lower + (c - upper);
        if (c >= lower && c < lower + n) return upper + (c - lower);
        return 0;
    };
    if (char32_t o = swap('A', 'a', 26)) return o;
    if (char32_t o = swap(0xFF21, 0xFF41, 26)) return o;
    if (char32_t o = swap(0x0391, 0x03B1, 25)) return o;
    if (char32_t o = swap(0x0410, 0x0430, 32)) return o;
    if (char32_t o = swap(0x0401, 0x0451, 1)) return o;
    return c;
}

/// Compares character by character from q, as the slow and obvious walk does.
bool SameAt(std::string_view t, size_t q, std::string_view p, bool cs) {
    size_t i = 0;
    while (i < p.size()) {
        const size_t w = IsLeadByte(static_cast<unsigned char>(p[i])) ? 2 : 1;
        if (i + w > p.size() || q + i + w > t.size()) return false;
        int a = static_cast<unsigned char>(p[i]), b = static_cast<unsigned char>(t[q + i]);
        if (w == 2) {
            a = a << 8 | static_cast<unsigned char>(p[i + 1]);
            b = b << 8 | static_cast<unsigned char>(t[q + i + 1]);
        }
        if (a != b && (cs || OtherCaseCode(a) != b)) return false;
        i += w;
    }
    return true;
}

size_t WalkFind(std::string_view t, std::string_view p, bool cs, size_t from) {
    if (p.empty()) return npos;
    for (size_t q = 0; q < t.size(); q += IsLeadByte(static_cast<unsigned char>(t[q])) ? 2 : 1)
        if (q >= from && SameAt(t, q, p, cs)) return q;
    return npos;
}

}  // namespace

TEST(SearchPattern, TrailBytesNeverPassForAsciiInEitherCaseMode) {
    // 　 ― ア ヂ Ａ: trail bytes "@", "\", "A", "a", "`"
    const std::string traps = "\x81\x40\x81\x5C\x83\x41\x83\x61\x82\x60"s;
    for (bool cs : {true, false}) {
        SCOPED_TRACE(cs);
        for (std::string_view p : {"@", "\\", "A", "a", "`", "\x41\x83"})
            EXPECT_EQ(Find(traps, p, cs), npos) << p;
        EXPECT_EQ(Find(traps + "x@\\", "@", cs), 11u);
        EXPECT_EQ(Find(traps + "x@\\", "\\", cs), 12u);
        EXPECT_EQ(Find(traps + "xa", "A", cs), cs ? npos : 11u);
        // 亜亜: every byte could lead, and the middle two bytes are no character.
        EXPECT_EQ(Find("\x88\x9f\x88\x9f", "\x9f\x88", cs), npos);
        EXPECT_EQ(Find("\x88\x9f\x88\x9f", "\x88\x9f", cs, 1), 2u);
    }
    // Under its own lead a trail byte is no letter: ア is not ャ's capital.
    EXPECT_EQ(Find("\x83\x61", "\x83\x41", false), npos);
    // Half a character finds nothing, not the first half of one.
    EXPECT_EQ(Find("\x82\xa0", "\x82", true), npos);
}

TEST(SearchPattern, CaseFoldingFollowsUnicodeForEveryCharacterOfTheCaseRows) {
    int pairs = 0;
    for (int code = 0x20; code <= 0x84FC; ++code) {
        if (code == 0x7F) code = 0x8240;
        const int trail = code & 0xFF;
        if (code > 0xFF && (trail < 0x40 || trail == 0x7F || trail > 0xFC)) continue;
        char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        const size_t n = code > 0xFF ? 2 : 1;
        const auto d = cp932::DecodeAt(code > 0xFF ? bytes : bytes + 1, n);
        const char32_t other = d.valid ? UnicodeOtherCase(d.unit) : 0;
        const int expected = other && other != d.unit ? cp932::EncodeChar(other) : code;
        ASSERT_EQ(OtherCaseCode(code), expected) << std::hex << code;
        if (expected != code) ++pairs;
    }
    EXPECT_EQ(pairs, 2 * (26 + 26 + 24 + 33));
    EXPECT_EQ(Find("x\x82\x81\x83\xbf\x84\x91", "\x82\x60\x83\x9f\x84\x60", false), 1u);
    EXPECT_EQ(Find("x\x82\x81\x83\xbf\x84\x91", "\x82\x60\x83\x9f\x84\x60", true), npos);
}

TEST(SearchPattern, AgreesWithACharacterWalkOnRandomText) {
    const std::vector<std::string> alphabet = {
        "a",        "A",        "b",        "@",        "\\",       "\x82\x60",
        "\x82\x81", "\x83\x41", "\x83\x61", "\x88\x9f", "\x84\x40", "\x84\x70",
        "\x84\x4f", "\x84\x80", "\xb1",     "\x81\x40", "\x9f\x88"};
    std::mt19937 rng(7);
    auto make = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string text = make(static_cast<int>(rng() % 40));
        const std::string pattern = make(1 + static_cast<int>(rng() % 3));
        const bool cs = rng() % 2;
        const size_t from = text.empty() ? 0 : rng() % text.size();
        ASSERT_EQ(Find(text, pattern, cs, from), WalkFind(text, pattern, cs, from))
            << round << " cs " << cs;
    }
}

TEST(FindMatcher, FromTopSkipsEverythingBeforeTheLastHit) {
    FindOptions o;
    o.SearchFromTop = true;
    TFindMatcher m(o);
    int32_t x = 0, len = 2;
    m.Match("ab ab", "ab", 0, x, len);
    EXPECT_EQ(x, 1);
    m.Match("ab ab", "ab", 0, x, len);  // the same row again: after the hit
    EXPECT_EQ(x, 4);
    EXPECT_EQ(m.LastHitColumn, 4);
    x = 7;
    m.Match("ab", "ab", -1, x, len);  // a row before: no answer at all
    EXPECT_EQ(x, 7);
    m.Match("ab ab", "ab", 0, x, len);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(m.LastHitColumn, 0);
    m.Match("ab ab", "ab", 0, x, len);  // a row that found nothing is searched whole
    EXPECT_EQ(x, 1);
    m.Match("xab", "ab", 3, x, len);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(m.LastHitLine, 3);
}

TEST(FindMatcher, DownSearchesWhatFollowsAHitWithoutSkippingACharacter) {
    FindOptions o;
    o.SearchDown = true;
    TFindMatcher m(o);
    int32_t x = 0, len = 2;
    m.Match("ab", "ab", 0, x, len);  // the first byte of a text is searched
    EXPECT_EQ(x, 1);
    m.Match(
        "\x82\xa0"
        "ab",
        "ab", 0, x, len);
    EXPECT_EQ(x, 3);
    // The control hands over the text after the hit: a match right there counts.
    m.Match("abab", "ab", 0, x, len);
    EXPECT_EQ(x, 1);
    m.Match("abab", "ab", 1, x, len);
    EXPECT_EQ(x, 1);
}

TEST(FindMatcher, TheCaseFlagIsReadAtEveryQuestion) {
    FindOptions o;
    TFindMatcher m(o);
    int32_t x = 0, len = 1;
    m.Match("xA", "a", 5, x, len);
    EXPECT_EQ(x, 2);
    o.CaseSensitive = true;
    m.Match("xA", "a", 6, x, len);
    EXPECT_EQ(x, 0);
}

TEST(SearchPattern, TheRowScanNamesTheRowOfAMatchAtAnyPlaceAndSkipsTheRest) {
    // サ and フ carry "T" and "t" as trail bytes; the filler row holds no match.
    const std::string filler = "\x83\x54\x83\x74Tokyo the \x83\x54\x83\x74\x83\x54 data\r\n";
    for (bool cs : {true, false}) {
        const SearchPattern p(cs ? "Tarnwick" : "tARNWICK", cs);
        for (size_t at = 0; at < 70; ++at) {
            SCOPED_TRACE(::testing::Message() << "cs " << cs << " at " << at);
            std::string hit = std::string(at, 'x') + "Tarnwick" + std::string(at % 7, 'y');
            TVellStrings rows;
            for (const std::string& r : {filler, filler, hit, filler})
                rows.Add(r);
            EXPECT_EQ(p.FirstPossibleRow(rows, 0, 3), 2);
            EXPECT_EQ(p.FirstPossibleRow(rows, 3, 3), 4);
            // Cut across two rows, the match is named by the row it starts in.
            const size_t cut = at + 1 + at % 7;
            rows.Put(2, hit.substr(0, cut));
            rows.Put(3, hit.substr(cut) + filler);
            EXPECT_EQ(p.FirstPossibleRow(rows, 0, 3), 2);
        }
    }
}

TEST(SearchPattern, RowsLoadedInBulkAreScannedAsTheRowsOneByOne) {
    // The same rows twice: packed one after another as a load makes them, and
    // each in its own allocation. Edits break the packing here and there.
    std::mt19937 rng(7);
    const std::string letters = "TtArnwicK k\x83\x54\x74\x5c-";
    auto randomRow = [&] {
        std::string r(rng() % 50, ' ');
        for (char& c : r)
            c = letters[rng() % letters.size()];
        if (rng() % 9 == 0) r.insert(rng() % (r.size() + 1), "Tarnwick");
        return r;
    };
    EntryArena arena(EntryArena::kChunkSize);
    TVellStrings packed, single;
    for (int i = 0; i < 6000; ++i) {
        const std::string r = rng() % 11 == 0 ? std::string() : randomRow();
        packed.Add(arena.Make(r));
        single.Add(r);
    }
    for (int i = 0; i < 200; ++i) {
        const auto y = static_cast<int32_t>(rng() % static_cast<uint32_t>(packed.Count()));
        const std::string r = randomRow();
        if (i % 3 == 0) {
            packed.Delete(y);
            single.Delete(y);
        } else {
            packed.Put(y, r);
            single.Put(y, r);
        }
    }
    for (const char* text : {"Tarnwick", "tARNWICK", "k", "\x83\x54", "wi"}) {
        for (bool cs : {true, false}) {
            const SearchPattern p(text, cs);
            for (int32_t from = 0; from < packed.Count();) {
                SCOPED_TRACE(::testing::Message() << text << " cs " << cs << " from " << from);
                const int32_t end = single.Count() - 1;
                const int32_t want = p.FirstPossibleRow(single, from, end);
                ASSERT_EQ(p.FirstPossibleRow(packed, from, end), want);
                const int32_t last = from + static_cast<int32_t>(rng() % 40);
                if (last < packed.Count())
                    ASSERT_EQ(p.FirstPossibleRow(packed, from, last),
                              p.FirstPossibleRow(single, from, last));
                from = want + 1;
            }
        }
    }
}
