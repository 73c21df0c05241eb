// Clicks, mouse selection with auto-scroll, and moving text by dragging it.
#include <algorithm>
#include <tuple>

#include "editor/VellView.h"
#include "textstore/ShiftJis.h"

namespace tw {

void TVellView::SetCaretFromPoint(int x, int y) {
    sel_.PrevCaret = sel_.Caret;
    const int32_t row = std::max(0, y - ed_.TopMargin()) / std::max(1, vp_.RowHeight) + vp_.TopLine;
    sel_.Caret.Y = std::max(0, std::min({row, vp_.LastVisibleRow(), ed_.Lines().Count() - 1}));
    sel_.Caret.X = ColFromX(ed_.Lines().View(sel_.Caret.Y), x - vp_.TextLeft + vp_.ScrollX);
    sel_.GoalX = sel_.Caret.X;
    const int step = vp_.TextWidth / 3;
    if (step > 0) {
        while (sel_.PixelX > vp_.TextWidth + vp_.ScrollX)
            vp_.ScrollX += step;
        while (sel_.PixelX < vp_.ScrollX)
            vp_.ScrollX = std::max(0, vp_.ScrollX - step);
    }
    sel_.PixelX -= vp_.ScrollX;
}

/// Both ends of the selected range count as inside it. A range that ends at
/// column 0 of a row ends with the row above, so that column is outside.
bool TVellView::InsideSelection(int32_t x, int32_t y) const {
    if (!sel_.Selected) return false;
    RowPos a, b;
    ed_.GetSelectionRange(a.X, a.Y, b.Y, b.X);
    const RowPos p{x, y};
    return a <= p && p <= b;
}

void TVellView::MouseDown(MouseButton button, int x, int y) {
    if (dblClicked_) {
        dblClicked_ = false;
        return;
    }
    if (button == MouseButton::Right) return host_.ShowContextMenu(x, y);
    if (button != MouseButton::Left) return;
    const int old = vp_.ScrollX;
    const bool shift = keyboard_.ShiftDown();
    host_.TakeFocus();
    HideCaret();
    DrawCaretUnderline(false);
    SetCaretFromPoint(x, y);
    mouseSelecting_ = true;
    marginRow_ = -1;
    if (shift) {
        sel_.AllSelected = false;
        sel_.Selected = true;
        ExtendSelection(sel_.Caret.X, sel_.Caret.Y);
    } else if (x < vp_.TextLeft - 4 && old == 0) {
        SelectRowFromMargin();
    } else if (!sel_.AllSelected && InsideSelection(sel_.Caret.X, sel_.Caret.Y)) {
        StartTextDrag();
    } else {
        ed_.ClearSelection();
    }
    if (vp_.ScrollX != old) DrawAll();
    ed_.UpdateCaret();
    ShowCaret();
}

/// A click left of the number column selects the row with its line break:
/// the range ends at the start of the next row, so deleting it joins no lines.
void TVellView::SelectRowFromMargin() {
    if (ed_.SelectionExists()) ed_.ClearSelection();
    const int32_t row = sel_.Caret.Y;
    const std::string_view e = ed_.Lines().View(row);
    const bool last = row == ed_.Lines().Count() - 1;
    const auto len = static_cast<int32_t>(last ? StripTerminator(e).size() : e.size());
    if (len <= 0) return;
    marginRow_ = row;
    const bool toNextRow = !last;
    sel_.Anchor = sel_.PrevCaret = toNextRow ? RowPos{0, row + 1} : RowPos{len, row};
    sel_.Selected = true;
    ExtendSelection(sel_.Caret.X, sel_.Caret.Y);
}

void TVellView::MouseMove(int x, int y) {
    MouseSelectTo(x, y);
}

void TVellView::DragOver(int x, int y) {
    MouseSelectTo(x, y);
}

void TVellView::MouseSelectTo(int x, int y) {
    autoScroll_ = 0;
    if (!mouseSelecting_) return;
    HideCaret();
    const int bottom = ed_.TopMargin() + vp_.PageLines * vp_.RowHeight;
    if (y > bottom) {
        autoScroll_ = 1;
    } else if (y <= ed_.TopMargin()) {
        autoScroll_ = -1;
    } else if (x > vp_.TextLeft + vp_.TextWidth) {
        autoScroll_ = 2;
    } else if (x <= vp_.TextLeft && vp_.ScrollX > 0) {
        autoScroll_ = -2;
    } else {
        const int oldScroll = vp_.ScrollX;
        const int32_t cx = sel_.Caret.X, cy = sel_.Caret.Y;
        SetCaretFromPoint(x, y);
        if (cx != sel_.Caret.X || cy != sel_.Caret.Y) {
            if (!dragging_) FollowPointer(x);
            ed_.UpdateCaret();
        }
        if (vp_.ScrollX != oldScroll) {
            DrawAll();
            ed_.UpdateCaret();
        }
    }
    ShowCaret();
}

/// Dragging down from the margin selects whole rows from the start of the
/// clicked row; dragging up keeps the end of the clicked row.
void TVellView::FollowPointer(int x) {
    if (x < vp_.TextLeft && marginRow_ >= 0 && sel_.Caret.Y > marginRow_) {
        sel_.Anchor = {0, marginRow_};
        sel_.Selected = true;
        return DrawSelection();
    }
    if (x < vp_.TextLeft && sel_.Anchor.Y < sel_.Caret.Y) sel_.Anchor.X = 0;
    sel_.Selected = true;
    ExtendSelection(sel_.Caret.X, sel_.Caret.Y);
}

void TVellView::AutoScrollTimer() {
    const std::string_view t = StripTerminator(ed_.Lines().View(sel_.Caret.Y));
    switch (autoScroll_) {
        case -2:
            if (sel_.Caret.X > 0) MoveLeft(false);
            break;
        case -1:
            MoveVert(-1);
            break;
        case 1:
            MoveVert(1);
            break;
        case 2:
            if (sel_.Caret.X < static_cast<int32_t>(t.size())) MoveRight(false);
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
    std::tie(dragFrom_, dragTo_) = sel_.Ordered();
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
std::string TVellView::RangeText(RowPos from, RowPos to) {
    const RowPos caret = sel_.Caret, anchor = sel_.Anchor;
    sel_.Anchor = from;
    sel_.Caret = to;
    std::string text = ed_.GetSelText();
    sel_.Anchor = anchor;
    sel_.Caret = caret;
    return text;
}

/// The keys stay live during a drag; a drop may move only bytes that are
/// still selected where the drag found them.
bool TVellView::DraggedTextStillSelected() {
    if (!sel_.Selected) return false;
    if (sel_.Ordered() != std::pair(dragFrom_, dragTo_)) return false;
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
    } else if (InsideSelection(sel_.Caret.X, sel_.Caret.Y)) {
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
    sel_.Caret = sel_.End;
    sel_.PixelX = ed_.RowPrefixWidth(sel_.Caret.Y, sel_.Caret.X) - vp_.ScrollX;
    ed_.UpdateCaret();
    ShowCaret();
}

/// The drop point is kept in logical-line coordinates across the removal of
/// the source, so the text lands where it was dropped even when the removal
/// re-cuts the wrapped pieces.
void TVellView::DropText(bool copy) {
    int32_t dx = sel_.Caret.X, dy = sel_.Caret.Y;
    int32_t x1 = dragFrom_.X, y1 = dragFrom_.Y, x2 = dragTo_.X, y2 = dragTo_.Y;
    sel_.Anchor = {x1, y1};
    sel_.Caret = {x2, y2};
    sel_.Selected = true;
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
        if (RowPos{x2, y2} <= RowPos{dx, dy}) {
            if (dy == y2) dx = x1 + (dx - x2);
            dy -= y2 - y1;
        }
    }
    if (ed_.WordWrap()) ed_.LogicalToEntry(dx, dy);
    sel_.Caret = {dx, dy};
    if (!ed_.ReadOnly) {
        ed_.RecordUndo(UndoKind::Insert, dragText_, sel_.Caret.Y, sel_.Caret.X);
        ed_.InsertAtCaret(dragText_, false);
    }
    sel_.Selected = sel_.AllSelected = false;
    sel_.Anchor = sel_.End = sel_.PrevCaret = sel_.Caret;
    sel_.GoalX = sel_.Caret.X;
    UpdateVertScrollBar(true);
    ed_.MoveCaret(sel_.Caret.X, sel_.Caret.Y, ScrollMode::IfNeeded, true);
    DrawAll();
    ed_.UpdateCaret();
}

}  // namespace tw
