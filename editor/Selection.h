/** @file The caret and the selection of one editor control. */
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

#include "editor/RowPos.h"

namespace tw {

/// Where the caret stands and what is selected, in row coordinates. A range
/// selection runs from Anchor to the caret; while nothing is selected the
/// anchor follows the caret.
struct TSelection {
    RowPos Caret;
    /// The fixed end of a range selection.
    RowPos Anchor;
    /// The moving end of the selection as last painted.
    RowPos End;
    /// The end the incremental selection painter drew last.
    RowPos PrevCaret;
    /// The caret as OnSelectionChange last reported it.
    RowPos Reported;
    /// A range from Anchor to the caret exists.
    bool Selected = false;
    /// Select-all: the whole text counts as selected and no range is kept.
    bool AllSelected = false;
    /// The column vertical moves aim for; horizontal moves and edits set it.
    int32_t GoalX = 0;
    /// The caret's pixel x from the text's left edge, after horizontal
    /// scrolling (negative when scrolled out on the left), and its pixel y
    /// from the top row.
    int PixelX = 0, PixelY = 0;

    bool Exists() const noexcept { return Selected || AllSelected; }
    /// The range from the anchor to the painted end, the earlier end first.
    std::pair<RowPos, RowPos> Ordered() const { return std::minmax(Anchor, End); }
    /// Nothing stays selected: every end comes to the caret.
    void CollapseToCaret() noexcept { Anchor = PrevCaret = End = Caret; }
};

}  // namespace tw
