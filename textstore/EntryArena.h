/** @file Bulk allocation of entries for loading whole files. */
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string_view>

#include "textstore/Entry.h"

namespace tw {

namespace entry_detail {
constexpr uint32_t kArenaFlag = 0x80000000u;
void ReleaseArenaEntry(EntryRep* rep) noexcept;
}  // namespace entry_detail

/// Hands out entries packed into large, pre-faulted chunks. A chunk is freed
/// when the last entry in it is released and no arena still fills it, so rows
/// loaded in bulk cost one header each and no allocator call. Entries made
/// here behave exactly like any other entry.
class EntryArena {
  public:
    /// `expectedBytes` is how much the caller is about to load; small loads
    /// take ordinary allocations so that a small file never pins a chunk.
    explicit EntryArena(size_t expectedBytes) : pooled_(expectedBytes >= kChunkSize / 4) {}
    EntryArena(const EntryArena&) = delete;
    EntryArena& operator=(const EntryArena&) = delete;
    ~EntryArena();

    Entry Make(std::initializer_list<std::string_view> parts);
    /// The same for one part, the way rows are made when a file is loaded.
    Entry Make(std::string_view bytes);

    static constexpr size_t kChunkSize = size_t{2} << 20;

    /// What an entry of `payload` bytes takes of a chunk, header and padding
    /// included: the next entry made starts that far after it.
    static constexpr size_t Footprint(size_t payload) noexcept {
        return (sizeof(EntryRep) + payload + alignof(EntryRep) - 1) & ~(alignof(EntryRep) - 1);
    }
    /// True for an entry that lives in a chunk.
    static bool InChunk(const EntryRep* rep) noexcept {
        return (rep->refs & entry_detail::kArenaFlag) != 0;
    }

  private:
    EntryRep* Allocate(size_t payload);
    void ReleaseChunk();

    bool pooled_;
    char* chunk_ = nullptr;  // the chunk being filled, or null
    size_t used_ = 0;
};

}  // namespace tw
