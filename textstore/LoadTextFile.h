/** @file Reading a text file into lines the way documents are opened. */
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

/// A file's text as a document gets it: every line followed by CR LF. CR, LF
/// and CR LF each end one line (LF CR ends two); the first Ctrl+Z ends the
/// text; NUL bytes are dropped. DocumentReader hands out the same text in
/// pieces; documents are opened through it.
class DocumentText {
  public:
    /// Throws FileIoError when the file cannot be read.
    static DocumentText Load(const std::string& fileName);

    std::string_view View() const noexcept { return text_; }
    int64_t Lines() const noexcept { return lines_; }

  private:
    std::string text_;
    int64_t lines_ = 0;
};

struct LoadedText {
    std::string text;
    int64_t lines = 0;
};

/// A file's text as DocumentText reads it, copied into a string of its own.
LoadedText LoadTextFile(const std::string& fileName);

}  // namespace tw
