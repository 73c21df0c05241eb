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
        const RowPos start = std::min(FSelection.Anchor, FSelection.Caret);
        X = start.X, Y = start.Y;
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
            FSelection.Caret = {r.X, r.Y};
            ToRowPosition(FSelection.Caret.X, FSelection.Caret.Y);
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
    FSelection.Anchor = {x, y};
    View().HideCaret();
    int32_t endX = x, endY = y;
    WalkToEnd(static_cast<int32_t>(R.Text.size()), endX, endY);
    // A text that ends with its row, line break included, ends at the start
    // of the next row; the rows then join back as they were.
    if (endY < FLines.Count() - 1 && endX >= static_cast<int32_t>(FLines.View(endY).size()))
        endX = 0, ++endY;
    FSelection.Caret = {endX, endY};
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
        FSelection.Caret = {r.X, r.Y};
        ToRowPosition(FSelection.Caret.X, FSelection.Caret.Y);
        InsertKeepingCaret(r.Text, false);
    } else {
        return false;
    }
    MoveUndoRecord(UndoKind::Insert, IsUndo);
    return true;
}

/// Inserts at the caret and leaves the caret in front of the inserted bytes.
void TVellEdit::InsertKeepingCaret(std::string_view Text, bool Redraw) {
    const int32_t y0 = FSelection.Caret.Y,
                  x0 = std::clamp(FSelection.Caret.X, 0, MaxCaretX(FSelection.Caret.Y));
    std::string_view row = FLines.View(y0);
    const std::string before(row.substr(0, static_cast<size_t>(x0)));
    const std::string after(row.substr(static_cast<size_t>(x0)));
    int32_t toY = y0;
    if (Text.find("\r\n") == std::string_view::npos) {
        PutLine(y0, Entry::Join({before, Text, after}));
    } else {
        toY = SpliceRow(y0, before, Text, after);
    }
    FSelection.Caret.X = x0;
    FSelection.PixelX = RowPrefixWidth(y0, x0) - FViewport.ScrollX;
    FSelection.PixelY = (FSelection.Caret.Y - FViewport.TopLine) * FViewport.RowHeight;
    if (FWordWrap) return RewrapRange(FSelection.PixelX, y0, Redraw, false, toY);
    FSelection.CollapseToCaret();
    if (!Redraw || MoveCaret(FSelection.Caret.X, FSelection.Caret.Y, ScrollMode::IfNeeded, true))
        return;
    if (toY > y0)
        RepaintFromRow(y0, FSelection.PixelX);
    else if (View().UpdateVertScrollBar(true))
        View().DrawAll();
    else
        View().DrawLineText(y0, FSelection.PixelX);
    UpdateCaret();
}

/// Undoes a deletion by the Delete key: the bytes come back after the caret.
void TVellEdit::ReplayReinsertBefore(const UndoRecord& R, bool IsUndo) {
    FSelection.Caret = {R.X, R.Y};
    ToRowPosition(FSelection.Caret.X, FSelection.Caret.Y);
    View().HideCaret();
    InsertKeepingCaret(R.Text, true);
    MoveUndoRecord(UndoKind::Insert, IsUndo);
    View().ShowCaret();
}

/// Undoes Enter: the line break at the position goes and the rows join.
void TVellEdit::ReplayJoinBreak(const UndoRecord& R, bool IsUndo) {
    FSelection.Caret = {R.X, R.Y};
    ToRowPosition(FSelection.Caret.X, FSelection.Caret.Y);
    const int32_t y = FSelection.Caret.Y, x = FSelection.Caret.X;
    std::string_view row = FLines.View(y);
    if (y < FLines.Count() - 1 && row.substr(static_cast<size_t>(x), 2) == kCrLf) {
        PutLine(y, Entry::Join({row.substr(0, static_cast<size_t>(x)),
                                row.substr(static_cast<size_t>(x) + 2), FLines.View(y + 1)}));
        DeleteLines(y + 1, 1);
    }
    FSelection.PixelX = RowPrefixWidth(y, x) - FViewport.ScrollX;
    if (FWordWrap) RewrapRange(FSelection.PixelX, y, false, false, y);
    if (!MoveCaret(FSelection.Caret.X, FSelection.Caret.Y, ScrollMode::IfNeeded, true)) {
        RepaintFromRow(FSelection.Caret.Y, 0);
        UpdateCaret();
    }
    MoveUndoRecord(UndoKind::Delete, IsUndo);
}

}  // namespace tw
