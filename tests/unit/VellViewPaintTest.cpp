// Painting on the recording surface: 8-pixel cells, 16-pixel rows, top
// margin 4 and left margin 10, so every stroke has an exact place.
#include <gtest/gtest.h>

#include <set>

#include "editor/TabExpand.h"
#include "headless/ViewHarness.h"
#include "textstore/ShiftJis.h"

namespace tw::test {
namespace {

constexpr TColor kWhite = 0xFFFFFF;

TEST(VellViewPaint, EmptyDocumentShowsOnlyEof) {
    ViewHarness h;
    h.Load("");
    h.view.DrawAll();
    const auto texts = h.surface.TextsAt(4);
    std::vector<std::string> shown;
    for (const auto& t : texts)
        if (!t.text.empty()) shown.push_back(t.text);
    ASSERT_EQ(shown, std::vector<std::string>{"[EOF]"});
    EXPECT_EQ(h.surface.At(10, 4), (h.ed.CREOFcolor << 8) ^ '[');

    h.ed.SetEofDraw(false);
    h.surface.Clear();
    h.view.DrawAll();
    for (const auto& t : h.surface.Of("text"))
        EXPECT_NE(t.text, "[EOF]");
}

TEST(VellViewPaint, TabsExpandToTheirStopsBeforeDrawing) {
    ViewHarness h;
    h.ed.SetTabCount(4);
    h.Load("ab\tc\r\nabcd\tx\r\n");
    h.view.DrawAll();
    EXPECT_EQ(h.surface.TextsAt(4).front().text, "ab  c");
    EXPECT_EQ(h.surface.TextsAt(20).front().text, "abcd    x");
    // The arrow after "ab  c" stands at column 5.
    const auto lines = h.surface.Of("line");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().rect, (PixelRect{10 + 40 + 4, 4 + 3, 10 + 40 + 4, 4 + 13}));
}

TEST(VellViewPaint, LineEndArrowHasThreeStrokes) {
    ViewHarness h;
    h.Load("abc\r\n");
    h.view.DrawAll();
    std::vector<PixelRect> strokes;
    for (const auto& l : h.surface.Of("line"))
        if (l.fore == h.ed.CREOFcolor) strokes.push_back(l.rect);
    // Mark top round(0.2 x 16) = 3, bottom round(0.8 x 16) = 13; x = 10 + 3 x 8.
    const std::vector<PixelRect> want{{38, 7, 38, 17}, {38, 17, 35, 14}, {38, 17, 41, 14}};
    ASSERT_GE(strokes.size(), 3u);
    EXPECT_EQ(std::vector<PixelRect>(strokes.begin(), strokes.begin() + 3), want);

    h.ed.SetCRDraw(false);
    h.surface.Clear();
    h.view.DrawAll();
    EXPECT_TRUE(h.surface.Of("line").empty());
}

TEST(VellViewPaint, QuotedRowsTakeTheirColourFromTheirOwnFirstCharacter) {
    ViewHarness h;
    h.ed.SetColumn(10);
    h.Load(">abcdefghijklm\r\nplain\r\n", true);  // ">abcdefghi" and "jklm" are pieces of one line
    h.view.DrawAll();
    EXPECT_EQ(h.surface.TextsAt(4).front().fore, h.ed.InyoColor);
    EXPECT_EQ(h.surface.TextsAt(20).front().fore, h.ed.Font().Color);

    h.ed.ColorPrintF = false;
    h.surface.Clear();
    h.view.DrawAll();
    EXPECT_EQ(h.surface.TextsAt(4).front().fore, h.ed.Font().Color);
}

TEST(VellViewPaint, FullWidthQuotationCharacterCounts) {
    ViewHarness h;
    h.ed.Inyostr = "\x81\x84";  // ＞
    h.Load("\x81\x84quote\r\n");
    h.view.DrawAll();
    EXPECT_EQ(h.surface.TextsAt(4).front().fore, h.ed.InyoColor);
}

TEST(VellViewPaint, SelectionOverALineEndShowsAnEightPixelBox) {
    ViewHarness h;
    h.Load("abc\r\nxyz\r\n");
    h.ed.Select({1, 0}, {1, 1});
    h.surface.Clear();
    h.view.DrawSelection();
    bool box = false;
    for (const auto& f : h.surface.Of("fill"))
        if (f.rect == PixelRect{34, 4, 42, 20} && f.fore == h.ed.SelColor()) box = true;
    EXPECT_TRUE(box);
    std::set<TColor> arrowPens;
    for (const auto& l : h.surface.Of("line"))
        if (l.rect.top < 20) arrowPens.insert(l.fore);
    EXPECT_EQ(arrowPens, std::set<TColor>{h.ed.CREOFcolor ^ kWhite});
    // "bc" selected: inverted text on SelColor; "a" plain.
    bool selected = false, plain = false;
    for (const auto& t : h.surface.TextsAt(4)) {
        if (t.text == "bc")
            selected = t.fore == (h.ed.Font().Color ^ kWhite) && t.back == h.ed.SelColor();
        if (t.text == "a") plain = t.back == h.ed.Color();
    }
    EXPECT_TRUE(selected);
    EXPECT_TRUE(plain);
}

TEST(VellViewPaint, WrappedPieceHasNoBoxAndNoArrow) {
    ViewHarness h;
    h.ed.SetColumn(10);
    h.Load("abcdefghijklm\r\n", true);
    h.ed.SelectAll();
    h.surface.Clear();
    h.view.DrawSelection();
    for (const auto& f : h.surface.Of("fill"))
        if (f.rect.top == 4 && f.fore == h.ed.SelColor()) {
            EXPECT_NE(f.rect.right - f.rect.left, 8);
        }
    for (const auto& l : h.surface.Of("line"))
        EXPECT_GE(l.rect.top, 20) << "an arrow on the wrapped piece";
}

/// Pixels of the dotted box around the full-width space at the row start.
std::set<std::pair<int, int>> DotPixels(const RecordingSurface& s, TColor pen) {
    std::set<std::pair<int, int>> out;
    for (const auto& p : s.Of("pixel"))
        if (p.fore == pen) out.insert({p.rect.left, p.rect.top});
    return out;
}

TEST(VellViewPaint, FullWidthSpaceGetsADottedBoxInsetThreeAndTwo) {
    ViewHarness h;
    h.Load("\x81\x40x\r\n");
    h.view.DrawAll();
    const auto dots = DotPixels(h.surface, h.ed.CREOFcolor);
    ASSERT_FALSE(dots.empty());
    // The space spans x 10..26: box from x 13 to 23, y 6 to 18.
    for (auto [x, y] : dots) {
        EXPECT_TRUE(x >= 13 && x <= 23 && y >= 6 && y <= 18) << x << "," << y;
        EXPECT_TRUE(x == 13 || x == 23 || y == 6 || y == 18) << x << "," << y;
    }
    EXPECT_TRUE(dots.count({23, 6}));
    EXPECT_FALSE(dots.count({23, 7})) << "dots alternate";
    EXPECT_TRUE(dots.count({23, 8}));

    // Inside a selection the pen is inverted.
    h.ed.SelectAll();
    h.surface.Clear();
    h.view.DrawSelection();
    EXPECT_FALSE(DotPixels(h.surface, h.ed.CREOFcolor ^ kWhite).empty());
    EXPECT_TRUE(DotPixels(h.surface, h.ed.CREOFcolor).empty());

    h.ed.SetZspcDraw(false);
    h.surface.Clear();
    h.view.DrawAll();
    EXPECT_TRUE(h.surface.Of("pixel").empty());
}

TEST(VellViewPaint, PropertySettersClamp) {
    ViewHarness h;
    h.ed.SetTabCount(0);
    EXPECT_EQ(h.ed.TabCount(), 1);
    h.ed.SetTabCount(20);
    EXPECT_EQ(h.ed.TabCount(), 8);
    h.ed.SetTopMargin(45);
    h.ed.SetLeftMargin(45);
    EXPECT_EQ(h.ed.TopMargin(), 30);
    EXPECT_EQ(h.ed.LeftMargin(), 30);
    h.ed.SetLineNoColumn(9);
    EXPECT_EQ(h.ed.LineNoColumn(), 5);
    h.ed.SetLineNoColumn(0);
    EXPECT_EQ(h.ed.LineNoColumn(), 1);
}

struct NumberedView : ViewHarness {
    NumberedView() {
        ed.SetShowLineNumber(true);
        ed.SetLineNoColumn(3);
        view.RecreateView();
        surface.Clear();
    }
};

TEST(VellViewPaint, LineNumbersAreRightAlignedLeftOfTheSeparator) {
    NumberedView h;
    EXPECT_EQ(h.ed.Viewport().TextLeft, 10 + 24 + 7);
    h.Load(Lines(12));
    h.view.DrawAll();
    bool one = false, twelve = false, separator = false;
    for (const auto& t : h.surface.Of("text")) {
        if (t.text == "1") one = t.rect.left == 41 - 8 - 7 && t.rect.top == 4;
        if (t.text == "12") twelve = t.rect.left == 41 - 16 - 7 && t.rect.top == 4 + 11 * 16;
    }
    for (const auto& l : h.surface.Of("line"))
        if (l.rect.left == 37 && l.rect.right == 37 && l.rect.top == 4) separator = true;
    EXPECT_TRUE(one);
    EXPECT_TRUE(twelve);
    EXPECT_TRUE(separator);
}

TEST(VellViewPaint, WrappedPiecesEachHaveTheirOwnNumber) {
    NumberedView h;
    h.ed.SetColumn(10);
    h.Load("abcdefghijklmnopqrstuvwxyz\r\nz\r\n", true);
    h.view.DrawAll();
    std::vector<std::string> numbers;
    for (const auto& t : h.surface.Of("text"))
        if (!t.text.empty() && t.text.find_first_not_of("0123456789") == std::string::npos)
            numbers.push_back(t.text);
    EXPECT_EQ(numbers, (std::vector<std::string>{"1", "2", "3", "4", "5"}));
}

TEST(VellViewPaint, NumberColumnGrowsInTenPixelStepsAtAThousandRows) {
    NumberedView h;
    h.Load(Lines(998));  // 999 rows with the end marker
    EXPECT_EQ(h.ed.Viewport().TextLeft, 41);
    h.ed.GotoXY(0, 998);
    h.surface.Clear();
    h.Key(VK_RETURN);  // the 1000th row: "1000" needs 32 + 10 + 7 pixels
    EXPECT_EQ(h.ed.Viewport().TextLeft, 51);
    EXPECT_EQ(h.view.LineNoWidth(), 41);
    EXPECT_EQ(h.ed.Viewport().TextWidth, 400 - 51);
    // Every visible row was repainted at the new text edge.
    std::set<int> rowsAtNewEdge;
    for (const auto& t : h.surface.Of("text"))
        if (t.rect.left == 51) rowsAtNewEdge.insert(t.rect.top);
    const int32_t visible = std::min(h.ed.Viewport().PageLines, h.Count() - h.ed.TopLine());
    EXPECT_EQ(rowsAtNewEdge.size(), static_cast<size_t>(visible));

    // Back to 999 rows: the needed width (41) is not above the base, so it stays.
    h.Key(VK_BACK);
    EXPECT_EQ(h.ed.Viewport().TextLeft, 51);
}

TEST(VellViewPaint, NumberColumnShrinksOnlyWhileAboveItsBase) {
    NumberedView h;
    h.ed.SetLineNoColumn(1);
    h.view.RecreateView();
    EXPECT_EQ(h.ed.Viewport().TextLeft, 10 + 8 + 7);
    h.Load(Lines(1200));
    EXPECT_EQ(h.ed.Viewport().TextLeft, 55);  // "1201" needs 32 + 10 + 7
    h.Load(Lines(120));
    EXPECT_EQ(h.ed.Viewport().TextLeft, 45);  // "121" needs 41: 55 - 12 > 41, 45 - 12 is not
    h.Load(Lines(3));
    EXPECT_EQ(h.ed.Viewport().TextLeft, 45);  // needs 25, which is not above the base 25
}

TEST(VellViewPaint, CaretUnderlineFollowsItsConditions) {
    ViewHarness h;
    h.ed.UlineF = true;
    h.ed.UlineColor = 0x0000FF;
    h.Load(Lines(5));
    h.view.DrawAll();
    auto underlines = [&] {
        std::vector<PixelRect> out;
        for (const auto& l : h.surface.Of("line"))
            if (l.fore == 0x0000FF) out.push_back(l.rect);
        return out;
    };
    ASSERT_EQ(underlines(), (std::vector<PixelRect>{{10, 20, 400, 20}}));

    h.surface.Clear();
    h.Key(VK_DOWN);
    EXPECT_EQ(underlines().back(), (PixelRect{10, 36, 400, 36}));

    // Not while a range selection exists.
    h.surface.Clear();
    h.Key(VK_RIGHT, false, true);
    ASSERT_TRUE(h.ed.Selection().Selected);
    h.view.DrawAll();
    EXPECT_TRUE(underlines().empty());

    // Not while the mouse button is held in the text.
    h.Key(VK_RIGHT);
    h.view.MouseDown(MouseButton::Left, h.X(2), h.Y(3));
    h.surface.Clear();
    h.view.DrawAll();
    EXPECT_TRUE(underlines().empty());
    h.view.MouseUp(MouseButton::Left, h.X(2), h.Y(3));
    EXPECT_EQ(underlines().back(), (PixelRect{10, 4 + 3 * 16 + 16, 400, 4 + 3 * 16 + 16}));
}

TEST(VellViewPaint, DrawLinesSpansPaintTheirRows) {
    ViewHarness h(10);
    h.Load(Lines(30));
    h.ed.GotoXY(0, 4);
    auto rowsPainted = [&](DrawSpan span, int32_t a, int32_t b) {
        h.surface.Clear();
        h.view.DrawLines(span, a, b);
        std::set<int> rows;
        for (const auto& t : h.surface.Of("text"))
            if (t.rect.left == 10 && t.text.starts_with("line")) rows.insert((t.rect.top - 4) / 16);
        return rows;
    };
    EXPECT_EQ(rowsPainted(DrawSpan::Visible, 7, 8), (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(rowsPainted(DrawSpan::Rows, 2, 3), (std::set<int>{2, 3}));
    EXPECT_EQ(rowsPainted(DrawSpan::Rows, 8, 40), (std::set<int>{8, 9}));
    EXPECT_EQ(rowsPainted(DrawSpan::From, 8, 0), (std::set<int>{8, 9}));
}

/// ExtendSelection must leave exactly the picture DrawSelection paints.
TEST(VellViewPaint, ExtendingTheSelectionGivesTheSamePictureAsRedrawing) {
    const std::string text = "alpha\r\n\x82\xa0\x82\xa2\tbeta\r\ngamma delta\r\nz\r\n";
    for (auto [ex, ey] : std::vector<std::pair<int, int>>{{3, 2}, {0, 0}, {2, 1}, {4, 0}, {1, 3}}) {
        ViewHarness a, b;
        for (ViewHarness* h : {&a, &b}) {
            h->Load(text);
            h->ed.GotoXY(2, 1);
            h->view.DrawAll();
        }
        // a: the pointer wanders, b: the final range painted at once.
        a.ed.Selection().Selected = true;
        a.view.ExtendSelection(4, 2);
        a.view.ExtendSelection(1, 0);
        a.view.ExtendSelection(ex, ey);
        b.ed.Selection().Selected = true;
        b.ed.Selection().End = {ex, ey};
        b.view.DrawSelection();
        EXPECT_EQ(a.surface.pixels, b.surface.pixels) << ex << "," << ey;
    }
}

TEST(VellViewPaint, NumbersAreDrawnOnlyForTheRowsOnScreen) {
    NumberedView h;
    h.Load(Lines(5000));
    h.ed.GotoXY(0, 2500, ScrollMode::Center);
    h.Key('A', true);
    h.surface.Clear();
    h.view.DrawAll();  // names every row of the document
    int numbers = 0;
    for (const auto& t : h.surface.Of("text"))
        numbers += !t.text.empty() && t.text.find_first_not_of("0123456789") == std::string::npos;
    EXPECT_EQ(numbers, h.ed.Viewport().PageLines);
}

TEST(VellViewPaint, RowsAboveTheViewAreNeverPainted) {
    ViewHarness h(10);
    h.Load(Lines(30));
    h.ed.Viewport().TopLine = 5;
    h.view.DrawLines(DrawSpan::From, 4, 0);  // row 4 lies above the view
    for (const auto& t : h.surface.Of("text"))
        EXPECT_GE(t.rect.top, 4) << t.text;
}

TEST(VellViewPaint, RefreshViewShowsChangedSettingsAtOnce) {
    for (bool wrap : {false, true}) {
        ViewHarness h;
        h.Load("abc", wrap);
        h.view.DrawAll();
        h.ed.SetEofDraw(false);
        h.ed.SetColor(0x00FF00);
        h.surface.Clear();
        h.view.RefreshView();
        EXPECT_EQ(h.surface.At(10 + 3 * 8 + 1, 4), 0x00FF00u) << wrap;
        for (const auto& t : h.surface.Of("text"))
            EXPECT_NE(t.text, "[EOF]") << wrap;
    }
}

TEST(VellViewPaint, ClearBelowTextFillsFromTheLastRow) {
    ViewHarness h;
    h.Load("a\r\nb\r\n");  // three rows
    h.view.DrawAll();
    bool below = false;
    for (const auto& f : h.surface.Of("fill"))
        if (f.rect == PixelRect{0, 4 + 3 * 16, 400, h.ed.Viewport().Height}) below = true;
    EXPECT_TRUE(below);
}

TEST(VellViewPaint, UserDrawGetsTheRulerColumns) {
    ViewHarness h;
    int c1 = 0, c2 = 0, x1 = 0, x2 = 0;
    h.ed.OnUserDraw = [&](TVellEdit&, int a, int b, int c, int d) {
        c1 = a, c2 = b, x1 = c, x2 = d;
    };
    h.Load("abc\r\n", false);
    h.view.DrawAll();
    EXPECT_EQ(c1, 1);
    EXPECT_EQ(c2, 400);
    EXPECT_EQ(x1, 10);
    EXPECT_EQ(x2, 50);  // round(400 / 8), below FMaxColumn
    h.ed.SetWordWrap(true);
    h.view.DrawAll();
    EXPECT_EQ(x2, 50);  // min(50, Column 72)
    h.ed.SetColumn(20);
    h.view.DrawAll();
    EXPECT_EQ(x2, 20);
}

TEST(VellViewPaint, GyokanWidensRowsButNotTheUnderlineOffset) {
    ViewHarness h;
    h.ed.SetGyokan(50);
    EXPECT_EQ(h.ed.Viewport().RowHeight, 24);
    h.ed.SetGyokan(150);
    EXPECT_EQ(h.ed.Gyokan(), 100);
    h.ed.SetGyokan(-5);
    EXPECT_EQ(h.ed.Gyokan(), 0);
}

/// Quotation characters are compared whole: the trail byte of 》 (0x74) is
/// not the letter t.
TEST(VellViewPaint, QuotationCharactersMatchOnlyWholeCharacters) {
    ViewHarness h;
    h.ed.Inyostr = "\x81\x84\x81\x74";  // ＞》
    h.Load("test\r\n\x81\x74quote\r\n\x81quote\r\n");
    h.view.DrawAll();
    EXPECT_EQ(h.surface.TextsAt(4).front().fore, h.ed.Font().Color);
    EXPECT_EQ(h.surface.TextsAt(20).front().fore, h.ed.InyoColor);
    EXPECT_EQ(h.surface.TextsAt(36).front().fore, h.ed.Font().Color);
}

/// Scrolled sideways, a short row's line end and "[EOF]" lie left of the
/// text area; a repaint that leaves the number column alone must not draw
/// them over it.
TEST(VellViewPaint, EndMarksStayOutOfTheNumberColumn) {
    NumberedView h;
    h.ed.SetZspcDraw(true);
    h.Load(std::string(80, 'w') + "\r\nab\r\n\x81\x40");
    h.Key(VK_END);
    ASSERT_GT(h.ed.Viewport().ScrollX, 3 * 8);
    auto numberColumn = [&] {
        std::vector<TColor> px;
        for (int y = 4; y < 4 + 3 * 16; ++y)
            for (int x = 0; x < h.ed.Viewport().TextLeft; ++x)
                px.push_back(h.surface.At(x, y));
        return px;
    };
    const std::vector<TColor> before = numberColumn();
    h.Key('A', true);  // every row repainted as selected
    EXPECT_EQ(numberColumn(), before);
    h.ed.ClearSelection();
    h.view.DrawLineText(1, 0);
    h.view.DrawLineText(2, 0);
    EXPECT_EQ(numberColumn(), before);
}

// Only the characters over the text area are handed to the surface, so a
// row scrolled sideways must still show, cell for cell, what the whole row
// holds there: tabs at their stops, a double-byte character cut by the edge,
// links and the selection.
TEST(VellViewPaint, ALongRowScrolledSidewaysShowsItsOwnCells) {
    ViewHarness h;
    h.ed.SetTabCount(4);
    std::string row;
    for (int i = 0; row.size() < 3000; ++i)
        row += i % 3 ? "ab\t\x82\xa0\x83\x5cx" : "http://t.jp/\x81\x40q ";
    const std::string expanded = ExpandTabs(row, 4);
    h.Load(row + "\r\n");
    const TViewport& vp = h.ed.Viewport();
    for (bool selected : {false, true}) {
        if (selected) h.ed.SelectAll();
        for (int thumb = 0; thumb < 600; thumb += 9) {
            h.view.WMHScroll(SB_THUMBTRACK, thumb);
            h.surface.Clear();
            h.view.DrawAll();
            const int origin = vp.TextLeft - vp.ScrollX;
            int shown = 0;
            for (int c = std::max(0, (vp.TextLeft - origin + 7) / 8);
                 origin + c * 8 < vp.TextLeft + vp.TextWidth - 8 &&
                 c < static_cast<int>(expanded.size());
                 ++c, ++shown)
                ASSERT_EQ(h.surface.At(origin + c * 8, 4) & 0xFF,
                          static_cast<unsigned char>(expanded[static_cast<size_t>(c)]))
                    << "column " << c << " scrolled to " << vp.ScrollX
                    << (selected ? " selected" : "");
            EXPECT_GT(shown, 20);
            // A piece starts on a whole character: the screen cannot draw half of one.
            for (const auto& [x, y] : h.surface.origins) {
                const int c = (x - origin) / 8;
                if (y == 4 && c > 0 && c < static_cast<int>(expanded.size())) {
                    EXPECT_NE(ByteTypeAt(expanded, c + 1), kTrailByte) << "column " << c;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tw::test
