// The caret moves and edits behind the keys.
#include <algorithm>
#include <string>

#include "editor/VellView.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

/// Bytes of the character at `x`: two after a lead byte, else one.
size_t CharSize(std::string_view e, int32_t x) {
    const auto i = static_cast<size_t>(x);
    return i + 1 < e.size() && IsLeadByte(static_cast<unsigned char>(e[i])) ? 2 : 1;
}

/// Bytes of the character that ends before `x` (the row starts on a boundary).
size_t CharSizeBefore(std::string_view e, int32_t x) {
    return x >= 2 && ByteTypeAt(e, x) == kTrailByte ? 2 : 1;
}

int CodeOf(std::string_view c) {
    const auto b0 = static_cast<unsigned char>(c[0]);
    return c.size() == 2 ? b0 * 256 + static_cast<unsigned char>(c[1]) : b0;
}

}  // namespace

/// Word classes: a word is a run of characters of one class.
uint8_t CharClass(int code) {
    if (code >= 0x100) {
        if (code >= 0x829F && code <= 0x82FF) return 0;
        if (code >= 0x8340 && code <= 0x8396) return 1;
        if (code >= 0x824F && code <= 0x829E) return 3;
        if (code >= 0x8140 && code <= 0x824E) return 4;
        if (code >= 0x8397 && code <= 0x889E) return 4;
        return 2;
    }
    if (code >= 0x80 && code <= 0xA5) return 2;
    if (code >= 0xA6 && code <= 0xDF) return 5;
    if ((code >= 0x30 && code <= 0x39) || (code >= 0x40 && code <= 0x7F)) return 6;
    return 7;
}

int32_t TVellView::FindWordBoundary(bool forward, std::string& skipped) const {
    const std::string_view e = ed_.Lines().View(ed_.FCaretY);
    const int32_t start = std::min<int32_t>(ed_.FCaretX, static_cast<int32_t>(e.size()));
    int32_t p = start;
    int run = -1;
    if (forward) {
        while (p < static_cast<int32_t>(e.size())) {
            const std::string_view c = e.substr(p, CharSize(e, p));
            if (c[0] == '\0' || c[0] == '\t' || c[0] == '\r') break;
            const int cls = CharClass(CodeOf(c));
            if (run >= 0 && cls != run) break;
            run = cls;
            p += static_cast<int32_t>(c.size());
        }
        skipped = std::string(e.substr(start, p - start));
    } else {
        while (p > 0) {
            const auto n = static_cast<int32_t>(CharSizeBefore(e, p));
            const int cls = CharClass(CodeOf(e.substr(p - n, n)));
            if (run >= 0 && cls != run) break;
            run = cls;
            p -= n;
        }
        skipped = std::string(e.substr(p, start - p));
    }
    return p;
}

void TVellView::GoLineStart() {
    if (ed_.FCaretX == 0 && ed_.FCaretY == 0) return;
    HideCaret();
    ed_.FCaretX = 0;
    ed_.FCaretPixelX = 0;
    UpdateSelectionAfterMove();
    if (ed_.FScrollX != 0) {
        ed_.FScrollX = 0;
        DrawAll();
    }
    ed_.FGoalX = 0;
    ed_.UpdateCaret();
    ShowCaret();
}

void TVellView::GoLineEnd() {
    const std::string_view t = StripTerminator(ed_.Lines().View(ed_.FCaretY));
    const auto len = static_cast<int32_t>(t.size());
    if (ed_.FCaretY == ed_.Lines().Count() - 1 && ed_.FCaretX == len) return;
    HideCaret();
    const int old = ed_.FScrollX;
    ScrollToLineEndX(ExpandedWidth(t));
    ed_.FCaretX = len;
    UpdateSelectionAfterMove();
    if (ed_.FScrollX != old) DrawAll();
    ed_.FGoalX = ed_.FCaretX;
    ed_.UpdateCaret();
    ShowCaret();
}

void TVellView::MoveRight(bool byWord) {
    const std::string_view e = ed_.Lines().View(ed_.FCaretY);
    const auto len = static_cast<int32_t>(e.size());
    const bool lastRow = ed_.FCaretY == ed_.Lines().Count() - 1;
    std::string c;
    bool rowEnd = true;
    if (ed_.FCaretX < len) {
        c = std::string(e.substr(ed_.FCaretX, CharSize(e, ed_.FCaretX)));
        if (c[0] == '\0') {
            ed_.FGoalX = ed_.FCaretX;
            return;
        }
        if (byWord && c[0] != '\r' && c[0] != '\t')
            ed_.FCaretX = FindWordBoundary(true, c);
        else
            ed_.FCaretX += static_cast<int32_t>(c.size());
        rowEnd = c[0] == '\r' || (ed_.FCaretX >= len && !lastRow);
    }
    HideCaret();
    if (rowEnd && !lastRow) {
        GoNextRowStart();
    } else {
        KeepVisibleRight(metrics_.TextWidth(c), c.find('\t') != std::string::npos);
        UpdateSelectionAfterMove();
    }
    ed_.UpdateCaret();
    ShowCaret();
    ed_.FGoalX = ed_.FCaretX;
}

