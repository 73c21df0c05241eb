// The program side by side with the editors a Linux user would pick instead:
// QScintilla, Qt's QPlainTextEdit and vim, on the same generated Shift-JIS
// files. Every run is a fresh process (this binary again, or vim), so each
// peak and each count of page faults belongs to one editor on one file.
//   tw_bench_peers [--dir DIR] [--runs N] [--sizes 10,100,1024] [--shapes 40,400]
//                  [--peers us,store,qsci,plain,vim] [--timeout SECONDS] [--no-wrap PEERS]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "PeerEditors.h"
#include "SjisTextGenerator.h"
#include "editor/VellEdit.h"
#include "headless/HeadlessPlatform.h"
#include "settings/ApplySettings.h"
#include "textstore/DocumentReader.h"

namespace {

using tw::bench::Clock;
using tw::bench::Median;
using tw::bench::Seconds;
using Values = std::map<std::string, double>;

// What the files hold to search for. Real hits come in two spellings; the
// traps are katakana whose trail byte spells the start of the word: サ is
// 83 54 ("T") and フ is 83 74 ("t"). A search that walks bytes rather than
// characters counts them too.
constexpr const char* kSeeds[] = {"Tarnwick", "tarnWICK",
                                  "\x83\x54"
                                  "arnwick",
                                  "\x83\x74"
                                  "ARNWICK",
                                  "Quillon"};
constexpr int kEachSeed = 100;
// "Quillon" is there to be replaced: 10,000 times.
constexpr int kReplaceHits = 10000;
constexpr int kTrueMatchCase = kEachSeed;    // "Tarnwick"
constexpr int kTrueAnyCase = 2 * kEachSeed;  // "Tarnwick", "tarnWICK"
constexpr int kKeystrokes = 1000;

// ---- the files ---------------------------------------------------------------

/// Generated lines of ~40 bytes, joined by tens into ~400 when asked, with
/// "ソ" (83 5C) before every 50th break.
std::string Chunk(size_t bytes, uint32_t seed, int shape) {
    const std::string lines = tw::bench::GenerateSjisText(bytes, seed);
    std::string out;
    out.reserve(lines.size() + lines.size() / 800);
    size_t done = 0, n = 0;
    for (size_t p = lines.find("\r\n"); p != std::string::npos; p = lines.find("\r\n", done)) {
        out.append(lines, done, p - done);
        ++n;
        if (n % 50 == 0) out += "\x83\x5C";
        if (shape != 400 || n % 10 == 0) out += "\r\n";
        done = p + 2;
    }
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    return out;
}

/// `items` seeds put at random line starts of `text`.
std::string Seeded(const std::string& text, const std::vector<int>& items, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::pair<size_t, int>> at;
    for (int item : items) {
        const size_t p = text.find("\r\n", rng() % text.size());
        at.push_back({p == std::string::npos ? 0 : p + 2, item});
    }
    std::sort(at.begin(), at.end());
    std::string out;
    out.reserve(text.size() + 16 * items.size());
    size_t done = 0;
    for (const auto& [p, item] : at) {
        out.append(text, done, p - done).append(kSeeds[item]);
        done = p;
    }
    return out.append(text, done);
}

std::string FileName(const std::string& dir, int mb, int shape, bool utf8) {
    return dir + "/tw-peers-" + std::to_string(mb) + "mb-" + std::to_string(shape) +
           (utf8 ? ".utf8.txt" : ".sjis.txt");
}

bool Exists(const std::string& file) {
    struct stat st {};
    return stat(file.c_str(), &st) == 0 && st.st_size > 0;
}

/// The Shift-JIS file and its UTF-8 twin, made once and kept in the folder.
void MakeFiles(const std::string& dir, int mb, int shape) {
    const std::string sjis = FileName(dir, mb, shape, false), utf8 = FileName(dir, mb, shape, true);
    if (Exists(sjis) && Exists(utf8)) return;
    std::printf("making %s and its UTF-8 twin\n", sjis.c_str());
    std::fflush(stdout);
    const size_t total = size_t(mb) << 20, piece = std::min<size_t>(total, 32u << 20);
    const size_t pieces = (total + piece - 1) / piece;
    std::ofstream a(sjis + ".part", std::ios::binary), b(utf8 + ".part", std::ios::binary);
    for (size_t i = 0; i < pieces; ++i) {
        std::vector<int> items;
        for (int j = 0; j < 4 * kEachSeed; ++j)
            if (size_t(j) * pieces / (4 * kEachSeed) == i) items.push_back(j % 4);
        for (int j = 0; j < kReplaceHits; ++j)
            if (size_t(j) * pieces / kReplaceHits == i) items.push_back(4);
        const std::string text = Seeded(Chunk(piece, 20261209 + uint32_t(i), shape), items, i);
        a.write(text.data(), std::streamsize(text.size()));
        const QByteArray u = QString::fromStdU16String(tw::bench::DecodeSjis(text)).toUtf8();
        b.write(u.constData(), u.size());
    }
    a.close();
    b.close();
    std::rename((sjis + ".part").c_str(), sjis.c_str());
    std::rename((utf8 + ".part").c_str(), utf8.c_str());
}

// ---- inside a child: one editor, one file ----------------------------------

struct Percentiles {
    double p50 = 0, p99 = 0;
};

Percentiles Of(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)]};
}

