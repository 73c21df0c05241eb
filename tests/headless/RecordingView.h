/** @file A view for the editor engine that records what it was asked to paint. */
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/EditorView.h"

namespace tw::test {

/// Every call becomes one Call, so a test can check that an edit asked for
/// the right rows. A call named in `failOn` throws, to drive the engine's
/// error reports.
/// A DrawLines span as its recorded call holds it.
inline int64_t Span(DrawSpan s) {
    return static_cast<int64_t>(s);
}

class RecordingView : public IEditorView {
  public:
    struct Call {
        std::string name;
        int64_t a = 0, b = 0, c = 0;
        bool operator==(const Call&) const = default;
    };

    void HideCaret() override { Record({"HideCaret"}); }
    void ShowCaret() override { Record({"ShowCaret"}); }
    void UpdateCaret() override { Record({"UpdateCaret"}); }
    bool UpdateVertScrollBar(bool redraw) override {
        Record({"UpdateVertScrollBar", redraw});
        return textEdgeMoves;
    }
    void UpdateHorzScrollBar(bool redraw) override { Record({"UpdateHorzScrollBar", redraw}); }
    void DrawAll() override { Record({"DrawAll"}); }
    void DrawLines(DrawSpan span, int32_t a, int32_t b) override {
        Record({"DrawLines", Span(span), a, b});
    }
    void DrawLineText(int32_t row, int fromPixelX) override {
        Record({"DrawLineText", row, fromPixelX});
    }
    void DrawSelection() override { Record({"DrawSelection"}); }
    void DrawSelectedText() override { Record({"DrawSelectedText"}); }
    void DrawCaretUnderline(bool draw) override { Record({"DrawCaretUnderline", draw}); }
    void MoveCaretUnderline(int32_t oldRow, int32_t newRow) override {
        Record({"MoveCaretUnderline", oldRow, newRow});
    }
    void ResetState() override { Record({"ResetState"}); }

    /// The calls of one name, in order.
    std::vector<Call> Named(const std::string& name) const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.name == name) out.push_back(c);
        return out;
    }
    /// Calls that put pixels on the screen, in order.
    std::vector<Call> Paints() const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.name == "DrawAll" || c.name == "DrawLines" || c.name == "DrawLineText" ||
                c.name == "DrawSelection" || c.name == "DrawSelectedText")
                out.push_back(c);
        return out;
    }
    void Clear() { calls.clear(); }

    std::vector<Call> calls;
    bool textEdgeMoves = false;
    std::string failOn;

  private:
    void Record(Call c) {
        const bool fail = c.name == failOn;
        calls.push_back(std::move(c));
        if (fail) throw std::runtime_error("view failure on " + failOn);
    }
};

}  // namespace tw::test
