// The document window's pieces that need no screen: the ruler's marks, the
// line marks' captions, which links reach the desktop, and the go-to-line text.
#include <gtest/gtest.h>

#include "dialogs/GotoLine.h"
#include "documents/LineMarks.h"
#include "documents/LinkTarget.h"
#include "documents/Ruler.h"

using namespace tw;

TEST(Ruler, TicksEveryColumnNumbersEveryTenAndNothingLeftOfTheText) {
    // Column k's left edge is at textOrigin - scrollX + (k - 1) * charWidth.
    const RulerDrawing d = LayOutRuler({1, 40, 12, 40, 0, 8});
    int shortTicks = 0, longTicks = 0;
    for (const RulerLine& l : d.lines) {
        if (l.y2 == 4) ++shortTicks;
        if (l.y1 == 10 && l.y2 == 0) ++longTicks;
    }
    EXPECT_EQ(shortTicks, 12);
    EXPECT_EQ(longTicks, 1);
    ASSERT_EQ(d.labels.size(), 1u);
    EXPECT_EQ(d.labels[0], (RulerLabel{40 + 9 * 8 + 1, 1, 10}));
    EXPECT_EQ(d.lines.back(), (RulerLine{40, 10, 40 + 11 * 8 + 1, 10}));

    // Scrolled by three columns, columns 1..3 fall left of the text area.
    const RulerDrawing scrolled = LayOutRuler({1, 40, 12, 40, 24, 8});
    for (const RulerLine& l : scrolled.lines)
        EXPECT_GE(l.x1, 40);
    EXPECT_EQ(scrolled.lines.size(), 9u + 1u + 1u);  // 9 short, the long one at 10, base line

    // Nothing to show: only the base line, ending at x 1.
    const RulerDrawing none = LayOutRuler({5, 40, 4, 40, 0, 8});
    ASSERT_EQ(none.lines.size(), 1u);
    EXPECT_EQ(none.lines[0], (RulerLine{40, 10, 1, 10}));
}

TEST(LineMarks, CaptionTakesTwentyBytesOfTheRowAsStored) {
    EXPECT_EQ(MarkCaption("short\r\n", 4), "short\r\n....  4\x8d\x73\x96\xda");
    // A cut after byte 20 may leave half of a double-byte character.
    const std::string row = std::string(19, 'a') + "\x82\xa0" + "tail\r\n";
    EXPECT_EQ(MarkCaption(row, 12), std::string(19, 'a') + "\x82" + "....  12\x8d\x73\x96\xda");
}

TEST(LinkTarget, OnlyWebAndMailLinksReachTheDesktop) {
    EXPECT_EQ(LinkTarget("http://example.com/a?b=c"), "http://example.com/a?b=c");
    EXPECT_EQ(LinkTarget("HTTPS://example.com"), "HTTPS://example.com");
    EXPECT_EQ(LinkTarget("mailto:a@example.com"), "mailto:a@example.com");
    EXPECT_EQ(LinkTarget("mail:a@example.com"), "mailto:a@example.com");
    for (const char* refused :
         {"file:///etc/passwd", "/usr/bin/xterm", "javascript:alert(1)", "ftp://example.com", "",
          "http://a b", "http://a\nb", "x-scheme-handler:run", "www.example.com"})
        EXPECT_EQ(LinkTarget(refused), std::nullopt) << refused;
}

TEST(GotoLine, TypedNumbersCountFromOneAndAnythingElseDoesNothing) {
    EXPECT_EQ(GotoLineTarget("1"), 0);
    EXPECT_EQ(GotoLineTarget(" 25 "), 24);
    EXPECT_EQ(GotoLineTarget("+3"), 2);
    EXPECT_EQ(GotoLineTarget("2147483647"), 2147483646);
    // Too small a number goes to the first line.
    EXPECT_EQ(GotoLineTarget("0"), 0);
    EXPECT_EQ(GotoLineTarget("-7"), 0);
    for (const char* bad : {"", "  ", "abc", "12a", "1 2", "2147483648", "0x10", "３"})
        EXPECT_EQ(GotoLineTarget(bad), std::nullopt) << bad;
}
