#include "textstore/FileSystemCalls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace tw {

namespace {

FileSystemCalls systemCalls;
std::atomic<FileSystemCalls*> current{&systemCalls};

}  // namespace

int FileSystemCalls::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

int FileSystemCalls::OpenTemporary(char* pattern, int flags) {
    return ::mkostemp(pattern, flags);
}

ssize_t FileSystemCalls::Write(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}

int FileSystemCalls::Sync(int fd) {
    return ::fsync(fd);
}

int FileSystemCalls::Close(int fd) {
    return ::close(fd);
}

int FileSystemCalls::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}

int FileSystemCalls::Unlink(const char* path) {
    return ::unlink(path);
}

int FileSystemCalls::ChangeOwner(int fd, uid_t owner, gid_t group) {
    return ::fchown(fd, owner, group);
}

int FileSystemCalls::ChangeMode(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int FileSystemCalls::SetAttribute(int fd, const char* name, const void* value, size_t size) {
    return ::fsetxattr(fd, name, value, size, 0);
}

int FileSystemCalls::RemoveAttribute(int fd, const char* name) {
    return ::fremovexattr(fd, name);
}

FileSystemCalls& FileCalls() {
    return *current.load(std::memory_order_relaxed);
}

FileSystemCalls* UseFileCalls(FileSystemCalls* calls) {
    FileSystemCalls* before = current.exchange(calls ? calls : &systemCalls);
    return before == &systemCalls ? nullptr : before;
}

}  // namespace tw
