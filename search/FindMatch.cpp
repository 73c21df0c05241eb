// Matching a search text in cp932 rows: whole characters only, optionally
// without case, and fast enough for a walk through a hundred megabytes.
#include "search/FindMatch.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "textstore/LineStore.h"
#include "textstore/ShiftJis.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tw {

namespace {

constexpr size_t npos = std::string_view::npos;

/// A run of letters whose other case sits at a fixed distance in the same
/// row. Lead 0 stands for the single-byte letters.
struct CaseRun {
    unsigned char lead, upper, count, lower;
};

constexpr CaseRun kCaseRuns[] = {
    {0x00, 'A', 26, 'a'},    // ASCII
    {0x82, 0x60, 26, 0x81},  // full-width Latin
    {0x83, 0x9F, 24, 0xBF},  // Greek
    {0x84, 0x40, 15, 0x70},  // Cyrillic up to Н: the small row skips 0x7F
    {0x84, 0x4F, 18, 0x80},  // Cyrillic from О
};

int OtherCaseByte(int lead, int b) noexcept {
    for (const CaseRun& r : kCaseRuns) {
        if (r.lead != lead) continue;
        if (b >= r.upper && b < r.upper + r.count) return r.lower + (b - r.upper);
        if (b >= r.lower && b < r.lower + r.count) return r.upper + (b - r.lower);
    }
    return b;
}

/// A guess at how often a byte turns up in Japanese text, so that the
/// search looks first for the pattern's least common byte: kana and
/// punctuation leads are everywhere, kanji leads and blanks nearly so, and
/// the frequent English letters come before the other letters.
int Commonness(unsigned char b) noexcept {
    if (b >= 0x81 && b <= 0x83) return 16;
    if ((b >= 0x88 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEA)) return 6;
    if (b == ' ' || b == '\t' || b == '\r' || b == '\n') return 6;
    if (b >= 'a' && b <= 'z') return std::string_view("etaoinsrhl").find(b) == npos ? 3 : 4;
    if (b >= 0x40 && b <= 0xFC) return 2;
    return 1;
}

/// Bit 7 of each byte of v is set where that byte is zero. Borrows may mark
/// bytes above the first zero byte as well, but never one below it.
constexpr uint64_t ZeroBytes(uint64_t v) noexcept {
    return (v - 0x0101010101010101ULL) & ~v & 0x8080808080808080ULL;
}

/// The first place in [from, to] that holds `a` or `b`, or npos: one pass of
/// eight bytes at a time finds either byte, where memchr would take a pass
/// (and a call) for each.
size_t Seek(std::string_view s, size_t from, size_t to, unsigned char a, unsigned char b) noexcept {
#if defined(__SSE2__)
    // Sixteen bytes a step; most rows of a text are a few such steps long.
    const __m128i va = _mm_set1_epi8(static_cast<char>(a)),
                  vb = _mm_set1_epi8(static_cast<char>(b));
    auto found = [&](size_t at) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + at));
        return static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(w, va), _mm_cmpeq_epi8(w, vb))));
    };
    for (; from + 16 <= to + 1; from += 16)
        if (const unsigned h = found(from)) return from + std::countr_zero(h);
    if (from > to) return npos;
    if (to >= 15) {
        // The last few bytes: sixteen ending at `to`, those before `from` shifted out.
        const size_t at = to - 15;
        const unsigned h = found(at) >> (from - at);
        return h ? from + std::countr_zero(h) : npos;
    }
#endif
    const uint64_t wa = 0x0101010101010101ULL * a, wb = 0x0101010101010101ULL * b;
    auto hits = [&](size_t at) {
        uint64_t w;
        std::memcpy(&w, s.data() + at, 8);
        return ZeroBytes(w ^ wa) | ZeroBytes(w ^ wb);
    };
    for (; from + 8 <= to + 1; from += 8)
        if (const uint64_t h = hits(from)) return from + std::countr_zero(h) / 8;
    if (from > to) return npos;
    // The last few bytes: one word ending at `to`, its bytes before `from` masked.
    if (to >= 7) {
        const size_t at = to - 7;
        const uint64_t h = hits(at) & (~0ULL << (8 * (from - at)));
        return h ? at + std::countr_zero(h) / 8 : npos;
    }
    for (; from <= to; ++from)
        if (const auto c = static_cast<unsigned char>(s[from]); c == a || c == b) return from;
    return npos;
}

bool OneOf(std::array<unsigned char, 2> alternatives, char c) noexcept {
    const auto u = static_cast<unsigned char>(c);
    return u == alternatives[0] || u == alternatives[1];
}

/// Finds the places of a text that hold one of two bytes followed by one of
/// two others, or one of the first two as the last byte (what follows it
/// lies beyond the text).
class PairSeeker {
  public:
    using Alternatives = std::array<unsigned char, 2>;

