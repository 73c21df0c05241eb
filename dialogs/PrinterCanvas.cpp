#include "dialogs/PrinterCanvas.h"

#include <QPrinter>
#include <algorithm>

#include "dialogs/DialogText.h"
#include "platform/qt/Cp932QString.h"

namespace tw {

namespace {

/// The message names the printer or file, which is what the user can change.
[[noreturn]] void Fail(const char* what, const QPrinter& printer) {
    const QString where =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    throw PrinterError((QString::fromUtf8(what) + QLatin1Char('\n') + where).toStdString());
}

/// The font scaled by a hair so that its average character is a whole number
/// of printer pixels, as on a printer whose driver rounds glyphs to its dots.
/// Otherwise eight characters of a fixed-pitch font would end a few pixels
/// before the tab stop eight average characters away, and a tab after them
/// would stop right there instead of at the next stop.
QFont FittedToPixels(const QFont& font, QPrinter& printer) {
    const qreal average = QFontMetricsF(font, &printer).averageCharWidth();
    if (average <= 0 || font.pointSizeF() <= 0) return font;
    QFont fitted = font;
    fitted.setPointSizeF(font.pointSizeF() * std::max(1, qRound(average)) / average);
    return fitted;
}

constexpr const char* kCannotStart = "印刷を開始できませんでした。";
constexpr const char* kCannotPrint = "印刷できませんでした。";

}  // namespace

QtPrinterCanvas::QtPrinterCanvas(QPrinter& printer) : printer_(printer) {}

QtPrinterCanvas::~QtPrinterCanvas() {
    End();
}

bool QtPrinterCanvas::ToFile() const {
    return !printer_.outputFileName().isEmpty();
}

void QtPrinterCanvas::BeginCopy(const QFont& font, const QColor& color) {
    if (!painter_.isActive()) {
        if (!painter_.begin(&printer_)) Fail(kCannotStart, printer_);
    } else if (!printer_.newPage()) {
        Fail(kCannotPrint, printer_);
    }
    painter_.setFont(FittedToPixels(font, printer_));
    painter_.setPen(color);
    metrics_.emplace(painter_.font(), painter_.device());
    advances_.clear();
    charHeight_ = std::max(1, qRound(metrics_->ascent() + metrics_->descent()));
    aveCharWidth_ = std::max(1, qRound(metrics_->averageCharWidth()));
}

void QtPrinterCanvas::EndCopy() {
    // A file takes the next copy on; a printer gets this one as its own job.
    if (!ToFile()) Finish();
}

void QtPrinterCanvas::Finish() {
    if (painter_.isActive() && !painter_.end()) Fail(kCannotPrint, printer_);
}

void QtPrinterCanvas::End() {
    if (painter_.isActive()) painter_.end();
}

int QtPrinterCanvas::PageWidth() const {
    return printer_.width();
}

int QtPrinterCanvas::PageHeight() const {
    return printer_.height();
}

qreal QtPrinterCanvas::Advance(std::string_view character) const {
    uint16_t code = static_cast<unsigned char>(character[0]);
    if (character.size() > 1) code = (code << 8) | static_cast<unsigned char>(character[1]);
    auto [it, added] = advances_.try_emplace(code, 0);
    if (added) it->second = metrics_->horizontalAdvance(QStringFromCp932(character));
    return it->second;
}

int QtPrinterCanvas::TextWidth(std::string_view cp932) const {
    // Kerning is off, so a text is as wide as its characters together.
    qreal width = 0;
    for (size_t i = 0, end; i < cp932.size(); i = end) {
        end = CharEnd(cp932, i);
        width += Advance(cp932.substr(i, end - i));
    }
    return qRound(width);
}

void QtPrinterCanvas::TextOut(int x, int y, std::string_view cp932) {
    painter_.drawText(QPointF(x, y + metrics_->ascent()), QStringFromCp932(cp932));
}

void QtPrinterCanvas::NewPage() {
    if (!printer_.newPage()) Fail(kCannotPrint, printer_);
}

}  // namespace tw
