// Painting the rows, their marks, the number column and the selection.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "editor/TabExpand.h"
#include "editor/VellView.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

constexpr std::string_view kFullWidthSpace = "\x81\x40";
constexpr std::string_view kEofText = "[EOF]";
constexpr TColor kInvert = 0xFFFFFF;

std::string_view Prefix(std::string_view s, int32_t n) {
    return s.substr(0,
                    static_cast<size_t>(std::clamp<int32_t>(n, 0, static_cast<int32_t>(s.size()))));
}

/// The first character of a row: two bytes after a lead byte.
std::string_view FirstChar(std::string_view t) {
    if (t.empty()) return t;
    return t.substr(0, IsLeadByte(static_cast<unsigned char>(t[0])) && t.size() > 1 ? 2 : 1);
}

/// True when `c` is one of the characters of `set`, compared whole: the
/// trail byte of a double-byte character is not the letter it looks like.
bool IsOneOf(std::string_view c, std::string_view set) {
    for (std::string_view rest = set; !rest.empty();) {
        const std::string_view each = FirstChar(rest);
        if (each == c) return true;
        rest.remove_prefix(each.size());
    }
    return false;
}

}  // namespace

int TVellView::RowY(int32_t row) const noexcept {
    return ed_.TopMargin() + (row - vp_.TopLine) * vp_.RowHeight;
}

int TVellView::ExpandedWidth(std::string_view rowPrefix) const {
    return tw::ExpandedWidth(metrics_, rowPrefix, ed_.TabCount());
}

int TVellView::RowWidth(int32_t r) {
    constexpr size_t kLongRow = 64 * 1024;
    const std::string_view row = ed_.Lines().View(r);
    if (row.size() < kLongRow) return ExpandedWidth(StripTerminator(row));
    if (row.data() != widthRow_.data() || widthTabs_ != ed_.TabCount()) {
        widthRow_ = ed_.Lines().Get(r);
        widthTabs_ = ed_.TabCount();
        widthCells_ = ExpandedLength(StripTerminator(row), widthTabs_);
    }
    return metrics_.CellsWidth(widthCells_);
}

TVellView::Piece TVellView::VisiblePiece(std::string_view row, size_t from, size_t to) const {
    const int cell = std::max(1, metrics_.Metrics().aveCharWidth);
    const int64_t first = vp_.ScrollX / cell;
    const int64_t last = (int64_t{vp_.ScrollX} + vp_.TextWidth) / cell + 2;
    const RowSlice slice = SliceColumns(row, ed_.TabCount(), first, last);
    const size_t a = std::max(from, slice.from), b = std::min(to, slice.to);
    if (a >= b) return {vp_.TextLeft - vp_.ScrollX, {}, slice.to >= to};
    const int64_t column =
        a == slice.from ? slice.column : ExpandedLength(row.substr(0, a), ed_.TabCount());
    return {vp_.TextLeft - vp_.ScrollX + metrics_.CellsWidth(column),
            ExpandTabs(row.substr(a, b - a), ed_.TabCount(), column), b == to};
}

/// Quoted rows take their colour from their own first character only, so the
/// further pieces of a wrapped quotation are drawn as ordinary text.
TColor TVellView::TextColorFor(std::string_view entry) const {
    if (!ed_.ColorPrintF) return ed_.Font().Color;
    const std::string t = ExpandTabs(FirstChar(entry), ed_.TabCount());
    const std::string_view first = FirstChar(t);
    if (first.empty() || !IsOneOf(first, ed_.Inyostr)) return ed_.Font().Color;
    return ed_.InyoColor;
}

