// Shared pieces of the start-up and hand-off tests: a private runtime folder
// per test, real child processes and polling with a generous deadline.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/os/InstancePaths.h"
#include "platform/os/SharedMemory.h"

namespace tw::test {

// Long enough for a loaded machine and the sanitizers; only reached on failure.
constexpr std::chrono::seconds kDeadline{30};

inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::seconds limit = kDeadline) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

/// A fresh folder named in TARNWICK_EDITOR_RUNTIME_DIR for the life of the
/// object, so that no test meets a real instance or another test.
class ScopedRuntimeDir {
  public:
    ScopedRuntimeDir() {
        char name[] = "/tmp/tw-handoff-XXXXXX";
        if (::mkdtemp(name)) path_ = name;
        ::setenv("TARNWICK_EDITOR_RUNTIME_DIR", path_.c_str(), 1);
    }
    ~ScopedRuntimeDir() {
        RemoveSharedMemory(InstancePaths::ForFolder(path_, true).sharedMemoryName);
        ::unsetenv("TARNWICK_EDITOR_RUNTIME_DIR");
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScopedRuntimeDir(const ScopedRuntimeDir&) = delete;
    ScopedRuntimeDir& operator=(const ScopedRuntimeDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline bool SharedMemoryExists(const std::string& name) {
    int fd = ::shm_open(SharedMemoryObjectName(name).c_str(), O_RDONLY, 0);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

/// The lines of a file that are complete (a writer may be mid-line).
inline std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(all.substr(start, end - start));
    return lines;
}

inline bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

/// Only the lines with `prefix`, without it.
inline std::vector<std::string> WithPrefix(const std::vector<std::string>& lines,
                                           const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.starts_with(prefix)) found.push_back(line.substr(prefix.size()));
    return found;
}

/// A program run with fork and exec; killed and reaped if still running at the end.
class ChildProcess {
  public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args) {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
    }
    ~ChildProcess() {
        if (!status_ && pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    void Signal(int signal) const { ::kill(pid_, signal); }

    bool Exited() {
        int status = 0;
        if (!status_ && ::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
        return status_.has_value();
    }
    /// The wait status, or nullopt when it did not end within the deadline.
    std::optional<int> WaitForExit(std::chrono::seconds limit = kDeadline) {
        WaitUntil([this] { return Exited(); }, limit);
        return status_;
    }
    bool ExitedWith(int code) {
        std::optional<int> status = WaitForExit();
        return status && WIFEXITED(*status) && WEXITSTATUS(*status) == code;
    }

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

}  // namespace tw::test
