// Inserting, deleting and replacing text, and the clipboard.
#include <gtest/gtest.h>

#include "editor/TabExpand.h"
#include "headless/EditorHarness.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;

namespace {

using Rows = std::vector<std::string>;
using Call = RecordingView::Call;

class FailingClipboard : public IClipboard {
  public:
    void SetText(std::string_view) override { throw std::runtime_error("clipboard busy"); }
    std::optional<std::string> GetText() override { return std::nullopt; }
};

}  // namespace

TEST(VellEditEdit, PastingTwoLinesSplitsTheLine) {
    EditorHarness h;
    h.Load("abcdef");
    h.ed.GotoXY(3, 0);
    h.clipboard.bytes = "X\r\nY";
    h.ed.PasteFromClipboard();
    EXPECT_EQ(h.Rows(), (Rows{"abcX\r\n", "Ydef\0\0"s}));
    EXPECT_EQ(h.ed.CaretX(), 1);  // before the old rest of the line
    EXPECT_EQ(h.ed.CaretY(), 1);
    EXPECT_EQ(h.ed.Selection().Anchor.X, 1);
    EXPECT_EQ(h.ed.Selection().Anchor.Y, 1);
}

TEST(VellEditEdit, PastedLineBreakAtAPieceEndPutsTheCaretOnTheNextRow) {
    EditorHarness h;
    h.Load(std::string(100, 'x'), true);
    h.ed.MoveCaret(72, 0, ScrollMode::IfNeeded, true);  // the end of the first piece
    h.clipboard.bytes = "A\r\n";
    h.ed.PasteFromClipboard();
    EXPECT_EQ(h.ed.GetAllText(), std::string(72, 'x') + "A\r\n" + std::string(28, 'x'));
    EXPECT_EQ(h.ed.CaretX(), 0);
    EXPECT_EQ(h.Row(h.ed.CaretY()), std::string(28, 'x') + "\0\0"s);
}

TEST(VellEditEdit, ForeignLineBreaksAreNormalisedOnTheWayIn) {
    EditorHarness h;
    h.Load("ab");
    h.ed.GotoXY(1, 0);
    h.clipboard.bytes = "x\ry\0z\r"s;
    h.ed.PasteFromClipboard();
    EXPECT_EQ(h.ed.GetAllText(), "ax\r\nyz\r\nb");
    EXPECT_EQ(h.ed.UndoList().front().Text, "x\r\nyz\r\n");
    EXPECT_EQ(h.ed.CaretY(), 2);
    EXPECT_EQ(h.ed.CaretX(), 0);
}

TEST(VellEditEdit, EmptyTextOnlyDeletesTheSelection) {
    EditorHarness h;
    h.Load("abcdef");
    h.ed.Select({1, 0}, {4, 0});
    h.ed.SetSelText("");
    EXPECT_EQ(h.ed.GetAllText(), "aef");
    ASSERT_EQ(h.ed.UndoList().size(), 1u);
    EXPECT_EQ(h.ed.UndoList().front().Kind, UndoKind::Delete);
    EXPECT_EQ(h.ed.UndoList().front().Text, "bcd");
}

TEST(VellEditEdit, EmptySelectionOnAnEmptyLineKeepsTheLine) {
    EditorHarness h;
    h.Load("a\r\n\r\nb");
    h.ed.Select({0, 1}, {0, 1});  // selected, but nothing in it
    h.ed.SetSelText("x");
    EXPECT_EQ(h.Rows(), (Rows{"a\r\n", "x\r\n", "b\0\0"s}));
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "a\r\n\r\nb");
}

TEST(VellEditEdit, DeletingAcrossRowsJoinsThem) {
    EditorHarness h;
    h.Load("one\r\ntwo\r\nthree");
    h.ed.Select({1, 0}, {2, 2});
    h.view.Clear();
    h.ed.SetSelText("");
    EXPECT_EQ(h.Rows(), (Rows{"oree\0\0"s}));
    EXPECT_EQ(h.view.Paints(), (std::vector<Call>{{"DrawLineText", 0, 8},
                                                  {"DrawLines", Span(DrawSpan::From), 1, 0}}));
}

