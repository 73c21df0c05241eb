// The caret moves and edits behind the keys.
#include <algorithm>
#include <string>

#include "editor/VellView.h"
#include "editor/WordBoundary.h"
#include "textstore/ShiftJis.h"

namespace tw {

void TVellView::GoLineStart() {
    if (sel_.Caret.X == 0 && sel_.Caret.Y == 0) return;
    HideCaret();
    sel_.Caret.X = 0;
    sel_.PixelX = 0;
    UpdateSelectionAfterMove();
    if (vp_.ScrollX != 0) {
        vp_.ScrollX = 0;
        DrawAll();
    }
    sel_.GoalX = 0;
    ed_.UpdateCaret();
    ShowCaret();
}

void TVellView::GoLineEnd() {
    const std::string_view t = StripTerminator(ed_.Lines().View(sel_.Caret.Y));
    const auto len = static_cast<int32_t>(t.size());
    if (sel_.Caret.Y == ed_.Lines().Count() - 1 && sel_.Caret.X == len) return;
    HideCaret();
    const int old = vp_.ScrollX;
    ScrollToLineEndX(ExpandedWidth(t));
    sel_.Caret.X = len;
    UpdateSelectionAfterMove();
    if (vp_.ScrollX != old) DrawAll();
    sel_.GoalX = sel_.Caret.X;
    ed_.UpdateCaret();
    ShowCaret();
}

void TVellView::MoveRight(bool byWord) {
    const std::string_view e = ed_.Lines().View(sel_.Caret.Y);
    const auto len = static_cast<int32_t>(e.size());
    const bool lastRow = sel_.Caret.Y == ed_.Lines().Count() - 1;
    std::string c;
    bool rowEnd = true;
    if (sel_.Caret.X < len) {
        c = std::string(e.substr(sel_.Caret.X, CharSizeAt(e, sel_.Caret.X)));
        if (c[0] == '\0') {
            sel_.GoalX = sel_.Caret.X;
            return;
        }
        if (byWord && c[0] != '\r' && c[0] != '\t')
            sel_.Caret.X = FindWordBoundary(e, sel_.Caret.X, true, c);
        else
            sel_.Caret.X += static_cast<int32_t>(c.size());
        rowEnd = c[0] == '\r' || (sel_.Caret.X >= len && !lastRow);
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
    sel_.GoalX = sel_.Caret.X;
}

void TVellView::MoveLeft(bool byWord) {
    if (sel_.Caret.X == 0 && sel_.Caret.Y == 0) return;
    HideCaret();
    if (sel_.Caret.X == 0) {
        if (sel_.Caret.Y - vp_.TopLine - vp_.VMargin > 0 || WMVScroll(SB_LINEUP) == 0) GoPrevRow();
        const std::string_view e = ed_.Lines().View(sel_.Caret.Y);
        const auto len = static_cast<int32_t>(e.size());
        // The end of a piece and the start of the next row are one place, so
        // the caret goes before the piece's last character.
        sel_.Caret.X =
            e.ends_with(kCrLf) ? len - 2 : len - static_cast<int32_t>(CharSizeBefore(e, len));
        const int old = vp_.ScrollX;
        ScrollToLineEndX(ExpandedWidth(e.substr(0, sel_.Caret.X)));
        if (vp_.ScrollX != old) DrawAll();
    } else {
        const std::string_view e = ed_.Lines().View(sel_.Caret.Y);
        const auto n = static_cast<int32_t>(CharSizeBefore(e, sel_.Caret.X));
        std::string c(e.substr(sel_.Caret.X - n, n));
        if (byWord && c[0] != '\t')
            sel_.Caret.X = FindWordBoundary(e, sel_.Caret.X, false, c);
        else
            sel_.Caret.X -= n;
        KeepVisibleLeft(metrics_.TextWidth(c), c.find('\t') != std::string::npos);
    }
    UpdateSelectionAfterMove();
    ed_.UpdateCaret();
    ShowCaret();
    sel_.GoalX = sel_.Caret.X;
}

bool TVellView::ShiftOrMouse() const {
    return keyboard_.ShiftDown() || mouseSelecting_;
}

/// Ctrl+Home and Ctrl+End keep or start a range with Shift, and drop any
/// selection without it.
void TVellView::BeginSelectionMove(bool shift) {
    if (!sel_.Selected && shift) {
        sel_.AllSelected = false;
        sel_.Selected = true;
        sel_.Anchor = sel_.Caret;
    } else if (ed_.SelectionExists() && !shift) {
        ed_.ClearSelection();
    }
}

void TVellView::EndSelectionMove(bool hadSelection) {
    if (hadSelection) {
        sel_.End = sel_.Caret;
    } else {
        sel_.Anchor = sel_.Caret;
    }
    sel_.PrevCaret = sel_.Caret;
}

void TVellView::GoTop() {
    if (sel_.Caret.X == 0 && sel_.Caret.Y == 0) return;
    HideCaret();
    BeginSelectionMove(ShiftOrMouse());
    vp_.ScrollX = sel_.PixelX = 0;
    vp_.TopLine = sel_.Caret.Y = sel_.Caret.X = sel_.GoalX = 0;
    vbar_.SetPos(0, false);
    hbar_.SetPos(0, false);
    UpdateVertScrollBar(true);
    UpdateHorzScrollBar(true);
    EndSelectionMove(sel_.Selected);
    DrawAll();
    ed_.UpdateCaret();
    ShowCaret();
}

void TVellView::GoBottom() {
    const int32_t last = ed_.Lines().Count() - 1;
    const std::string_view t = StripTerminator(ed_.Lines().View(last));
    if (sel_.Caret.Y == last && sel_.Caret.X == static_cast<int32_t>(t.size())) return;
    HideCaret();
    BeginSelectionMove(ShiftOrMouse());
    sel_.Caret.Y = last;
    ScrollToLineEndX(ExpandedWidth(t));
    sel_.Caret.X = static_cast<int32_t>(t.size());
    EndSelectionMove(sel_.Selected);
    UpdateVertScrollBar(false);
    vp_.TopLine = maxTopLine_;
    vbar_.SetPos((vp_.TopLine + vScale_ - 1) / vScale_, false);
    hbar_.SetPos(0, false);
    UpdateVertScrollBar(true);
    UpdateHorzScrollBar(true);
    sel_.GoalX = sel_.Caret.X;
    DrawAll();
    ed_.UpdateCaret();
    ShowCaret();
}

void TVellView::PageScroll(int code) {
    if (WMVScroll(code) == 0) MoveCaretLines(vScrollReq_);
}

}  // namespace tw
