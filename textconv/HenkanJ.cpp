// The four mappings are tables over every cp932 character, made once from
// rules written in Unicode and carried back through the codec. Only what
// decodes and encodes cleanly gets an entry, so a result never holds a
// character cp932 lacks, and the duplicate rows of the NEC and IBM
// extensions map like the characters they stand for.
#include "textconv/HenkanJ.h"

#include <cstdint>
#include <optional>
#include <unordered_map>

#include "platform/codec/Cp932Codec.h"
#include "textstore/ShiftJis.h"

namespace tw {
namespace {

/// A single byte b as b, a double-byte character as lead << 8 | trail.
using Code = uint16_t;
using CharMap = std::unordered_map<Code, std::string>;
using UnicodeMap = std::unordered_map<char16_t, std::u16string>;

// The full-width forms of the half-width katakana U+FF61..U+FF9F, in order.
constexpr std::u16string_view kFullKana =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    u"ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
constexpr char16_t kHalfKanaFirst = 0xFF61;
constexpr char16_t kHalfVoicedMark = 0xFF9E;
constexpr char16_t kHalfSemiVoicedMark = 0xFF9F;
// Letters that take a mark, and what they become with it.
constexpr std::u16string_view kVoiceable = u"ウカキクケコサシスセソタチツテトハヒフヘホ";
constexpr std::u16string_view kVoiced = u"ヴガギグゲゴザジズゼゾダヂヅデドバビブベボ";
constexpr std::u16string_view kSemiVoiceable = u"ハヒフヘホ";
constexpr std::u16string_view kSemiVoiced = u"パピプペポ";

struct Tables {
    CharMap fullWidth, halfWidth, hiragana, katakana;
    /// Half-width letter byte << 8 | mark byte → the full-width voiced letter.
    CharMap combined;
};

std::optional<std::string> Encoded(std::u16string_view text) {
    std::string out;
    for (char16_t u : text) {
        const int code = cp932::EncodeChar(u);
        if (code < 0) return std::nullopt;
        if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
    }
    return out;
}

/// Calls f(code, unit) for every cp932 character that decodes.
template <class F>
void ForEachCharacter(F f) {
    for (int b = 0; b <= 0xFF; ++b) {
        if (IsLeadByte(static_cast<unsigned char>(b))) continue;
        const char c = static_cast<char>(b);
        const cp932::DecodedChar d = cp932::DecodeAt(&c, 1);
        if (d.valid) f(static_cast<Code>(b), d.unit);
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const cp932::DecodedChar d = cp932::DecodeAt(pair, 2);
            if (d.valid && d.length == 2) f(static_cast<Code>(lead << 8 | trail), d.unit);
        }
    }
}

CharMap OverCp932(const UnicodeMap& rule) {
    CharMap map;
    ForEachCharacter([&](Code code, char16_t unit) {
        const auto it = rule.find(unit);
        if (it == rule.end()) return;
        if (auto bytes = Encoded(it->second)) map.emplace(code, std::move(*bytes));
    });
    return map;
}

UnicodeMap Inverse(const UnicodeMap& rule) {
    UnicodeMap inverse;
    for (const auto& [from, to] : rule)
        if (to.size() == 1) inverse.emplace(to[0], std::u16string(1, from));
    return inverse;
}

UnicodeMap FullWidthRule() {
    UnicodeMap rule{{u' ', u"\u3000"}};
    for (char16_t c = 0x21; c <= 0x7E; ++c)
        rule.emplace(c, std::u16string(1, static_cast<char16_t>(c + 0xFEE0)));
    for (size_t i = 0; i < kFullKana.size(); ++i)
        rule.emplace(static_cast<char16_t>(kHalfKanaFirst + i), std::u16string(1, kFullKana[i]));
    return rule;
}

/// Full-width letter → its half-width form (a single unit).
char16_t HalfOf(const UnicodeMap& halfWidth, char16_t full) {
    return halfWidth.at(full)[0];
}

struct VoicedRule {
    UnicodeMap split;                                // voiced letter → half-width letter + mark
    std::unordered_map<uint32_t, char16_t> combine;  // letter << 16 | mark → voiced letter
};

VoicedRule MakeVoicedRule(const UnicodeMap& halfWidth) {
    VoicedRule rule;
    auto add = [&](std::u16string_view plain, std::u16string_view marked, char16_t mark) {
        for (size_t i = 0; i < plain.size(); ++i) {
            const char16_t half = HalfOf(halfWidth, plain[i]);
            rule.split.emplace(marked[i], std::u16string{half, mark});
            rule.combine.emplace(static_cast<uint32_t>(half) << 16 | mark, marked[i]);
        }
    };
    add(kVoiceable, kVoiced, kHalfVoicedMark);
    add(kSemiVoiceable, kSemiVoiced, kHalfSemiVoicedMark);
    return rule;
}

CharMap CombinedOverCp932(const VoicedRule& voiced) {
    CharMap map;
    for (const auto& [key, letter] : voiced.combine) {
        const int half = cp932::EncodeChar(key >> 16), mark = cp932::EncodeChar(key & 0xFFFF);
        auto bytes = Encoded(std::u16string_view(&letter, 1));
        if (half < 0 || mark < 0 || half > 0xFF || mark > 0xFF || !bytes) continue;
        map.emplace(static_cast<Code>(half << 8 | mark), std::move(*bytes));
    }
    return map;
}

UnicodeMap KatakanaRule() {
    UnicodeMap rule{{u'ゝ', u"ヽ"}, {u'ゞ', u"ヾ"}};
    for (char16_t c = u'ぁ'; c <= u'ん'; ++c)
        rule.emplace(c, std::u16string(1, static_cast<char16_t>(c + 0x60)));
    return rule;
}

Tables MakeTables() {
    Tables t;
    const UnicodeMap full = FullWidthRule();
    UnicodeMap half = Inverse(full);
    const VoicedRule voiced = MakeVoicedRule(half);
    half.insert(voiced.split.begin(), voiced.split.end());
    const UnicodeMap katakana = KatakanaRule();
    t.fullWidth = OverCp932(full);
    t.halfWidth = OverCp932(half);
    t.katakana = OverCp932(katakana);
    t.hiragana = OverCp932(Inverse(katakana));
    t.combined = CombinedOverCp932(voiced);
    return t;
}

const Tables& TheTables() {
    static const Tables tables = MakeTables();
    return tables;
}

unsigned char Byte(std::string_view text, size_t i) {
    return static_cast<unsigned char>(text[i]);
}

std::string Apply(std::string_view text, const CharMap& map, const CharMap* combined = nullptr) {
    std::string out;
    out.reserve(text.size());
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const size_t len = IsLeadByte(Byte(text, i)) && i + 1 < n ? 2 : 1;
        const Code code =
            len == 2 ? static_cast<Code>(Byte(text, i) << 8 | Byte(text, i + 1)) : Byte(text, i);
        if (combined && len == 1 && i + 1 < n) {
            const auto it = combined->find(static_cast<Code>(code << 8 | Byte(text, i + 1)));
            if (it != combined->end()) {
                out += it->second;
                i += 2;
                continue;
            }
        }
        const auto it = map.find(code);
        if (it != map.end())
            out += it->second;
        else
            out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

}  // namespace

std::string ToFullWidth(std::string_view text) {
    return Apply(text, TheTables().fullWidth, &TheTables().combined);
}

std::string ToHalfWidth(std::string_view text) {
    return Apply(text, TheTables().halfWidth);
}

std::string ToHiragana(std::string_view text) {
    return Apply(text, TheTables().hiragana);
}

std::string ToKatakana(std::string_view text) {
    return Apply(text, TheTables().katakana);
}

}  // namespace tw
