/** @file What the editor view needs from its window besides the surface. */
#pragma once

#include <cstdint>
#include <string>

namespace tw {

/// The blinking text caret. Hide and Show are cumulative: each Hide needs one
/// Show before the caret shows again, and Show never goes past visible.
class ICaret {
  public:
    virtual ~ICaret() = default;
    virtual void Create(int width, int height) = 0;
    virtual void Destroy() = 0;
    virtual void SetPos(int x, int y) = 0;
    virtual void Hide() = 0;
    virtual void Show() = 0;
};

class IScrollBar {
  public:
    virtual ~IScrollBar() = default;
    virtual void SetRange(int min, int max, bool redraw) = 0;
    virtual void SetPos(int pos, bool redraw) = 0;
    virtual int Pos() const = 0;
    virtual void Enable(bool arrows) = 0;
    virtual void Show(bool visible) = 0;
};

/// A font as the control asks for it when its window is made: the name as
/// the settings store it (cp932 bytes), the cell height in pixels and the
/// style bits (bold 1, italic 2, underline 4, strike-out 8).
struct FontRequest {
    std::string name;
    int pixelHeight = 19;
    uint8_t style = 0;
};

/// Mouse cursor shapes the control asks for during a text drag.
enum class DragCursorShape { Move = 1, Copy = 2 };

/// Window services: focus, the context menu, the pointer shape, the input
/// method's position and where a drag begins.
class IWindowHost {
  public:
    virtual ~IWindowHost() = default;
    virtual void TakeFocus() = 0;
    /// Makes the font the window draws with, falling back to its own when
    /// the named one is missing; the text metrics follow it.
    virtual void SelectFont(const FontRequest& font) = 0;
    virtual void SetDragCursor(DragCursorShape shape) = 0;
    /// Starts the toolkit's drag of the control; the view is told of every
    /// move and of the drop through its own handlers.
    virtual void BeginTextDrag() = 0;
    /// The text drag is over, dropped or cancelled: the pointer is the
    /// editor's own again.
    virtual void EndTextDrag() = 0;
    /// The caret moved: the input method's window follows it.
    virtual void ImePositionChanged(int x, int y) = 0;
    virtual void ShowContextMenu(int x, int y) = 0;
};

}  // namespace tw