void TVellView::DrawRowText(int x, int y, std::string_view row) {
    std::string_view t = row;
    std::string_view ending;
    if (HasTerminator(t)) {
        ending = t.substr(t.size() - 2);
        t.remove_suffix(2);
    }
    const int top = ed_.TopMargin() + y;
    const PixelRect r{vp_.TextLeft + x, top, vp_.TextLeft + vp_.TextWidth, top + vp_.RowHeight};
    const int origin = vp_.TextLeft - vp_.ScrollX;
    const Piece piece = VisiblePiece(t, 0, t.size());
    surface_.TextOut(piece.x, top, r, piece.text, TextColorFor(row), ed_.Color(), true);
    // A row that runs on past the text area has its end mark out of sight.
    if (piece.reachesEnd) DrawLineEndMark(origin + ExpandedWidth(t), top, ending);
    DrawFullWidthSpaces(r, piece.x, false, piece.text, top);
}

/// A stroke of a mark, without the pixels left of the text area: scrolled
/// sideways, a mark may stand over the number column.
void TVellView::MarkLine(int x1, int y1, int x2, int y2, TColor color) {
    const int left = vp_.TextLeft;
    if (std::min(x1, x2) >= left) return surface_.Line(x1, y1, x2, y2, color);
    const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    for (int i = 0; i < steps; ++i) {
        const int x = x1 + (x2 - x1) * i / steps;
        if (x >= left) surface_.Pixel(x, y1 + (y2 - y1) * i / steps, color);
    }
}

void TVellView::DrawArrow(int x, int y, TColor color) {
    const int top = y + crMarkTop_, bottom = y + crMarkBottom_;
    MarkLine(x + 4, top, x + 4, bottom, color);
    MarkLine(x + 4, bottom, x + 1, bottom - 3, color);
    MarkLine(x + 4, bottom, x + 7, bottom - 3, color);
}

void TVellView::DrawLineEndMark(int x, int y, std::string_view ending) {
    if (ending == kEndMarker && ed_.EofDraw()) {
        const PixelRect r{std::max(x, vp_.TextLeft), y, x + metrics_.TextWidth(kEofText),
                          y + vp_.CharHeight};
        surface_.TextOut(x, y, r, kEofText, ed_.CREOFcolor, ed_.Color(), true);
    } else if (ending == kCrLf && ed_.CRDraw()) {
        DrawArrow(x, y, ed_.CREOFcolor);
    }
}

/// A line of single dots whose rhythm runs on from stroke to stroke, so the
/// dots keep their spacing around the corners of a box.
void TVellView::DottedLine(int x1, int y1, int x2, int y2, TColor color) {
    const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    for (int i = 0; i < steps; ++i) {
        const int x = x1 + static_cast<int>(std::lround(double(x2 - x1) * i / steps));
        const int y = y1 + static_cast<int>(std::lround(double(y2 - y1) * i / steps));
        if (dotCounter_ == 0) dotX_ = x, dotY_ = y;
        if (dotCounter_ == 1 && dotX_ >= vp_.TextLeft) surface_.Pixel(dotX_, dotY_, color);
        if (++dotCounter_ >= 2) dotCounter_ = 0;
    }
}

void TVellView::DrawFullWidthSpaces(const PixelRect& clip, int x, bool selected,
                                    std::string_view text, int y) {
    if (!ed_.ZspcDraw()) return;
    const TColor pen = ed_.CREOFcolor ^ (selected ? kInvert : 0);
    for (size_t p; (p = text.find(kFullWidthSpace)) != std::string_view::npos;) {
        const int d = x + metrics_.TextWidth(text.substr(0, p + 2));
        if (d >= clip.left && clip.right >= d - zspcWidth_) {
            const int l = d - zspcWidth_ + 3, r = d - 3;
            const int t = y + 2, b = y + zspcHeight_ - 2;
            DottedLine(r, t, r, b, pen);
            DottedLine(r, b, l, b, pen);
            DottedLine(l, b, l, t, pen);
            DottedLine(l, t, r, t, pen);
        }
        text = text.substr(p + 2);
        x = d;
    }
}

