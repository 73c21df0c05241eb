/** @file What the editor engine asks of the window that shows it. */
#pragma once

#include <cstdint>

namespace tw {

/// The rows DrawLines repaints, none of them past the last visible row.
enum class DrawSpan {
    Visible,  ///< every visible row
    From,     ///< row a down to the last visible row
    Rows,     ///< rows a to b
};

/// The engine changes the text, the caret and the scroll fields of TVellEdit;
/// everything that turns them into pixels goes through this interface. The
/// window implements it over its canvas; a control without a window uses
/// NullEditorView. Row numbers are entry indexes of the line store; pixel x
/// values are relative to the left edge of the text area.
class IEditorView {
  public:
    virtual ~IEditorView() = default;

    /// Caret visibility, cumulative as the system caret's: every HideCaret
    /// is matched by a ShowCaret, and showing never goes past visible.
    virtual void HideCaret() = 0;
    virtual void ShowCaret() = 0;
    /// Puts the system caret and the input-method window at FCaretPixelX,
    /// FCaretPixelY. The engine has already computed both.
    virtual void UpdateCaret() = 0;

    /// Recomputes the vertical scroll bar for the current row count. True when
    /// that moved the text's left edge (the line-number column changed its
    /// width); the caller then repaints everything, since every row moved.
    virtual bool UpdateVertScrollBar(bool redraw) = 0;
    virtual void UpdateHorzScrollBar(bool redraw) = 0;

    /// The whole client area.
    virtual void DrawAll() = 0;
    /// The rows of `span`, with a and b as it reads them.
    virtual void DrawLines(DrawSpan span, int32_t a, int32_t b) = 0;
    /// One row, unselected, from pixel `fromPixelX` to the right edge, with
    /// its links and the caret-row underline.
    virtual void DrawLineText(int32_t row, int fromPixelX) = 0;
    /// Every visible row with the current selection (range or select-all).
    virtual void DrawSelection() = 0;
    /// Only the selected bytes of the visible rows, in the selection's
    /// colours; everything else stays as it was painted.
    virtual void DrawSelectedText() = 0;
    /// Draws (true) or erases (false) the underline of the caret row.
    virtual void DrawCaretUnderline(bool draw) = 0;
    /// The caret changed rows: the underline leaves oldRow for newRow.
    virtual void MoveCaretUnderline(int32_t oldRow, int32_t newRow) = 0;

    /// Forgets the mouse, drag and input-method state: a new text was loaded.
    virtual void ResetState() = 0;
};

/// A control that has no window paints nothing.
class NullEditorView final : public IEditorView {
  public:
    void HideCaret() override {}
    void ShowCaret() override {}
    void UpdateCaret() override {}
    bool UpdateVertScrollBar(bool) override { return false; }
    void UpdateHorzScrollBar(bool) override {}
    void DrawAll() override {}
    void DrawLines(DrawSpan, int32_t, int32_t) override {}
    void DrawLineText(int32_t, int) override {}
    void DrawSelection() override {}
    void DrawSelectedText() override {}
    void DrawCaretUnderline(bool) override {}
    void MoveCaretUnderline(int32_t, int32_t) override {}
    void ResetState() override {}
};

}  // namespace tw
