// The edits behind the editing keys: typing in insert and overwrite mode,
// Enter, Tab, Delete, BackSpace and the word deletions. Each records the undo
// kind that puts the caret back where its key expects it.
#include <algorithm>
#include <string>

#include "editor/VellEdit.h"
#include "editor/WordBoundary.h"
#include "textstore/ShiftJis.h"

namespace tw {

void TVellEdit::ToggleInsertMode() {
    FInsertMode = !FInsertMode;
    if (OnChangeInsMode) OnChangeInsMode(*this, FInsertMode);
}

void TVellEdit::Select(RowPos Anchor, RowPos Caret) {
    GotoXY(Anchor.X, Anchor.Y);
    MoveCaret(Caret.X, Caret.Y, ScrollMode::IfNeeded, false);
    FSelection.AllSelected = false;
    FSelection.Selected = true;
    FSelection.End = FSelection.PrevCaret = FSelection.Caret;
    View().DrawSelection();
}

void TVellEdit::InsertTyped(std::string_view S) {
    if (ReadOnly || S.empty()) return;
    // Typing over a selection replaces just the selection, in either mode.
    const bool replacing = SelectionExists();
    if (replacing) DeleteSelection(true);
    FSelection.GoalX = 0;
    View().HideCaret();
    const std::string_view entry = FLines.View(FSelection.Caret.Y);
    const bool piece = !HasTerminator(entry);
    std::string pad;
    if (!replacing && !FInsertMode &&
        (FSelection.Caret.X < static_cast<int32_t>(entry.size()) - 2 || piece))
        pad = OverwriteAtCaret(S);
    const std::string text = std::string(S) + pad;
    RecordUndo(UndoKind::Insert, text, FSelection.Caret.Y, FSelection.Caret.X);
    InsertAtCaret(text, true);
    if (!pad.empty()) {
        // The caret stays after the typed text, before the padding space.
        int32_t x = FSelection.Caret.X - 1, y = FSelection.Caret.Y;
        if (x < 0 && y > 0) x = static_cast<int32_t>(FLines.View(--y).size()) - 1;
        MoveCaret(x, y, ScrollMode::IfNeeded, true);
    }
    if (!FWordWrap) View().UpdateHorzScrollBar(true);
    FSelection.GoalX = FSelection.Caret.X;
    UpdateCaret();
    View().ShowCaret();
}

/// Overwrite counts bytes and never cuts a double-byte character in half: a
/// character left half covered is replaced whole and a space keeps the width,
/// which is returned to go in after the typed text.
std::string TVellEdit::OverwriteAtCaret(std::string_view S) {
    std::string line;
    int32_t lastY = FSelection.Caret.Y;
    JoinLogicalLine(FSelection.Caret.Y, lastY, line);
    const std::string_view body = StripTerminator(line);
    const int32_t x = FSelection.Caret.X;
    const auto rest = static_cast<int32_t>(body.size()) - x;
    const auto n = static_cast<int32_t>(S.size());
    int32_t count = std::min(rest, n);
    std::string pad;
    if (x + n <= static_cast<int32_t>(body.size()) && ByteTypeAt(body, x + n) == kLeadByte) {
        count = std::min(rest, n + 1);
        pad = " ";
    }
    if (count <= 0) return pad;
    // The end of the overwritten bytes, walked through the pieces of the line.
    int32_t ex = x + count, ey = FSelection.Caret.Y;
    while (ey < lastY && ex > static_cast<int32_t>(FLines.View(ey).size()))
        ex -= static_cast<int32_t>(FLines.View(ey++).size());
    RemoveRange(x, FSelection.Caret.Y, ex, ey, UndoKind::Overwrite, true);
    return pad;
}

void TVellEdit::NewLine() {
    if (ReadOnly) return;
    if (SelectionExists()) DeleteSelection(true);
    // From the bottom margin the view scrolls one row with the new line, so
    // the caret keeps its screen row and the margin stays below it.
    const bool atMargin =
        FSelection.Caret.Y - FViewport.TopLine + FViewport.VMargin >= FViewport.PageLines;
    RecordUndo(UndoKind::NewLine, kCrLf, FSelection.Caret.Y, FSelection.Caret.X);
    FSelection.GoalX = 0;
    if (!atMargin) return InsertAtCaret(kCrLf, true);
    View().HideCaret();
    InsertAtCaret(kCrLf, false);
    View().UpdateVertScrollBar(false);
    FViewport.TopLine = std::min(FViewport.TopLine + 1, std::max(MaxTopLine(), FViewport.TopLine));
    FViewport.ScrollX = 0;
    if (!MoveCaret(FSelection.Caret.X, FSelection.Caret.Y, ScrollMode::IfNeeded, true)) {
        View().UpdateVertScrollBar(true);
        View().DrawAll();
        UpdateCaret();
    }
    FSelection.GoalX = 0;
    View().ShowCaret();
}

void TVellEdit::InsertTab() {
    if (ReadOnly) return;
    if (SelectionExists()) DeleteSelection(true);
    RecordUndo(UndoKind::Insert, "\t", FSelection.Caret.Y, FSelection.Caret.X);
    InsertAtCaret("\t", true);
    FSelection.GoalX = FSelection.Caret.X;
}

void TVellEdit::RemoveRange(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, UndoKind Kind,
                            bool Redraw) {
    if (X1 == X2 && Y1 == Y2) return;
    FSelection.Anchor = {X1, Y1};
    FSelection.Caret = {X2, Y2};
    FSelection.Selected = FSelection.AllSelected = false;
    DeleteSelection(Redraw);
    // A record that did not fit emptied the whole list, so a front record
    // here is the one just made.
    if (!FUndoing && !FUndoList.empty() && FUndoList.front().Kind == UndoKind::Delete)
        FUndoList.front().Kind = Kind;
}

/// Removes the character at the caret: a line break joins the next line on.
void TVellEdit::RemoveAtCaret(UndoKind Kind) {
    const int32_t x = FSelection.Caret.X, y = FSelection.Caret.Y;
    const std::string_view e = FLines.View(y);
    if (x >= static_cast<int32_t>(e.size()) || e[x] == '\0') return;
    if (e[x] == '\r')
        RemoveRange(x, y, 0, y + 1, Kind, true);
    else
        RemoveRange(x, y, x + static_cast<int32_t>(CharSizeAt(e, x)), y, Kind, true);
    if (!FWordWrap) View().UpdateHorzScrollBar(true);
    UpdateCaret();
}

/// The end of a wrapped piece is the start of the next row: what follows
/// the caret there is on that row.
void TVellEdit::StepOffPieceEnd() {
    const std::string_view e = FLines.View(FSelection.Caret.Y);
    if (FSelection.Caret.X >= static_cast<int32_t>(e.size()) &&
        FSelection.Caret.Y < FLines.Count() - 1) {
        FSelection.Caret.X = 0;
        ++FSelection.Caret.Y;
    }
}

void TVellEdit::DeleteChar() {
    if (ReadOnly) return;
    if (SelectionExists()) return DeleteSelection(true);
    StepOffPieceEnd();
    View().HideCaret();
    RemoveAtCaret(UndoKind::DeleteKey);
    View().ShowCaret();
}

void TVellEdit::BackSpace() {
    if (ReadOnly) return;
    if (SelectionExists()) return DeleteSelection(true);
    if (FSelection.Caret.X == 0 && FSelection.Caret.Y == 0) return;
    View().HideCaret();
    if (FSelection.Caret.X == 0) {
        // Back over the line break, or before the last character of a piece.
        --FSelection.Caret.Y;
        const std::string_view e = FLines.View(FSelection.Caret.Y);
        const auto len = static_cast<int32_t>(e.size());
        FSelection.Caret.X =
            e.ends_with(kCrLf) ? len - 2 : len - static_cast<int32_t>(CharSizeBefore(e, len));
    } else {
        FSelection.Caret.X -= static_cast<int32_t>(
            CharSizeBefore(FLines.View(FSelection.Caret.Y), FSelection.Caret.X));
    }
    RemoveAtCaret(UndoKind::BackSpace);
    View().ShowCaret();
}

void TVellEdit::DeleteWordRight() {
    if (ReadOnly) return;
    if (!SelectionExists()) StepOffPieceEnd();
    const std::string_view e = FLines.View(FSelection.Caret.Y);
    if (FSelection.Caret.X >= static_cast<int32_t>(e.size()) || e[FSelection.Caret.X] == '\0')
        return;
    const char c = e[FSelection.Caret.X];
    if (SelectionExists() || c == '\r' || c == '\t') return DeleteChar();
    std::string skipped;
    const int32_t to = FindWordBoundary(e, FSelection.Caret.X, true, skipped);
    RemoveRange(FSelection.Caret.X, FSelection.Caret.Y, to, FSelection.Caret.Y, UndoKind::Delete,
                true);
}

void TVellEdit::DeleteWordLeft() {
    if (ReadOnly || (FSelection.Caret.X == 0 && FSelection.Caret.Y == 0)) return;
    const std::string_view e = FLines.View(FSelection.Caret.Y);
    if (SelectionExists() || FSelection.Caret.X == 0 || e[FSelection.Caret.X - 1] == '\t')
        return BackSpace();
    std::string skipped;
    const int32_t from = FindWordBoundary(e, FSelection.Caret.X, false, skipped);
    RemoveRange(from, FSelection.Caret.Y, FSelection.Caret.X, FSelection.Caret.Y, UndoKind::Delete,
                true);
}

}  // namespace tw