void TVellView::DrawLineNumbers(int32_t fromRow, int32_t toRow) {
    const int top = std::max(ed_.TopMargin(), RowY(fromRow));
    const int bottom = std::min(vp_.Height, RowY(toRow) + vp_.CharHeight);
    surface_.FillRect({0, top, vp_.TextLeft, bottom}, ed_.Color());
    if (!ed_.ShowLineNumber()) return;
    const int sep = vp_.TextLeft - 4;
    surface_.Line(sep, ed_.TopMargin(), sep, bottom, ed_.CREOFcolor);
    // Only the rows on screen: a caller may name every row of the document.
    const int32_t first = std::max(fromRow, vp_.TopLine);
    const int32_t last = std::min({toRow, vp_.LastVisibleRow(), ed_.Lines().Count() - 1});
    for (int32_t r = first; r <= last; ++r) {
        const std::string s = std::to_string(r + 1);
        const int w = metrics_.TextWidth(s);
        const int x = vp_.TextLeft - w - 7, y = RowY(r);
        surface_.TextOut(x, y, {x, y, x + w, y + vp_.CharHeight}, s, ed_.CREOFcolor, ed_.Color(),
                         true);
    }
}

void TVellView::ClearBelowText(int32_t fromRow, int32_t toRow) {
    const int32_t n = std::min(vp_.PageLines, ed_.Lines().Count() - vp_.TopLine);
    const int top = ed_.TopMargin() + n * vp_.RowHeight - (vp_.RowHeight - vp_.CharHeight);
    surface_.FillRect({0, top, vp_.Width, vp_.Height}, ed_.Color());
    DrawLineNumbers(fromRow, toRow);
}

void TVellView::DrawLineRange(int32_t fromRow, int32_t toRow) {
    for (int32_t r = fromRow; r <= toRow; ++r)
        DrawRowText(0, RowY(r) - ed_.TopMargin(), ed_.Lines().View(r));
    DrawLinks(fromRow, toRow);
}

void TVellView::FireUserDraw() {
    surface_.FillRect({0, 0, vp_.Width, ed_.TopMargin()}, ed_.Color());
    if (!ed_.OnUserDraw) return;
    const int cw = std::max(1, vp_.CharWidth);
    const int c1 = std::max(1, static_cast<int>(std::nearbyint(double(vp_.ScrollX) / cw)));
    const int last = static_cast<int>(std::nearbyint(double(vp_.Width + vp_.ScrollX) / cw));
    const int c2 = std::min(last, ed_.WordWrap() ? ed_.Column() : maxColumn_);
    ed_.OnUserDraw(ed_, c1, vp_.Width, vp_.TextLeft, c2);
}

/// What every repaint ends with: the top margin (and its ruler) and the
/// horizontal scroll bar brought up to date.
void TVellView::FinishRepaint() {
    FireUserDraw();
    if (ed_.HorzScrollBar()) hbar_.SetPos((vp_.ScrollX + hScale_ - 1) / hScale_, true);
    UpdateHorzScrollBar(true);
    // The owner puts its own marks (a search hit) back over the new text.
    if (ed_.OnPaint) ed_.OnPaint(ed_);
}

void TVellView::DrawAll() {
    const int32_t count = ed_.Lines().Count();
    if (sel_.Selected || sel_.AllSelected) {
        DrawSelection();
        ClearBelowText(0, count - 1);
    } else {
        const int32_t from = std::max(0, vp_.TopLine);
        const int32_t to = std::min(count - 1, vp_.LastVisibleRow());
        DrawLineRange(from, to);
        ClearBelowText(from, to);
        DrawCaretUnderline(true);
    }
    FinishRepaint();
}

void TVellView::DrawLines(DrawSpan span, int32_t a, int32_t b) {
    // Never a row above the view: it would paint over the top strip.
    const int32_t top = std::max(0, vp_.TopLine);
    const int32_t from = span == DrawSpan::Visible ? top : std::max(a, top);
    const int32_t last = std::min(vp_.LastVisibleRow(), ed_.Lines().Count() - 1);
    const int32_t to = span == DrawSpan::Rows ? std::min(b, last) : last;
    if (from <= to) {
        DrawLineRange(from, to);
        ClearBelowText(from, to);
    }
    DrawCaretUnderline(true);
    FinishRepaint();
}

