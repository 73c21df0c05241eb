#include "dialogs/PrinterTextDevice.h"

#include <algorithm>
#include <vector>

#include "textstore/LineStore.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

constexpr std::string_view kControls{"\r\n\f\t\0", 5};

/// A run this short is measured whole first: most lines fit as they are.
constexpr size_t kWholeRunCheck = 4096;

}  // namespace

size_t CharEnd(std::string_view cp932, size_t pos) {
    return pos +
           (IsLeadByte(static_cast<unsigned char>(cp932[pos])) && pos + 1 < cp932.size() ? 2 : 1);
}

void PrinterTextDevice::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const size_t stop = std::min(bytes.find_first_of(kControls), bytes.size());
        run_.append(bytes.substr(0, stop));
        if (stop == bytes.size()) return;
        const char control = bytes[stop];
        bytes.remove_prefix(stop + 1);
        Flush();
        if (control == '\n') NewLine();
        if (control == '\f') NewPage();
        if (control == '\t') Tab();
        // CR only ends the run; NUL (the document's end marker) draws nothing.
    }
}

void PrinterTextDevice::Close() {
    Flush();
}

void PrinterTextDevice::Flush() {
    if (run_.empty()) return;
    DrawRun(run_);
    run_.clear();
}

void PrinterTextDevice::DrawRun(std::string_view run) {
    while (!run.empty()) {
        size_t n = FittingHead(run, canvas_.PageWidth() - x_);
        // A character wider than the paper is printed cut off by its edge;
        // waiting for a line wide enough would start new lines without end.
        if (n == 0 && x_ == 0) n = CharEnd(run, 0);
        if (n > 0) {
            const std::string_view head = run.substr(0, n);
            if (pageStartPending_) {
                canvas_.NewPage();
                pageStartPending_ = false;
            }
            canvas_.TextOut(x_, y_, head);
            // One font draws every run, so each is as tall as its characters.
            lineHeight_ = std::max(lineHeight_, canvas_.CharHeight() + 2);
            x_ += canvas_.TextWidth(head);
            run.remove_prefix(n);
        }
        if (!run.empty()) NewLine();
    }
}

size_t PrinterTextDevice::FittingHead(std::string_view run, int room) const {
    if (room <= 0) return 0;
    if (run.size() <= kWholeRunCheck && canvas_.TextWidth(run) <= room) return run.size();
    std::vector<size_t> ends;  // ends[i]: the bytes of the first i + 1 characters
    auto bytesOf = [&](size_t chars) -> size_t {
        while (ends.size() < chars && (ends.empty() ? 0 : ends.back()) < run.size())
            ends.push_back(CharEnd(run, ends.empty() ? 0 : ends.back()));
        return chars == 0 ? 0 : ends[std::min(chars, ends.size()) - 1];
    };
    auto fits = [&](size_t chars) {
        return canvas_.TextWidth(run.substr(0, bytesOf(chars))) <= room;
    };
    // The cut lands where taking back one character at a time would stop,
    // found by doubling out to a head too wide and halving the gap, so that
    // a line of megabytes is not measured once per character.
    size_t good = 0, bad = 1;
    while (fits(bad)) {
        good = bad;
        if (bytesOf(bad) == run.size()) return run.size();
        bad *= 2;
    }
    while (bad - good > 1) {
        const size_t mid = good + (bad - good) / 2;
        (fits(mid) ? good : bad) = mid;
    }
    return bytesOf(good);
}

void PrinterTextDevice::Tab() {
    const int w = std::max(1, 8 * canvas_.AveCharWidth());
    x_ = x_ + w - ((x_ + w + 1) % w) + 1;
    if (x_ > canvas_.PageWidth()) NewLine();
}

void PrinterTextDevice::NewLine() {
    const int height = lineHeight_ > 0 ? lineHeight_ : canvas_.CharHeight();
    x_ = 0;
    y_ += height;
    lineHeight_ = 0;
    if (y_ > canvas_.PageHeight() - 2 * height) NewPage();
}

void PrinterTextDevice::NewPage() {
    // A page passed over without drawing on it still comes out, blank.
    if (pageStartPending_) canvas_.NewPage();
    pageStartPending_ = true;
    x_ = 0;
    y_ = 0;
    lineHeight_ = 0;
}

void PrintLines(const TVellStrings& lines, PrinterTextDevice& device) {
    for (int32_t i = 0; i < lines.Count(); ++i)
        device.Write(lines.View(i));
}

}  // namespace tw