TEST(VellEditEdit, InsertWithoutPositionsGoesToTheAnchorAndKeepsTheSelection) {
    EditorHarness h;
    h.Load("abcdef");
    h.ed.GotoXY(2, 0);
    h.ed.ReplaceRange("Z", -1, -1, -1, -1);
    EXPECT_EQ(h.ed.GetAllText(), "abZcdef");
    h.ed.Select({1, 0}, {3, 0});
    h.ed.ReplaceRange("Q", -1, -1, -1, -1);
    EXPECT_EQ(h.ed.GetAllText(), "aQbZcdef");
}

TEST(VellEditEdit, ReplaceRangeReachesIntoFollowingPiecesWhenWrapped) {
    EditorHarness h;
    h.Load(std::string(100, 'x') + "abc", true);
    h.ed.ReplaceRange("Z", 70, 0, 75, 0);  // end X past the first row
    EXPECT_EQ(h.ed.GetAllText(), std::string(70, 'x') + "Z" + std::string(25, 'x') + "abc");
}

TEST(VellEditEdit, ReplaceRangeEndInsideALineBreakTakesTheWholeBreak) {
    EditorHarness h;
    h.Load("abc\r\ndef");
    h.ed.ReplaceRange("Z", 1, 0, 4, 0);  // X 4 is the LF
    EXPECT_EQ(h.Rows(), (Rows{"aZdef\0\0"s}));
    h.ed.ReplaceRange("Q", 1, 0, 99, 0);
    EXPECT_EQ(h.Rows(), (Rows{"aQ\0\0"s}));
}

TEST(VellEditEdit, ReplaceRangeWithinARowRepaintsOnlyThatRow) {
    EditorHarness h;
    h.Load("abcdef\r\nnext");
    h.view.Clear();
    h.ed.ReplaceRange("XY", 1, 0, 3, 0);
    EXPECT_EQ(h.ed.GetAllText(), "aXYdef\r\nnext");
    EXPECT_EQ(h.view.Named("DrawLines").back(), (Call{"DrawLines", Span(DrawSpan::Rows), 0, 0}));
    EXPECT_TRUE(h.view.Named("DrawAll").empty());
}

TEST(VellEditEdit, ReplaceRangeIgnoresAnEarlierSelectAll) {
    EditorHarness h;
    h.Load("one\r\ntwo");
    h.ed.SelectAll();
    h.ed.ReplaceRange("X", 0, 1, 3, 1);
    EXPECT_EQ(h.ed.GetAllText(), "one\r\nX");
}

TEST(VellEditEdit, ReplaceLinesReplacesRowsWithTheirBreaks) {
    EditorHarness h;
    h.Load("a\r\nb\r\nc\r\nd");
    int32_t from = 1, to = 1;
    h.ed.ReplaceLines("B\r\n", from, to);
    EXPECT_EQ(h.ed.GetAllText(), "a\r\nB\r\nc\r\nd");
    EXPECT_EQ(to, 1);  // the same rows to repaint
    to = 2;
    h.ed.ReplaceLines("X\r\nY\r\nZ\r\n", from, to);
    EXPECT_EQ(h.ed.GetAllText(), "a\r\nX\r\nY\r\nZ\r\nd");
    EXPECT_EQ(to, h.ed.Viewport().PageLines - 1);  // rows moved: repaint to the bottom
    ASSERT_GE(h.ed.UndoList().size(), 2u);
    EXPECT_EQ(h.ed.UndoList()[0].Kind, UndoKind::Insert);
    EXPECT_EQ(h.ed.UndoList()[1].Kind, UndoKind::Delete);
    EXPECT_EQ(h.ed.UndoList()[0].Y, h.ed.UndoList()[1].Y);
}

TEST(VellEditEdit, ReplaceLinesOfTheLastRowKeepsTheEndMarker) {
    EditorHarness h;
    h.Load("a\r\nb\r\nc");
    int32_t from = 2, to = 2;
    h.ed.ReplaceLines("X", from, to);
    EXPECT_EQ(h.Rows(), (Rows{"a\r\n", "b\r\n", "X\0\0"s}));
}

