/** @file A file opened for reading that closes itself. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw {

/// Every failure throws FileIoError naming the file.
class InputFile {
  public:
    explicit InputFile(const std::string& path);
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    /// Up to `n` bytes; 0 at the end of the file.
    size_t Read(char* buf, size_t n);
    int64_t Size() const;
    /// Up to two bytes at the very end of the file.
    std::string LastTwoBytes() const;

  private:
    std::string path_;
    int fd_;
};

}  // namespace tw
