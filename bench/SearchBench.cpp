// Times the search walk of the editor with the document window's match test
// through 100 MB of Shift-JIS text, and replace runs of 10,000 hits, against
// vim doing the same on the same file. Every count is checked: a search that
// is fast because it misses hits, or finds false ones, fails the run.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "SjisTextGenerator.h"
#include "editor/VellEdit.h"
#include "headless/HeadlessPlatform.h"
#include "search/FindMatch.h"
#include "search/ReplaceHit.h"

namespace {

using tw::bench::Clock;
using tw::bench::Median;
using tw::bench::Seconds;

constexpr const char* kRare = "Tarnwick";
constexpr const char* kReplacement = "TW-EDITOR";

/// The text with `n` copies of the rare string at random line starts.
std::string SeededText(size_t bytes, int n, uint32_t seed) {
    const std::string base = tw::bench::GenerateSjisText(bytes, seed);
    std::mt19937 rng(seed);
    std::vector<size_t> starts;
    for (int i = 0; i < n; ++i) {
        const size_t p = base.find("\r\n", rng() % base.size());
        starts.push_back(p == std::string::npos ? 0 : p + 2);
    }
    std::sort(starts.begin(), starts.end());
    std::string text;
    text.reserve(base.size() + n * std::strlen(kRare));
    size_t done = 0;
    for (size_t p : starts) {
        text.append(base, done, p - done).append(kRare);
        done = p;
    }
    return text.append(base, done);
}

size_t CountOf(const std::string& text, std::string_view s) {
    size_t n = 0;
    for (size_t p = text.find(s); p != std::string::npos; p = text.find(s, p + s.size()))
        ++n;
    return n;
}

/// One document window around an editor: its match test, hit handler and
/// no-hit handler, wired as the window wires them.
struct Document {
    tw::test::RecordingMessageBox messages;
    tw::test::MemoryClipboard clipboard;
    tw::test::FixedMetrics metrics;
    tw::TVellEdit ed{tw::EditorServices{&metrics, &clipboard, &messages, nullptr}};
    tw::FindOptions options;
    tw::TFindMatcher matcher{options};
    tw::ReplaceState state;
    bool replacing = false;
    int hits = 0;

    explicit Document(const std::string& text) {
        ed.SetWordWrap(true);
        ed.SetAllText(text);
        ed.OnFind = [this](tw::TVellEdit&, std::string_view s, std::string_view f, int32_t i,
                           int32_t& x, int32_t& len) { matcher.Match(s, f, i, x, len); };
        ed.OnFindCandidate = [this](tw::TVellEdit& e, std::string_view f, int32_t from,
                                    int32_t last) {
            return matcher.CandidateRow(e.Lines(), f, from, last);
        };
        ed.OnFindHit = [this](tw::TVellEdit& e, std::string_view f, int32_t x, int32_t y,
                              int32_t len, int32_t) {
            ++hits;
            HandleFindHit(e, matcher, state, messages, replacing, 0xFF0000,
                          tw::FindHit{f, x, y, len});
        };
        ed.OnFindNoHit = [this](tw::TVellEdit&, std::string_view) { matcher.NoHit = true; };
    }

