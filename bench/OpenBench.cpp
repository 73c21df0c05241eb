// Opening a 100 MB Shift-JIS file the way a user does: through the frame's
// open routine (read, lines, wrap, first paint), against vim on the same file.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "SjisTextGenerator.h"
#include "app/FrameWindow.h"
#include "app/HandOff.h"
#include "settings/SettingsStore.h"

namespace {

using tw::bench::Clock;
using tw::bench::Median;
using tw::bench::Seconds;
using tw::bench::TimeVim;

struct Figures {
    double open = 0;
    double baseMb = 0;
    double peakMb = 0;
};

double PeakMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

/// One open in a process of its own, so each run starts from a clean heap.
Figures RunOpen(const std::string& file, const std::string& scratch) {
    return tw::bench::InChild([&] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("TARNWICK_EDITOR_HOME", scratch.c_str(), 1);
        setenv("TARNWICK_EDITOR_RUNTIME_DIR", scratch.c_str(), 1);
        int argc = 1;
        char name[] = "tw_bench_open";
        char* argv[] = {name, nullptr};
        QApplication app(argc, argv);
        tw::OptionData options;
        options.CreateBlank = false;
        tw::SaveOptionData(scratch, options);
        tw::InstancePaths paths = tw::InstancePaths::FromEnvironment();
        tw::InstanceMarker marker;
        tw::RunProgramEntry(paths, {}, marker);
        tw::TTarnwickEditor frame(paths, {});
        frame.resize(1000, 700);
        frame.show();
        QApplication::processEvents();
        // A running program has made its first window and loaded its fonts
        // already; that one-time work is not part of opening a file.
        frame.actNewExecute();
        QApplication::processEvents();
        Figures f;
        f.baseMb = tw::bench::ResidentMb();
        auto t0 = Clock::now();
        frame.OpenFile(file, false);
        QApplication::processEvents();
        f.open = Seconds(t0, Clock::now());
        f.peakMb = PeakMb();
        return f;  // the frame's own end is not timed
    });
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "/tmp";
    const std::string file = dir + "/tw-bench-open.txt";
    const std::string scratch = dir + "/tw-bench-open-home";
    std::system(("mkdir -p '" + scratch + "' && chmod 700 '" + scratch + "'").c_str());
    const size_t mb = 100;
    {
        std::ofstream out(file, std::ios::binary);
        out << tw::bench::GenerateSjisText(mb << 20, 20261208);
    }
    std::vector<double> open, vim, extra, peak;
    for (int run = 0; run < 3; ++run) {
        Figures f = RunOpen(file, scratch);
        open.push_back(f.open);
        peak.push_back(f.peakMb);
        extra.push_back(f.peakMb - f.baseMb);
        vim.push_back(TimeVim(file));
    }
    const double fileMb = double(mb);
    std::printf("open %zu MB through OpenFile (3 runs, medians)\n", mb);
    std::printf("%-10s %-10s %-12s %-12s %-10s %-10s\n", "open s", "vim s", "vim/us", "peak MB",
                "x file", "added x");
    const double vimTime = Median(vim);
    std::printf("%-10.3f %-10.3f %-12.1f %-12.1f %-10.2f %-10.2f\n", Median(open), vimTime,
                vimTime > 0 ? vimTime / Median(open) : 0.0, Median(peak), Median(peak) / fileMb,
                Median(extra) / fileMb);
    std::remove(file.c_str());
    return 0;
}
