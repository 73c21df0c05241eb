// The search walk: the rows are handed to the owner one window at a time, the
// owner answers with its first match, and the control moves the caret there.
#include <algorithm>
#include <string>

#include "editor/VellEdit.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

constexpr TColor kInvertColor = 0xFFFFFF;

int32_t Length(std::string_view s) {
    return static_cast<int32_t>(s.size());
}

/// The length a text has once it is in the rows.
int32_t InsertedLength(const std::string& Text) {
    return NeedsNormalizing(Text) ? Length(NormalizeBreaks(Text)) : Length(Text);
}

}  // namespace

void TVellEdit::SetFindText(std::string_view S) {
    FFindText = S;
    FFindLastLine = FLines.Count() - 1;
    FFindLine = 0;
    FFindFromCaret = true;
    FFindStarted = false;
    FFindEnded = false;
    FHitCount = 0;
    UnhighlightHit();
}

void TVellEdit::FindFirst() {
    FFindLastLine = FLines.Count() - 1;
    FFindLine = 0;
    FHitCount = 0;
    UnhighlightHit();
    // The caret is about to jump; a selection left behind would hang on to
    // an anchor far away.
    if (SelectionExists()) ClearSelection();
    FFindX = 0;
    LoadFindWindow(0, 0);
    FindStepForward(false);
}

/// What a walk from the present place does first. True when it starts at
/// the caret, which was placed since the last hit.
bool TVellEdit::BeginFindFromHere() {
    UnhighlightHit();
    if (SelectionExists()) ClearSelection();
    FFindLastLine = FLines.Count() - 1;
    if (!FFindFromCaret) return false;
    FFindFromCaret = false;
    FFindLine = FCaretY;
    FFindX = FCaretX;
    return true;
}

void TVellEdit::FindNext() {
    if (BeginFindFromHere()) LoadFindWindow(FCaretY, FCaretX);
    FindStepForward(false);
}

void TVellEdit::FindPrev() {
    if (BeginFindFromHere()) {
        LoadFindPrefix(FCaretY, FCaretX);
        // Only what lies before the caret is left to search: the position of
        // an earlier forward walk no longer counts, unlike its wrap-around.
        if (FFindStarted) FFindStarted = FFindEnded = false;
    }
    FindStepBackward();
}

void TVellEdit::FindForward(bool ReplaceAll) {
    FAbortReplace = false;
    FFindLastLine = std::min(FFindLastLine, FLines.Count() - 1);
    FFindX = 0;
    LoadFindWindow(FFindLine, 0);
    if (!ReplaceAll) {
        FindStepForward(true);
        return;
    }
    while (FFindLine <= FFindLastLine && FindStepForward(true)) {
    }
}

/// The window of row Y from byte FromX on: the row, then as many bytes of the
/// following rows as a match starting in row Y can reach. A longer window
/// would only be searched again when its own row comes.
void TVellEdit::LoadFindWindow(int32_t Y, int32_t FromX) {
    FFindRest.clear();
    FFindLimit = 0;
    if (Y < 0 || Y >= FLines.Count()) return;
    std::string_view row = FLines.View(Y);
    FFindLimit = Length(row);
    FromX = std::clamp(FromX, 0, FFindLimit);
    FFindRest.append(row.substr(static_cast<size_t>(FromX)));
    auto reach = static_cast<size_t>(std::max<int32_t>(0, Length(FFindText) - 1));
    const int32_t last = std::min(FFindLastLine, FLines.Count() - 1);
    for (int32_t y = Y + 1; reach > 0 && y <= last; ++y) {
        std::string_view next = FLines.View(y).substr(0, reach);
        FFindRest.append(next);
        reach -= next.size();
    }
}

/// The first Length bytes of row Y, the text before a position in it.
void TVellEdit::LoadFindPrefix(int32_t Y, int32_t Length) {
    FFindRest.clear();
    FFindLimit = 0;
    if (Y < 0 || Y >= FLines.Count()) return;
    std::string_view row = FLines.View(Y);
    FFindLimit = static_cast<int32_t>(row.size());
    FFindRest.assign(row.substr(0, static_cast<size_t>(std::clamp(Length, 0, FFindLimit))));
}

