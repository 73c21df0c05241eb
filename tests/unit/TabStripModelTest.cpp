// The tab strip's state: captions, one-row scrolling, rows, reordering by
// drops and removal, without drawing.
#include <gtest/gtest.h>

#include "app/TabStripModel.h"

using namespace tw;

namespace {

using Names = std::vector<std::string>;

/// Tabs named "0", "1", ... in a strip `stripWidth` wide, scroll undone.
TabStripModel Strip(int tabs, int stripWidth, bool multi = false) {
    TabStripModel m;
    m.SetTabWidth(75);
    m.SetStripWidth(stripWidth);
    m.SetMultiTabBox(multi);
    for (int i = 0; i < tabs; ++i)
        m.AddTab(i, std::to_string(i));
    m.ArrangeTabs();
    return m;
}

int Column(const TabStripModel& m, int tab) {
    return m.Place(tab).x / m.TabWidth();
}

TEST(TabStripModel, CaptionsAreCutAfterTabWidthPlusTwentyDivTenBytes) {
    EXPECT_EQ(TabCaptionFor("abcdefghij.txt", 75), "abcdefghi..");  // 14 bytes, m = 9
    EXPECT_EQ(TabCaptionFor("abcde.txt", 75), "abcde.txt");         // exactly 9
    EXPECT_EQ(TabCaptionFor("abcdefghij", 75), "abcdefghi..");      // 10
    EXPECT_EQ(TabCaptionFor("abcdefghij", 10), "abc..");
    EXPECT_EQ(TabCaptionFor("", 75), "");

    // UTF-8: byte 9 would fall inside "日" (bytes 7..9), so the cut backs off.
    EXPECT_EQ(TabCaptionFor("abcdefg日本.txt", 75), "abcdefg..");
    EXPECT_EQ(TabCaptionFor("abcdef日本.txt", 75), "abcdef日..");  // on a boundary
    EXPECT_EQ(TabCaptionFor("日本語テキスト.txt", 75), "日本語..");
    EXPECT_EQ(TabCaptionFor("ab😀😀cd", 75), "ab😀..");  // four-byte characters
    // Bytes of another encoding (Shift-JIS) are cut where the rule says.
    EXPECT_EQ(TabCaptionFor("\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0", 75),
              "\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82..");
    // A stray continuation byte is no character to protect.
    EXPECT_EQ(TabCaptionFor("abcdefgh\x80\x80\x80x", 75), "abcdefgh\x80..");

    EXPECT_EQ(FileNamePart("/home/u/notes/a.txt"), "a.txt");
    EXPECT_EQ(FileNamePart("NONAME3"), "NONAME3");
    EXPECT_EQ(FileNamePart("/dir/"), "");
}

TEST(TabStripModel, AddTabKeepsTheNameAsHintAndCutsTheCaptionAgainForANewWidth) {
    TabStripModel m;
    m.SetStripWidth(600);
    EXPECT_EQ(m.AddTab(0, "longfilename.txt"), 0);
    EXPECT_EQ(m.AddTab(5, "b.txt"), 1);  // only the end takes a new tab
    EXPECT_EQ(m.TabCaptions(), (Names{"longfilen..", "b.txt"}));
    EXPECT_EQ(m.TabHints(), (Names{"longfilename.txt", "b.txt"}));
    EXPECT_EQ(m.LastTab(), 1);

    m.SetTabWidth(120);  // m = 14
    EXPECT_EQ(m.TabCaptions()[0], "longfilename.t..");
    m.RenameTab(1, "renamed-file.txt");
    EXPECT_EQ(m.TabCaptions()[1], "renamed-file.t..");
    EXPECT_EQ(m.TabHints()[1], "renamed-file.txt");
}

TEST(TabStripModel, OneRowScrollsTheActivatedTabIntoViewWithAMargin) {
    TabStripModel m = Strip(10, 450);  // room for 6
    ASSERT_EQ(m.TabsPerRow(), 6);
    EXPECT_EQ(m.FirstVisibleTab(), 0);
    EXPECT_EQ(m.TrackPosition(), 0);

    m.ScrollTabIntoView(9);  // tab 8 sits beyond the right edge
    EXPECT_EQ(m.FirstVisibleTab(), 4);
    EXPECT_EQ(Column(m, 8), 4);  // second-last visible
    EXPECT_EQ(m.TrackPosition(), 4);
    EXPECT_EQ(m.TrackMaximum(), 5);

    m.ScrollTabIntoView(6);  // tab 5 inside the view: nothing moves
    EXPECT_EQ(m.FirstVisibleTab(), 4);
    m.ScrollTabIntoView(5);  // tab 4 at the left edge gets one tab of margin
    EXPECT_EQ(Column(m, 4), 1);
    m.ScrollTabIntoView(1);
    EXPECT_EQ(m.FirstVisibleTab(), 0);
    EXPECT_EQ(m.Place(0), (TabPlace{0, 0}));
}

TEST(TabStripModel, ArrowsStopAtBothEndsAndANewTabScrollsByItsIndex) {
    TabStripModel m = Strip(10, 450);
    EXPECT_FALSE(m.TrackTabClick(false));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(m.TrackTabClick(true));
    EXPECT_FALSE(m.TrackTabClick(true));
    EXPECT_EQ(m.FirstVisibleTab(), 5);
    EXPECT_EQ(Column(m, 9), 4);
    EXPECT_TRUE(m.TrackTabClick(false));
    EXPECT_EQ(m.FirstVisibleTab(), 4);

    // The seventh tab of a six-tab row: its index stands for a document
    // number, so it lands in the last column, not the second-last.
    TabStripModel n = Strip(6, 450);
    n.AddTab(6, "6");
    EXPECT_EQ(n.FirstVisibleTab(), 1);
    EXPECT_EQ(Column(n, 6), 5);
}

TEST(TabStripModel, SeveralRowsWrapAndGrowTheStrip) {
    TabStripModel m = Strip(9, 300, true);  // 4 per row
    EXPECT_EQ(m.StripHeight(), 51);
    EXPECT_EQ(m.Place(3), (TabPlace{225, 0}));
    EXPECT_EQ(m.Place(4), (TabPlace{0, 17}));
    EXPECT_EQ(m.Place(8), (TabPlace{0, 34}));
    m.ScrollTabIntoView(9);  // every tab shows already
    EXPECT_EQ(m.Place(8), (TabPlace{0, 34}));

    EXPECT_EQ(Strip(8, 300, true).StripHeight(), 34);
    EXPECT_EQ(Strip(4, 300, true).StripHeight(), 17);
    EXPECT_EQ(Strip(0, 300, true).StripHeight(), 17);
    EXPECT_EQ(Strip(9, 300, false).StripHeight(), 17);
    EXPECT_EQ(Strip(9, 300, false).Place(8), (TabPlace{600, 0}));
}

TEST(TabStripModel, DropsMoveSwapOrCopyDocuments) {
    TabStripModel m = Strip(5, 600);
    TabDrop d = m.Drop(1, 4, false, false);  // 4 onto 1
    EXPECT_EQ(d.action, TabDropAction::Move);
    EXPECT_EQ(d.source, 5);
    EXPECT_EQ(d.target, 2);
    EXPECT_EQ(m.TabCaptions(), (Names{"0", "4", "1", "2", "3"}));
    EXPECT_EQ(m.TabHints(), m.TabCaptions());
    EXPECT_EQ(m.LastTab(), 1);
    EXPECT_TRUE(m.TabClicked());

    m = Strip(5, 600);
    EXPECT_EQ(m.Drop(3, 1, false, false).action, TabDropAction::Move);  // 1 onto 3
    EXPECT_EQ(m.TabCaptions(), (Names{"0", "2", "3", "1", "4"}));

    m = Strip(5, 600);
    d = m.Drop(3, 1, true, true);  // Shift wins over Ctrl
    EXPECT_EQ(d.action, TabDropAction::Swap);
    EXPECT_EQ(m.TabCaptions(), (Names{"0", "3", "2", "1", "4"}));
    EXPECT_EQ(m.TabHints()[1], "3");
    EXPECT_EQ(m.LastTab(), 3);

    m = Strip(5, 600);
    d = m.Drop(3, 1, false, true);
    EXPECT_EQ(d.action, TabDropAction::Copy);
    EXPECT_EQ(d.source, 2);
    EXPECT_EQ(m.TabCaptions(), (Names{"0", "1", "2", "3", "4"}));
    EXPECT_EQ(m.LastTab(), 4);
}

TEST(TabStripModel, DropOnItselfOrOutsideChangesNothingButTheClickFlag) {
    TabStripModel m = Strip(3, 600);
    EXPECT_EQ(m.Drop(2, 2, false, false).action, TabDropAction::None);
    EXPECT_TRUE(m.TabClicked());
    EXPECT_EQ(m.Drop(3, 0, false, false).action, TabDropAction::None);
    EXPECT_EQ(m.Drop(0, -1, true, false).action, TabDropAction::None);
    EXPECT_EQ(m.TabCaptions(), (Names{"0", "1", "2"}));
}

TEST(TabStripModel, RemoveTabShiftsTheLaterTabsDown) {
    TabStripModel m = Strip(4, 600);
    m.RemoveTab(1);
    EXPECT_EQ(m.TabCaptions(), (Names{"0", "2", "3"}));
    EXPECT_EQ(m.TabHints(), (Names{"0", "2", "3"}));
    EXPECT_EQ(m.LastTab(), 1);
    m.RemoveTab(2);  // the last: LastTab names no tab now
    EXPECT_EQ(m.TabButtonCount(), 2);
    EXPECT_EQ(m.LastTab(), 2);
    EXPECT_FALSE(m.IsTab(m.LastTab()));
    m.RemoveTab(2);
    m.RemoveTab(-1);
    EXPECT_EQ(m.TabButtonCount(), 2);
    m.RemoveTab(0);
    m.RemoveTab(0);
    EXPECT_EQ(m.TabButtonCount(), 0);
    EXPECT_EQ(m.AddTab(0, "k"), 0);
    EXPECT_EQ(m.TabCaptions(), (Names{"k"}));
}

TEST(TabStripModel, AStripNarrowerThanOneTabStillWorks) {
    TabStripModel m = Strip(3, 50, true);
    EXPECT_EQ(m.TabsPerRow(), 0);
    EXPECT_EQ(m.StripHeight(), 51);  // one tab per row
    EXPECT_EQ(m.Place(2), (TabPlace{0, 34}));

    m.SetMultiTabBox(false);
    m.ArrangeTabs();
    m.ScrollTabIntoView(3);
    m.ScrollTabIntoView(1);
    EXPECT_GE(m.TrackPosition(), 0);
    EXPECT_LE(m.TrackPosition(), m.TrackMaximum());
    m.SetStripWidth(-10);
    EXPECT_EQ(m.StripWidth(), 0);
    m.SetTabWidth(0);
    EXPECT_EQ(m.TabWidth(), 1);
    m.ScrollTabIntoView(99);
    m.ScrollTabIntoView(-1);
    EXPECT_EQ(TabCaptionFor("abcdef", 0), "ab..");
    EXPECT_EQ(TabCaptionFor("abcdef", -1000), "abcdef");
}

}  // namespace
