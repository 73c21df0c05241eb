// Replacing one search hit in place, and the question asked before it.
#include "search/ReplaceHit.h"

#include "textstore/ShiftJis.h"

namespace tw {

namespace {

int32_t RowLength(const TVellEdit& ed, int32_t row) {
    return static_cast<int32_t>(ed.Lines().View(row).size());
}

int32_t RowsLength(const TVellEdit& ed, int32_t first, int32_t last) {
    int32_t n = 0;
    for (int32_t r = first; r <= last; ++r)
        n += RowLength(ed, r);
    return n;
}

/// Byte `offset` counted from the start of row `first`, as a row position; an
/// offset at the end of a wrapped piece is the start of the next row.
RowPos PositionAt(const TVellEdit& ed, int32_t first, int32_t offset) {
    RowPos p{offset, first};
    const int32_t last = ed.Lines().Count() - 1;
    while (p.Y < last && p.X >= RowLength(ed, p.Y)) {
        p.X -= RowLength(ed, p.Y);
        ++p.Y;
    }
    return p;
}

int32_t InsertedLength(std::string_view text) {
    return static_cast<int32_t>(NeedsNormalizing(text) ? NormalizeBreaks(text).size()
                                                       : text.size());
}

bool AskBeforeReplacing(TVellEdit& ed, ReplaceState& state, IMessageBox& messages,
                        TColor findColor) {
    if (!state.ConfirmEach) return true;
    ed.PaintHit(findColor);
    switch (messages.Show(std::string(kReplaceQuestion), "Tarnwick Editor",
                          MessageButtons::YesNoAbortAll, MessageIcon::Question)) {
        case MessageAnswer::Yes:
            return true;
        case MessageAnswer::All:
            state.ConfirmEach = false;
            return true;
        case MessageAnswer::Abort:
            state.ReplaceCancelled = true;
            return true;
        default:
            return false;
    }
}

}  // namespace

HitSpan LocateHit(const TVellEdit& ed, int32_t x, int32_t y, int32_t len) {
    HitSpan s;
    s.first = y;
    ed.GetLogicalLineRange(s.first, s.last);
    s.offset = x + RowsLength(ed, s.first, y - 1);
    const int32_t lastRow = ed.Lines().Count() - 1;
    int32_t covered = RowsLength(ed, s.first, s.last);
    // Reaching into the break joins the next line to this one.
    while (s.offset + len > covered - 2 && s.last < lastRow) {
        int32_t next = s.last + 1;
        ed.GetLogicalLineRange(next, s.last);
        covered += RowsLength(ed, next, s.last);
    }
    return s;
}

void ReplaceHit(TVellEdit& ed, TFindMatcher& matcher, const FindHit& hit,
                std::string_view replacement) {
    const HitSpan span = LocateHit(ed, hit.x, hit.y, hit.len);
    // Only the hit's bytes are replaced: the rows around it stay where they
    // are, so replacing thousands of hits in a huge text never moves the
    // whole row table once per hit.
    const RowPos start = PositionAt(ed, span.first, span.offset);
    const RowPos end = PositionAt(ed, span.first, span.offset + hit.len);
    if (!ed.ReadOnly) ed.ReplaceRangeEx(replacement, start.X, true, end.Y, end.X, start.Y);
    // A read-only text is unchanged: the walk steps over the hit instead.
    const int32_t resume = span.offset + (ed.ReadOnly ? hit.len : InsertedLength(replacement));
    const FindOptions& o = matcher.Options();
    const RowPos at = PositionAt(ed, span.first, o.SearchUp ? span.offset : resume);
    ed.GotoXY(at.X, at.Y);
    // From the top the match test resumes after column LastHitColumn of row
    // LastHitLine; down from the caret it must not skip a further character.
    matcher.LastHitLine = at.Y;
    matcher.LastHitColumn = o.SearchFromTop ? at.X : 0;
}

HitOutcome HandleFindHit(TVellEdit& ed, TFindMatcher& matcher, ReplaceState& state,
                         IMessageBox& messages, bool replacing, TColor findColor,
                         const FindHit& hit) {
    matcher.NoHit = false;
    state.HitDeclined = false;
    if (!replacing) {
        ed.PaintHit(findColor);
        return HitOutcome::Highlighted;
    }
    const bool replace = AskBeforeReplacing(ed, state, messages, findColor);
    if (state.ReplaceCancelled) return HitOutcome::Cancelled;
    if (!replace) {
        state.HitDeclined = true;
        return HitOutcome::Skipped;
    }
    ReplaceHit(ed, matcher, hit, state.ReplaceText);
    return HitOutcome::Replaced;
}

}  // namespace tw
