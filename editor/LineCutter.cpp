#include "editor/LineCutter.h"

#include <string>

#include "editor/TabExpand.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

int PrefixWidth(std::string_view s, int32_t n, const CutRule& rule) {
    return ExpandedWidth(*rule.metrics, s.substr(0, static_cast<size_t>(n)), rule.tabCount);
}

/// The largest n' <= n whose expanded prefix fits the text area. The width
/// grows with the prefix, so a bisection finds the same n' as shrinking one
/// byte at a time, in a handful of measurements instead of a column's worth.
int32_t FitWidth(std::string_view s, int32_t n, const CutRule& rule) {
    if (PrefixWidth(s, n, rule) <= rule.textWidth) return n;
    int32_t lo = 0, hi = n;  // width(lo) fits (or lo is 0), width(hi) does not
    while (hi - lo > 1) {
        int32_t mid = lo + (hi - lo) / 2;
        if (PrefixWidth(s, mid, rule) <= rule.textWidth)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

int32_t FirstCharLength(std::string_view s) {
    if (s.size() < 2) return static_cast<int32_t>(s.size());
    auto c = static_cast<unsigned char>(s[0]);
    return IsLeadByte(c) || c == '\r' || c == '\0' ? 2 : 1;
}

}  // namespace

int32_t NextPieceLength(std::string_view rest, const CutRule& rule, CutTest test) {
    const auto size = static_cast<int32_t>(rest.size());
    int32_t n = FitColumns(rest, rule.column, rule.column, rule.tabCount);
    if (rule.autoWrap && rule.metrics) n = FitWidth(rest, n, rule);
    const auto body = static_cast<int32_t>(
        test == CutTest::FullWrap ? rest.size() : StripTerminator(rest).size());
    if (n >= body) return size;
    if (n > 0) {
        char last = rest[static_cast<size_t>(n - 1)];
        if (last == '\r' || last == '\0') --n;
    }
    if (n > 0 && ByteTypeAt(rest, n) == kLeadByte) --n;
    if (n == 0) n = FirstCharLength(rest);
    return n;
}

}  // namespace tw
