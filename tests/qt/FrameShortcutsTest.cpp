// The keyboard assignment on the real frame: every key pressed through Qt's
// shortcut handling runs its own command, and every menu shows its own key.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <map>

#include "FrameFixture.h"
#include "dialogs/FindDialog.h"
#include "dialogs/ReplaceDialog.h"

using namespace tw;

namespace {

QKeySequence Key(Qt::KeyboardModifiers mods, Qt::Key key) {
    return QKeySequence(QKeyCombination(mods, key));
}

constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kShiftCtrl = Qt::ShiftModifier | Qt::ControlModifier;

/// One file key: its default, and the frame command and document command it
/// is applied to.
struct Assignment {
    int fileKey;
    QKeySequence key;
    const char* frameCommand;
    const char* childAction;
};

const std::vector<Assignment>& Defaults() {
    static const std::vector<Assignment> table = {
        {1, Key(kCtrl, Qt::Key_N), "actNew", nullptr},
        {2, Key(kCtrl, Qt::Key_O), "actOpen", nullptr},
        {3, Key(kCtrl, Qt::Key_S), "actSave", nullptr},
        {4, {}, "actSaveAs", nullptr},
        {5, Key(kCtrl, Qt::Key_P), "actPrint", nullptr},
        {6, {}, "mExit", nullptr},
        {7, Key(kCtrl, Qt::Key_F), "actFind", "actFind"},
        {8, Key({}, Qt::Key_F7), "actUpFind", "actUpFind"},
        {9, Key({}, Qt::Key_F8), "actDownFind", "actDownFind"},
        {10, Key(kCtrl, Qt::Key_H), "actReplace", "actReplace"},
        {11, Key({}, Qt::Key_F5), "actUpReplace", "actUpReplace"},
        {12, Key({}, Qt::Key_F6), "actDownReplace", "actDownReplace"},
        {13, Key(kCtrl, Qt::Key_G), "actMove", nullptr},
        {14, {}, nullptr, "actAddCopy"},
        {15, {}, nullptr, "actAddCut"},
        {16, {}, nullptr, "actInsertFile"},
        {17, Key({}, Qt::Key_F10), nullptr, "actClipbrd"},
        {18, Key({}, Qt::Key_F11), nullptr, "actLineNum"},
        {19, {}, nullptr, "actMark"},
        {20, {}, nullptr, "actClearMark"},
        {21, Key(kShiftCtrl, Qt::Key_F), nullptr, "actSelFind"},
        {22, Key(kShiftCtrl, Qt::Key_H), nullptr, "actSelReplace"},
        {23, {}, "actCascade", nullptr},
        {24, {}, "actHorizontal", nullptr},
        {25, {}, "actVertical", nullptr},
        {26, Key({}, Qt::Key_F2), "actPrev", nullptr},
        {27, Key({}, Qt::Key_F3), "actNext", nullptr},
        {28, Key(kCtrl, Qt::Key_W), "actClose", nullptr},
        {29, Key(kCtrl | Qt::AltModifier, Qt::Key_W), "actCloseAll", nullptr},
        {30, Key(kShiftCtrl, Qt::Key_W), "actCloseNoActive", nullptr},
        {31, Key({}, Qt::Key_F9), "actBackUp", nullptr},
        {32, Key({}, Qt::Key_F10), "actClipbrd", nullptr},
        {33, {}, "mReadMe", nullptr},
        {34, {}, "mHistory", nullptr},
        {35, {}, "mHelp", nullptr},
        {36, {}, "actAbout", nullptr},
        {37, Key({}, Qt::Key_F4), "actOption", nullptr},
    };
    return table;
}

/// Every action of a menu and of its submenus.
void CollectMenu(QMenu* menu, QList<QAction*>& into) {
    for (QAction* a : menu->actions()) {
        into.push_back(a);
        if (a->menu()) CollectMenu(a->menu(), into);
    }
}

class FrameShortcuts : public test::FrameFixture {
  protected:
    void WriteKeyFile(const std::string& text) { home_.Write("KeyBrd.ini", text); }

    int opened_ = 0;

    /// Two documents, the frame active, the editor of the last one focused.
    void Ready(TTarnwickEditor& frame) {
        frame.FindDialog().close();
        frame.ReplaceDialog().close();
        while (frame.DocumentCount() < 2)
            frame.OpenFile(File("doc" + std::to_string(++opened_) + ".txt"), false);
        QApplication::setActiveWindow(&frame);
        frame.ActiveChild()->mmText->setFocus();
        QApplication::processEvents();
    }

