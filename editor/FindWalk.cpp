// The search walk: the rows are handed to the owner one window at a time, the
// owner answers with its first match, and the control moves the caret there.
#include "editor/FindWalk.h"

#include <algorithm>
#include <string>

#include "editor/VellEdit.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

int32_t Length(std::string_view s) {
    return static_cast<int32_t>(s.size());
}

/// The length a text has once it is in the rows.
int32_t InsertedLength(const std::string& Text) {
    return NeedsNormalizing(Text) ? Length(NormalizeBreaks(Text)) : Length(Text);
}

/// The byte after the character at `x` of `row` (x itself past the end).
int32_t AfterCharacter(std::string_view row, int32_t x) {
    if (x < 0 || x >= Length(row)) return x;
    return x + (IsLeadByte(static_cast<unsigned char>(row[static_cast<size_t>(x)])) ? 2 : 1);
}

}  // namespace

void TFindWalk::SetFindText(std::string_view S) {
    FFindText = S;
    FFindLastLine = ed_.Lines().Count() - 1;
    FFindLine = 0;
    FFindFromCaret = true;
    FFindStarted = false;
    FFindEnded = false;
    FHitCount = 0;
    UnhighlightHit();
}

void TFindWalk::FindFirst() {
    FFindLastLine = ed_.Lines().Count() - 1;
    FFindLine = 0;
    FHitCount = 0;
    UnhighlightHit();
    // The caret is about to jump; a selection left behind would hang on to
    // an anchor far away.
    if (ed_.SelectionExists()) ed_.ClearSelection();
    FFindX = 0;
    LoadFindWindow(0, 0);
    FindStepForward(false);
}

/// What a walk from the present place does first. True when it starts at
/// the caret, which was placed since the last hit.
bool TFindWalk::BeginFindFromHere() {
    UnhighlightHit();
    if (ed_.SelectionExists()) ed_.ClearSelection();
    FFindLastLine = ed_.Lines().Count() - 1;
    if (!FFindFromCaret) return false;
    FFindFromCaret = false;
    FFindLine = ed_.CaretY();
    FFindX = ed_.CaretX();
    return true;
}

void TFindWalk::FindNext() {
    if (BeginFindFromHere()) LoadFindWindow(ed_.CaretY(), ed_.CaretX());
    FindStepForward(false);
}

void TFindWalk::StepOffHit() {
    if (!FFindFromCaret || !FCaretOnHit) return;
    const int32_t y = ed_.CaretY();
    if (y < 0 || y >= ed_.Lines().Count()) return;
    FFindFromCaret = false;
    FFindStarted = false;
    FFindLine = y;
    FFindX = AfterCharacter(ed_.Lines().View(y), ed_.CaretX());
}

void TFindWalk::FindPrev() {
    if (BeginFindFromHere()) {
        LoadFindPrefix(ed_.CaretY(), ed_.CaretX());
        // Only what lies before the caret is left to search: the position of
        // an earlier forward walk no longer counts, unlike its wrap-around.
        if (FFindStarted) FFindStarted = FFindEnded = false;
    }
    FindStepBackward();
}

