/** @file The column ruler in a document's top margin: where its ticks and numbers go. */
#pragma once

#include <vector>

namespace tw {

struct RulerLine {
    int x1, y1, x2, y2;
    bool operator==(const RulerLine&) const = default;
};

struct RulerLabel {
    int x, y, column;
    bool operator==(const RulerLabel&) const = default;
};

struct RulerDrawing {
    std::vector<RulerLine> lines;
    std::vector<RulerLabel> labels;
};

/// The editor's geometry the ruler follows.
struct RulerGeometry {
    int firstColumn;  // first visible column, 1-based
    int textLeft;     // left edge of the text area in client pixels
    int lastColumn;   // last column worth a tick
    int textOrigin;   // x of column 1's left edge before scrolling
    int scrollX;      // horizontal scroll in pixels
    int charWidth;    // one byte's cell
};

/// Short ticks at every column, long ticks and numbers every ten columns, a
/// base line under them. Columns left of the text area get nothing, so the
/// line numbers stay clear.
RulerDrawing LayOutRuler(const RulerGeometry& g);

/// The caret mark: a thick inverting stroke at x, from the top of the margin.
inline constexpr int kRulerCaretHeight = 8;
inline constexpr int kRulerCaretPen = 5;

}  // namespace tw
