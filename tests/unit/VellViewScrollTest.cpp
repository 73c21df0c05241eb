// Caret placement, scroll bars and scrolling, on a window of whole 16-pixel rows.
#include <gtest/gtest.h>

#include "headless/ViewHarness.h"

namespace tw::test {
namespace {

TEST(VellViewScroll, DownMovesToTheMarginThenScrollsWithTheCaretOnOneScreenRow) {
    ViewHarness h(20);
    h.Load(Lines(100));
    EXPECT_EQ(h.ed.Viewport().VMargin, 4);
    for (int i = 0; i < 16; ++i)
        h.Key(VK_DOWN);
    EXPECT_EQ(h.ed.CaretY(), 16);
    EXPECT_EQ(h.ed.TopLine(), 0);
    for (int i = 0; i < 3; ++i) {
        h.Key(VK_DOWN);
        EXPECT_EQ(h.ed.CaretY() - h.ed.TopLine(), 16);
    }
    EXPECT_EQ(h.ed.TopLine(), 3);
    EXPECT_EQ(h.caret.y, 4 + 16 * 16);
}

TEST(VellViewScroll, HeldArrowAcceleratesAfterFourEdgeScrolls) {
    ViewHarness h(20);
    h.Load(Lines(200));
    h.ed.GotoXY(0, 16);
    h.keys.shift = false;
    std::vector<int32_t> steps;
    for (int i = 0; i < 7; ++i) {  // a held key: no release between presses
        const int32_t top = h.ed.TopLine();
        h.view.KeyDown(VK_DOWN);
        steps.push_back(h.ed.TopLine() - top);
    }
    EXPECT_EQ(steps, (std::vector<int32_t>{1, 1, 1, 1, 2, 2, 2}));
    h.view.KeyUp(VK_DOWN);
    EXPECT_EQ(h.view.RepeatCount(), 0);
    h.view.KeyDown(VK_DOWN);
    EXPECT_EQ(h.view.RepeatCount(), 1);
    // Up after Down counts from 0 again, in its own direction.
    h.view.KeyUp(VK_DOWN);
    for (int i = 0; i < 14; ++i)
        h.view.KeyDown(VK_UP);
    EXPECT_LT(h.view.RepeatCount(), 0);
}

TEST(VellViewScroll, LastEntryStopsScrollingDownAndPageDownMovesTheCaretInstead) {
    ViewHarness h(20);
    h.Load(Lines(100));
    h.ed.GotoXY(0, 100);
    const int32_t top = h.ed.TopLine();
    EXPECT_EQ(h.view.WMVScroll(SB_LINEDOWN), 0);
    EXPECT_EQ(h.view.WMVScroll(SB_PAGEDOWN), 0);
    EXPECT_EQ(h.view.WMVScroll(SB_THUMBTRACK, 1000), 0);
    EXPECT_EQ(h.ed.TopLine(), top);

    h.ed.GotoXY(0, 95);
    h.ed.Viewport().TopLine = h.view.MaxTopLine();
    h.Key(VK_NEXT);
    EXPECT_EQ(h.ed.CaretY(), 100) << "a page down clamped to the last entry";
}

TEST(VellViewScroll, ScrollRangeAllowsMarginRowsPastTheEnd) {
    ViewHarness h(20);
    h.Load(Lines(29));  // 30 rows
    EXPECT_EQ(h.view.MaxTopLine(), 30 + 4 - 20 - 1);
    EXPECT_EQ(h.vbar.max, 13);
    EXPECT_TRUE(h.vbar.enabled);
    h.Load(Lines(3));
    EXPECT_FALSE(h.vbar.enabled);
    EXPECT_TRUE(h.vbar.visible) << "an empty range keeps the bar visible, disabled";
}

TEST(VellViewScroll, WheelNotchesScrollTwoRowsAndCarryTheCaret) {
    ViewHarness h(20);
    h.Load(Lines(100));
    h.ed.GotoXY(0, 50);
    const int32_t top = h.ed.TopLine(), row = h.ed.CaretY();
    h.view.WMMouseWheel(120);
    EXPECT_EQ(h.ed.TopLine(), top - 2);
    EXPECT_EQ(h.ed.CaretY(), row - 2);
    h.view.WMMouseWheel(60);
    EXPECT_EQ(h.ed.TopLine(), top - 2);
    h.view.WMMouseWheel(-360);
    EXPECT_EQ(h.ed.TopLine(), top + 4);
    EXPECT_EQ(h.ed.CaretY(), row + 4);
}

TEST(VellViewScroll, ThumbTrackScrollsAndThumbPositionDoesNot) {
    ViewHarness h(20);
    h.Load(Lines(100));
    EXPECT_EQ(h.view.WMVScroll(SB_THUMBPOSITION, 30), 0);
    EXPECT_EQ(h.ed.TopLine(), 0);
    EXPECT_EQ(h.view.WMVScroll(SB_THUMBTRACK, 30), 30);
    EXPECT_EQ(h.ed.TopLine(), 30);
    EXPECT_EQ(h.vbar.pos, 30);
    EXPECT_EQ(h.ed.CaretY(), 30) << "the caret keeps its screen row";
    h.view.WMVScroll(SB_TOP);
    EXPECT_EQ(h.ed.TopLine(), 0);
    h.view.WMVScroll(SB_BOTTOM);
    EXPECT_EQ(h.ed.TopLine(), h.view.MaxTopLine());
}

TEST(VellViewScroll, CaretLeftOfTheViewIsParkedOffTheEdge) {
    ViewHarness h(10, 200);
    h.ed.SetHorzScrollBar(true);
    h.Load(std::string(100, 'x') + "\r\nshort\r\n");
    h.view.DrawAll();
    h.view.WMHScroll(SB_PAGEDOWN);
    ASSERT_GT(h.ed.Viewport().ScrollX, 0);
    EXPECT_LT(h.ed.Selection().PixelX, 0);
    EXPECT_EQ(h.caret.x, -5);
}

TEST(VellViewScroll, HorizontalBarFollowsTheRowsOnScreen) {
    ViewHarness h(10, 200);
    h.ed.SetHorzScrollBar(true);
    h.Load(std::string(100, 'x') + "\r\nshort\r\n");
    h.view.DrawAll();
    EXPECT_EQ(h.view.MaxLineWidth(), 800);
    EXPECT_TRUE(h.hbar.enabled);
    EXPECT_EQ(h.hbar.max, 800 - h.ed.Viewport().HStep);
    h.view.WMHScroll(SB_LINEDOWN);
    EXPECT_EQ(h.ed.Viewport().ScrollX, h.ed.Viewport().HStep);
    h.view.WMHScroll(SB_THUMBTRACK, 10000);
    EXPECT_EQ(h.ed.Viewport().ScrollX, 800 - h.ed.Viewport().HStep) << "clamped to the widest row";
    h.view.WMHScroll(SB_LINEUP);
    EXPECT_EQ(h.ed.Viewport().ScrollX, 800 - 2 * h.ed.Viewport().HStep);
}

/// Moving pixels and painting the uncovered strip must give the picture a
/// full repaint at the same offset gives.
TEST(VellViewScroll, HorizontalScrollMovesPixelsAndPaintsOnlyTheStrip) {
    for (bool numbers : {false, true}) {
        for (int code : {SB_LINEDOWN, SB_PAGEDOWN, SB_LINEUP}) {
            ViewHarness a(10, 200), b(10, 200);
            for (ViewHarness* h : {&a, &b}) {
                h->ed.SetHorzScrollBar(true);
                h->ed.SetShowLineNumber(numbers);
                h->ed.UlineF = true;
                h->view.RecreateView();
                h->Load("http://example.com/" + std::string(60, 'x') + "\r\n\x81\x40\x82\xa0\tq" +
                        std::string(70, 'y') + "\r\n>quote\r\n");
                h->view.WMHScroll(SB_PAGEDOWN);
                h->view.DrawAll();
            }
            a.surface.Clear();
            a.view.WMHScroll(code);
            EXPECT_EQ(a.surface.Of("scroll").size(), 1u);
            b.ed.Viewport().ScrollX = a.ed.Viewport().ScrollX;
            b.view.DrawAll();
            EXPECT_EQ(a.surface.pixels, b.surface.pixels) << numbers << " " << code;
        }
    }
}

TEST(VellViewScroll, ColFromXSplitsCharactersAtTheirMiddle) {
    ViewHarness h;
    h.Load(
        "\x82\xa0"
        "b\tc\r\n");  // あ (0..16), b (16..24), TAB to column 6 (24..48)
    const std::string_view e = h.ed.Lines().View(0);
    EXPECT_EQ(h.view.ColFromX(e, -3), 0);
    EXPECT_EQ(h.view.ColFromX(e, 8), 0) << "R - h counts as the left half";
    EXPECT_EQ(h.view.ColFromX(e, 9), 2);
    EXPECT_EQ(h.ed.Selection().PixelX, 16);
    EXPECT_EQ(h.view.ColFromX(e, 36), 3) << "a TAB splits at the middle of its span";
    EXPECT_EQ(h.view.ColFromX(e, 37), 4);
    EXPECT_EQ(h.ed.Selection().PixelX, 48);
    EXPECT_EQ(h.view.ColFromX(e, 500), 5);
    EXPECT_EQ(h.ed.Selection().PixelX, 56);
}

TEST(VellViewScroll, UpAndDownKeepTheGoalColumnThroughShortRows) {
    ViewHarness h;
    h.Load("abcdefgh\r\nab\r\nabcdefgh\r\n");
    h.ed.GotoXY(6, 0);
    h.Key(VK_DOWN);
    EXPECT_EQ(h.ed.CaretX(), 2);
    h.Key(VK_DOWN);
    EXPECT_EQ(h.ed.CaretX(), 6);
    EXPECT_EQ(h.caret.x, 10 + 48);
}

TEST(VellViewScroll, GoalColumnIsMeasuredOnTheRowWhereItWasSet) {
    ViewHarness h;
    h.Load("\t\tx\r\nabcdefghijklmnop\r\n\t\tx\r\n");
    h.ed.GotoXY(2, 0);  // after two TABs: pixel 96
    h.Key(VK_DOWN);
    EXPECT_EQ(h.ed.CaretX(), 12);
    h.Key(VK_END);
    h.Key(VK_HOME);  // goal 0 again, set on row 1
    h.Key(VK_RIGHT);
    h.Key(VK_RIGHT);  // goal 2 on row 1: pixel 16, not the 96 of row 0
    h.Key(VK_DOWN);
    EXPECT_EQ(h.ed.CaretX(), 0) << "pixel 16 lies in the first TAB's left half";
}

TEST(VellViewScroll, RightPastTheEdgeScrollsByTheCaretMargin) {
    for (bool curSet : {true, false}) {
        ViewHarness h(5, 200);
        h.ed.SetHorzScrollBar(true);
        h.ed.SetCurSetMode(curSet);
        h.Load(std::string(60, 'x') + "\r\n");
        h.view.DrawAll();
        for (int i = 0; i < 30; ++i)
            h.Key(VK_RIGHT);
        const int margin = curSet ? 10 : h.ed.Viewport().HStep;
        EXPECT_GT(h.ed.Viewport().ScrollX, 0);
        EXPECT_GE(h.ed.Viewport().TextWidth - h.ed.Selection().PixelX, margin) << curSet;
        EXPECT_EQ(h.ed.Viewport().ScrollX % h.ed.Viewport().HStep, 0)
            << "steps of a fifth of the width";
    }
}

TEST(VellViewScroll, ResizeRecomputesThePage) {
    ViewHarness h(20);
    h.Load(Lines(100));
    h.view.WMSize(400, 4 + 10 * 16 + 7);
    EXPECT_EQ(h.ed.Viewport().PageLines, 10);
    EXPECT_EQ(h.ed.Viewport().VMargin, 2);
    EXPECT_EQ(h.ed.Viewport().HStep, (390 + 4) / 5);
}

TEST(VellViewScroll, FocusCreatesAndDestroysTheCaret) {
    ViewHarness h;
    h.Load("abc\r\n");
    h.view.SetFocus();
    EXPECT_TRUE(h.caret.exists);
    EXPECT_EQ(h.caret.hidden, 0);
    EXPECT_EQ(h.caret.width, 2);
    EXPECT_EQ(h.caret.height, 16);
    h.Key(VK_RIGHT);
    EXPECT_EQ(h.caret.hidden, 0) << "every hide is matched by a show";
    EXPECT_EQ(h.host.imeX, 10 + 8);
    h.view.KillFocus();
    EXPECT_FALSE(h.caret.exists);
}

TEST(VellViewScroll, ScrollWhileAllSelectedTurnsIntoARange) {
    ViewHarness h(10);
    h.Load(Lines(50));
    h.ed.GotoXY(0, 5);
    h.Key('A', true);
    ASSERT_TRUE(h.ed.Selection().AllSelected);
    h.view.WMVScroll(SB_LINEDOWN);
    EXPECT_FALSE(h.ed.Selection().AllSelected);
    EXPECT_TRUE(h.ed.Selection().Selected);
    EXPECT_EQ(h.ed.Selection().End.Y, 6);
}

}  // namespace
}  // namespace tw::test
