// Word wrap: cutting the whole text into rows and back, and re-cutting the
// lines an edit touched.
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "editor/VellEdit.h"
#include "textstore/EntryArena.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

/// RewrapLine drops the bytes it has cut once this many have gathered.
constexpr size_t kCompactAt = 16 * 1024;

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

/// Cuts every row of the unwrapped store into List, filling `Index` for the
/// rows as they come.
void TVellEdit::WrapInto(std::vector<Entry>& List, LineIndex& Index) const {
    const CutRule rule = MakeCutRule();
    EntryArena arena(ArenaEstimate(FLines));
    List.reserve(List.size() + static_cast<size_t>(FLines.Count()) + 16);
    for (int32_t i = 0; i < FLines.Count(); ++i) {
        std::string_view line = FLines.View(i);
        // A line that needs no cut keeps its bytes: the row is shared.
        if (static_cast<size_t>(NextPieceLength(line, rule, CutTest::FullWrap)) >= line.size()) {
            List.push_back(FLines.Get(i));
            Index.Append(true);
            continue;
        }
        CutLine(line, rule, CutTest::FullWrap, [&](std::string_view piece) {
            List.push_back(arena.Make({piece}));
            Index.Append(piece.data() + piece.size() == line.data() + line.size());
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
    RowsChangedFrom(0);
}

void TVellEdit::ApplyWordWrap(bool Wrap, bool Redraw) {
    std::string tag = "_0";
    try {
        FFindWalk.DropHit();
        std::vector<Entry> list;
        LineIndex index;
        index.Reset(0);
        if (Wrap) {
            WrapInto(list, index);
            AssignRows(list, index);
            FWordWrap = true;
            tag = "_1";
            LogicalToEntry(FSelection.Caret.X, FSelection.Caret.Y);
            LogicalToEntry(FSelection.Anchor.X, FSelection.Anchor.Y);
        } else {
            tag = "_2";
            EntryToLogical(FSelection.Caret.X, FSelection.Caret.Y);
            EntryToLogical(FSelection.Anchor.X, FSelection.Anchor.Y);
            tag = "_3";
            UnwrapInto(list, index);
            FWordWrap = false;
            tag = "_4";
            AssignRows(list, index);
        }
        list = {};
        AfterLayoutRedraw(false);
        tag = "_5";
        if (!Redraw || MoveCaret(-1, -1, ScrollMode::IfNeeded, false)) return;
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

/// Re-cuts the logical line that starts at row W after an edit of row W,
/// replacing the old rows in place where it can. Returns the change in the
/// row count; W ends after the last row written, or after the line with
/// ToLineEnd. On the caret's pass the caret follows its byte offset C.
///
/// The rows after W are as an earlier cut left them, and a cut depends only
/// on the bytes from its own start. So once a new row ends where an old row
/// ended, the old rows from there on are the rows the cut would make: the
/// re-cut stops, and typing in a long line costs a few rows, not the line.
int32_t TVellEdit::RewrapLine(int32_t& W, const CutRule& Rule, bool CaretPass, int32_t& C,
                              int32_t& NewRow, bool ToLineEnd) {
    // Enough bytes ahead to cut one row the way the whole rest would be cut.
    const size_t ahead = static_cast<size_t>(std::max<int32_t>(Rule.column, 1)) + 3;
    std::string rest;  // bytes read from the old rows; those before `pos` are cut
    size_t pos = 0;
    std::deque<size_t> ends;  // where the old rows read end in `rest`, for those not yet cut
    int32_t next = W;         // the next old row to read
    bool ended = false;
    int32_t change = 0;
    for (;;) {
        if (pos >= kCompactAt) {
            // Only what is not cut yet is kept: a re-cut that runs through a
            // long line holds a few rows, not the line.
            rest.erase(0, pos);
            for (size_t& e : ends)
                e -= pos;
            pos = 0;
        }
        while (!ended && rest.size() - pos < ahead) {
            const std::string_view row = FLines.View(next++);
            rest.append(row);
            ends.push_back(rest.size());
            ended = HasTerminator(row) || next == FLines.Count();
        }
        const std::string_view left = std::string_view(rest).substr(pos);
        const auto n = static_cast<size_t>(NextPieceLength(left, Rule, CutTest::Rewrap));
        if (W < next) {
            if (FLines.View(W) != left.substr(0, n)) PutLine(W, Entry(left.substr(0, n)));
        } else {
            KeepRestIfFull(W, std::string(left));
            InsertLine(W, Entry(left.substr(0, n)));
            ++next;
            ++change;
        }
        ++W;
        if (CaretPass && C >= 0) {
            FSelection.Caret.X = C;
            C -= static_cast<int32_t>(n);
            ++NewRow;
        }
        pos += n;
        while (!ends.empty() && ends.front() < pos)
            ends.pop_front();
        if (ended && pos == rest.size()) break;
        // A new row ends where an old one did, and the old rows still to
        // cut are whole and in place: they are what the cut would make.
        const auto whole = static_cast<int32_t>(ends.size()) - 1;
        if (!ends.empty() && ends.front() == pos && W <= next - whole) {
            next -= whole;
            ended = false;
            break;
        }
    }
    if (W < next) {
        DeleteLines(W, next - W);
        change -= next - W;
    }
    // Stopped where the old rows go on: the caret may lie in one of them.
    for (int32_t r = W; CaretPass && !ended && C >= 0 && r < FLines.Count(); ++r) {
        FSelection.Caret.X = C;
        C -= static_cast<int32_t>(FLines.View(r).size());
        ++NewRow;
    }
    if (ToLineEnd && !ended)
        while (W < FLines.Count() && !HasTerminator(FLines.View(W - 1)))
            ++W;
    return change;
}

/// A full store cannot take the next row: the bytes not yet placed go back
/// into the row before, wider than the column but none of them lost, and
/// the index error is raised.
void TVellEdit::KeepRestIfFull(int32_t W, const std::string& Rest) {
    if (FLines.Count() < TVellStrings::RowLimit()) return;
    PutLine(W - 1, Entry::Join({FLines.View(W - 1), Rest}));
    FLines.Error();
}

void TVellEdit::RewrapRange(int PixelX, int32_t FromY, bool Redraw, bool Force, int32_t ToY) {
    const CutRule rule = MakeCutRule();
    const int32_t caretRow = FSelection.Caret.Y;
    int32_t c = FSelection.Caret.X;
    int32_t newRow = FSelection.Caret.Y;
    int32_t w = FromY;
    int32_t lastChange = 0;
    for (int32_t pass = FromY; pass <= ToY; ++pass) {
        lastChange = RewrapLine(w, rule, pass == caretRow, c, newRow, pass < ToY);
        if (pass < caretRow) newRow += lastChange;
    }
    --newRow;
    if (!Redraw) {
        // No selection survives an edit: the anchor goes with the caret.
        FSelection.Caret.Y = FSelection.Anchor.Y = FSelection.End.Y = newRow;
        FSelection.Anchor.X = FSelection.End.X = FSelection.Caret.X;
        FSelection.PixelX =
            RowPrefixWidth(FSelection.Caret.Y, FSelection.Caret.X) - FViewport.ScrollX;
        return;
    }
    if (!MoveCaret(FSelection.Caret.X, newRow, ScrollMode::IfNeeded, true))
        RewrapRepaint(PixelX, FromY, w - 1, Force || lastChange != 0 || ToY != FromY);
    FSelection.PrevCaret.Y = FSelection.Caret.Y;
    UpdateCaret();
}

void TVellEdit::RewrapRepaint(int PixelX, int32_t FromY, int32_t LastRow, bool Full) {
    if (View().UpdateVertScrollBar(true)) return View().DrawAll();
    if (Full) return View().DrawLines(DrawSpan::From, FromY, 0);
    View().DrawLineText(FromY, PixelX);
    if (LastRow > FromY) return View().DrawLines(DrawSpan::Rows, FromY + 1, LastRow);
    // The row may have grown past the widest one the sideways scroll knows.
    View().UpdateHorzScrollBar(true);
}

}  // namespace tw