void TVellView::DrawLineText(int32_t row, int fromPixelX) {
    if (row < vp_.TopLine || row >= vp_.TopLine + vp_.PageLines) return;
    if (row >= ed_.Lines().Count()) return;
    DrawRowText(std::max(0, fromPixelX), RowY(row) - ed_.TopMargin(), ed_.Lines().View(row));
    DrawLinks(row, row);
    if (row == sel_.Caret.Y) DrawCaretUnderline(true);
}

void TVellView::DrawLineSpan(int32_t row, int32_t fromCol, std::string_view text, bool selected,
                             int32_t toCol) {
    toCol = std::min<int32_t>(toCol, static_cast<int32_t>(text.size()));
    if (fromCol >= toCol) return;
    // Widths are measured, not built: a row can be megabytes long.
    std::string_view span =
        text.substr(static_cast<size_t>(fromCol), static_cast<size_t>(toCol - fromCol));
    const int left = vp_.TextLeft, right = vp_.TextLeft + vp_.TextWidth;
    const int origin = left - vp_.ScrollX;
    const int x0 = origin + ExpandedWidth(Prefix(text, fromCol));
    const auto endX = [&] {
        return origin + ExpandedWidth(text.substr(0, static_cast<size_t>(fromCol) + span.size()));
    };
    const int y = RowY(row), yb = y + vp_.RowHeight;
    const bool sel = selected || sel_.AllSelected;
    bool ended = false;
    if (span.ends_with(kEndMarker)) {
        span.remove_suffix(2);
        ended = true;
        const int xe = endX();
        const PixelRect rest{std::max(left, xe), y, right, yb};
        if (ed_.EofDraw())
            surface_.TextOut(xe, y, rest, kEofText, ed_.CREOFcolor, ed_.Color(), true);
        else
            surface_.FillRect(rest, ed_.Color());
    } else if (span.ends_with(kCrLf)) {
        span.remove_suffix(2);
        ended = true;
        const int xe = endX();
        const PixelRect box{std::max(left, xe), y, std::max(left, xe + 8), yb};
        surface_.FillRect(box, sel ? ed_.SelColor() : ed_.Color());
        if (ed_.CRDraw()) DrawArrow(xe, y, ed_.CREOFcolor ^ (sel ? kInvert : 0));
        surface_.FillRect({box.right, y, right, yb}, ed_.Color());
    }
    const int xs = endX();
    const PixelRect s{std::max(left, x0), y, std::max(left, xs), yb};
    const size_t from = static_cast<size_t>(fromCol);
    const Piece piece = VisiblePiece(text, from, from + span.size());
    if (sel) {
        surface_.TextOut(piece.x, y, s, piece.text, ed_.Font().Color ^ kInvert, ed_.SelColor(),
                         true);
        DrawFullWidthSpaces(s, piece.x, true, piece.text, y);
    } else {
        surface_.TextOut(piece.x, y, s, piece.text, TextColorFor(text), ed_.Color(), true);
        DrawFullWidthSpaces(s, piece.x, false, piece.text, y);
        DrawLinksClipped(row, row, s);
    }
    if (!ended && toCol == static_cast<int32_t>(text.size()))
        surface_.FillRect({s.right, y, right, yb}, ed_.Color());
}

