/** @file Reading a text file into lines the way documents are opened. */
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "textstore/PageBuffer.h"

namespace tw {

/// A file's text as a document gets it: every line followed by CR LF. CR, LF
/// and CR LF each end one line (LF CR ends two); the first Ctrl+Z ends the
/// text; NUL bytes are dropped. A file that needs none of this (the usual
/// Shift-JIS file) is kept as read, without a second copy.
class DocumentText {
  public:
    /// Throws FileIoError when the file cannot be read.
    static DocumentText Load(const std::string& fileName);

    std::string_view View() const noexcept;
    int64_t Lines() const noexcept { return lines_; }
    /// The text before `offset` will not be read again; its memory may go.
    void Release(size_t offset) noexcept {
        if (!mended_) buffer_.Release(offset);
    }

  private:
    PageBuffer buffer_;
    size_t length_ = 0;
    bool mended_ = false;
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
