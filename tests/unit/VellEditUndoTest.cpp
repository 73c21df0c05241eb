// Undo and redo of every kind of record, grouping, the byte budget and the
// modified and redo states.
#include <gtest/gtest.h>

#include "headless/EditorHarness.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;

namespace {

/// Typing over text in overwrite mode.
void Overwrite(EditorHarness& h, std::string_view s) {
    h.ed.ToggleInsertMode();
    h.ed.InsertTyped(s);
    h.ed.ToggleInsertMode();
}

std::string Long(char c, int n) {
    return std::string(static_cast<size_t>(n), c);
}

}  // namespace

TEST(VellEditUndo, EachKeystrokeIsItsOwnStep) {
    EditorHarness h;
    h.Load("");
    h.ed.InsertTyped("a");
    h.ed.InsertTyped("b");
    h.ed.InsertTyped("c");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "ab");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "a");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "");
    EXPECT_FALSE(h.ed.Modified());
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "");
    EXPECT_EQ(h.ed.RedoList().size(), 3u);
}

TEST(VellEditUndo, PastedReplacementUndoesInOneStep) {
    EditorHarness h;
    h.Load("hello world");
    h.ed.Select({0, 0}, {5, 0});
    h.clipboard.bytes = "goodbye";
    h.ed.PasteFromClipboard();
    EXPECT_EQ(h.ed.GetAllText(), "goodbye world");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "hello world");
    EXPECT_FALSE(h.ed.Selection().Selected);  // the text comes back, the selection does not
    h.ed.Redo();
    EXPECT_EQ(h.ed.GetAllText(), "goodbye world");
    EXPECT_TRUE(h.ed.RedoList().empty());
}

TEST(VellEditUndo, OverwriteUndoesAndRedoesInOneStep) {
    for (bool wrap : {false, true}) {
        EditorHarness h;
        const std::string text = Long('p', 70) + "xyz" + Long('q', 80) + "\r\n";
        h.Load(text, wrap);
        h.ed.GotoXY(70, 0);
        Overwrite(h, "ab");
        const std::string typed = Long('p', 70) + "abz" + Long('q', 80) + "\r\n";
        EXPECT_EQ(h.ed.GetAllText(), typed);
        h.ed.Undo();
        EXPECT_EQ(h.ed.GetAllText(), text);
        EXPECT_EQ(h.ed.CaretX(), 70);  // before the restored characters
        h.ed.Redo();
        EXPECT_EQ(h.ed.GetAllText(), typed);
        h.ed.Undo();
        EXPECT_EQ(h.ed.GetAllText(), text);
        EXPECT_TRUE(h.ed.UndoList().empty());
    }
}

TEST(VellEditUndo, OverwriteNeverLeavesHalfACharacter) {
    EditorHarness h;
    const std::string ai = std::string(kA) + std::string(kI);
    h.Load(ai + "\r\n");
    Overwrite(h, "a");
    EXPECT_EQ(h.ed.GetAllText(), "a " + std::string(kI) + "\r\n");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), ai + "\r\n");

    h.Load("x" + std::string(kA) + "y");
    Overwrite(h, "ab");
    EXPECT_EQ(h.ed.GetAllText(), "ab y");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "x" + std::string(kA) + "y");
}

TEST(VellEditUndo, EnterUndoJoinsAndRedoSplitsAgain) {
    EditorHarness h;
    h.Load("abcdef");
    h.ed.GotoXY(3, 0);
    h.ed.NewLine();
    EXPECT_EQ(h.ed.GetAllText(), "abc\r\ndef");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "abcdef");
    EXPECT_EQ(h.Count(), 1);
    h.ed.Redo();
    EXPECT_EQ(h.ed.GetAllText(), "abc\r\ndef");
    EXPECT_EQ(h.ed.CaretX(), 0);  // after the break
    EXPECT_EQ(h.ed.CaretY(), 1);
}

TEST(VellEditUndo, EnterInAWrappedPieceUndoesBack) {
    EditorHarness h;
    h.Load(Long('x', 100) + "\r\nnext", true);
    h.ed.GotoXY(10, 1);  // offset 82 of the line
    h.ed.NewLine();
    EXPECT_EQ(h.ed.GetAllText(), Long('x', 82) + "\r\n" + Long('x', 18) + "\r\nnext");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), Long('x', 100) + "\r\nnext");
}

