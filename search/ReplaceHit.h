/** @file The document window's answer to a search hit: highlight it, or replace it. */
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/VellEdit.h"
#include "platform/MessageBox.h"
#include "search/FindMatch.h"

namespace tw {

/// The replace dialog's record of the replace in progress.
struct ReplaceState {
    bool ConfirmEach = false;
    std::string ReplaceText;
    bool ReplaceCancelled = false;
    /// The last hit was left as it was at the user's "No": the next
    /// replace going down starts after it, not on it again.
    bool HitDeclined = false;
};

/// One hit as OnFindHit reports it: `len` bytes from byte x of row y.
struct FindHit {
    std::string_view findchr;
    int32_t x = 0, y = 0, len = 0;
};

/// The rows a replacement rewrites and where the hit lies in them.
struct HitSpan {
    int32_t first = 0;   ///< the first row of the hit's logical line
    int32_t last = 0;    ///< the last row of the last logical line the hit touches
    int32_t offset = 0;  ///< the hit's byte offset from the start of row `first`
};

/// Locates a hit in its logical line. The rows before the hit's row are
/// counted at their real lengths: a wrapped row is often shorter than the
/// wrap column (cut before a double-byte character, holding TABs, or cut by
/// pixel width). A hit that runs over a line break takes the next line too.
HitSpan LocateHit(const TVellEdit& ed, int32_t x, int32_t y, int32_t len);

/// Replaces the hit's own bytes. The caret goes right after the
/// inserted text (before it when searching up) and the matcher's last hit
/// moves there, so whichever way the dialog searches next, it never finds
/// the replacement itself again.
void ReplaceHit(TVellEdit& ed, TFindMatcher& matcher, const FindHit& hit,
                std::string_view replacement);

enum class HitOutcome {
    Highlighted,  ///< the find dialog's hit, painted in the find colour
    Replaced,
    Skipped,    ///< the user answered No
    Cancelled,  ///< the user answered Abort; the window now redraws its view
};

inline constexpr std::string_view kReplaceQuestion = "置換しますか？";

/// OnFindHit after the window came to the front. While the replace dialog is
/// showing (`replacing`) the hit is replaced, first asking kReplaceQuestion
/// when each replacement is to be confirmed: All stops the asking for the
/// rest of the run, Abort cancels the run and replaces nothing.
HitOutcome HandleFindHit(TVellEdit& ed, TFindMatcher& matcher, ReplaceState& state,
                         IMessageBox& messages, bool replacing, TColor findColor,
                         const FindHit& hit);

}  // namespace tw