    PairSeeker(Alternatives a, Alternatives b) noexcept : a_(a), b_(b) {
#if defined(__SSE2__)
        auto splat = [](unsigned char c) { return _mm_set1_epi8(static_cast<char>(c)); };
        a0_ = splat(a[0]), a1_ = splat(a[1]), b0_ = splat(b[0]), b1_ = splat(b[1]);
#endif
    }

    /// The first such place at or after `from`, or npos.
    size_t Next(std::string_view s, size_t from) const noexcept {
        const size_t n = s.size();
#if defined(__SSE2__)
        for (; from + 17 <= n; from += 16)
            if (const unsigned h = Sixteen(s.data() + from)) return from + std::countr_zero(h);
        if (n >= 17 && from + 1 < n) {
            // The places left: sixteen ending before the last byte, those
            // before `from` shifted out.
            const size_t at = n - 17;
            if (const unsigned h = Sixteen(s.data() + at) >> (from - at))
                return from + std::countr_zero(h);
            from = n - 1;
        }
#endif
        for (; from + 1 < n; ++from)
            if (OneOf(a_, s[from]) && OneOf(b_, s[from + 1])) return from;
        return from + 1 == n && OneOf(a_, s[from]) ? from : npos;
    }

  private:
#if defined(__SSE2__)
    /// A bit for each of the sixteen places from `p`, reading seventeen bytes.
    unsigned Sixteen(const char* p) const noexcept {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const __m128i first = _mm_or_si128(_mm_cmpeq_epi8(w, a0_), _mm_cmpeq_epi8(w, a1_));
        const __m128i second = _mm_or_si128(_mm_cmpeq_epi8(v, b0_), _mm_cmpeq_epi8(v, b1_));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(first, second)));
    }
    __m128i a0_, a1_, b0_, b1_;
#endif
    Alternatives a_, b_;
};

/// True when the byte at `q` starts a character. `known` is a character start
/// at or before `q` and moves up to the next one known, so a walk over many
/// candidates looks at each byte a bounded number of times.
bool StartsCharacter(std::string_view s, size_t q, size_t& known) noexcept {
    const int type = ByteTypeAt(s.substr(known), static_cast<int32_t>(q - known + 1));
    const bool starts = type != kTrailByte;
    known = starts ? q : q + 1;
    return starts;
}

}  // namespace

int OtherCaseCode(int code) noexcept {
    if (code < 0x100) return OtherCaseByte(0, code);
    const int lead = code >> 8;
    return (lead << 8) | OtherCaseByte(lead, code & 0xFF);
}

SearchPattern::SearchPattern(std::string_view text, bool caseSensitive)
    : text_(text), caseSensitive_(caseSensitive), accept_(text.size()) {
    for (size_t i = 0; i < text_.size();) {
        AddCharacter(i);
        i += IsLeadByte(static_cast<unsigned char>(text_[i])) ? 2 : 1;
    }
    int best = 0;
    for (size_t j = 0; j < accept_.size(); ++j) {
        const Alternatives& a = accept_[j];
        const int c = Commonness(a[0]) + (a[1] != a[0] ? Commonness(a[1]) : 0);
        if (j == 0 || c < best) best = c, anchor_ = j;
    }
}

/// The bytes each position of the character at `at` accepts. Only a whole
/// character folds: a trail byte is compared under its own lead.
void SearchPattern::AddCharacter(size_t at) {
    const auto b = static_cast<unsigned char>(text_[at]);
    if (!IsLeadByte(b)) {
        const auto other = caseSensitive_ ? b : static_cast<unsigned char>(OtherCaseByte(0, b));
        accept_[at] = {b, other};
        return;
    }
    accept_[at] = {b, b};
    if (at + 1 >= text_.size()) {
        endsInHalf_ = true;
        return;
    }
    const auto t = static_cast<unsigned char>(text_[at + 1]);
    const auto other = caseSensitive_ ? t : static_cast<unsigned char>(OtherCaseByte(b, t));
    accept_[at + 1] = {t, other};
}

bool SearchPattern::Accepts(size_t at, unsigned char b) const noexcept {
    return b == accept_[at][0] || b == accept_[at][1];
}

bool SearchPattern::MatchesAt(std::string_view s, size_t q) const noexcept {
    for (size_t j = 0; j < text_.size(); ++j)
        if (!Accepts(j, static_cast<unsigned char>(s[q + j]))) return false;
    return true;
}

