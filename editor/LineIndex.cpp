#include "editor/LineIndex.h"

#include <algorithm>
#include <cstdlib>

#include "textstore/ShiftJis.h"

namespace tw {

namespace {

bool EndsLine(const TVellStrings& rows, int32_t i) {
    return HasTerminator(rows.View(i));
}

}  // namespace

void LineIndex::Reset(int32_t lineEnds) noexcept {
    marks_.clear();
    last_ = Mark{};
    total_ = lineEnds;
    filled_ = 0;
}

size_t LineIndex::FirstMarkAfter(int32_t row) const noexcept {
    return static_cast<size_t>(
        std::upper_bound(marks_.begin(), marks_.end(), row,
                         [](int32_t r, const Mark& m) { return r < m.row; }) -
        marks_.begin());
}

void LineIndex::Replaced(int32_t i, bool wasEnd, bool isEnd) noexcept {
    const int delta = static_cast<int>(isEnd) - static_cast<int>(wasEnd);
    if (delta == 0) return;
    total_ += delta;
    for (size_t k = FirstMarkAfter(i); k < marks_.size(); ++k)
        marks_[k].line += delta;
    if (i < last_.row) last_.line += delta;
}

int32_t LineIndex::CountEnds(const TVellStrings& rows, int32_t from, int32_t to) const {
    int32_t n = 0;
    for (int32_t i = from; i < to; ++i)
        n += EndsLine(rows, i);
    return n;
}

void LineIndex::Inserted(const TVellStrings& rows, int32_t i, int32_t n) {
    const int32_t ends = CountEnds(rows, i, i + n);
    total_ += ends;
    // A mark on row i meant the row now at i + n.
    for (size_t k = FirstMarkAfter(i - 1); k < marks_.size(); ++k)
        marks_[k].row += n, marks_[k].line += ends;
    if (i <= last_.row) last_.row += n, last_.line += ends;
}

void LineIndex::Removing(const TVellStrings& rows, int32_t i, int32_t n) {
    const int32_t ends = CountEnds(rows, i, i + n);
    total_ -= ends;
    // Marks inside the removed rows go; marks behind them move up.
    size_t k = FirstMarkAfter(i), out = k;
    for (; k < marks_.size(); ++k) {
        if (marks_[k].row < i + n) continue;
        marks_[out++] = Mark{marks_[k].row - n, marks_[k].line - ends};
    }
    marks_.resize(out);
    if (i + n <= last_.row)
        last_.row -= n, last_.line -= ends;
    else if (i < last_.row)
        last_ = Mark{i, last_.line - CountEnds(rows, i, last_.row)};
}

void LineIndex::Rebuild(const TVellStrings& rows) {
    marks_.clear();
    int32_t line = 0;
    for (int32_t r = 0; r < rows.Count(); ++r) {
        if (r > 0 && r % spacing_ == 0) marks_.push_back(Mark{r, line});
        line += EndsLine(rows, r);
    }
    total_ = line;
}

LineIndex::Mark LineIndex::NearestBy(int32_t Mark::*key, int32_t target, Mark end) const {
    Mark best{0, 0};
    auto consider = [&](Mark m) {
        if (std::abs(m.*key - target) < std::abs(best.*key - target)) best = m;
    };
    consider(last_);
    consider(end);
    // Marks are sorted by row and, rows ending lines in order, by line too.
    auto it = std::upper_bound(marks_.begin(), marks_.end(), target,
                               [key](int32_t t, const Mark& m) { return t < m.*key; });
    if (it != marks_.begin()) consider(*(it - 1));
    if (it != marks_.end()) consider(*it);
    return best;
}

LineIndex::Mark LineIndex::Nearest(const TVellStrings& rows, int32_t Mark::*key, int32_t target) {
    Mark m = NearestBy(key, target, Mark{rows.Count(), total_});
    // Lines are at least as many rows apart as their numbers, so one bound
    // serves both keys.
    if (std::abs(m.*key - target) <= 2 * spacing_) return m;
    Rebuild(rows);
    return NearestBy(key, target, Mark{rows.Count(), total_});
}

int32_t LineIndex::LineOf(const TVellStrings& rows, int32_t row) {
    row = std::clamp(row, 0, rows.Count());
    Mark m = Nearest(rows, &Mark::row, row);
    for (; m.row < row; ++m.row)
        m.line += EndsLine(rows, m.row);
    while (m.row > row)
        m.line -= EndsLine(rows, --m.row);
    last_ = m;
    return m.line;
}

int32_t LineIndex::FirstRowOf(const TVellStrings& rows, int32_t line) {
    line = std::clamp(line, 0, std::max(total_ - 1, 0));
    Mark m = Nearest(rows, &Mark::line, line);
    while (m.line < line && m.row < rows.Count())
        m.line += EndsLine(rows, m.row++);
    while (m.line > line)
        m.line -= EndsLine(rows, --m.row);
    // Now `line` rows end before m.row, so the row lies in the line: go to its start.
    while (m.row > 0 && !EndsLine(rows, m.row - 1))
        --m.row;
    last_ = m;
    return m.row;
}

}  // namespace tw