TEST(VellEditEdit, ReplaceLinesIgnoresAnEarlierSelectAll) {
    EditorHarness h;
    h.Load("a\r\nb\r\nc");
    h.ed.SelectAll();
    int32_t from = 1, to = 1;
    h.ed.ReplaceLines("B\r\n", from, to);
    EXPECT_EQ(h.ed.GetAllText(), "a\r\nB\r\nc");
}

TEST(VellEditEdit, CopyInSelectAllLeavesOutTheEndMarker) {
    EditorHarness h;
    h.Load("x\r\ny");
    h.ed.GotoXY(1, 1);
    h.ed.SelectAll();
    h.ed.CopyToClipboard();
    EXPECT_EQ(h.clipboard.bytes, "x\r\ny");
    EXPECT_TRUE(h.ed.Selection().AllSelected);
    EXPECT_EQ(h.ed.CaretX(), 1);
}

TEST(VellEditEdit, CutWithoutSelectionChangesNothing) {
    EditorHarness h;
    h.Load("abc");
    h.ed.CutToClipboard();
    EXPECT_FALSE(h.clipboard.bytes.has_value());
    EXPECT_EQ(h.ed.GetAllText(), "abc");
    EXPECT_TRUE(h.ed.UndoList().empty());
}

TEST(VellEditEdit, CopyAndPasteAreByteExact) {
    EditorHarness h;
    const std::string text =
        std::string(kAsia) + "\t" + std::string(kKana) + "\x81\x40z\r\n" + std::string(kA) + "\\~";
    h.Load(text, true);
    h.ed.SelectAll();
    h.ed.CutToClipboard();
    EXPECT_EQ(h.ed.GetAllText(), "");
    EXPECT_EQ(h.clipboard.bytes, text);
    h.ed.PasteFromClipboard();
    h.ed.PasteFromClipboard();
    EXPECT_EQ(h.ed.GetAllText(), text + text);
}

TEST(VellEditEdit, FailedClipboardKeepsTheText) {
    RecordingMessageBox messages;
    FailingClipboard clipboard;
    FixedMetrics metrics;
    TVellEdit ed(EditorServices{&metrics, &clipboard, &messages, nullptr});
    ed.SetAllText("keep me");
    ed.SelectAll();
    ed.CutToClipboard();
    EXPECT_EQ(ed.GetAllText(), "keep me");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error:OC002");
    ed.PasteFromClipboard();  // no text on offer: nothing happens
    EXPECT_EQ(ed.GetAllText(), "keep me");
}

TEST(VellEditEdit, ReadOnlyBlocksEditsButNotCopying) {
    EditorHarness h;
    h.Load("abc\r\ndef");
    h.ed.ReadOnly = true;
    h.ed.Select({0, 0}, {2, 0});
    h.ed.SetSelText("X");
    h.ed.ReplaceRange("X", 0, 1, 1, 1);
    int32_t from = 0, to = 1;
    h.ed.ReplaceLines("X", from, to);
    h.clipboard.bytes = "P";
    h.ed.PasteFromClipboard();
    h.ed.CutToClipboard();
    EXPECT_EQ(h.ed.GetAllText(), "abc\r\ndef");
    EXPECT_EQ(h.clipboard.bytes, "P");  // read-only cuts nothing, not even a copy
    EXPECT_TRUE(h.ed.UndoList().empty());
    h.ed.CopyToClipboard();
    EXPECT_EQ(h.clipboard.bytes, "ab");
}

TEST(VellEditEdit, TypingWithoutWrapRepaintsTheRowFromTheCaret) {
    EditorHarness h;
    h.Load("hello\r\nworld");
    h.ed.GotoXY(2, 1);
    h.view.Clear();
    h.ed.InsertTyped("X");
    EXPECT_EQ(h.view.Paints(), (std::vector<Call>{{"DrawLineText", 1, 16}}));
    EXPECT_EQ(h.ed.Selection().PixelX, 24);
    h.view.Clear();
    h.view.textEdgeMoves = true;  // a wider line-number column moves every row
    h.ed.InsertTyped("Y");
    EXPECT_EQ(h.view.Paints(), (std::vector<Call>{{"DrawAll"}}));
}

