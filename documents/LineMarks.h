/** @file Line marks: menu entries that take the caret back to a row. */
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

/// A mark's caption in cp932: the row's first 20 bytes as the store holds
/// them (its line end too when the row is shorter) + "....  " + the row
/// number + "行目". The cut may split a double-byte character; the menu shows
/// what is left of it.
std::string MarkCaption(std::string_view entry, int32_t row);

}  // namespace tw
