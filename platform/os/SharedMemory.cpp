#include "platform/os/SharedMemory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tw {
namespace {

[[noreturn]] void Fail(const std::string& name, const std::string& why) {
    throw std::runtime_error("shared memory " + name + ": " + why);
}

// The block carries which process receives hand-offs, so a block that another
// user could have made or can write is as bad as none.
void VerifyOrSize(int fd, const std::string& name, size_t size) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) Fail(name, std::strerror(errno));
    if (st.st_uid != ::geteuid()) Fail(name, "owned by uid " + std::to_string(st.st_uid));
    if ((st.st_mode & 077) != 0) Fail(name, "open to group or others");
    // A size of 0 means we, or a process starting at the same moment, have
    // just created it; sizing it twice to the same length is harmless.
    if (st.st_size == 0) {
        if (::ftruncate(fd, static_cast<off_t>(size)) != 0) Fail(name, std::strerror(errno));
    } else if (static_cast<size_t>(st.st_size) != size) {
        Fail(name, "has " + std::to_string(st.st_size) + " bytes, not " + std::to_string(size));
    }
}

}  // namespace

std::string SharedMemoryObjectName(const std::string& name) {
    return name.starts_with('/') ? name : "/" + name;
}

SharedMemoryMapping::SharedMemoryMapping(const std::string& name, size_t size) : size_(size) {
    if (size == 0) Fail(name, "empty size");
    std::string object = SharedMemoryObjectName(name);
    fd_.Reset(::shm_open(object.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd_.Valid()) Fail(name, std::strerror(errno));
    VerifyOrSize(fd_.Get(), name, size);
    void* data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd_.Get(), 0);
    if (data == MAP_FAILED) Fail(name, std::strerror(errno));
    data_ = data;
}

SharedMemoryMapping::~SharedMemoryMapping() {
    if (data_) ::munmap(data_, size_);
}

bool RemoveSharedMemory(const std::string& name) {
    return ::shm_unlink(SharedMemoryObjectName(name).c_str()) == 0;
}

bool RecreateSharedMemory(const std::string& name, size_t size) {
    std::string object = SharedMemoryObjectName(name);
    ::shm_unlink(object.c_str());
    UniqueFd fd(::shm_open(object.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    // EEXIST: a start racing with this one made it first, fresh as well.
    if (!fd.Valid()) return errno == EEXIST;
    return ::ftruncate(fd.Get(), static_cast<off_t>(size)) == 0;
}

}  // namespace tw
