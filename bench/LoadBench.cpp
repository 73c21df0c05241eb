// Times loading a large Shift-JIS file the way a document gets it (the file
// read and mended, then made the editor's rows with the program's default
// settings), taking the text and saving it, with the peak memory of the load,
// against vim opening the same file.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "SjisTextGenerator.h"
#include "editor/VellEdit.h"
#include "headless/HeadlessPlatform.h"
#include "settings/ApplySettings.h"
#include "textstore/DocumentReader.h"

namespace {

using tw::bench::Clock;
using tw::bench::Median;
using tw::bench::Seconds;
using tw::bench::TimeVim;

struct Figures {
    double load = 0, getText = 0, save = 0;
    long peakKb = 0;
    int rows = 0;
};

long PeakRssKb() {
    // VmHWM is the peak resident set of this process alone.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

/// One measurement in a fresh child process, so peaks and first-touch costs
/// are not hidden by memory an earlier run left behind.
Figures MeasureInChild(const std::string& file, const std::string& out) {
    return tw::bench::InChild([&] {
        Figures f;
        tw::test::RecordingMessageBox messages;
        tw::test::MemoryClipboard clipboard;
        tw::test::FixedMetrics metrics;
        tw::TVellEdit ed(tw::EditorServices{&metrics, &clipboard, &messages, nullptr});
        tw::ApplySettings(ed, tw::OptionData{}, [](tw::TVellEdit&) {});
        auto t0 = Clock::now();
        {
            tw::DocumentReader reader(file);
            ed.SetAllText([&reader] { return reader.Next(); }, size_t(reader.Size()));
        }
        auto t1 = Clock::now();
        f.peakKb = PeakRssKb();
        f.rows = ed.Lines().Count();
        std::string text = ed.GetAllText();
        auto t2 = Clock::now();
        if (!ed.SaveToFile(out)) std::exit(3);
        auto t3 = Clock::now();
        f.load = Seconds(t0, t1);
        f.getText = Seconds(t1, t2);
        f.save = Seconds(t2, t3);
        return f;
    });
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "/tmp";
    const int kRuns = 3;
    std::printf("%-8s %8s %9s %9s %9s %10s %8s %9s %7s\n", "size", "rows", "load s", "text s",
                "save s", "peak MB", "x file", "vim s", "vim/us");
    for (size_t mb : {10, 100}) {
        std::string file = dir + "/tw-bench-" + std::to_string(mb) + "mb.txt";
        std::string out = file + ".saved";
        std::string text = tw::bench::GenerateSjisText(mb << 20, 20261208);
        std::ofstream(file, std::ios::binary).write(text.data(), static_cast<long>(text.size()));
        text.clear();
        text.shrink_to_fit();

        std::vector<double> load, getText, save, vim;
        Figures f;
        for (int i = 0; i < kRuns; ++i) {
            f = MeasureInChild(file, out);
            load.push_back(f.load);
            getText.push_back(f.getText);
            save.push_back(f.save);
            vim.push_back(TimeVim(file));
        }
        double vimTime = Median(vim);
        double fileMb = static_cast<double>(mb);
        double peakMb = static_cast<double>(f.peakKb) / 1024.0;
        char vimText[32] = "n/a", ratio[32] = "n/a";
        if (vimTime > 0) {
            std::snprintf(vimText, sizeof vimText, "%.3f", vimTime);
            std::snprintf(ratio, sizeof ratio, "%.1f", vimTime / Median(load));
        }
        std::printf("%-8s %8d %9.3f %9.3f %9.3f %10.1f %8.2f %9s %7s\n",
                    (std::to_string(mb) + " MB").c_str(), f.rows, Median(load), Median(getText),
                    Median(save), peakMb, peakMb / fileMb, vimText, ratio);
        std::remove(out.c_str());
        std::remove(file.c_str());
    }
    return 0;
}
