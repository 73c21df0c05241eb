/** @file The drawing surface the editor view paints on, in client pixels. */
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Color.h"

namespace tw {

/// Left and top inside, right and bottom outside, as Win32 rectangles.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PixelRect&) const = default;
    bool Empty() const noexcept { return right <= left || bottom <= top; }
};

/// Painting happens at once, outside any paint event, so a surface keeps what
/// was drawn until it is drawn over.
class ISurface {
  public:
    virtual ~ISurface() = default;
    virtual void FillRect(const PixelRect& r, TColor color) = 0;
    /// cp932 text with tabs already expanded, one cell per byte, its cell
    /// origin at (x, y). With `opaque` the whole clip rectangle first gets
    /// `back`; nothing outside `clip` is touched.
    virtual void TextOut(int x, int y, const PixelRect& clip, std::string_view cp932, TColor fore,
                         TColor back, bool opaque) = 0;
    /// A one-pixel line from (x1, y1) to (x2, y2), without its end pixel.
    virtual void Line(int x1, int y1, int x2, int y2, TColor color) = 0;
    virtual void Pixel(int x, int y, TColor color) = 0;
    /// Moves the pixels of `r` by dx, dy; what is uncovered keeps its old pixels.
    virtual void ScrollRect(const PixelRect& r, int dx, int dy) = 0;
    /// While on, lines and pixels invert what they cover with their colour.
    virtual void SetXorMode(bool on) = 0;
    /// Underlined text (links); off after each TextOut that used it.
    virtual void SetUnderline(bool on) = 0;
    /// Limits every drawing call to `clip` until it is called with nullptr,
    /// as a paint event limits drawing to what needs it.
    virtual void SetClip(const PixelRect* clip) = 0;
};

}  // namespace tw
