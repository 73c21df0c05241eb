// The search as the control shows it: the walk's entry points, and the hit
// painted over the text and taken off again.
#include <algorithm>
#include <string>

#include "editor/VellEdit.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

constexpr TColor kInvertColor = 0xFFFFFF;

}  // namespace

void TVellEdit::SetFindText(std::string_view S) {
    FFindWalk.SetFindText(S);
}

void TVellEdit::FindFirst() {
    FFindWalk.FindFirst();
}

void TVellEdit::FindNext() {
    FFindWalk.FindNext();
}

void TVellEdit::FindPrev() {
    FFindWalk.FindPrev();
}

void TVellEdit::FindForward(bool ReplaceAll) {
    FFindWalk.FindForward(ReplaceAll);
}

void TVellEdit::PaintHit(TColor Color) {
    const TFindWalk& w = FFindWalk;
    if (w.HitLen() > 0)
        PaintRange(w.HitX(), w.HitY(), false, Color, Color ^ kInvertColor, w.HitLen());
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
    const TSelection kept = FSelection;
    const TColor font = FFont.Color, sel = FSelColor, marks = CREOFcolor;
    FSelection.Selected = true;
    FSelection.AllSelected = false;
    FSelection.Anchor = {X, Y};
    FSelection.End = {EndX, EndY};
    FSelColor = BackColor;
    FFont.Color = FontColor ^ kInvertColor;
    View().DrawSelectedText();
    FSelection = kept;
    FFont.Color = font, FSelColor = sel, CREOFcolor = marks;
}

}  // namespace tw
