#include "platform/qt/QtSurface.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <vector>

#include "platform/codec/Cp932Codec.h"

namespace tw {

namespace {

QRect ToQRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

CellFont CellFont::From(const QFont& font, const QString& fallbackFamily) {
    CellFont f;
    const QFontMetrics fm(font);
    f.raw = QRawFont::fromFont(font);
    if (font.family() != fallbackFamily) {
        QFont japanese(font);
        japanese.setFamily(fallbackFamily);
        f.fallback = QRawFont::fromFont(japanese);
    }
    f.cellWidth = std::max(1, fm.horizontalAdvance(QLatin1Char('0')));
    f.ascent = fm.ascent();
    f.underline = font.underline();
    f.strikeOut = font.strikeOut();
    f.underlineY = fm.ascent() + std::max(1, fm.underlinePos());
    f.strikeOutY = fm.ascent() - fm.strikeOutPos();
    return f;
}

namespace {

/// The characters of `s` whose cells reach into [left, right), with the
/// x offset of their cells from the text's origin.
struct Cells {
    std::u16string text;
    std::vector<int> offset, width;
    int first = 0, last = 0;  ///< the pixel span of the cells taken
};

Cells CellsIn(std::string_view s, int x, int cellWidth, int left, int right) {
    Cells c;
    c.first = right, c.last = left;
    int cell = 0;
    for (size_t i = 0; i < s.size();) {
        const cp932::DecodedChar d = cp932::DecodeAt(s.data() + i, s.size() - i);
        const int cx = x + cell * cellWidth, w = d.length * cellWidth;
        if (cx + w > left && cx < right) {
            c.first = std::min(c.first, cx);
            c.last = std::max(c.last, cx + w);
            if (d.unit > 0x20) {
                c.text.push_back(d.unit);
                c.offset.push_back(cx - x);
                c.width.push_back(w);
            }
        }
        cell += d.length;
        i += d.length;
    }
    return c;
}

/// Glyphs of one raw font that fit their cells, drawn as one run.
class CellRun {
  public:
    explicit CellRun(const QRawFont& raw) : raw_(raw) {}
    void Add(quint32 glyph, int offset) {
        glyphs_.push_back(glyph);
        positions_.emplace_back(offset, 0);
    }
    void Draw(QPainter& p, QPointF origin) const {
        if (glyphs_.isEmpty()) return;
        QGlyphRun run;
        run.setRawFont(raw_);
        run.setGlyphIndexes(glyphs_);
        run.setPositions(positions_);
        p.drawGlyphRun(origin, run);
    }

  private:
    const QRawFont& raw_;
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
};

/// A glyph wider than its cells: centred on them and cut at their edges.
void DrawCentred(QPainter& p, const QRawFont& raw, quint32 glyph, double advance, const QRect& cell,
                 int baseline) {
    QGlyphRun one;
    one.setRawFont(raw);
    one.setGlyphIndexes({glyph});
    one.setPositions({QPointF((cell.width() - advance) / 2, 0)});
    p.save();
    p.setClipRect(cell, Qt::IntersectClip);
    p.drawGlyphRun(QPointF(cell.left(), baseline), one);
    p.restore();
}

}  // namespace

void DrawCells(QPainter& p, const CellFont& font, int x, int y, const QRect& clip,
               std::string_view cp932, const QColor& fore, bool underline) {
    const Cells cells = CellsIn(cp932, x, font.cellWidth, clip.left(), clip.right() + 1);
    p.save();
    p.setClipRect(clip);
    p.setPen(fore);
    const QString str =
        QString::fromUtf16(cells.text.data(), static_cast<qsizetype>(cells.text.size()));
    const QList<quint32> glyphs = font.raw.glyphIndexesForString(str);
    // Surrogates never occur: cp932 maps into the basic plane.
    if (!cells.text.empty() && glyphs.size() == static_cast<qsizetype>(cells.offset.size())) {
        const QList<QPointF> advances = font.raw.advancesForGlyphIndexes(glyphs);
        CellRun own(font.raw), fallback(font.fallback);
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const QRawFont* raw = &font.raw;
            quint32 glyph = glyphs[i];
            double advance = advances[i].x();
            // A character the chosen font lacks comes from the Japanese default.
            if (glyph == 0 && font.fallback.isValid()) {
                const QList<quint32> g = font.fallback.glyphIndexesForString(QString(str[i]));
                if (g.size() == 1 && g[0] != 0) {
                    raw = &font.fallback;
                    glyph = g[0];
                    advance = font.fallback.advancesForGlyphIndexes(g)[0].x();
                }
            }
            const int w = cells.width[i];
            if (advance > w + 0.5)
                DrawCentred(p, *raw, glyph, advance,
                            QRect(x + cells.offset[i], y, w, clip.bottom() + 1 - y),
                            y + font.ascent);
            else
                (raw == &font.raw ? own : fallback).Add(glyph, cells.offset[i]);
        }
        own.Draw(p, QPointF(x, y + font.ascent));
        fallback.Draw(p, QPointF(x, y + font.ascent));
    }
    if (cells.last > cells.first) {
        const int right = cells.last - 1;
        if (underline || font.underline)
            p.drawLine(cells.first, y + font.underlineY, right, y + font.underlineY);
        if (font.strikeOut)
            p.drawLine(cells.first, y + font.strikeOutY, right, y + font.strikeOutY);
    }
    p.restore();
}

void QtImageSurface::SetClip(const PixelRect* clip) {
    clipped_ = clip != nullptr;
    if (clip) clip_ = ToQRect(*clip);
}

void QtImageSurface::FillRect(const PixelRect& r, TColor color) {
    if (r.Empty()) return;
    QPainter p(&image_);
    if (clipped_) p.setClipRect(clip_);
    p.fillRect(ToQRect(r), ToQColor(color));
    Changed(ToQRect(r));
}

void QtImageSurface::TextOut(int x, int y, const PixelRect& clip, std::string_view s, TColor fore,
                             TColor back, bool opaque) {
    const bool underline = underline_;
    underline_ = false;
    if (clip.Empty()) return;
    const QRect rect = clipped_ ? ToQRect(clip).intersected(clip_) : ToQRect(clip);
    if (rect.isEmpty()) return;
    QPainter p(&image_);
    if (opaque) p.fillRect(rect, ToQColor(back));
    DrawCells(p, font_, x, y, rect, s, ToQColor(fore), underline);
    Changed(rect);
}

void QtImageSurface::Line(int x1, int y1, int x2, int y2, TColor color) {
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

void QtImageSurface::Pixel(int x, int y, TColor color) {
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