TEST(VellEditUndo, DeleteKeyUndoKeepsTheCaretBeforeAndBackSpaceAfter) {
    EditorHarness h;
    h.Load("ab" + std::string(kA) + "cd");
    h.ed.GotoXY(2, 0);
    h.ed.DeleteChar();
    EXPECT_EQ(h.ed.GetAllText(), "abcd");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "ab" + std::string(kA) + "cd");
    EXPECT_EQ(h.ed.CaretX(), 2);

    h.ed.GotoXY(4, 0);
    h.ed.BackSpace();
    EXPECT_EQ(h.ed.GetAllText(), "abcd");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "ab" + std::string(kA) + "cd");
    EXPECT_EQ(h.ed.CaretX(), 4);
}

TEST(VellEditUndo, DeletedLineBreaksComeBack) {
    for (bool wrap : {false, true}) {
        EditorHarness h;
        h.Load("abc\r\n" + Long('d', 80), wrap);
        h.ed.GotoXY(3, 0);
        h.ed.DeleteChar();
        EXPECT_EQ(h.ed.GetAllText(), "abc" + Long('d', 80));
        h.ed.Undo();
        EXPECT_EQ(h.ed.GetAllText(), "abc\r\n" + Long('d', 80));
        EXPECT_EQ(h.ed.CaretX(), 3);
        EXPECT_EQ(h.ed.CaretY(), 0);
        h.ed.GotoXY(0, 1);
        h.ed.BackSpace();
        EXPECT_EQ(h.ed.GetAllText(), "abc" + Long('d', 80));
        h.ed.Undo();
        EXPECT_EQ(h.ed.GetAllText(), "abc\r\n" + Long('d', 80));
        EXPECT_EQ(h.ed.CaretY(), 1);
    }
}

TEST(VellEditUndo, TooLargeAnEditEmptiesTheHistoryForGood) {
    EditorHarness h;
    h.Load("start");
    h.ed.UndoBuf = 10;
    h.ed.InsertTyped("x");
    h.clipboard.bytes = Long('p', 11);
    h.ed.PasteFromClipboard();
    EXPECT_TRUE(h.ed.UndoList().empty());
    EXPECT_EQ(h.ed.UndoSize(), 0);
    EXPECT_TRUE(h.ed.UndoLost());
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "x" + Long('p', 11) + "start");
    EXPECT_TRUE(h.ed.Modified());
}

TEST(VellEditUndo, BudgetDropsTheOldestRecordsFirst) {
    EditorHarness h;
    h.Load("");
    h.ed.UndoBuf = 5;
    h.ed.InsertTyped("ab");
    h.ed.InsertTyped("cd");
    h.ed.InsertTyped("ef");
    EXPECT_EQ(h.ed.UndoList().size(), 2u);
    EXPECT_EQ(h.ed.UndoSize(), 4);
    h.ed.Undo();
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "ab");
    EXPECT_TRUE(h.ed.Modified());  // history was lost, the document stays changed
}

TEST(VellEditUndo, NewEditEmptiesTheRedoList) {
    for (bool listening : {false, true}) {
        EditorHarness h;
        std::vector<bool> reports;
        if (listening) h.ed.OnChangeRedoMode = [&](TVellEdit&, bool v) { reports.push_back(v); };
        h.Load("");
        reports.clear();
        h.ed.InsertTyped("a");
        h.ed.InsertTyped("b");
        h.ed.Undo();
        ASSERT_EQ(h.ed.RedoList().size(), 1u);
        h.ed.InsertTyped("c");
        EXPECT_TRUE(h.ed.RedoList().empty());
        EXPECT_EQ(h.ed.RedoSize(), 0);
        if (listening) {
            EXPECT_EQ(reports, (std::vector<bool>{true, false}));
        }
    }
}

