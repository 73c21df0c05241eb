/** @file Which part of the text one editor control shows, and its pixel geometry. */
#pragma once

#include <cstdint>

namespace tw {

/// The window over the rows: the top row, the sideways scroll, and the sizes
/// derived from the window and the font. Pixel values are client pixels.
struct TViewport {
    /// The first visible row.
    int32_t TopLine = 0;
    /// Horizontal scroll offset in pixels, never negative.
    int ScrollX = 0;
    /// The client size.
    int Width = 185, Height = 89;
    /// The font's average character width and its cell height.
    int CharWidth = 8, CharHeight = 16;
    /// A row: the cell height plus the extra line spacing.
    int RowHeight = 16;
    /// Client x of text column 0 when not scrolled: past the left margin and
    /// the line-number column.
    int TextLeft = 10;
    /// The text area right of TextLeft and below the top margin.
    int TextWidth = 175, TextHeight = 85;
    /// Whole rows that fit in the text area.
    int32_t PageLines = 5;
    /// A fifth of the page: how near the top and bottom edges the caret may
    /// come before the view scrolls, in rows.
    int32_t VMargin = 1;
    /// A fifth of the text width: one sideways scroll step, in pixels.
    int HStep = 35;
    /// The room kept right of the caret when the view scrolls to follow it.
    int CaretMargin = 10;

    /// The last row the page has room for, whether or not the text reaches it.
    int32_t LastVisibleRow() const noexcept { return TopLine + PageLines - 1; }
};

}  // namespace tw
