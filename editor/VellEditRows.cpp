// The rows: changing them, reading logical lines, and converting positions
// between rows and logical lines.
#include <algorithm>

#include "editor/TabExpand.h"
#include "editor/VellEdit.h"
#include "textstore/ShiftJis.h"

namespace tw {

void TVellEdit::PutLine(int32_t Index, Entry S) {
    RowsChangedFrom(Index);
    const bool wasEnd = HasTerminator(FLines.View(Index));
    const bool isEnd = HasTerminator(S.view());
    FLines.Put(Index, std::move(S));
    FLineIndex.Replaced(Index, wasEnd, isEnd);
}

void TVellEdit::InsertLine(int32_t Index, Entry S) {
    FLines.Insert(Index, std::move(S));
    RowsChangedFrom(Index);
    FLineIndex.Inserted(FLines, Index, 1);
}

void TVellEdit::DeleteLines(int32_t Index, int32_t Count) {
    const int32_t total = FLines.Count();
    if (Index < 0 || Count < 0 || Index + Count > total) FLines.Error();
    if (Count == 0) return;
    RowsChangedFrom(Index);
    FLineIndex.Removing(FLines, Index, Count);
    if (Count <= 16) {
        // Highest first, so each removal moves the shortest tail.
        for (int32_t i = Index + Count - 1; i >= Index; --i)
            FLines.Delete(i);
        return;
    }
    // Many rows: move the tail up once instead of once per row.
    for (int32_t i = Index + Count; i < total; ++i)
        FLines.Put(i - Count, FLines.Get(i));
    FLines.SetCount(total - Count);
}

int32_t TVellEdit::InsertLines(int32_t Index, std::string_view Text) {
    int32_t last = Index;
    if (Text.empty()) return last;
    FLines.InsertText(last, Text);
    RowsChangedFrom(Index);
    FLineIndex.Inserted(FLines, Index, last - Index + 1);
    return last;
}

int32_t TVellEdit::SpliceRow(int32_t Y, std::string_view Before, std::string_view Text,
                             std::string_view After) {
    std::string n;
    n.reserve(Before.size() + Text.size() + After.size());
    n.append(Before).append(Text).append(After);
    const size_t firstLen = n.find("\r\n") + 2;
    // The new rows go in first: a store that has no room for them raises
    // before the row is touched, so no byte is lost.
    const int32_t last = InsertLines(Y + 1, std::string_view(n).substr(firstLen));
    PutLine(Y, Entry(std::string_view(n).substr(0, firstLen)));
    return last;
}

int32_t TVellEdit::MaxCaretX(int32_t Row) const {
    std::string_view row = FLines.View(Row);
    return static_cast<int32_t>(StripTerminator(row).size());
}

int TVellEdit::RowPrefixWidth(int32_t Row, int32_t Bytes) const {
    return FMetrics->CellsWidth(RowPrefixColumns(Row, Bytes));
}

namespace {
/// Rows shorter than this are counted from their start every time.
constexpr size_t kLongRow = 64 * 1024;
}  // namespace

int64_t TVellEdit::RowPrefixColumns(int32_t Row, int32_t Bytes) const {
    const std::string_view row = FLines.View(Row);
    Bytes = std::clamp<int32_t>(Bytes, 0, static_cast<int32_t>(row.size()));
    const std::string_view prefix = row.substr(0, static_cast<size_t>(Bytes));
    if (row.size() < kLongRow) return ExpandedLength(prefix, FTabCount);
    const PrefixMemo& m = FPrefixMemo;
    const bool onward = m.row.data() == row.data() && m.tabs == FTabCount && m.bytes <= Bytes;
    const int64_t column =
        onward ? ColumnAfter(prefix.substr(static_cast<size_t>(m.bytes)), FTabCount, m.column)
               : ExpandedLength(prefix, FTabCount);
    RememberPrefix(Row, Bytes, column);
    return column;
}

void TVellEdit::RememberPrefix(int32_t Row, int32_t Bytes, int64_t Column) const {
    const std::string_view row = FLines.View(Row);
    if (row.size() < kLongRow) return;
    if (row.data() != FPrefixMemo.row.data()) FPrefixMemo.row = FLines.Get(Row);
    FPrefixMemo.bytes = Bytes;
    FPrefixMemo.column = Column;
    FPrefixMemo.tabs = FTabCount;
}

CutRule TVellEdit::MakeCutRule() const {
    return CutRule{FColumn, FTabCount, AutoWrap, FViewport.TextWidth, FMetrics};
}

void TVellEdit::JoinLogicalLine(int32_t Y, int32_t& LastY, std::string& S) const {
    S.clear();
    const int32_t last = FLines.Count() - 1;
    int32_t i = Y;
    for (;; ++i) {
        std::string_view row = FLines.View(i);
        S.append(row);
        if (HasTerminator(row) || i >= last) break;
    }
    LastY = i;
}

void TVellEdit::LogicalToEntry(int32_t& X, int32_t& Y) {
    int32_t row = FLineIndex.FirstRowOf(FLines, Y);
    const int32_t last = FLines.Count() - 1;
    // An offset on the boundary of two pieces lands at the start of the later.
    int32_t rest = X;
    for (;;) {
        X = rest;
        rest -= static_cast<int32_t>(FLines.View(row).size());
        if (rest < 0) break;
        if (row == last) {
            X = std::min(X, MaxCaretX(row));
            break;
        }
        ++row;
    }
    Y = row;
}

void TVellEdit::EntryToLogical(int32_t& X, int32_t& Y) {
    // A row ends its line by its terminator; a wrapped piece may end in a
    // lone LF byte, so the last byte alone does not tell. The walk back stops
    // early at a row whose offset in its line is still known: every edit in
    // a long wrapped line asks this for a row near the last one.
    int32_t before = 0, r = Y - 1;
    for (; r >= 0 && !HasTerminator(FLines.View(r)); --r) {
        if (r + 1 == FLineOffset.row) {
            before += FLineOffset.bytes;
            break;
        }
        before += static_cast<int32_t>(FLines.View(r).size());
    }
    FLineOffset = {Y, before};
    X += before;
    Y = FLineIndex.LineOf(FLines, Y);
}

void TVellEdit::GetLogicalLineRange(int32_t& Y, int32_t& LastY) const {
    const int32_t last = FLines.Count() - 1;
    Y = std::clamp(Y, 0, last);
    if (FWordWrap)
        while (Y > 0 && !HasTerminator(FLines.View(Y - 1)))
            --Y;
    LastY = Y;
    while (LastY < last && !HasTerminator(FLines.View(LastY)))
        ++LastY;
}

void TVellEdit::GetLogicalLine(int32_t Y, std::string& S) const {
    int32_t first = Y, lastY = 0;
    GetLogicalLineRange(first, lastY);
    std::string line;
    if (FWordWrap)
        JoinLogicalLine(first, lastY, line);
    else
        line = FLines.View(first);
    if (line == kEndMarker) return;
    S = line.substr(0, line.size() >= 2 ? line.size() - 2 : 0);
}

}  // namespace tw
