// Clicks, mouse selection with auto-scroll, and moving text by dragging it.
#include <algorithm>

#include "editor/VellView.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

struct Pos {
    int32_t x, y;
    bool operator<=(const Pos& o) const { return y != o.y ? y < o.y : x <= o.x; }
};

}  // namespace

void TVellView::SetCaretFromPoint(int x, int y) {
    ed_.FPrevCaretX = ed_.FCaretX;
    ed_.FPrevCaretY = ed_.FCaretY;
    const int32_t row =
        std::max(0, y - ed_.TopMargin()) / std::max(1, ed_.FRowHeight) + ed_.FTopLine;
    ed_.FCaretY =
        std::max(0, std::min({row, ed_.FTopLine + ed_.FPageLines - 1, ed_.Lines().Count() - 1}));
    ed_.FCaretX = ColFromX(ed_.Lines().View(ed_.FCaretY), x - ed_.FTextLeft + ed_.FScrollX);
    ed_.FGoalX = ed_.FCaretX;
    const int step = ed_.FTextWidth / 3;
    if (step > 0) {
        while (ed_.FCaretPixelX > ed_.FTextWidth + ed_.FScrollX)
            ed_.FScrollX += step;
        while (ed_.FCaretPixelX < ed_.FScrollX)
            ed_.FScrollX = std::max(0, ed_.FScrollX - step);
    }
    ed_.FCaretPixelX -= ed_.FScrollX;
}

/// Both ends of the selected range count as inside it. A range that ends at
/// column 0 of a row ends with the row above, so that column is outside.
bool TVellView::InsideSelection(int32_t x, int32_t y) const {
    if (!ed_.FSelected) return false;
    Pos a{}, b{};
    ed_.GetSelectionRange(a.x, a.y, b.y, b.x);
    const Pos p{x, y};
    return a <= p && p <= b;
}

void TVellView::MouseDown(MouseButton button, int x, int y) {
    if (dblClicked_) {
        dblClicked_ = false;
        return;
    }
    if (button == MouseButton::Right) return host_.ShowContextMenu(x, y);
    if (button != MouseButton::Left) return;
    const int old = ed_.FScrollX;
    const bool shift = keyboard_.ShiftDown();
    host_.TakeFocus();
    HideCaret();
    DrawCaretUnderline(false);
    SetCaretFromPoint(x, y);
    mouseSelecting_ = true;
    marginRow_ = -1;
    if (shift) {
        ed_.FAllSelected = false;
        ed_.FSelected = true;
        ExtendSelection(ed_.FCaretX, ed_.FCaretY);
    } else if (x < ed_.FTextLeft - 4 && old == 0) {
        SelectRowFromMargin();
    } else if (!ed_.FAllSelected && InsideSelection(ed_.FCaretX, ed_.FCaretY)) {
        StartTextDrag();
    } else {
        ed_.ClearSelection();
    }
    if (ed_.FScrollX != old) DrawAll();
    ed_.UpdateCaret();
    ShowCaret();
}

/// A click left of the number column selects the row with its line break:
/// the range ends at the start of the next row, so deleting it joins no lines.
void TVellView::SelectRowFromMargin() {
    if (ed_.SelectionExists()) ed_.ClearSelection();
    const int32_t row = ed_.FCaretY;
    const std::string_view e = ed_.Lines().View(row);
    const bool last = row == ed_.Lines().Count() - 1;
    const auto len = static_cast<int32_t>(last ? StripTerminator(e).size() : e.size());
    if (len <= 0) return;
    marginRow_ = row;
    const bool toNextRow = !last;
    ed_.FSelAnchorX = ed_.FPrevCaretX = toNextRow ? 0 : len;
    ed_.FSelAnchorY = ed_.FPrevCaretY = toNextRow ? row + 1 : row;
    ed_.FSelected = true;
    ExtendSelection(ed_.FCaretX, ed_.FCaretY);
}

void TVellView::MouseMove(int x, int y) {
    MouseSelectTo(x, y);
}

void TVellView::DragOver(int x, int y) {
    MouseSelectTo(x, y);
}

