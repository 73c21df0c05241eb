/** @file A position in the rows of the editor. */
#pragma once

#include <cstdint>

namespace tw {

/// Y is a row (an entry of the line store), X a byte offset in it; both
/// count from 0. Positions order by row, then by offset.
struct RowPos {
    int32_t X = 0, Y = 0;
    friend bool operator==(RowPos, RowPos) = default;
    friend bool operator<(RowPos a, RowPos b) { return a.Y != b.Y ? a.Y < b.Y : a.X < b.X; }
    friend bool operator<=(RowPos a, RowPos b) { return !(b < a); }
};

}  // namespace tw
