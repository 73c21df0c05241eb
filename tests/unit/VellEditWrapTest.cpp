// Display rows: cutting lines at the wrap column, unwrapping, position
// conversion and the re-wrap after an edit.
#include <gtest/gtest.h>

#include "headless/EditorHarness.h"
#include "textstore/ShiftJis.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;

namespace {

using Rows = std::vector<std::string>;

std::string Line(char c, int n) {
    return std::string(static_cast<size_t>(n), c);
}

}  // namespace

TEST(VellEditWrap, LinesNearTheColumnFollowTheFullWrapRule) {
    EditorHarness h;
    h.Load(Line('a', 70) + "\r\n" + Line('b', 71) + "\r\n" + Line('c', 72) + "\r\n" +
               Line('d', 73) + "\r\n",
           true);
    EXPECT_EQ(h.Rows(), (Rows{Line('a', 70) + "\r\n", Line('b', 71), "\r\n", Line('c', 72), "\r\n",
                              Line('d', 72), "d\r\n", "\0\0"s}));
}

TEST(VellEditWrap, TypingAtALineEndUsesTheReWrapRule) {
    EditorHarness h;
    h.Load(Line('a', 70) + "\r\n", true);
    h.ed.GotoXY(70, 0);
    h.ed.InsertTyped("b");
    EXPECT_EQ(h.Row(0), Line('a', 70) + "b\r\n");
    h.ed.InsertTyped("c");
    EXPECT_EQ(h.Row(0), Line('a', 70) + "bc\r\n");  // 72 text bytes and the break in one row
    EXPECT_EQ(h.Count(), 2);

    // A new layout of the whole text gives the full-wrap form again.
    h.ed.SetWordWrap(false);
    h.ed.SetWordWrap(true);
    EXPECT_EQ(h.Row(0), Line('a', 70) + "bc");
    EXPECT_EQ(h.Row(1), "\r\n");

    h.ed.SetAllText(Line('a', 70) + "\r\n");
    h.ed.GotoXY(70, 0);
    h.ed.InsertTyped("b");
    h.ed.InsertTyped("c");
    h.ed.InsertTyped("d");
    EXPECT_EQ(h.Rows(), (Rows{Line('a', 70) + "bc", "d\r\n", "\0\0"s}));
    EXPECT_EQ(h.ed.CaretX(), 1);
    EXPECT_EQ(h.ed.CaretY(), 1);
}

TEST(VellEditWrap, ShorteningALineRemovesItsSpareRows) {
    EditorHarness h;
    h.Load(Line('x', 250) + "\r\nnext", true);
    ASSERT_EQ(h.Count(), 5);  // 72, 72, 72, 34 + break, next
    h.ed.Select({10, 0}, {10, 2});
    h.ed.SetSelText("");
    EXPECT_EQ(h.Rows(), (Rows{Line('x', 72), Line('x', 34) + "\r\n", "next\0\0"s}));
}

TEST(VellEditWrap, DoubleByteCharacterAtTheColumnMovesWhole) {
    EditorHarness h;
    h.Load(Line('a', 71) + std::string(kAsia) + "\r\n", true);
    EXPECT_EQ(h.Row(0), Line('a', 71));
    EXPECT_EQ(h.Row(1), std::string(kAsia) + "\r\n");
    // Runs of bytes in the lead range: the cut still falls between characters.
    h.Load(Repeat(kAsia, 40), true);
    EXPECT_EQ(h.Row(0), Repeat(kAsia, 36));
    EXPECT_EQ(h.Row(1), Repeat(kAsia, 4) + "\0\0"s);
}

TEST(VellEditWrap, TabsCountTheirExpandedColumns) {
    EditorHarness h;
    h.Load("\t" + Line('x', 64) + "\r\n", true);  // 6 + 64 + break = 72
    EXPECT_EQ(h.Count(), 2);
    h.Load("\t" + Line('x', 66) + "\r\n", true);
    EXPECT_EQ(h.Row(0), "\t" + Line('x', 66));
    EXPECT_EQ(h.Row(1), "\r\n");
    h.Load(Line('\t', 13) + "\r\n", true);
    EXPECT_EQ(h.Rows(), (Rows{Line('\t', 12), "\t\r\n", "\0\0"s}));
}

