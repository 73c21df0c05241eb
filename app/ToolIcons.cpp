// The program's own toolbar pictures are drawn on a 24-unit grid, so that
// every size the toolbar asks for is sharp and Qt can grey them out itself.
#include "app/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace tw {

namespace {

const QColor kInk(0x40, 0x40, 0x40);
const QColor kPaper(Qt::white);
const QColor kBlue(0x34, 0x65, 0xA4);
const QColor kLightBlue(0xC8, 0xDC, 0xF0);
const QColor kRed(0xCC, 0x33, 0x33);
const QColor kGreen(0x4E, 0x9A, 0x06);
const QColor kGrey(0xB0, 0xB0, 0xB0);

void Outline(QPainter& p, qreal width = 1.2) {
    p.setPen(QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void Page(QPainter& p, const QRectF& r, bool lines) {
    Outline(p);
    p.setBrush(kPaper);
    p.drawRect(r);
    if (!lines) return;
    p.setPen(QPen(kGrey, 1));
    for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 3)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void Window(QPainter& p, const QRectF& r) {
    Outline(p);
    p.setBrush(kPaper);
    p.drawRect(r);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 3), kBlue);
}

void Arrow(QPainter& p, bool left) {
    QPainterPath bow;
    bow.moveTo(19, 19);
    bow.cubicTo(19, 11, 14, 9, 9, 9);
    p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.save();
    if (!left) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    p.drawPath(bow);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({{3, 9}, {10, 3.5}, {10, 14.5}}));
    p.restore();
}

void Magnifier(QPainter& p, QPointF centre, qreal radius) {
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    const QPointF grip = centre + QPointF(radius, radius) * 0.75;
    p.drawLine(grip, grip + QPointF(radius, radius) * 0.9);
    p.setPen(QPen(kInk, 1.8));
    p.setBrush(kLightBlue);
    p.drawEllipse(centre, radius, radius);
}

void NewPage(QPainter& p) {
    Outline(p);
    p.setBrush(kPaper);
    p.drawPolygon(QPolygonF({{5, 2}, {15, 2}, {19, 6}, {19, 22}, {5, 22}}));
    p.drawPolyline(QPolygonF({{15, 2}, {15, 6}, {19, 6}}));
    p.setPen(QPen(kGreen, 2.5));
    p.drawLine(QPointF(17, 13), QPointF(17, 21));
    p.drawLine(QPointF(13, 17), QPointF(21, 17));
}

void Folder(QPainter& p) {
    Outline(p);
    p.setBrush(QColor(0xD9, 0xA4, 0x3B));
    p.drawPolygon(QPolygonF({{2, 5}, {9, 5}, {11, 7}, {21, 7}, {21, 19}, {2, 19}}));
    p.setBrush(QColor(0xF0, 0xC7, 0x5E));
    p.drawPolygon(QPolygonF({{2, 19}, {5, 10}, {23, 10}, {20, 19}}));
}

void Floppy(QPainter& p) {
    Outline(p);
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 1.5, 1.5);
    p.fillRect(QRectF(6.5, 3.5, 11, 7), kPaper);
    p.fillRect(QRectF(8, 14, 8, 7), kGrey);
}

void Scissors(QPainter& p) {
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 15), QPointF(17, 2));
    p.drawLine(QPointF(15, 15), QPointF(7, 2));
    p.setPen(QPen(kRed, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(7, 18), 3.2, 3.2);
    p.drawEllipse(QPointF(17, 18), 3.2, 3.2);
}

void TwoPages(QPainter& p) {
    Page(p, QRectF(3, 2, 11, 14), true);
    Page(p, QRectF(9, 8, 12, 14), true);
}

void Clipboard(QPainter& p) {
    Outline(p);
    p.setBrush(QColor(0xB0, 0x80, 0x50));
    p.drawRoundedRect(QRectF(3, 4, 14, 18), 1.5, 1.5);
    p.setBrush(kGrey);
    p.drawRect(QRectF(7, 2, 6, 4));
    Page(p, QRectF(9, 9, 12, 13), true);
}

void Cascaded(QPainter& p) {
    for (qreal at : {2.0, 6.0, 10.0})
        Window(p, QRectF(at, at, 12, 10));
}

void Stacked(QPainter& p) {
    Window(p, QRectF(2, 3, 20, 8));
    Window(p, QRectF(2, 13, 20, 8));
}

void SideBySide(QPainter& p) {
    Window(p, QRectF(2, 3, 9, 18));
    Window(p, QRectF(13, 3, 9, 18));
}

void Find(QPainter& p) {
    Magnifier(p, QPointF(10, 10), 6);
}

void Replace(QPainter& p) {
    Magnifier(p, QPointF(8, 8), 5);
    p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 20), QPointF(19, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({{23, 20}, {17, 16}, {17, 24}}));
}

void Printer(QPainter& p) {
    Page(p, QRectF(7, 2, 10, 8), false);
    Outline(p);
    p.setBrush(kGrey);
    p.drawRoundedRect(QRectF(3, 9, 18, 9), 1.5, 1.5);
    Page(p, QRectF(7, 14, 10, 8), true);
}

struct Picture {
    const char* command;
    const char* themeName;  ///< freedesktop name; nullptr when there is none
    void (*draw)(QPainter&);
};

constexpr Picture kPictures[] = {
    {"actNew", "document-new", NewPage},
    {"actOpen", "document-open", Folder},
    {"actSave", "document-save", Floppy},
    {"actUndo", "edit-undo", [](QPainter& p) { Arrow(p, true); }},
    {"actRedo", "edit-redo", [](QPainter& p) { Arrow(p, false); }},
    {"actCut", "edit-cut", Scissors},
    {"actCopy", "edit-copy", TwoPages},
    {"actPaste", "edit-paste", Clipboard},
    {"actCascade", nullptr, Cascaded},
    {"actHorizontal", nullptr, Stacked},
    {"actVertical", nullptr, SideBySide},
    {"actFind", "edit-find", Find},
    {"actReplace", "edit-find-replace", Replace},
    {"actPrint", "document-print", Printer},
};

const Picture* PictureOf(const QString& command) {
    for (const Picture& p : kPictures)
        if (command == QLatin1String(p.command)) return &p;
    return nullptr;
}

QIcon Drawn(const Picture& picture) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        picture.draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon ToolIcon(const QString& command) {
    const Picture* picture = PictureOf(command);
    if (!picture) return {};
    if (picture->themeName && QIcon::hasThemeIcon(QLatin1String(picture->themeName)))
        return QIcon::fromTheme(QLatin1String(picture->themeName));
    return Drawn(*picture);
}

}  // namespace tw
