/** @file One hand-off message on the wire: a file name sent from a second start. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

/// Marks a hand-off message from another start of this program.
constexpr uint32_t HandOffSignature = 0x15393861;
/// The largest cbData a receiver takes: a file name and its NUL.
constexpr uint32_t kMaxHandOffData = 64 * 1024;

/// Little-endian 32-bit values, as the shared record and the message hold them.
void PutLE32(uint8_t* bytes, uint32_t value);
uint32_t GetLE32(const uint8_t* bytes);

/// dwData (the signature), cbData (the name's length + 1), the name and a NUL.
std::string EncodeHandOffMessage(std::string_view fileName);

/// Gathers one message from bytes as they arrive, trusting none of them: the
/// sender may be any program. A message is refused as soon as its header
/// shows a wrong signature or a length of 0 or past kMaxHandOffData, so an
/// announced length is never allocated before its bytes have come.
class HandOffMessageReader {
  public:
    enum class State { kIncomplete, kComplete, kRefused };

    /// Takes up to Wanted() bytes of `bytes`; returns how many it took.
    size_t Feed(std::string_view bytes);
    /// Bytes still needed to finish the message; 0 once complete or refused.
    size_t Wanted() const;
    State Current() const { return state_; }
    /// The name: the data up to its first NUL. Set when Complete.
    const std::string& FileName() const { return data_; }

  private:
    void Finish();

    State state_ = State::kIncomplete;
    std::string header_;
    uint32_t cbData_ = 0;
    std::string data_;
};

}  // namespace tw