    /// "Search down" from the top, or a replace-all run of the replace
    /// dialog when `replacing`: searches until one finds nothing.
    void RunDown(std::string_view find, bool caseSensitive) {
        options = {};
        options.CaseSensitive = caseSensitive;
        options.SearchDown = true;
        matcher.ResetLastHit();
        matcher.NoHit = false;
        ed.GotoXY(0, 0);
        ed.SetFindText(find);
        while (!matcher.NoHit)
            ed.FindNext();
    }
};

/// Wall time of vim running `commands` on `file`, with what it reported.
double TimeVim(const std::string& file, const std::vector<std::string>& commands,
               std::string& report) {
    const std::string out = file + ".vim";
    std::vector<std::string> args = {"vim", "-u", "NONE", "-N", "-n", "-i", "NONE", "-es"};
    args.insert(args.end(), {"-c", "redir! > " + out});
    for (const std::string& c : commands)
        args.insert(args.end(), {"-c", c});
    args.insert(args.end(), {"-c", "redir END", "-c", "q!", file});
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execvp("vim", argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double t = Seconds(t0, Clock::now());
    std::stringstream ss;
    ss << std::ifstream(out).rdbuf();
    report = ss.str();
    report.erase(std::remove(report.begin(), report.end(), '\n'), report.end());
    std::remove(out.c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) != 127 ? t : -1;
}

bool Check(bool ok, const char* what) {
    if (!ok) std::printf("  FAILED: %s\n", what);
    return ok;
}

/// Net vim time: the commands' run less the time vim takes to load the file.
double VimNet(const std::string& file, const std::vector<std::string>& commands,
              std::string& report, double load) {
    std::vector<double> runs;
    for (int i = 0; i < 3; ++i)
        runs.push_back(TimeVim(file, commands, report));
    if (load < 0 || Median(runs) < 0) return -1;
    return Median(runs) - load;
}

/// vim's count, when there is a vim to ask.
bool VimAgrees(double vim, const std::string& report, const std::string& expected) {
    if (vim < 0) return true;
    return Check(report.find(expected) != std::string::npos, "vim counted the same hits");
}

bool SearchFigures(const std::string& file, const std::string& text, int seeded, double vimLoad) {
    Document doc(text);
    bool ok = true;
    for (bool cs : {true, false}) {
        std::vector<double> times;
        for (int i = 0; i < 3; ++i) {
            doc.hits = 0;
            const auto t0 = Clock::now();
            doc.RunDown(cs ? kRare : "tARNWICK", cs);
            times.push_back(Seconds(t0, Clock::now()));
        }
        std::string report;
        const double vim =
            VimNet(file, {cs ? "%s/Tarnwick//gn" : "%s/\\ctARNWICK//gn"}, report, vimLoad);
        const double ours = Median(times);
        std::printf("search 100 MB, %-16s %7d hits %8.3f s   vim %8.3f s (%s)   vim/us %6.1f\n",
                    cs ? "case-sensitive" : "case-insensitive", doc.hits, ours, vim, report.c_str(),
                    vim / ours);
        ok &= Check(doc.hits == seeded, "every seeded hit found once, no false hit");
        ok &= VimAgrees(vim, report, std::to_string(seeded) + " match");
    }
    return ok;
}

bool ReplaceFigures(const std::string& file, const std::string& text, int seeded, double vimLoad) {
    const std::string expected = [&] {
        std::string s = text;
        for (size_t p = s.find(kRare); p != std::string::npos;
             p = s.find(kRare, p + std::strlen(kReplacement)))
            s.replace(p, std::strlen(kRare), kReplacement);
        return s;
    }();
    Document doc(text);
    doc.replacing = true;
    doc.state.ReplaceText = kReplacement;
    auto t0 = Clock::now();
    doc.RunDown(kRare, true);
    const double dialog = Seconds(t0, Clock::now());
    bool ok = Check(doc.ed.GetAllText() == expected, "replace run gives the plain replacement");

    Document own(text);
    own.ed.SetFindText(kRare);
    own.ed.FindWalk().SetReplaceText(kReplacement);
    t0 = Clock::now();
    own.ed.FindForward(true);
    const double engine = Seconds(t0, Clock::now());
    ok &= Check(own.ed.GetAllText() == expected, "replace mode gives the plain replacement");

    std::string report;
    const double vim =
        VimNet(file, {std::string("%s/") + kRare + "/" + kReplacement + "/g"}, report, vimLoad);
    std::printf("replace all, %d hits: vim %.3f s (%s)\n", seeded, vim, report.c_str());
    std::printf("  the replace dialog's run, hit handler   %8.3f s   vim/us %6.1f\n", dialog,
                vim / dialog);
    std::printf("  the control's own replace mode           %8.3f s   vim/us %6.1f\n", engine,
                vim / engine);
    ok &=
        Check(doc.hits == seeded && own.ed.FindWalk().HitCount() == seeded, "10,000 replacements");
    ok &= VimAgrees(vim, report, std::to_string(seeded) + " substitutions");
    return ok;
}

/// "From the top" replace runs restart the walk at the first row for every
/// hit, so they grow with hits x rows; a smaller text shows the rate.
bool FromTopFigures(int hits) {
    const std::string text = SeededText(2u << 20, hits, 7);
    Document doc(text);
    doc.replacing = true;
    doc.state.ReplaceText = kReplacement;
    doc.options.SearchFromTop = true;
    doc.ed.SetFindText(kRare);
    const auto t0 = Clock::now();
    for (doc.matcher.NoHit = false; !doc.matcher.NoHit;)
        doc.ed.FindFirst();
    std::printf("replace all from the top, 2 MB, %d hits: %8.3f s\n", doc.hits,
                Seconds(t0, Clock::now()));
    return Check(
        doc.hits == hits && CountOf(doc.ed.GetAllText(), kReplacement) == static_cast<size_t>(hits),
        "every hit replaced once from the top");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "/tmp";
    const std::string file = dir + "/tw-bench-search.txt";
    bool ok = true;
    for (int seeded : {200, 10000}) {
        const std::string text = SeededText(100u << 20, seeded, 20261208);
        ok &= Check(CountOf(text, kRare) == static_cast<size_t>(seeded), "seeding");
        std::ofstream(file, std::ios::binary).write(text.data(), static_cast<long>(text.size()));
        std::vector<double> loads;
        std::string report;
        for (int i = 0; i < 3; ++i)
            loads.push_back(TimeVim(file, {}, report));
        const double vimLoad = Median(loads);
        std::printf("vim loads the 100 MB file in %.3f s (subtracted below)\n", vimLoad);
        if (seeded == 200)
            ok &= SearchFigures(file, text, seeded, vimLoad);
        else
            ok &= ReplaceFigures(file, text, seeded, vimLoad);
        std::remove(file.c_str());
    }
    ok &= FromTopFigures(1000);
    return ok ? 0 : 1;
}
