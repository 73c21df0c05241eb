// Times the editor engine on 100 MB of Shift-JIS text: loading with word wrap,
// toggling word wrap, typing (each keystroke with its re-wrap) and undo, with
// the peak memory, and typing in one unbroken 10 MB line. Each text runs in a
// fresh process, so peaks are its own.
//   tw_bench_editor [long-line]     long-line: only the unbroken line
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "SjisTextGenerator.h"
#include "editor/VellEdit.h"
#include "headless/HeadlessPlatform.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t n = std::char_traits<char>::length(field);
    while (std::getline(status, line))
        if (line.compare(0, n, field) == 0) return std::atol(line.c_str() + n);
    return 0;
}

/// Starts a new peak: VmHWM from here on is the peak of what follows.
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

/// Keeps every tenth line break of the ~40-byte lines: ~400-byte lines.
std::string LongLines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    int breaks = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' && ++breaks % 10 != 0) {
            out += ' ';
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

struct Percentiles {
    double p50, p99, max, mean;
};

Percentiles Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v)
        sum += x;
    return {v[v.size() / 2], v[v.size() * 99 / 100], v.back(), sum / static_cast<double>(v.size())};
}

/// Types `count` characters at the caret, one keystroke at a time.
Percentiles Type(tw::TVellEdit& ed, int count) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const char c = static_cast<char>('a' + i % 26);
        auto t0 = Clock::now();
        ed.SetSelText(std::string_view(&c, 1));
        times.push_back(Ms(t0, Clock::now()));
    }
    return Summarise(times);
}

void PrintKeys(const char* what, const Percentiles& p) {
    std::printf("  %-34s p50 %.4f  p99 %.4f  max %.3f  mean %.4f ms\n", what, p.p50, p.p99, p.max,
                p.mean);
}

/// The engine on the headless platform, with a text area of 1000 x 800 pixels.
struct HeadlessEditor {
    HeadlessEditor() { ed.ResizeTextArea(1000, 800); }
    tw::test::RecordingMessageBox messages;
    tw::test::MemoryClipboard clipboard;
    tw::test::FixedMetrics metrics;
    tw::TVellEdit ed{tw::EditorServices{&metrics, &clipboard, &messages, nullptr}};
};

void Measure(const char* name, bool longLines) {
    HeadlessEditor headless;
    tw::TVellEdit& ed = headless.ed;

    std::string text = tw::bench::GenerateSjisText(size_t{100} << 20, 20261208);
    if (longLines) text = LongLines(text);
    const double mb = static_cast<double>(text.size()) / (1 << 20);
    const long before = StatusKb("VmRSS:") - static_cast<long>(text.capacity() / 1024);

    auto t0 = Clock::now();
    ed.SetAllText(text);
    auto t1 = Clock::now();
    const long peakLoad = StatusKb("VmHWM:");
    std::string().swap(text);  // a move from an empty string would keep the buffer
    const long rssKb = StatusKb("VmRSS:") - before;
    std::printf("%s: %.1f MB, %d rows with word wrap at column %d\n", name, mb, ed.Lines().Count(),
                ed.Column());
    std::printf("  SetAllText, word wrap on            %.0f ms\n", Ms(t0, t1));
    std::printf("  resident after load (text freed)    %.1f MB = %.2f x the text\n",
                static_cast<double>(rssKb) / 1024, static_cast<double>(rssKb) / 1024 / mb);
    std::printf("  peak during load (with the input)   %.1f MB = %.2f x the text\n",
                static_cast<double>(peakLoad - before) / 1024,
                static_cast<double>(peakLoad - before) / 1024 / mb);

    ResetPeak();
    t0 = Clock::now();
    ed.SetWordWrap(false);
    t1 = Clock::now();
    const long peakOff = StatusKb("VmHWM:");
    ResetPeak();
    ed.SetWordWrap(true);
    auto t2 = Clock::now();
    const long peakOn = StatusKb("VmHWM:");
    std::printf("  word wrap off / on                  %.0f ms / %.0f ms (%d rows unwrapped)\n",
                Ms(t0, t1), Ms(t1, t2), ed.LogicalLineCount());
    std::printf("  peak during word wrap off / on      %.2f / %.2f x the text\n",
                static_cast<double>(peakOff - before) / 1024 / mb,
                static_cast<double>(peakOn - before) / 1024 / mb);
    std::printf("  resident after the toggles          %.2f x the text\n",
                static_cast<double>(StatusKb("VmRSS:") - before) / 1024 / mb);

    const int32_t rows = ed.Lines().Count();
    ed.GotoXY(5, rows / 2);
    PrintKeys("1,000 keystrokes, middle", Type(ed, 1000));
    ed.GotoXY(5, 1);
    PrintKeys("1,000 keystrokes, start", Type(ed, 1000));
    ed.GotoXY(5, rows - 2);
    PrintKeys("1,000 keystrokes, end", Type(ed, 1000));

    // A keystroke right after the caret jumped somewhere else in the file.
    std::mt19937 rng(7);
    std::vector<double> jumps;
    for (int i = 0; i < 1000; ++i) {
        ed.GotoXY(3, static_cast<int32_t>(rng() % static_cast<uint32_t>(ed.Lines().Count())));
        auto t = Clock::now();
        ed.SetSelText("j");
        jumps.push_back(Ms(t, Clock::now()));
    }
    PrintKeys("1,000 keystrokes, each after a jump", Summarise(jumps));

    std::vector<double> undos;
    for (int i = 0; i < 1000; ++i) {
        auto t = Clock::now();
        ed.Undo();
        undos.push_back(Ms(t, Clock::now()));
    }
    PrintKeys("1,000 undos (of the jumps)", Summarise(undos));
    undos.clear();
    for (int i = 0; i < 1000; ++i) {
        auto t = Clock::now();
        ed.Undo();
        undos.push_back(Ms(t, Clock::now()));
    }
    PrintKeys("1,000 undos (of the typing at the end)", Summarise(undos));
    std::printf("  resident at the end                 %.2f x the text\n",
                static_cast<double>(StatusKb("VmRSS:") - before) / 1024 / mb);
}

/// Keystrokes in the middle of one unbroken 10 MB line, wrapped at column
/// 70 (150,000 rows of one line) and unwrapped (one row of 10 MB).
void MeasureLongLine() {
    HeadlessEditor headless;
    tw::TVellEdit& ed = headless.ed;
    std::string text = tw::bench::GenerateSjisText(size_t{10} << 20, 13);
    std::erase(text, '\r');
    std::erase(text, '\n');
    text += "\r\n";
    std::printf("one unbroken line of %.1f MB\n", static_cast<double>(text.size()) / (1 << 20));
    for (bool wrap : {true, false}) {
        ed.SetWordWrap(wrap);
        ed.SetColumn(70);
        ed.SetAllText(text);
        if (wrap)
            ed.GotoXY(5, ed.Lines().Count() / 2);
        else
            ed.GotoXY(static_cast<int32_t>(text.size() / 2), 0);
        PrintKeys(wrap ? "1,000 keystrokes, word wrap at 70" : "1,000 keystrokes, word wrap off",
                  Type(ed, 1000));
    }
}

template <class F>
void InChild(F measure) {
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        measure();
        std::fflush(stdout);
        _exit(0);
    }
    waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    // "long-line": only the unbroken line.
    if (argc < 2 || std::string(argv[1]) != "long-line") {
        InChild([] { Measure("~40-byte lines", false); });
        InChild([] { Measure("~400-byte lines", true); });
    }
    InChild(MeasureLongLine);
    return 0;
}
