// Undo and redo: records of what each edit did, replayed backwards, within a
// byte budget.
#include <algorithm>

#include "editor/VellEdit.h"
#include "textstore/ShiftJis.h"

namespace tw {

bool TVellEdit::RecordUndo(UndoKind Kind, std::string_view Text, int32_t Y, int32_t X) {
    if (Text.empty()) return true;
    if (!FModified) {
        FModified = true;
        RaiseModify(true);
    }
    if (X == -1) {
        // The start of the selection.
        const bool anchorFirst = FSelAnchorY < FCaretY;
        const bool sameRow = FSelAnchorY == FCaretY;
        Y = anchorFirst ? FSelAnchorY : FCaretY;
        X = sameRow ? std::min(FSelAnchorX, FCaretX) : anchorFirst ? FSelAnchorX : FCaretX;
    }
    const auto length = static_cast<int64_t>(Text.size());
    const bool fits = UndoBuf >= length;
    while (FUndoSize + length > UndoBuf && !FUndoList.empty()) {
        FUndoSize -= static_cast<int64_t>(FUndoList.back().Text.size());
        FUndoList.pop_back();
        FUndoLost = true;
    }
    if (fits) {
        try {
            if (FWordWrap) EntryToLogical(X, Y);
            FUndoList.push_front(UndoRecord{Kind, X, Y, std::string(Text)});
            FUndoSize += length;
        } catch (const std::exception&) {
            ShowError("Error:OC001");
        }
    } else {
        FUndoLost = true;
    }
    if (OnChange) OnChange(*this);
    ClearRedoList();
    if (FRedoEnabled) RaiseRedoMode(false);
    return fits;
}

/// Takes back the record just made for `Text` when the edit could not be
/// made after all.
void TVellEdit::ForgetRecordOf(std::string_view Text) {
    if (FUndoing || FUndoList.empty() || FUndoList.front().Text != Text) return;
    FUndoSize -= static_cast<int64_t>(Text.size());
    FUndoList.pop_front();
    const bool modified = !FUndoList.empty() || FUndoLost;
    if (modified == FModified) return;
    FModified = modified;
    RaiseModify(modified);
}

void TVellEdit::Undo() {
    if (ReadOnly || FUndoList.empty()) return;
    ReplayRecord(FUndoList, true);
    if (!FRedoEnabled) RaiseRedoMode(true);
}

void TVellEdit::Redo() {
    if (ReadOnly || FRedoList.empty()) return;
    ReplayRecord(FRedoList, false);
    if (FRedoList.empty()) RaiseRedoMode(false);
}

void TVellEdit::ClearUndoList() {
    FUndoList.clear();
    FUndoSize = 0;
}

void TVellEdit::ClearRedoList() {
    FRedoList.clear();
    FRedoSize = 0;
}

void TVellEdit::ResetModified() {
    ClearUndoList();
    ClearRedoList();
    FUndoing = FUndoLost = false;
    FModified = false;
    RaiseModify(false);
    RaiseRedoMode(false);
}

void TVellEdit::MoveUndoRecord(UndoKind Kind, bool ToRedo) {
    auto& from = ToRedo ? FUndoList : FRedoList;
    auto& to = ToRedo ? FRedoList : FUndoList;
    auto& fromSize = ToRedo ? FUndoSize : FRedoSize;
    auto& toSize = ToRedo ? FRedoSize : FUndoSize;
    const auto length = static_cast<int64_t>(from.front().Text.size());
    try {
        UndoRecord moved = from.front();
        moved.Kind = Kind;
        to.push_front(std::move(moved));
        toSize += length;
    } catch (const std::exception&) {
        // The step is done either way; replaying it twice would damage the text.
        FUndoLost = true;
        ShowError(ToRedo ? "Error:OC001_2" : "Error:OC001_3");
    }
    fromSize -= length;
    from.pop_front();
}

/// A recorded position as a caret position in the rows of now.
void TVellEdit::ToRowPosition(int32_t& X, int32_t& Y) {
    if (FWordWrap) LogicalToEntry(X, Y);
    ClampPosition(X, Y);
}

void TVellEdit::ReplayRecord(std::deque<UndoRecord>& List, bool IsUndo) {
    if (SelectionExists())
        ClearSelection();
    else
        View().DrawCaretUnderline(false);
    const UndoRecord r = List.front();
    switch (r.Kind) {
        case UndoKind::Insert:
            ReplayRemoval(List, r, IsUndo);
            break;
        case UndoKind::Delete:
        case UndoKind::BackSpace:
            FCaretX = r.X, FCaretY = r.Y;
            ToRowPosition(FCaretX, FCaretY);
            InsertAtCaret(r.Text, true);
            MoveUndoRecord(UndoKind::Insert, IsUndo);
            break;
        case UndoKind::NewLine:
            ReplayJoinBreak(r, IsUndo);
            break;
        case UndoKind::DeleteKey:
        case UndoKind::Overwrite:  // one whose typed text was too large to keep
            ReplayReinsertBefore(r, IsUndo);
            break;
    }
    const bool modified = !FUndoList.empty() || FUndoLost;
    if (modified != FModified) {
        FModified = modified;
        RaiseModify(modified);
    }
    if (OnChange) OnChange(*this);
}

/// Undoes an insertion: removes the inserted bytes, and with them restores
/// what the same edit replaced or overwrote at the same place.
void TVellEdit::ReplayRemoval(std::deque<UndoRecord>& List, const UndoRecord& R, bool IsUndo) {
    int32_t x = R.X, y = R.Y;
    ToRowPosition(x, y);
    FSelAnchorX = x, FSelAnchorY = y;
    View().HideCaret();
    int32_t endX = x, endY = y;
    WalkToEnd(static_cast<int32_t>(R.Text.size()), endX, endY);
    // A text that ends with its row, line break included, ends at the start
    // of the next row; the rows then join back as they were.
    if (endY < FLines.Count() - 1 && endX >= static_cast<int32_t>(FLines.View(endY).size()))
        endX = 0, ++endY;
    FCaretX = endX, FCaretY = endY;
    FUndoing = true;
    DeleteSelection(false);
    MoveUndoRecord(UndoKind::Delete, IsUndo);
    bool partner = false;
    if (!List.empty() && List.front().X == R.X && List.front().Y == R.Y)
        partner = ReplayGroupPartner(List, IsUndo);
    if (!MoveCaret(-1, -1, ScrollMode::IfNeeded, true)) {
        if (View().UpdateVertScrollBar(true))
            View().DrawAll();
        else if (partner)
            View().DrawLines(DrawSpan::From, y, 0);
        else
            View().UpdateHorzScrollBar(true);
        UpdateCaret();
    }
    FUndoing = false;
    View().ShowCaret();
}

bool TVellEdit::ReplayGroupPartner(std::deque<UndoRecord>& List, bool IsUndo) {
    const UndoRecord r = List.front();
    if (r.Kind == UndoKind::Delete) {
        FUndoing = true;
        InsertAtCaret(r.Text, false);
    } else if (r.Kind == UndoKind::Overwrite) {
        FUndoing = true;
        FCaretX = r.X, FCaretY = r.Y;
        ToRowPosition(FCaretX, FCaretY);
        InsertKeepingCaret(r.Text, false);
    } else {
        return false;
    }
    MoveUndoRecord(UndoKind::Insert, IsUndo);
    return true;
}

/// Inserts at the caret and leaves the caret in front of the inserted bytes.
void TVellEdit::InsertKeepingCaret(std::string_view Text, bool Redraw) {
    const int32_t y0 = FCaretY, x0 = std::clamp(FCaretX, 0, MaxCaretX(FCaretY));
    std::string_view row = FLines.View(y0);
    const std::string before(row.substr(0, static_cast<size_t>(x0)));
    const std::string after(row.substr(static_cast<size_t>(x0)));
    int32_t toY = y0;
    if (Text.find("\r\n") == std::string_view::npos) {
        PutLine(y0, Entry::Join({before, Text, after}));
    } else {
        toY = SpliceRow(y0, before, Text, after);
    }
    FCaretX = x0;
    FCaretPixelX = RowPrefixWidth(y0, x0) - FScrollX;
    FCaretPixelY = (FCaretY - FTopLine) * FRowHeight;
    if (FWordWrap) return RewrapRange(FCaretPixelX, y0, Redraw, false, toY);
    CollapseAnchorToCaret();
    if (!Redraw || MoveCaret(FCaretX, FCaretY, ScrollMode::IfNeeded, true)) return;
    if (toY > y0)
        RepaintFromRow(y0, FCaretPixelX);
    else if (View().UpdateVertScrollBar(true))
        View().DrawAll();
    else
        View().DrawLineText(y0, FCaretPixelX);
    UpdateCaret();
}

/// Undoes a deletion by the Delete key: the bytes come back after the caret.
void TVellEdit::ReplayReinsertBefore(const UndoRecord& R, bool IsUndo) {
    FCaretX = R.X, FCaretY = R.Y;
    ToRowPosition(FCaretX, FCaretY);
    View().HideCaret();
    InsertKeepingCaret(R.Text, true);
    MoveUndoRecord(UndoKind::Insert, IsUndo);
    View().ShowCaret();
}

/// Undoes Enter: the line break at the position goes and the rows join.
void TVellEdit::ReplayJoinBreak(const UndoRecord& R, bool IsUndo) {
    FCaretX = R.X, FCaretY = R.Y;
    ToRowPosition(FCaretX, FCaretY);
    const int32_t y = FCaretY, x = FCaretX;
    std::string_view row = FLines.View(y);
    if (y < FLines.Count() - 1 && row.substr(static_cast<size_t>(x), 2) == kCrLf) {
        PutLine(y, Entry::Join({row.substr(0, static_cast<size_t>(x)),
                                row.substr(static_cast<size_t>(x) + 2), FLines.View(y + 1)}));
        DeleteLines(y + 1, 1);
    }
    FCaretPixelX = RowPrefixWidth(y, x) - FScrollX;
    if (FWordWrap) RewrapRange(FCaretPixelX, y, false, false, y);
    if (!MoveCaret(FCaretX, FCaretY, ScrollMode::IfNeeded, true)) {
        RepaintFromRow(FCaretY, 0);
        UpdateCaret();
    }
    MoveUndoRecord(UndoKind::Delete, IsUndo);
}

}  // namespace tw
