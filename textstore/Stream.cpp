#include "textstore/Stream.h"

#include <algorithm>
#include <cstring>

namespace tw {

int32_t TStream::Size() {
    int32_t here = Seek(0, kFromCurrent);
    int32_t size = Seek(0, kFromEnd);
    Seek(here, kFromBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, int32_t count) {
    if (count != 0 && Read(buffer, count) != count) throw StreamReadError();
}

void TStream::WriteBuffer(const void* buffer, int32_t count) {
    if (count != 0 && Write(buffer, count) != count) throw StreamWriteError();
}

int32_t TBytesStream::Read(void* buffer, int32_t count) {
    if (pos_ < 0 || count <= 0) return 0;
    int64_t available = static_cast<int64_t>(bytes_.size()) - pos_;
    if (available <= 0) return 0;
    auto n = static_cast<int32_t>(std::min<int64_t>(count, available));
    std::memcpy(buffer, bytes_.data() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

int32_t TBytesStream::Write(const void* buffer, int32_t count) {
    if (pos_ < 0 || count <= 0) return 0;
    size_t end = static_cast<size_t>(pos_) + static_cast<size_t>(count);
    if (end > bytes_.size()) bytes_.resize(end);
    std::memcpy(bytes_.data() + pos_, buffer, static_cast<size_t>(count));
    pos_ += count;
    return count;
}

int32_t TStream::SeekTarget(int32_t position, int64_t size, int32_t offset, uint16_t origin) {
    switch (origin) {
        case kFromBeginning:
            return offset;
        case kFromCurrent:
            return static_cast<int32_t>(int64_t{position} + offset);
        case kFromEnd:
            return static_cast<int32_t>(size + offset);
        default:
            return position;
    }
}

int32_t TBytesStream::Seek(int32_t offset, uint16_t origin) {
    pos_ = SeekTarget(pos_, static_cast<int64_t>(bytes_.size()), offset, origin);
    return pos_;
}

}  // namespace tw