void TVellView::MoveLeft(bool byWord) {
    if (ed_.FCaretX == 0 && ed_.FCaretY == 0) return;
    HideCaret();
    if (ed_.FCaretX == 0) {
        if (ed_.FCaretY - ed_.FTopLine - ed_.FVMargin > 0 || WMVScroll(SB_LINEUP) == 0) GoPrevRow();
        const std::string_view e = ed_.Lines().View(ed_.FCaretY);
        const auto len = static_cast<int32_t>(e.size());
        // The end of a piece and the start of the next row are one place, so
        // the caret goes before the piece's last character.
        ed_.FCaretX =
            e.ends_with(kCrLf) ? len - 2 : len - static_cast<int32_t>(CharSizeBefore(e, len));
        const int old = ed_.FScrollX;
        ScrollToLineEndX(ExpandedWidth(e.substr(0, ed_.FCaretX)));
        if (ed_.FScrollX != old) DrawAll();
    } else {
        const std::string_view e = ed_.Lines().View(ed_.FCaretY);
        const auto n = static_cast<int32_t>(CharSizeBefore(e, ed_.FCaretX));
        std::string c(e.substr(ed_.FCaretX - n, n));
        if (byWord && c[0] != '\t')
            ed_.FCaretX = FindWordBoundary(false, c);
        else
            ed_.FCaretX -= n;
        KeepVisibleLeft(metrics_.TextWidth(c), c.find('\t') != std::string::npos);
    }
    UpdateSelectionAfterMove();
    ed_.UpdateCaret();
    ShowCaret();
    ed_.FGoalX = ed_.FCaretX;
}

bool TVellView::ShiftOrMouse() const {
    return keyboard_.ShiftDown() || mouseSelecting_;
}

/// Ctrl+Home and Ctrl+End keep or start a range with Shift, and drop any
/// selection without it.
void TVellView::BeginSelectionMove(bool shift) {
    if (!ed_.FSelected && shift) {
        ed_.FAllSelected = false;
        ed_.FSelected = true;
        ed_.FSelAnchorX = ed_.FCaretX;
        ed_.FSelAnchorY = ed_.FCaretY;
    } else if (ed_.SelectionExists() && !shift) {
        ed_.ClearSelection();
    }
}

void TVellView::EndSelectionMove(bool hadSelection) {
    if (hadSelection) {
        ed_.FSelEndX = ed_.FCaretX, ed_.FSelEndY = ed_.FCaretY;
    } else {
        ed_.FSelAnchorX = ed_.FCaretX, ed_.FSelAnchorY = ed_.FCaretY;
    }
    ed_.FPrevCaretX = ed_.FCaretX, ed_.FPrevCaretY = ed_.FCaretY;
}

void TVellView::GoTop() {
    if (ed_.FCaretX == 0 && ed_.FCaretY == 0) return;
    HideCaret();
    BeginSelectionMove(ShiftOrMouse());
    ed_.FScrollX = ed_.FCaretPixelX = 0;
    ed_.FTopLine = ed_.FCaretY = ed_.FCaretX = ed_.FGoalX = 0;
    vbar_.SetPos(0, false);
    hbar_.SetPos(0, false);
    UpdateVertScrollBar(true);
    UpdateHorzScrollBar(true);
    EndSelectionMove(ed_.FSelected);
    DrawAll();
    ed_.UpdateCaret();
    ShowCaret();
}

void TVellView::GoBottom() {
    const int32_t last = ed_.Lines().Count() - 1;
    const std::string_view t = StripTerminator(ed_.Lines().View(last));
    if (ed_.FCaretY == last && ed_.FCaretX == static_cast<int32_t>(t.size())) return;
    HideCaret();
    BeginSelectionMove(ShiftOrMouse());
    ed_.FCaretY = last;
    ScrollToLineEndX(ExpandedWidth(t));
    ed_.FCaretX = static_cast<int32_t>(t.size());
    EndSelectionMove(ed_.FSelected);
    UpdateVertScrollBar(false);
    ed_.FTopLine = maxTopLine_;
    vbar_.SetPos((ed_.FTopLine + vScale_ - 1) / vScale_, false);
    hbar_.SetPos(0, false);
    UpdateVertScrollBar(true);
    UpdateHorzScrollBar(true);
    ed_.FGoalX = ed_.FCaretX;
    DrawAll();
    ed_.UpdateCaret();
    ShowCaret();
}

void TVellView::NewLine() {
    if (ed_.ReadOnly) return;
    if (ed_.SelectionExists()) ed_.DeleteSelection(true);
    // From the bottom margin the view scrolls one row with the new line, so
    // the caret keeps its screen row and the margin stays below it.
    const bool atMargin = ed_.FCaretY - ed_.FTopLine + ed_.FVMargin >= ed_.FPageLines;
    ed_.RecordUndo(UndoKind::NewLine, kCrLf, ed_.FCaretY, ed_.FCaretX);
    ed_.FGoalX = 0;
    if (!atMargin) return ed_.InsertAtCaret(kCrLf, true);
    HideCaret();
    ed_.InsertAtCaret(kCrLf, false);
    UpdateVertScrollBar(false);
    ed_.FTopLine = std::min(ed_.FTopLine + 1, std::max(maxTopLine_, ed_.FTopLine));
    ed_.FScrollX = 0;
    if (!ed_.MoveCaret(ed_.FCaretX, ed_.FCaretY, ScrollMode::IfNeeded, true)) {
        UpdateVertScrollBar(true);
        DrawAll();
        ed_.UpdateCaret();
    }
    ed_.FGoalX = 0;
    ShowCaret();
}

