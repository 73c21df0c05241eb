// The editor's state: creation, published properties, events, the whole text.
#include <gtest/gtest.h>

#include "headless/EditorHarness.h"
#include "support/TempDir.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;

namespace {

/// A font of 19-pixel cells, as size 14 gives on the screen.
class NineteenPixelMetrics : public FixedMetrics {
  public:
    FontMetrics Metrics() const override { return {19, 15, 10}; }
};

}  // namespace

TEST(VellEditState, NewControlHoldsAnEmptyUnmodifiedDocument) {
    EditorHarness h;
    EXPECT_EQ(h.Rows(), std::vector<std::string>{"\0\0"s});
    EXPECT_EQ(h.ed.CaretX(), 0);
    EXPECT_EQ(h.ed.CaretY(), 0);
    EXPECT_FALSE(h.ed.Modified());
    EXPECT_TRUE(h.ed.UndoList().empty());
    EXPECT_TRUE(h.ed.RedoList().empty());
    EXPECT_EQ(h.ed.GetAllText(), "");
}

TEST(VellEditState, SettersClampToTheirRanges) {
    EditorHarness h;
    h.ed.SetTopMargin(45);
    h.ed.SetLeftMargin(-3);
    h.ed.SetTabCount(0);
    h.ed.SetLineNoColumn(9);
    h.ed.SetGyokan(150);
    EXPECT_EQ(h.ed.TopMargin(), 30);
    EXPECT_EQ(h.ed.LeftMargin(), 0);
    EXPECT_EQ(h.ed.TabCount(), 1);
    EXPECT_EQ(h.ed.LineNoColumn(), 5);
    EXPECT_EQ(h.ed.Gyokan(), 100);
    h.ed.SetTabCount(20);
    h.ed.SetLineNoColumn(0);
    h.ed.SetGyokan(-5);
    EXPECT_EQ(h.ed.TabCount(), 8);
    EXPECT_EQ(h.ed.LineNoColumn(), 1);
    EXPECT_EQ(h.ed.Gyokan(), 0);
}

TEST(VellEditState, LineSpacingRoundsHalfToEven) {
    RecordingMessageBox messages;
    MemoryClipboard clipboard;
    NineteenPixelMetrics metrics;
    TVellEdit ed(EditorServices{&metrics, &clipboard, &messages, nullptr});
    ed.SetGyokan(50);  // 9.5 extra pixels
    EXPECT_EQ(ed.Viewport().RowHeight, 29);
    EXPECT_EQ(ed.Font().Height(), -19);  // size 14 at 96 dots per inch
    ed.SetGyokan(150);
    EXPECT_EQ(ed.Viewport().RowHeight, 38);
    ed.ResizeTextArea(400, 4 + 38 * 10 + 5);
    EXPECT_EQ(ed.Viewport().PageLines, 10);
    EXPECT_EQ(ed.Viewport().VMargin, 2);
}

TEST(VellEditState, ColumnBelowTenStoresTenAndTheSameValueDoesNothing) {
    EditorHarness h;
    h.Load(std::string(30, 'x'), true);
    h.ed.SetColumn(72);
    EXPECT_TRUE(h.view.calls.empty());
    h.ed.SetColumn(5);
    EXPECT_EQ(h.ed.Column(), 10);
    EXPECT_EQ(h.Rows(),
              (std::vector<std::string>{"xxxxxxxxxx", "xxxxxxxxxx", "xxxxxxxxxx", "\0\0"s}));
}

TEST(VellEditState, ResetReportsOnlyToAssignedHandlers) {
    EditorHarness h;
    h.ed.OnChangeRedoMode = [](TVellEdit&, bool) {};
    h.ed.InsertTyped("a");
    h.ed.Undo();
    ASSERT_TRUE(h.ed.RedoEnabled());
    h.ed.OnChangeRedoMode = nullptr;
    h.ed.SetAllText("abc");
    EXPECT_TRUE(h.ed.RedoEnabled());  // nobody listens, nothing is tracked

    std::vector<std::string> events;
    h.ed.OnChangeModify = [&](TVellEdit&, bool v) {
        events.push_back("modify " + std::to_string(v));
    };
    h.ed.OnChangeRedoMode = [&](TVellEdit&, bool v) {
        events.push_back("redo " + std::to_string(v));
    };
    h.ed.SetAllText("def");
    EXPECT_EQ(events, (std::vector<std::string>{"modify 0", "redo 0"}));
    EXPECT_FALSE(h.ed.RedoEnabled());
}