TEST(VellEditEdit, DeletingAWrappedPieceWholeRemovesItsRow) {
    EditorHarness h;
    h.Load(std::string(72, 'a') + std::string(72, 'b') + "cc\r\n", true);
    ASSERT_EQ(h.Row(1), std::string(72, 'b'));
    h.ed.Select({0, 1}, {72, 1});
    h.ed.SetSelText("");
    EXPECT_EQ(h.Rows(), (Rows{std::string(72, 'a'), "cc\r\n", "\0\0"s}));
    EXPECT_EQ(h.ed.CaretY(), 1);
    EXPECT_EQ(h.ed.CaretX(), 0);
}

TEST(VellEditEdit, ReplacingWithinAWrappedRowCutsTheLineAsAFreshLayoutWould) {
    // Taking the bytes out alone would fit the line into one row; the
    // replacement needs the second row again.
    const std::string line = std::string(10, 'x') + "abcd" + std::string(62, 'y');
    for (std::string_view replacement : {"ABCD", "AB", "ABCDEFGH"}) {
        EditorHarness h;
        h.Load(line + "\r\nnext", true);
        ASSERT_EQ(h.Count(), 3);
        const Rows before = h.Rows();
        h.ed.ReplaceRange(replacement, 10, 0, 14, 0);
        const std::string replaced =
            std::string(10, 'x') + std::string(replacement) + std::string(62, 'y') + "\r\nnext";
        EditorHarness fresh;
        fresh.Load(replaced, true);
        EXPECT_EQ(h.Rows(), fresh.Rows()) << replacement;
        EXPECT_EQ(h.ed.CaretY(), 0);
        EXPECT_EQ(h.ed.CaretX(), 10 + static_cast<int32_t>(replacement.size()));
        // One deletion and one insertion, both at the same place.
        ASSERT_EQ(h.ed.UndoList().size(), 2u);
        EXPECT_EQ(h.ed.UndoList()[0].Kind, UndoKind::Insert);
        EXPECT_EQ(h.ed.UndoList()[0].Text, replacement);
        EXPECT_EQ(h.ed.UndoList()[1].Kind, UndoKind::Delete);
        EXPECT_EQ(h.ed.UndoList()[1].Text, "abcd");
        EXPECT_EQ(h.ed.UndoList()[0].X, h.ed.UndoList()[1].X);
        h.ed.Undo();
        h.ed.Undo();
        EXPECT_EQ(h.Rows(), before);
        h.ed.Redo();
        h.ed.Redo();
        EXPECT_EQ(h.ed.GetAllText(), replaced);
    }
}

// In a long row the caret's column is counted on from the last one asked
// for; whatever happened in between, it must equal a count from the start.
TEST(VellEditEdit, CaretColumnsInALongRowStayTrueThroughEdits) {
    EditorHarness h;
    std::string row;
    while (row.size() < 100000)
        row += "ab\t\x82\xa0x\t\t";
    h.Load(row + "\r\n");
    const auto check = [&](int step) {
        const std::string now = h.Row(0);
        const std::string_view prefix(now.data(), static_cast<size_t>(h.ed.CaretX()));
        ASSERT_EQ(h.ed.RowPrefixColumns(0, h.ed.CaretX()), ExpandedLength(prefix, h.ed.TabCount()))
            << "step " << step;
    };
    h.ed.GotoXY(50000, 0);
    for (int step = 0; step < 60; ++step) {
        switch (step % 6) {
            case 0:
                h.ed.SetSelText("\t");
                break;
            case 1:
                h.ed.SetSelText("\x83\x5c");
                break;
            case 2:
                h.ed.GotoXY(h.ed.CaretX() - 7, 0);
                break;
            case 3:
                h.ed.SetTabCount(step % 4 + 2);
                break;
            case 4:
                h.ed.Undo();
                break;
            case 5:
                h.ed.GotoXY(h.ed.CaretX() + 3000, 0);
                break;
        }
        check(step);
    }
    EXPECT_TRUE(h.messages.shown.empty());
}
