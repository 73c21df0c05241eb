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
    const int old = ed_.FTextLeft;
    const int need = metrics_.TextWidth(std::to_string(ed_.Lines().Count())) + ed_.LeftMargin() + 7;
    while (ed_.FTextLeft < need)
        ed_.FTextLeft += 10;
    while (ed_.FTextLeft - 1.5 * digitWidth_ > need && need > textLeftBase_)
        ed_.FTextLeft -= 10;
    ed_.FTextWidth = ed_.FWidth - ed_.FTextLeft;
    lineNoWidth_ = ed_.FTextLeft - ed_.LeftMargin();
    return ed_.FTextLeft != old;
}

bool TVellView::UpdateVertScrollBar(bool redraw) {
    const int32_t count = ed_.Lines().Count();
    maxTopLine_ = ed_.MaxTopLine();
    const bool moved = FitNumberColumn();
    if (ed_.VertScrollBar()) {
        vbar_.Enable(ed_.FPageLines < count + ed_.FVMargin);
        vScale_ = std::max(1, CeilDiv(maxTopLine_, 32767));
        const int range = CeilDiv(maxTopLine_, vScale_);
        vbar_.SetRange(0, range, false);
        vbar_.SetPos(CeilDiv(ed_.FTopLine, vScale_), redraw);
        if (range == 0) vbar_.Show(true);
    }
    SetScrollRects();
    return moved;
}

void TVellView::UpdateHorzScrollBar(bool redraw) {
    const int32_t end = std::min(ed_.FTopLine + ed_.FPageLines, ed_.Lines().Count());
    int widest = 0;
    for (int32_t r = std::max(0, ed_.FTopLine); r < end; ++r)
        widest = std::max(widest, ExpandedWidth(StripTerminator(ed_.Lines().View(r))));
    maxLineWidth_ = widest;
    if (!ed_.HorzScrollBar()) return;
    hbar_.Enable(maxLineWidth_ + ed_.FHStep > ed_.FTextWidth);
    hScale_ = std::max(1, CeilDiv(maxLineWidth_, 32767));
    const int range = std::max(1, CeilDiv(maxLineWidth_, hScale_) - ed_.FHStep);
    hbar_.SetRange(0, range, redraw);
}

int TVellView::WMVScroll(int code, int thumb) {
    const int32_t page = ed_.FRowHeight > 0 ? ed_.FTextHeight / ed_.FRowHeight : 1;
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
            r = thumb * vScale_ - ed_.FTopLine;
            break;
        case SB_TOP:
            r = -ed_.FTopLine;
            break;
        case SB_BOTTOM:
            r = maxTopLine_ - ed_.FTopLine;
            break;
        default:
            break;
    }
    vScrollReq_ = r;
    int32_t s = r < 0 ? std::max(-ed_.FTopLine, r) : std::min(r, maxTopLine_ - ed_.FTopLine);
    if (r >= 0 && (ed_.FCaretY == ed_.Lines().Count() - 1 || s < 0)) s = 0;
    vScrolled_ = s;
    inVScroll_ = true;
    if (s != 0) {
        DrawCaretUnderline(false);
        ed_.FTopLine += s;
        HideCaret();
        if (scrollMovesCaret_) MoveCaretLines(vScrollReq_);
        DrawAll();
        ed_.UpdateCaret();
        ShowCaret();
        if (ed_.VertScrollBar()) vbar_.SetPos(CeilDiv(ed_.FTopLine, vScale_), true);
    }
    inVScroll_ = false;
    scrollMovesCaret_ = true;
    return s;
}

int TVellView::WMHScroll(int code, int thumb) {
    int a = 0;
    switch (code) {
        case SB_LINEUP:
            a = -ed_.FHStep;
            break;
        case SB_LINEDOWN:
            a = ed_.FHStep;
            break;
        case SB_PAGEUP:
            a = std::min(-1, -(ed_.FTextWidth / 3));
            break;
        case SB_PAGEDOWN:
            a = std::max(1, ed_.FTextWidth / 3);
            break;
        case SB_THUMBTRACK:
            a = thumb * hScale_ - ed_.FScrollX;
            break;
        default:
            break;
    }
    if (a < 0) {
        a = std::max(-ed_.FScrollX, a);
    } else {
        a = std::max(0, std::min(a, maxLineWidth_ - ed_.FScrollX - ed_.FHStep));
        if (ed_.FTextWidth >= maxLineWidth_ + ed_.FHStep) a = 0;
    }
    hScrolled_ = a;
    if (a == 0) return 0;
    ed_.FScrollX += a;
    if (ed_.HorzScrollBar()) hbar_.SetPos(CeilDiv(ed_.FScrollX, hScale_), true);
    ed_.FCaretPixelX -= a;
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
    const int32_t screenRow = ed_.FCaretY - ed_.FTopLine;
    if (delta > 0 && screenRow + ed_.FVMargin >= ed_.FPageLines) {
        if (repeatCount_ < 0) repeatCount_ = 0;
        ++repeatCount_;
        WMVScroll(SB_LINEDOWN);
        // A view that cannot scroll further still lets the caret go down.
        if (vScrolled_ == 0) MoveCaretLines(1);
    } else if (delta < 0 && screenRow - ed_.FVMargin < 0) {
        if (repeatCount_ > 0) repeatCount_ = 0;
        --repeatCount_;
        if (WMVScroll(SB_LINEUP) == 0) MoveCaretLines(-1);
    } else {
        MoveCaretLines(delta);
    }
}

