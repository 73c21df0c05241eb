/** @file The rule that cuts a logical line into display rows. */
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/TextMetrics.h"

namespace tw {

/// Two layouts are both valid store states: a full wrap keeps every row,
/// terminator included, within the column; a re-wrap after an edit lets the
/// last row of a line hold a full column of text plus its terminator. So
/// typing at a line end does not leave a row holding only the line break.
enum class CutTest { FullWrap, Rewrap };

struct CutRule {
    int32_t column = 72;
    int tabCount = 6;
    bool autoWrap = false;
    int textWidth = 0;                      ///< pixels; used only with autoWrap
    const ITextMetrics* metrics = nullptr;  ///< required with autoWrap
};

/// Length of the first row of `rest`, the remaining bytes of a logical line
/// with its terminator; rest.size() when the rest is not cut. A row never
/// ends inside a double-byte character or a terminator, and it always takes
/// at least one character, even when not one fits the text area.
int32_t NextPieceLength(std::string_view rest, const CutRule& rule, CutTest test);

/// Calls emit(row) for every row of `line`, in order.
template <typename Emit>
void CutLine(std::string_view line, const CutRule& rule, CutTest test, Emit&& emit) {
    for (;;) {
        const auto n = static_cast<size_t>(NextPieceLength(line, rule, test));
        emit(line.substr(0, n));
        if (n >= line.size()) return;
        line.remove_prefix(n);
    }
}

}  // namespace tw
