// Caret placement, keeping it in view, and reading the selection.
#include <gtest/gtest.h>

#include "headless/EditorHarness.h"
#include "textstore/ShiftJis.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;

namespace {

/// 20 rows on a page: 16-pixel rows below a 4-pixel top margin.
void TwentyRowPage(EditorHarness& h) {
    h.ed.ResizeTextArea(185, 4 + 20 * 16);
    ASSERT_EQ(h.ed.FPageLines, 20);
}

}  // namespace

TEST(VellEditSelection, GotoXYClampsToTheTextAndLeavesTrailBytes) {
    EditorHarness h;
    h.Load(Repeat("abc\r\n", 9) + "abc");
    h.ed.GotoXY(5, 1000, 0);
    EXPECT_EQ(h.ed.FCaretY, 9);
    EXPECT_EQ(h.ed.FCaretX, 3);

    h.Load("a" + std::string(kA) + std::string(kAsia) + "\r\n");
    h.ed.GotoXY(2, 0, 0);  // the second byte of あ
    EXPECT_EQ(h.ed.FCaretX, 1);
    h.ed.GotoXY(4, 0, 0);  // the second byte of 亜, itself a lead-byte value
    EXPECT_EQ(h.ed.FCaretX, 3);
    EXPECT_EQ(h.ed.FSelAnchorX, 3);
}

TEST(VellEditSelection, GotoXYAboveTheFirstRowRaisesBeforeMoving) {
    EditorHarness h;
    h.Load("abc\r\ndef");
    h.ed.GotoXY(2, 1, 0);
    EXPECT_THROW(h.ed.GotoXY(0, -1, 0), ListIndexError);
    EXPECT_EQ(h.ed.FCaretX, 2);
    EXPECT_EQ(h.ed.FCaretY, 1);
}

TEST(VellEditSelection, CaretStopsBeforeALineBreakButReachesAPieceEnd) {
    EditorHarness h;
    h.Load("abc\r\ndef");
    h.ed.MoveCaret(4, 0, 0, true);
    EXPECT_EQ(h.ed.FCaretX, 3);
    h.Load(std::string(100, 'x'), true);
    h.ed.MoveCaret(90, 0, 0, true);
    EXPECT_EQ(h.ed.FCaretX, 72);
}

TEST(VellEditSelection, FailedCaretMoveIsReported) {
    EditorHarness h;
    h.Load("abc");
    h.view.failOn = "UpdateCaret";
    EXPECT_FALSE(h.ed.MoveCaret(1, 0, 0, true));
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, "Error:OC004_2");
}

TEST(VellEditSelection, RangeEndingAtARowStartEndsWithTheRowAbove) {
    EditorHarness h;
    h.Load(Repeat("line\r\n", 7));
    h.Select(3, 2, 0, 5);
    int32_t x1, y1, y2, x2;
    ASSERT_TRUE(h.ed.GetSelectionRange(x1, y1, y2, x2));
    EXPECT_EQ(x1, 3);
    EXPECT_EQ(y1, 2);
    EXPECT_EQ(y2, 4);
    EXPECT_EQ(x2, 6);  // the whole row, its line break included

    // An empty range at a row start is not turned inside out.
    h.Select(0, 5, 0, 5);
    ASSERT_TRUE(h.ed.GetSelectionRange(x1, y1, y2, x2));
    EXPECT_EQ(y1, 5);
    EXPECT_EQ(y2, 5);
    EXPECT_EQ(x2, 0);
}

TEST(VellEditSelection, SelectedTextJoinsRowsAndPieces) {
    EditorHarness h;
    h.Load("abcd\r\nefgh\r\nijkl");
    h.Select(2, 0, 3, 2);
    EXPECT_EQ(h.ed.GetSelText(), "cd\r\nefgh\r\nijk");
    h.Select(3, 2, 2, 0);  // the same range, made upwards
    EXPECT_EQ(h.ed.GetSelText(), "cd\r\nefgh\r\nijk");

    h.Load(std::string(100, 'x') + "yz", true);
    h.Select(70, 0, 30, 1);
    EXPECT_EQ(h.ed.GetSelText(), std::string(30, 'x') + "yz");
}

