// The editor window on the offscreen platform: Qt key events through the key
// table, input-method commits, and the picture in the window's image.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>

#include "ShownEditWidget.h"
#include "textstore/LoadTextFile.h"

using namespace tw;

namespace {

class EditWidget : public test::ShownEditWidget {
  protected:
    void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent down(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(&w, &down);
        QKeyEvent up(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(&w, &up);
    }
    void TypeText(const QString& s) {
        for (QChar c : s)
            Press(0, Qt::NoModifier, QString(c));
    }
    std::string Text() { return w.Edit().GetAllText(); }
    std::pair<int32_t, int32_t> Caret() { return {w.Edit().FCaretX, w.Edit().FCaretY}; }
    void Load(const std::string& text) { w.Edit().SetAllText(text); }
};

TEST_F(EditWidget, MovementKeysOfTheTable) {
    Load("abc def\r\nxyz\r\nend");
    Press(Qt::Key_Right);
    EXPECT_EQ(Caret(), std::make_pair(1, 0));
    Press(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(3, 0));
    Press(Qt::Key_End);
    EXPECT_EQ(Caret(), std::make_pair(7, 0));
    Press(Qt::Key_Home);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    Press(Qt::Key_Down);
    EXPECT_EQ(Caret(), std::make_pair(0, 1));
    Press(Qt::Key_Up);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    Press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(3, 2));
    Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    Press(Qt::Key_Period, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(7, 0));
    Press(Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    Press(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    Press(Qt::Key_PageDown);
    EXPECT_EQ(Caret().second, 2);
    Press(Qt::Key_PageUp);
    EXPECT_EQ(Caret().second, 0);
}

TEST_F(EditWidget, AHeldKeyKeepsAcceleratingThroughRepeatedReleases) {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "row\r\n";
    Load(text);
    const int32_t edge = w.Edit().FPageLines - w.Edit().FVMargin;
    for (int i = 0; i < edge + 8; ++i) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, {}, i > 0);
        QApplication::sendEvent(&w, &down);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, {}, true);
        QApplication::sendEvent(&w, &up);
    }
    EXPECT_GE(w.View().RepeatCount(), 5);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&w, &up);
    EXPECT_EQ(w.View().RepeatCount(), 0);
}

TEST_F(EditWidget, ShiftSelectsAndTypingReplaces) {
    Load("abc def\r\n");
    Press(Qt::Key_Right, Qt::ShiftModifier);
    Press(Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(w.Edit().GetSelText(), "abc");
    TypeText("XY");
    EXPECT_EQ(Text(), "XY def\r\n");
    EXPECT_FALSE(w.Edit().SelectionExists());
}

TEST_F(EditWidget, EditingKeysOfTheTable) {
    Load("abc\r\n");
    Press(Qt::Key_End);
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    Press(Qt::Key_Tab, Qt::NoModifier, "\t");
    TypeText("q");
    EXPECT_EQ(Text(), "abc\r\n\tq\r\n");
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Text(), "abc\r\n\tq\t\r\n");
    Press(Qt::Key_Backspace, Qt::NoModifier, "\b");
    Press(Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(Text(), "abc\r\n\t\r\n");
    Press(Qt::Key_Home, Qt::ControlModifier);
    Press(Qt::Key_Delete);
    EXPECT_EQ(Text(), "bc\r\n\t\r\n");
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Text(), "\r\n\t\r\n");
    Press(Qt::Key_Z, Qt::ControlModifier, QString(QChar(0x1A)));
    EXPECT_EQ(Text(), "bc\r\n\t\r\n");
    Press(Qt::Key_Escape);
    Press(Qt::Key_Insert);
    EXPECT_FALSE(w.Edit().FInsertMode);
    Press(Qt::Key_Home);
    TypeText("Z");
    EXPECT_EQ(Text(), "Zc\r\n\t\r\n");
    Press(Qt::Key_Insert);
    EXPECT_TRUE(w.Edit().FInsertMode);
}