TEST(VellEditState, SetAllTextCompletesTheEndMarker) {
    EditorHarness h;
    h.Load("", false);
    EXPECT_EQ(h.Rows(), std::vector<std::string>{"\0\0"s});
    h.Load("abc");
    EXPECT_EQ(h.Rows(), std::vector<std::string>{"abc\0\0"s});
    h.Load("abc\0"s);
    EXPECT_EQ(h.Rows(), std::vector<std::string>{"abc\0\0"s});
    h.Load("abc\0\0"s);
    EXPECT_EQ(h.Rows(), std::vector<std::string>{"abc\0\0"s});
    h.Load("\0abc"s);  // a text that starts with NUL is empty
    EXPECT_EQ(h.Rows(), std::vector<std::string>{"\0\0"s});
    h.Load("a\r\nb\r\n");
    EXPECT_EQ(h.Rows(), (std::vector<std::string>{"a\r\n", "b\r\n", "\0\0"s}));
    EXPECT_EQ(h.ed.GetAllText(), "a\r\nb\r\n");
}

TEST(VellEditState, LoneCarriageReturnsAndNulBytesDoNotBreakRows) {
    EditorHarness h;
    // Taken literally, the CR would swallow the next byte as its terminator
    // and the last one would gain a NUL that was never in the text.
    h.Load("ab\rcd\0e\r"s);
    EXPECT_EQ(h.Rows(), (std::vector<std::string>{"ab\r\n", "cde\r\n", "\0\0"s}));
    EXPECT_EQ(h.ed.GetAllText(), "ab\r\ncde\r\n");
}

TEST(VellEditState, ABigTextCutOnTwoThreadsGivesTheRowsOfARewrap) {
    // Big enough to go in several pieces, each shared between two threads,
    // with every kind of line on the way: TABs, lone CRs, NULs, long lines
    // and double-byte characters at the cuts.
    std::string text;
    for (int i = 0; text.size() < (size_t{9} << 20); ++i) {
        text += std::to_string(i);
        text += i % 3 ? "\t\x82\xa0x" : "\x83\x5c\x83\x5cyz";
        if (i % 97 == 0) text += std::string(200, '\x82');
        text += i % 101 == 0 ? "\r" : i % 103 == 0 ? "\0\r\n" : "\r\n";
    }
    text += "tail";
    for (bool wrap : {true, false}) {
        EditorHarness h;
        h.ed.SetColumn(12);
        h.ed.SetWordWrap(wrap);
        h.ed.SetAllText(text);
        EXPECT_TRUE(h.ed.GetAllText() == NormalizeBreaks(text)) << "word wrap " << wrap;
        const std::vector<std::string> loaded = h.Rows();
        h.ed.SetWordWrap(!wrap);
        h.ed.SetWordWrap(wrap);
        EXPECT_TRUE(h.Rows() == loaded) << "word wrap " << wrap;
    }
}

TEST(VellEditState, SetAllTextForgetsCaretHistoryAndModification) {
    EditorHarness h;
    h.Load("hello\r\nworld");
    h.ed.GotoXY(3, 1);
    h.ed.InsertTyped("x");
    ASSERT_TRUE(h.ed.Modified());
    h.ed.SetAllText("new");
    EXPECT_FALSE(h.ed.Modified());
    EXPECT_TRUE(h.ed.UndoList().empty());
    EXPECT_EQ(h.ed.CaretX(), 0);
    EXPECT_EQ(h.ed.CaretY(), 0);
    EXPECT_FALSE(h.view.Named("ResetState").empty());
}

TEST(VellEditState, WholeTextComesBackByteForByteWhenWrapped) {
    EditorHarness h;
    std::string text = Repeat(kAsia, 50) + "\t" + Repeat(kKana, 90) + "\r\n\r\nend";
    h.Load(text, true);
    EXPECT_GT(h.Count(), 3);
    EXPECT_EQ(h.ed.GetAllText(), text);
}

TEST(VellEditState, SaveToFileWritesTheTextOrReportsFalse) {
    EditorHarness h;
    TempDir dir;
    h.Load("one\r\n" + Repeat("x", 100) + "\r\nlast", true);
    ASSERT_TRUE(h.ed.SaveToFile(dir.File("out.txt")));
    EXPECT_EQ(ReadFile(dir.File("out.txt")), h.ed.GetAllText());

    const auto rows = h.Rows();
    EXPECT_FALSE(h.ed.SaveToFile(dir.File("missing/out.txt")));
    EXPECT_EQ(h.Rows(), rows);
    EXPECT_TRUE(h.messages.shown.empty());  // the caller decides what to say
}

TEST(VellEditState, EmptyDocumentSavesAnEmptyFile) {
    EditorHarness h;
    TempDir dir;
    ASSERT_TRUE(h.ed.SaveToFile(dir.File("empty.txt")));
    EXPECT_EQ(ReadFile(dir.File("empty.txt")), "");
}