TEST(VellEditSelection, SelectAllReadsTheWholeTextWithoutTheEndMarker) {
    EditorHarness h;
    h.Load("one\r\ntwo\r\nthree");
    h.ed.GotoXY(1, 1, 0);
    h.ed.SelectAll();
    EXPECT_EQ(h.ed.GetSelText(), "one\r\ntwo\r\nthree");
    EXPECT_EQ(h.ed.FCaretX, 1);  // GetSelText puts caret and anchor back
    EXPECT_EQ(h.ed.FCaretY, 1);
    EXPECT_EQ(h.ed.FSelAnchorY, 1);

    EXPECT_EQ(h.ed.ReadSelText(), "one\r\ntwo\r\nthree");
    EXPECT_EQ(h.ed.FCaretX, 5);  // ReadSelText turns select-all into a range
    EXPECT_EQ(h.ed.FCaretY, 2);
    EXPECT_EQ(h.ed.FSelAnchorX, 0);
    EXPECT_EQ(h.ed.FSelAnchorY, 0);
}

TEST(VellEditSelection, SelectAllReportsEvenWithoutACaretMove) {
    EditorHarness h;
    int reports = 0;
    h.ed.OnSelectionChange = [&](TVellEdit&) { ++reports; };
    h.ed.SelectAll();  // the empty document has nothing to select
    EXPECT_FALSE(h.ed.FAllSelected);
    EXPECT_EQ(reports, 0);
    h.ed.SetAllText("x");
    h.ed.SelectAll();
    EXPECT_TRUE(h.ed.FAllSelected);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(h.view.Named("DrawSelection").size(), 1u);
}

TEST(VellEditSelection, LogicalLineOfTheEmptyLastLineLeavesTheStringAlone) {
    EditorHarness h;
    h.Load("abc\r\n");
    std::string s = "untouched";
    h.ed.GetLogicalLine(1, s);
    EXPECT_EQ(s, "untouched");
    h.Load("xy\r\nabc");
    h.ed.GetLogicalLine(1, s);
    EXPECT_EQ(s, "abc");
}

TEST(VellEditSelection, SearchHitsScrollToOneFifthBelowTheTop) {
    EditorHarness h;
    TwentyRowPage(h);
    h.Load(Repeat("row\r\n", 100));
    EXPECT_TRUE(h.ed.GotoXY(0, 10, 2));  // visible already, scrolls all the same
    EXPECT_EQ(h.ed.FTopLine, 6);
    EXPECT_TRUE(h.ed.GotoXY(0, 50, 1));
    EXPECT_EQ(h.ed.FTopLine, 40);
}

TEST(VellEditSelection, ScrollOnlyWhenNeededKeepsAFifthOfThePage) {
    EditorHarness h;
    TwentyRowPage(h);
    h.Load(Repeat("row\r\n", 100));
    EXPECT_FALSE(h.ed.GotoXY(0, 19, 0));
    EXPECT_EQ(h.ed.FTopLine, 0);
    EXPECT_TRUE(h.ed.GotoXY(0, 30, 0));
    EXPECT_EQ(h.ed.FTopLine, 14);
    EXPECT_TRUE(h.ed.GotoXY(0, 10, 0));
    EXPECT_EQ(h.ed.FTopLine, 6);
    EXPECT_FALSE(h.ed.GotoXY(0, 15, 0));
}

TEST(VellEditSelection, HorizontalScrollPutsTheCaretAtFourFifths) {
    EditorHarness h;
    h.Load(std::string(100, 'x') + "\r\n");
    EXPECT_EQ(h.ed.FTextWidth, 175);
    h.view.Clear();
    EXPECT_TRUE(h.ed.GotoXY(50, 0, 0));  // 400 px, past the right edge
    EXPECT_EQ(h.ed.FScrollX, 400 - 140);
    EXPECT_EQ(h.ed.FCaretPixelX, 140);
    EXPECT_EQ(h.view.Named("DrawAll").size(), 1u);
    EXPECT_TRUE(h.ed.GotoXY(0, 0, 0));
    EXPECT_EQ(h.ed.FScrollX, 0);
    EXPECT_EQ(h.ed.FCaretPixelX, 0);
}

TEST(VellEditSelection, CaretPlacementReportsEachMoveOnce) {
    EditorHarness h;
    h.Load("abc\r\ndef");
    std::vector<std::pair<int32_t, int32_t>> seen;
    h.ed.OnSelectionChange = [&](TVellEdit& e) { seen.emplace_back(e.FCaretX, e.FCaretY); };
    h.ed.GotoXY(2, 1, 0);
    h.ed.GotoXY(2, 1, 0);
    h.ed.GotoXY(1, 0, 0);
    EXPECT_EQ(seen, (std::vector<std::pair<int32_t, int32_t>>{{2, 1}, {1, 0}}));
}
