// The editor window's mouse on the offscreen platform: Qt mouse and wheel
// events through the margin, selection, auto-scroll and text drag.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWheelEvent>

#include "editor/qt/VellEditWidget.h"
#include "support/TestText.h"

using namespace tw;
using tw::test::Lines;

namespace {

class EditWidgetMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        w.resize(640, 400);
        w.show();
        QApplication::processEvents();
    }
    QPointF At(int col, int row) {
        const TVellEdit& e = w.Edit();
        return QPointF(e.FTextLeft + col * e.FCharWidth + 1,
                       e.TopMargin() + row * e.FRowHeight + e.FRowHeight / 2);
    }
    QPointF Margin(int row) { return QPointF(2, At(0, row).y()); }
    void Send(QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, at, w.mapToGlobal(at), Qt::LeftButton, buttons, mods);
        QApplication::sendEvent(&w, &e);
    }
    void Press(QPointF at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Send(QEvent::MouseButtonPress, at, Qt::LeftButton, mods);
    }
    void Move(QPointF at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Send(QEvent::MouseMove, at, Qt::LeftButton, mods);
    }
    void Release(QPointF at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Send(QEvent::MouseButtonRelease, at, Qt::NoButton, mods);
    }
    void Wheel(int delta) {
        const QPointF at = At(1, 1);
        QWheelEvent e(at, w.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&w, &e);
    }
    std::string Text() { return w.Edit().GetAllText(); }

    VellEditWidget w;
};

TEST_F(EditWidgetMouse, MarginClickAndDragSelectWholeRows) {
    w.Edit().SetAllText("abc\r\ndef\r\nghi\r\nlast");
    Press(Margin(1));
    Release(Margin(1));
    EXPECT_EQ(w.Edit().GetSelText(), "def\r\n");
    Press(Margin(0));
    Move(Margin(2));
    Release(Margin(2));
    EXPECT_EQ(w.Edit().GetSelText(), "abc\r\ndef\r\n");
}

TEST_F(EditWidgetMouse, ShiftClickExtendsFromTheCaret) {
    w.Edit().SetAllText("abcdef\r\nxyz\r\n");
    Press(At(1, 0));
    Release(At(1, 0));
    Press(At(2, 1), Qt::ShiftModifier);
    Release(At(2, 1), Qt::ShiftModifier);
    EXPECT_EQ(w.Edit().GetSelText(), "bcdef\r\nxy");
}

TEST_F(EditWidgetMouse, WheelScrollsDownAndBack) {
    w.Edit().SetAllText(Lines(200));
    Wheel(-120);
    const int32_t down = w.Edit().FTopLine;
    EXPECT_GT(down, 0);
    Wheel(-120);
    EXPECT_EQ(w.Edit().FTopLine, 2 * down) << "each notch scrolls as far";
    Wheel(240);
    EXPECT_EQ(w.Edit().FTopLine, 0);
}

TEST_F(EditWidgetMouse, HoldingBelowTheTextScrollsOnTheTimer) {
    w.Edit().SetAllText(Lines(300));
    Press(At(1, 2));
    Move(QPointF(At(1, 0).x(), w.height() + 40));
    const int32_t start = w.Edit().FTopLine;
    QElapsedTimer t;
    t.start();
    while (w.Edit().FTopLine < start + 6 && t.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(w.Edit().FTopLine, start + 6) << "the 40 ms timer keeps scrolling while held";
    EXPECT_TRUE(w.Edit().SelectionExists());
    Release(QPointF(At(1, 0).x(), w.height() + 40));
    const int32_t top = w.Edit().FTopLine;
    t.restart();
    while (t.elapsed() < 150)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(w.Edit().FTopLine, top) << "released: scrolling stops";
}

TEST_F(EditWidgetMouse, DraggingASelectionMovesItAndCtrlCopiesIt) {
    w.Edit().SetAllText("abc def ghi\r\nxyz\r\n");
    Press(At(0, 0));
    Move(At(3, 0));
    Release(At(3, 0));
    ASSERT_EQ(w.Edit().GetSelText(), "abc");
    Press(At(1, 0));
    Move(At(7, 0));
    Release(At(7, 0));
    EXPECT_EQ(Text(), " defabc ghi\r\nxyz\r\n");

    w.Edit().SetAllText("abc def\r\nxyz\r\n");
    Press(At(0, 0));
    Move(At(3, 0));
    Release(At(3, 0));
    Press(At(1, 0));
    Move(At(3, 1), Qt::ControlModifier);
    Release(At(3, 1), Qt::ControlModifier);
    EXPECT_EQ(Text(), "abc def\r\nxyzabc\r\n");
}

/// Touchpads and fine wheels send less than a notch per event.
TEST_F(EditWidgetMouse, FineWheelStepsAddUpToNotches) {
    w.Edit().SetAllText(Lines(200));
    Wheel(-60);
    EXPECT_EQ(w.Edit().FTopLine, 0) << "half a notch scrolls nothing yet";
    Wheel(-60);
    EXPECT_EQ(w.Edit().FTopLine, 2);
    for (int i = 0; i < 8; ++i)
        Wheel(-15);
    EXPECT_EQ(w.Edit().FTopLine, 4);
    Wheel(-90);
    Wheel(60);  // a turn the other way starts counting afresh
    EXPECT_EQ(w.Edit().FTopLine, 4);
    Wheel(60);
    EXPECT_EQ(w.Edit().FTopLine, 2);
}

}  // namespace
