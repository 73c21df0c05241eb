// The document's pop-up commands that rewrite the text or feed the clipboard,
// run through their menu actions on a real frame.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "FrameFixture.h"
#include "dialogs/ClipHistoryDialog.h"
#include "platform/codec/Cp932Codec.h"

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

    static QAction* MenuEntry(TMDIChild& child, const char* caption) {
        for (QAction* a : child.MenuActions())
            if (a->text() == QString::fromUtf8(caption)) return a;
        ADD_FAILURE() << "no menu entry " << caption;
        static QAction none;
        return &none;
    }

    QtClipboard clipboard_;
};

TEST_F(DocumentEditCommands, EachConversionRewritesTheWholeSelection) {
    auto frame = Start();
    TMDIChild& child = Open(*frame, "x\r\n");
    EXPECT_FALSE(child.ConvertMenu->isEnabled());
    child.Edit().SetTabCount(4);
    for (const auto& [text, caption, converted] : std::vector<std::array<const char*, 3>>{
             {"Ab漢ア", "小文字に変換(&U)", "ab漢ア"},
             {"Ab漢ア", "大文字に変換(&L)", "AB漢ア"},
             {"がっこう０９　漢", "半角に変換(&H)", "ｶﾞｯｺｳ09 漢"},
             {"ｶﾞｯｺｳ 9", "全角に変換(&Z)", "ガッコウ　９"},
             {"ガッコウヴ", "ひらがなに変換(&J)", "がっこうヴ"},
             {"がっこう", "カタカナに変換(&K)", "ガッコウ"},
             {"      |", "空白をTABに変換(&T)", "\t  |"},
             {"x\t|\t|", "TABを空白に変換(&S)", "x   |   |"},
         }) {
        child.Edit().SetAllText(Sj(text) + "\r\n");
        SelectRow(child, 0);
        MenuEntry(child, caption)->trigger();
        EXPECT_EQ(child.Edit().GetAllText(), Sj(converted) + "\r\n") << caption;
    }

    // 10 KB, far beyond what a conversion used to give back, and one Ctrl+Z.
    std::string text, katakana;
    while (text.size() < 10 * 1024) {
        text += Sj("あいうえお ABC　がぱ\r\n");
        katakana += Sj("アイウエオ ABC　ガパ\r\n");
    }
    child.Edit().SetAllText(text);
    child.Edit().SelectAll();
    MenuEntry(child, "カタカナに変換(&K)")->trigger();
    EXPECT_EQ(child.Edit().GetAllText(), katakana);
    child.Action("actUndo")->trigger();
    EXPECT_EQ(child.Edit().GetAllText(), text);
}

TEST_F(DocumentEditCommands, CopiesAndAppendsFeedTheHistoryWindow) {
    auto frame = Start();
    TMDIChild& child = Open(*frame, "abc\r\ndef\r\n");
    SelectRow(child, 0);
    QTest::keyClick(child.mmText, Qt::Key_C, Qt::ControlModifier);
    SelectRow(child, 1);
    child.Action("actAddCopy")->trigger();
    EXPECT_EQ(clipboard_.GetText(), "abcdef");
    child.Action("actAddCut")->trigger();
    EXPECT_EQ(clipboard_.GetText(), "abcdefdef");
    EXPECT_EQ(child.Edit().GetAllText(), "abc\r\n\r\n");
    EXPECT_EQ(frame->Clips().ClipItems, (std::vector<std::string>{"abcdefdef", "abcdef", "abc"}));

    QTest::keyClick(child.mmText, Qt::Key_F10);
    TClipHistory& window = frame->ClipHistoryDialog();
    ASSERT_TRUE(window.isVisible());
    ASSERT_EQ(window.ClipList->count(), 3);
    // The list stays as it was shown; a line shows the entry it stands for.
    SelectRow(child, 0);
    child.Action("actCopy")->trigger();
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

    // A restart brings the history back from "Clip.dat"; after "全削除" the
    // window shows one blank line, and the next restart finds nothing.
    messages_.answers.push_back(MessageAnswer::No);  // the cut text is not saved
    frame->close();
    auto again = Start();
    EXPECT_EQ(again->Clips().ClipItems.size(), 4u);
    again->ShowClipHistory();
    TClipHistory& emptied = again->ClipHistoryDialog();
    emptied.Button3->click();
    emptied.close();
    again->ShowClipHistory();
    ASSERT_EQ(emptied.ClipList->count(), 1);
    EXPECT_EQ(emptied.ClipList->item(0)->text(), QString());
    again->close();
    EXPECT_EQ(Start()->Clips().ClipCount, 0);
}

TEST_F(DocumentEditCommands, InsertFilePutsItsBytesAtTheAnchor) {
    auto frame = Start();
    TMDIChild& child = Open(*frame, "abc\r\n");
    QTest::keyClick(child.mmText, Qt::Key_Right);
    QTest::keyClick(child.mmText, Qt::Key_End, Qt::ShiftModifier);
    dialogs_.names.push_back(File("insert.txt", "x\r\ny\tz"));
    child.Action("actInsertFile")->trigger();
    EXPECT_EQ(child.Edit().GetAllText(), "ax\r\ny\tzbc\r\n");

    // A file that cannot be read is reported and changes nothing.
    dialogs_.names.push_back(File("insert.txt") + ".gone");
    child.Action("actInsertFile")->trigger();
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(child.Edit().GetAllText(), "ax\r\ny\tzbc\r\n");
}

}  // namespace
