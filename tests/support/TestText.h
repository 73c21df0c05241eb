/** @file Texts for tests: a line store's rows as strings, repeated and
 *  numbered lines, and bytes made readable in a failure's report. */
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "textstore/LineStore.h"

namespace tw::test {

/// Every row of the store as it holds it, terminator bytes included.
inline std::vector<std::string> RowsOf(const TVellStrings& lines) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < lines.Count(); ++i)
        out.emplace_back(lines.View(i));
    return out;
}

/// `s`, n times over.
inline std::string Repeat(std::string_view s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

/// n lines "<prefix>0", "<prefix>1", ..., each ended by CR LF.
inline std::string Lines(int n, std::string_view prefix = "line") {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += std::string(prefix) + std::to_string(i) + "\r\n";
    return s;
}

/// The bytes as a quoted literal: printable ASCII as it is, any other byte
/// (Shift-JIS ones, line ends) as \xNN.
inline std::string Readable(std::string_view bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        }
    }
    return out + "\"";
}

}  // namespace tw::test
