// The two editing primitives, inserting at the caret and deleting the
// selection, and the replacements built on them.
#include <algorithm>
#include <string>

#include "editor/TabExpand.h"
#include "editor/VellEdit.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

int32_t CountBreaks(std::string_view s) {
    int32_t n = 0;
    for (size_t p = s.find("\r\n"); p != std::string_view::npos; p = s.find("\r\n", p + 2))
        ++n;
    return n;
}

/// The text as it may enter the rows; unchanged texts are not copied.
std::string_view Normalized(std::string_view text, std::string& storage) {
    if (!NeedsNormalizing(text)) return text;
    storage = NormalizeBreaks(text);
    return storage;
}

}  // namespace

/// Repaints a row from a pixel on and every row below it in the window.
void TVellEdit::RepaintFromRow(int32_t Row, int FromPixelX) {
    if (View().UpdateVertScrollBar(true)) return View().DrawAll();
    View().DrawLineText(Row, FromPixelX);
    View().DrawLines(DrawSpan::From, Row + 1, 0);
}

/// After an edit that kept the row count: scroll to the caret, or else repaint
/// the edited row from a pixel on.
void TVellEdit::PlaceAfterRowEdit(bool Redraw, int32_t Row, int FromPixelX) {
    FSelection.PixelX = RowPrefixWidth(FSelection.Caret.Y, FSelection.Caret.X) - FViewport.ScrollX;
    if (!Redraw || MoveCaret(FSelection.Caret.X, FSelection.Caret.Y, ScrollMode::IfNeeded, true))
        return;
    if (View().UpdateVertScrollBar(true))
        View().DrawAll();
    else
        View().DrawLineText(Row, FromPixelX);
    View().UpdateHorzScrollBar(true);
    UpdateCaret();
}

void TVellEdit::InsertAtCaret(std::string_view S, bool Redraw) {
    std::string storage;
    S = Normalized(S, storage);
    if (S.empty()) return;
    const int32_t y0 = FSelection.Caret.Y;
    const int32_t cx = std::clamp(FSelection.Caret.X, 0, MaxCaretX(y0));
    // The row is shared, not copied, while the new one is made: a row can be
    // megabytes long.
    const Entry old = FLines.Get(y0);
    const std::string_view before = old.view().substr(0, static_cast<size_t>(cx));
    const std::string_view after = old.view().substr(static_cast<size_t>(cx));
    const int64_t fromColumn = RowPrefixColumns(y0, cx);
    const int fromPixel = FMetrics->CellsWidth(fromColumn) - FViewport.ScrollX;
    View().HideCaret();
    View().DrawCaretUnderline(false);
    if (S.find("\r\n") == std::string_view::npos) {
        PutLine(y0, Entry::Join({before, S, after}));
        // The new row starts with the same bytes: the caret's column is
        // counted on from there.
        RememberPrefix(y0, cx, fromColumn);
        FSelection.Caret.X = static_cast<int32_t>(before.size() + S.size());
        if (FWordWrap)
            RewrapRange(fromPixel, y0, Redraw, false, y0);
        else
            PlaceAfterRowEdit(Redraw, y0, fromPixel);
    } else {
        int32_t last = y0;
        try {
            last = SpliceRow(y0, before, S, after);
        } catch (const ListIndexError&) {
            // No room for the rows: nothing was inserted, so nothing is to undo.
            ForgetRecordOf(S);
            View().ShowCaret();
            throw;
        }
        // The caret goes after the inserted text: past a line break it stands
        // at the start of the next row.
        int32_t r = y0, x = static_cast<int32_t>(before.size() + S.size());
        while (x >= static_cast<int32_t>(FLines.View(r).size()) && r < FLines.Count() - 1 &&
               (r < last || HasTerminator(FLines.View(r))))
            x -= static_cast<int32_t>(FLines.View(r++).size());
        FSelection.Caret.X = std::min(x, MaxCaretX(r));
        FSelection.Caret.Y = r;
        if (FWordWrap) {
            RewrapRange(fromPixel, y0, Redraw, false, r);
        } else {
            FSelection.PixelX =
                RowPrefixWidth(FSelection.Caret.Y, FSelection.Caret.X) - FViewport.ScrollX;
            if (Redraw &&
                !MoveCaret(FSelection.Caret.X, FSelection.Caret.Y, ScrollMode::IfNeeded, true)) {
                RepaintFromRow(y0, fromPixel);
                UpdateCaret();
            }
        }
    }
    // Nothing is selected after an insertion.
    FSelection.CollapseToCaret();
    View().ShowCaret();
}

void TVellEdit::DeleteSelection(bool Redraw) {
    const std::string removed = ReadSelText();
    FSelection.Selected = FSelection.AllSelected = false;
    if (!FUndoing) RecordUndo(UndoKind::Delete, removed, FSelection.Caret.Y, -1);
    View().HideCaret();
    View().DrawCaretUnderline(false);
    if (FSelection.Anchor.Y == FSelection.Caret.Y) {
        DeleteSameRow(removed, Redraw);
    } else {
        const auto [upper, lower] = std::minmax(FSelection.Anchor, FSelection.Caret);
        DeleteAcrossRows(upper.X, upper.Y, lower.X, lower.Y, Redraw);
    }
    View().ShowCaret();
}