/// One question to the owner. A match that starts past row FFindLine belongs
/// to a later row and is found again there, so it counts as none here.
bool TVellEdit::AskFind(int32_t& x, int32_t& len) {
    if (!OnFind || FFindText.empty()) {
        x = 0;
        return false;
    }
    OnFind(*this, FFindRest, FFindText, FFindLine, x, len);
    len = std::max(len, 1);
    return x > 0 && FFindX + x <= FFindLimit;
}

bool TVellEdit::AskFindDownward(int32_t& x, int32_t& len) {
    for (;;) {
        x = 0;
        len = Length(FFindText);
        if (AskFind(x, len)) return true;
        if (FFindLine >= FFindLastLine) return false;
        // A hit that ran on past the row's end was already reported; the
        // walk goes on after it, not inside it on the next row.
        int32_t carry = std::max(0, FFindX - FFindLimit);
        ++FFindLine;
        while (FFindLine < FFindLastLine && carry >= Length(FLines.View(FFindLine)))
            carry -= Length(FLines.View(FFindLine++));
        FFindX = carry;
        LoadFindWindow(FFindLine, carry);
    }
}

bool TVellEdit::AskFindUpward(int32_t& x, int32_t& len) {
    for (;;) {
        x = 0;
        len = Length(FFindText);
        if (AskFind(x, len)) return true;
        if (FFindLine <= 0) return false;
        --FFindLine;
        FFindX = 0;
        LoadFindWindow(FFindLine, 0);
    }
}

/// Going up, a row's hits come last one first: asks again after each match
/// and leaves FFindX, x and len at the last match of the window.
void TVellEdit::TakeLastMatch(int32_t& x, int32_t& len) {
    int32_t startX = FFindX;
    for (;;) {
        const int32_t skip = x + len - 1;
        if (skip >= Length(FFindRest)) break;
        FFindRest.erase(0, static_cast<size_t>(skip));
        FFindX += skip;
        int32_t nx = x, nlen = len;
        if (!AskFind(nx, nlen)) break;
        startX = FFindX;
        x = nx;
        len = nlen;
    }
    FFindX = startX;
}

void TVellEdit::PlaceHit(int32_t x, int32_t len) {
    const int32_t hx = FFindX + x - 1;
    GotoXY(hx, FFindLine, ScrollMode::NearTop);
    FFindFromCaret = false;
    FHitX = hx;
    FHitLen = len;
    FHitY = FFindLine;
}

/// Moves the search start past a hit, so the next step goes on after it.
void TVellEdit::SkipFoundText(int32_t x, int32_t len) {
    const int32_t n = x + len - 1;
    FFindRest.erase(0, static_cast<size_t>(std::min(n, Length(FFindRest))));
    FFindX += n;
}

bool TVellEdit::FindStepForward(bool Replace) {
    if (!FFindStarted) {
        LoadFindWindow(FFindLine, FFindX);
    } else if (FFindEnded) {
        FFindLine = FFindX = FHitCount = 0;
        LoadFindWindow(0, 0);
    }
    FFindEnded = false;
    FFindStarted = true;
    int32_t x = 0, len = 0;
    if (!AskFindDownward(x, len)) {
        if (Replace) {
            ++FFindLine;
            return true;
        }
        if (OnFindNoHit) OnFindNoHit(*this, FFindText);
        FFindEnded = true;
        return true;
    }
    PlaceHit(x, len);
    if (!Replace) {
        ++FHitCount;
        if (OnFindHit) OnFindHit(*this, FFindText, FHitX, FHitY, FHitLen, FHitCount);
        SkipFoundText(x, len);
        return true;
    }
    if (FConfirmReplace && !ConfirmHit(x, len)) return !FAbortReplace;
    ReplaceFoundHit(len);
    return true;
}

/// Asks the owner about one replacement; false when it is not to be made,
/// either skipped (the walk goes on after it) or aborted.
bool TVellEdit::ConfirmHit(int32_t x, int32_t len) {
    bool change = true;
    if (OnFindChange)
        OnFindChange(*this, FFindText, FReplaceText, FHitX, FHitY, FHitLen, FHitCount, change,
                     FConfirmReplace, FAbortReplace);
    if (!change) {
        SkipFoundText(x, len);
        FAbortReplace = false;
        return false;
    }
    if (FAbortReplace) UnhighlightHit();
    return !FAbortReplace;
}

