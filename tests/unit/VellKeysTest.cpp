// The key table, typed characters and overwrite mode, driven through KeyDown
// and CharTyped as the window delivers them.
#include <gtest/gtest.h>

#include "editor/WordBoundary.h"
#include "headless/ViewHarness.h"
#include "support/RowLimit.h"

namespace tw::test {
namespace {

constexpr std::string_view kA = "\x82\xa0";  // あ
constexpr std::string_view kI = "\x82\xa2";  // い

struct KeysTest : ::testing::Test {
    ViewHarness h;
    std::pair<int32_t, int32_t> Caret() const { return {h.ed.CaretX(), h.ed.CaretY()}; }
};

TEST_F(KeysTest, HomeEndAndTheirCtrlCommaPeriodTwins) {
    h.Load("abc def\r\nxyz\r\n");
    h.ed.GotoXY(3, 0);
    h.Key(VK_END);
    EXPECT_EQ(Caret(), std::make_pair(7, 0));
    h.Key(VK_HOME);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    h.Key(VK_OEM_PERIOD, true);
    EXPECT_EQ(Caret(), std::make_pair(7, 0));
    h.Key(VK_OEM_COMMA, true);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    h.Key(VK_END, true);
    EXPECT_EQ(Caret(), std::make_pair(0, 2));
    h.Key(VK_HOME, true);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    EXPECT_FALSE(h.ed.SelectionExists());
}

TEST_F(KeysTest, ShiftExtendsAndAPlainMoveDropsTheSelection) {
    h.Load("abc def\r\nxyz\r\n");
    h.Key(VK_RIGHT, false, true);
    h.Key(VK_RIGHT, true, true);
    EXPECT_TRUE(h.ed.Selection().Selected);
    EXPECT_EQ(h.ed.GetSelText(), "abc");
    h.Key(VK_END, false, true);
    EXPECT_EQ(h.ed.GetSelText(), "abc def");
    h.Key(VK_END, true, true);
    EXPECT_EQ(h.ed.GetSelText(), "abc def\r\nxyz\r\n");
    h.Key(VK_HOME, true, true);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    h.Key(VK_DOWN, false, true);
    EXPECT_EQ(h.ed.GetSelText(), "abc def\r\n");
    h.Key(VK_LEFT);
    EXPECT_FALSE(h.ed.SelectionExists());
}

TEST_F(KeysTest, RightAndLeftStepOverDoubleByteCharactersAndRowEnds) {
    h.Load(std::string(kA) + "b\r\nc\r\n");
    h.Key(VK_RIGHT);
    EXPECT_EQ(Caret(), std::make_pair(2, 0));
    h.Key(VK_RIGHT);
    h.Key(VK_RIGHT);
    EXPECT_EQ(Caret(), std::make_pair(0, 1)) << "Right at a line end goes to the next row";
    h.Key(VK_LEFT);
    EXPECT_EQ(Caret(), std::make_pair(3, 0));
    h.Key(VK_LEFT);
    h.Key(VK_LEFT);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    h.Key(VK_LEFT);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
}

TEST_F(KeysTest, WrappedPiecesShareTheirBoundary) {
    h.ed.SetColumn(10);
    h.Load("abcdefghijklm\r\n", true);
    ASSERT_EQ(h.Row(0), "abcdefghij");
    h.ed.GotoXY(9, 0);
    h.Key(VK_RIGHT);
    EXPECT_EQ(Caret(), std::make_pair(0, 1));
    h.Key(VK_LEFT);
    EXPECT_EQ(Caret(), std::make_pair(9, 0)) << "before the last character of the piece";
}

TEST_F(KeysTest, CtrlArrowsStopAtClassChanges) {
    h.Load("abc def\tx\r\n");
    std::vector<int32_t> stops;
    for (int i = 0; i < 4; ++i) {
        h.Key(VK_RIGHT, true);
        stops.push_back(h.ed.CaretX());
    }
    EXPECT_EQ(stops, (std::vector<int32_t>{3, 4, 7, 8}));
    h.Load(
        "\x88\x9f\x88\xa0"
        "\x82\xa0\x82\xa2"
        "\r\n");  // kanji, then hiragana
    h.Key(VK_RIGHT, true);
    EXPECT_EQ(h.ed.CaretX(), 4);
    h.Key(VK_END);
    h.Key(VK_LEFT, true);
    EXPECT_EQ(h.ed.CaretX(), 4);
}

TEST(CharClassTest, ClassesFollowTheTable) {
    EXPECT_EQ(CharClass(0x82A0), 0);
    EXPECT_EQ(CharClass(0x8341), 1);
    EXPECT_EQ(CharClass(0x889F), 2);
    EXPECT_EQ(CharClass(0x8250), 3);
    EXPECT_EQ(CharClass(0x8140), 4);
    EXPECT_EQ(CharClass(0x83BF), 4);
    EXPECT_EQ(CharClass(0xB1), 5);
    EXPECT_EQ(CharClass('a'), 6);
    EXPECT_EQ(CharClass('5'), 6);
    EXPECT_EQ(CharClass(' '), 7);
    EXPECT_EQ(CharClass(':'), 7);
}

TEST_F(KeysTest, EnterSplitsWithoutIndentAndBackspaceJoins) {
    h.Load("  abcdef\r\n");
    h.ed.GotoXY(5, 0);
    h.Key(VK_RETURN);
    EXPECT_EQ(h.Text(), "  abc\r\ndef\r\n");
    EXPECT_EQ(Caret(), std::make_pair(0, 1));
    EXPECT_EQ(h.ed.UndoList().front().Kind, UndoKind::NewLine);
    h.Key(VK_BACK);
    EXPECT_EQ(h.Text(), "  abcdef\r\n");
    EXPECT_EQ(Caret(), std::make_pair(5, 0));
    h.ed.GotoXY(0, 0);
    h.Key(VK_BACK);
    EXPECT_EQ(h.Text(), "  abcdef\r\n");
}

TEST_F(KeysTest, DeleteRemovesCharactersAndLineBreaksButNotTheEnd) {
    h.Load(std::string(kA) + "b\r\nc");
    h.Key(VK_DELETE);
    EXPECT_EQ(h.Text(), "b\r\nc");
    EXPECT_EQ(h.ed.UndoList().front().Kind, UndoKind::DeleteKey);
    h.Key(VK_END);
    h.Key(VK_DELETE);
    EXPECT_EQ(h.Text(), "bc");
    h.Key(VK_END);
    h.Key(VK_DELETE);
    EXPECT_EQ(h.Text(), "bc");
    h.Key('Z', true);
    EXPECT_EQ(h.Text(), "b\r\nc");
}

TEST_F(KeysTest, BackspaceUndoPutsTheCaretAfterTheCharacter) {
    h.Load("abc\r\n");
    h.ed.GotoXY(3, 0);
    h.Key(VK_BACK);
    EXPECT_EQ(h.ed.UndoList().front().Kind, UndoKind::BackSpace);
    h.Key('Z', true);
    EXPECT_EQ(h.Text(), "abc\r\n");
    EXPECT_EQ(Caret(), std::make_pair(3, 0));
}

TEST_F(KeysTest, WordDeletion) {
    h.Load("abc def\r\n");
    h.Key(VK_DELETE, true);
    EXPECT_EQ(h.Text(), " def\r\n");
    h.Key(VK_END);
    h.Key(VK_BACK, true);
    EXPECT_EQ(h.Text(), " \r\n");
    h.Key(VK_HOME);
    h.Key(VK_DOWN);
    h.Key(VK_BACK, true);
    EXPECT_EQ(h.Text(), " ") << "at column 0 it joins with the line above";
}

TEST_F(KeysTest, InsertTogglesOverwriteAndReportsTheMode) {
    std::vector<bool> modes;
    h.ed.OnChangeInsMode = [&](TVellEdit&, bool m) { modes.push_back(m); };
    h.Key(VK_INSERT);
    h.Key(VK_INSERT);
    EXPECT_EQ(modes, (std::vector<bool>{false, true}));
}

TEST_F(KeysTest, OverwriteKeepsDoubleByteCharactersWhole) {
    h.Load(std::string(kA) + std::string(kI) + "\r\n");
    h.Key(VK_INSERT);
    h.Type("a");
    EXPECT_EQ(h.Text(), "a " + std::string(kI) + "\r\n");
    EXPECT_EQ(Caret(), std::make_pair(1, 0));

    h.Load("x" + std::string(kA) + "y\r\n");
    h.Key(VK_INSERT);  // a new text starts in insert mode
    h.Type("ab");
    EXPECT_EQ(h.Text(), "ab y\r\n");
    h.Key(VK_END);
    h.Type("z");
    EXPECT_EQ(h.Text(), "ab yz\r\n") << "at a line end overwrite inserts";
    h.Key('Z', true);
    EXPECT_EQ(h.Text(), "ab y\r\n");
    h.Key('Z', true);
    EXPECT_EQ(h.Text(), "a" + std::string(kA) + "y\r\n") << "each overwrite undoes as one step";
    h.Key('Z', true);
    EXPECT_EQ(h.Text(), "x" + std::string(kA) + "y\r\n");
}

TEST_F(KeysTest, TypingReplacesASelectionInBothModes) {
    for (bool insert : {true, false}) {
        h.Load("abcdef\r\n");
        if (!insert) h.Key(VK_INSERT);
        h.Key(VK_RIGHT, false, true);
        h.Key(VK_RIGHT, false, true);
        h.Type("X");
        EXPECT_EQ(h.Text(), "Xcdef\r\n") << insert;
        if (!insert) h.Key(VK_INSERT);
    }
}

TEST_F(KeysTest, ClipboardKeysWithEitherShiftState) {
    h.Load("abc\r\n");
    h.Key('A', true, true);
    h.Key('C', true);
    EXPECT_EQ(h.clipboard.bytes, "abc\r\n");
    h.Key(VK_END, true);
    h.Key('V', true, true);
    EXPECT_EQ(h.Text(), "abc\r\nabc\r\n");
    h.Key('Z', true);
    EXPECT_EQ(h.Text(), "abc\r\n");
    h.Key(VK_HOME, true);
    h.Key(VK_RIGHT, false, true);
    h.Key(VK_DELETE, false, true);  // Shift+Delete cuts
    EXPECT_EQ(h.Text(), "bc\r\n");
    EXPECT_EQ(h.clipboard.bytes, "a");
    h.Key(VK_INSERT, false, true);  // Shift+Insert pastes
    EXPECT_EQ(h.Text(), "abc\r\n");
    h.Key(VK_RIGHT, false, true);
    h.Key(VK_INSERT, true, true);  // Ctrl+Shift+Insert: copy, then paste over it
    EXPECT_EQ(h.clipboard.bytes, "b");
    EXPECT_EQ(h.Text(), "abc\r\n");
    h.Key('X', true);  // nothing selected: nothing cut
    h.Type("q");
    EXPECT_EQ(h.Text(), "abqc\r\n");
}

TEST_F(KeysTest, CtrlLettersAndControlCodesInsertNothing) {
    h.Load("");
    h.keys.control = true;
    h.view.CharTyped('q');
    h.keys.control = false;
    h.view.CharTyped(0x07);
    h.view.CharTyped(0x7F);
    h.view.CharTyped(0xE0);
    EXPECT_EQ(h.Text(), "");
    h.view.CharTyped(0xB1);  // half-width katakana
    h.Type("~ ");
    EXPECT_EQ(h.Text(), "\xb1~ ");
}

TEST_F(KeysTest, ReadOnlyBlocksEditsButNotMovesOrCopying) {
    h.Load("abc\r\n");
    h.ed.ReadOnly = true;
    h.Type("x");
    h.view.ImeCommit(kA);
    h.Key(VK_RETURN);
    h.Key(VK_TAB);
    h.Key(VK_DELETE);
    h.Key(VK_DELETE, true);
    h.Key(VK_RIGHT);
    h.Key(VK_BACK);
    EXPECT_EQ(h.Text(), "abc\r\n");
    EXPECT_EQ(h.ed.CaretX(), 1);
    h.Key(VK_RIGHT, false, true);
    h.Key('C', true);
    EXPECT_EQ(h.clipboard.bytes, "b");
}

TEST_F(KeysTest, ImeTextIsOneInsertionAndOneUndoRecord) {
    h.Load("xy\r\n");
    h.ed.GotoXY(1, 0);
    h.view.ImeCommit(std::string(kA) + std::string(kI) + "\x8a\xbf");
    EXPECT_EQ(h.Text(), "x" + std::string(kA) + std::string(kI) + "\x8a\xbfy\r\n");
    EXPECT_EQ(h.ed.UndoList().size(), 1u);
    EXPECT_EQ(h.ed.CaretX(), 7);
    h.Key('Z', true);
    EXPECT_EQ(h.Text(), "xy\r\n");
}

TEST_F(KeysTest, RightAtALineEndOnTheMarginRowScrollsToColumnZero) {
    ViewHarness v(10);
    v.Load(Lines(30));
    v.ed.GotoXY(3, 8);  // screen row 8 of 10: the next row is in the margin
    v.Key(VK_END);
    v.Key(VK_RIGHT);
    EXPECT_EQ(v.ed.CaretY(), 9);
    EXPECT_EQ(v.ed.CaretX(), 0);
    EXPECT_EQ(v.ed.TopLine(), 1);
    EXPECT_EQ(v.caret.x, 10);
}

TEST_F(KeysTest, EveryCharacterIsReportedAfterItsInsertion) {
    h.Load("");
    std::string seen;
    h.view.OnKeyPress = [&](unsigned char c) { seen += std::to_string(c) + ":" + h.Text() + ";"; };
    h.Type("a");
    h.view.CharTyped('\r');
    EXPECT_EQ(seen, "97:a;13:a;");
}

TEST_F(KeysTest, LeftAndBackspaceAfterATrailByteInTheLeadRange) {
    // 亜 is 88 9F: its trail byte is also a lead-byte value, so looking only
    // at the byte two before the caret would step into the middle of it.
    h.Load(
        "\x88\x9f"
        "a\r\n");
    h.ed.GotoXY(3, 0);
    h.Key(VK_LEFT);
    EXPECT_EQ(h.ed.CaretX(), 2);
    h.Key(VK_END);
    h.Key(VK_BACK);
    EXPECT_EQ(h.Text(), "\x88\x9f\r\n");
    h.Key(VK_BACK);
    EXPECT_EQ(h.Text(), "\r\n");
}

TEST_F(KeysTest, DeleteAtTheEndOfAWrappedPieceRemovesTheNextCharacter) {
    h.ed.SetColumn(10);
    h.Load("abcdefghijklm\r\n", true);
    h.ed.GotoXY(10, 0);
    ASSERT_EQ(h.ed.CaretX(), 10);
    h.Key(VK_DELETE);
    EXPECT_EQ(h.Text(), "abcdefghijlm\r\n");
}

TEST_F(KeysTest, BackspaceAtAPieceStartRemovesThePiecesLastCharacter) {
    h.ed.SetColumn(10);
    h.Load("abcdefghijklm\r\n", true);
    h.ed.GotoXY(0, 1);
    h.Key(VK_BACK);
    EXPECT_EQ(h.Text(), "abcdefghiklm\r\n");
}

TEST_F(KeysTest, TabIsInsertedAlsoInOverwriteMode) {
    h.Load("abc\r\n");
    h.Key(VK_INSERT);
    h.Key(VK_TAB);
    EXPECT_EQ(h.Text(), "\tabc\r\n");
}

TEST_F(KeysTest, PageKeysMoveByAPage) {
    ViewHarness v(10);
    v.Load(Lines(100));
    v.Key(VK_NEXT);
    EXPECT_EQ(v.ed.TopLine(), 10);
    EXPECT_EQ(v.ed.CaretY(), 10);
    v.Key(VK_PRIOR);
    EXPECT_EQ(v.ed.TopLine(), 0);
    EXPECT_EQ(v.ed.CaretY(), 0);
    v.Key(VK_PRIOR);
    EXPECT_EQ(v.ed.CaretY(), 0);
}

TEST_F(KeysTest, EnterAtTheBottomScrollsTheNewRowIntoView) {
    ViewHarness v(10);
    v.Load(Lines(30));
    v.ed.GotoXY(0, 7);
    for (int i = 0; i < 5; ++i)
        v.Key(VK_RETURN);
    EXPECT_EQ(v.ed.CaretY(), 12);
    EXPECT_LT(v.ed.CaretY() - v.ed.TopLine(), v.ed.Viewport().PageLines);
}

// ---- Faults met when the control was tried by hand -------------------------------

/// With the default wrap of 70 columns in a narrow window a long row scrolls
/// sideways; Right at its end must still end the selection that End made.
TEST_F(KeysTest, RightAtALineEndWhileScrolledSidewaysMovesTheSelectionToo) {
    const std::string longRow(60, 'x');
    h.ed.SetColumn(70);
    h.Load(longRow + "\r\nnext\r\n", true);
    h.Key(VK_END, false, true);
    ASSERT_GT(h.ed.Viewport().ScrollX, 0);
    h.Key(VK_RIGHT);
    EXPECT_FALSE(h.ed.SelectionExists());
    h.Type("Z");
    EXPECT_EQ(h.Text(), longRow + "\r\nZnext\r\n");

    h.Load(longRow + "\r\nnext\r\n", true);
    h.Key(VK_END);
    ASSERT_GT(h.ed.Viewport().ScrollX, 0);
    h.Key(VK_RIGHT);
    h.Key(VK_RIGHT, false, true);
    EXPECT_EQ(h.ed.GetSelText(), "n");
    h.Key(VK_DELETE);
    EXPECT_EQ(h.Text(), longRow + "\r\next\r\n");
}

TEST_F(KeysTest, CtrlDeleteAtTheEndOfAWrappedPieceDeletesTheWordOnTheNextRow) {
    h.ed.SetColumn(10);
    h.Load("abcdefghijklm nop\r\n", true);
    ASSERT_EQ(h.Row(0), "abcdefghij");
    h.Key(VK_END);
    ASSERT_EQ(Caret(), std::make_pair(10, 0));
    h.Key(VK_DELETE, true);
    EXPECT_EQ(h.Text(), "abcdefghij nop\r\n");
}

/// Typing in a wrapped row repaints only that row, so the widest-row figure
/// that bounds sideways scrolling may be older than the row.
TEST_F(KeysTest, HoldingRightAlongARowThatGrewKeepsTheCaretOnScreen) {
    h.ed.SetColumn(70);
    h.Load(std::string(30, 's') + "\r\n", true);
    h.Type(std::string(35, 'a'));
    ASSERT_EQ(h.ed.Viewport().ScrollX, 0);
    h.keys.shift = false;
    for (int i = 0; i < 30; ++i) {
        h.view.KeyDown(VK_RIGHT);  // held: no release between the presses
        EXPECT_LE(h.ed.Selection().PixelX, h.ed.Viewport().TextWidth)
            << "after " << i + 1 << " presses";
        EXPECT_GE(h.ed.Selection().PixelX, 0);
    }
    EXPECT_EQ(Caret(), std::make_pair(65, 0));
}

TEST_F(KeysTest, EnterOnTheBottomMarginRowScrollsOneRow) {
    ViewHarness v(20);
    v.Load(Lines(60));
    ASSERT_EQ(v.ed.Viewport().VMargin, 4);
    v.ed.GotoXY(0, 15);
    v.Key(VK_RETURN);  // from screen row 15: the new row is the first margin row
    EXPECT_EQ(v.ed.TopLine(), 0);
    EXPECT_EQ(v.ed.CaretY(), 16);
    v.Key(VK_RETURN);  // on the margin row the view scrolls and the caret keeps its screen row
    EXPECT_EQ(v.ed.TopLine(), 1);
    EXPECT_EQ(v.ed.CaretY(), 17);
    v.Key(VK_RETURN);
    EXPECT_EQ(v.ed.TopLine(), 2);
    EXPECT_EQ(v.ed.CaretY() - v.ed.TopLine(), 16);
}

/// A text that would pass the row limit is refused whole: the rows, the
/// undo history and the modified flag stay as they were.
TEST_F(KeysTest, EditsAndLoadsPastTheRowLimitChangeNothing) {
    const LowerRowLimit limit(4);
    h.Load("a\r\nb\r\n");  // three rows with the end marker
    h.clipboard.bytes = "x\r\ny\r\n";
    h.keys.control = true;
    EXPECT_THROW(h.view.KeyDown('V'), ListIndexError);
    h.keys.control = false;
    EXPECT_EQ(h.Text(), "a\r\nb\r\n");
    EXPECT_TRUE(h.ed.UndoList().empty());
    EXPECT_FALSE(h.ed.Modified());
    EXPECT_FALSE(h.view.InKeyDown());
    h.Key(VK_RETURN);  // the fourth row fits
    EXPECT_EQ(h.Text(), "\r\na\r\nb\r\n");
    EXPECT_THROW(h.view.KeyDown(VK_RETURN), ListIndexError);
    EXPECT_EQ(h.Text(), "\r\na\r\nb\r\n");
    EXPECT_EQ(h.ed.UndoList().size(), 1u);

    for (bool wrap : {false, true}) {
        h.Load("keep\r\n", wrap);
        EXPECT_THROW(h.ed.SetAllText("1\r\n2\r\n3\r\n4\r\n"), ListIndexError);
        EXPECT_EQ(h.Text(), "keep\r\n");
        EXPECT_EQ(h.Count(), 2);
    }
}

}  // namespace
}  // namespace tw::test
