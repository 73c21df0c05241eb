/** @file The drawing surface over a QImage that a widget keeps for its client area. */
#pragma once

#include <QFont>
#include <QImage>
#include <QRawFont>
#include <functional>

#include "platform/Surface.h"
#include "platform/qt/SystemColors.h"

namespace tw {

/// Maps 0x00BBGGRR, and the system colours 0x800000nn through the palette.

/// The editor font as the cell grid draws it.
struct CellFont {
    QRawFont raw;
    QRawFont fallback;  ///< for the characters `raw` has no glyph for
    int cellWidth = 8;  ///< a half-width cell: the advance of "0"
    int ascent = 13;
    bool underline = false, strikeOut = false;
    int underlineY = 14;  ///< from the cell's top
    int strikeOutY = 8;

    /// The font's own cell grid; characters it lacks are drawn from the
    /// same font in `fallbackFamily`.
    static CellFont From(const QFont& font, const QString& fallbackFamily);
};

/// Draws cp932 text on the cell grid, clipped to `clip`: every character at
/// its own cell (a double-byte character takes two), a glyph wider than its
/// cells centred on them and cut at their edges, so columns never drift.
/// With `underline` (or the font's own underline or strike-out) the lines run
/// under the characters drawn, not to the edge of the clip.
void DrawCells(QPainter& p, const CellFont& font, int x, int y, const QRect& clip,
               std::string_view cp932, const QColor& fore, bool underline);

/// Paints at once into the image and reports each changed rectangle, so the
/// widget can schedule the copy to the screen. Text goes on the cell grid:
/// every character at its own cell, never at its hinted advance.
class QtImageSurface : public ISurface {
  public:
    using Dirty = std::function<void(const QRect&)>;
    QtImageSurface(QImage& image, Dirty dirty) : image_(image), dirty_(std::move(dirty)) {}

    void SetFont(const CellFont& font) { font_ = font; }
    const CellFont& Font() const noexcept { return font_; }

    void FillRect(const PixelRect& r, TColor color) override;
    void TextOut(int x, int y, const PixelRect& clip, std::string_view cp932, TColor fore,
                 TColor back, bool opaque) override;
    void Line(int x1, int y1, int x2, int y2, TColor color) override;
    void Pixel(int x, int y, TColor color) override;
    void ScrollRect(const PixelRect& r, int dx, int dy) override;
    void SetXorMode(bool on) override { xor_ = on; }
    void SetUnderline(bool on) override { underline_ = on; }
    void SetClip(const PixelRect* clip) override;

  private:
    void Changed(const QRect& r) {
        if (dirty_) dirty_(r);
    }

    QImage& image_;
    Dirty dirty_;
    CellFont font_;
    bool xor_ = false;
    bool underline_ = false;
    bool clipped_ = false;
    QRect clip_;
};

}  // namespace tw
