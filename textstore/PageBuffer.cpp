#include "textstore/PageBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <new>
#include <utility>

namespace tw {

namespace {
constexpr size_t kHugePage = size_t{2} << 20;
}

void PrefaultHugePages(void* memory, size_t size) noexcept {
#ifdef MADV_HUGEPAGE
    madvise(memory, size, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    madvise(memory, size, MADV_POPULATE_WRITE);
#endif
}

PageBuffer::PageBuffer(size_t size) : size_(size) {
    if (size == 0) return;
    mapped_ = (size + kHugePage - 1) & ~(kHugePage - 1);
    void* p = mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    data_ = static_cast<char*>(p);
    PrefaultHugePages(data_, mapped_);
}

PageBuffer::PageBuffer(PageBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, 0)),
      released_(std::exchange(other.released_, 0)) {}

PageBuffer& PageBuffer::operator=(PageBuffer&& other) noexcept {
    if (this != &other) {
        this->~PageBuffer();
        new (this) PageBuffer(std::move(other));
    }
    return *this;
}

PageBuffer::~PageBuffer() {
    if (data_) munmap(data_, mapped_);
}

void PageBuffer::Release(size_t offset) noexcept {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t upTo = offset < size_ ? offset / page * page : mapped_;
    if (!data_ || upTo <= released_) return;
    madvise(data_ + released_, upTo - released_, MADV_DONTNEED);
    released_ = upTo;
}

}  // namespace tw