double TimeIt(const std::function<void()>& work) {
    const auto t0 = Clock::now();
    work();
    return Seconds(t0, Clock::now());
}

void Emit(const char* key, double value) {
    std::printf("%s %.6f\n", key, value);
}

/// The whole workload on one editor: open, type, undo, search, jump, close.
void Workload(tw::bench::PeerEditor& peer, const std::string& file, bool utf8) {
    peer.Prepare(file, utf8, false);
    Emit("base_mb", tw::bench::ResidentMb());
    Emit("open", TimeIt([&] { peer.Open(); }));
    Emit("rows", double(peer.Rows()));
    peer.CaretToMiddle();
    peer.Repaint();
    const std::string before = peer.MiddleLine();
    // An editor that needs far more than a millisecond a key gets ten
    // seconds of typing, and undoes as many keys as it took.
    std::vector<double> key, painted;
    const auto start = Clock::now();
    for (int i = 0; i < kKeystrokes && Seconds(start, Clock::now()) < 10; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        const auto t0 = Clock::now();
        QApplication::sendEvent(peer.KeyTarget(), &press);
        const auto t1 = Clock::now();
        peer.Repaint();
        key.push_back(Seconds(t0, t1) * 1e3);
        painted.push_back(Seconds(t0, Clock::now()) * 1e3);
    }
    const Percentiles k = Of(key), p = Of(painted);
    Emit("keys", double(key.size()));
    Emit("key_p50", k.p50);
    Emit("key_p99", k.p99);
    Emit("paint_p50", p.p50);
    Emit("paint_p99", p.p99);
    Emit("typed", peer.MiddleLine() != before);
    Emit("undo", TimeIt([&] {
             for (size_t i = 0; i < key.size(); ++i)
                 peer.Undo();
             peer.Repaint();
         }));
    Emit("undone", peer.MiddleLine() == before);
    int hits = 0;
    Emit("find_case", TimeIt([&] { hits = peer.CountHits("Tarnwick", true); }));
    Emit("hits_case", hits);
    Emit("find_any", TimeIt([&] { hits = peer.CountHits("tARNWICK", false); }));
    Emit("hits_any", hits);
    Emit("replace", TimeIt([&] { hits = peer.ReplaceAll("Quillon", "TW-EDITOR"); }));
    Emit("replaced", hits);
    peer.CaretToTop();
    Emit("jump", TimeIt([&] {
             peer.JumpToMiddle();
             peer.Repaint();
         }));
    Emit("close", TimeIt([&] { peer.Close(); }));
}

