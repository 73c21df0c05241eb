/** @file A byte stream with positioned reads and writes. */
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tw {

enum SeekOrigin : uint16_t { kFromBeginning = 0, kFromCurrent = 1, kFromEnd = 2 };

/// Read and Write return how many bytes they moved; ReadBuffer and
/// WriteBuffer insist on the whole count.
class TStream {
  public:
    virtual ~TStream() = default;
    virtual int32_t Read(void* buffer, int32_t count) = 0;
    virtual int32_t Write(const void* buffer, int32_t count) = 0;
    virtual int32_t Seek(int32_t offset, uint16_t origin) = 0;

    int32_t Position() { return Seek(0, kFromCurrent); }
    void SetPosition(int32_t pos) { Seek(pos, kFromBeginning); }
    int32_t Size();
    void ReadBuffer(void* buffer, int32_t count);
    void WriteBuffer(const void* buffer, int32_t count);

  protected:
    /// The position a Seek moves to: no clamping, so it may end up negative
    /// or past the end; far-off positions wrap rather than overflow. An
    /// unknown origin keeps the position.
    static int32_t SeekTarget(int32_t position, int64_t size, int32_t offset, uint16_t origin);
};

class StreamReadError : public std::runtime_error {
  public:
    StreamReadError() : std::runtime_error("ストリーム読み込みエラー") {}
};
class StreamWriteError : public std::runtime_error {
  public:
    StreamWriteError() : std::runtime_error("ストリーム書き込みエラー") {}
};

/// A growable in-memory stream.
class TBytesStream : public TStream {
  public:
    TBytesStream() = default;
    explicit TBytesStream(std::string bytes) : bytes_(std::move(bytes)) {}
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int32_t Seek(int32_t offset, uint16_t origin) override;
    const std::string& Bytes() const { return bytes_; }

  private:
    std::string bytes_;
    int32_t pos_ = 0;
};

}  // namespace tw
