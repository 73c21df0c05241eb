/** @file An editor control with its view on the recording surface, 8 x 16 pixel cells. */
#pragma once

#include <string>
#include <string_view>

#include "HeadlessPlatform.h"
#include "RecordingSurface.h"
#include "editor/VellEdit.h"
#include "editor/VellView.h"
#include "support/TestText.h"

namespace tw::test {

/// A clipboard that another program may take over: while `stolen` is set,
/// whatever the editor puts there is replaced at once.
struct ContestedClipboard : MemoryClipboard {
    void SetText(std::string_view cp932) override {
        bytes = stolen ? std::string("intruder") : std::string(cp932);
    }
    bool stolen = false;
};

/// A window of `rows` whole rows of 16 pixels under the 4-pixel top margin.
struct ViewHarness {
    explicit ViewHarness(int rows = 20, int width = 400) : surface(width, 4 + rows * 16 + 8) {
        view.CreateView(width, 4 + rows * 16);
        surface.Clear();
    }

    RecordingMessageBox messages;
    ContestedClipboard clipboard;
    FixedMetrics metrics;
    RecordingSurface surface;
    FakeCaret caret;
    FakeScrollBar vbar, hbar;
    FakeKeyboard keys;
    FakeWindowHost host;
    ManualTimerFactory timers;
    TVellEdit ed{EditorServices{&metrics, &clipboard, &messages, nullptr}};
    TVellView view{ed,
                   ViewServices{&metrics, &surface, &caret, &vbar, &hbar, &keys, &host, &timers}};

    void Load(std::string_view text, bool wrap = false) {
        ed.SetWordWrap(wrap);
        ed.SetAllText(text);
        surface.Clear();
    }
    std::string Row(int32_t i) const { return std::string(ed.Lines().View(i)); }
    std::string Text() const { return ed.GetAllText(); }
    int32_t Count() const { return ed.Lines().Count(); }
    void Key(int vk, bool ctrl = false, bool shift = false) {
        keys.control = ctrl, keys.shift = shift;
        view.KeyDown(vk);
        view.KeyUp(vk);
        keys.control = keys.shift = false;
    }
    void Type(std::string_view s) {
        for (char c : s)
            view.CharTyped(static_cast<unsigned char>(c));
    }
    /// Client point of byte cell (col, row) as drawn, plus a pixel offset.
    int X(int col, int dx = 1) const { return ed.FTextLeft - ed.FScrollX + col * 8 + dx; }
    int Y(int32_t row) const { return 4 + (row - ed.FTopLine) * 16 + 5; }
};

}  // namespace tw::test
