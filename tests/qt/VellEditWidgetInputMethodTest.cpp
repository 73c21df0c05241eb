// The input method's composition as a Japanese user sees it: drawn inline at
// the caret, the rest of the row moved aside, clauses marked as the input
// method asks, and the candidate window kept beside the composition.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextCharFormat>

#include "ShownEditWidget.h"

using namespace tw;

namespace {

class InputMethodWidget : public test::ShownEditWidget {
  protected:
    QImage Shot() { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    int CaretX() { return w.Edit().Viewport().TextLeft + w.Edit().Selection().PixelX; }
    int Cell() { return w.Edit().Viewport().CharWidth; }
    int RowTop() { return w.Edit().TopMargin(); }
    int RowBottom() { return RowTop() + w.Edit().Viewport().RowHeight; }
    /// True when the strip [x0, x1) of the first row in `a` equals the strip
    /// starting at x0 + dx in `b`.
    bool SameStrip(const QImage& a, const QImage& b, int x0, int x1, int dx) {
        for (int y = RowTop(); y < RowBottom(); ++y)
            for (int x = x0; x < x1; ++x)
                if (a.pixel(x, y) != b.pixel(x + dx, y)) return false;
        return true;
    }
    int CountColour(const QImage& img, QRect r, QRgb c) const {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += img.pixel(x, y) == c;
        return n;
    }
    static QInputMethodEvent::Attribute Format(int start, int length, const QTextCharFormat& f) {
        return {QInputMethodEvent::TextFormat, start, length, f};
    }
};

/// Two clauses: 今日は (active, highlighted) and いい天気 (underlined), with the
/// input method's cursor after the first clause.
QInputMethodEvent TwoClauses() {
    QTextCharFormat active;
    active.setBackground(QColor(0, 0, 255));
    active.setForeground(QColor(255, 255, 255));
    QTextCharFormat other;
    other.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    const QString text = QString::fromUtf16(u"\u4eca\u65e5\u306f\u3044\u3044\u5929\u6c17");
    QList<QInputMethodEvent::Attribute> attrs{
        {QInputMethodEvent::TextFormat, 0, 3, active},
        {QInputMethodEvent::TextFormat, 3, 4, other},
        {QInputMethodEvent::Cursor, 3, 1, QVariant()},
    };
    return QInputMethodEvent(text, attrs);
}

TEST_F(InputMethodWidget, TheCompositionIsDrawnInlineAndMovesTheRestOfTheRow) {
    w.Edit().SetAllText("abcdef\r\nnext\r\n");
    w.Edit().GotoXY(2, 0);
    QApplication::processEvents();
    const QImage before = Shot();
    const int x = CaretX(), cw = Cell();

    QInputMethodEvent compose = TwoClauses();
    QApplication::sendEvent(&w, &compose);
    const QImage during = Shot();
    EXPECT_EQ(w.Edit().GetAllText(), "abcdef\r\nnext\r\n") << "nothing is stored before the commit";
    // "cdef" and the line-end arrow stand 14 cells further right: seven
    // full-width characters.
    EXPECT_TRUE(SameStrip(before, during, x + 2, x + 4 * cw + 9, 14 * cw));
    EXPECT_FALSE(SameStrip(before, during, x + 2, x + 4 * cw + 9, 0));
    // The text left of the caret did not move.
    EXPECT_TRUE(SameStrip(before, during, w.Edit().Viewport().TextLeft, x - 1, 0));

    // The active clause is highlighted as the input method asked; the other
    // one is not, but carries an underline.
    const QRect first(x, RowTop(), 6 * cw, w.Edit().Viewport().RowHeight);
    const QRect second(x + 6 * cw + 2, RowTop(), 8 * cw - 2, w.Edit().Viewport().RowHeight);
    EXPECT_GT(CountColour(during, first, qRgb(0, 0, 255)),
              6 * cw * w.Edit().Viewport().RowHeight / 2);
    EXPECT_EQ(CountColour(during, second, qRgb(0, 0, 255)), 0);
    int underlineRows = 0;
    for (int y = second.top(); y <= second.bottom(); ++y) {
        int ink = 0;
        for (int px = second.left(); px <= second.right(); ++px)
            ink += qGray(during.pixel(px, y)) < 128;
        underlineRows += ink == second.width();
    }
    EXPECT_GE(underlineRows, 1) << "a full-width line under the second clause";

    // The candidate window goes beside the input method's cursor.
    const QRect cursor = static_cast<QWidget&>(w).inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(cursor.left(), x + 6 * cw);
    EXPECT_EQ(cursor.top(), RowTop());

    // Cancelled: the row is as it was.
    QInputMethodEvent cancel(QString(), {});
    QApplication::sendEvent(&w, &cancel);
    const QImage after = Shot();
    EXPECT_TRUE(SameStrip(before, after, w.Edit().Viewport().TextLeft, x - 1, 0));
    EXPECT_TRUE(SameStrip(before, after, x + 2, x + 4 * cw + 9, 0));
    EXPECT_EQ(static_cast<QWidget&>(w).inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), x);
}

TEST_F(InputMethodWidget, TheCaretStandsWhereTheInputMethodPutsIt) {
    w.Edit().SetAllText("ab\r\n");
    w.Edit().GotoXY(1, 0);
    QApplication::processEvents();
    const int x = CaretX(), cw = Cell();
    QInputMethodEvent compose = TwoClauses();
    QApplication::sendEvent(&w, &compose);
    EXPECT_EQ(w.CaretPos(), QPoint(x + 6 * cw, RowTop()));
    // A Cursor attribute of length 0 hides the caret.
    QInputMethodEvent hidden(QString::fromUtf16(u"\u304b"),
                             {{QInputMethodEvent::Cursor, 1, 0, QVariant()}});
    QApplication::sendEvent(&w, &hidden);
    EXPECT_EQ(w.CaretPos(), QPoint(-1, -1));
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf16(u"\u304b"));
    QApplication::sendEvent(&w, &commit);
    EXPECT_EQ(w.Edit().GetAllText(),
              "a\x82\xa9"
              "b\r\n");
    EXPECT_EQ(w.CaretPos(), QPoint(x + 2 * cw, RowTop()));
}

}  // namespace
