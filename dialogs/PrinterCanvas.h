/** @file The text device's canvas on a QPrinter: the copies of one print and their pages. */
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <optional>
#include <stdexcept>
#include <unordered_map>

#include "dialogs/PrinterTextDevice.h"

class QPrinter;

namespace tw {

/// A print that could not be started or finished; its text is the message
/// the user sees.
class PrinterError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// The copies of one print. On a printer each copy is a job of its own. A
/// PDF file is one document, so there the copies follow each other in it,
/// each from a new page, instead of each one overwriting the file.
class QtPrinterCanvas : public IPrinterCanvas {
  public:
    explicit QtPrinterCanvas(QPrinter& printer);
    /// Ends an open job, so that the copies done before a failure stay done.
    ~QtPrinterCanvas() override;
    QtPrinterCanvas(const QtPrinterCanvas&) = delete;
    QtPrinterCanvas& operator=(const QtPrinterCanvas&) = delete;

    /// Starts the next copy, drawn in `font` and `color`. Raises PrinterError.
    void BeginCopy(const QFont& font, const QColor& color);
    void EndCopy();
    /// Ends the last job. Raises PrinterError when the output could not be finished.
    void Finish();

    int PageWidth() const override;
    int PageHeight() const override;
    int CharHeight() const override { return charHeight_; }
    int AveCharWidth() const override { return aveCharWidth_; }
    int TextWidth(std::string_view cp932) const override;
    void TextOut(int x, int y, std::string_view cp932) override;
    void NewPage() override;

  private:
    bool ToFile() const;
    void End();
    qreal Advance(std::string_view character) const;

    QPrinter& printer_;
    QPainter painter_;
    std::optional<QFontMetricsF> metrics_;
    /// The advance of each character met so far, by its cp932 code: asking
    /// Qt to measure every head of every line costs more than the printing.
    mutable std::unordered_map<uint16_t, qreal> advances_;
    int charHeight_ = 1;
    int aveCharWidth_ = 1;
};

}  // namespace tw
