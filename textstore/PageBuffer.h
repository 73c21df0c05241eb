/** @file A large byte buffer straight from the system, released front first. */
#pragma once

#include <cstddef>

namespace tw {

/// Asks for huge pages behind a fresh anonymous mapping and has it touched in
/// advance, where the system offers either.
void PrefaultHugePages(void* memory, size_t size) noexcept;

/// Memory for a whole file read at once. Taken in huge pages and touched in
/// advance: the first touch of ordinary fresh pages costs more than reading
/// the file itself. A reader that walks the buffer once gives the part it is
/// done with back early, so a big file is not held twice while it becomes
/// rows.
class PageBuffer {
  public:
    PageBuffer() = default;
    /// Throws std::bad_alloc when the system has no room.
    explicit PageBuffer(size_t size);
    PageBuffer(PageBuffer&& other) noexcept;
    PageBuffer& operator=(PageBuffer&& other) noexcept;
    PageBuffer(const PageBuffer&) = delete;
    PageBuffer& operator=(const PageBuffer&) = delete;
    ~PageBuffer();

    char* Data() noexcept { return data_; }
    const char* Data() const noexcept { return data_; }
    size_t Size() const noexcept { return size_; }
    /// The bytes before `offset` will not be read again. Whole pages of them
    /// go back to the system; reading them afterwards gives zeros.
    void Release(size_t offset) noexcept;

  private:
    char* data_ = nullptr;
    size_t size_ = 0;
    size_t mapped_ = 0;
    size_t released_ = 0;
};

}  // namespace tw
