/** @file What the editor view needs from its window besides the surface. */
#pragma once

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

/// Mouse cursor shapes the control asks for during a text drag.
enum class DragCursorShape { Move = 1, Copy = 2 };

/// Window services: focus, the context menu, the pointer shape, the input
/// method's position and where a drag begins.
class IWindowHost {
  public:
    virtual ~IWindowHost() = default;
    virtual void TakeFocus() = 0;
    virtual void SetDragCursor(DragCursorShape shape) = 0;
    /// Starts the toolkit's drag of the control; the view is told of every
    /// move and of the drop through its own handlers.
    virtual void BeginTextDrag() = 0;
    /// The caret moved: the input method's window follows it.
    virtual void ImePositionChanged(int x, int y) = 0;
    virtual void ShowContextMenu(int x, int y) = 0;
};

}  // namespace tw