TEST(VellEditWrap, EndMarkerIsCutLikeALineBreakButNeverSplit) {
    EditorHarness h;
    h.Load(Line('x', 71), true);
    EXPECT_EQ(h.Rows(), (Rows{Line('x', 71), "\0\0"s}));
    h.Load(Line('x', 73), true);
    EXPECT_EQ(h.Rows(), (Rows{Line('x', 72), "x\0\0"s}));
}

TEST(VellEditWrap, UnwrapAndWrapKeepTheCaretOnItsCharacter) {
    EditorHarness h;
    h.Load("first\r\n" + Line('x', 100) + "y" + Line('z', 60) + "\r\n", true);
    h.ed.GotoXY(28, 2);  // the y
    h.ed.SetWordWrap(false);
    EXPECT_EQ(h.ed.CaretY(), 1);
    EXPECT_EQ(h.ed.CaretX(), 100);
    h.ed.SetWordWrap(true);
    EXPECT_EQ(h.ed.CaretY(), 2);
    EXPECT_EQ(h.ed.CaretX(), 28);

    // The end of a piece and the start of the next row are one place; the
    // caret comes back at the start of the row.
    h.ed.MoveCaret(72, 1, ScrollMode::IfNeeded, true);
    ASSERT_EQ(h.ed.CaretX(), 72);
    h.ed.SetWordWrap(false);
    h.ed.SetWordWrap(true);
    EXPECT_EQ(h.ed.CaretX(), 0);
    EXPECT_EQ(h.ed.CaretY(), 2);
}

TEST(VellEditWrap, ConversionsAgreeWithTheLogicalText) {
    EditorHarness h;
    const std::string text =
        Line('a', 150) + "\r\n\r\n" + Repeat(kA, 50) + "\t\tq\r\n" + Line('b', 144) + "\r\nend";
    h.Load(text, true);
    std::vector<std::string> lines;
    for (size_t p = 0, q; p <= text.size(); p = q + 2) {
        q = text.find("\r\n", p);
        if (q == std::string::npos) q = text.size();
        lines.push_back(text.substr(p, q - p) + (q == text.size() ? "\0\0"s : "\r\n"s));
    }
    for (int32_t y = 0; y < h.Count(); ++y) {
        for (int32_t x = 0; x <= h.ed.MaxCaretX(y); ++x) {
            int32_t lx = x, ly = y;
            h.ed.EntryToLogical(lx, ly);
            ASSERT_LT(ly, static_cast<int32_t>(lines.size()));
            if (x < static_cast<int32_t>(h.Row(y).size())) {
                ASSERT_EQ(lines[ly][lx], h.Row(y)[x]) << "row " << y << " x " << x;
            }
            int32_t ex = lx, ey = ly;
            h.ed.LogicalToEntry(ex, ey);
            const bool pieceEnd = x == static_cast<int32_t>(h.Row(y).size());
            EXPECT_EQ(ex, pieceEnd ? 0 : x) << "row " << y << " x " << x;
            EXPECT_EQ(ey, pieceEnd ? y + 1 : y);
        }
    }
}

TEST(VellEditWrap, PieceEndingInALoneLineFeedDoesNotEndTheLine) {
    EditorHarness h;
    h.Load(Line('a', 71) + "\n" + Line('b', 10) + "\r\nc\r\n", true);
    ASSERT_EQ(h.Row(0).back(), '\n');
    int32_t x = 0, y = 2;  // the c
    h.ed.EntryToLogical(x, y);
    EXPECT_EQ(y, 1);
    EXPECT_EQ(x, 0);
    h.ed.LogicalToEntry(x, y);
    EXPECT_EQ(y, 2);
}

TEST(VellEditWrap, AutoWrapCutsAtTheWindowWidth) {
    EditorHarness h;
    h.ed.AutoWrap = true;
    h.ed.ResizeTextArea(h.ed.Viewport().TextLeft + 160, 89);  // 20 cells
    h.Load(Line('x', 45) + "\r\n", true);
    EXPECT_EQ(h.Rows(), (Rows{Line('x', 20), Line('x', 20), "xxxxx\r\n", "\0\0"s}));
}

