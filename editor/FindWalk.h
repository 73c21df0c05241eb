/** @file The search walk of one editor control: which rows to ask about next. */
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

class TVellEdit;

/// One replacement of the replace mode, as the owner is asked about it: the
/// hit of `len` bytes at (x, y), the Count-th of the walk. The owner answers
/// through the three flags.
struct TFindChange {
    std::string_view findchr;    ///< the search text
    std::string_view Changechr;  ///< what replaces it
    int32_t x = 0, y = 0, len = 0, Count = 0;
    bool ChangeF = true;   ///< replace this hit; cleared, the walk steps over it
    bool kakuninF = true;  ///< ask again before the next replacement
    bool AbortF = false;   ///< end the replace run here
};

/// Hands the rows of its control to the owner's OnFind one window at a
/// time, moves the caret to the match the owner accepts and reports it.
/// Between walks it remembers where the last one stopped, so a walk goes on
/// after (or before) the last hit, or starts at the caret once that moved.
class TFindWalk {
  public:
    explicit TFindWalk(TVellEdit& Edit) : ed_(Edit) {}
    TFindWalk(const TFindWalk&) = delete;
    TFindWalk& operator=(const TFindWalk&) = delete;

    void SetFindText(std::string_view S);
    /// One hit forward from the first row.
    void FindFirst();
    /// One hit forward from the caret, or after the last hit.
    void FindNext();
    /// One hit backward from the caret, or before the last hit.
    void FindPrev();
    /// When the caret is still where the last hit put it, the next forward
    /// walk starts after that hit's first character rather than at the
    /// caret, so a search that is started anew goes on to the next hit.
    void StepOffHit();
    /// Replaces the next hit from row FFindLine on, or every hit down to the
    /// last row, asking through OnFindChange while confirming.
    void FindForward(bool ReplaceAll);

    /// What FindForward puts in place of each hit, and whether it asks first.
    void SetReplaceText(std::string_view S) { FReplaceText = S; }
    void SetConfirmReplace(bool Value) noexcept { FConfirmReplace = Value; }

    /// The highlighted hit: HitLen bytes from (HitX, HitY); none when 0.
    int32_t HitX() const noexcept { return FHitX; }
    int32_t HitY() const noexcept { return FHitY; }
    int32_t HitLen() const noexcept { return FHitLen; }
    /// Hits since the walk began or last wrapped around.
    int32_t HitCount() const noexcept { return FHitCount; }
    void DropHit() noexcept { FHitLen = 0; }
    /// The caret was placed by something else: the next walk starts there.
    void RestartAtCaret() noexcept {
        FFindFromCaret = true;
        FCaretOnHit = false;
    }

  private:
    bool FindStepForward(bool Replace);
    void FindStepBackward();
    bool BeginFindFromHere();
    void LoadFindWindow(int32_t Y, int32_t FromX);
    void LoadFindPrefix(int32_t Y, int32_t Length);
    bool AskFind(int32_t& x, int32_t& len);
    bool AskFindDownward(int32_t& x, int32_t& len);
    int32_t CandidateFrom(int32_t Y);
    bool AskFindUpward(int32_t& x, int32_t& len);
    void TakeLastMatch(int32_t& x, int32_t& len);
    void PlaceHit(int32_t x, int32_t len);
    void SkipFoundText(int32_t x, int32_t len);
    bool ConfirmHit(int32_t x, int32_t len);
    void ReplaceFoundHit(int32_t len);
    void UnhighlightHit();

    TVellEdit& ed_;
    /// What the walk looks for, and what a replacement puts in its place.
    std::string FFindText, FReplaceText;
    /// The text the owner is asked about next: a window of row FFindLine
    /// from byte FFindX on.
    std::string FFindRest;
    /// The row the walk looks at next.
    int32_t FFindLine = 0;
    /// The last row the walk may reach; a replacement moves it.
    int32_t FFindLastLine = 0;
    /// The byte of row FFindLine where the walk goes on.
    int32_t FFindX = 0;
    /// The length of row FFindLine: a match must start within it.
    int32_t FFindLimit = 0;
    /// The last walk went forward.
    bool FFindStarted = false;
    /// The caret was placed since the last hit: the next walk starts there.
    bool FFindFromCaret = true;
    /// The caret is where the last hit put it and has not moved since.
    bool FCaretOnHit = false;
    /// The last walk found nothing: the next in its direction wraps around.
    bool FFindEnded = false;
    /// Ask before each replacement.
    bool FConfirmReplace = false;
    /// The user answered that the run of replacements should stop.
    bool FAbortReplace = false;
    /// The highlighted hit (byte, row, length; no hit when the length is 0) and hits so far.
    int32_t FHitX = 0, FHitY = 0, FHitLen = 0, FHitCount = 0;
};

}  // namespace tw