void TVellView::MouseSelectTo(int x, int y) {
    autoScroll_ = 0;
    mouseX_ = x, mouseY_ = y;
    if (!mouseSelecting_) return;
    HideCaret();
    const int bottom = ed_.TopMargin() + ed_.FPageLines * ed_.FRowHeight;
    if (y > bottom) {
        autoScroll_ = 1;
    } else if (y <= ed_.TopMargin()) {
        autoScroll_ = -1;
    } else if (x > ed_.FTextLeft + ed_.FTextWidth) {
        autoScroll_ = 2;
    } else if (x <= ed_.FTextLeft && ed_.FScrollX > 0) {
        autoScroll_ = -2;
    } else {
        const int oldScroll = ed_.FScrollX;
        const int32_t cx = ed_.FCaretX, cy = ed_.FCaretY;
        SetCaretFromPoint(x, y);
        if (cx != ed_.FCaretX || cy != ed_.FCaretY) {
            if (!dragging_) FollowPointer(x);
            ed_.UpdateCaret();
        }
        if (ed_.FScrollX != oldScroll) {
            DrawAll();
            ed_.UpdateCaret();
        }
    }
    ShowCaret();
}

/// Dragging down from the margin selects whole rows from the start of the
/// clicked row; dragging up keeps the end of the clicked row.
void TVellView::FollowPointer(int x) {
    if (x < ed_.FTextLeft && marginRow_ >= 0 && ed_.FCaretY > marginRow_) {
        ed_.FSelAnchorX = 0;
        ed_.FSelAnchorY = marginRow_;
        ed_.FSelected = true;
        return DrawSelection();
    }
    if (x < ed_.FTextLeft && ed_.FSelAnchorY < ed_.FCaretY) ed_.FSelAnchorX = 0;
    ed_.FSelected = true;
    ExtendSelection(ed_.FCaretX, ed_.FCaretY);
}

void TVellView::AutoScrollTimer() {
    const std::string_view t = StripTerminator(ed_.Lines().View(ed_.FCaretY));
    switch (autoScroll_) {
        case -2:
            if (ed_.FCaretX > 0) MoveLeft(false);
            break;
        case -1:
            MoveVert(-1);
            break;
        case 1:
            MoveVert(1);
            break;
        case 2:
            if (ed_.FCaretX < static_cast<int32_t>(t.size())) MoveRight(false);
            break;
        default:
            break;
    }
}

void TVellView::MouseUp(MouseButton button, int x, int y) {
    if (dragging_) return DoEndDrag(keyboard_.ControlDown());
    autoScroll_ = 0;
    if (mouseSelecting_) {
        mouseSelecting_ = false;
        repeatCount_ = 0;
    }
    DrawCaretUnderline(true);
}

void TVellView::DblClick() {
    if (OnDblclick) OnDblclick(ed_);
    dblClicked_ = true;
}

void TVellView::StartTextDrag() {
    if (ed_.ReadOnly) return ed_.ClearSelection();
    dragging_ = true;
    mouseSelecting_ = true;
    dragX_ = ed_.FPrevCaretX, dragY_ = ed_.FPrevCaretY;
    Pos a{ed_.FSelAnchorX, ed_.FSelAnchorY}, b{ed_.FSelEndX, ed_.FSelEndY};
    if (!(a <= b)) std::swap(a, b);
    dragFrom_ = {a.x, a.y};
    dragTo_ = {b.x, b.y};
    // The bytes travel with the drag itself; the clipboard only gets a copy.
    dragText_ = RangeText(dragFrom_, dragTo_);
    host_.BeginTextDrag();
}

void TVellView::DragModifierChanged(bool control) {
    if (!dragging_) return;
    const DragCursorShape want = control ? DragCursorShape::Copy : DragCursorShape::Move;
    if (dragCursor_ == want) return;
    dragCursor_ = want;
    host_.SetDragCursor(want);
}

/// The bytes between two ordered positions, read as the selection reads them.
std::string TVellView::RangeText(RowCol from, RowCol to) {
    const int32_t cx = ed_.FCaretX, cy = ed_.FCaretY;
    const int32_t ax = ed_.FSelAnchorX, ay = ed_.FSelAnchorY;
    ed_.FSelAnchorX = from.x, ed_.FSelAnchorY = from.y;
    ed_.FCaretX = to.x, ed_.FCaretY = to.y;
    std::string text = ed_.GetSelText();
    ed_.FSelAnchorX = ax, ed_.FSelAnchorY = ay;
    ed_.FCaretX = cx, ed_.FCaretY = cy;
    return text;
}

