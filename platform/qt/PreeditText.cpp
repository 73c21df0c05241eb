#include "platform/qt/PreeditText.h"

#include <QPainter>
#include <algorithm>

#include "platform/codec/Cp932Codec.h"

namespace tw {

namespace {

std::string ToCp932(const QString& s) {
    return cp932::Encode(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                             static_cast<size_t>(s.size())));
}

}  // namespace

void PreeditText::Set(const QInputMethodEvent& event) {
    Clear();
    text_ = event.preeditString();
    const int n = static_cast<int>(text_.size());
    cellAt_.push_back(0);
    for (int i = 0; i < n; ++i)
        cellAt_.push_back(cellAt_.back() + static_cast<int>(ToCp932(text_.mid(i, 1)).size()));
    cursor_ = n;
    for (const QInputMethodEvent::Attribute& a : event.attributes()) {
        const int from = std::clamp(a.start, 0, n), to = std::clamp(a.start + a.length, from, n);
        if (a.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format = a.value.value<QTextFormat>().toCharFormat();
            if (format.isValid() && to > from) spans_.push_back({from, to, format});
        } else if (a.type == QInputMethodEvent::Cursor) {
            cursor_ = from;
            cursorVisible_ = a.length != 0;
        }
    }
}

int PreeditText::CursorCells() const {
    return cellAt_.empty() ? 0 : cellAt_[static_cast<size_t>(cursor_)];
}

void PreeditText::Paint(QPainter& p, const QImage& image, const CellFont& font,
                        const Row& row) const {
    if (Empty()) return;
    const int width = Cells() * font.cellWidth;
    p.save();
    p.setClipRect(QRect(row.left, row.y, row.right - row.left, row.height));
    if (row.x + width < row.right)
        p.drawImage(QPoint(row.x + width, row.y), image,
                    QRect(row.x, row.y, row.right - row.x - width, row.height));
    p.fillRect(QRect(row.x, row.y, width, row.height), row.back);
    // Runs of characters under one format; where clauses overlap the last wins.
    auto formatAt = [this](int i) -> const QTextCharFormat* {
        const QTextCharFormat* f = nullptr;
        for (const Span& s : spans_)
            if (i >= s.from && i < s.to) f = &s.format;
        return f;
    };
    const int n = static_cast<int>(text_.size());
    for (int i = 0; i < n;) {
        const QTextCharFormat* f = formatAt(i);
        int j = i + 1;
        while (j < n && formatAt(j) == f)
            ++j;
        PaintSpan(p, font, row, i, j, f);
        i = j;
    }
    p.restore();
}

/// A clause: its background and text colour as the input method asks, and
/// underlined when asked, or when it carries no format at all.
void PreeditText::PaintSpan(QPainter& p, const CellFont& font, const Row& row, int from, int to,
                            const QTextCharFormat* format) const {
    const int x = row.x + cellAt_[static_cast<size_t>(from)] * font.cellWidth;
    const int w =
        (cellAt_[static_cast<size_t>(to)] - cellAt_[static_cast<size_t>(from)]) * font.cellWidth;
    const QRect rect(x, row.y, w, row.height);
    QColor fore = row.text;
    bool underline = format == nullptr;
    if (format) {
        if (format->background().style() != Qt::NoBrush) p.fillRect(rect, format->background());
        if (format->foreground().style() != Qt::NoBrush) fore = format->foreground().color();
        underline =
            format->fontUnderline() || format->underlineStyle() != QTextCharFormat::NoUnderline;
    }
    DrawCells(p, font, x, row.y, rect, ToCp932(text_.mid(from, to - from)), fore, underline);
}

}  // namespace tw