/// Replaces the hit and goes on right after the inserted text, so a
/// replacement that contains the search text is never searched again.
void TVellEdit::ReplaceFoundHit(int32_t len) {
    FHitLen = 0;
    const int32_t rows = FLines.Count();
    int32_t endX = FHitX, endY = FFindLine;
    WalkToEnd(len, endX, endY);
    ReplaceRangeEx(FReplaceText, FHitX, FConfirmReplace, endY, endX, FFindLine);
    FFindLastLine = std::max(FFindLine, FFindLastLine) + FLines.Count() - rows;
    // A read-only text keeps the hit, which is then stepped over.
    FFindX = FHitX + (ReadOnly ? len : InsertedLength(FReplaceText));
    if (!ReadOnly) ++FHitCount;
    // The inserted text may run on into the following pieces of its line.
    while (FFindLine < FLines.Count() - 1 && FFindX >= Length(FLines.View(FFindLine))) {
        FFindX -= Length(FLines.View(FFindLine));
        ++FFindLine;
    }
    LoadFindWindow(FFindLine, FFindX);
}

void TVellEdit::FindStepBackward() {
    if (FFindStarted) {
        LoadFindPrefix(FFindLine, FFindX - Length(FFindText));
    } else if (FFindEnded) {
        FFindLine = FLines.Count() - 1;
        FFindX = FHitCount = 0;
        LoadFindWindow(FFindLine, 0);
    }
    FFindEnded = false;
    FFindStarted = false;
    FFindX = 0;
    int32_t x = 0, len = 0;
    if (!AskFindUpward(x, len)) {
        if (OnFindNoHit) OnFindNoHit(*this, FFindText);
        FFindEnded = true;
        return;
    }
    TakeLastMatch(x, len);
    PlaceHit(x, len);
    ++FHitCount;
    if (OnFindHit) OnFindHit(*this, FFindText, FHitX, FHitY, FHitLen, FHitCount);
    // The next step up searches what lies before this match's search start;
    // a step down goes on after the hit.
    LoadFindPrefix(FFindLine, FFindX);
    FFindX += x + len - 1;
}

void TVellEdit::UnhighlightHit() {
    if (FHitLen > 0) PaintRange(FHitX, FHitY, true, 0, 0, FHitLen);
    FHitLen = 0;
}

void TVellEdit::PaintHit(TColor Color) {
    if (FHitLen > 0) PaintRange(FHitX, FHitY, false, Color, Color ^ kInvertColor, FHitLen);
}

void TVellEdit::PaintRange(int32_t X, int32_t Y, bool Restore, TColor BackColor, TColor FontColor,
                           int32_t Len) {
    if (Y < 0 || Y >= FLines.Count()) return;
    int32_t endX = X, endY = Y;
    WalkToEnd(Len, endX, endY);
    View().HideCaret();
    if (Restore)
        View().DrawLines(DrawSpan::Rows, Y, endY);
    else
        PaintRangeAsSelection(X, Y, endX, endY, BackColor, FontColor);
    View().ShowCaret();
}

/// The selection painter draws selected text in the font colour xor white on
/// SelColor; borrowing it with both colours swapped paints the range, and
/// everything borrowed goes back, so the real selection is untouched. Only
/// the range's own bytes are painted: the rest of the text keeps its colour.
void TVellEdit::PaintRangeAsSelection(int32_t X, int32_t Y, int32_t EndX, int32_t EndY,
                                      TColor BackColor, TColor FontColor) {
    const int32_t caretX = FCaretX, caretY = FCaretY;
    const int32_t anchorX = FSelAnchorX, anchorY = FSelAnchorY;
    const int32_t endX = FSelEndX, endY = FSelEndY;
    const bool selected = FSelected, allSelected = FAllSelected;
    const TColor font = FFont.Color, sel = FSelColor, marks = CREOFcolor;
    FSelected = true;
    FAllSelected = false;
    FSelAnchorX = X, FSelAnchorY = Y;
    FSelEndX = EndX, FSelEndY = EndY;
    FSelColor = BackColor;
    FFont.Color = FontColor ^ kInvertColor;
    View().DrawSelectedText();
    FCaretX = caretX, FCaretY = caretY;
    FSelAnchorX = anchorX, FSelAnchorY = anchorY;
    FSelEndX = endX, FSelEndY = endY;
    FSelected = selected, FAllSelected = allSelected;
    FFont.Color = font, FSelColor = sel, CREOFcolor = marks;
}

}  // namespace tw
