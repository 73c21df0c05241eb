// Scroll bars, scrolling and the caret's moves by rows.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "editor/TabExpand.h"
#include "editor/VellView.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

int CeilDiv(int64_t a, int64_t b) {
    return a <= 0 ? 0 : static_cast<int>((a + b - 1) / b);
}

}  // namespace

/// The number column widens in steps of 10 pixels to fit the line count and
/// narrows back only while more than its base width is needed.
bool TVellView::FitNumberColumn() {
    if (!ed_.ShowLineNumber()) return false;
    const int old = vp_.TextLeft;
    const int need = metrics_.TextWidth(std::to_string(ed_.Lines().Count())) + ed_.LeftMargin() + 7;
    while (vp_.TextLeft < need)
        vp_.TextLeft += 10;
    while (vp_.TextLeft - 1.5 * digitWidth_ > need && need > textLeftBase_)
        vp_.TextLeft -= 10;
    vp_.TextWidth = vp_.Width - vp_.TextLeft;
    lineNoWidth_ = vp_.TextLeft - ed_.LeftMargin();
    return vp_.TextLeft != old;
}

bool TVellView::UpdateVertScrollBar(bool redraw) {
    const int32_t count = ed_.Lines().Count();
    maxTopLine_ = ed_.MaxTopLine();
    const bool moved = FitNumberColumn();
    if (ed_.VertScrollBar()) {
        vbar_.Enable(vp_.PageLines < count + vp_.VMargin);
        vScale_ = std::max(1, CeilDiv(maxTopLine_, 32767));
        const int range = CeilDiv(maxTopLine_, vScale_);
        vbar_.SetRange(0, range, false);
        vbar_.SetPos(CeilDiv(vp_.TopLine, vScale_), redraw);
        if (range == 0) vbar_.Show(true);
    }
    SetScrollRects();
    return moved;
}

void TVellView::UpdateHorzScrollBar(bool redraw) {
    const int32_t end = std::min(vp_.TopLine + vp_.PageLines, ed_.Lines().Count());
    int widest = 0;
    const char* kept = widthRow_.data();
    bool keptShown = false;
    for (int32_t r = std::max(0, vp_.TopLine); r < end; ++r) {
        widest = std::max(widest, RowWidth(r));
        keptShown = keptShown || ed_.Lines().View(r).data() == kept;
    }
    if (!keptShown && widthRow_.data() == kept) widthRow_ = Entry();
    maxLineWidth_ = widest;
    if (!ed_.HorzScrollBar()) return;
    hbar_.Enable(maxLineWidth_ + vp_.HStep > vp_.TextWidth);
    hScale_ = std::max(1, CeilDiv(maxLineWidth_, 32767));
    const int range = std::max(1, CeilDiv(maxLineWidth_, hScale_) - vp_.HStep);
    hbar_.SetRange(0, range, redraw);
}

int TVellView::WMVScroll(int code, int thumb) {
    const int32_t page = vp_.RowHeight > 0 ? vp_.TextHeight / vp_.RowHeight : 1;
    int32_t r = 0;
    switch (code) {
        case SB_LINEUP:
            r = repeatCount_ <= -5 ? -ed_.ScrollStep : -1;
            break;
        case SB_LINEDOWN:
            r = repeatCount_ >= 5 ? ed_.ScrollStep : 1;
            break;
        case SB_PAGEUP:
            r = std::min(-1, -page);
            break;
        case SB_PAGEDOWN:
            r = std::max(1, page);
            break;
        case SB_THUMBTRACK:
            r = thumb * vScale_ - vp_.TopLine;
            break;
        case SB_TOP:
            r = -vp_.TopLine;
            break;
        case SB_BOTTOM:
            r = maxTopLine_ - vp_.TopLine;
            break;
        default:
            break;
    }
    vScrollReq_ = r;
    int32_t s = r < 0 ? std::max(-vp_.TopLine, r) : std::min(r, maxTopLine_ - vp_.TopLine);
    if (r >= 0 && (sel_.Caret.Y == ed_.Lines().Count() - 1 || s < 0)) s = 0;
    vScrolled_ = s;
    inVScroll_ = true;
    if (s != 0) {
        DrawCaretUnderline(false);
        vp_.TopLine += s;
        HideCaret();
        if (scrollMovesCaret_) MoveCaretLines(vScrollReq_);
        DrawAll();
        ed_.UpdateCaret();
        ShowCaret();
        if (ed_.VertScrollBar()) vbar_.SetPos(CeilDiv(vp_.TopLine, vScale_), true);
    }
    inVScroll_ = false;
    scrollMovesCaret_ = true;
    return s;
}

