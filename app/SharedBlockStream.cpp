#include "app/SharedBlockStream.h"

#include <algorithm>
#include <cstring>

#include "platform/os/SharedMemory.h"

namespace tw {

void TFixedMemoryStream::Attach(void* memory, int32_t size) {
    memory_ = static_cast<char*>(memory);
    size_ = size;
    position_ = 0;
}

int32_t TFixedMemoryStream::Read(void* buffer, int32_t count) {
    if (position_ < 0 || count < 0) return 0;
    int64_t available = int64_t{size_} - position_;
    if (available <= 0) return 0;
    auto n = static_cast<int32_t>(std::min<int64_t>(count, available));
    std::memcpy(buffer, memory_ + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int32_t TFixedMemoryStream::Write(const void* buffer, int32_t count) {
    int64_t end = int64_t{position_} + count;
    if (position_ < 0 || count < 0 || end <= 0) return 0;
    if (end > size_) throw AccessViolationError();
    std::memcpy(memory_ + position_, buffer, static_cast<size_t>(count));
    position_ += count;
    return count;
}

int32_t TFixedMemoryStream::Seek(int32_t offset, uint16_t origin) {
    position_ = SeekTarget(position_, size_, offset, origin);
    return position_;
}

TCommonMemoryStream::TCommonMemoryStream(const std::string& name, int32_t size) {
    try {
        if (size <= 0) throw std::invalid_argument("size");
        mapping_ = std::make_unique<SharedMemoryMapping>(name, static_cast<size_t>(size));
    } catch (const std::exception&) {
        throw FileCreateError("共有メモリ[" + name + "]を開けません");
    }
    Attach(mapping_->Data(), size);
}

TCommonMemoryStream::~TCommonMemoryStream() = default;

int TCommonMemoryStream::Mapping() const {
    return mapping_->Fd();
}

}  // namespace tw
