/** @file Many descriptors watched through one, for an event loop that watches one. */
#pragma once

#include "platform/os/UniqueFd.h"

namespace tw {

/// An epoll set: its own descriptor is readable while any descriptor added
/// to it is readable (or hung up), so a caller's event loop needs to watch
/// only Fd() however many connections come and go.
class EventPoll {
  public:
    /// Throws std::system_error when no epoll set can be made.
    EventPoll();

    int Fd() const { return epoll_.Get(); }
    /// Watches `fd` for reading; throws std::system_error on failure.
    void Add(int fd);
    /// Stops watching `fd`; call before closing it.
    void Remove(int fd);

  private:
    UniqueFd epoll_;
};

}  // namespace tw
