/** @file Tab expansion, shared by layout, caret geometry and painting. */
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

/// The columns a TAB at `column` takes: up to the next multiple of the tab count.
inline int TabWidthAt(int64_t column, int tabCount) noexcept {
    return tabCount - static_cast<int>(column % tabCount);
}

/// Each TAB becomes spaces up to the next multiple of `tabCount` byte columns,
/// counted from the start of `s` (a double-byte character counts two).
/// `tabCount` is 1..8; the control clamps it.
std::string ExpandTabs(std::string_view s, int tabCount);

/// Length of ExpandTabs(s, tabCount) without building it.
int64_t ExpandedLength(std::string_view s, int tabCount) noexcept;

/// The largest n <= limit such that the first n bytes of `s` expand to at
/// most `columns` columns. Expanded length only grows with n, so the first
/// byte that would overflow ends the scan.
int32_t FitColumns(std::string_view s, int32_t limit, int32_t columns, int tabCount) noexcept;

}  // namespace tw
