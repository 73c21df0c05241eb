/** @file Logical line numbers of display rows, without counting from the top each time. */
#pragma once

#include <cstdint>
#include <vector>

#include "textstore/LineStore.h"

namespace tw {

/// Knows how many rows before a given row end a logical line. It keeps marks,
/// rows whose answer is known, about every kSpacing rows, plus the last
/// answer; it is told of every change to the store and keeps the marks right
/// (a change costs one step per mark behind it). A question walks from the
/// nearest mark, so it costs at most a few thousand rows anywhere in the text.
/// The marks are laid anew by the first question after a reset, or when edits
/// have left a gap much wider than the spacing.
class LineIndex {
  public:
    explicit LineIndex(int32_t spacing = 4096) : spacing_(spacing) {}

    /// After the store was filled anew; `lineEnds` rows end a logical line.
    void Reset(int32_t lineEnds) noexcept;
    /// For a store being filled from the top: Reset(0), then one Append per
    /// row in order, which lays the marks on the way.
    void Append(bool endsLine) {
        if (filled_ > 0 && filled_ % spacing_ == 0) marks_.push_back(Mark{filled_, total_});
        total_ += endsLine;
        ++filled_;
    }
    /// Row `i` was replaced; whether it ended a line before and after.
    void Replaced(int32_t i, bool wasEnd, bool isEnd) noexcept;
    /// Rows i .. i+n-1 have just been inserted.
    void Inserted(const TVellStrings& rows, int32_t i, int32_t n);
    /// Rows i .. i+n-1 are about to be removed.
    void Removing(const TVellStrings& rows, int32_t i, int32_t n);

    /// The number of rows before `row` (0 .. Count) that end a logical line.
    int32_t LineOf(const TVellStrings& rows, int32_t row);
    /// The first row of logical line `line` (clamped to the last line).
    int32_t FirstRowOf(const TVellStrings& rows, int32_t line);
    int32_t LineEnds() const noexcept { return total_; }

  private:
    struct Mark {
        int32_t row = 0;
        int32_t line = 0;  // rows before `row` that end a line
    };

    int32_t CountEnds(const TVellStrings& rows, int32_t from, int32_t to) const;
    void Rebuild(const TVellStrings& rows);
    /// The known point nearest to a row (key &Mark::row) or to a line
    /// (&Mark::line); far from every mark, the marks are built again first.
    Mark Nearest(const TVellStrings& rows, int32_t Mark::*key, int32_t target);
    Mark NearestBy(int32_t Mark::*key, int32_t target, Mark end) const;
    size_t FirstMarkAfter(int32_t row) const noexcept;

    int32_t spacing_;
    std::vector<Mark> marks_;  // sorted by row, rows >= 1
    Mark last_;
    int32_t total_ = 0;
    int32_t filled_ = 0;  // rows appended since the reset
};

}  // namespace tw
