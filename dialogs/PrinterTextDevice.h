/** @file The printer as a text device: plain text flowed onto pages in one font. */
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tw {

class TVellStrings;

/// A printer page and its font, in printer pixels, as the text device sees it.
/// Positions are the top left of the text, counted from the top left of the
/// printable area.
class IPrinterCanvas {
  public:
    virtual ~IPrinterCanvas() = default;
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    /// Ascent plus descent of the font: the height of every run it draws.
    virtual int CharHeight() const = 0;
    virtual int AveCharWidth() const = 0;
    /// The advance of cp932 text in the font.
    virtual int TextWidth(std::string_view cp932) const = 0;
    virtual void TextOut(int x, int y, std::string_view cp932) = 0;
    virtual void NewPage() = 0;
};

/// Lays a stream of cp932 bytes out on the canvas. Characters are collected
/// into runs; a run that does not fit into the rest of the line is cut back
/// at a character boundary and goes on at the start of the next line. CR ends
/// a run, LF starts a new line, a form feed a new page, a tab moves to the
/// next stop eight average characters apart. NUL draws nothing.
class PrinterTextDevice {
  public:
    explicit PrinterTextDevice(IPrinterCanvas& canvas) : canvas_(canvas) {}
    void Write(std::string_view bytes);
    /// Draws the run still collected. A page break that nothing followed is
    /// dropped, so a text that fills its last page exactly leaves no blank sheet.
    void Close();

  private:
    void Flush();
    void DrawRun(std::string_view run);
    /// The bytes of the longest head of `run` (whole characters) no wider than `room`.
    size_t FittingHead(std::string_view run, int room) const;
    void Tab();
    void NewLine();
    void NewPage();

    IPrinterCanvas& canvas_;
    std::string run_;
    int x_ = 0;
    int y_ = 0;
    /// 0 while nothing was drawn on the line.
    int lineHeight_ = 0;
    /// The page the position is on has not been started on the canvas yet.
    bool pageStartPending_ = false;
};

/// The end of the character that starts at `pos`; a lead byte with nothing
/// after it is a character of its own.
size_t CharEnd(std::string_view cp932, size_t pos);

/// Writes every entry of the store, first to last, as stored: wrapped pieces
/// run on, so a word-wrapped document prints by its logical lines.
void PrintLines(const TVellStrings& lines, PrinterTextDevice& device);

}  // namespace tw
