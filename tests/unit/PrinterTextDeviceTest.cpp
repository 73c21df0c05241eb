// The printer text device on a page of fixed metrics: 10 px per byte, 10 px
// characters (lines with text 12 px), tab stops every 80 px.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/PrinterTextDevice.h"
#include "headless/EditorHarness.h"

namespace tw::test {
namespace {

using namespace std::string_literals;

class RecordingPrinter : public IPrinterCanvas {
  public:
    RecordingPrinter(int width, int height) : width_(width), height_(height) {}
    int PageWidth() const override { return width_; }
    int PageHeight() const override { return height_; }
    int CharHeight() const override { return 10; }
    int AveCharWidth() const override { return 10; }
    int TextWidth(std::string_view s) const override { return 10 * static_cast<int>(s.size()); }
    void TextOut(int x, int y, std::string_view s) override {
        calls.push_back(std::to_string(x) + "," + std::to_string(y) + " " + std::string(s));
    }
    void NewPage() override { calls.push_back("page"); }
    std::vector<std::string> calls;

  private:
    int width_, height_;
};

using Calls = std::vector<std::string>;

Calls Print(std::string_view text, int width = 100, int height = 1000) {
    RecordingPrinter printer(width, height);
    PrinterTextDevice device(printer);
    device.Write(text);
    device.Close();
    return printer.calls;
}

TEST(PrinterTextDevice, RunsAreCutBackAtCharacterBoundariesToFitTheLine) {
    // "0123456" and あ fill 90 of 100 px; い would end inside the margin.
    EXPECT_EQ(Print("0123456" + std::string(kA) + std::string(kI) + "z"),
              (Calls{"0,0 0123456" + std::string(kA), "0,12 " + std::string(kI) + "z"}));
    // A run after CR goes on where the last one ended and breaks the same way.
    EXPECT_EQ(Print("abcdefgh\rxyz"), (Calls{"0,0 abcdefgh", "80,0 xy", "0,12 z"}));
    // A character wider than the paper is printed rather than looped over.
    EXPECT_EQ(Print(std::string(kA) + std::string(kA), 15),
              (Calls{"0,0 " + std::string(kA), "0,12 " + std::string(kA)}));
    // A line of many pages' width is cut as one character at a time would.
    const Calls wide = Print(std::string(9994, 'w') + "end", 100, 1 << 30);
    ASSERT_EQ(wide.size(), 1000u);
    EXPECT_EQ(wide[998], "0,11976 wwwwwwwwww");
    EXPECT_EQ(wide[999], "0,11988 wwwwend");
}

TEST(PrinterTextDevice, TabsStopEveryEightAverageCharacters) {
    EXPECT_EQ(Print("\tX\na\tX\nabcdefg\tX\nabcdefgh\tX\n\t\tX", 400),
              (Calls{"80,0 X", "0,12 a", "80,12 X", "0,24 abcdefg", "80,24 X", "0,36 abcdefgh",
                     "160,36 X", "160,48 X"}));
    // A stop beyond the paper's width starts a new line.
    EXPECT_EQ(Print("abcdefgh\tX", 100), (Calls{"0,0 abcdefgh", "0,12 X"}));
}

TEST(PrinterTextDevice, LinesAndPagesBreakByTheHeightOfWhatWasDrawn) {
    // A blank line is as high as a character, a line with text 2 px more;
    // the end marker's NUL bytes draw nothing.
    EXPECT_EQ(Print("a\r\n\r\nb\0\0"s), (Calls{"0,0 a", "0,22 b"}));
    // Page 100 px high: after the 7th line y = 84 > 100 - 2 * 12, so the 8th
    // line starts a new page.
    std::string text;
    for (char c = '0'; c <= '8'; ++c)
        text += std::string(1, c) + "\r\n";
    EXPECT_EQ(Print(text, 100, 100), (Calls{"0,0 0", "0,12 1", "0,24 2", "0,36 3", "0,48 4",
                                            "0,60 5", "0,72 6", "page", "0,0 7", "0,12 8"}));
    // A text that ends on a full page leaves no blank sheet behind it.
    EXPECT_EQ(Print(text.substr(0, 21), 100, 100).back(), "0,72 6");
    // A form feed starts a page; two of them leave a blank one between.
    EXPECT_EQ(Print("a\fb\f\fc\f"), (Calls{"0,0 a", "page", "0,0 b", "page", "page", "0,0 c"}));
}

TEST(PrinterTextDevice, AWrappedDocumentPrintsByItsLogicalLines) {
    EditorHarness h;
    h.Load(Repeat("x", 150) + "\r\nnext", true);
    ASSERT_GT(h.Count(), 3);  // wrapped into display rows
    RecordingPrinter printer(2000, 1000);
    PrinterTextDevice device(printer);
    PrintLines(h.ed.Lines(), device);
    device.Close();
    EXPECT_EQ(printer.calls, (Calls{"0,0 " + Repeat("x", 150), "0,12 next"}));
}

}  // namespace
}  // namespace tw::test
