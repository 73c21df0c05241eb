#include "QtSurface.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <vector>

#include "Cp932Codec.h"

namespace tw {

namespace {

QRect ToQRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

/// The few system colours the control's defaults name (COLOR_WINDOW and the like).
QColor SystemColor(int index) {
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
        case 5:
            return pal.color(QPalette::Base);
        case 8:
            return pal.color(QPalette::Text);
        case 13:
            return pal.color(QPalette::Highlight);
        case 14:
            return pal.color(QPalette::HighlightedText);
        case 15:
            return pal.color(QPalette::Button);
        default:
            return pal.color(QPalette::Mid);
    }
}

}  // namespace

QColor ToQColor(PixelColor c) {
    if (c & 0x80000000u) return SystemColor(static_cast<int>(c & 0xFF));
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

void QtImageSurface::SetFont(const QFont& font, int cellWidth, int ascent) {
    font_ = font;
    raw_ = QRawFont::fromFont(font);
    cellWidth_ = cellWidth;
    ascent_ = ascent;
}

void QtImageSurface::SetClip(const PixelRect* clip) {
    clipped_ = clip != nullptr;
    if (clip) clip_ = ToQRect(*clip);
}

void QtImageSurface::FillRect(const PixelRect& r, PixelColor color) {
    if (r.Empty()) return;
    QPainter p(&image_);
    if (clipped_) p.setClipRect(clip_);
    p.fillRect(ToQRect(r), ToQColor(color));
    Changed(ToQRect(r));
}

void QtImageSurface::TextOut(int x, int y, const PixelRect& clip, std::string_view s,
                             PixelColor fore, PixelColor back, bool opaque) {
    const bool underline = underline_;
    underline_ = false;
    if (clip.Empty()) return;
    const QRect rect = clipped_ ? ToQRect(clip).intersected(clip_) : ToQRect(clip);
    if (rect.isEmpty()) return;
    QPainter p(&image_);
    p.setClipRect(rect);
    if (opaque) p.fillRect(rect, ToQColor(back));
    // Only the characters whose cells reach into the clip are drawn.
    std::u16string text;
    std::vector<QPointF> positions;
    int cell = 0;
    for (size_t i = 0; i < s.size();) {
        const cp932::DecodedChar d = cp932::DecodeAt(s.data() + i, s.size() - i);
        const int cx = x + cell * cellWidth_;
        if (cx + d.length * cellWidth_ > clip.left && cx < clip.right && d.unit > 0x20) {
            text.push_back(d.unit);
            positions.emplace_back(cx - x, 0);
        }
        cell += d.length;
        i += d.length;
    }
    if (!text.empty() && raw_.isValid()) {
        const QString str = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
        QList<quint32> glyphs = raw_.glyphIndexesForString(str);
        // Surrogates never occur: cp932 maps into the basic plane.
        if (glyphs.size() == static_cast<qsizetype>(positions.size())) {
            QGlyphRun run;
            run.setRawFont(raw_);
            run.setGlyphIndexes(glyphs);
            run.setPositions(QList<QPointF>(positions.begin(), positions.end()));
            p.setPen(ToQColor(fore));
            p.drawGlyphRun(QPointF(x, y + ascent_), run);
        }
    }
    if (underline) {
        p.setPen(ToQColor(fore));
        p.drawLine(rect.left(), y + ascent_ + 1, rect.right(), y + ascent_ + 1);
    }
    Changed(rect);
}

void QtImageSurface::Line(int x1, int y1, int x2, int y2, PixelColor color) {
    const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    if (steps == 0) return;
    if (!xor_ && (x1 == x2 || y1 == y2)) {
        const int l = std::min(x1, x2 + (x2 < x1 ? 1 : 0)),
                  t = std::min(y1, y2 + (y2 < y1 ? 1 : 0));
        const int w = x1 == x2 ? 1 : steps, h = y1 == y2 ? 1 : steps;
        FillRect({l, t, l + w, t + h}, color);
        return;
    }
    // Drawn point by point, so that the end pixel stays out as a GDI line leaves it.
    for (int i = 0; i < steps; ++i)
        Pixel(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps, color);
}

void QtImageSurface::Pixel(int x, int y, PixelColor color) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    if (clipped_ && !clip_.contains(x, y)) return;
    QRgb rgb = ToQColor(color).rgb();
    if (xor_) rgb = (image_.pixel(x, y) ^ rgb) | 0xFF000000u;
    image_.setPixel(x, y, rgb);
    Changed(QRect(x, y, 1, 1));
}

void QtImageSurface::ScrollRect(const PixelRect& r, int dx, int dy) {
    const QRect rect = ToQRect(r).intersected(image_.rect());
    if (rect.isEmpty()) return;
    const QImage copy = image_.copy(rect);
    QPainter p(&image_);
    p.setClipRect(rect);
    p.drawImage(rect.topLeft() + QPoint(dx, dy), copy);
    Changed(rect);
}

}  // namespace tw
