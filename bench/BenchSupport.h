/** @file What the benchmarks share: timing, medians and vim as the yardstick. */
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace tw::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

double Median(std::vector<double> v);

/// Wall time of `vim -u NONE -N -n -i NONE -es -c q FILE`, which reads the
/// whole file and ends; -1 when vim is not installed.
double TimeVim(const std::string& file);

}  // namespace tw::bench
