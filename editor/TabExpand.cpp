#include "editor/TabExpand.h"

#include <algorithm>
#include <cstring>

namespace tw {

std::string ExpandTabs(std::string_view s, int tabCount) {
    if (s.find('\t') == std::string_view::npos) return std::string(s);
    std::string out;
    out.reserve(s.size() + 8);
    for (char c : s) {
        if (c == '\t')
            out.append(static_cast<size_t>(TabWidthAt(static_cast<int64_t>(out.size()), tabCount)),
                       ' ');
        else
            out.push_back(c);
    }
    return out;
}

int64_t ExpandedLength(std::string_view s, int tabCount) noexcept {
    int64_t column = 0;
    for (char c : s)
        column += c == '\t' ? TabWidthAt(column, tabCount) : 1;
    return column;
}

int32_t FitColumns(std::string_view s, int32_t limit, int32_t columns, int tabCount) noexcept {
    limit = std::min<int32_t>(limit, static_cast<int32_t>(s.size()));
    if (limit <= 0) return 0;
    // Without a TAB every byte is one column.
    if (!std::memchr(s.data(), '\t', static_cast<size_t>(limit))) return std::min(limit, columns);
    int64_t column = 0;
    for (int32_t n = 0; n < limit; ++n) {
        column += s[static_cast<size_t>(n)] == '\t' ? TabWidthAt(column, tabCount) : 1;
        if (column > columns) return n;
    }
    return limit;
}

}  // namespace tw