void TVellEdit::DeleteSameRow(const std::string& Removed, bool Redraw) {
    const int32_t row = FSelection.Caret.Y;
    const int32_t xa = std::min(FSelection.Anchor.X, FSelection.Caret.X);
    // An empty selection removes nothing, not even an empty line it sits on.
    if (!Removed.empty()) {
        std::string_view r = FLines.View(row);
        std::string rest = std::string(r.substr(0, static_cast<size_t>(xa))) +
                           std::string(r.substr(std::min(r.size(), xa + Removed.size())));
        if (rest.empty())
            DeleteLines(row, 1);  // a wrapped piece selected whole
        else
            PutLine(row, Entry(rest));
    }
    FSelection.Caret.X = xa;
    const bool undoing = FUndoing;
    FUndoing = false;
    const int pixel = RowPrefixWidth(row, xa) - FViewport.ScrollX;
    if (FWordWrap) {
        RewrapRange(pixel, row, Redraw || undoing, Removed.find("\r\n") != std::string::npos, row);
        return;
    }
    FSelection.CollapseToCaret();
    FSelection.GoalX = FSelection.Caret.X;
    if (undoing) {
        FSelection.PixelX = pixel;
        View().DrawLineText(row, pixel);
        return;
    }
    PlaceAfterRowEdit(Redraw, row, pixel);
}

void TVellEdit::DeleteAcrossRows(int32_t Xa, int32_t Ya, int32_t Xb, int32_t Yb, bool Redraw) {
    std::string_view upper = FLines.View(Ya), lower = FLines.View(Yb);
    Xa = std::clamp<int32_t>(Xa, 0, static_cast<int32_t>(upper.size()));
    Xb = std::clamp<int32_t>(Xb, 0, static_cast<int32_t>(lower.size()));
    PutLine(Ya, Entry::Join({upper.substr(0, static_cast<size_t>(Xa)),
                             lower.substr(static_cast<size_t>(Xb))}));
    DeleteLines(Ya + 1, Yb - Ya);
    FSelection.Caret = {Xa, Ya};
    FSelection.CollapseToCaret();
    FSelection.GoalX = Xa;
    const int pixel = RowPrefixWidth(Ya, Xa) - FViewport.ScrollX;
    // An undo shows its change at once, as a deletion within one row does.
    const bool redraw = Redraw || FUndoing;
    if (FWordWrap) return RewrapRange(pixel, Ya, redraw, true, Ya);
    FSelection.PixelX = pixel;
    if (!redraw ||
        (Redraw && MoveCaret(FSelection.Caret.X, FSelection.Caret.Y, ScrollMode::IfNeeded, true)))
        return;
    RepaintFromRow(Ya, pixel);
    if (Redraw) UpdateCaret();
}

void TVellEdit::SetSelText(std::string_view S) {
    if (ReadOnly) return;
    std::string storage;
    S = Normalized(S, storage);
    if (SelectionExists()) DeleteSelection(true);
    RecordUndo(UndoKind::Insert, S, FSelection.Caret.Y, FSelection.Caret.X);
    InsertAtCaret(S, true);
}

void TVellEdit::ReplaceRange(std::string_view Text, int32_t StartX, int32_t EndY, int32_t EndX,
                             int32_t StartY) {
    ReplaceRangeEx(Text, StartX, true, EndY, EndX, StartY);
}

/// Puts a position given from outside on a row, off terminators and trail bytes.
bool TVellEdit::ClampPosition(int32_t& X, int32_t& Y) const {
    const int32_t y = std::clamp(Y, 0, FLines.Count() - 1);
    int32_t x = std::clamp(X, 0, MaxCaretX(y));
    if (ByteTypeAt(FLines.View(y), x + 1) == kTrailByte) --x;
    const bool changed = x != X || y != Y;
    X = x, Y = y;
    return changed;
}

/// The caret at the end of a replaced range. With word wrap an end X past
/// its row counts on through the following pieces of the line; an end that
/// falls past a row's text takes the whole line break with it.
void TVellEdit::FindRangeEnd(int32_t EndX, int32_t EndY) {
    const int32_t last = FLines.Count() - 1;
    int32_t y = std::clamp(EndY, 0, last), x = EndX;
    if (x >= 0 && FWordWrap) {
        while (y < last && !HasTerminator(FLines.View(y)) &&
               static_cast<int32_t>(FLines.View(y).size()) < x)
            x -= static_cast<int32_t>(FLines.View(y++).size());
    }
    if (x >= 0 && x <= MaxCaretX(y)) {
        FSelection.Caret = {x, y};
        ClampPosition(FSelection.Caret.X, FSelection.Caret.Y);
    } else if (y < last) {
        FSelection.Caret = {0, y + 1};
    } else {
        FSelection.Caret = {MaxCaretX(last), last};
    }
}