    /// Presses `key` in the active editor and returns the actions of the
    /// frame's menus and of that document's menu that ran, in order. A modal
    /// dialog that the key opens is closed again.
    std::vector<QAction*> Press(TTarnwickEditor& frame, const QKeySequence& key) {
        TMDIChild* child = frame.ActiveChild();
        QList<QAction*> all;
        for (QAction* top : frame.menuBar()->actions())
            if (top->menu()) CollectMenu(top->menu(), all);
        all += child->MenuActions();
        std::vector<QAction*> ran;
        QObject scope;
        for (QAction* a : all)
            QObject::connect(a, &QAction::triggered, &scope, [&ran, a] { ran.push_back(a); });
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        QTest::keyClick(child->mmText, key[0].key(), key[0].keyboardModifiers());
        QApplication::processEvents();
        return ran;
    }

    /// The key every menu entry must show: the table's for the assigned
    /// commands, the fixed keys, and none for every other entry.
    static void ExpectMenusShow(TTarnwickEditor& frame, const std::vector<Assignment>& table) {
        TMDIChild* child = frame.ActiveChild();
        std::map<QAction*, QKeySequence> expected = {
            {frame.Command("actUndo"), Key(kCtrl, Qt::Key_Z)},
            {frame.Command("actRedo"), Key(kShiftCtrl, Qt::Key_Z)},
            {frame.Command("actCut"), Key(kCtrl, Qt::Key_X)},
            {frame.Command("actCopy"), Key(kCtrl, Qt::Key_C)},
            {frame.Command("actPaste"), Key(kCtrl, Qt::Key_V)},
            {frame.Command("actHome"), Key(kCtrl, Qt::Key_Home)},
            {frame.Command("actEnd"), Key(kCtrl, Qt::Key_End)},
            {child->Action("actUndo"), Key(kCtrl, Qt::Key_Z)},
            {child->Action("actRedo"), Key(kShiftCtrl, Qt::Key_Z)},
            {child->Action("actCopy"), Key(kCtrl, Qt::Key_C)},
            {child->Action("actCut"), Key(kCtrl, Qt::Key_X)},
            {child->Action("actPaste"), Key(kCtrl, Qt::Key_V)},
            {child->Action("actSelected"), Key(kCtrl, Qt::Key_A)},
        };
        for (const Assignment& a : table) {
            if (a.frameCommand) expected[frame.Command(a.frameCommand)] = a.key;
            if (a.childAction) expected[child->Action(a.childAction)] = a.key;
        }
        QList<QAction*> shown;
        for (QAction* top : frame.menuBar()->actions())
            if (top->menu()) CollectMenu(top->menu(), shown);
        shown += child->MenuActions();
        for (QAction* a : shown) {
            if (a->isSeparator() || a->menu()) continue;
            const auto it = expected.find(a);
            EXPECT_EQ(a->shortcut(), it == expected.end() ? QKeySequence() : it->second)
                << a->text().toStdString();
        }
    }
};

TEST_F(FrameShortcuts, EveryDefaultKeyRunsItsOwnCommandAndEveryMenuShowsIt) {
    auto frame = Start();
    Ready(*frame);
    ExpectMenusShow(*frame, Defaults());
    for (const Assignment& a : Defaults()) {
        if (a.key.isEmpty()) continue;
        Ready(*frame);
        TMDIChild* child = frame->ActiveChild();
        // F10 belongs to the frame's clipboard history as well; the frame's
        // command answers it, and both show the same window.
        const char* frameCommand = a.fileKey == 17 ? "actClipbrd" : a.frameCommand;
        QAction* first = frameCommand ? frame->Command(frameCommand) : child->Action(a.childAction);
        QAction* forwarded = a.childAction ? child->Action(a.childAction) : nullptr;
        const std::vector<QAction*> ran = Press(*frame, a.key);
        // A frame command that forwards to the document's runs both.
        EXPECT_NE(std::find(ran.begin(), ran.end(), first), ran.end())
            << "key" << a.fileKey << " did not run " << first->text().toStdString();
        for (QAction* r : ran)
            EXPECT_TRUE(r == first || r == forwarded)
                << "key" << a.fileKey << " also ran " << r->text().toStdString();
    }
}

TEST_F(FrameShortcuts, TheDocumentKeysOfTheKeyFileAreHonoured) {
    std::string ini = "[KeyBrd]\r\n";
    std::vector<Assignment> table = Defaults();
    for (Assignment& a : table) {
        if (a.fileKey < 14 || a.fileKey > 22) continue;
        const int digit = a.fileKey - 13;  // key14 on Ctrl+1 ... key22 on Ctrl+9
        ini += "key" + std::to_string(a.fileKey) + "=Ctrl+" + std::to_string(digit) + "\r\n";
        a.key = Key(kCtrl, static_cast<Qt::Key>(Qt::Key_0 + digit));
    }
    WriteKeyFile(ini);
    auto frame = Start();
    Ready(*frame);
    ExpectMenusShow(*frame, table);
    for (const Assignment& a : table) {
        if (a.fileKey < 14 || a.fileKey > 22) continue;
        Ready(*frame);
        const std::vector<QAction*> ran = Press(*frame, a.key);
        ASSERT_EQ(ran.size(), 1u) << "key" << a.fileKey;
        EXPECT_EQ(ran.front(), frame->ActiveChild()->Action(a.childAction)) << "key" << a.fileKey;
    }
}

TEST_F(FrameShortcuts, TheCloseKeyIsKey28Only) {
    for (const char* close : {"", "F12"}) {
        WriteKeyFile(std::string("[KeyBrd]\r\nkey28=") + close + "\r\n");
        auto frame = Start();
        Ready(*frame);
        for (const QKeySequence& qtsOwn : {Key(kCtrl, Qt::Key_W), Key(kCtrl, Qt::Key_F4)}) {
            Press(*frame, qtsOwn);
            ASSERT_EQ(frame->DocumentCount(), 2) << close << " " << qtsOwn.toString().toStdString();
        }
        Press(*frame, Key({}, Qt::Key_F12));
        EXPECT_EQ(frame->DocumentCount(), *close ? 1 : 2) << close;
    }
}

TEST_F(FrameShortcuts, TheMenuKeysOpenThePopUpMenusAtTheCaret) {
    auto frame = Start();
    frame->OpenFile(File("p.txt", "\x82\xa0\x82\xa2\x82\xa4\r\nnext\r\n"), false);
    TMDIChild& child = *frame->Document(1);
    QApplication::setActiveWindow(frame.get());
    child.mmText->setFocus();
    QTest::keyClick(child.mmText, Qt::Key_End, Qt::ShiftModifier);
    const std::string selected = child.Edit().GetSelText();
    ASSERT_EQ(selected, "\x82\xa0\x82\xa2\x82\xa4");
    const QPoint caret = child.mmText->mapToGlobal(child.mmText->CaretPos());
    for (const QKeySequence& key : {Key({}, Qt::Key_Menu), Key(Qt::ShiftModifier, Qt::Key_F10)}) {
        QTest::keyClick(child.mmText, key[0].key(), key[0].keyboardModifiers());
        QApplication::processEvents();
        ASSERT_TRUE(child.EditPop->isVisible()) << key.toString().toStdString();
        const QPoint at = child.EditPop->geometry().topLeft();
        EXPECT_EQ(at.x(), caret.x());
        EXPECT_GT(at.y(), caret.y());
        EXPECT_LE(at.y(), caret.y() + child.Edit().Viewport().RowHeight + 1);
        EXPECT_EQ(child.EditPop->activeAction(), nullptr);
        QTest::keyClick(child.EditPop, Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_FALSE(child.EditPop->isVisible());
        EXPECT_EQ(child.Edit().GetSelText(), selected);
        EXPECT_EQ(child.Edit().GetAllText(), "\x82\xa0\x82\xa2\x82\xa4\r\nnext\r\n");
    }

    // The keys step on disabled entries as well, so that Down ten times and
    // Right always reach "変換", and Down five times more "カタカナに変換".
    QTest::keyClick(child.mmText, Qt::Key_Menu);
    QApplication::processEvents();
    ASSERT_FALSE(child.Action("actUndo")->isEnabled());
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(child.EditPop, Qt::Key_Down);
    QTest::keyClick(child.EditPop, Qt::Key_Right);
    ASSERT_TRUE(child.ConvertMenu->isVisible());
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(child.ConvertMenu, Qt::Key_Down);
    ASSERT_NE(child.ConvertMenu->activeAction(), nullptr);
    EXPECT_EQ(child.ConvertMenu->activeAction()->text(), QStringLiteral("カタカナに変換(&K)"));
    QTest::keyClick(child.ConvertMenu, Qt::Key_Escape);
    QTest::keyClick(child.EditPop, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(child.EditPop->isVisible());

    // A click on the free part of the tab strip gives it the keyboard; it
    // then opens its menu below the active tab, the tab the menu acts on.
    frame->BringDocumentToFront(1);
    TTabStrip& tabs = frame->Tabs();
    QTest::mouseClick(tabs.TrackTab()->findChild<QToolButton*>(), Qt::LeftButton);
    EXPECT_TRUE(child.mmText->hasFocus()) << "the arrows took the keyboard";
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(tabs.width() / 2, 5));
    ASSERT_TRUE(tabs.hasFocus());
    for (const QKeySequence& key : {Key({}, Qt::Key_Menu), Key(Qt::ShiftModifier, Qt::Key_F10)}) {
        QPoint shownAt(-1, -1);
        QTimer::singleShot(0, tabs.TabMenus(), [&] {
            shownAt = tabs.TabMenus()->isVisible() ? tabs.TabMenus()->pos() : QPoint(-2, -2);
            tabs.TabMenus()->close();
        });
        QTest::keyClick(&tabs, key[0].key(), key[0].keyboardModifiers());
        QApplication::processEvents();  // a menu that did not open is checked here
        QWidget* first = tabs.TabButton(0);
        EXPECT_EQ(shownAt, first->mapToGlobal(QPoint(0, first->height())))
            << key.toString().toStdString();
        EXPECT_EQ(tabs.MenuTab(), 0);
    }
}

}  // namespace
