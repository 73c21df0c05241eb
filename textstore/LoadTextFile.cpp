#include "textstore/LoadTextFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "textstore/InputFile.h"

namespace tw {

namespace {

constexpr size_t kBlock = 8192;
constexpr char kCtrlZ = 0x1A;

/// The scan over one file: lines end at CR, LF or CR LF, also when the CR and
/// the LF fall into different blocks.
class LineScanner {
  public:
    explicit LineScanner(LoadedText& out) : out_(out) {}

    /// Scans one block; false once Ctrl+Z has ended the text.
    bool Feed(const char* p, size_t n) {
        size_t i = 0;
        if (previousEndedInCr_ && n > 0 && p[0] == '\n') i = 1;
        previousEndedInCr_ = n > 0 && p[n - 1] == '\r';
        while (i < n) {
            size_t j = i;
            while (j < n && !IsStop(p[j]))
                ++j;
            pending_.append(p + i, j - i);
            if (j == n) return true;
            if (p[j] == kCtrlZ) return false;
            if (p[j] == '\0') {
                // A NUL cannot live in the editor's text; the rest of the
                // line still can.
                i = j + 1;
                continue;
            }
            EndLine();
            i = j;
            if (p[i] == '\r') ++i;
            if (i < n && p[i] == '\n') ++i;
        }
        return true;
    }

    void Finish() {
        if (!pending_.empty()) EndLine();
    }

  private:
    static bool IsStop(char c) { return c == '\n' || c == '\r' || c == '\0' || c == kCtrlZ; }

    void EndLine() {
        out_.text += pending_;
        out_.text += "\r\n";
        ++out_.lines;
        pending_.clear();
    }

    LoadedText& out_;
    std::string pending_;
    bool previousEndedInCr_ = false;
};

/// The break bytes of a text, counted in one pass that the compiler turns
/// into vector code (this file is built with -O3 for it).
struct BreakCounts {
    size_t cr = 0, lf = 0, pairs = 0, stops = 0;
};

BreakCounts CountBreaks(std::string_view text) {
    BreakCounts c;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    if (n == 0) return c;
    // Narrow counters vectorize best; a run of 240 bytes cannot overflow them.
    for (size_t i = 0; i < n - 1;) {
        const size_t end = std::min(n - 1, i + 240);
        uint8_t cr = 0, lf = 0, pairs = 0, stops = 0;
        for (; i < end; ++i) {
            const unsigned char b = p[i];
            cr += b == '\r';
            lf += b == '\n';
            pairs += (b == '\r') & (p[i + 1] == '\n');
            stops += (b == 0) | (b == 0x1A);
        }
        c.cr += cr;
        c.lf += lf;
        c.pairs += pairs;
        c.stops += stops;
    }
    const unsigned char last = p[n - 1];
    c.cr += last == '\r';
    c.lf += last == '\n';
    c.stops += (last == 0) | (last == 0x1A);
    return c;
}

/// True when the bytes already are what the scan would make of them: every
/// line ended by CR LF, no lone CR or LF, no NUL and no Ctrl+Z. Most
/// Shift-JIS files are, and then they are taken as they are, without a copy.
bool IsPlainCrLfText(const BreakCounts& c) {
    return c.stops == 0 && c.cr == c.lf && c.lf == c.pairs;
}

/// The whole file in a page buffer with room for a closing CR LF; the
/// length read comes back in `length`.
PageBuffer ReadAll(InputFile& file, size_t& length) {
    const int64_t size = file.Size();
    PageBuffer buffer(static_cast<size_t>(size > 0 ? size : 0) + 2);
    length = 0;
    const size_t room = buffer.Size() - 2;
    while (length < room) {
        const size_t n = file.Read(buffer.Data() + length, room - length);
        if (n == 0) break;
        length += n;
    }
    // A file that grew since its size was taken is read whole all the same.
    char more[kBlock];
    if (file.Read(more, 1) == 1) {
        std::string rest(more, 1);
        for (size_t n; (n = file.Read(more, sizeof more)) > 0;)
            rest.append(more, n);
        PageBuffer bigger(length + rest.size() + 2);
        std::copy_n(buffer.Data(), length, bigger.Data());
        std::copy(rest.begin(), rest.end(), bigger.Data() + length);
        length += rest.size();
        return bigger;
    }
    return buffer;
}

}  // namespace

DocumentText DocumentText::Load(const std::string& fileName) {
    InputFile file(fileName);
    DocumentText t;
    t.buffer_ = ReadAll(file, t.length_);
    const std::string_view bytes(t.buffer_.Data(), t.length_);
    const BreakCounts counts = CountBreaks(bytes);
    if (IsPlainCrLfText(counts)) {
        t.lines_ = static_cast<int64_t>(counts.lf);
        if (!bytes.empty() && !bytes.ends_with("\r\n")) {
            t.buffer_.Data()[t.length_++] = '\r';
            t.buffer_.Data()[t.length_++] = '\n';
            ++t.lines_;
        }
        return t;
    }
    LoadedText scanned;
    scanned.text.reserve(bytes.size() + bytes.size() / 16);
    LineScanner scanner(scanned);
    for (size_t at = 0; at < bytes.size(); at += kBlock)
        if (!scanner.Feed(bytes.data() + at, std::min(kBlock, bytes.size() - at))) break;
    scanner.Finish();
    t.buffer_ = PageBuffer();
    t.mended_ = true;
    t.text_ = std::move(scanned.text);
    t.lines_ = scanned.lines;
    return t;
}

std::string_view DocumentText::View() const noexcept {
    return mended_ ? std::string_view(text_) : std::string_view(buffer_.Data(), length_);
}

LoadedText LoadTextFile(const std::string& fileName) {
    const DocumentText t = DocumentText::Load(fileName);
    return LoadedText{std::string(t.View()), t.Lines()};
}

}  // namespace tw
