#include "LoadTextFile.h"

#include <algorithm>
#include <cstring>
#include <string_view>

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

/// True when the bytes already are what the scan would make of them: every
/// line ended by CR LF, no lone CR or LF, no NUL and no Ctrl+Z. Most
/// Shift-JIS files are, and then they are taken as they are, without a copy.
bool IsPlainCrLfText(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) return false;
    if (bytes.find(kCtrlZ) != std::string_view::npos) return false;
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    size_t lfs = 0;
    for (const char* q = p; (q = static_cast<const char*>(std::memchr(q, '\n', end - q))); ++q) {
        if (q == p || q[-1] != '\r') return false;
        ++lfs;
    }
    return static_cast<size_t>(std::count(p, end, '\r')) == lfs;
}

std::string ReadAll(InputFile& file) {
    std::string bytes;
    const int64_t size = file.Size();
    if (size > 0) bytes.resize(static_cast<size_t>(size));
    size_t have = 0;
    for (;;) {
        if (have == bytes.size()) bytes.resize(have + kBlock);  // the file grew meanwhile
        const size_t n = file.Read(bytes.data() + have, bytes.size() - have);
        if (n == 0) break;
        have += n;
    }
    bytes.resize(have);
    return bytes;
}

}  // namespace

LoadedText LoadTextFile(const std::string& fileName) {
    InputFile file(fileName);
    std::string bytes = ReadAll(file);
    LoadedText result;
    if (IsPlainCrLfText(bytes)) {
        result.lines = static_cast<int64_t>(std::count(bytes.begin(), bytes.end(), '\n'));
        if (!bytes.empty() && !bytes.ends_with("\r\n")) {
            bytes += "\r\n";
            ++result.lines;
        }
        result.text = std::move(bytes);
        return result;
    }
    result.text.reserve(bytes.size() + bytes.size() / 16);
    LineScanner scanner(result);
    for (size_t at = 0; at < bytes.size(); at += kBlock)
        if (!scanner.Feed(bytes.data() + at, std::min(kBlock, bytes.size() - at))) break;
    scanner.Finish();
    return result;
}

}  // namespace tw
