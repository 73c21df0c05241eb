// Link recognition over rows and wrapped pieces, and the link under a position.
#include <gtest/gtest.h>

#include "headless/ViewHarness.h"

namespace tw::test {
namespace {

struct LinksTest : ::testing::Test {
    ViewHarness h;
    /// Each part as "row:text".
    std::vector<std::string> Parts() {
        std::vector<std::string> out;
        for (const LinkPart& p : h.view.ScanLinks(0, h.Count() - 1))
            out.push_back(std::to_string(p.row) + ":" + h.Row(p.row).substr(p.x, p.len));
        return out;
    }
    std::string LinkAt(int32_t col, int32_t line) { return h.view.GetLinkText(col, line, false); }
};

TEST_F(LinksTest, KeywordsInAnyCaseStartLinksThatStopAtDelimiters) {
    h.Load(
        "see HTTP://Example.com/a|b and xhttps:/q mail:me@x mailto:y@z\ttag:my name.txt, more\r\n");
    EXPECT_EQ(Parts(),
              (std::vector<std::string>{"0:HTTP://Example.com/a", "0:https:/q", "0:mail:me@x",
                                        "0:mailto:y@z", "0:tag:my name.txt"}));
}

TEST_F(LinksTest, JapaneseDirectlyAfterALinkBelongsToIt) {
    h.Load("http://a.jp/\x82\xa0\x82\xa2\x81\x40rest\r\n");
    EXPECT_EQ(Parts(), (std::vector<std::string>{"0:http://a.jp/\x82\xa0\x82\xa2"}));
}

TEST_F(LinksTest, ALinkCutByWrapGoesOnInTheNextPieceAndComesBackWhole) {
    h.ed.SetColumn(12);
    h.Load("ab http://example.com/x y\r\n", true);
    ASSERT_EQ(h.Row(0), "ab http://ex");
    EXPECT_EQ(Parts(), (std::vector<std::string>{"0:http://ex", "1:ample.com/x"}));
    EXPECT_EQ(LinkAt(1, 1), "http://example.com/x");
    EXPECT_EQ(LinkAt(4, 0), "http://example.com/x");
    EXPECT_EQ(LinkAt(1, 0), "");
}

TEST_F(LinksTest, AKeywordSplitByTheWrapIsStillFound) {
    h.ed.SetColumn(10);
    h.Load(
        "abcdefghtt"
        "p://q.jp z\r\n",
        true);
    ASSERT_EQ(h.Row(0), "abcdefghtt");
    EXPECT_EQ(Parts(), (std::vector<std::string>{"0:htt", "1:p://q.jp"}));
}

TEST_F(LinksTest, TagNamesRunToTheirDotAndExtensionsToAnExtensionDelimiter) {
    h.Load("tag:dir/\x82\xa0 name.txt:x\r\ntag:nodot here\r\n");
    EXPECT_EQ(Parts(),
              (std::vector<std::string>{"0:tag:dir/\x82\xa0 name.txt", "1:tag:nodot here"}));
}

TEST_F(LinksTest, AnEmptyLineEndsEveryCarryOver) {
    h.ed.SetColumn(10);
    h.Load("tag:abcdefghij\r\n\r\nplain.txt\r\n", true);
    for (const std::string& p : Parts())
        EXPECT_NE(p.substr(0, 2), "3:") << p;
}

TEST_F(LinksTest, SeekStartReturnsTheFirstLinkOrTheWholeLine) {
    h.Load("x mail:a@b y http://c\r\nno links here\r\nnext\r\n");
    int32_t col = 20, line = 0;
    EXPECT_EQ(h.view.GetLinkText(col, line, true), "mail:a@b");
    EXPECT_EQ(col, 0);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(h.view.GetLinkText(col, line, true), "no links here");
    EXPECT_EQ(line, 2);
}

TEST_F(LinksTest, LinksAreDrawnUnderlinedInTheirColourOnlyWithColorPrintF) {
    h.Load("go http://a.b now\r\n");
    h.view.DrawAll();
    std::vector<RecordingSurface::Op> links;
    for (const auto& t : h.surface.Of("text"))
        if (t.underline) links.push_back(t);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].fore, h.ed.URLColor);
    EXPECT_EQ(links[0].rect, (PixelRect{10 + 3 * 8, 4, 10 + 13 * 8, 20}));

    h.ed.ColorPrintF = false;
    h.surface.Clear();
    h.view.DrawAll();
    for (const auto& t : h.surface.Of("text"))
        EXPECT_FALSE(t.underline);
}

TEST_F(LinksTest, SelectedPartsOfALinkAreNotRecoloured) {
    h.Load("go http://a.b now\r\n");
    h.ed.GotoXY(0, 0);
    for (int i = 0; i < 6; ++i)
        h.Key(VK_RIGHT, false, true);
    h.surface.Clear();
    h.view.DrawSelection();
    for (const auto& t : h.surface.Of("text"))
        if (t.underline) {
            EXPECT_GE(t.rect.left, 10 + 6 * 8) << "underlined inside the selection";
        }
}

/// In the middle of a long wrapped line a repaint starts its link scan near
/// its own rows, where an earlier scan left the carry-over, not at the start
/// of the line; the carry-over is still right after edits.
TEST_F(LinksTest, ARepaintInALongLineDoesNotScanItFromItsStart) {
    h.ed.SetColumn(10);
    h.Load("http://" + std::string(199993, 'a') + "\r\nafter\r\n", true);
    ASSERT_GT(h.Count(), 20000);
    h.ed.GotoXY(0, 10000, ScrollMode::Center);
    h.view.DrawAll();
    const int64_t before = h.view.LinkRowsScanned();
    for (int i = 0; i < 20; ++i)
        h.view.CharTyped(i % 2 ? 'b' : ' ');  // a space ends the link on this row
    EXPECT_LT(h.view.LinkRowsScanned() - before, 20 * 4 * h.ed.Viewport().PageLines);
    // The row above the typed ones is still part of the link that starts the
    // line; the typed rows, which begin with a space, are plain.
    h.surface.Clear();
    h.view.DrawAll();
    bool linkAbove = false, linkTyped = false;
    for (const auto& t : h.surface.Of("text")) {
        if (!t.underline) continue;
        linkAbove = linkAbove || t.rect.top == h.view.RowY(9999);
        linkTyped =
            linkTyped || t.rect.top == h.view.RowY(10000) || t.rect.top == h.view.RowY(10001);
    }
    EXPECT_TRUE(linkAbove);
    EXPECT_FALSE(linkTyped);
}

}  // namespace
}  // namespace tw::test