TEST_F(EditWidget, ClipboardKeysOfTheTable) {
    Load("abc\r\n");
    Press(Qt::Key_A, Qt::ControlModifier, QString(QChar(1)));
    EXPECT_TRUE(w.Edit().FAllSelected);
    Press(Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
    Press(Qt::Key_End, Qt::ControlModifier);
    Press(Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
    EXPECT_EQ(Text(), "abc\r\nabc\r\n");
    Press(Qt::Key_Home, Qt::ControlModifier);
    Press(Qt::Key_Right, Qt::ShiftModifier);
    Press(Qt::Key_X, Qt::ControlModifier, QString(QChar(0x18)));
    EXPECT_EQ(Text(), "bc\r\nabc\r\n");
    Press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Text(), "abc\r\nabc\r\n");
    Press(Qt::Key_Right, Qt::ShiftModifier);
    Press(Qt::Key_Insert, Qt::ControlModifier);  // copy
    EXPECT_EQ(w.Edit().GetSelText(), "b");
    Press(Qt::Key_Delete, Qt::ShiftModifier);  // cut
    EXPECT_EQ(Text(), "ac\r\nabc\r\n");
    Press(Qt::Key_End);
    Press(Qt::Key_Backspace, Qt::ControlModifier);  // a word to the left
    EXPECT_EQ(Text(), "\r\nabc\r\n");
    Press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Text(), "b\r\nabc\r\n");
}

TEST_F(EditWidget, TypedHalfWidthKatakanaIsOneByte) {
    Load("");
    TypeText(QString::fromUtf16(u"\uFF71a"));
    EXPECT_EQ(Text(),
              "\xb1"
              "a");
}

TEST_F(EditWidget, InputMethodCommitIsOneInsertionAndOneUndoRecord) {
    Load("xy\r\n");
    Press(Qt::Key_Right);
    EXPECT_TRUE(w.testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent preedit(QString::fromUtf16(u"\u304b"), {});
    QApplication::sendEvent(&w, &preedit);
    EXPECT_EQ(w.Preedit(), QString::fromUtf16(u"\u304b"));
    EXPECT_EQ(Text(), "xy\r\n") << "the preedit text is not stored";
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf16(u"\u6f22\u5b57\u304b\u306a"));
    QApplication::sendEvent(&w, &commit);
    EXPECT_EQ(Text(), "x\x8a\xbf\x8e\x9a\x82\xa9\x82\xc8y\r\n");
    EXPECT_EQ(w.Edit().UndoList().size(), 1u);
    EXPECT_TRUE(w.Preedit().isEmpty());
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "xy\r\n");
}

TEST_F(EditWidget, InputMethodQueriesFollowTheCaret) {
    Load(
        "\x82\xa0"
        "bc\r\n");
    Press(Qt::Key_Right);
    EXPECT_TRUE(static_cast<QWidget&>(w).inputMethodQuery(Qt::ImEnabled).toBool());
    EXPECT_EQ(static_cast<QWidget&>(w).inputMethodQuery(Qt::ImCursorPosition).toInt(), 1);
    EXPECT_EQ(static_cast<QWidget&>(w).inputMethodQuery(Qt::ImSurroundingText).toString(),
              QString::fromUtf16(u"\u3042bc"));
    const QRect r = static_cast<QWidget&>(w).inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(r.left(), w.Edit().FTextLeft + 2 * w.Edit().FCharWidth);
    EXPECT_EQ(r.top(), w.Edit().TopMargin());
    EXPECT_EQ(static_cast<QWidget&>(w).inputMethodQuery(Qt::ImFont).value<QFont>().family(),
              QStringLiteral("IPAGothic"));
}

