// The caret and the selection as positions in the rows; keeping the caret in
// view; reading the selection.
#include <algorithm>
#include <string>

#include "editor/VellEdit.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

std::string_view SafeSub(std::string_view s, int32_t from, int32_t to) {
    const auto n = static_cast<int32_t>(s.size());
    from = std::clamp(from, 0, n);
    to = std::clamp(to, from, n);
    return s.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
}

}  // namespace

bool TVellEdit::GotoXY(int32_t X, int32_t Y, ScrollMode Mode) {
    X = std::max(X, 0);
    Y = std::min(Y, FLines.Count() - 1);
    // A row above the first raises the store's index error to the caller.
    if (ByteTypeAt(FLines.View(Y), X + 1) == kTrailByte) --X;
    return MoveCaret(X, Y, Mode, true);
}

bool TVellEdit::MoveCaret(int32_t X, int32_t Y, ScrollMode Mode, bool ResetAnchor) {
    try {
        const int32_t oldRow = FSelection.Caret.Y;
        const bool moved = X >= 0;
        if (moved) {
            Y = std::min(Y, FLines.Count() - 1);
            X = std::min(X, MaxCaretX(Y));
            FSelection.PixelX = RowPrefixWidth(Y, X) - FViewport.ScrollX;
            FSelection.Caret = {X, Y};
        }
        const bool scrolled = ScrollIntoView(FSelection.PixelX, FSelection.Caret.Y, Mode, 3);
        if (scrolled) {
            View().UpdateVertScrollBar(true);
            View().UpdateHorzScrollBar(true);
            View().DrawAll();
            UpdateCaret();
            View().ShowCaret();
        } else if (moved) {
            UpdateCaret();
            if (FSelection.Caret.Y != oldRow) View().MoveCaretUnderline(oldRow, FSelection.Caret.Y);
        }
        if (ResetAnchor) FSelection.CollapseToCaret();
        FSelection.GoalX = FSelection.Caret.X;
        return scrolled;
    } catch (const std::exception&) {
        ShowError("Error:OC004_2");
        return false;
    }
}

bool TVellEdit::ScrollIntoView(int PixelX, int32_t Y, ScrollMode Mode, int Margin) {
    char tag = '1';
    try {
        const int oldScroll = FViewport.ScrollX;
        const int32_t oldTop = FViewport.TopLine;
        const int w = FViewport.TextWidth;
        const int32_t h = FViewport.PageLines;
        const int keep = w - w / 5;  // the caret comes to rest at four fifths
        if (PixelX > w - Margin) {
            tag = '2';
            FViewport.ScrollX += PixelX - keep;
        } else if (PixelX < Margin) {
            tag = '3';
            FViewport.ScrollX = std::max(0, FViewport.ScrollX + PixelX - keep);
        }
        FSelection.PixelX -= FViewport.ScrollX - oldScroll;
        tag = '4';
        switch (Mode) {
            case ScrollMode::IfNeeded:
                if (Y < FViewport.TopLine) {
                    FViewport.TopLine = std::max(0, Y - h / 5);
                    if (FLines.Count() < h - FViewport.VMargin) FViewport.TopLine = 0;
                }
                if (Y >= FViewport.TopLine + h) FViewport.TopLine = std::max(0, Y - (h - h / 5));
                break;
            case ScrollMode::Center:
                FViewport.TopLine = std::max(0, Y - h / 2);
                break;
            case ScrollMode::NearTop:
                FViewport.TopLine = std::max(0, Y - (h - static_cast<int32_t>(0.8 * h)));
                break;
        }
        return FViewport.ScrollX != oldScroll || FViewport.TopLine != oldTop;
    } catch (const std::exception&) {
        ShowError(std::string("Error:OC004_3_") + tag);
        return false;
    }
}

void TVellEdit::UpdateCaret() {
    FSelection.PixelY = (FSelection.Caret.Y - FViewport.TopLine) * FViewport.RowHeight;
    View().UpdateCaret();
    ClearHit();
    if ((FSelection.Caret == FSelection.Reported) || !OnSelectionChange) return;
    OnSelectionChange(*this);
    FSelection.Reported = FSelection.Caret;
}

bool TVellEdit::GetSelectionRange(int32_t& X1, int32_t& Y1, int32_t& Y2, int32_t& X2) const {
    if (FSelection.Selected) {
        const auto [a, b] = FSelection.Ordered();
        X1 = a.X, Y1 = a.Y, X2 = b.X, Y2 = b.Y;
        // A range that ends at the start of a row ends with the row above,
        // its line break included. An empty range stays where it is.
        if (Y2 > Y1 && X2 == 0) {
            --Y2;
            X2 = static_cast<int32_t>(FLines.View(Y2).size());
        }
    } else if (FSelection.AllSelected) {
        X1 = Y1 = 0;
        Y2 = FLines.Count() - 1;
        X2 = static_cast<int32_t>(FLines.View(Y2).size());
    } else {
        X1 = X2 = FSelection.Caret.X;
        Y1 = Y2 = FSelection.Caret.Y;
    }
    return SelectionExists();
}

std::string TVellEdit::ReadSelText() {
    if (FSelection.AllSelected) {
        const int32_t last = FLines.Count() - 1;
        FSelection.Anchor = {0, 0};
        FSelection.Caret = {MaxCaretX(last), last};
    }
    const auto [a, b] = std::minmax(FSelection.Anchor, FSelection.Caret);
    if (a.Y == b.Y) return std::string(SafeSub(FLines.View(a.Y), a.X, b.X));
    std::string s(SafeSub(FLines.View(a.Y), a.X, INT32_MAX));
    for (int32_t y = a.Y + 1; y < b.Y; ++y)
        s.append(FLines.View(y));
    s.append(SafeSub(FLines.View(b.Y), 0, b.X));
    return s;
}

std::string TVellEdit::GetSelText() {
    const RowPos anchor = FSelection.Anchor, caret = FSelection.Caret;
    std::string s = ReadSelText();
    FSelection.Anchor = anchor;
    FSelection.Caret = caret;
    return s;
}

void TVellEdit::SelectAll() {
    if (FLines.View(0) == kEndMarker) return;
    FSelection.AllSelected = true;
    View().DrawSelection();
    ClearHit();
    if (!OnSelectionChange) return;
    OnSelectionChange(*this);
    FSelection.Reported = FSelection.Caret;
}

void TVellEdit::ClearSelection() {
    View().HideCaret();
    const bool was = SelectionExists();
    if (FSelection.AllSelected) {
        FSelection.AllSelected = FSelection.Selected = false;
        View().DrawLines(DrawSpan::Visible, 0, 0);
    } else if (FSelection.Selected) {
        FSelection.Selected = false;
        View().DrawLines(DrawSpan::Rows, std::min(FSelection.Anchor.Y, FSelection.End.Y),
                         std::max(FSelection.Anchor.Y, FSelection.End.Y));
    }
    if (was && OnSelectionChange) {
        OnSelectionChange(*this);
        FSelection.Reported = FSelection.Caret;
    }
    View().ShowCaret();
    FSelection.CollapseToCaret();
    View().DrawCaretUnderline(true);
    ClearHit();
}

void TVellEdit::ClearHit() {
    FFindWalk.RestartAtCaret();
    const TFindWalk& w = FFindWalk;
    if (!SelectionExists() && w.HitLen() > 0) {
        int32_t x = w.HitX(), y = w.HitY();
        WalkToEnd(w.HitLen(), x, y);
        View().DrawLines(DrawSpan::Rows, w.HitY(), y);
    }
    FFindWalk.DropHit();
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
