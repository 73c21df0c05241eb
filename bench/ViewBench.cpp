// Times the editor view: a full repaint of a 50-row window of Japanese text,
// keystrokes with their repaint at the start, middle and end of a 100 MB text
// with word wrap, a jump to the middle with its repaint, and keystrokes in the
// middle of one unbroken 10 MB line (150,000 rows at column 70). Once on a
// surface that only counts (the view's own cost) and once on the Qt image
// surface.
//   tw_bench_view [MB]          the whole run, MB the size of the big text
//   tw_bench_view long-line     only the unbroken line
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>

#include "SjisTextGenerator.h"
#include "editor/VellView.h"
#include "editor/qt/VellEditWidget.h"
#include "headless/HeadlessPlatform.h"
#include "headless/RecordingSurface.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tw;

/// Draws nothing; the cost left is the view's own.
class CountingSurface : public ISurface {
  public:
    void FillRect(const PixelRect&, TColor) override { ++calls; }
    void TextOut(int, int, const PixelRect&, std::string_view s, TColor, TColor, bool) override {
        ++calls;
        bytes += s.size();
    }
    void Line(int, int, int, int, TColor) override { ++calls; }
    void Pixel(int, int, TColor) override { ++calls; }
    void ScrollRect(const PixelRect&, int, int) override { ++calls; }
    void SetXorMode(bool) override {}
    void SetUnderline(bool) override {}
    void SetClip(const PixelRect*) override {}
    size_t calls = 0, bytes = 0;
};

struct Stats {
    double p50, p99, max;
};

Stats Measure(int n, const std::function<void()>& step) {
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        const auto a = Clock::now();
        step();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - a).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.back()};
}

void Report(const char* surface, const char* what, const Stats& s) {
    std::printf("%-8s %-34s p50 %7.3f ms  p99 %7.3f ms  max %7.3f ms\n", surface, what, s.p50,
                s.p99, s.max);
}

/// The same runs on any view over an editor that holds `text`.
void Run(const char* name, TVellEdit& ed, TVellView& view, const std::string& small,
         const std::string& big) {
    ed.SetWordWrap(true);
    ed.SetAllText(small);
    Report(name, "full repaint, 50 rows", Measure(200, [&] { view.DrawAll(); }));

    const auto t0 = Clock::now();
    ed.SetAllText(big);
    std::printf("%-8s loaded %zu MB with word wrap in %.0f ms (%d rows)\n", name, big.size() >> 20,
                std::chrono::duration<double, std::milli>(Clock::now() - t0).count(),
                ed.Lines().Count());
    const int32_t rows = ed.Lines().Count();
    const std::pair<const char*, int32_t> places[] = {{"keystroke+repaint at start", 0},
                                                      {"keystroke+repaint in the middle", rows / 2},
                                                      {"keystroke+repaint at the end", rows - 1}};
    for (auto [what, row] : places) {
        ed.GotoXY(0, row, ScrollMode::Center);
        const size_t before = ed.UndoList().size();
        Report(name, what, Measure(300, [&] { view.CharTyped('a'); }));
        if (ed.UndoList().size() == before) std::printf("%-8s   (nothing was typed!)\n", name);
    }
    int k = 0;
    Report(name, "jump to the middle + repaint", Measure(50, [&] {
               ed.GotoXY(0, rows / 2 + (k++ % 7) * 1000, ScrollMode::Center);
               view.DrawAll();
           }));
}

/// One logical line of 10 MB, wrapped at the default column: every row of
/// it is a piece of the same line, so whatever a repaint scans from the
/// start of its line runs through megabytes. Unwrapped, it is one row of
/// 10 MB that every keystroke changes.
void RunLongLine(const char* name, TVellEdit& ed, TVellView& view, bool wrap) {
    std::string text = bench::GenerateSjisText(size_t(10) << 20, 13);
    std::erase(text, '\r');
    std::erase(text, '\n');
    text += "\r\n";
    ed.SetWordWrap(wrap);
    ed.SetColumn(70);
    ed.SetAllText(text);
    const int32_t rows = ed.Lines().Count();
    if (wrap)
        ed.GotoXY(0, rows / 2, ScrollMode::Center);
    else
        ed.GotoXY(static_cast<int32_t>(text.size() / 2), 0, ScrollMode::Center);
    view.DrawAll();
    const size_t before = ed.UndoList().size();
    Report(name, wrap ? "keystroke+repaint mid 10 MB line" : "  the same, word wrap off",
           Measure(300, [&] { view.CharTyped('a'); }));
    if (ed.UndoList().size() == before) std::printf("%-8s   (nothing was typed!)\n", name);
    std::printf("%-8s   (%d rows, one logical line)\n", name, rows);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const bool longLineOnly = argc > 1 && std::string(argv[1]) == "long-line";
    const size_t bigBytes =
        argc > 1 && !longLineOnly ? std::strtoull(argv[1], nullptr, 10) << 20 : size_t(100) << 20;
    const std::string small = bench::GenerateSjisText(64 << 10, 7);
    {
        test::FixedMetrics metrics;
        test::MemoryClipboard clipboard;
        test::RecordingMessageBox messages;
        CountingSurface surface;
        test::FakeCaret caret;
        test::FakeScrollBar vbar, hbar;
        test::FakeKeyboard keys;
        test::FakeWindowHost host;
        TVellEdit ed(EditorServices{&metrics, &clipboard, &messages, nullptr});
        TVellView view(
            ed, ViewServices{&metrics, &surface, &caret, &vbar, &hbar, &keys, &host, nullptr});
        view.CreateView(800, 4 + 50 * 16);
        RunLongLine("headless", ed, view, true);
        RunLongLine("headless", ed, view, false);
        if (!longLineOnly) Run("headless", ed, view, small, bench::GenerateSjisText(bigBytes, 11));
        surface.calls = surface.bytes = 0;
        view.DrawAll();
        std::printf("headless one full repaint: %zu surface calls, %zu bytes of text\n",
                    surface.calls, surface.bytes);
    }
    {
        VellEditWidget w;
        w.resize(800 + 20, 4 + 50 * w.Edit().Viewport().RowHeight + 20);
        w.show();
        QApplication::processEvents();
        std::printf("qt       window of %d rows\n", w.Edit().Viewport().PageLines);
        RunLongLine("qt", w.Edit(), w.View(), true);
        RunLongLine("qt", w.Edit(), w.View(), false);
        if (!longLineOnly)
            Run("qt", w.Edit(), w.View(), small, bench::GenerateSjisText(bigBytes, 11));
    }
    return 0;
}