TEST(VellEditWrap, AutoWrapNarrowerThanOneCharacterStillTakesOne) {
    EditorHarness h;
    h.ed.AutoWrap = true;
    h.ed.ResizeTextArea(h.ed.Viewport().TextLeft + 4, 89);
    h.Load("ab" + std::string(kA) + "\r\n", true);
    EXPECT_EQ(h.Rows(), (Rows{"a", "b", std::string(kA), "\r\n", "\0\0"s}));
    h.ed.GotoXY(0, 0);
    h.ed.InsertTyped("z");
    EXPECT_EQ(h.ed.GetAllText(), "zab" + std::string(kA) + "\r\n");
}

TEST(VellEditWrap, ColumnChangeReWrapsTheWholeText) {
    EditorHarness h;
    h.Load(Line('x', 30), true);
    h.ed.SetColumn(12);
    EXPECT_EQ(h.Rows(), (Rows{Line('x', 12), Line('x', 12), "xxxxxx\0\0"s}));
    h.ed.SetWordWrap(false);
    h.ed.SetColumn(20);  // remembered for the next wrap
    EXPECT_EQ(h.Count(), 1);
    h.ed.SetWordWrap(true);
    EXPECT_EQ(h.Row(0), Line('x', 20));
}

TEST(VellEditWrap, EditRepaintsOnlyTheRowsItChanged) {
    EditorHarness h;
    h.Load("hello world\r\nnext\r\n", true);
    h.ed.GotoXY(5, 0);
    h.view.Clear();
    h.ed.InsertTyped("X");
    using C = RecordingView::Call;
    EXPECT_EQ(h.view.Paints(), (std::vector<C>{{"DrawLineText", 0, 40}}));

    h.Load(Line('a', 70) + "\r\nnext\r\n", true);
    h.ed.GotoXY(0, 0);
    h.ed.InsertTyped("1");
    h.ed.InsertTyped("2");
    h.view.Clear();
    h.ed.InsertTyped("3");  // the line needs a second row: everything below moves
    EXPECT_EQ(h.view.Paints(), (std::vector<C>{{"DrawLines", Span(DrawSpan::From), 0, 0}}));
}

TEST(VellEditWrap, ReWrapAcrossTwoRowsRepaintsBoth) {
    EditorHarness h;
    h.Load(Line('a', 100) + "\r\n", true);
    h.ed.GotoXY(5, 0);
    h.view.Clear();
    h.ed.InsertTyped("X");
    using C = RecordingView::Call;
    EXPECT_EQ(h.view.Paints(),
              (std::vector<C>{{"DrawLineText", 0, 40}, {"DrawLines", Span(DrawSpan::Rows), 1, 1}}));
    EXPECT_EQ(h.Row(1), Line('a', 29) + "\r\n");
}

TEST(VellEditWrap, FailedRelayoutIsReportedWithItsStep) {
    EditorHarness h;
    h.Load(Line('x', 100), true);
    h.view.failOn = "DrawAll";
    h.ed.SetWordWrap(false);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, "Error:OC004_6");
    EXPECT_FALSE(h.ed.WordWrap());
    EXPECT_EQ(h.ed.GetAllText(), Line('x', 100));
}

TEST(VellEditWrap, LogicalLineHelpersJoinThePieces) {
    EditorHarness h;
    h.Load("ab\r\n" + Line('y', 150) + "\r\nlast", true);
    int32_t y = 2, lastY = 0;
    h.ed.GetLogicalLineRange(y, lastY);
    EXPECT_EQ(y, 1);
    EXPECT_EQ(lastY, 3);
    std::string s;
    h.ed.JoinLogicalLine(1, lastY, s);
    EXPECT_EQ(s, Line('y', 150) + "\r\n");
    EXPECT_EQ(lastY, 3);
    h.ed.GetLogicalLine(2, s);
    EXPECT_EQ(s, Line('y', 150));
    h.ed.GetLogicalLine(99, s);
    EXPECT_EQ(s, "last");
}
