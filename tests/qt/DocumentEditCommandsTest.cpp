// The document's pop-up commands that rewrite the text or feed the clipboard,
// run through their menu actions on a real frame.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>

#include "FrameFixture.h"
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
        return *frame.ActiveChild();
    }

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

}  // namespace
