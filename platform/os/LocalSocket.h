/** @file Unix-domain stream sockets between processes of the same machine. */
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "platform/os/UniqueFd.h"

namespace tw {

/// nullopt waits as long as the peer stays connected.
using SocketDeadline = std::optional<std::chrono::steady_clock::time_point>;

/// Listens on `path`, first removing a file of that name left by a dead
/// process. The socket is non-blocking and only its owner may connect.
/// Throws std::system_error on failure.
UniqueFd ListenLocal(const std::string& path);

/// Takes one pending connection, non-blocking; invalid when none is pending.
UniqueFd AcceptLocal(int listenFd);

/// Connects to `path`; invalid (errno set) when nobody listens there.
UniqueFd ConnectLocal(const std::string& path);

/// The user id of the process at the other end, as the kernel saw it connect.
std::optional<uid_t> PeerUid(int fd);

/// Reads exactly `size` bytes; false when the peer ends, an error occurs or
/// the deadline passes first.
bool ReadFully(int fd, void* buffer, size_t size, SocketDeadline deadline);

/// Writes all of `size` bytes; false when the peer is gone, on error or when
/// the deadline passes. Never raises SIGPIPE.
bool WriteFully(int fd, const void* buffer, size_t size, SocketDeadline deadline);

}  // namespace tw
