// Undo and redo of every kind of record, grouping, the byte budget and the
// modified and redo states.
#include <gtest/gtest.h>

#include <algorithm>

#include "headless/EditorHarness.h"
#include "textstore/ShiftJis.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;

namespace {

// The keys change the text as the keyboard commands do, painting aside, so
// that their records (kinds 2 to 5) can be replayed here.

void Settle(TVellEdit& e, int32_t y, int32_t lastY) {
    if (e.WordWrap()) e.RewrapRange(0, y, false, false, lastY);
    e.MoveCaret(e.FCaretX, e.FCaretY, ScrollMode::IfNeeded, true);
}

void Enter(EditorHarness& h) {
    TVellEdit& e = h.ed;
    const int32_t y = e.FCaretY, x = e.FCaretX;
    const std::string row = h.Row(y);
    const std::string tail = row.substr(static_cast<size_t>(x));
    e.PutLine(y, Entry(row.substr(0, static_cast<size_t>(x)) + "\r\n"));
    e.RecordUndo(UndoKind::NewLine, "\r\n", y, x);
    if (tail.ends_with("\r\n") || y == h.Count() - 1)
        e.InsertLine(y + 1, Entry(tail));
    else
        e.PutLine(y + 1, Entry(tail + h.Row(y + 1)));  // a piece goes on in the next row
    e.FCaretX = 0, e.FCaretY = y + 1;
    Settle(e, y, y + 1);
}

void RemoveAt(EditorHarness& h, UndoKind kind, int32_t x, int32_t y) {
    TVellEdit& e = h.ed;
    const std::string row = h.Row(y);
    if (row[static_cast<size_t>(x)] == '\r') {
        e.RecordUndo(kind, "\r\n", y, x);
        if (e.WordWrap()) {
            e.PutLine(y, Entry(row.substr(0, static_cast<size_t>(x))));
        } else {
            e.PutLine(y, Entry(row.substr(0, static_cast<size_t>(x)) + h.Row(y + 1)));
            e.DeleteLines(y + 1, 1);
        }
    } else {
        const size_t n =
            IsLeadByte(static_cast<unsigned char>(row[static_cast<size_t>(x)])) ? 2 : 1;
        e.RecordUndo(kind, row.substr(static_cast<size_t>(x), n), y, x);
        e.PutLine(y, Entry(row.substr(0, static_cast<size_t>(x)) +
                           row.substr(static_cast<size_t>(x) + n)));
    }
    e.FCaretX = x, e.FCaretY = y;
    Settle(e, y, y);
}

void DeleteKey(EditorHarness& h) {
    RemoveAt(h, UndoKind::DeleteKey, h.ed.FCaretX, h.ed.FCaretY);
}

void BackSpace(EditorHarness& h) {
    const int32_t y = h.ed.FCaretY, x = h.ed.FCaretX;
    if (x > 0)
        RemoveAt(h, UndoKind::BackSpace, x - (ByteTypeAt(h.Row(y), x) == kTrailByte ? 2 : 1), y);
    else if (y > 0)
        RemoveAt(h, UndoKind::BackSpace, h.ed.MaxCaretX(y - 1), y - 1);
}

/// Typing over text in overwrite mode.
void Overwrite(EditorHarness& h, std::string_view s) {
    TVellEdit& e = h.ed;
    const int32_t y = e.FCaretY, x = e.FCaretX;
    std::string line;
    int32_t lastY = y;
    e.JoinLogicalLine(y, lastY, line);
    const auto body = static_cast<int32_t>(line.size()) - 2;
    const auto n = static_cast<int32_t>(s.size());
    e.DeleteLines(y + 1, lastY - y);
    int32_t replace = std::min(body - x, n);
    std::string pad;
    if (x + n <= body && ByteTypeAt(line, x + n) == kLeadByte) {
        replace = std::min(body - x, n + 1);  // never half a character: a space keeps the width
        pad = " ";
    }
    e.RecordUndo(UndoKind::Overwrite,
                 line.substr(static_cast<size_t>(x), static_cast<size_t>(replace)), y, x);
    line.replace(static_cast<size_t>(x), static_cast<size_t>(replace), std::string(s) + pad);
    e.RecordUndo(UndoKind::Insert, std::string(s) + pad, y, x);
    e.PutLine(y, Entry(line));
    e.FCaretX = x + n;
    Settle(e, y, y);
}

std::string Long(char c, int n) {
    return std::string(static_cast<size_t>(n), c);
}

}  // namespace

TEST(VellEditUndo, EachKeystrokeIsItsOwnStep) {
    EditorHarness h;
    h.Load("");
    h.Type("a");
    h.Type("b");
    h.Type("c");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "ab");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "a");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "");
    EXPECT_FALSE(h.ed.FModified);
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "");
    EXPECT_EQ(h.ed.RedoList().size(), 3u);
}

