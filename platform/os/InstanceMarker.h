/** @file The sign that an instance of the editor is running for this user. */
#pragma once

#include <string>

#include "platform/os/InstancePaths.h"
#include "platform/os/UniqueFd.h"

namespace tw {

/// Every running instance holds a shared flock on the per-user lock file. The
/// kernel drops it when the process ends, however it ends, so a crashed
/// instance never leaves a marker behind.
class InstanceMarker {
  public:
    InstanceMarker() = default;
    ~InstanceMarker() { Release(); }
    InstanceMarker(const InstanceMarker&) = delete;
    InstanceMarker& operator=(const InstanceMarker&) = delete;

    /// True when some live process holds the marker. When none does, this
    /// object keeps the lock exclusively until Hold(), so that the caller can
    /// clear what a dead instance left without another start interfering.
    /// Throws std::system_error when the lock file cannot be opened or locked.
    bool InstanceExists(const InstancePaths& paths);

    /// Holds the marker (shared) until Release() or the end of the process.
    void Hold();
    bool Held() const { return state_ == State::kShared; }

    /// Gives the marker up; the last instance out also removes the shared
    /// block, which would otherwise linger with a record naming a dead process.
    void Release();

  private:
    enum class State { kClosed, kOpen, kExclusive, kShared };
    UniqueFd fd_;
    State state_ = State::kClosed;
    std::string sharedMemoryName_;
};

}  // namespace tw
