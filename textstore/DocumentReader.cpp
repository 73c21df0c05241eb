#include "textstore/DocumentReader.h"

#include <algorithm>
#include <cstring>

namespace tw {

namespace {

constexpr char kCtrlZ = 0x1A;

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

/// True when the bytes already are what the mending would make of them:
/// every line ended by CR LF, no lone CR or LF, no NUL and no Ctrl+Z. Most
/// Shift-JIS files are, and then they are handed out as they were read.
bool IsPlainCrLfText(const BreakCounts& c) {
    return c.stops == 0 && c.cr == c.lf && c.lf == c.pairs;
}

bool IsStop(char c) {
    return c == '\n' || c == '\r' || c == '\0' || c == kCtrlZ;
}

/// Appends the lines of `in` to `out`, each ended by CR LF: CR, LF and CR LF
/// each end one line (LF CR ends two), NUL bytes are dropped and the rest of
/// their line kept, and a line left open at the end is ended. False when
/// Ctrl+Z ended the text.
bool MendLines(std::string_view in, std::string& out) {
    const char* p = in.data();
    const size_t n = in.size();
    bool open = false;  // the line being made has bytes
    size_t i = 0;
    while (i < n) {
        size_t j = i;
        while (j < n && !IsStop(p[j]))
            ++j;
        out.append(p + i, j - i);
        open |= j > i;
        if (j == n) break;
        if (p[j] == kCtrlZ) {
            if (open) out += "\r\n";
            return false;
        }
        if (p[j] == '\0') {
            i = j + 1;
            continue;
        }
        out += "\r\n";
        open = false;
        i = j;
        if (p[i] == '\r') ++i;
        if (i < n && p[i] == '\n') ++i;
    }
    if (open) out += "\r\n";
    return true;
}

}  // namespace

DocumentReader::DocumentReader(const std::string& fileName, size_t pieceSize)
    : file_(fileName), size_(file_.Size()), pieceSize_(std::max<size_t>(pieceSize, 1)) {
    // A small file gets a buffer its own size; two more bytes make room for
    // the break a last line may lack.
    if (size_ >= 0 && static_cast<uint64_t>(size_) < pieceSize_)
        pieceSize_ = std::max<size_t>(static_cast<size_t>(size_), 1);
    buffer_.resize(pieceSize_ + 2);
}

void DocumentReader::Fill() {
    while (!atEnd_ && held_ < pieceSize_) {
        const size_t n = file_.Read(buffer_.data() + held_, pieceSize_ - held_);
        if (n == 0)
            atEnd_ = true;
        else
            held_ += n;
    }
}

size_t DocumentReader::CompleteLines() const noexcept {
    // A CR as the last byte read may still be followed by its LF.
    size_t j = held_;
    if (j > 0 && buffer_[j - 1] == '\r') --j;
    while (j > 0 && buffer_[j - 1] != '\n' && buffer_[j - 1] != '\r')
        --j;
    return j;
}

std::string_view DocumentReader::Next() {
    if (stopped_) return {};
    // What was handed out last time goes; the start of the next line stays.
    if (given_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + given_, held_ - given_);
        held_ -= given_;
        given_ = 0;
    }
    for (;;) {
        Fill();
        if (atEnd_) return Piece(held_);
        if (const size_t n = CompleteLines(); n > 0) return Piece(n);
        // No line ends in the buffer. Ctrl+Z in it ends the text there;
        // else the one line is longer than the buffer, which has to grow.
        if (std::memchr(buffer_.data(), kCtrlZ, held_)) return Piece(held_);
        pieceSize_ *= 2;
        buffer_.resize(pieceSize_ + 2);
    }
}

std::string_view DocumentReader::Piece(size_t length) {
    given_ = length;
    if (length == 0) return {};
    const std::string_view bytes(buffer_.data(), length);
    if (IsPlainCrLfText(CountBreaks(bytes))) {
        // Only the file's last line can lack its break here; the buffer has
        // room for it behind the bytes read.
        if (bytes.ends_with("\r\n")) return bytes;
        buffer_[length] = '\r';
        buffer_[length + 1] = '\n';
        return {buffer_.data(), length + 2};
    }
    mended_.clear();
    if (!MendLines(bytes, mended_)) stopped_ = true;
    return mended_;
}

}  // namespace tw