int TVellView::WMHScroll(int code, int thumb) {
    int a = 0;
    switch (code) {
        case SB_LINEUP:
            a = -vp_.HStep;
            break;
        case SB_LINEDOWN:
            a = vp_.HStep;
            break;
        case SB_PAGEUP:
            a = std::min(-1, -(vp_.TextWidth / 3));
            break;
        case SB_PAGEDOWN:
            a = std::max(1, vp_.TextWidth / 3);
            break;
        case SB_THUMBTRACK:
            a = thumb * hScale_ - vp_.ScrollX;
            break;
        default:
            break;
    }
    if (a < 0) {
        a = std::max(-vp_.ScrollX, a);
    } else {
        a = std::max(0, std::min(a, maxLineWidth_ - vp_.ScrollX - vp_.HStep));
        if (vp_.TextWidth >= maxLineWidth_ + vp_.HStep) a = 0;
    }
    hScrolled_ = a;
    if (a == 0) return 0;
    vp_.ScrollX += a;
    if (ed_.HorzScrollBar()) hbar_.SetPos(CeilDiv(vp_.ScrollX, hScale_), true);
    sel_.PixelX -= a;
    ScrollTextArea(a);
    ed_.UpdateCaret();
    return 0;
}

/// Moves the pixels of the text area and paints only the strip they uncover;
/// the ruler strip above the rows is handed over anew.
void TVellView::ScrollTextArea(int a) {
    const PixelRect r = scrollRect_;
    const int w = r.right - r.left;
    if (std::abs(a) >= w) return DrawAll();
    surface_.ScrollRect(r, -a, 0);
    const PixelRect strip = a > 0 ? PixelRect{r.right - a, r.top, r.right, r.bottom}
                                  : PixelRect{r.left, r.top, r.left - a, r.bottom};
    surface_.SetClip(&strip);
    DrawAll();
    surface_.SetClip(nullptr);
    FireUserDraw();
}

/// Touchpads and fine wheels send parts of a notch: they add up, and each
/// whole notch scrolls two rows. A turn the other way starts afresh.
void TVellView::WMMouseWheel(int delta) {
    if (delta == 0) return;
    if ((delta > 0) != (wheelRest_ > 0)) wheelRest_ = 0;
    wheelRest_ += delta;
    const int n = std::abs(wheelRest_) / 120;
    if (n == 0) return;
    wheelRest_ %= 120;
    for (int i = 0; i < 2 * n; ++i)
        WMVScroll(delta > 0 ? SB_LINEUP : SB_LINEDOWN);
}

void TVellView::MoveVert(int delta) {
    const int32_t screenRow = sel_.Caret.Y - vp_.TopLine;
    if (delta > 0 && screenRow + vp_.VMargin >= vp_.PageLines) {
        if (repeatCount_ < 0) repeatCount_ = 0;
        ++repeatCount_;
        WMVScroll(SB_LINEDOWN);
        // A view that cannot scroll further still lets the caret go down.
        if (vScrolled_ == 0) MoveCaretLines(1);
    } else if (delta < 0 && screenRow - vp_.VMargin < 0) {
        if (repeatCount_ > 0) repeatCount_ = 0;
        --repeatCount_;
        if (WMVScroll(SB_LINEUP) == 0) MoveCaretLines(-1);
    } else {
        MoveCaretLines(delta);
    }
}

void TVellView::MoveCaretLines(int32_t delta) {
    const int32_t last = ed_.Lines().Count() - 1;
    if ((delta < 0 && sel_.Caret.Y == 0) || (delta > 0 && sel_.Caret.Y == last) || delta == 0)
        return;
    // The goal's pixel is measured on the row where the goal was set; it is
    // reused only while the caret stands where the last row move left it.
    if (sel_.GoalX != goalXCached_ || sel_.Caret.X != lastVertX_ || sel_.Caret.Y != lastVertY_) {
        goalXCached_ = sel_.GoalX;
        const std::string_view e = ed_.Lines().View(sel_.Caret.Y);
        goalPixelX_ = ExpandedWidth(e.substr(0, std::min<size_t>(e.size(), sel_.GoalX)));
    }
    DrawCaretUnderline(false);
    sel_.Caret.Y = std::clamp(sel_.Caret.Y + delta, 0, last);
    sel_.Caret.X = ColFromX(ed_.Lines().View(sel_.Caret.Y), goalPixelX_);
    const int px = sel_.PixelX;
    if (px - vp_.ScrollX > vp_.TextWidth || (vp_.ScrollX > 0 && px < vp_.ScrollX)) {
        vp_.ScrollX = std::max(0, px - vp_.TextWidth + vp_.HStep);
        DrawAll();
    }
    sel_.PixelX -= vp_.ScrollX;
    lastVertX_ = sel_.Caret.X, lastVertY_ = sel_.Caret.Y;
    UpdateSelectionAfterMove();
    ed_.UpdateCaret();
    ShowCaret();
    DrawCaretUnderline(true);
}

