/** @file The system calls that write files, behind one interface so that any of them can be made to
 * fail. */
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace tw {

/// The calls a save makes that change something on disk. The base class makes
/// the real system calls; a test derives from it to fail, shorten or stop one
/// of them. Each returns what the system call returns and sets errno alike.
class FileSystemCalls {
  public:
    virtual ~FileSystemCalls() = default;

    virtual int Open(const char* path, int flags, mode_t mode);
    /// mkostemp: fills in the XXXXXX at the end of `pattern`.
    virtual int OpenTemporary(char* pattern, int flags);
    virtual ssize_t Write(int fd, const void* data, size_t size);
    virtual int Sync(int fd);
    virtual int Close(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);
    virtual int ChangeOwner(int fd, uid_t owner, gid_t group);
    virtual int ChangeMode(int fd, mode_t mode);
    virtual int SetAttribute(int fd, const char* name, const void* value, size_t size);
    virtual int RemoveAttribute(int fd, const char* name);
};

/// The calls every save makes now: the real ones unless a test put others in.
FileSystemCalls& FileCalls();

/// Makes every later save go through `calls` (the real ones again for
/// nullptr); returns the ones in use before. Not for use while a save runs.
FileSystemCalls* UseFileCalls(FileSystemCalls* calls);

}  // namespace tw
