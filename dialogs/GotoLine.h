/** @file What a line number typed into "指定行へ移動" means. */
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tw {

/// The 0-based row to move to for the typed text: a decimal number, blanks
/// around it allowed, counting from 1. Nothing for text that is not a number
/// or does not fit 32 bits. 0 and negative numbers mean the first line, as a
/// number too small for the text; a number past the end is left for the
/// editor, which stops at the last line.
std::optional<int32_t> GotoLineTarget(std::string_view typed);

}  // namespace tw
