/** @file A stream over a fixed block of memory, and over the block shared by all instances. */
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "textstore/Stream.h"

namespace tw {

class SharedMemoryMapping;

class FileCreateError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class AccessViolationError : public std::runtime_error {
  public:
    AccessViolationError() : std::runtime_error("共有メモリを逸脱した書き込み") {}
};

/// Reads and writes inside memory it does not own and can never grow. The
/// position may be moved anywhere; out there reads and writes do nothing,
/// except a write that would run off the end, which is an error.
class TFixedMemoryStream : public TStream {
  public:
    TFixedMemoryStream(void* memory, int32_t size)
        : memory_(static_cast<char*>(memory)), size_(size) {}

    int32_t Read(void* buffer, int32_t count) override;
    /// Throws AccessViolationError, writing nothing, when the bytes would not fit.
    int32_t Write(const void* buffer, int32_t count) override;
    int32_t Seek(int32_t offset, uint16_t origin) override;

  protected:
    TFixedMemoryStream() = default;
    void Attach(void* memory, int32_t size);

  private:
    char* memory_ = nullptr;
    int32_t size_ = 0;
    int32_t position_ = 0;
};

/// The named block of shared memory every instance of this user maps.
class TCommonMemoryStream : public TFixedMemoryStream {
  public:
    /// Creates the block zero-filled, or opens it with its contents, and maps
    /// all `size` bytes. Throws FileCreateError("共有メモリ[name]を開けません").
    TCommonMemoryStream(const std::string& name, int32_t size);
    ~TCommonMemoryStream() override;
    TCommonMemoryStream(const TCommonMemoryStream&) = delete;
    TCommonMemoryStream& operator=(const TCommonMemoryStream&) = delete;

    /// The mapping's descriptor.
    int Mapping() const;

  private:
    std::unique_ptr<SharedMemoryMapping> mapping_;
};

}  // namespace tw