TEST_F(EditWidget, ClickPlacesTheCaretBar) {
    Load("abcdef\r\nxyz\r\n");
    const int cw = w.Edit().FCharWidth, rh = w.Edit().FRowHeight;
    const QPointF at(w.Edit().FTextLeft + 2 * cw + 1, w.Edit().TopMargin() + rh + 3);
    QMouseEvent down(QEvent::MouseButtonPress, at, w.mapToGlobal(at), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, w.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(&w, &up);
    EXPECT_EQ(Caret(), std::make_pair(2, 1));
}

/// A sample file with numbers, marks and a selection, painted into the
/// window's image; saved beside the build for people to look at.
TEST_F(EditWidget, PaintsASampleFileIntoItsImage) {
    w.Edit().SetShowLineNumber(true);
    w.View().RecreateView();
    w.Edit().SetAllText(LoadTextFile(TW_DATA_DIR "/crlf-sample.txt").text);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    Press(Qt::Key_End, Qt::ShiftModifier);
    const QImage& img = w.Image();
    ASSERT_FALSE(img.isNull());
    // The selection's background shows in the first row.
    const int y = w.Edit().TopMargin() + w.Edit().FRowHeight / 2;
    bool dark = false;
    for (int x = w.Edit().FTextLeft; x < w.Edit().FTextLeft + 40; ++x)
        dark = dark || qGray(img.pixel(x, y)) < 64;
    EXPECT_TRUE(dark);
    img.save(QStringLiteral(TW_SCREENSHOT_DIR "/editor-widget.png"));
}

/// Alt combinations belong to the menus: they neither type nor edit, and
/// the event goes on to the window that holds the menus.
TEST_F(EditWidget, AltCombinationsAreLeftToTheMenus) {
    Load("abc\r\n");
    Press(Qt::Key_End);
    QKeyEvent altJ(QEvent::KeyPress, Qt::Key_J, Qt::AltModifier, QStringLiteral("j"));
    QApplication::sendEvent(&w, &altJ);
    EXPECT_FALSE(altJ.isAccepted());
    Press(Qt::Key_Backspace, Qt::AltModifier, QStringLiteral("\b"));
    Press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Text(), "abc\r\n");
    EXPECT_EQ(Caret(), std::make_pair(3, 0));
    Press(Qt::Key_J, Qt::NoModifier, QStringLiteral("j"));
    EXPECT_EQ(Text(), "abcj\r\n");
}

/// Shift released over another window never reaches this one: a later
/// scroll-bar step reads the keyboard as it is, not as the last key left it.
/// (On a desktop the platform asks the X server; without one the application
/// learns the modifiers from the next key pressed anywhere, here in another
/// window.)
TEST_F(EditWidget, ScrollBarStepsReadTheLiveShiftState) {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "row\r\n";
    Load(text);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::ShiftModifier);
    QApplication::sendEvent(&w, &down);
    ASSERT_TRUE(w.Edit().SelectionExists());
    QWidget other;
    QKeyEvent elsewhere(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&other, &elsewhere);
    ASSERT_FALSE(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier));
    QScrollBar* bar = nullptr;
    for (QScrollBar* b : w.findChildren<QScrollBar*>())
        if (b->orientation() == Qt::Vertical) bar = b;
    ASSERT_NE(bar, nullptr);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(w.Edit().FTopLine, 1);
    EXPECT_EQ(Caret(), std::make_pair(0, 2)) << "the caret moved with the view";
    EXPECT_FALSE(w.Edit().SelectionExists());
}

/// Other programs put text/plain with LF breaks on the clipboard; our own
/// copies carry their bytes as they are.
TEST_F(EditWidget, PasteFromOtherProgramsGetsCrLfBreaks) {
    Load("<>\r\n");
    Press(Qt::Key_Right);
    QGuiApplication::clipboard()->setText(QStringLiteral("one\ntwo\r\nthree\rfour"));
    Press(Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
    EXPECT_EQ(Text(), "<one\r\ntwo\r\nthree\r\nfour>\r\n");
    EXPECT_EQ(w.Edit().LogicalLineCount(), 5);

    Load("a\nb\r\n");  // an LF inside a line, as a CR-mode file keeps it
    Press(Qt::Key_A, Qt::ControlModifier, QString(QChar(1)));
    Press(Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasText());
    Press(Qt::Key_End, Qt::ControlModifier);
    Press(Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
    EXPECT_EQ(Text(), "a\nb\r\na\nb\r\n");
}

}  // namespace
