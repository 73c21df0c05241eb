// The caret moves and edits behind the keys.
#include <algorithm>
#include <string>

#include "editor/VellView.h"
#include "editor/WordBoundary.h"
#include "textstore/ShiftJis.h"

namespace tw {

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
        c = std::string(e.substr(ed_.FCaretX, CharSizeAt(e, ed_.FCaretX)));
        if (c[0] == '\0') {
            ed_.FGoalX = ed_.FCaretX;
            return;
        }
        if (byWord && c[0] != '\r' && c[0] != '\t')
            ed_.FCaretX = FindWordBoundary(e, ed_.FCaretX, true, c);
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
            ed_.FCaretX = FindWordBoundary(e, ed_.FCaretX, false, c);
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

void TVellView::PageScroll(int code) {
    if (WMVScroll(code) == 0) MoveCaretLines(vScrollReq_);
}

}  // namespace tw
