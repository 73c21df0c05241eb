// The document's pop-up commands that rewrite the text or feed the clipboard,
// run through their menu actions on a real frame.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "FrameFixture.h"
#include "dialogs/ClipHistoryDialog.h"
#include "platform/codec/Cp932Codec.h"
#include "platform/qt/QtPlatform.h"

using namespace tw;

namespace {

std::string Sj(const char* utf8) {
    return cp932::EncodeUtf8(utf8);
}

class DocumentEditCommands : public test::FrameFixture {
  protected:
    TMDIChild& Open(TTarnwickEditor& frame, const std::string& bytes) {
        frame.OpenFile(File("doc.txt", bytes), false);
        QApplication::setActiveWindow(&frame);
        frame.ActiveChild()->mmText->setFocus();
        return *frame.ActiveChild();
    }

    /// Selects a whole row by keys, as a user would.
    static void SelectRow(TMDIChild& child, int row) {
        QTest::keyClick(child.mmText, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < row; ++i)
            QTest::keyClick(child.mmText, Qt::Key_Down);
        QTest::keyClick(child.mmText, Qt::Key_End, Qt::ShiftModifier);
    }

    /// Copies row 0 with Ctrl+C and closes the frame, which writes "Clip.dat".
    static void CopyFirstRowAndQuit(std::unique_ptr<TTarnwickEditor> frame, TMDIChild& child) {
        SelectRow(child, 0);
        QTest::keyClick(child.mmText, Qt::Key_C, Qt::ControlModifier);
        frame->close();
    }

    QtClipboard clipboard_;