void TVellEdit::ReplaceRangeEx(std::string_view Text, int32_t StartX, bool Redraw, int32_t EndY,
                               int32_t EndX, int32_t StartY) {
    if (ReadOnly) return;
    std::string storage;
    Text = Normalized(Text, storage);
    if (EndY >= 0 && SelectionExists()) {
        // The range given replaces itself, never a selection made before.
        const RowPos anchor = FSelection.Anchor;
        ClearSelection();
        FSelection.Anchor = anchor;
    }
    if (StartY >= 0) FSelection.Anchor.Y = StartY;
    if (StartX >= 0) FSelection.Anchor.X = StartX;
    ClampPosition(FSelection.Anchor.X, FSelection.Anchor.Y);
    View().DrawCaretUnderline(false);
    if (EndY < 0) {
        FSelection.Caret = FSelection.Anchor;
        RecordUndo(UndoKind::Insert, Text, FSelection.Caret.Y, FSelection.Caret.X);
        return InsertAtCaret(Text, true);
    }
    FindRangeEnd(EndX, EndY);
    const int32_t startY = FSelection.Anchor.Y;
    const int32_t rows = CountBreaks(Text);
    const bool full = Redraw && (FSelection.Caret.Y != startY + rows || FWordWrap);
    if (ReplaceWithinRow(Text, full)) return;
    if (FSelection.Caret != FSelection.Anchor) DeleteSelection(full);
    RecordUndo(UndoKind::Insert, Text, FSelection.Caret.Y, FSelection.Caret.X);
    InsertAtCaret(Text, full);
    if (!Redraw || full || FSelection.Caret.Y != startY + rows) return;
    if (MoveCaret(FSelection.Caret.X, FSelection.Caret.Y, ScrollMode::IfNeeded, true)) return;
    if (View().UpdateVertScrollBar(true))
        View().DrawAll();
    else
        View().DrawLines(DrawSpan::Rows, startY, FSelection.Caret.Y);
    View().UpdateHorzScrollBar(true);
    UpdateCaret();
}

/// A replacement inside one wrapped row, the usual replace of a search hit:
/// the line is re-cut once for both steps. Re-cutting after the deletion
/// alone could take a row out of the line only for the insertion to put it
/// back, moving every later row of a big text twice. The undo records are
/// those of a deletion followed by an insertion.
bool TVellEdit::ReplaceWithinRow(std::string_view Text, bool Redraw) {
    const int32_t row = FSelection.Caret.Y;
    const int32_t xa = std::min(FSelection.Anchor.X, FSelection.Caret.X),
                  xb = std::max(FSelection.Anchor.X, FSelection.Caret.X);
    if (!FWordWrap || FUndoing || FSelection.Anchor.Y != row || xa == xb || Text.empty() ||
        Text.find("\r\n") != std::string_view::npos || xb > MaxCaretX(row))
        return false;
    std::string_view r = FLines.View(row);
    const std::string removed(r.substr(static_cast<size_t>(xa), static_cast<size_t>(xb - xa)));
    FSelection.Selected = FSelection.AllSelected = false;
    RecordUndo(UndoKind::Delete, removed, row, -1);
    View().HideCaret();
    View().DrawCaretUnderline(false);
    FSelection.Caret.X = xa;
    FSelection.CollapseToCaret();
    RecordUndo(UndoKind::Insert, Text, row, xa);
    r = FLines.View(row);
    const int pixel = RowPrefixWidth(row, xa) - FViewport.ScrollX;
    PutLine(row, Entry::Join({r.substr(0, static_cast<size_t>(xa)), Text,
                              r.substr(static_cast<size_t>(xb))}));
    FSelection.Caret.X = xa + static_cast<int32_t>(Text.size());
    RewrapRange(pixel, row, Redraw, false, row);
    FSelection.CollapseToCaret();
    View().ShowCaret();
    return true;
}

void TVellEdit::ReplaceLines(std::string_view Text, int32_t& FromY, int32_t& ToY) {
    if (ReadOnly || ToY < FromY) return;
    const int32_t last = FLines.Count() - 1;
    FromY = std::clamp(FromY, 0, last);
    ToY = std::clamp(ToY, FromY, last);
    std::string storage;
    Text = Normalized(Text, storage);
    if (SelectionExists()) ClearSelection();  // only the rows given are replaced
    FSelection.Anchor = {0, FromY};
    bool far = true;
    if (ToY < last) {
        FSelection.Caret = {0, ToY + 1};
        far = ToY - FromY > FViewport.PageLines;
    } else {
        FSelection.Caret = {MaxCaretX(last), last};
    }
    const int32_t rowsBefore = FLines.Count();
    DeleteSelection(false);
    RecordUndo(UndoKind::Insert, Text, FSelection.Caret.Y, FSelection.Caret.X);
    const int oldScroll = FViewport.ScrollX;
    FViewport.ScrollX = 0;
    InsertAtCaret(Text, false);
    if (oldScroll != 0) View().DrawAll();
    // Rows FromY..ToY are the caller's to repaint; when rows came or went,
    // everything below moved, down to the last visible row.
    if (far || FLines.Count() != rowsBefore)
        ToY = std::min(FLines.Count() - 1, FViewport.LastVisibleRow());
}

}  // namespace tw
