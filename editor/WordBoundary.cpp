// Word classes: a word is a run of characters of one class.
#include "editor/WordBoundary.h"

#include <algorithm>

#include "textstore/ShiftJis.h"

namespace tw {

namespace {

int CodeOf(std::string_view c) {
    const auto b0 = static_cast<unsigned char>(c[0]);
    return c.size() == 2 ? b0 * 256 + static_cast<unsigned char>(c[1]) : b0;
}

}  // namespace

uint8_t CharClass(int code) {
    if (code >= 0x100) {
        if (code >= 0x829F && code <= 0x82FF) return 0;
        if (code >= 0x8340 && code <= 0x8396) return 1;
        if (code >= 0x824F && code <= 0x829E) return 3;
        if (code >= 0x8140 && code <= 0x824E) return 4;
        if (code >= 0x8397 && code <= 0x889E) return 4;
        return 2;
    }
    if (code >= 0x80 && code <= 0xA5) return 2;
    if (code >= 0xA6 && code <= 0xDF) return 5;
    if ((code >= 0x30 && code <= 0x39) || (code >= 0x40 && code <= 0x7F)) return 6;
    return 7;
}

size_t CharSizeAt(std::string_view row, int32_t x) {
    const auto i = static_cast<size_t>(x);
    return i + 1 < row.size() && IsLeadByte(static_cast<unsigned char>(row[i])) ? 2 : 1;
}

size_t CharSizeBefore(std::string_view row, int32_t x) {
    return x >= 2 && ByteTypeAt(row, x) == kTrailByte ? 2 : 1;
}

int32_t FindWordBoundary(std::string_view row, int32_t from, bool forward, std::string& skipped) {
    const int32_t start = std::min<int32_t>(from, static_cast<int32_t>(row.size()));
    int32_t p = start;
    int run = -1;
    if (forward) {
        while (p < static_cast<int32_t>(row.size())) {
            const std::string_view c = row.substr(p, CharSizeAt(row, p));
            if (c[0] == '\0' || c[0] == '\t' || c[0] == '\r') break;
            const int cls = CharClass(CodeOf(c));
            if (run >= 0 && cls != run) break;
            run = cls;
            p += static_cast<int32_t>(c.size());
        }
        skipped = std::string(row.substr(start, p - start));
    } else {
        while (p > 0) {
            const auto n = static_cast<int32_t>(CharSizeBefore(row, p));
            const int cls = CharClass(CodeOf(row.substr(p - n, n)));
            if (run >= 0 && cls != run) break;
            run = cls;
            p -= n;
        }
        skipped = std::string(row.substr(p, start - p));
    }
    return p;
}

}  // namespace tw