    static QAction* MenuEntry(TMDIChild& child, const char* caption) {
        for (QAction* a : child.MenuActions())
            if (a->text() == QString::fromUtf8(caption)) return a;
        ADD_FAILURE() << "no menu entry " << caption;
        static QAction none;
        return &none;
    }
};

TEST_F(DocumentEditCommands, ConversionsRewriteTheWholeSelectionAsOneUndoableChange) {
    auto frame = Start();
    std::string text;
    while (text.size() < 10 * 1024)
        text += Sj("あいうえお ABC　がぱ\r\n");
    TMDIChild& child = Open(*frame, text);
    EXPECT_FALSE(child.ConvertMenu->isEnabled());

    child.Edit().SelectAll();
    ASSERT_TRUE(child.ConvertMenu->isEnabled());
    MenuEntry(child, "カタカナに変換(&K)")->trigger();
    std::string katakana;
    while (katakana.size() < text.size())
        katakana += Sj("アイウエオ ABC　ガパ\r\n");
    EXPECT_EQ(child.Edit().GetAllText(), katakana);
    EXPECT_TRUE(child.IsChanged());
    EXPECT_FALSE(child.ConvertMenu->isEnabled());

    // One Ctrl+Z brings the text back.
    child.actUndo->trigger();
    EXPECT_EQ(child.Edit().GetAllText(), text);
}

TEST_F(DocumentEditCommands, EachConversionOnALineSelectedByKeys) {
    auto frame = Start();
    TMDIChild& child = Open(*frame, "x\r\n");
    child.Edit().SetTabCount(4);
    struct Case {
        const char* text;
        const char* caption;
        const char* converted;
    };
    for (const Case& c : {
             Case{"Ab漢ア", "小文字に変換(&U)", "ab漢ア"},
             Case{"Ab漢ア", "大文字に変換(&L)", "AB漢ア"},
             Case{"がっこう０９　漢", "半角に変換(&H)", "ｶﾞｯｺｳ09 漢"},
             Case{"ｶﾞｯｺｳ 9", "全角に変換(&Z)", "ガッコウ　９"},
             Case{"ガッコウヴ", "ひらがなに変換(&J)", "がっこうヴ"},
             Case{"がっこう", "カタカナに変換(&K)", "ガッコウ"},
             Case{"      |", "空白をTABに変換(&T)", "\t  |"},
             Case{"x\t|\t|", "TABを空白に変換(&S)", "x   |   |"},
         }) {
        child.Edit().SetAllText(Sj(c.text) + "\r\n");
        QTest::keyClick(child.mmText, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(child.mmText, Qt::Key_End, Qt::ShiftModifier);
        MenuEntry(child, c.caption)->trigger();
        EXPECT_EQ(child.Edit().GetAllText(), Sj(c.converted) + "\r\n") << c.caption;
    }
}

TEST_F(DocumentEditCommands, CopiesAndAppendsFeedTheHistoryWindow) {
    auto frame = Start();
    TMDIChild& child = Open(*frame, "abc\r\ndef\r\n");
    SelectRow(child, 0);
    QTest::keyClick(child.mmText, Qt::Key_C, Qt::ControlModifier);
    SelectRow(child, 1);
    child.actAddCopy->trigger();
    EXPECT_EQ(clipboard_.GetText(), "abcdef");
    child.actAddCut->trigger();
    EXPECT_EQ(clipboard_.GetText(), "abcdefdef");
    EXPECT_EQ(child.Edit().GetAllText(), "abc\r\n\r\n");
    EXPECT_EQ(frame->Clips().ClipItems, (std::vector<std::string>{"abcdefdef", "abcdef", "abc"}));

    QTest::keyClick(child.mmText, Qt::Key_F10);
    TClipHistory& window = frame->ClipHistoryDialog();
    ASSERT_TRUE(window.isVisible());
    ASSERT_EQ(window.ClipList->count(), 3);
    EXPECT_EQ(window.ClipList->item(2)->text(), QStringLiteral("abc"));

    // The list stays as it was shown; a line shows the entry it stands for.
    SelectRow(child, 0);
    child.actCopy->trigger();
    EXPECT_EQ(frame->Clips().ClipItems.size(), 4u);
    EXPECT_EQ(window.ClipList->count(), 3);
    window.ClipList->setCurrentRow(1);
    EXPECT_EQ(window.ClipText->toPlainText(), QStringLiteral("abcdef"));

    // "コピー" puts the memo's text back, edits included, and keeps the entry.
    window.ClipText->setPlainText(QStringLiteral("edited\n行"));
    window.Button5->click();
    EXPECT_EQ(clipboard_.GetText(), "edited\r\n" + Sj("行"));
    EXPECT_EQ(frame->Clips().ClipItems[2], "abcdef");
    window.Button1->click();
    EXPECT_EQ(clipboard_.GetText(), std::nullopt);
    window.Button4->click();
    EXPECT_TRUE(window.Wrapping());
    EXPECT_EQ(window.ClipText->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // "全削除" empties it all; shown again, the list holds one blank line.
    window.Button3->click();
    EXPECT_EQ(window.ClipList->count(), 0);
    window.close();
    frame->Command(QStringLiteral("actClipbrd"))->trigger();
    ASSERT_EQ(window.ClipList->count(), 1);
    EXPECT_EQ(window.ClipList->item(0)->text(), QString());
}

TEST_F(DocumentEditCommands, TheHistoryOutlivesARestartUnlessItWasEmptied) {
    auto first = Start();
    TMDIChild& child = Open(*first, Sj("一行目\r\n"));
    CopyFirstRowAndQuit(std::move(first), child);

    auto second = Start();
    EXPECT_EQ(second->Clips().ClipItems, std::vector<std::string>{Sj("一行目")});
    second->ShowClipHistory();
    TClipHistory& window = second->ClipHistoryDialog();
    window.ClipList->setCurrentRow(0);
    window.Button5->click();
    EXPECT_EQ(clipboard_.GetText(), Sj("一行目"));
    window.Button3->click();
    second->close();

    auto third = Start();
    EXPECT_EQ(third->Clips().ClipCount, 0);
    EXPECT_TRUE(third->Clips().ClipItems.empty());
}

TEST_F(DocumentEditCommands, InsertFilePutsItsBytesAtTheAnchor) {
    auto frame = Start();
    TMDIChild& child = Open(*frame, "abc\r\n");
    QTest::keyClick(child.mmText, Qt::Key_Right);
    QTest::keyClick(child.mmText, Qt::Key_End, Qt::ShiftModifier);
    dialogs_.names.push_back(File("insert.txt", "x\r\ny\tz"));
    child.actInsertFile->trigger();
    EXPECT_EQ(child.Edit().GetAllText(), "ax\r\ny\tzbc\r\n");

    // A file that cannot be read is reported and changes nothing.
    dialogs_.names.push_back(File("insert.txt") + ".gone");
    child.actInsertFile->trigger();
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(child.Edit().GetAllText(), "ax\r\ny\tzbc\r\n");
}

}  // namespace
