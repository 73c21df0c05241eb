#include "app/HandOffMessage.h"

#include <algorithm>

namespace tw {
namespace {

constexpr size_t kHeaderSize = 8;

}  // namespace

void PutLE32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetLE32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

std::string EncodeHandOffMessage(std::string_view fileName) {
    uint8_t header[kHeaderSize];
    PutLE32(header, HandOffSignature);
    PutLE32(header + 4, static_cast<uint32_t>(fileName.size() + 1));
    std::string message(reinterpret_cast<const char*>(header), sizeof header);
    message += fileName;
    message += '\0';
    return message;
}

size_t HandOffMessageReader::Wanted() const {
    if (state_ != State::kIncomplete) return 0;
    if (header_.size() < kHeaderSize) return kHeaderSize - header_.size();
    return cbData_ - data_.size();
}

size_t HandOffMessageReader::Feed(std::string_view bytes) {
    size_t used = 0;
    while (used < bytes.size() && Wanted() > 0) {
        const size_t n = std::min(Wanted(), bytes.size() - used);
        if (header_.size() < kHeaderSize) {
            header_.append(bytes.substr(used, n));
            if (header_.size() == kHeaderSize) {
                const auto* h = reinterpret_cast<const uint8_t*>(header_.data());
                cbData_ = GetLE32(h + 4);
                if (GetLE32(h) != HandOffSignature || cbData_ == 0 || cbData_ > kMaxHandOffData)
                    state_ = State::kRefused;
            }
        } else {
            data_.append(bytes.substr(used, n));
            if (data_.size() == cbData_) Finish();
        }
        used += n;
    }
    return used;
}

void HandOffMessageReader::Finish() {
    data_.resize(std::min(data_.find('\0'), data_.size()));
    state_ = data_.empty() ? State::kRefused : State::kComplete;
}

}  // namespace tw
