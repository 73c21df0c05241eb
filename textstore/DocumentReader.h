/** @file Reading a document's text in pieces, through one buffer used again and again. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "textstore/InputFile.h"

namespace tw {

/// A file's text as a document gets it (the rules of DocumentText, see
/// LoadTextFile.h), handed out as pieces of whole lines. The file is read
/// into one buffer that every piece uses again, so a big file is never held
/// whole beside the rows made of it, and no fresh memory the size of the file
/// is asked for: on a virtual machine the first touch of fresh memory costs
/// more than reading the file.
class DocumentReader {
  public:
    static constexpr size_t kPieceSize = size_t{4} << 20;

    /// Throws FileIoError when the file cannot be opened. `pieceSize` is how
    /// much is read at once; a line longer than that grows the buffer.
    explicit DocumentReader(const std::string& fileName, size_t pieceSize = kPieceSize);

    /// The next lines of the text, each ended by CR LF; empty once the text
    /// is over. Valid until the next call. Throws FileIoError when a read
    /// fails.
    std::string_view Next();
    /// The file's size when it was opened: what the caller may expect.
    int64_t Size() const noexcept { return size_; }

  private:
    /// Reads until the buffer holds `pieceSize_` bytes or the file ends.
    void Fill();
    /// Where the lines complete in the buffer end, 0 when none does yet.
    size_t CompleteLines() const noexcept;
    std::string_view Piece(size_t length);

    InputFile file_;
    int64_t size_;
    size_t pieceSize_;
    std::string buffer_;  // raw bytes; the first `held_` are read
    size_t held_ = 0;
    size_t given_ = 0;  // bytes of the buffer handed out by the last call
    bool atEnd_ = false;
    bool stopped_ = false;  // Ctrl+Z ended the text
    std::string mended_;
};

}  // namespace tw