/// The document store alone: the loader and the engine's rows, no window.
void StoreLoad(const std::string& file) {
    tw::test::RecordingMessageBox messages;
    tw::test::MemoryClipboard clipboard;
    tw::test::FixedMetrics metrics;
    tw::TVellEdit ed(tw::EditorServices{&metrics, &clipboard, &messages, nullptr});
    tw::ApplySettings(ed, tw::OptionData{}, [](tw::TVellEdit&) {});
    Emit("base_mb", tw::bench::ResidentMb());
    Emit("open", TimeIt([&] {
             tw::DocumentReader reader(file);
             ed.SetAllText([&reader] { return reader.Next(); }, size_t(reader.Size()));
         }));
    Emit("rows", ed.Lines().Count());
}

/// `kind`: "open" for the whole workload, "wrap" for a wrapped open alone,
/// "first" for an open alone (for profiling).
int RunChild(const std::string& peerName, const std::string& file, bool utf8,
             const std::string& kind, const std::string& scratch) {
    if (peerName == "store") {
        StoreLoad(file);
        return 0;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "tw_bench_peers";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    std::unique_ptr<tw::bench::PeerEditor> peer =
        peerName == "us"     ? tw::bench::MakeOwnEditor(scratch)
        : peerName == "qsci" ? tw::bench::MakeScintillaEditor()
                             : tw::bench::MakePlainTextEditor();
    if (!peer) return 3;
    if (kind == "open") {
        Workload(*peer, file, utf8);
        return 0;
    }
    const bool wrapped = kind == "wrap";
    peer->Prepare(file, utf8, true);
    Emit(wrapped ? "wrap" : "open", TimeIt([&] { peer->Open(); }));
    Emit("wrap_done", peer->Rows() >= 0);
    Emit(wrapped ? "wrap_rows" : "rows", double(peer->Rows()));
    return 0;
}

// ---- in the parent: fresh processes, their figures and their costs ---------

struct Run {
    Values values;
    bool ok = false;
};

/// Reads `key value` lines from a child until it ends or runs out of time;
/// its peak resident memory and minor faults come from the kernel.
Run Collect(pid_t pid, int fd, double timeout, const char* peakKey) {
    Run r;
    std::string out;
    const auto t0 = Clock::now();
    char buf[4096];
    bool open = true;
    while (open && Seconds(t0, Clock::now()) < timeout) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 200) > 0) {
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n <= 0)
                open = false;
            else
                out.append(buf, size_t(n));
        }
    }
    if (open) kill(pid, SIGKILL);
    close(fd);
    int status = 0;
    rusage use{};
    wait4(pid, &status, 0, &use);
    std::istringstream in(out);
    std::string key;
    double value;
    while (in >> key >> value)
        r.values[key] = value;
    r.values[std::string(peakKey) + "_peak_mb"] = use.ru_maxrss / 1024.0;
    r.values[std::string(peakKey) + "_minflt"] = double(use.ru_minflt);
    r.ok = !open && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

