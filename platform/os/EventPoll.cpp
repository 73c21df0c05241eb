#include "platform/os/EventPoll.h"

#include <sys/epoll.h>

#include <cerrno>
#include <system_error>

namespace tw {

EventPoll::EventPoll() : epoll_(::epoll_create1(EPOLL_CLOEXEC)) {
    if (!epoll_.Valid()) throw std::system_error(errno, std::generic_category(), "epoll");
}

void EventPoll::Add(int fd) {
    epoll_event event{};
    event.events = EPOLLIN;  // level-triggered: readable for as long as bytes wait
    event.data.fd = fd;
    if (::epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, fd, &event) != 0)
        throw std::system_error(errno, std::generic_category(), "epoll add");
}

void EventPoll::Remove(int fd) {
    ::epoll_ctl(epoll_.Get(), EPOLL_CTL_DEL, fd, nullptr);
}

}  // namespace tw
