// Word wrap: cutting the whole text into rows and back, and re-cutting the
// lines an edit touched.
#include <algorithm>
#include <string>
#include <vector>

#include "EntryArena.h"
#include "VellEdit.h"
#include "VellEditSub.h"

namespace tw {

namespace {

/// Rows are mostly short; an arena is worth it only for a big document.
size_t ArenaEstimate(const TVellStrings& rows) {
    return static_cast<size_t>(rows.Count()) * 40;
}

}  // namespace

void TVellEdit::SetWordWrap(bool Value) {
    if (Value != FWordWrap) ApplyWordWrap(Value, true);
}

void TVellEdit::SetColumn(int32_t Value) {
    if (Value == FColumn) return;
    FColumn = std::max<int32_t>(Value, 10);
    if (!FWordWrap) return;
    ApplyWordWrap(false, false);
    ApplyWordWrap(true, true);
}

void TVellEdit::WrapAllLines(std::vector<Entry>& List) const {
    WrapInto(List, nullptr);
}

/// Cuts every row of the unwrapped store into List; `Index`, when given, is
/// filled for the rows as they come.
void TVellEdit::WrapInto(std::vector<Entry>& List, LineIndex* Index) const {
    const CutRule rule = MakeCutRule();
    EntryArena arena(ArenaEstimate(FLines));
    List.reserve(List.size() + static_cast<size_t>(FLines.Count()) + 16);
    for (int32_t i = 0; i < FLines.Count(); ++i) {
        std::string_view line = FLines.View(i);
        // A line that needs no cut keeps its bytes: the row is shared.
        if (static_cast<size_t>(NextPieceLength(line, rule, CutTest::FullWrap)) >= line.size()) {
            List.push_back(FLines.Get(i));
            if (Index) Index->Append(true);
            continue;
        }
        CutLine(line, rule, CutTest::FullWrap, [&](std::string_view piece) {
            List.push_back(arena.Make({piece}));
            if (Index) Index->Append(piece.data() + piece.size() == line.data() + line.size());
        });
    }
}

void TVellEdit::UnwrapInto(std::vector<Entry>& List, LineIndex& Index) const {
    EntryArena arena(ArenaEstimate(FLines));
    List.reserve(static_cast<size_t>(FLines.Count()));
    const int32_t last = FLines.Count() - 1;
    std::string line;
    for (int32_t y = 0; y <= last; Index.Append(true)) {
        if (y == last || HasTerminator(FLines.View(y))) {
            List.push_back(FLines.Get(y++));
            continue;
        }
        int32_t lastY = y;
        JoinLogicalLine(y, lastY, line);
        List.push_back(arena.Make({line}));
        y = lastY + 1;
    }
}

void TVellEdit::AssignRows(const std::vector<Entry>& List, LineIndex& Index) {
    FLines.Assign(List);
    FLineIndex = std::move(Index);
}

void TVellEdit::ApplyWordWrap(bool Wrap, bool Redraw) {
    std::string tag = "_0";
    try {
        FHitLen = 0;
        std::vector<Entry> list;
        LineIndex index;
        index.Reset(0);
        if (Wrap) {
            WrapInto(list, &index);
            AssignRows(list, index);
            FWordWrap = true;
            tag = "_1";
            LogicalToEntry(FCaretX, FCaretY);
            LogicalToEntry(FSelAnchorX, FSelAnchorY);
        } else {
            tag = "_2";
            EntryToLogical(FCaretX, FCaretY);
            EntryToLogical(FSelAnchorX, FSelAnchorY);
            tag = "_3";
            UnwrapInto(list, index);
            FWordWrap = false;
            tag = "_4";
            AssignRows(list, index);
        }
        list = {};
        AfterLayoutRedraw(false);
        tag = "_5";
        if (!Redraw || MoveCaret(-1, -1, 0, false)) return;
        tag = "_6";
        View().HideCaret();
        View().UpdateVertScrollBar(true);
        View().DrawAll();
        UpdateCaret();
        View().ShowCaret();
    } catch (const std::exception&) {
        ShowError("Error:OC004" + tag);
    }
}

/// Re-cuts the logical line that starts at row W into rows, replacing the old
/// rows in place where it can. Returns the change in the line's row count;
/// W ends after the line. On the caret's pass the caret follows its byte
/// offset C through the new rows.
int32_t TVellEdit::RewrapLine(int32_t& W, const CutRule& Rule, bool CaretPass, int32_t& C,
                              int32_t& NewRow) {
    int32_t oldLast = W;
    std::string line;
    JoinLogicalLine(W, oldLast, line);
    const int32_t oldRows = oldLast - W + 1;
    std::vector<std::string_view> pieces;
    CutLine(line, Rule, CutTest::Rewrap, [&](std::string_view piece) { pieces.push_back(piece); });
    // A full store raises before the line is touched.
    if (FLines.Count() + static_cast<int64_t>(pieces.size()) - oldRows > TVellStrings::RowLimit())
        FLines.Error();
    int32_t made = 0;
    for (std::string_view piece : pieces) {
        if (made < oldRows) {
            if (FLines.View(W) != piece) PutLine(W, Entry(piece));
        } else {
            InsertLine(W, Entry(piece));
        }
        ++W;
        ++made;
        if (CaretPass && C >= 0) {
            FCaretX = C;
            C -= static_cast<int32_t>(piece.size());
            ++NewRow;
        }
    }
    if (made < oldRows) DeleteLines(W, oldRows - made);
    return made - oldRows;
}

void TVellEdit::RewrapRange(int PixelX, int32_t FromY, bool Redraw, bool Force, int32_t ToY) {
    const CutRule rule = MakeCutRule();
    const int32_t caretRow = FCaretY;
    int32_t c = FCaretX;
    int32_t newRow = FCaretY;
    int32_t w = FromY;
    int32_t lastChange = 0;
    for (int32_t pass = FromY; pass <= ToY; ++pass) {
        lastChange = RewrapLine(w, rule, pass == caretRow, c, newRow);
        if (pass < caretRow) newRow += lastChange;
    }
    --newRow;
    if (!Redraw) {
        // No selection survives an edit: the anchor goes with the caret.
        FCaretY = FSelAnchorY = FSelEndY = newRow;
        FSelAnchorX = FSelEndX = FCaretX;
        FCaretPixelX = RowPrefixWidth(FCaretY, FCaretX) - FScrollX;
        return;
    }
    if (!MoveCaret(FCaretX, newRow, 0, true))
        RewrapRepaint(PixelX, FromY, w - 1, Force || lastChange != 0 || ToY != FromY);
    FPrevCaretY = FCaretY;
    UpdateCaret();
}

void TVellEdit::RewrapRepaint(int PixelX, int32_t FromY, int32_t LastRow, bool Full) {
    if (View().UpdateVertScrollBar(true)) return View().DrawAll();
    if (Full) return View().DrawLines(3, FromY, 0);
    View().DrawLineText(FromY, PixelX);
    if (LastRow > FromY) return View().DrawLines(6, FromY + 1, LastRow);
    // The row may have grown past the widest one the sideways scroll knows.
    View().UpdateHorzScrollBar(true);
}

}  // namespace tw
