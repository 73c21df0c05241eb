// The caret and the selection as positions in the rows; keeping the caret in
// view; reading the selection.
#include <algorithm>
#include <string>

#include "editor/VellEdit.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

struct Pos {
    int32_t x, y;
    bool operator<(const Pos& o) const { return y != o.y ? y < o.y : x < o.x; }
};

std::string_view SafeSub(std::string_view s, int32_t from, int32_t to) {
    const auto n = static_cast<int32_t>(s.size());
    from = std::clamp(from, 0, n);
    to = std::clamp(to, from, n);
    return s.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
}

}  // namespace

void TVellEdit::CollapseAnchorToCaret() {
    FSelAnchorX = FPrevCaretX = FSelEndX = FCaretX;
    FSelAnchorY = FPrevCaretY = FSelEndY = FCaretY;
}

bool TVellEdit::GotoXY(int32_t X, int32_t Y, ScrollMode Mode) {
    X = std::max(X, 0);
    Y = std::min(Y, FLines.Count() - 1);
    // A row above the first raises the store's index error to the caller.
    if (ByteTypeAt(FLines.View(Y), X + 1) == kTrailByte) --X;
    return MoveCaret(X, Y, Mode, true);
}

bool TVellEdit::MoveCaret(int32_t X, int32_t Y, ScrollMode Mode, bool ResetAnchor) {
    try {
        const int32_t oldRow = FCaretY;
        const bool moved = X >= 0;
        if (moved) {
            Y = std::min(Y, FLines.Count() - 1);
            X = std::min(X, MaxCaretX(Y));
            FCaretPixelX = RowPrefixWidth(Y, X) - FScrollX;
            FCaretX = X;
            FCaretY = Y;
        }
        const bool scrolled = ScrollIntoView(FCaretPixelX, FCaretY, Mode, 3);
        if (scrolled) {
            View().UpdateVertScrollBar(true);
            View().UpdateHorzScrollBar(true);
            View().DrawAll();
            UpdateCaret();
            View().ShowCaret();
        } else if (moved) {
            UpdateCaret();
            if (FCaretY != oldRow) View().MoveCaretUnderline(oldRow, FCaretY);
        }
        if (ResetAnchor) CollapseAnchorToCaret();
        FGoalX = FCaretX;
        return scrolled;
    } catch (const std::exception&) {
        ShowError("Error:OC004_2");
        return false;
    }
}

bool TVellEdit::ScrollIntoView(int PixelX, int32_t Y, ScrollMode Mode, int Margin) {
    char tag = '1';
    try {
        const int oldScroll = FScrollX;
        const int32_t oldTop = FTopLine;
        const int w = FTextWidth;
        const int32_t h = FPageLines;
        const int keep = w - w / 5;  // the caret comes to rest at four fifths
        if (PixelX > w - Margin) {
            tag = '2';
            FScrollX += PixelX - keep;
        } else if (PixelX < Margin) {
            tag = '3';
            FScrollX = std::max(0, FScrollX + PixelX - keep);
        }
        FCaretPixelX -= FScrollX - oldScroll;
        tag = '4';
        switch (Mode) {
            case ScrollMode::IfNeeded:
                if (Y < FTopLine) {
                    FTopLine = std::max(0, Y - h / 5);
                    if (FLines.Count() < h - FVMargin) FTopLine = 0;
                }
                if (Y >= FTopLine + h) FTopLine = std::max(0, Y - (h - h / 5));
                break;
            case ScrollMode::Center:
                FTopLine = std::max(0, Y - h / 2);
                break;
            case ScrollMode::NearTop:
                FTopLine = std::max(0, Y - (h - static_cast<int32_t>(0.8 * h)));
                break;
        }
        return FScrollX != oldScroll || FTopLine != oldTop;
    } catch (const std::exception&) {
        ShowError(std::string("Error:OC004_3_") + tag);
        return false;
    }
}

void TVellEdit::UpdateCaret() {
    FCaretPixelY = (FCaretY - FTopLine) * FRowHeight;
    View().UpdateCaret();
    ClearHit();
    if ((FCaretX == FSelChangeX && FCaretY == FSelChangeY) || !OnSelectionChange) return;
    OnSelectionChange(*this);
    FSelChangeX = FCaretX;
    FSelChangeY = FCaretY;
}

