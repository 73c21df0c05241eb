// Clicks, mouse selection with auto-scroll, and moving or copying text by
// dragging it, in client pixels of the 8 x 16 grid.
#include <gtest/gtest.h>

#include "headless/ViewHarness.h"

namespace tw::test {
namespace {

struct MouseTest : ::testing::Test {
    ViewHarness h{10};
    void Click(int x, int y) {
        h.view.MouseDown(MouseButton::Left, x, y);
        h.view.MouseUp(MouseButton::Left, x, y);
    }
    void Drag(int x0, int y0, int x1, int y1, bool ctrl = false) {
        h.view.MouseDown(MouseButton::Left, x0, y0);
        h.keys.control = ctrl;
        h.view.DragOver(x1, y1);
        h.view.MouseUp(MouseButton::Left, x1, y1);
        h.keys.control = false;
    }
    std::pair<int32_t, int32_t> Caret() const { return {h.ed.CaretX(), h.ed.CaretY()}; }
};

TEST_F(MouseTest, ClickLandsOnTheNearestBoundary) {
    h.Load(
        "\x82\xa0"
        "bc\r\nxy\r\n");
    Click(h.X(1, 1), h.Y(0));  // right half of あ
    EXPECT_EQ(Caret(), std::make_pair(2, 0));
    Click(h.X(0, 7), h.Y(0));  // left half
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    Click(h.X(40), h.Y(9));  // below the text: the last row, its end
    EXPECT_EQ(Caret(), std::make_pair(0, 2));
    EXPECT_EQ(h.host.focusRequests, 3);
}

TEST_F(MouseTest, MarginClickSelectsTheWholeRowWithItsLineBreak) {
    h.Load("abc\r\ndef\r\nlast");
    Click(3, h.Y(1));
    EXPECT_EQ(Caret(), std::make_pair(0, 1));
    EXPECT_EQ(h.ed.GetSelText(), "def\r\n");
    h.Key(VK_DELETE);
    EXPECT_EQ(h.Text(), "abc\r\nlast") << "the rows join where the line was";
    Click(3, h.Y(1));
    EXPECT_EQ(h.ed.GetSelText(), "last") << "the last row without its end marker";
}

TEST_F(MouseTest, MarginDragDownSelectsWholeRowsAndUpKeepsTheClickedRowsEnd) {
    h.Load(Lines(6));
    h.view.MouseDown(MouseButton::Left, 3, h.Y(1));
    h.view.MouseMove(3, h.Y(3));
    h.view.MouseUp(MouseButton::Left, 3, h.Y(3));
    EXPECT_EQ(h.ed.GetSelText(), "line1\r\nline2\r\n");
    h.view.MouseDown(MouseButton::Left, 3, h.Y(4));
    h.view.MouseMove(3, h.Y(2));
    h.view.MouseUp(MouseButton::Left, 3, h.Y(2));
    EXPECT_EQ(h.ed.GetSelText(), "line2\r\nline3\r\nline4\r\n");
}

TEST_F(MouseTest, MarginClickWhenScrolledIsAnOrdinaryClick) {
    h.ed.SetHorzScrollBar(true);
    h.Load(std::string(100, 'x') + "\r\nabc\r\n");
    h.view.DrawAll();
    h.view.WMHScroll(SB_LINEDOWN);
    ASSERT_GT(h.ed.Viewport().ScrollX, 0);
    Click(3, h.Y(1));
    EXPECT_FALSE(h.ed.SelectionExists());
}

TEST_F(MouseTest, ShiftClickExtendsFromTheAnchor) {
    h.Load("abcdef\r\nghij\r\n");
    Click(h.X(1), h.Y(0));
    h.keys.shift = true;
    Click(h.X(2), h.Y(1));
    h.keys.shift = false;
    EXPECT_EQ(h.ed.GetSelText(), "bcdef\r\ngh");
}

TEST_F(MouseTest, DraggingSelectsAndAPlainClickOutsideDrops) {
    h.Load("abcdef\r\n");
    h.view.MouseDown(MouseButton::Left, h.X(1), h.Y(0));
    h.view.MouseMove(h.X(4), h.Y(0));
    h.view.MouseUp(MouseButton::Left, h.X(4), h.Y(0));
    EXPECT_EQ(h.ed.GetSelText(), "bcd");
    Click(h.X(5, 6), h.Y(0));
    EXPECT_FALSE(h.ed.SelectionExists());
}

TEST_F(MouseTest, ClickWhileAllSelectedDropsTheSelectionWithoutADrag) {
    h.Load("abcdef\r\n");
    h.Key('A', true);
    Click(h.X(2), h.Y(0));
    EXPECT_FALSE(h.ed.SelectionExists());
    EXPECT_EQ(h.host.drags, 0);
}

TEST_F(MouseTest, HoldingBelowTheTextScrollsAndAccelerates) {
    h.Load(Lines(200));
    h.view.MouseDown(MouseButton::Left, h.X(1), h.Y(2));
    h.view.MouseMove(h.X(1), 4 + 10 * 16 + 20);
    EXPECT_EQ(h.view.AutoScroll(), 1);
    ASSERT_NE(h.timers.last, nullptr);
    EXPECT_EQ(h.timers.last->interval, 40);
    std::vector<int32_t> steps;
    for (int i = 0; i < 16; ++i) {
        const int32_t top = h.ed.TopLine();
        h.timers.last->Fire();
        if (h.ed.TopLine() != top) steps.push_back(h.ed.TopLine() - top);
    }
    ASSERT_GE(steps.size(), 6u);
    EXPECT_EQ(std::vector<int32_t>(steps.begin(), steps.begin() + 6),
              (std::vector<int32_t>{1, 1, 1, 1, 2, 2}));
    EXPECT_TRUE(h.ed.Selection().Selected) << "the moves extend the selection";
    h.view.MouseUp(MouseButton::Left, h.X(1), 200);
    EXPECT_EQ(h.view.RepeatCount(), 0);
    const int32_t top = h.ed.TopLine();
    h.timers.last->Fire();
    EXPECT_EQ(h.ed.TopLine(), top) << "released: the timer does nothing";
}

TEST_F(MouseTest, LeftOfTheTextScrollsBackOnlyWhenScrolled) {
    h.Load(std::string(100, 'x') + "\r\n");
    h.view.MouseDown(MouseButton::Left, h.X(3), h.Y(0));
    h.view.MouseMove(2, h.Y(0));
    EXPECT_EQ(h.view.AutoScroll(), 0);
    h.view.MouseMove(500, h.Y(0));
    EXPECT_EQ(h.view.AutoScroll(), 2);
    for (int i = 0; i < 60; ++i)
        h.timers.last->Fire();
    EXPECT_GT(h.ed.Viewport().ScrollX, 0);
    h.view.MouseMove(2, h.Y(0));
    EXPECT_EQ(h.view.AutoScroll(), -2);
    const int32_t x = h.ed.CaretX();
    h.timers.last->Fire();
    EXPECT_EQ(h.ed.CaretX(), x - 1);
}

TEST_F(MouseTest, DragMovesTextWithinARowToWhereItWasDropped) {
    h.Load("abc def ghi\r\n");
    h.ed.GotoXY(0, 0);
    h.Key(VK_RIGHT, true, true);  // "abc" selected
    Drag(h.X(1), h.Y(0), h.X(7, 1), h.Y(0));
    EXPECT_EQ(h.Text(), " defabc ghi\r\n");
    EXPECT_EQ(h.clipboard.bytes, "abc");
    EXPECT_FALSE(h.ed.SelectionExists());
    EXPECT_EQ(h.ed.UndoList().size(), 2u) << "a removal and an insertion";
    h.Key('Z', true);
    h.Key('Z', true);
    EXPECT_EQ(h.Text(), "abc def ghi\r\n");
}

TEST_F(MouseTest, DragWithCtrlCopiesAndShowsTheCopyCursor) {
    h.Load("abc def\r\nxyz\r\n");
    h.Key(VK_RIGHT, true, true);
    h.view.MouseDown(MouseButton::Left, h.X(1), h.Y(0));
    EXPECT_TRUE(h.view.Dragging());
    h.view.DragModifierChanged(true);
    EXPECT_EQ(h.view.DragCursor(), DragCursorShape::Copy);
    h.view.DragOver(h.X(3, 1), h.Y(1));
    h.keys.control = true;
    h.view.MouseUp(MouseButton::Left, h.X(3, 1), h.Y(1));
    h.keys.control = false;
    EXPECT_EQ(h.Text(), "abc def\r\nxyzabc\r\n");
    EXPECT_EQ(h.view.DragCursor(), DragCursorShape::Move);
    EXPECT_EQ(h.host.cursors,
              (std::vector<DragCursorShape>{DragCursorShape::Copy, DragCursorShape::Move}));
}

TEST_F(MouseTest, DropOntoItsOwnSelectionOnlyRemovesTheSelection) {
    h.Load("abc def\r\n");
    h.Key(VK_RIGHT, true, true);
    Drag(h.X(1), h.Y(0), h.X(2), h.Y(0));
    EXPECT_EQ(h.Text(), "abc def\r\n");
    EXPECT_FALSE(h.ed.SelectionExists());
}

TEST_F(MouseTest, DropDoesNotDependOnTheClipboardKeepingTheText) {
    h.Load("abc def\r\nxyz\r\n");
    h.Key(VK_RIGHT, true, true);
    h.view.MouseDown(MouseButton::Left, h.X(1), h.Y(0));
    h.view.DragOver(h.X(3, 1), h.Y(1));
    // Another program takes the clipboard in the middle of the drag, and the
    // copy that the drop puts there is lost at once.
    h.clipboard.stolen = true;
    h.view.MouseUp(MouseButton::Left, h.X(3, 1), h.Y(1));
    EXPECT_EQ(h.Text(), " def\r\nxyzabc\r\n");
}

TEST_F(MouseTest, MoveBelowTheSourceAcrossLinesLandsOnTheDroppedRow) {
    h.Load("one\r\ntwo\r\nthree\r\nfour\r\n");
    h.view.MouseDown(MouseButton::Left, 3, h.Y(0));  // "one\r\n" from the margin
    h.view.MouseUp(MouseButton::Left, 3, h.Y(0));
    Drag(h.X(1), h.Y(0), h.X(0, 1), h.Y(3));  // drop at the start of "four"
    EXPECT_EQ(h.Text(), "two\r\nthree\r\none\r\nfour\r\n");
}

TEST_F(MouseTest, MoveWithWordWrapLandsInLogicalCoordinates) {
    h.ed.SetColumn(10);
    h.Load("abcdefghijklmnopq\r\nuvw\r\n", true);
    ASSERT_EQ(h.Row(1), "klmnopq\r\n");
    h.ed.GotoXY(0, 0);
    for (int i = 0; i < 5; ++i)
        h.Key(VK_RIGHT, false, true);         // "abcde"
    Drag(h.X(1), h.Y(0), h.X(5, 1), h.Y(1));  // before "p" on the second piece
    EXPECT_EQ(h.Text(), "fghijklmnoabcdepq\r\nuvw\r\n");
}

TEST_F(MouseTest, DoubleClickFiresTheHookAndTheSecondPressDoesNothing) {
    h.Load("abc def\r\n");
    int fired = 0;
    h.view.OnDblclick = [&](TVellEdit&) { ++fired; };
    Click(h.X(2), h.Y(0));
    h.view.DblClick();
    h.view.MouseDown(MouseButton::Left, h.X(6), h.Y(0));
    h.view.MouseUp(MouseButton::Left, h.X(6), h.Y(0));
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(Caret(), std::make_pair(2, 0));
}

TEST_F(MouseTest, RightButtonAsksForTheMenuOnly) {
    h.Load("abc\r\n");
    h.view.MouseDown(MouseButton::Right, 30, 10);
    EXPECT_EQ(h.host.menus.size(), 1u);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
}

TEST_F(MouseTest, ReadOnlyStartsNoDrag) {
    h.Load("abc def\r\n");
    h.Key(VK_RIGHT, true, true);
    h.ed.ReadOnly = true;
    h.view.MouseDown(MouseButton::Left, h.X(1), h.Y(0));
    EXPECT_FALSE(h.view.Dragging());
    EXPECT_FALSE(h.ed.SelectionExists());
}

/// The key table stays live while the button is held: an edit during the
/// drag must not make the drop remove and re-insert bytes it no longer holds.
TEST_F(MouseTest, EditingDuringATextDragCancelsTheDrop) {
    h.Load("abc def\r\n");
    h.Key(VK_RIGHT, true, true);  // "abc"
    h.view.MouseDown(MouseButton::Left, h.X(1), h.Y(0));
    ASSERT_TRUE(h.view.Dragging());
    h.Key(VK_DELETE);  // removes the selection
    ASSERT_EQ(h.Text(), " def\r\n");
    h.view.DragOver(h.X(3, 1), h.Y(0));
    h.view.MouseUp(MouseButton::Left, h.X(3, 1), h.Y(0));
    EXPECT_FALSE(h.view.Dragging());
    EXPECT_EQ(h.Text(), " def\r\n");

    h.Load("abc def\r\nxyz\r\n");
    h.Key(VK_RIGHT, true, true);
    h.view.MouseDown(MouseButton::Left, h.X(1), h.Y(0));
    h.Type("Q");  // replaces the selection
    h.view.DragOver(h.X(1, 1), h.Y(1));
    h.view.MouseUp(MouseButton::Left, h.X(1, 1), h.Y(1));
    EXPECT_EQ(h.Text(), "Q def\r\nxyz\r\n");
}

/// A selection that ends at column 0 of a row ends with the row above: a
/// press at that column starts a new selection, not a drag of the line.
TEST_F(MouseTest, PressJustAfterASelectionEndingAtARowStartSelectsAnew) {
    h.Load(Lines(4));
    h.Key(VK_DOWN, false, true);  // "line0\r\n", ending at (0, 1)
    ASSERT_EQ(h.ed.GetSelText(), "line0\r\n");
    h.view.MouseDown(MouseButton::Left, h.X(0, 1), h.Y(1));
    EXPECT_FALSE(h.view.Dragging());
    h.view.MouseMove(h.X(3, 1), h.Y(2));
    h.view.MouseUp(MouseButton::Left, h.X(3, 1), h.Y(2));
    EXPECT_EQ(h.ed.GetSelText(), "line1\r\nlin");
    EXPECT_EQ(h.Text(), Lines(4));

    h.Load(Lines(4));
    h.view.MouseDown(MouseButton::Left, 3, h.Y(0));  // the row from the margin
    h.view.MouseUp(MouseButton::Left, 3, h.Y(0));
    h.view.MouseDown(MouseButton::Left, h.X(0, 1), h.Y(1));
    EXPECT_FALSE(h.view.Dragging());
    h.view.MouseUp(MouseButton::Left, h.X(0, 1), h.Y(1));
    EXPECT_EQ(Caret(), std::make_pair(0, 1));
    EXPECT_FALSE(h.ed.SelectionExists());
}

}  // namespace
}  // namespace tw::test
