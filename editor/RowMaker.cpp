#include "editor/RowMaker.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "editor/TabExpand.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tw {

namespace {

bool IsSpecial(char c) noexcept {
    return c == '\r' || c == '\t' || c == '\0';
}

/// The CRs, TABs and NULs of a text, in order: the bytes that end, widen or
/// spoil a line. Lines are short, so their ends are found from one mask per
/// 64 bytes rather than by a search per line.
class SpecialBytes {
  public:
    SpecialBytes(const char* begin, const char* end) noexcept : block_(begin), end_(end) {
        bits_ = Mask(block_);
    }

    /// The next one, or the end of the text.
    const char* Next() noexcept {
        while (bits_ == 0) {
            if (end_ - block_ <= 64) return end_;
            block_ += 64;
            bits_ = Mask(block_);
        }
        const char* at = block_ + __builtin_ctzll(bits_);
        bits_ &= bits_ - 1;
        return at;
    }

  private:
    uint64_t Mask(const char* p) const noexcept {
        uint64_t bits = 0;
#ifdef __SSE2__
        if (end_ - p >= 64) {
            const __m128i cr = _mm_set1_epi8('\r'), tab = _mm_set1_epi8('\t');
            const __m128i nul = _mm_setzero_si128();
            for (int i = 0; i < 4; ++i) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
                const __m128i hit =
                    _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, tab)),
                                 _mm_cmpeq_epi8(v, nul));
                bits |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(hit)))
                        << (16 * i);
            }
            return bits;
        }
#endif
        const ptrdiff_t n = std::min<ptrdiff_t>(end_ - p, 64);
        for (ptrdiff_t i = 0; i < n; ++i)
            bits |= static_cast<uint64_t>(IsSpecial(p[i])) << i;
        return bits;
    }

    const char* block_;
    const char* end_;
    uint64_t bits_;
};

}  // namespace

void RowMaker::Emit(std::string_view line, bool fits, RowBatch& out) {
    // A line that fits the column is one row as it stands.
    if (!wordWrap_ || (fits && !rule_.autoWrap)) return out.Add(arena_.Make(line), true);
    CutLine(line, rule_, CutTest::FullWrap, [&](std::string_view piece) {
        out.Add(arena_.Make(piece), piece.data() + piece.size() == line.data() + line.size());
    });
}

size_t RowMaker::Cut(std::string_view text, RowBatch& out) {
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    // The columns up to `counted`, TABs expanded; every other byte is one
    // column, a double-byte character two.
    int64_t width = 0;
    const char* counted = start;
    bool spoilt = false;
    SpecialBytes specials(start, end);
    for (;;) {
        const char* q = specials.Next();
        if (q == end) break;
        const char* p = q + 1;
        if (*q == '\t') {
            width += q - counted;
            width += TabWidthAt(width, rule_.tabCount);
            counted = p;
            continue;
        }
        if (*q == '\0') {
            spoilt = true;
            continue;
        }
        if (p < end && *p == '\n')
            ++p;
        else
            spoilt = true;  // a lone CR
        const std::string_view line(start, static_cast<size_t>(p - start));
        if (spoilt) {
            // Rare: mended in a copy of its own.
            std::string mended;
            for (char c : line)
                if (c != '\0') mended += c;
            if (!mended.ends_with("\r\n")) mended += '\n';
            Emit(mended, false, out);
        } else {
            Emit(line, width + (p - counted) <= rule_.column, out);
        }
        start = counted = p;
        width = 0;
        spoilt = false;
    }
    return static_cast<size_t>(start - text.data());
}

void RowMaker::CutLast(std::string_view line, std::string_view terminator, RowBatch& out) {
    std::string whole;
    whole.reserve(line.size() + terminator.size());
    for (char c : line)
        if (c != '\0') whole += c;
    whole += terminator;
    Emit(whole, false, out);
}

}  // namespace tw
