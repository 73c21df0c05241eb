/** @file Turning loaded text into the rows of a store, a run of lines at a time. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/LineCutter.h"
#include "textstore/Entry.h"
#include "textstore/EntryArena.h"

namespace tw {

/// Rows made from a run of text, in order, and whether each ends its line.
struct RowBatch {
    std::vector<Entry> rows;
    std::vector<uint8_t> endsLine;

    void Add(Entry row, bool ends) {
        rows.push_back(std::move(row));
        endsLine.push_back(ends);
    }
    void Clear() noexcept {
        rows.clear();
        endsLine.clear();
    }
};

/// Makes the rows of a whole text as it is loaded: a line ends at CR, which
/// is followed by LF in the rows even where the text has a lone CR; NUL bytes
/// are dropped; with word wrap on, lines are cut as a full wrap cuts them.
/// Most lines need neither mending nor cutting, and those are found by one
/// scan and copied once, into the maker's own arena. Each maker is used by
/// one thread at a time; two makers may work on two runs at once.
class RowMaker {
  public:
    RowMaker(const CutRule& rule, bool wordWrap, size_t expectedBytes)
        : rule_(rule), wordWrap_(wordWrap), arena_(expectedBytes) {}

    /// The rows of the lines that end within `text`; returns how many bytes
    /// they took. What is left is a line without its break.
    size_t Cut(std::string_view text, RowBatch& out);
    /// The rows of `line`, which holds no CR, once NULs are dropped and
    /// `terminator` is added.
    void CutLast(std::string_view line, std::string_view terminator, RowBatch& out);

  private:
    /// `line` ends with CR LF; `fits` when it is known to fit the column
    /// whole, TABs expanded.
    void Emit(std::string_view line, bool fits, RowBatch& out);

    CutRule rule_;
    bool wordWrap_;
    EntryArena arena_;
};

}  // namespace tw
