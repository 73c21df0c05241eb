// The document's changed mark ("変更あり") and its line and size panels,
// driven by Qt key and input-method events on the real document window.
#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QTest>

#include "FrameFixture.h"

using namespace tw;

namespace {

class FrameModification : public test::FrameFixture {
  protected:
    TMDIChild& OpenFocused(TTarnwickEditor& frame, const std::string& bytes) {
        frame.OpenFile(File("m.txt", bytes), false);
        TMDIChild& child = *frame.ActiveChild();
        QApplication::setActiveWindow(&frame);
        child.mmText->setFocus();
        return child;
    }

    static void Press(TMDIChild& child, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(child.mmText, key, mods);
        QApplication::processEvents();
    }

    static void Commit(TMDIChild& child, const QString& text) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(child.mmText, &commit);
    }
};

TEST_F(FrameModification, KeysThatChangeNothingLeaveTheTextUnchanged) {
    auto frame = Start();
    TMDIChild& child = OpenFocused(*frame, "abc\r\n");
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up,
                        Qt::Key_End, Qt::Key_Home, Qt::Key_Escape})
        Press(child, key);
    for (Qt::Key letter : {Qt::Key_B, Qt::Key_E, Qt::Key_Q, Qt::Key_Y})
        Press(child, letter, Qt::ControlModifier);
    EXPECT_EQ(child.Edit().GetAllText(), "abc\r\n");
    EXPECT_FALSE(child.IsChanged());

    // A read-only text takes no key at all.
    child.Edit().ReadOnly = true;
    for (Qt::Key key : {Qt::Key_X, Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backspace, Qt::Key_Delete})
        Press(child, key);
    Commit(child, QStringLiteral("漢字"));
    EXPECT_EQ(child.Edit().GetAllText(), "abc\r\n");
    EXPECT_FALSE(child.IsChanged());

    // Closing it asks nothing.
    frame->actCloseExecute();
    QApplication::processEvents();
    EXPECT_EQ(frame->DocumentCount(), 0);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FrameModification, EveryChangeMarksTheTextAndRefreshesLinesAndSize) {
    auto frame = Start();
    TMDIChild& child = OpenFocused(*frame, "abc\r\n");
    EXPECT_EQ(child.PanelText(kPanelSize), QStringLiteral("Size : 5 Byte"));

    // An input-method commit comes without a key of its own.
    Commit(child, QStringLiteral("漢字"));
    EXPECT_TRUE(child.IsChanged());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return child.PanelText(kPanelSize) == QStringLiteral("Size : 9 Byte"); }));
    Press(child, Qt::Key_Return);
    EXPECT_EQ(child.PanelText(kPanelLines), QStringLiteral("Lines : 3"));

    // Saving clears the mark and shows the saved size at once.
    ASSERT_TRUE(frame->actSaveExecute());
    EXPECT_FALSE(child.IsChanged());
    Commit(child, QStringLiteral("x"));
    EXPECT_TRUE(child.IsChanged());
    ASSERT_TRUE(frame->actSaveExecute());
    EXPECT_EQ(child.PanelText(kPanelSize), QStringLiteral("Size : 12 Byte"));

    // Changes without any key: Delete, a paste through the editor.
    child.View().KeyDown(VK_DELETE);
    EXPECT_TRUE(child.IsChanged());
    ASSERT_TRUE(frame->actSaveExecute());
    child.Edit().ReplaceRange("pasted\r\n", -1, -1, -1, -1);
    EXPECT_TRUE(child.IsChanged());
    QApplication::processEvents();
    EXPECT_EQ(child.PanelText(kPanelLines), QStringLiteral("Lines : 4"));
}

}  // namespace
