// The menus, the tool bar and the pop-up menu as the user sees them, and the
// commands that follow the active document's selection and undo list.
#include <gtest/gtest.h>

#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include "FrameFixture.h"

using namespace tw;

namespace {

/// A menu as one line: entries by caption, "-" for a separator, a submenu
/// by its title followed by its entries in brackets.
std::string Picture(const QList<QAction*>& entries) {
    std::string line;
    for (QAction* a : entries) {
        if (!line.empty()) line += " ";
        if (a->isSeparator())
            line += "-";
        else if (a->menu())
            line += a->text().toStdString() + "[" + Picture(a->menu()->actions()) + "]";
        else
            line += a->text().toStdString();
    }
    return line;
}

using FrameMenus = test::FrameFixture;

TEST_F(FrameMenus, MenusToolBarAndPopUpStandInTheirOrder) {
    auto frame = Start();
    frame->OpenFile(File("a.txt"), false);
    EXPECT_EQ(
        Picture(frame->menuBar()->actions()),
        "ファイル(&F)[新規作成(&N) 開く(&O)... 開き直す(&R)[&0: " + File("a.txt") +
            "] 上書き保存(&S) 名前を付けて保存(&A) 印刷(&P) - 終了(&X)] "
            "検索(&S)[検索(&F) 上候補検索(&U) 下候補検索(&D) 置換(&R) 上候補置換(&W) "
            "下候補置換(&Q) - 指定行に移動(&M) 先頭へカーソル移動(&H) 終端へカーソル移動(&E)] "
            "編集(&E)[元に戻す(&U) やり直し(&R) - 切り取り(&T) コピー(&C) 貼り付け(&P)] "
            "ウィンドウ(&W)[並べて表示(&C) 水平に並べて表示(&H) 垂直に並べて表示(&V) "
            "すべてを最小化(&M) - 前へ移動(&P) 次へ移動(&N) 閉じる(&C) 全て閉じる(&A) "
            "アクティブウィンドウ以外を全て閉じる(&Q)] "
            "履歴(&H)[オートバックアップ履歴(&A) クリップボード履歴(&B)] "
            "その他(&O)[ReadMe(&R) History(&H) Manual(&M) バージョン情報(&A)... - "
            "詳細設定(&O)]");

    // The window list follows the window menu's commands, built anew each time it opens.
    QMenu* windows = frame->menuBar()->actions()[3]->menu();
    for (int shown = 0; shown < 2; ++shown) {
        emit windows->aboutToShow();
        EXPECT_EQ(Picture(windows->actions().mid(9)),
                  "アクティブウィンドウ以外を全て閉じる(&Q) - &1 " + File("a.txt"));
    }

    QList<QAction*> buttons = frame->findChild<QToolBar*>("ToolBar2")->actions();
    std::string names;
    for (QAction* b : buttons)
        names += (b->isSeparator() ? std::string("-") : b->objectName().toStdString()) + " ";
    EXPECT_EQ(names,
              "actNew actOpen actSave - actUndo actRedo actCut actCopy actPaste - actCascade "
              "actHorizontal actVertical - actFind actReplace actPrint ");

    EXPECT_EQ(Picture(frame->Document(1)->EditPop->actions()),
              "元に戻す(&U) やり直し(&R) - コピー(&C) 追加コピー(&T) 切り取り(&X) 追加切り取り(&V) "
              "貼り付け(&P) ファイルの挿入(&F) クリップボード履歴(&B) 変換(&C)[小文字に変換(&U) "
              "大文字に変換(&L) - 半角に変換(&H) 全角に変換(&Z) ひらがなに変換(&J) "
              "カタカナに変換(&K) - 空白をTABに変換(&T) TABを空白に変換(&S)] - 行番号を表示(&N) "
              "マーク(&M)[カーソル位置の行をマークする(&M) 行のマークを解除する(&C) -] "
              "検索(&F)[検索(&F) 上候補検索(&U) 下候補検索(&D) 選択文字列を検索(&S)] "
              "置換(&R)[置換(&R) 上候補置換(&W) 下候補置換(&Q) 選択文字列を置換(&S)] "
              "全て選択(&A)");
}

TEST_F(FrameMenus, CommandsFollowTheActiveDocument) {
    auto frame = Start();
    auto enabled = [&](std::initializer_list<QAction*> actions) {
        std::string states;
        for (QAction* a : actions)
            states += a->isEnabled() ? '1' : '0';
        return states;
    };
    auto frameStates = [&] {
        return enabled({frame->Command("actSave"), frame->Command("actCopy"),
                        frame->Command("actCut"), frame->Command("actUndo"),
                        frame->Command("actRedo"), frame->Command("actOpen")});
    };
    EXPECT_EQ(frameStates(), "000001");

    frame->OpenFile(File("a.txt", "abc\r\n"), false);
    TMDIChild& child = *frame->Document(1);
    auto childStates = [&] {
        return enabled({child.Action("actCopy"), child.Action("actCut"), child.Action("actAddCopy"),
                        child.Action("actAddCut"), child.Action("actUndo"),
                        child.Action("actRedo")});
    };
    EXPECT_EQ(frameStates().substr(3), "001");
    EXPECT_EQ(childStates().substr(4), "00");

    child.Action("actSelected")->trigger();
    EXPECT_EQ(frameStates(), "111001");
    EXPECT_EQ(childStates(), "111100");
    EXPECT_TRUE(child.ConvertMenu->isEnabled());

    QTest::keyClick(child.mmText, Qt::Key_Right);  // the caret moves off the selection
    EXPECT_EQ(frameStates(), "100001");
    EXPECT_EQ(childStates(), "000000");
    EXPECT_FALSE(child.ConvertMenu->isEnabled());

    Type(child, "x");
    EXPECT_EQ(frameStates(), "100101");
    EXPECT_EQ(childStates(), "000010");

    frame->Command("actUndo")->trigger();  // runs the document's undo
    EXPECT_EQ(child.Edit().GetAllText(), "abc\r\n");
    EXPECT_EQ(frameStates(), "100011");
    EXPECT_EQ(childStates(), "000001");

    messages_.answers = {MessageAnswer::No};
    frame->actCloseAllExecute();
    ASSERT_EQ(frame->DocumentCount(), 0);
    EXPECT_EQ(frameStates(), "000001");
}

}  // namespace
