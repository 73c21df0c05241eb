/** @file File-writing calls that fail, shorten or stop where a test says, installed while in scope.
 */
#pragma once

#include <algorithm>
#include <cerrno>
#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "textstore/FileSystemCalls.h"

namespace tw::test {

enum class FileCall {
    Open,
    OpenTemporary,
    Write,
    Sync,
    Close,
    Rename,
    Unlink,
    ChangeOwner,
    ChangeMode,
    SetAttribute,
    RemoveAttribute
};

inline const char* FileCallName(FileCall c) {
    static const char* const names[] = {"open",   "mkostemp",  "write",       "fsync",
                                        "close",  "rename",    "unlink",      "fchown",
                                        "fchmod", "fsetxattr", "fremovexattr"};
    return names[static_cast<int>(c)];
}

/// Makes the real calls, except for one fault: call number `failCall` (of any
/// kind, counted from 0) or the first call of kind `failOn` fails with
/// `error`, or the disk fills after
/// `failAtByte` bytes written (a short write up to it, then `error`). Only one
/// fault fires, so what the writer does to recover runs as it would.
/// `before` sees every call before it is made (a test may kill itself there).
class FaultyFileCalls : public FileSystemCalls {
  public:
    FaultyFileCalls() : previous_(UseFileCalls(this)) {}
    ~FaultyFileCalls() override { UseFileCalls(previous_); }
    FaultyFileCalls(const FaultyFileCalls&) = delete;
    FaultyFileCalls& operator=(const FaultyFileCalls&) = delete;

    int failCall = -1;
    std::optional<FileCall> failOn;
    long failAtByte = -1;
    int error = EIO;
    /// Writes no more than this at a time (short writes that are no error).
    size_t writeLimit = SIZE_MAX;
    std::function<void(FileCall, int index)> before;

    std::vector<FileCall> calls;
    bool fired = false;
    FileCall firedAt = FileCall::Open;
    bool renamedBeforeFault = false;  ///< a rename had succeeded when the fault fired
    long written = 0;

    int Open(const char* path, int flags, mode_t mode) override {
        return Fault(FileCall::Open) ? -1 : FileSystemCalls::Open(path, flags, mode);
    }
    int OpenTemporary(char* pattern, int flags) override {
        return Fault(FileCall::OpenTemporary) ? -1 : FileSystemCalls::OpenTemporary(pattern, flags);
    }
    ssize_t Write(int fd, const void* data, size_t size) override {
        if (Fault(FileCall::Write)) return -1;
        size = std::min(size, writeLimit);
        if (failAtByte >= 0 && !fired) {
            const long room = failAtByte - written;
            if (room <= 0) return Fire(FileCall::Write);
            size = std::min(size, static_cast<size_t>(room));
        }
        const ssize_t n = FileSystemCalls::Write(fd, data, size);
        if (n > 0) written += n;
        return n;
    }
    int Sync(int fd) override { return Fault(FileCall::Sync) ? -1 : FileSystemCalls::Sync(fd); }
    int Close(int fd) override {
        // The descriptor is released even when close reports an error.
        const bool fault = Fault(FileCall::Close);
        const int r = FileSystemCalls::Close(fd);
        if (fault) errno = error;
        return fault ? -1 : r;
    }
    int Rename(const char* from, const char* to) override {
        if (Fault(FileCall::Rename)) return -1;
        const int r = FileSystemCalls::Rename(from, to);
        if (r == 0 && !fired) renamedBeforeFault = true;
        return r;
    }
    int Unlink(const char* path) override {
        return Fault(FileCall::Unlink) ? -1 : FileSystemCalls::Unlink(path);
    }
    int ChangeOwner(int fd, uid_t owner, gid_t group) override {
        return Fault(FileCall::ChangeOwner) ? -1 : FileSystemCalls::ChangeOwner(fd, owner, group);
    }
    int ChangeMode(int fd, mode_t mode) override {
        return Fault(FileCall::ChangeMode) ? -1 : FileSystemCalls::ChangeMode(fd, mode);
    }
    int SetAttribute(int fd, const char* name, const void* value, size_t size) override {
        return Fault(FileCall::SetAttribute) ? -1
                                             : FileSystemCalls::SetAttribute(fd, name, value, size);
    }
    int RemoveAttribute(int fd, const char* name) override {
        return Fault(FileCall::RemoveAttribute) ? -1 : FileSystemCalls::RemoveAttribute(fd, name);
    }

  private:
    bool Fault(FileCall call) {
        const int index = static_cast<int>(calls.size());
        calls.push_back(call);
        if (before) before(call, index);
        if (fired || (index != failCall && failOn != call)) return false;
        Fire(call);
        return true;
    }
    int Fire(FileCall call) {
        fired = true;
        firedAt = call;
        errno = error;
        return -1;
    }

    FileSystemCalls* previous_;
};

}  // namespace tw::test
