/** @file Font metrics and text width, on a grid of character cells. */
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

namespace tw {

struct FontMetrics {
    int height = 16;  ///< row height of the font in pixels
    int ascent = 13;
    int aveCharWidth = 8;  ///< width of one single-byte cell
};

/// A single-byte character takes one cell, a double-byte character two; the
/// width of a text is its cell count times the cell width, never the sum of
/// hinted glyph advances (those break the 1:2 ratio at some sizes).
class ITextMetrics {
  public:
    virtual ~ITextMetrics() = default;
    virtual FontMetrics Metrics() const = 0;
    /// Width in pixels of cp932 bytes whose tabs are already expanded.
    virtual int TextWidth(std::string_view cp932) const = 0;
    /// Width in pixels of `cells` cells: a text's width without the text.
    int CellsWidth(int64_t cells) const {
        return static_cast<int>(std::min<int64_t>(cells * Metrics().aveCharWidth, INT_MAX));
    }
};

}  // namespace tw
