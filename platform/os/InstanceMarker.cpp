#include "platform/os/InstanceMarker.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "platform/os/SharedMemory.h"

namespace tw {
namespace {

bool Lock(int fd, int operation) {
    for (;;) {
        if (::flock(fd, operation) == 0) return true;
        if (errno != EINTR) return false;
    }
}

}  // namespace

bool InstanceMarker::InstanceExists(const InstancePaths& paths) {
    Release();
    fd_.Reset(::open(paths.lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd_.Valid())
        throw std::system_error(errno, std::generic_category(), "lock file " + paths.lockFile);
    state_ = State::kOpen;
    sharedMemoryName_ = paths.sharedMemoryName;
    if (Lock(fd_.Get(), LOCK_EX | LOCK_NB)) {
        state_ = State::kExclusive;
        return false;
    }
    if (errno != EWOULDBLOCK)
        throw std::system_error(errno, std::generic_category(), "lock file " + paths.lockFile);
    return true;
}

void InstanceMarker::Hold() {
    if (state_ == State::kClosed)
        throw std::logic_error("InstanceMarker::Hold before InstanceExists");
    // Converting from exclusive is not atomic, and another start may hold the
    // lock exclusively for a moment while it resets the block: waiting is right.
    if (!Lock(fd_.Get(), LOCK_SH))
        throw std::system_error(errno, std::generic_category(), "instance marker");
    state_ = State::kShared;
}

void InstanceMarker::Release() {
    if (state_ == State::kShared || state_ == State::kExclusive) {
        // A failed non-blocking conversion drops our lock, which is what
        // releasing wants anyway.
        if (Lock(fd_.Get(), LOCK_EX | LOCK_NB)) RemoveSharedMemory(sharedMemoryName_);
    }
    fd_.Reset();
    state_ = State::kClosed;
}

}  // namespace tw
