// The stored font on the screen: its name, size and style from the settings,
// the cell grid from the font's own "0", and glyphs wider than their cells
// kept inside them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>

#include "ShownEditWidget.h"
#include "settings/ApplySettings.h"
#include "settings/OptionData.h"

using namespace tw;

namespace {

class FontWidget : public test::ShownEditWidget {
  protected:
    /// As a new document window applies the settings.
    void Apply(const OptionData& o) {
        ApplySettings(w.Edit(), o, [this](TVellEdit&) {
            w.View().RefreshView();
            w.View().Rewrap();
            w.View().RecreateView();
        });
    }
    QFont Shown() { return static_cast<QWidget&>(w).inputMethodQuery(Qt::ImFont).value<QFont>(); }
    /// Pixels of the first row in [x0, x1) that are not the background.
    int Ink(int x0, int x1, int row = 0) {
        const QImage& img = w.Image();
        const int top = w.Edit().TopMargin() + row * w.Edit().Viewport().RowHeight;
        int n = 0;
        for (int y = top; y < top + w.Edit().Viewport().RowHeight; ++y)
            for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x)
                n += qGray(img.pixel(x, y)) < 160;
        return n;
    }
};

TEST_F(FontWidget, TheStoredNameSizeAndStyleReachTheScreen) {
    ASSERT_TRUE(QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans Mono")));
    OptionData o;
    o.FontName = "DejaVu Sans Mono";
    o.FontSize = 20;
    o.FontStyle = kFontBold | kFontItalic;
    Apply(o);
    const QFont f = Shown();
    EXPECT_EQ(f.family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(f.pixelSize(), 27);  // round(20 x 96 / 72)
    EXPECT_TRUE(f.bold());
    EXPECT_TRUE(f.italic());
    const QFontMetrics fm(f);
    EXPECT_EQ(w.Edit().Viewport().CharWidth, fm.horizontalAdvance(QLatin1Char('0')));
    EXPECT_EQ(w.Edit().Viewport().CharHeight, fm.height());
    w.Edit().SetAllText("abc\x82\xa0xyz\r\n");
    w.Edit().GotoXY(5, 0);  // after あ: five cells
    EXPECT_EQ(w.Edit().Selection().PixelX, 5 * fm.horizontalAdvance(QLatin1Char('0')));
}

TEST_F(FontWidget, AMissingFontFallsBackToTheDefaultAtTheStoredSizeAndStyle) {
    OptionData o;  // "FixedSys" is no Linux font
    o.FontSize = 10;
    o.FontStyle = kFontUnderline | kFontStrikeOut;
    Apply(o);
    EXPECT_EQ(Shown().family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(Shown().pixelSize(), 13);
    EXPECT_TRUE(Shown().underline());
    EXPECT_TRUE(Shown().strikeOut());
    o.FontName = "No Such Font Anywhere";
    o.FontStyle = 0;
    Apply(o);
    EXPECT_EQ(Shown().family(), QStringLiteral("IPAGothic"));
    EXPECT_FALSE(Shown().underline());
    // Underlined text: a line under the characters, not under the empty rest.
    o.FontStyle = kFontUnderline;
    o.EofDraw = o.CRDraw = false;
    Apply(o);
    w.Edit().SetAllText("ab\r\n");
    const int left = w.Edit().Viewport().TextLeft, cw = w.Edit().Viewport().CharWidth;
    EXPECT_GT(Ink(left, left + 2 * cw), 0);
    EXPECT_EQ(Ink(left + 2 * cw, left + 6 * cw), 0);
}

/// The smallest part of `img` inside `r` that holds all of its ink.
QImage InkOf(const QImage& img, const QRect& r) {
    QRect ink;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 160) ink |= QRect(x, y, 1, 1);
    return img.copy(ink);
}

/// A Latin font has no kana: those come from the Japanese default at the
/// same size and style, in their own cells, rather than as empty boxes.
TEST_F(FontWidget, CharactersTheFontLacksComeFromTheJapaneseDefault) {
    OptionData o;
    o.FontName = "IPAGothic";
    o.FontSize = 20;
    o.EofDraw = o.CRDraw = o.ShowLineNumber = false;
    Apply(o);
    w.Edit().SetAllText("\x82\xa0\r\n");  // あ
    auto row = [this] {
        return QRect(w.Edit().Viewport().TextLeft, w.Edit().TopMargin(),
                     2 * w.Edit().Viewport().CharWidth, w.Edit().Viewport().RowHeight);
    };
    const QImage own = InkOf(w.Image(), row());
    ASSERT_FALSE(own.isNull());
    o.FontName = "DejaVu Sans Mono";
    Apply(o);
    w.Edit().SetAllText("\x82\xa0\r\n");
    EXPECT_EQ(InkOf(w.Image(), row()), own);
}

/// In a proportional font "W" is wider than "0": it is drawn centred on its
/// cell and cut at the cell's edges, so the columns after it do not drift.
TEST_F(FontWidget, AGlyphWiderThanItsCellStaysInsideIt) {
    ASSERT_TRUE(QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")));
    OptionData o;
    o.FontName = "DejaVu Sans";
    o.FontSize = 20;
    o.EofDraw = o.CRDraw = o.ZspcDraw = o.ShowLineNumber = false;
    Apply(o);
    const int cw = w.Edit().Viewport().CharWidth, left = w.Edit().Viewport().TextLeft;
    ASSERT_GT(QFontMetrics(Shown()).horizontalAdvance(QLatin1Char('W')), cw + 4);
    w.Edit().SetAllText("W\r\n 0\r\nW0\r\n");
    EXPECT_GT(Ink(left, left + cw), 0);
    EXPECT_EQ(Ink(left + cw, left + 4 * cw), 0) << "nothing right of the W's cell";
    EXPECT_EQ(Ink(left - 8, left), 0) << "nothing left of it";
    // The "0" after a W looks as the "0" after a space.
    const QImage& img = w.Image();
    const int rh = w.Edit().Viewport().RowHeight, top = w.Edit().TopMargin();
    int differ = 0;
    for (int y = 0; y < rh; ++y)
        for (int x = left + cw; x < left + 2 * cw; ++x)
            differ += img.pixel(x, top + rh + y) != img.pixel(x, top + 2 * rh + y);
    EXPECT_EQ(differ, 0);
}

}  // namespace
