/** @file The line store: one reference-counted byte string per display row. */
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "textstore/Entry.h"
#include "textstore/Stream.h"

namespace tw {

/// Raised for an index outside the store's range. The store is unchanged.
class ListIndexError : public std::out_of_range {
  public:
    ListIndexError();
};

/// The array of rows behind one editor control. Slots hold bare entry
/// references, so inserting and deleting rows moves pointers only. The free
/// slots form a gap that follows the last insertion or deletion: edits near
/// each other (typing, a replace run going down) move only the slots between
/// them, never the whole tail of a big file.
class TVellStrings {
  public:
    static constexpr int32_t kMaxCapacity = 0x7FFFFFF;

    /// The most entries a store holds: kMaxCapacity, unless lowered (by
    /// tests, which cannot fill 134 million rows). Adding past it raises
    /// the index error before anything changes.
    static int32_t RowLimit() noexcept;
    static void SetRowLimit(int32_t limit) noexcept;

    TVellStrings() = default;
    TVellStrings(const TVellStrings&) = delete;
    TVellStrings& operator=(const TVellStrings&) = delete;
    virtual ~TVellStrings();

    int32_t Count() const noexcept { return count_; }
    int32_t Capacity() const noexcept { return capacity_; }

    /// Entry `index`, shared rather than copied.
    Entry Get(int32_t index) const;
    /// The bytes of entry `index` without touching its reference count; valid
    /// until the entry is replaced or deleted. For hot loops over the rows.
    std::string_view View(int32_t index) const;

    /// Rows whose bytes follow one another in memory with only entry
    /// headers between them, the way a bulk load lays them out, so that a
    /// scan can read them as one block. `text` runs from the first byte of
    /// row `from` to the last byte of the last non-empty row up to `last`.
    struct PackedRows {
        std::string_view text;
        int32_t last;
    };
    /// The packed rows from the non-empty row `from` on, no further than row
    /// `last` and about `maxBytes` long; row `from` alone when it is not
    /// packed. The block ends with the first row whose last byte is `endA`
    /// or `endB`: what follows such a byte in the block is a header, not
    /// the next row, so a scan for a pair of bytes must look at that row
    /// apart.
    PackedRows PackedFrom(int32_t from, int32_t last, size_t maxBytes, unsigned char endA,
                          unsigned char endB) const;

    int32_t Add(Entry s);
    void Insert(int32_t index, Entry s);
    void Delete(int32_t index);
    void Clear();
    /// Inserts `text` split into entries; `index` ends on the last one inserted.
    void InsertText(int32_t& index, std::string_view text);
    void AddStrings(std::span<const Entry> list);
    void Assign(std::span<const Entry> list);
    /// Exchanges the rows of two stores, for loaders that fill a store aside
    /// and keep the old rows when they fail.
    void Swap(TVellStrings& other) noexcept;

    // The overridable operations.
    virtual std::string GetText() const;
    virtual void SetText(std::string_view text);
    virtual void SetCount(int32_t n);
    virtual void SetCapacity(int32_t n);
    /// The rows as one line: comma-separated, rows with a space or comma in double quotes.
    virtual void SetCommaText(std::string_view text);
    virtual std::string GetCommaText() const;
    [[noreturn]] virtual void Error() const;
    virtual void Put(int32_t index, Entry s);
    /// The store's own reading of a file by its break style (DetectLineBreak).
    /// Documents are not opened through it: they take the rules of
    /// DocumentText (LoadTextFile.h) and the editor's SetAllText.
    virtual void LoadFromFile(const std::string& fileName);
    virtual void SaveToFile(const std::string& fileName) const;
    virtual void SaveToStream(TStream& stream) const;
    virtual void LoadFromStream(TStream& stream);
    virtual int32_t IndexOf(std::string_view s) const;

    /// Bulk loaders reserve this many slots per byte of text ahead.
    static constexpr int32_t kBytesPerLineEstimate = 28;

  protected:
    /// Appends without the one-by-one growth rule; the caller reserved ahead.
    void Append(Entry s);
    /// Capacity to Count plus `extra`, used before bulk filling.
    void Reserve(int64_t extra);
    void TrimCapacity();
    void AppendSplit(std::string_view text);
    /// The total byte size of all entries.
    size_t TotalSize() const noexcept;

  private:
    void CheckIndex(int32_t index) const {
        if (index < 0 || index >= count_) Error();
    }
    int32_t GapSize() const noexcept { return capacity_ - count_; }
    /// Where row `index` lives in the slot array: rows from the gap on sit
    /// behind it.
    size_t Physical(int32_t index) const noexcept {
        return static_cast<size_t>(index < gap_ ? index : index + GapSize());
    }
    /// Moves the gap so that it starts at row `index`.
    void MoveGap(int32_t index) noexcept;
    /// Calls `f` with every row's rep in order.
    template <class F>
    void ForEachRep(F f) const {
        for (int32_t i = 0; i < gap_; ++i)
            f(slots_[i]);
        for (size_t i = Physical(gap_), end = static_cast<size_t>(capacity_); i < end; ++i)
            f(slots_[i]);
    }
    static int32_t GrowthStep(int32_t count) noexcept;
    /// Raises the index error when `extra` more entries would pass the limit.
    void CheckRoom(int64_t extra) const {
        if (int64_t{count_} + extra > RowLimit()) Error();
    }
    void Grow();
    void Reallocate(int32_t capacity);

    EntryRep** slots_ = nullptr;
    int32_t count_ = 0;
    int32_t capacity_ = 0;
    int32_t gap_ = 0;  // the first free slot; rows gap_.. sit after the free ones
};

/// Line-break style of a file: 0 CR LF, 1 CR, 2 LF, 4 empty file.
enum LineBreak : int { kBreakCrLf = 0, kBreakCr = 1, kBreakLf = 2, kBreakEmptyFile = 4 };

/// Looks at the first 1,024 bytes of the file to tell its line-break style.
int DetectLineBreak(const std::string& fileName);

/// Raised when a file cannot be opened, read or written.
class FileIoError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace tw