void TFindWalk::FindForward(bool ReplaceAll) {
    FAbortReplace = false;
    FFindLastLine = std::min(FFindLastLine, ed_.Lines().Count() - 1);
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
void TFindWalk::LoadFindWindow(int32_t Y, int32_t FromX) {
    FFindRest.clear();
    FFindLimit = 0;
    if (Y < 0 || Y >= ed_.Lines().Count()) return;
    std::string_view row = ed_.Lines().View(Y);
    FFindLimit = Length(row);
    FromX = std::clamp(FromX, 0, FFindLimit);
    FFindRest.append(row.substr(static_cast<size_t>(FromX)));
    auto reach = static_cast<size_t>(std::max<int32_t>(0, Length(FFindText) - 1));
    const int32_t last = std::min(FFindLastLine, ed_.Lines().Count() - 1);
    for (int32_t y = Y + 1; reach > 0 && y <= last; ++y) {
        std::string_view next = ed_.Lines().View(y).substr(0, reach);
        FFindRest.append(next);
        reach -= next.size();
    }
}

/// The first Length bytes of row Y, the text before a position in it.
void TFindWalk::LoadFindPrefix(int32_t Y, int32_t Length) {
    FFindRest.clear();
    FFindLimit = 0;
    if (Y < 0 || Y >= ed_.Lines().Count()) return;
    std::string_view row = ed_.Lines().View(Y);
    FFindLimit = static_cast<int32_t>(row.size());
    FFindRest.assign(row.substr(0, static_cast<size_t>(std::clamp(Length, 0, FFindLimit))));
}

/// One question to the owner. A match that starts past row FFindLine belongs
/// to a later row and is found again there, so it counts as none here.
bool TFindWalk::AskFind(int32_t& x, int32_t& len) {
    if (!ed_.OnFind || FFindText.empty()) {
        x = 0;
        return false;
    }
    ed_.OnFind(ed_, FFindRest, FFindText, FFindLine, x, len);
    len = std::max(len, 1);
    return x > 0 && FFindX + x <= FFindLimit;
}

bool TFindWalk::AskFindDownward(int32_t& x, int32_t& len) {
    for (;;) {
        x = 0;
        len = Length(FFindText);
        if (AskFind(x, len)) return true;
        if (FFindLine >= FFindLastLine) return false;
        // A hit that ran on past the row's end was already reported; the
        // walk goes on after it, not inside it on the next row.
        int32_t carry = std::max(0, FFindX - FFindLimit);
        ++FFindLine;
        while (FFindLine < FFindLastLine && carry >= Length(ed_.Lines().View(FFindLine)))
            carry -= Length(ed_.Lines().View(FFindLine++));
        if (carry == 0) FFindLine = CandidateFrom(FFindLine);
        FFindX = carry;
        LoadFindWindow(FFindLine, carry);
    }
}

/// The next row from Y on worth a question, as the owner tells. With none
/// left the walk goes on to the last row and asks it, so the owner hears
/// the walk end where it always did.
int32_t TFindWalk::CandidateFrom(int32_t Y) {
    if (!ed_.OnFindCandidate || Y >= FFindLastLine) return Y;
    return std::clamp(ed_.OnFindCandidate(ed_, FFindText, Y, FFindLastLine), Y, FFindLastLine);
}

bool TFindWalk::AskFindUpward(int32_t& x, int32_t& len) {
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
void TFindWalk::TakeLastMatch(int32_t& x, int32_t& len) {
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

void TFindWalk::PlaceHit(int32_t x, int32_t len) {
    const int32_t hx = FFindX + x - 1;
    ed_.GotoXY(hx, FFindLine, ScrollMode::NearTop);
    FFindFromCaret = false;
    FCaretOnHit = true;
    FHitX = hx;
    FHitLen = len;
    FHitY = FFindLine;
}

/// Moves the search start past a hit, so the next step goes on after it.
void TFindWalk::SkipFoundText(int32_t x, int32_t len) {
    const int32_t n = x + len - 1;
    FFindRest.erase(0, static_cast<size_t>(std::min(n, Length(FFindRest))));
    FFindX += n;
}

bool TFindWalk::FindStepForward(bool Replace) {
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
        if (ed_.OnFindNoHit) ed_.OnFindNoHit(ed_, FFindText);
        FFindEnded = true;
        return true;
    }
    PlaceHit(x, len);
    if (!Replace) {
        ++FHitCount;
        if (ed_.OnFindHit) ed_.OnFindHit(ed_, FFindText, FHitX, FHitY, FHitLen, FHitCount);
        SkipFoundText(x, len);
        return true;
    }
    if (FConfirmReplace && !ConfirmHit(x, len)) return !FAbortReplace;
    ReplaceFoundHit(len);
    return true;
}

/// Asks the owner about one replacement; false when it is not to be made,
/// either skipped (the walk goes on after it) or aborted.
bool TFindWalk::ConfirmHit(int32_t x, int32_t len) {
    TFindChange ask{FFindText, FReplaceText, FHitX,           FHitY,        FHitLen,
                    FHitCount, true,         FConfirmReplace, FAbortReplace};
    if (ed_.OnFindChange) ed_.OnFindChange(ed_, ask);
    FConfirmReplace = ask.kakuninF;
    FAbortReplace = ask.AbortF;
    if (!ask.ChangeF) {
        SkipFoundText(x, len);
        FAbortReplace = false;
        return false;
    }
    if (FAbortReplace) UnhighlightHit();
    return !FAbortReplace;
}

/// Replaces the hit and goes on right after the inserted text, so a
/// replacement that contains the search text is never searched again.
void TFindWalk::ReplaceFoundHit(int32_t len) {
    FHitLen = 0;
    const int32_t rows = ed_.Lines().Count();
    int32_t endX = FHitX, endY = FFindLine;
    ed_.WalkToEnd(len, endX, endY);
    ed_.ReplaceRangeEx(FReplaceText, FHitX, FConfirmReplace, endY, endX, FFindLine);
    FFindLastLine = std::max(FFindLine, FFindLastLine) + ed_.Lines().Count() - rows;
    // A read-only text keeps the hit, which is then stepped over.
    FFindX = FHitX + (ed_.ReadOnly ? len : InsertedLength(FReplaceText));
    if (!ed_.ReadOnly) ++FHitCount;
    // The inserted text may run on into the following pieces of its line.
    while (FFindLine < ed_.Lines().Count() - 1 && FFindX >= Length(ed_.Lines().View(FFindLine))) {
        FFindX -= Length(ed_.Lines().View(FFindLine));
        ++FFindLine;
    }
    LoadFindWindow(FFindLine, FFindX);
}

void TFindWalk::FindStepBackward() {
    if (FFindStarted) {
        LoadFindPrefix(FFindLine, FFindX - Length(FFindText));
    } else if (FFindEnded) {
        FFindLine = ed_.Lines().Count() - 1;
        FFindX = FHitCount = 0;
        LoadFindWindow(FFindLine, 0);
    }
    FFindEnded = false;
    FFindStarted = false;
    FFindX = 0;
    int32_t x = 0, len = 0;
    if (!AskFindUpward(x, len)) {
        if (ed_.OnFindNoHit) ed_.OnFindNoHit(ed_, FFindText);
        FFindEnded = true;
        return;
    }
    TakeLastMatch(x, len);
    PlaceHit(x, len);
    ++FHitCount;
    if (ed_.OnFindHit) ed_.OnFindHit(ed_, FFindText, FHitX, FHitY, FHitLen, FHitCount);
    // The next step up searches what lies before this match's search start;
    // a step down goes on after the hit.
    LoadFindPrefix(FFindLine, FFindX);
    FFindX += x + len - 1;
}

void TFindWalk::UnhighlightHit() {
    if (FHitLen > 0) ed_.PaintRange(FHitX, FHitY, true, 0, 0, FHitLen);
    FHitLen = 0;
}

}  // namespace tw