TEST(VellEditUndo, ModifiedAndRedoStatesAreReported) {
    EditorHarness h;
    std::vector<std::string> events;
    h.ed.OnChangeModify = [&](TVellEdit&, bool v) { events.push_back(v ? "M+" : "M-"); };
    h.ed.OnChangeRedoMode = [&](TVellEdit&, bool v) { events.push_back(v ? "R+" : "R-"); };
    h.ed.OnChange = [&](TVellEdit&) { events.push_back("C"); };
    h.Load("");
    events.clear();
    h.ed.InsertTyped("a");
    h.ed.InsertTyped("b");
    h.ed.Undo();
    h.ed.Undo();
    h.ed.Redo();
    h.ed.Redo();
    EXPECT_EQ(events, (std::vector<std::string>{"M+", "C", "C", "C", "R+", "M-", "C", "M+", "C",
                                                "C", "R-"}));
    events.clear();
    h.ed.ResetModified();
    EXPECT_EQ(events, (std::vector<std::string>{"M-", "R-"}));
    EXPECT_TRUE(h.ed.UndoList().empty());
    EXPECT_FALSE(h.ed.Modified());
}

TEST(VellEditUndo, RecordsSurviveAWrapToggle) {
    for (bool wrapAtEdit : {true, false}) {
        EditorHarness h;
        const std::string text = "top\r\n" + Long('a', 90) + Long('b', 90) + "\r\nend";
        h.Load(text, wrapAtEdit);
        // Offset 150 of the long line: row 3 of pieces 72 bytes long.
        const int32_t x = wrapAtEdit ? 6 : 150, y = wrapAtEdit ? 3 : 1;
        h.ed.ReplaceRange("XYZ", x, y, x + 2, y);
        const std::string edited = h.ed.GetAllText();
        ASSERT_EQ(edited,
                  "top\r\n" + Long('a', 90) + Long('b', 60) + "XYZ" + Long('b', 28) + "\r\nend");
        h.ed.SetWordWrap(!wrapAtEdit);
        h.ed.Undo();
        EXPECT_EQ(h.ed.GetAllText(), text);
        h.ed.SetWordWrap(wrapAtEdit);
        h.ed.Redo();
        EXPECT_EQ(h.ed.GetAllText(), edited);
    }
}

TEST(VellEditUndo, InsertedLineEndingMidLineUndoesToOneRowPerLine) {
    EditorHarness h;
    h.Load("abXY\r\nnext");
    h.ed.GotoXY(2, 0);
    h.ed.InsertTyped("c\r\n");
    ASSERT_EQ(h.ed.GetAllText(), "abc\r\nXY\r\nnext");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "abXY\r\nnext");
    EXPECT_EQ(h.Rows(), (std::vector<std::string>{"abXY\r\n", "next\0\0"s}));
}

TEST(VellEditUndo, LoneLineFeedAtAPieceEndKeepsUndoInPlace) {
    EditorHarness h;
    const std::string text = Long('a', 71) + "\n" + Long('b', 10) + "\r\nccc\r\nddd";
    h.Load(text, true);
    ASSERT_EQ(h.Row(0).back(), '\n');
    h.ed.GotoXY(1, 3);  // inside ddd
    h.ed.InsertTyped("Q");
    EXPECT_EQ(h.ed.UndoList().front().Y, 2);  // the third logical line
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), text);
}

TEST(VellEditUndo, ReadOnlyBlocksUndoAndRedo) {
    EditorHarness h;
    h.Load("");
    h.ed.InsertTyped("a");
    h.ed.InsertTyped("b");
    h.ed.Undo();
    h.ed.ReadOnly = true;
    h.ed.Undo();
    h.ed.Redo();
    EXPECT_EQ(h.ed.GetAllText(), "a");
}

TEST(VellEditUndo, MultiLinePasteUndoRedoWhileWrapped) {
    EditorHarness h;
    const std::string text = Long('w', 150) + "\r\n" + Repeat(kAsia, 40) + "\r\ntail";
    h.Load(text, true);
    h.ed.GotoXY(30, 1);
    h.clipboard.bytes = "one\r\n" + Long('t', 100) + "\r\n" + Repeat(kA, 3);
    h.ed.PasteFromClipboard();
    const std::string pasted = h.ed.GetAllText();
    for (int i = 0; i < 3; ++i) {
        h.ed.Undo();
        ASSERT_EQ(h.ed.GetAllText(), text);
        h.ed.Redo();
        ASSERT_EQ(h.ed.GetAllText(), pasted);
    }
}
