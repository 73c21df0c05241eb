/** @file Characters and words of a row, as Ctrl+arrows and the word deletions see them. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

/// The word class of a character: a single byte, or lead x 256 + trail.
uint8_t CharClass(int code);

/// Bytes of the character at `x`: two after a lead byte, else one.
size_t CharSizeAt(std::string_view row, int32_t x);

/// Bytes of the character that ends before `x` (the row starts on a boundary).
size_t CharSizeBefore(std::string_view row, int32_t x);

/// The column where the run of one word class that starts at `from` ends,
/// going right (Forward) or left; `Skipped` gets the bytes passed. Going
/// right, a NUL, TAB or CR ends the run before it.
int32_t FindWordBoundary(std::string_view row, int32_t from, bool forward, std::string& skipped);

}  // namespace tw
