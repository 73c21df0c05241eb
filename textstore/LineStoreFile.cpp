// Loading the line store from files and saving it back.

#include <cstring>

#include "textstore/EntryArena.h"
#include "textstore/InputFile.h"
#include "textstore/LineStore.h"
#include "textstore/SafeFileWriter.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

constexpr size_t kCrLfBlock = 8192;
constexpr size_t kBreakBlock = 16384;
constexpr char kCtrlZ = 0x1A;

bool HasCrLf(std::string_view s) {
    return s.find(kCrLf) != std::string_view::npos;
}

void EraseByte(std::string& s, char c) {
    std::erase(s, c);
}

}  // namespace

int DetectLineBreak(const std::string& fileName) {
    InputFile file(fileName);
    char buf[1024 + 1];
    size_t n = 0;
    while (n < 1024) {
        size_t r = file.Read(buf + n, 1024 - n);
        if (r == 0) break;
        n += r;
    }
    if (n == 0) return kBreakEmptyFile;
    buf[n] = '\0';
    const char* p = buf;
    while (*p != '\0' && *p != '\n' && *p != '\r')
        ++p;
    if (*p == '\n') return kBreakLf;
    if (*p == '\r') return p[1] == '\n' ? kBreakCrLf : kBreakCr;
    return kBreakCr;
}

/// Reads CR LF text lines: a line ends at LF or CR LF, a CR not followed by LF
/// is dropped, and Ctrl+Z ends the file.
class CrLfLoader {
  public:
    CrLfLoader(TVellStrings& store, EntryArena& arena) : store_(store), arena_(arena) {}

    /// Feeds one block; returns false once Ctrl+Z has ended the text.
    bool Feed(const char* p, const char* end) {
        while (p < end) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
            const char* stop = lf ? lf : end;
            const char* z = static_cast<const char*>(std::memchr(p, kCtrlZ, stop - p));
            if (z) {
                Take(p, z);
                if (lineStarted_) EndLine();
                return false;
            }
            if (!lf) {
                Take(p, end);
                return true;
            }
            if (pending_.empty() && !lineStarted_ && IsCleanLine(p, lf)) {
                // The common case: the file's own bytes are the entry.
                store_.Add(MakeLine(std::string_view(p, lf - p - 1)));
            } else {
                Take(p, lf);
                EndLine();
            }
            p = lf + 1;
        }
        return true;
    }

    /// A line left open at the end of the file.
    void Finish() {
        if (lineStarted_) EndLine();
    }

  private:
    /// True when [p, lf) ends with the only CR of the line.
    static bool IsCleanLine(const char* p, const char* lf) {
        return lf > p && lf[-1] == '\r' && !std::memchr(p, '\r', lf - 1 - p);
    }
    void Take(const char* p, const char* end) {
        if (p == end) return;
        pending_.append(p, end - p);
        lineStarted_ = true;
    }
    void EndLine() {
        EraseByte(pending_, '\r');
        store_.Add(MakeLine(pending_));
        pending_.clear();
        lineStarted_ = false;
    }
    Entry MakeLine(std::string_view line) { return arena_.Make({line, kCrLf}); }

    TVellStrings& store_;
    EntryArena& arena_;
    std::string pending_;
    bool lineStarted_ = false;
};

/// Reads lines broken by one byte (LF, or CR), dropping NUL bytes. In CR
/// mode an LF right after a break belongs to that break: a CR LF file that
/// fell into CR mode then keeps its lines instead of gaining an LF in each.
class SingleBreakLoader {
  public:
    SingleBreakLoader(TVellStrings& store, EntryArena& arena, char brk)
        : store_(store), arena_(arena), break_(brk) {}

    void Feed(const char* p, const char* end) {
        while (p < end) {
            if (skipLf_) {
                skipLf_ = false;
                if (*p == '\n') {
                    ++p;
                    continue;
                }
            }
            const char* b = static_cast<const char*>(std::memchr(p, break_, end - p));
            const char* stop = b ? b : end;
            bool hasNul = std::memchr(p, '\0', stop - p) != nullptr;
            if (b && pending_.empty() && !hasNul) {
                store_.Add(arena_.Make({std::string_view(p, b - p), kCrLf}));
            } else {
                pending_.append(p, stop - p);
                if (hasNul) EraseByte(pending_, '\0');
                if (b) {
                    store_.Add(arena_.Make({pending_, kCrLf}));
                    pending_.clear();
                }
            }
            if (!b) return;
            p = b + 1;
            skipLf_ = break_ == '\r';
        }
    }

    void Finish() {
        if (!pending_.empty()) store_.Add(Entry(pending_));
        int32_t last = store_.Count() - 1;
        if (last >= 0 && !HasCrLf(store_.View(last)))
            store_.Put(last, Entry::Join({store_.View(last), kEndMarker}));
        else
            store_.Add(Entry(kEndMarker));
    }

  private:
    TVellStrings& store_;
    EntryArena& arena_;
    char break_;
    std::string pending_;
    bool skipLf_ = false;
};

void TVellStrings::LoadFromFile(const std::string& fileName) {
    int mode = DetectLineBreak(fileName);
    if (mode == kBreakEmptyFile) return;
    InputFile file(fileName);
    const int64_t size = file.Size();
    // Filled aside: a file that cannot be read whole leaves the store as it was.
    TVellStrings rows;
    rows.Reserve(size / kBytesPerLineEstimate);
    EntryArena arena(static_cast<size_t>(size));
    if (mode == kBreakCrLf) {
        CrLfLoader loader(rows, arena);
        char buf[kCrLfBlock];
        for (size_t n; (n = file.Read(buf, sizeof buf)) > 0;)
            if (!loader.Feed(buf, buf + n)) break;
        loader.Finish();
        std::string tail = file.LastTwoBytes();
        int32_t last = rows.Count() - 1;
        if (tail.size() == 2 && tail[0] == '\r')
            rows.Add(Entry(kEndMarker));
        else if (last < 0)
            rows.Add(Entry(kEndMarker));
        else
            rows.Put(last, Entry::Join({StripTerminator(rows.View(last)), kEndMarker}));
    } else {
        SingleBreakLoader loader(rows, arena, mode == kBreakLf ? '\n' : '\r');
        std::string buf(kBreakBlock, '\0');
        for (size_t n; (n = file.Read(buf.data(), buf.size())) > 0;)
            loader.Feed(buf.data(), buf.data() + n);
        loader.Finish();
    }
    rows.TrimCapacity();
    Swap(rows);
}

void TVellStrings::SaveToFile(const std::string& fileName) const {
    if (Count() == 0) Error();
    SafeFileWriter out(fileName);
    for (int32_t i = 0; i + 1 < Count(); ++i)
        out.Write(View(i));
    std::string_view last = View(Count() - 1);
    if (last.size() > 2) out.Write(last.substr(0, last.size() - 2));
    out.Commit();
}

}  // namespace tw