// Candidates are the places of the pattern's least common position; the other
// positions are compared after. Matching from a character start keeps
// both texts in step character by character, so a byte-wise match that starts
// on a character is a match of whole characters.
size_t SearchPattern::FindIn(std::string_view s, size_t from) const {
    const size_t m = text_.size();
    if (m == 0 || endsInHalf_ || s.size() < m || from > s.size() - m) return npos;
    const size_t to = s.size() - m + anchor_;
    const Alternatives& a = accept_[anchor_];
    size_t known = 0;
    for (size_t at = from + anchor_; (at = Seek(s, at, to, a[0], a[1])) != npos; ++at) {
        const size_t q = at - anchor_;
        if (MatchesAt(s, q) && StartsCharacter(s, q, known)) return q;
    }
    return npos;
}

int32_t SearchPattern::FirstPossibleRow(const TVellStrings& rows, int32_t from,
                                        int32_t last) const {
    const size_t m = text_.size();
    if (m == 0 || endsInHalf_) return last + 1;
    // The rarest byte and its neighbour in the text: a common letter such as
    // the "T" of "Tokyo" rarely comes with the same next byte.
    const size_t p = m == 1 ? 0 : std::min(anchor_, m - 2);
    const Alternatives& a = accept_[p];
    const PairSeeker pairs(a, accept_[m == 1 ? 0 : p + 1]);
    auto next = [&](std::string_view s, size_t at) {
        return m == 1 ? Seek(s, at, s.size() - 1, a[0], a[1]) : pairs.Next(s, at);
    };
    // Row y alone: the row where a match may start, -1 when none may start in it.
    auto possibleIn = [&](int32_t y, std::string_view row) -> int32_t {
        for (size_t at = 0; (at = next(row, at)) != npos; ++at) {
            if (at < p) return RowOfStart(rows, from, y, p - at);
            const size_t q = at - p;
            if (q + m > row.size() || MatchesAt(row, q)) return y;
        }
        return -1;
    };
    // The rows are read a block of packed rows at a time, headers and all; a
    // place found there is looked at again within its own row.
    for (int32_t y = from; y <= last;) {
        if (rows.View(y).empty()) {
            ++y;
            continue;
        }
        const TVellStrings::PackedRows block = rows.PackedFrom(y, last, kBlockBytes, a[0], a[1]);
        const char* base = block.text.data();
        for (size_t at = 0; at < block.text.size() && (at = next(block.text, at)) != npos;) {
            std::string_view row = rows.View(y);
            while (row.empty() || base + at >= row.data() + row.size())
                row = rows.View(++y);
            if (base + at >= row.data()) {
                if (const int32_t found = possibleIn(y, row); found >= 0) return found;
                at = static_cast<size_t>(row.data() + row.size() - base);
            } else {
                at = static_cast<size_t>(row.data() - base);  // a header's bytes
            }
        }
        y = block.last + 1;
    }
    return last + 1;
}

/// The row where a match would start that begins `back` bytes before row y:
/// an earlier row, as far back as `from`.
int32_t SearchPattern::RowOfStart(const TVellStrings& rows, int32_t from, int32_t y, size_t back) {
    auto left = static_cast<int64_t>(back);
    while (left > 0 && y > from)
        left -= static_cast<int64_t>(rows.View(--y).size());
    return y;
}

void TFindMatcher::Match(std::string_view Str, std::string_view findchr, int32_t index, int32_t& x,
                         int32_t& len) {
    if (options_.SearchFromTop && index < LastHitLine) return;
    x = 0;
    const int32_t start = StartPosition(index);
    const size_t at = PatternFor(findchr).FindIn(Str, start > 0 ? start - 1 : 0);
    if (at != SearchPattern::npos) x = static_cast<int32_t>(at) + 1;
    LastHitLine = index;
    LastHitColumn = x;
}

/// Where matching starts on the last hit's row: after that hit. A row whose
/// last question found nothing has no hit to step over, so it is searched
/// whole; otherwise "search down" from the top of a text would never see a
/// match on its first byte.
int32_t TFindMatcher::StartPosition(int32_t index) const noexcept {
    if (index != LastHitLine || LastHitColumn == 0) return 0;
    // Down the control already hands over the text after the hit, so a
    // further skip would lose a match that follows the hit directly
    // ("abab" has two); up and from the top start as the hit's row asks.
    if (options_.SearchFromTop) return LastHitColumn + 1;
    return 1;
}

int32_t TFindMatcher::CandidateRow(const TVellStrings& rows, std::string_view findchr, int32_t from,
                                   int32_t last) {
    return PatternFor(findchr).FirstPossibleRow(rows, from, last);
}

const SearchPattern& TFindMatcher::PatternFor(std::string_view findchr) {
    if (pattern_.Text() != findchr || pattern_.CaseSensitive() != options_.CaseSensitive)
        pattern_ = SearchPattern(findchr, options_.CaseSensitive);
    return pattern_;
}

}  // namespace tw