/// One row as the current selection shows it.
void TVellView::DrawSelectedRow(int32_t row) {
    const std::string_view e = ed_.Lines().View(row);
    const auto len = static_cast<int32_t>(e.size());
    if (sel_.AllSelected || !sel_.Selected) return DrawLineSpan(row, 0, e, sel_.AllSelected, len);
    const auto [a, b] = sel_.Ordered();
    const int32_t ax = a.X, ay = a.Y, bx = b.X, by = b.Y;
    if (row == ay && row == by) {
        DrawLineSpan(row, 0, e, false, ax);
        DrawLineSpan(row, ax, e, true, bx);
        DrawLineSpan(row, bx, e, false, len);
    } else if (row == ay) {
        DrawLineSpan(row, 0, e, false, ax);
        DrawLineSpan(row, ax, e, true, len);
    } else if (row == by) {
        DrawLineSpan(row, 0, e, true, bx);
        DrawLineSpan(row, bx, e, false, len);
    } else {
        DrawLineSpan(row, 0, e, row > ay && row < by, len);
    }
}

void TVellView::DrawSelection() {
    const int32_t from = std::max(0, vp_.TopLine);
    const int32_t to = std::min(vp_.TopLine + vp_.PageLines, ed_.Lines().Count()) - 1;
    for (int32_t r = from; r <= to; ++r)
        DrawSelectedRow(r);
}

void TVellView::DrawSelectedText() {
    const auto [a, b] = sel_.Ordered();
    const int32_t ax = a.X, ay = a.Y, bx = b.X, by = b.Y;
    const int32_t from = std::max({ay, vp_.TopLine, 0});
    const int32_t to = std::min({by, vp_.LastVisibleRow(), ed_.Lines().Count() - 1});
    for (int32_t r = from; r <= to; ++r) {
        const std::string_view e = ed_.Lines().View(r);
        DrawLineSpan(r, r == ay ? ax : 0, e, true, r == by ? bx : static_cast<int32_t>(e.size()));
    }
}

/// Repaints the rows between the end as last painted and the new end; every
/// other row already shows what DrawSelection would show.
void TVellView::ExtendSelection(int32_t x, int32_t y) {
    const int32_t oldRow = sel_.PrevCaret.Y;
    sel_.End = sel_.PrevCaret = {x, y};
    const int32_t from = std::max({std::min(oldRow, y), vp_.TopLine, 0});
    const int32_t to =
        std::min({std::max(oldRow, y), vp_.LastVisibleRow(), ed_.Lines().Count() - 1});
    for (int32_t r = from; r <= to; ++r)
        DrawSelectedRow(r);
}

void TVellView::DrawCaretUnderline(bool draw) {
    if (!ed_.UlineF || sel_.Selected || mouseSelecting_) return;
    const int32_t row = sel_.Caret.Y;
    if (row < vp_.TopLine || row >= vp_.TopLine + vp_.PageLines) return;
    const int y = RowY(row) + vp_.CharHeight;
    if (draw) return surface_.Line(ed_.LeftMargin(), y, vp_.Width, y, ed_.UlineColor);
    if (y <= ed_.TopMargin()) return;
    surface_.Line(ed_.LeftMargin(), y, vp_.Width, y, ed_.Color());
    if (ed_.ShowLineNumber()) surface_.Pixel(vp_.TextLeft - 4, y, ed_.CREOFcolor);
}

void TVellView::MoveCaretUnderline(int32_t oldRow, int32_t newRow) {
    if (!ed_.UlineF || sel_.Selected || mouseSelecting_) return;
    const int32_t last = vp_.TopLine + vp_.PageLines;
    if (oldRow >= vp_.TopLine && oldRow < last) {
        const int y = RowY(oldRow) + vp_.CharHeight;
        surface_.Line(ed_.LeftMargin(), y, vp_.TextLeft + vp_.TextWidth, y, ed_.Color());
        if (ed_.ShowLineNumber()) surface_.Pixel(vp_.TextLeft - 4, y, ed_.CREOFcolor);
    }
    if (newRow >= vp_.TopLine && newRow < last) {
        const int y = RowY(newRow) + vp_.CharHeight;
        surface_.Line(ed_.LeftMargin(), y, vp_.Width, y, ed_.UlineColor);
    }
}

}  // namespace tw