pid_t Spawn(const std::vector<std::string>& args, int& outFd, bool utf8Locale) {
    int fds[2];
    if (pipe(fds) != 0) std::exit(1);
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        close(fds[0]);
        close(fds[1]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        if (utf8Locale) setenv("LC_ALL", "C.UTF-8", 1);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    outFd = fds[0];
    return pid;
}

/// vim's share of the workload, timed by vim itself with reltime(); it has
/// no screen in -es mode, so nothing is painted or wrapped.
const char* kVimScript = R"(let s:r = {'open': reltimefloat(reltime(g:t0))}
let s:r.rows = line('$')
let s:mid = line('$') / 2
call cursor(s:mid, 1)
let s:before = getline(s:mid)
let s:k = []
for s:i in range(1000)
  let s:t = reltime()
  exe "normal! ia"
  call add(s:k, reltimefloat(reltime(s:t)) * 1000)
endfor
call sort(s:k, 'f')
let s:r.keys = len(s:k)
let s:r.key_p50 = s:k[500]
let s:r.key_p99 = s:k[990]
let s:r.typed = getline(s:mid) !=# s:before
let s:t = reltime()
for s:i in range(1000)
  silent! undo
endfor
let s:r.undo = reltimefloat(reltime(s:t))
let s:r.undone = getline(s:mid) ==# s:before
for [s:key, s:pat] in [['case', '\CTarnwick'], ['any', '\ctARNWICK']]
  let s:t = reltime()
  redir => s:out
  exe 'silent! %s/' . s:pat . '//gn'
  redir END
  let s:r['find_' . s:key] = reltimefloat(reltime(s:t))
  let s:r['hits_' . s:key] = str2nr(matchstr(s:out, '\d\+'))
endfor
let s:t = reltime()
silent! %s/\CQuillon/TW-EDITOR/ge
let s:r.replace = reltimefloat(reltime(s:t))
redir => s:out
silent! %s/TW-EDITOR//gn
redir END
let s:r.replaced = str2nr(matchstr(s:out, '\d\+'))
normal! gg
let s:t = reltime()
exe 'normal! ' . s:mid . 'G'
let s:r.jump = reltimefloat(reltime(s:t))
call writefile(map(items(s:r), 'v:val[0] . " " . string(v:val[1] + 0.0)'), g:out)
qa!
)";

Run RunVim(const std::string& file, bool utf8, const std::string& dir, double timeout) {
    const std::string script = dir + "/tw-peers-vim.vim", out = dir + "/tw-peers-vim.out";
    std::ofstream(script) << kVimScript;
    std::remove(out.c_str());
    int fd = -1;
    const pid_t pid = Spawn(
        {"vim", "-u", "NONE", "-N", "-n", "-i", "NONE", "-es", "--cmd", "let g:t0 = reltime()",
         "--cmd", std::string("set fencs=") + (utf8 ? "utf-8" : "cp932"), "--cmd",
         "let g:out = '" + out + "'", "-S", script, file},
        fd, true);
    Run r = Collect(pid, fd, timeout, "run");
    std::ifstream in(out);
    std::string key;
    double value;
    while (in >> key >> value)
        r.values[key] = value;
    r.ok = r.values.count("jump") > 0;
    return r;
}

struct Options {
    std::string dir = "/tmp";
    int runs = 5;
    std::vector<int> sizes = {10, 100, 1024};
    std::vector<int> shapes = {40, 400};
    std::vector<std::string> peers = {"us", "store", "qsci", "plain", "vim"};
    /// Peers whose wrapped open is known to pass a minute at these sizes.
    std::vector<std::string> noWrap;
    double timeout = 300;
};

/// One configuration of one peer, `runs` times, each figure the median.
struct Row {
    std::string label;
    Values median;
    int runs = 0;
    bool ok = false;
};

Row Measure(const Options& o, const std::string& self, const std::string& peer,
            const std::string& file, bool utf8, bool wrap) {
    Row row;
    row.label = peer + (peer == "us" || peer == "store" ? "" : utf8 ? " decoded" : " bytes");
    std::map<std::string, std::vector<double>> all;
    for (int i = 0; i < o.runs; ++i) {
        std::vector<Run> runs;
        if (peer == "vim") {
            runs.push_back(RunVim(file, utf8, o.dir, o.timeout));
        } else {
            for (const char* kind : {"open", "wrap"}) {
                if ((peer == "store" || !wrap) && std::strcmp(kind, "wrap") == 0) continue;
                int fd = -1;
                const pid_t pid = Spawn({self, "--child", peer, file, utf8 ? "utf8" : "sjis", kind,
                                         o.dir + "/tw-peers-home"},
                                        fd, false);
                runs.push_back(
                    Collect(pid, fd, o.timeout, kind == std::string("open") ? "run" : "wrap"));
            }
        }
        bool ok = true;
        for (const Run& r : runs) {
            ok &= r.ok;
            for (const auto& [k, v] : r.values)
                all[k].push_back(v);
        }
        if (!ok) {
            std::printf("  %s on %s: a run failed or ran out of time\n", row.label.c_str(),
                        file.c_str());
            return row;
        }
        ++row.runs;
    }
    for (const auto& [k, v] : all)
        row.median[k] = Median(v);
    row.ok = true;
    return row;
}

