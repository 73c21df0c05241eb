/** @file What the benchmarks share: timing, medians and vim as the yardstick. */
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

namespace tw::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

double Median(std::vector<double> v);

/// This process's resident memory now, in MB.
double ResidentMb();

/// Wall time of `vim -u NONE -N -n -i NONE -es -c q FILE`, which reads the
/// whole file and ends; -1 when vim is not installed.
double TimeVim(const std::string& file);

/// Runs `measure` in a fresh child process and hands back what it returned,
/// so peaks and first-touch costs are not hidden by memory an earlier run
/// left behind. The child ends once `measure` has returned.
template <typename Measure>
auto InChild(Measure measure) -> decltype(measure()) {
    using Figures = decltype(measure());
    static_assert(std::is_trivially_copyable_v<Figures>);
    int fds[2];
    if (pipe(fds) != 0) std::exit(1);
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const Figures f = measure();
        if (write(fds[1], &f, sizeof f) != static_cast<ssize_t>(sizeof f)) _exit(2);
        _exit(0);
    }
    close(fds[1]);
    Figures f{};
    if (read(fds[0], &f, sizeof f) != static_cast<ssize_t>(sizeof f)) std::exit(1);
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return f;
}

}  // namespace tw::bench
