#include "platform/os/LocalSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tw {
namespace {

bool MakeAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return false;
    }
    path.copy(address.sun_path, path.size());
    return true;
}

[[noreturn]] void Fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// Waits until `fd` is ready for `events`; false on time-out or error.
bool WaitFor(int fd, short events, SocketDeadline deadline) {
    for (;;) {
        int timeout = -1;
        if (deadline) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(
                *deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            timeout = static_cast<int>(left.count());
        }
        pollfd entry{fd, events, 0};
        int ready = ::poll(&entry, 1, timeout);
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
    }
}

}  // namespace

UniqueFd ListenLocal(const std::string& path) {
    sockaddr_un address;
    if (!MakeAddress(path, address)) Fail("socket " + path);
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) Fail("socket " + path);
    ::unlink(path.c_str());
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        Fail("bind " + path);
    if (::chmod(path.c_str(), 0600) != 0 || ::listen(fd.Get(), 16) != 0) {
        int error = errno;
        ::unlink(path.c_str());
        errno = error;
        Fail("listen " + path);
    }
    return fd;
}

UniqueFd AcceptLocal(int listenFd) {
    for (;;) {
        int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) return UniqueFd(fd);
        if (errno != EINTR && errno != ECONNABORTED) return UniqueFd();
    }
}

UniqueFd ConnectLocal(const std::string& path) {
    sockaddr_un address;
    if (!MakeAddress(path, address)) return UniqueFd();
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) return fd;
    if (::connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        int error = errno;
        fd.Reset();
        errno = error;
    }
    return fd;
}

std::optional<uid_t> PeerUid(int fd) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return std::nullopt;
    return credentials.uid;
}

bool ReadFully(int fd, void* buffer, size_t size, SocketDeadline deadline) {
    auto* bytes = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::recv(fd, bytes + done, size - done, MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n == 0) {
            return false;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!WaitFor(fd, POLLIN, deadline)) return false;
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool WriteFully(int fd, const void* buffer, size_t size, SocketDeadline deadline) {
    const auto* bytes = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::send(fd, bytes + done, size - done, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n >= 0) {
            done += static_cast<size_t>(n);
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!WaitFor(fd, POLLOUT, deadline)) return false;
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

}  // namespace tw