double Get(const Row& r, const char* key) {
    const auto it = r.median.find(key);
    return it == r.median.end() ? std::nan("") : it->second;
}

void PrintTable(const std::vector<Row>& rows, int mb, int shape, int runs) {
    std::printf("\n%d MB, ~%d-byte lines, medians of %d runs (times in s, key and jump in ms)\n",
                mb, shape, runs);
    std::printf(
        "%-14s %7s %7s %8s %7s %8s %9s %6s %6s %6s %6s %6s %6s %5s %6s %5s %6s %6s %6s %6s\n",
        "peer", "open", "wrap72", "wrapMB", "peakMB", "x file", "minflt", "key50", "key99",
        "+pnt50", "+pnt99", "undo", "f.case", "hits", "f.any", "hits", "false", "repl", "jump",
        "close");
    for (const Row& r : rows) {
        if (!r.ok) {
            std::printf("%-14s (did not finish)\n", r.label.c_str());
            continue;
        }
        const double falseHits =
            Get(r, "hits_case") - kTrueMatchCase + Get(r, "hits_any") - kTrueAnyCase;
        std::printf(
            "%-14s %7.3f %7.3f %8.0f %7.0f %8.2f %9.0f %6.3f %6.3f %6.3f %6.3f %6.3f %6.3f %5.0f "
            "%6.3f %5.0f %6.0f %6.3f %6.2f %6.3f\n",
            r.label.c_str(), Get(r, "open"), Get(r, "wrap"), Get(r, "wrap_peak_mb"),
            Get(r, "run_peak_mb"), Get(r, "run_peak_mb") / mb, Get(r, "run_minflt"),
            Get(r, "key_p50"), Get(r, "key_p99"), Get(r, "paint_p50"), Get(r, "paint_p99"),
            Get(r, "undo"), Get(r, "find_case"), Get(r, "hits_case"), Get(r, "find_any"),
            Get(r, "hits_any"), falseHits, Get(r, "replace"), Get(r, "jump") * 1e3,
            Get(r, "close"));
        if (Get(r, "wrap_done") == 0)
            std::printf("%-14s   (the wrapped open did not finish in a minute)\n", "");
        if (Get(r, "keys") < kKeystrokes)
            std::printf("%-14s   (typed %.0f keys in ten seconds, not %d)\n", "", Get(r, "keys"),
                        kKeystrokes);
        if (r.median.count("replaced") && Get(r, "replaced") != kReplaceHits)
            std::printf("%-14s   (replaced %.0f, not %d)\n", "", Get(r, "replaced"), kReplaceHits);
        if (Get(r, "undone") == 0 || Get(r, "typed") == 0)
            std::printf(
                "%-14s   (typing did not change the middle line, or 1,000 undos did not "
                "bring it back)\n",
                "");
    }
    std::fflush(stdout);
}

void PrintRatios(const std::vector<Row>& rows) {
    auto find = [&](const char* label) -> const Row* {
        for (const Row& r : rows)
            if (r.ok && r.label == label) return &r;
        return nullptr;
    };
    const Row* us = find("us");
    if (!us) return;
    const double open = Get(*us, "open");
    std::printf("  ratios to us:");
    for (const char* peer :
         {"vim bytes", "vim decoded", "qsci bytes", "qsci decoded", "plain bytes", "plain decoded"})
        if (const Row* r = find(peer)) std::printf("  %s open %.1fx", peer, Get(*r, "open") / open);
    if (const Row* s = find("store")) std::printf("  us/store %.2fx", open / Get(*s, "open"));
    if (const Row* q = find("qsci bytes"))
        std::printf("  wrap qsci/us %.1fx, memory us/qsci %.2f", Get(*q, "wrap") / Get(*us, "wrap"),
                    Get(*us, "wrap_peak_mb") / Get(*q, "wrap_peak_mb"));
    if (const Row* v = find("vim bytes"))
        std::printf("  search vim/us %.1fx (case) %.1fx (any)",
                    Get(*v, "find_case") / Get(*us, "find_case"),
                    Get(*v, "find_any") / Get(*us, "find_any"));
    if (const Row* v = find("vim bytes"))
        std::printf("  replace vim/us %.1fx", Get(*v, "replace") / Get(*us, "replace"));
    std::printf("\n");
    std::fflush(stdout);
}

