/** @file A file opened for reading that closes itself. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw {

/// A file opened for reading, or why it was not.
struct ReadableFile {
    /// Open for reading; the caller closes it. -1 when refused.
    int fd = -1;
    /// errno of the failed open or stat; 0 when the name is no regular file.
    int error = 0;
    bool Missing() const;
    /// Why the file was refused, in words for a message.
    std::string Reason() const;
};

/// Opens `path` for reading when it is a regular file: the way the program
/// opens every file it reads. It never waits: a FIFO, a device, a folder or a
/// socket is refused before anything is read (a FIFO would block open() until
/// a writer comes, /dev/zero would be read until memory runs out).
ReadableFile OpenRegularFile(const std::string& path);

/// The first bytes of a small file the program keeps for itself (settings
/// and the like), opened as OpenRegularFile opens.
struct FilePrefix {
    std::string bytes;
    /// There is no such file: no failure.
    bool missing = false;
    /// The file is there but could not be read (no permission, no regular
    /// file, a read error); bytes holds what was read before the failure.
    bool failed = false;
};

/// Reads at most `limit` bytes of `path`.
FilePrefix ReadFilePrefix(const std::string& path, size_t limit);

/// A regular file open for reading (OpenRegularFile); every failure throws
/// FileIoError naming the file.
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
