/** @file An editor engine on the headless platform, with helpers to read it back. */
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "HeadlessPlatform.h"
#include "RecordingView.h"
#include "editor/VellEdit.h"
#include "support/TestText.h"

namespace tw::test {

/// Shift-JIS characters used throughout the tests.
inline constexpr std::string_view kA = "\x82\xa0";     // あ, trail byte outside the lead range
inline constexpr std::string_view kI = "\x82\xa2";     // い
inline constexpr std::string_view kAsia = "\x88\x9f";  // 亜, trail byte inside the lead range
inline constexpr std::string_view kKana = "\xb1";      // half-width ｱ, a single byte

struct EditorHarness {
    RecordingMessageBox messages;
    MemoryClipboard clipboard;
    FixedMetrics metrics;
    RecordingView view;
    TVellEdit ed{EditorServices{&metrics, &clipboard, &messages, &view}};

    std::vector<std::string> Rows() const { return RowsOf(ed.Lines()); }
    std::string Row(int32_t i) const { return std::string(ed.Lines().View(i)); }
    int32_t Count() const { return ed.Lines().Count(); }

    /// Loads a text with word wrap switched as asked, then forgets the calls.
    void Load(std::string_view text, bool wrap = false) {
        ed.SetWordWrap(wrap);
        ed.SetAllText(text);
        view.Clear();
    }

    /// A range selection from the anchor to the caret, as a Shift move makes it.
    void Select(int32_t ax, int32_t ay, int32_t cx, int32_t cy) {
        ed.GotoXY(ax, ay, 0);
        ed.MoveCaret(cx, cy, 0, false);
        ed.FSelected = true;
        ed.FSelEndX = ed.FCaretX;
        ed.FSelEndY = ed.FCaretY;
    }

    /// A typed character or IME string: recorded, then inserted.
    void Type(std::string_view s) {
        ed.RecordUndo(0, s, ed.FCaretY, ed.FCaretX);
        ed.InsertAtCaret(s, true);
    }
};

}  // namespace tw::test