bool TVellEdit::GetSelectionRange(int32_t& X1, int32_t& Y1, int32_t& Y2, int32_t& X2) const {
    if (FSelected) {
        Pos a{FSelAnchorX, FSelAnchorY}, b{FSelEndX, FSelEndY};
        if (b < a) std::swap(a, b);
        X1 = a.x, Y1 = a.y, X2 = b.x, Y2 = b.y;
        // A range that ends at the start of a row ends with the row above,
        // its line break included. An empty range stays where it is.
        if (Y2 > Y1 && X2 == 0) {
            --Y2;
            X2 = static_cast<int32_t>(FLines.View(Y2).size());
        }
    } else if (FAllSelected) {
        X1 = Y1 = 0;
        Y2 = FLines.Count() - 1;
        X2 = static_cast<int32_t>(FLines.View(Y2).size());
    } else {
        X1 = X2 = FCaretX;
        Y1 = Y2 = FCaretY;
    }
    return SelectionExists();
}

std::string TVellEdit::ReadSelText() {
    if (FAllSelected) {
        FSelAnchorX = FSelAnchorY = 0;
        FCaretY = FLines.Count() - 1;
        FCaretX = MaxCaretX(FCaretY);
    }
    Pos a{FSelAnchorX, FSelAnchorY}, b{FCaretX, FCaretY};
    if (b < a) std::swap(a, b);
    if (a.y == b.y) return std::string(SafeSub(FLines.View(a.y), a.x, b.x));
    std::string s(SafeSub(FLines.View(a.y), a.x, INT32_MAX));
    for (int32_t y = a.y + 1; y < b.y; ++y)
        s.append(FLines.View(y));
    s.append(SafeSub(FLines.View(b.y), 0, b.x));
    return s;
}

std::string TVellEdit::GetSelText() {
    const Pos anchor{FSelAnchorX, FSelAnchorY}, caret{FCaretX, FCaretY};
    std::string s = ReadSelText();
    FSelAnchorX = anchor.x, FSelAnchorY = anchor.y;
    FCaretX = caret.x, FCaretY = caret.y;
    return s;
}

void TVellEdit::SelectAll() {
    if (FLines.View(0) == kEndMarker) return;
    FAllSelected = true;
    View().DrawSelection();
    ClearHit();
    if (!OnSelectionChange) return;
    OnSelectionChange(*this);
    FSelChangeX = FCaretX;
    FSelChangeY = FCaretY;
}

void TVellEdit::ClearSelection() {
    View().HideCaret();
    const bool was = SelectionExists();
    if (FAllSelected) {
        FAllSelected = FSelected = false;
        View().DrawLines(DrawSpan::Visible, 0, 0);
    } else if (FSelected) {
        FSelected = false;
        View().DrawLines(DrawSpan::Rows, std::min(FSelAnchorY, FSelEndY),
                         std::max(FSelAnchorY, FSelEndY));
    }
    if (was && OnSelectionChange) {
        OnSelectionChange(*this);
        FSelChangeX = FCaretX;
        FSelChangeY = FCaretY;
    }
    View().ShowCaret();
    CollapseAnchorToCaret();
    View().DrawCaretUnderline(true);
    ClearHit();
}

void TVellEdit::ClearHit() {
    FFindFromCaret = true;
    if (!SelectionExists() && FHitLen > 0) {
        int32_t x = FHitX, y = FHitY;
        WalkToEnd(FHitLen, x, y);
        View().DrawLines(DrawSpan::Rows, FHitY, y);
    }
    FHitLen = 0;
}

/// From (X, Y), `Length` bytes on through the rows, terminators counted.
void TVellEdit::WalkToEnd(int32_t Length, int32_t& X, int32_t& Y) const {
    const int32_t last = FLines.Count() - 1;
    int32_t x = X + Length;
    while (Y < last) {
        const auto len = static_cast<int32_t>(FLines.View(Y).size());
        if (x <= len) break;
        x -= len;
        ++Y;
    }
    X = x;
}

}  // namespace tw