void TVellView::GoNextRowStart() {
    const int old = vp_.ScrollX;
    vp_.ScrollX = 0;
    sel_.Caret.X = 0;
    sel_.PixelX = 0;
    if (sel_.Caret.Y - vp_.TopLine + vp_.VMargin < vp_.PageLines) {
        DrawCaretUnderline(false);
        ++sel_.Caret.Y;
        DrawCaretUnderline(true);
    } else {
        // The scroll carries the caret by the goal column: aim it at column 0.
        sel_.GoalX = 0;
        WMVScroll(SB_LINEDOWN);
        if (vScrolled_ == 0) ++sel_.Caret.Y;
        sel_.Caret.X = 0;
        sel_.PixelX = 0;
    }
    // The selection follows the caret also when the view scrolled back: an
    // anchor left behind would make the next key act on the line above.
    UpdateSelectionAfterMove();
    if (old != 0) DrawAll();
}

void TVellView::GoPrevRow() {
    DrawCaretUnderline(false);
    --sel_.Caret.Y;
    DrawCaretUnderline(true);
}

void TVellView::UpdateSelectionAfterMove() {
    const bool keepAll = inVScroll_ && sel_.AllSelected && !inKeyDown_;
    if (!keyboard_.ShiftDown() && !keepAll && !mouseSelecting_) return ed_.ClearSelection();
    if (dragging_) return ExtendSelection(sel_.End.X, sel_.End.Y);
    DrawCaretUnderline(false);
    sel_.Selected = true;
    if (sel_.AllSelected) {
        // A select-all turns into a range from the anchor to the caret.
        sel_.AllSelected = false;
        sel_.End = sel_.PrevCaret = sel_.Caret;
        return DrawSelection();
    }
    ExtendSelection(sel_.Caret.X, sel_.Caret.Y);
}

/// The nearest character boundary to pixel x: a character's right half
/// belongs to the boundary after it. One pass, so the cost is that of
/// measuring the row once.
int32_t TVellView::ColFromX(std::string_view entry, int x) {
    if (x <= 0) {
        sel_.PixelX = 0;
        return 0;
    }
    entry = StripTerminator(entry);
    const int tab = ed_.TabCount();
    int col = 0, l = 0;
    for (size_t i = 0; i < entry.size();) {
        const bool dbcs = IsLeadByte(static_cast<unsigned char>(entry[i])) && i + 1 < entry.size();
        const size_t n = dbcs ? 2 : 1;
        const int cells = entry[i] == '\t' ? tab - col % tab : static_cast<int>(n);
        const int r = l + (entry[i] == '\t' ? metrics_.TextWidth(std::string(cells, ' '))
                                            : metrics_.TextWidth(entry.substr(i, n)));
        if (x < r) {
            const int h = (r - l) / 2;
            const bool before = x <= r - h;
            sel_.PixelX = before ? l : r;
            return static_cast<int32_t>(before ? i : i + n);
        }
        l = r;
        col += cells;
        i += n;
    }
    sel_.PixelX = l;
    return static_cast<int32_t>(entry.size());
}

void TVellView::KeepVisibleRight(int width, bool overTab) {
    if (overTab) {
        const std::string_view e = ed_.Lines().View(sel_.Caret.Y);
        sel_.PixelX = ExpandedWidth(e.substr(0, sel_.Caret.X)) - vp_.ScrollX;
        if (vp_.TextWidth - sel_.PixelX - vp_.CaretMargin < 0) WMHScroll(SB_LINEDOWN);
        return;
    }
    sel_.PixelX += width;
    while (vp_.TextWidth - sel_.PixelX - vp_.CaretMargin < 0) {
        WMHScroll(SB_LINEDOWN);
        if (hScrolled_ == 0) break;
    }
}

void TVellView::KeepVisibleLeft(int width, bool overTab) {
    if (overTab) {
        const std::string_view e = ed_.Lines().View(sel_.Caret.Y);
        sel_.PixelX = ExpandedWidth(e.substr(0, sel_.Caret.X)) - vp_.ScrollX;
    } else {
        sel_.PixelX -= width;
    }
    while (sel_.PixelX < 0 && vp_.ScrollX > 0) {
        WMHScroll(SB_LINEUP);
        if (hScrolled_ == 0) break;
    }
}

/// A jump to a line end scrolls so that the caret rests a margin from the edge.
void TVellView::ScrollToLineEndX(int x) {
    vp_.ScrollX = std::max(0, x - vp_.TextWidth + vp_.CaretMargin);
    sel_.PixelX = x - vp_.ScrollX;
}

}  // namespace tw