TEST(VellEditUndo, PastedReplacementUndoesInOneStep) {
    EditorHarness h;
    h.Load("hello world");
    h.Select(0, 0, 5, 0);
    h.clipboard.bytes = "goodbye";
    h.ed.PasteFromClipboard();
    EXPECT_EQ(h.ed.GetAllText(), "goodbye world");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "hello world");
    EXPECT_FALSE(h.ed.FSelected);  // the text comes back, the selection does not
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
        EXPECT_EQ(h.ed.FCaretX, 70);  // before the restored characters
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
    Enter(h);
    EXPECT_EQ(h.ed.GetAllText(), "abc\r\ndef");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "abcdef");
    EXPECT_EQ(h.Count(), 1);
    h.ed.Redo();
    EXPECT_EQ(h.ed.GetAllText(), "abc\r\ndef");
    EXPECT_EQ(h.ed.FCaretX, 0);  // after the break
    EXPECT_EQ(h.ed.FCaretY, 1);
}

TEST(VellEditUndo, EnterInAWrappedPieceUndoesBack) {
    EditorHarness h;
    h.Load(Long('x', 100) + "\r\nnext", true);
    h.ed.GotoXY(10, 1);  // offset 82 of the line
    Enter(h);
    EXPECT_EQ(h.ed.GetAllText(), Long('x', 82) + "\r\n" + Long('x', 18) + "\r\nnext");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), Long('x', 100) + "\r\nnext");
}

TEST(VellEditUndo, DeleteKeyUndoKeepsTheCaretBeforeAndBackSpaceAfter) {
    EditorHarness h;
    h.Load("ab" + std::string(kA) + "cd");
    h.ed.GotoXY(2, 0);
    DeleteKey(h);
    EXPECT_EQ(h.ed.GetAllText(), "abcd");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "ab" + std::string(kA) + "cd");
    EXPECT_EQ(h.ed.FCaretX, 2);

    h.ed.GotoXY(4, 0);
    BackSpace(h);
    EXPECT_EQ(h.ed.GetAllText(), "abcd");
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "ab" + std::string(kA) + "cd");
    EXPECT_EQ(h.ed.FCaretX, 4);
}

TEST(VellEditUndo, DeletedLineBreaksComeBack) {
    for (bool wrap : {false, true}) {
        EditorHarness h;
        h.Load("abc\r\n" + Long('d', 80), wrap);
        h.ed.GotoXY(3, 0);
        DeleteKey(h);
        EXPECT_EQ(h.ed.GetAllText(), "abc" + Long('d', 80));
        h.ed.Undo();
        EXPECT_EQ(h.ed.GetAllText(), "abc\r\n" + Long('d', 80));
        EXPECT_EQ(h.ed.FCaretX, 3);
        EXPECT_EQ(h.ed.FCaretY, 0);
        h.ed.GotoXY(0, 1);
        BackSpace(h);
        EXPECT_EQ(h.ed.GetAllText(), "abc" + Long('d', 80));
        h.ed.Undo();
        EXPECT_EQ(h.ed.GetAllText(), "abc\r\n" + Long('d', 80));
        EXPECT_EQ(h.ed.FCaretY, 1);
    }
}

TEST(VellEditUndo, TooLargeAnEditEmptiesTheHistoryForGood) {
    EditorHarness h;
    h.Load("start");
    h.ed.UndoBuf = 10;
    h.Type("x");
    h.clipboard.bytes = Long('p', 11);
    h.ed.PasteFromClipboard();
    EXPECT_TRUE(h.ed.UndoList().empty());
    EXPECT_EQ(h.ed.UndoSize(), 0);
    EXPECT_TRUE(h.ed.UndoLost());
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "x" + Long('p', 11) + "start");
    EXPECT_TRUE(h.ed.FModified);
}

TEST(VellEditUndo, BudgetDropsTheOldestRecordsFirst) {
    EditorHarness h;
    h.Load("");
    h.ed.UndoBuf = 5;
    h.Type("ab");
    h.Type("cd");
    h.Type("ef");
    EXPECT_EQ(h.ed.UndoList().size(), 2u);
    EXPECT_EQ(h.ed.UndoSize(), 4);
    h.ed.Undo();
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), "ab");
    EXPECT_TRUE(h.ed.FModified);  // history was lost, the document stays changed
}

TEST(VellEditUndo, NewEditEmptiesTheRedoList) {
    for (bool listening : {false, true}) {
        EditorHarness h;
        std::vector<bool> reports;
        if (listening) h.ed.OnChangeRedoMode = [&](TVellEdit&, bool v) { reports.push_back(v); };
        h.Load("");
        reports.clear();
        h.Type("a");
        h.Type("b");
        h.ed.Undo();
        ASSERT_EQ(h.ed.RedoList().size(), 1u);
        h.Type("c");
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
    h.Type("a");
    h.Type("b");
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
    EXPECT_FALSE(h.ed.FModified);
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
    h.Type("c\r\n");
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
    h.Type("Q");
    EXPECT_EQ(h.ed.UndoList().front().Y, 2);  // the third logical line
    h.ed.Undo();
    EXPECT_EQ(h.ed.GetAllText(), text);
}

TEST(VellEditUndo, ReadOnlyBlocksUndoAndRedo) {
    EditorHarness h;
    h.Load("");
    h.Type("a");
    h.Type("b");
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
