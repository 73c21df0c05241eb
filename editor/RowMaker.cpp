#include "editor/RowMaker.h"

#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tw {

namespace {

/// The first CR, TAB or NUL at or after `p`, or `end`: the bytes that end,
/// widen or spoil a line. Sixteen bytes at a time, lines being short.
const char* NextSpecial(const char* p, const char* end) noexcept {
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r'), tab = _mm_set1_epi8('\t');
    const __m128i nul = _mm_setzero_si128();
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, tab)), _mm_cmpeq_epi8(v, nul));
        if (const int bits = _mm_movemask_epi8(hit)) return p + __builtin_ctz(bits);
    }
#endif
    while (p < end && *p != '\r' && *p != '\t' && *p != '\0')
        ++p;
    return p;
}

}  // namespace

void RowMaker::Emit(std::string_view line, bool plain, RowBatch& out) {
    // A line that fits the column byte for byte is one row as it stands.
    if (!wordWrap_ ||
        (plain && !rule_.autoWrap && line.size() <= static_cast<size_t>(rule_.column)))
        return out.Add(arena_.Make(line), true);
    CutLine(line, rule_, CutTest::FullWrap, [&](std::string_view piece) {
        out.Add(arena_.Make(piece), piece.data() + piece.size() == line.data() + line.size());
    });
}

size_t RowMaker::Cut(std::string_view text, RowBatch& out) {
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    bool tab = false, spoilt = false;
    for (const char* p = start;;) {
        const char* q = NextSpecial(p, end);
        if (q == end) break;
        p = q + 1;
        if (*q != '\r') {
            (*q == '\t' ? tab : spoilt) = true;
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
            Emit(line, !tab, out);
        }
        start = p;
        tab = spoilt = false;
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
