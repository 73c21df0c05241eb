/** @file Named POSIX shared memory blocks of this user. */
#pragma once

#include <cstddef>
#include <string>

#include "platform/os/UniqueFd.h"

namespace tw {

/// A named block mapped read/write for the life of the object.
class SharedMemoryMapping {
  public:
    /// Opens the block `name` (a leading '/' is added when missing), creating it
    /// zero-filled with mode 0600 when it does not exist. An existing block keeps
    /// its contents. Throws std::runtime_error when the block cannot be made, is
    /// not this user's own, is open to others or has another size.
    SharedMemoryMapping(const std::string& name, size_t size);
    ~SharedMemoryMapping();
    SharedMemoryMapping(const SharedMemoryMapping&) = delete;
    SharedMemoryMapping& operator=(const SharedMemoryMapping&) = delete;

    void* Data() const { return data_; }
    size_t Size() const { return size_; }
    int Fd() const { return fd_.Get(); }

  private:
    UniqueFd fd_;
    void* data_ = nullptr;
    size_t size_ = 0;
};

/// The name shm_open() wants: exactly one leading slash.
std::string SharedMemoryObjectName(const std::string& name);

/// Removes the name; those who have the block mapped keep their mapping.
/// Returns false when there was nothing to remove or removal failed.
bool RemoveSharedMemory(const std::string& name);

/// Drops whatever a dead instance left under `name` and makes a fresh,
/// zero-filled block of `size` bytes. Returns false when it could not.
bool RecreateSharedMemory(const std::string& name, size_t size);

}  // namespace tw
