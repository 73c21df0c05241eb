/** @file Frees whoever waits on a FIFO, so that a test of a hang fails instead of hanging. */
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace tw::test {

/// After `grace`, opens the FIFO at both ends again and again until it is
/// destroyed: every open() that waits for the other end returns, and a
/// reader then meets the end of the data.
class FifoWatchdog {
  public:
    explicit FifoWatchdog(std::string path,
                          std::chrono::milliseconds grace = std::chrono::milliseconds(3000))
        : path_(std::move(path)), thread_([this, grace] { Run(grace); }) {}
    ~FifoWatchdog() {
        stop_ = true;
        thread_.join();
    }
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

  private:
    void Run(std::chrono::milliseconds grace) {
        const auto start = std::chrono::steady_clock::now();
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (std::chrono::steady_clock::now() - start < grace) continue;
            const int fd = ::open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) ::close(fd);
        }
    }

    std::string path_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace tw::test