/// The keys stay live during a drag; a drop may move only bytes that are
/// still selected where the drag found them.
bool TVellView::DraggedTextStillSelected() {
    if (!ed_.FSelected) return false;
    Pos a{ed_.FSelAnchorX, ed_.FSelAnchorY}, b{ed_.FSelEndX, ed_.FSelEndY};
    if (!(a <= b)) std::swap(a, b);
    if (a.x != dragFrom_.x || a.y != dragFrom_.y || b.x != dragTo_.x || b.y != dragTo_.y)
        return false;
    return RangeText(dragFrom_, dragTo_) == dragText_;
}

void TVellView::DoEndDrag(bool copy) {
    mouseSelecting_ = dragging_ = false;
    autoScroll_ = 0;
    repeatCount_ = 0;
    HideCaret();
    if (!DraggedTextStillSelected()) {
        // The text changed under the drag: nothing is moved.
        if (ed_.SelectionExists()) ed_.ClearSelection();
    } else if (InsideSelection(ed_.FCaretX, ed_.FCaretY)) {
        ed_.ClearSelection();
    } else {
        DropText(copy);
    }
    dragText_.clear();
    if (dragCursor_ != DragCursorShape::Move) {
        dragCursor_ = DragCursorShape::Move;
        host_.SetDragCursor(DragCursorShape::Move);
    }
    host_.EndTextDrag();
    ShowCaret();
}

/// A key during a text drag ends the drag where it stands: the caret goes
/// back to the end of the selection, so the key acts on the selection as
/// it is shown, and the drop that follows moves nothing.
void TVellView::CancelTextDrag() {
    if (!dragging_) return;
    mouseSelecting_ = dragging_ = false;
    autoScroll_ = 0;
    dragText_.clear();
    dragCursor_ = DragCursorShape::Move;
    host_.EndTextDrag();
    HideCaret();
    ed_.FCaretX = ed_.FSelEndX, ed_.FCaretY = ed_.FSelEndY;
    ed_.FCaretPixelX = ed_.RowPrefixWidth(ed_.FCaretY, ed_.FCaretX) - ed_.FScrollX;
    ed_.UpdateCaret();
    ShowCaret();
}

/// The drop point is kept in logical-line coordinates across the removal of
/// the source, so the text lands where it was dropped even when the removal
/// re-cuts the wrapped pieces.
void TVellView::DropText(bool copy) {
    int32_t dx = ed_.FCaretX, dy = ed_.FCaretY;
    int32_t x1 = dragFrom_.x, y1 = dragFrom_.y, x2 = dragTo_.x, y2 = dragTo_.y;
    ed_.FSelAnchorX = x1, ed_.FSelAnchorY = y1;
    ed_.FCaretX = x2, ed_.FCaretY = y2;
    ed_.FSelected = true;
    ed_.CopyToClipboard();
    if (ed_.WordWrap()) {
        ed_.EntryToLogical(dx, dy);
        ed_.EntryToLogical(x1, y1);
        ed_.EntryToLogical(x2, y2);
    }
    if (copy || ed_.ReadOnly) {
        ed_.ClearSelection();
    } else {
        ed_.DeleteSelection(false);
        if (Pos{x2, y2} <= Pos{dx, dy}) {
            if (dy == y2) dx = x1 + (dx - x2);
            dy -= y2 - y1;
        }
    }
    if (ed_.WordWrap()) ed_.LogicalToEntry(dx, dy);
    ed_.FCaretX = dx, ed_.FCaretY = dy;
    if (!ed_.ReadOnly) {
        ed_.RecordUndo(UndoKind::Insert, dragText_, ed_.FCaretY, ed_.FCaretX);
        ed_.InsertAtCaret(dragText_, false);
    }
    ed_.FSelected = ed_.FAllSelected = false;
    ed_.FSelAnchorX = ed_.FSelEndX = ed_.FPrevCaretX = ed_.FCaretX;
    ed_.FSelAnchorY = ed_.FSelEndY = ed_.FPrevCaretY = ed_.FCaretY;
    ed_.FGoalX = ed_.FCaretX;
    UpdateVertScrollBar(true);
    ed_.MoveCaret(ed_.FCaretX, ed_.FCaretY, ScrollMode::IfNeeded, true);
    DrawAll();
    ed_.UpdateCaret();
}

}  // namespace tw
