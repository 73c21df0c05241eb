/** @file The drawing surface over a QImage that a widget keeps for its client area. */
#pragma once

#include <QFont>
#include <QImage>
#include <QRawFont>
#include <functional>

#include "Surface.h"

namespace tw {

/// Maps 0x00BBGGRR, and the system colours 0x800000nn through the palette.
QColor ToQColor(PixelColor color);

/// Paints at once into the image and reports each changed rectangle, so the
/// widget can schedule the copy to the screen. Text goes on the cell grid:
/// every character at its own cell, never at its hinted advance.
class QtImageSurface : public ISurface {
  public:
    using Dirty = std::function<void(const QRect&)>;
    QtImageSurface(QImage& image, Dirty dirty) : image_(image), dirty_(std::move(dirty)) {}

    void SetFont(const QFont& font, int cellWidth, int ascent);

    void FillRect(const PixelRect& r, PixelColor color) override;
    void TextOut(int x, int y, const PixelRect& clip, std::string_view cp932, PixelColor fore,
                 PixelColor back, bool opaque) override;
    void Line(int x1, int y1, int x2, int y2, PixelColor color) override;
    void Pixel(int x, int y, PixelColor color) override;
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
    QFont font_;
    QRawFont raw_;
    int cellWidth_ = 8;
    int ascent_ = 13;
    bool xor_ = false;
    bool underline_ = false;
    bool clipped_ = false;
    QRect clip_;
};

}  // namespace tw
