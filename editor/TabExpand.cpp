#include "editor/TabExpand.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "textstore/ShiftJis.h"

namespace tw {

std::string ExpandTabs(std::string_view s, int tabCount, int64_t startColumn) {
    if (s.find('\t') == std::string_view::npos) return std::string(s);
    std::string out;
    out.reserve(s.size() + 8);
    for (char c : s) {
        if (c == '\t')
            out.append(static_cast<size_t>(
                           TabWidthAt(startColumn + static_cast<int64_t>(out.size()), tabCount)),
                       ' ');
        else
            out.push_back(c);
    }
    return out;
}

int64_t ExpandedLength(std::string_view s, int tabCount) noexcept {
    return ColumnAfter(s, tabCount, 0);
}

int64_t ColumnAfter(std::string_view s, int tabCount, int64_t startColumn) noexcept {
    // Stretches without a TAB are one column a byte.
    int64_t column = startColumn;
    for (size_t i = 0; i < s.size();) {
        const void* tab = std::memchr(s.data() + i, '\t', s.size() - i);
        if (!tab) return column + static_cast<int64_t>(s.size() - i);
        const auto t = static_cast<size_t>(static_cast<const char*>(tab) - s.data());
        column += static_cast<int64_t>(t - i);
        column += TabWidthAt(column, tabCount);
        i = t + 1;
    }
    return column;
}

int ExpandedWidth(const ITextMetrics& metrics, std::string_view s, int tabCount) {
    return metrics.CellsWidth(ExpandedLength(s, tabCount));
}

namespace {

/// The byte of `row` under column `target`, walking from byte `i` at column
/// `column`, and the column that byte starts at. A TAB that spans the target
/// is the byte under it.
std::pair<size_t, int64_t> ByteAtColumn(std::string_view row, size_t i, int64_t column,
                                        int64_t target, int tabCount) noexcept {
    while (i < row.size()) {
        const void* tab = std::memchr(row.data() + i, '\t', row.size() - i);
        const size_t t =
            tab ? static_cast<size_t>(static_cast<const char*>(tab) - row.data()) : row.size();
        if (column + static_cast<int64_t>(t - i) > target)
            return {i + static_cast<size_t>(target - column), target};
        column += static_cast<int64_t>(t - i);
        if (t == row.size()) return {t, column};
        const int width = TabWidthAt(column, tabCount);
        if (column + width > target) return {t, column};
        column += width;
        i = t + 1;
    }
    return {row.size(), column};
}

bool StartsCharacter(std::string_view s, size_t i) noexcept {
    return i >= s.size() || ByteTypeAt(s, static_cast<int32_t>(i + 1)) != kTrailByte;
}

}  // namespace

RowSlice SliceColumns(std::string_view row, int tabCount, int64_t first, int64_t last) noexcept {
    first = std::max<int64_t>(first, 0);
    last = std::max(last, first);
    auto [from, column] = ByteAtColumn(row, 0, 0, first, tabCount);
    // A double-byte character cut by the edge is drawn whole.
    if (!StartsCharacter(row, from)) --from, --column;
    size_t to = ByteAtColumn(row, from, column, last, tabCount).first;
    if (!StartsCharacter(row, to)) ++to;
    return {from, to, column};
}

int32_t FitColumns(std::string_view s, int32_t limit, int32_t columns, int tabCount) noexcept {
    limit = std::min<int32_t>(limit, static_cast<int32_t>(s.size()));
    if (limit <= 0) return 0;
    // Stretches without a TAB are one column a byte: where one overflows is
    // a sum, not a walk.
    int64_t column = 0;
    for (int32_t n = 0; n < limit; ++n) {
        const void* tab = std::memchr(s.data() + n, '\t', static_cast<size_t>(limit - n));
        const auto t = tab ? static_cast<int32_t>(static_cast<const char*>(tab) - s.data()) : limit;
        if (column + (t - n) > columns) return n + static_cast<int32_t>(columns - column);
        column += t - n;
        n = t;
        if (n == limit) break;
        column += TabWidthAt(column, tabCount);
        if (column > columns) return n;
    }
    return limit;
}

}  // namespace tw