void TVellView::InsertTab() {
    if (ed_.ReadOnly) return;
    if (ed_.SelectionExists()) ed_.DeleteSelection(true);
    ed_.RecordUndo(UndoKind::Insert, "\t", ed_.FCaretY, ed_.FCaretX);
    ed_.InsertAtCaret("\t", true);
    ed_.FGoalX = ed_.FCaretX;
}

/// Removes the character at the caret: a line break joins the next line on.
void TVellView::RemoveAtCaret(UndoKind undoKind) {
    const int32_t x = ed_.FCaretX, y = ed_.FCaretY;
    const std::string_view e = ed_.Lines().View(y);
    if (x >= static_cast<int32_t>(e.size()) || e[x] == '\0') return;
    if (e[x] == '\r')
        ed_.RemoveRange(x, y, 0, y + 1, undoKind, true);
    else
        ed_.RemoveRange(x, y, x + static_cast<int32_t>(CharSize(e, x)), y, undoKind, true);
    if (!ed_.WordWrap()) UpdateHorzScrollBar(true);
    ed_.UpdateCaret();
}

/// The end of a wrapped piece is the start of the next row: what follows
/// the caret there is on that row.
void TVellView::StepOffPieceEnd() {
    const std::string_view e = ed_.Lines().View(ed_.FCaretY);
    if (ed_.FCaretX >= static_cast<int32_t>(e.size()) && ed_.FCaretY < ed_.Lines().Count() - 1) {
        ed_.FCaretX = 0;
        ++ed_.FCaretY;
    }
}

void TVellView::DeleteChar() {
    if (ed_.ReadOnly) return;
    if (ed_.SelectionExists()) return ed_.DeleteSelection(true);
    StepOffPieceEnd();
    HideCaret();
    RemoveAtCaret(UndoKind::DeleteKey);
    ShowCaret();
}

void TVellView::BackSpace() {
    if (ed_.ReadOnly) return;
    if (ed_.SelectionExists()) return ed_.DeleteSelection(true);
    if (ed_.FCaretX == 0 && ed_.FCaretY == 0) return;
    HideCaret();
    if (ed_.FCaretX == 0) {
        --ed_.FCaretY;
        const std::string_view e = ed_.Lines().View(ed_.FCaretY);
        const auto len = static_cast<int32_t>(e.size());
        ed_.FCaretX =
            e.ends_with(kCrLf) ? len - 2 : len - static_cast<int32_t>(CharSizeBefore(e, len));
    } else {
        const std::string_view e = ed_.Lines().View(ed_.FCaretY);
        ed_.FCaretX -= static_cast<int32_t>(CharSizeBefore(e, ed_.FCaretX));
    }
    RemoveAtCaret(UndoKind::BackSpace);
    ShowCaret();
}

void TVellView::DeleteWordRight() {
    if (ed_.ReadOnly) return;
    if (!ed_.SelectionExists()) StepOffPieceEnd();
    const std::string_view e = ed_.Lines().View(ed_.FCaretY);
    if (ed_.FCaretX >= static_cast<int32_t>(e.size()) || e[ed_.FCaretX] == '\0') return;
    const char c = e[ed_.FCaretX];
    if (ed_.SelectionExists() || c == '\r' || c == '\t') return DeleteChar();
    std::string skipped;
    const int32_t to = FindWordBoundary(true, skipped);
    ed_.RemoveRange(ed_.FCaretX, ed_.FCaretY, to, ed_.FCaretY, UndoKind::Delete, true);
}

void TVellView::DeleteWordLeft() {
    if (ed_.ReadOnly || (ed_.FCaretX == 0 && ed_.FCaretY == 0)) return;
    const std::string_view e = ed_.Lines().View(ed_.FCaretY);
    if (ed_.SelectionExists() || ed_.FCaretX == 0 || e[ed_.FCaretX - 1] == '\t') return BackSpace();
    std::string skipped;
    const int32_t from = FindWordBoundary(false, skipped);
    ed_.RemoveRange(from, ed_.FCaretY, ed_.FCaretX, ed_.FCaretY, UndoKind::Delete, true);
}

void TVellView::ToggleInsertMode() {
    ed_.FInsertMode = !ed_.FInsertMode;
    if (ed_.OnChangeInsMode) ed_.OnChangeInsMode(ed_, ed_.FInsertMode);
}

void TVellView::PageScroll(int code) {
    if (WMVScroll(code) == 0) MoveCaretLines(vScrollReq_);
}

}  // namespace tw
