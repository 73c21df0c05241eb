/** @file Reading a text file into lines the way documents are opened. */
#pragma once

#include <cstdint>
#include <string>

namespace tw {

/// The text of a file as a document gets it: every line followed by CR LF.
/// CR, LF and CR LF each end one line (LF CR ends two); the first Ctrl+Z
/// ends the text; NUL bytes are dropped. Throws FileIoError when the file
/// cannot be read.
struct LoadedText {
    std::string text;
    int64_t lines = 0;
};

LoadedText LoadTextFile(const std::string& fileName);

}  // namespace tw
