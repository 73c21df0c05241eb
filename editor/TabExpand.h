/** @file Tab expansion, shared by layout, caret geometry and painting. */
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/TextMetrics.h"

namespace tw {

/// The columns a TAB at `column` takes: up to the next multiple of the tab count.
inline int TabWidthAt(int64_t column, int tabCount) noexcept {
    return tabCount - static_cast<int>(column % tabCount);
}

/// Each TAB becomes spaces up to the next multiple of `tabCount` byte columns,
/// counted from the start of `s` (a double-byte character counts two).
/// `tabCount` is 1..8; the control clamps it. `startColumn` is the column
/// `s` starts at, for a piece taken from the middle of a row.
std::string ExpandTabs(std::string_view s, int tabCount, int64_t startColumn = 0);

/// Length of ExpandTabs(s, tabCount) without building it.
int64_t ExpandedLength(std::string_view s, int tabCount) noexcept;
/// The column reached after `s` when it starts at `startColumn`.
int64_t ColumnAfter(std::string_view s, int tabCount, int64_t startColumn) noexcept;

/// Width in pixels of `s` with its tabs expanded, without building it.
int ExpandedWidth(const ITextMetrics& metrics, std::string_view s, int tabCount);

/// The whole characters of a row that cover the columns first..last-1 once
/// its tabs are expanded: bytes from..to-1, the first at column `column`.
struct RowSlice {
    size_t from = 0, to = 0;
    int64_t column = 0;
};
/// Painting a row of megabytes draws only this much of it.
RowSlice SliceColumns(std::string_view row, int tabCount, int64_t first, int64_t last) noexcept;

/// The largest n <= limit such that the first n bytes of `s` expand to at
/// most `columns` columns. Expanded length only grows with n, so the first
/// byte that would overflow ends the scan.
int32_t FitColumns(std::string_view s, int32_t limit, int32_t columns, int tabCount) noexcept;

}  // namespace tw