std::vector<std::string> Split(const std::string& s) {
    std::vector<std::string> out;
    std::stringstream in(s);
    for (std::string part; std::getline(in, part, ',');)
        out.push_back(part);
    return out;
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i], value = argv[i + 1];
        if (flag == "--dir")
            o.dir = value;
        else if (flag == "--runs")
            o.runs = std::max(1, std::atoi(value.c_str()));
        else if (flag == "--timeout")
            o.timeout = std::atof(value.c_str());
        else if (flag == "--peers")
            o.peers = Split(value);
        else if (flag == "--no-wrap")
            o.noWrap = Split(value);
        else if (flag == "--sizes" || flag == "--shapes") {
            std::vector<int>& list = flag == "--sizes" ? o.sizes : o.shapes;
            list.clear();
            for (const std::string& v : Split(value))
                list.push_back(std::atoi(v.c_str()));
        }
    }
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 7 && std::string(argv[1]) == "--child")
        return RunChild(argv[2], argv[3], std::string(argv[4]) == "utf8", argv[5], argv[6]);
    const Options o = Parse(argc, argv);
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return 1;
    std::system(
        ("mkdir -p '" + o.dir + "/tw-peers-home' && chmod 700 '" + o.dir + "/tw-peers-home'")
            .c_str());
    const bool haveQsci = tw::bench::MakeScintillaEditor() != nullptr;
    // A peer whose open would pass a minute at the next size sits it out.
    std::map<std::string, double> perMb;
    std::map<std::string, double> wrapPerMb;
    for (int mb : o.sizes)
        for (int shape : o.shapes) {
            MakeFiles(o.dir, mb, shape);
            std::vector<Row> rows;
            for (const std::string& peer : o.peers) {
                if (peer == "qsci" && !haveQsci) continue;
                for (bool utf8 : {false, true}) {
                    if (utf8 && (peer == "us" || peer == "store")) continue;
                    const std::string key = peer + (utf8 ? "8" : "s") + std::to_string(shape);
                    if (perMb.count(key) && perMb[key] * mb > 60) {
                        std::printf("  %s %s skipped at %d MB: would take about %.0f s to open\n",
                                    peer.c_str(), utf8 ? "decoded" : "bytes", mb, perMb[key] * mb);
                        continue;
                    }
                    // Nor is a wrapped open that would pass a minute.
                    const bool wrap =
                        !(wrapPerMb.count(key) && wrapPerMb[key] * mb > 60) &&
                        std::find(o.noWrap.begin(), o.noWrap.end(), peer) == o.noWrap.end();
                    if (!wrap && peer != "vim" && peer != "store")
                        std::printf("  %s %s: wrapped open skipped at %d MB (about %.0f s)\n",
                                    peer.c_str(), utf8 ? "decoded" : "bytes", mb,
                                    wrapPerMb[key] * mb);
                    rows.push_back(
                        Measure(o, self, peer, FileName(o.dir, mb, shape, utf8), utf8, wrap));
                    if (rows.back().ok) perMb[key] = Get(rows.back(), "open") / mb;
                    if (Get(rows.back(), "wrap_done") == 0)
                        wrapPerMb[key] = 1e9;
                    else if (Get(rows.back(), "wrap") > 0)
                        wrapPerMb[key] = Get(rows.back(), "wrap") / mb;
                }
            }
            PrintTable(rows, mb, shape, o.runs);
            PrintRatios(rows);
        }
    return 0;
}
