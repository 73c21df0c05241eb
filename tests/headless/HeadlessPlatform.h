/** @file The platform interfaces without a screen: fixed metrics, recorded calls. */
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/KeyboardState.h"
#include "platform/MessageBox.h"
#include "platform/TextMetrics.h"
#include "platform/Timer.h"

namespace tw::test {

/// Records every message and answers from a script (Ok when it runs dry).
class RecordingMessageBox : public IMessageBox {
  public:
    struct Shown {
        std::string text, caption;
        MessageButtons buttons;
    };
    MessageAnswer Show(const std::string& text, const std::string& caption, MessageButtons buttons,
                       MessageIcon) override {
        shown.push_back({text, caption, buttons});
        if (answers.empty()) return MessageAnswer::Ok;
        MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void Beep() override { ++beeps; }

    std::vector<Shown> shown;
    std::deque<MessageAnswer> answers;
    int beeps = 0;
};

class MemoryClipboard : public IClipboard {
  public:
    void SetText(std::string_view cp932) override { bytes = std::string(cp932); }
    std::optional<std::string> GetText() override { return bytes; }
    std::optional<std::string> bytes;
};

/// 8 pixels per byte cell, 16-pixel rows.
class FixedMetrics : public ITextMetrics {
  public:
    FontMetrics Metrics() const override { return {16, 13, 8}; }
    int TextWidth(std::string_view cp932) const override {
        return static_cast<int>(cp932.size()) * 8;
    }
};

/// A timer the test ticks by hand.
class ManualTimer : public ITimer {
  public:
    void Start(int intervalMs, std::function<void()> t) override {
        interval = intervalMs;
        tick = std::move(t);
        active = true;
    }
    void Stop() override { active = false; }
    bool Active() const override { return active; }
    void Fire() {
        if (active && tick) tick();
    }
    int interval = 0;
    bool active = false;
    std::function<void()> tick;
};

class FakeKeyboard : public IKeyboardState {
  public:
    bool ShiftDown() const override { return shift; }
    bool ControlDown() const override { return control; }
    bool AltDown() const override { return alt; }
    bool shift = false, control = false, alt = false;
};

}  // namespace tw::test
