#include "LoadTextFile.h"

#include "InputFile.h"

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

}  // namespace

LoadedText LoadTextFile(const std::string& fileName) {
    InputFile file(fileName);
    LoadedText result;
    const int64_t size = file.Size();
    if (size > 0) result.text.reserve(static_cast<size_t>(size + size / 16));
    LineScanner scanner(result);
    char block[kBlock];
    for (size_t n; (n = file.Read(block, sizeof block)) > 0;)
        if (!scanner.Feed(block, n)) break;
    scanner.Finish();
    return result;
}

}  // namespace tw