void TVellView::MoveCaretLines(int32_t delta) {
    const int32_t last = ed_.Lines().Count() - 1;
    if ((delta < 0 && ed_.FCaretY == 0) || (delta > 0 && ed_.FCaretY == last) || delta == 0) return;
    // The goal's pixel is measured on the row where the goal was set; it is
    // reused only while the caret stands where the last row move left it.
    if (ed_.FGoalX != goalXCached_ || ed_.FCaretX != lastVertX_ || ed_.FCaretY != lastVertY_) {
        goalXCached_ = ed_.FGoalX;
        const std::string_view e = ed_.Lines().View(ed_.FCaretY);
        goalPixelX_ = ExpandedWidth(e.substr(0, std::min<size_t>(e.size(), ed_.FGoalX)));
    }
    DrawCaretUnderline(false);
    ed_.FCaretY = std::clamp(ed_.FCaretY + delta, 0, last);
    ed_.FCaretX = ColFromX(ed_.Lines().View(ed_.FCaretY), goalPixelX_);
    const int px = ed_.FCaretPixelX;
    if (px - ed_.FScrollX > ed_.FTextWidth || (ed_.FScrollX > 0 && px < ed_.FScrollX)) {
        ed_.FScrollX = std::max(0, px - ed_.FTextWidth + ed_.FHStep);
        DrawAll();
    }
    ed_.FCaretPixelX -= ed_.FScrollX;
    lastVertX_ = ed_.FCaretX, lastVertY_ = ed_.FCaretY;
    UpdateSelectionAfterMove();
    ed_.UpdateCaret();
    ShowCaret();
    DrawCaretUnderline(true);
}

void TVellView::GoNextRowStart() {
    const int old = ed_.FScrollX;
    ed_.FScrollX = 0;
    ed_.FCaretX = 0;
    ed_.FCaretPixelX = 0;
    if (ed_.FCaretY - ed_.FTopLine + ed_.FVMargin < ed_.FPageLines) {
        DrawCaretUnderline(false);
        ++ed_.FCaretY;
        DrawCaretUnderline(true);
    } else {
        // The scroll carries the caret by the goal column: aim it at column 0.
        ed_.FGoalX = 0;
        WMVScroll(SB_LINEDOWN);
        if (vScrolled_ == 0) ++ed_.FCaretY;
        ed_.FCaretX = 0;
        ed_.FCaretPixelX = 0;
    }
    // The selection follows the caret also when the view scrolled back: an
    // anchor left behind would make the next key act on the line above.
    UpdateSelectionAfterMove();
    if (old != 0) DrawAll();
}

void TVellView::GoPrevRow() {
    DrawCaretUnderline(false);
    --ed_.FCaretY;
    DrawCaretUnderline(true);
}

void TVellView::UpdateSelectionAfterMove() {
    const bool keepAll = inVScroll_ && ed_.FAllSelected && !inKeyDown_;
    if (!keyboard_.ShiftDown() && !keepAll && !mouseSelecting_) return ed_.ClearSelection();
    if (dragging_) return ExtendSelection(ed_.FSelEndX, ed_.FSelEndY);
    DrawCaretUnderline(false);
    ed_.FSelected = true;
    if (ed_.FAllSelected) {
        // A select-all turns into a range from the anchor to the caret.
        ed_.FAllSelected = false;
        ed_.FSelEndX = ed_.FPrevCaretX = ed_.FCaretX;
        ed_.FSelEndY = ed_.FPrevCaretY = ed_.FCaretY;
        return DrawSelection();
    }
    ExtendSelection(ed_.FCaretX, ed_.FCaretY);
}

/// The nearest character boundary to pixel x: a character's right half
/// belongs to the boundary after it. One pass, so the cost is that of
/// measuring the row once.
int32_t TVellView::ColFromX(std::string_view entry, int x) {
    if (x <= 0) {
        ed_.FCaretPixelX = 0;
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
            ed_.FCaretPixelX = before ? l : r;
            return static_cast<int32_t>(before ? i : i + n);
        }
        l = r;
        col += cells;
        i += n;
    }
    ed_.FCaretPixelX = l;
    return static_cast<int32_t>(entry.size());
}

void TVellView::KeepVisibleRight(int width, bool overTab) {
    if (overTab) {
        const std::string_view e = ed_.Lines().View(ed_.FCaretY);
        ed_.FCaretPixelX = ExpandedWidth(e.substr(0, ed_.FCaretX)) - ed_.FScrollX;
        if (ed_.FTextWidth - ed_.FCaretPixelX - ed_.FCaretMargin < 0) WMHScroll(SB_LINEDOWN);
        return;
    }
    ed_.FCaretPixelX += width;
    while (ed_.FTextWidth - ed_.FCaretPixelX - ed_.FCaretMargin < 0) {
        WMHScroll(SB_LINEDOWN);
        if (hScrolled_ == 0) break;
    }
}

void TVellView::KeepVisibleLeft(int width, bool overTab) {
    if (overTab) {
        const std::string_view e = ed_.Lines().View(ed_.FCaretY);
        ed_.FCaretPixelX = ExpandedWidth(e.substr(0, ed_.FCaretX)) - ed_.FScrollX;
    } else {
        ed_.FCaretPixelX -= width;
    }
    while (ed_.FCaretPixelX < 0 && ed_.FScrollX > 0) {
        WMHScroll(SB_LINEUP);
        if (hScrolled_ == 0) break;
    }
}

/// A jump to a line end scrolls so that the caret rests a margin from the edge.
void TVellView::ScrollToLineEndX(int x) {
    ed_.FScrollX = std::max(0, x - ed_.FTextWidth + ed_.FCaretMargin);
    ed_.FCaretPixelX = x - ed_.FScrollX;
}

}  // namespace tw
