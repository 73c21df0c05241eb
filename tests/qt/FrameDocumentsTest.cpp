// The frame's document table: opening within the limits, the read history,
// saving, switching and the closes of one, all and all but one window.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <fstream>

#include "FrameFixture.h"
#include "dialogs/FindDialog.h"
#include "dialogs/GotoLineDialog.h"
#include "dialogs/ReplaceDialog.h"
#include "support/FifoWatchdog.h"
#include "support/InFolder.h"

using namespace tw;

namespace {

class FrameDocuments : public test::FrameFixture {};

TEST_F(FrameDocuments, AFileOpensWithItsStatusAndAnOpenFileComesToTheFront) {
    auto frame = Start();
    const std::string a = File("a.txt", "one\r\ntwo\r\n");
    const std::string b = File("b.txt");
    frame->OpenFile(a, false);
    frame->OpenFile(b, false);
    ASSERT_EQ(frame->DocumentCount(), 2);
    TMDIChild* first = frame->Document(1);
    EXPECT_EQ(first->Caption(), a);
    EXPECT_EQ(first->PanelText(kPanelSize), QStringLiteral("Size : 10 Byte"));
    EXPECT_EQ(first->PanelText(kPanelModified), QStringLiteral("新規"));
    EXPECT_EQ(first->PanelText(kPanelMode), QStringLiteral("挿入"));
    EXPECT_EQ(first->PanelText(kPanelLines), QStringLiteral("Lines : 3"));
    EXPECT_EQ(frame->ChildIndex(), 2);
    // The window has its own size, and the editor most of it: a window the
    // size of its status bar would show no text at all.
    QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(first->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->size(), kChildWindowSize);
    EXPECT_GT(first->mmText->height(), kChildWindowSize.height() / 2);
    // The second cascades below and right of the first.
    const QPoint step = frame->Document(2)->parentWidget()->pos() - first->parentWidget()->pos();
    EXPECT_GT(step.x(), 0);
    EXPECT_EQ(step.x(), step.y());

    frame->OpenFile(a, false);
    EXPECT_EQ(frame->DocumentCount(), 2);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, a + "はすでに存在します。");
    EXPECT_EQ(frame->ChildIndex(), 1);
    // A symbolic link is another name: it is not resolved.
    const std::string link = files_.File("link.txt");
    ASSERT_EQ(::symlink(a.c_str(), link.c_str()), 0);
    frame->OpenFile(link, false);
    EXPECT_EQ(frame->DocumentCount(), 3);
    ExpectTagsMatchSlots(*frame);
}

TEST_F(FrameDocuments, RelativeNamesAreMadeAbsoluteOnEveryWayIn) {
    auto frame = Start();
    const std::string a = File("a.txt");
    std::filesystem::create_directory(files_.path() / "sub");
    {
        test::InFolder here(files_.path());
        frame->OpenFile("a.txt", false);
        dialogs_.names = {"sub/../a.txt"};
        frame->actOpenExecute();
        frame->OpenFile("./a.txt", false);
    }
    ASSERT_EQ(frame->DocumentCount(), 1);
    EXPECT_EQ(frame->Document(1)->Caption(), a);
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[1].text, a + "はすでに存在します。");
    EXPECT_EQ(frame->Options().ReadHistory[0], a);
}

TEST_F(FrameDocuments, OnlyRegularFilesOpenOnEveryWayIn) {
    const std::string fifo = files_.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Without it a refusal that fails would freeze the test in open().
    test::FifoWatchdog watchdog(fifo);
    auto frame = Start([&](OptionData& o) { o.ReadHistory[0] = fifo; });
    frame->OpenFile(fifo, false);
    frame->OpenFile("/dev/null", false);
    frame->OpenFile(files_.path().string(), false);
    dialogs_.names = {fifo};
    frame->actOpenExecute();
    frame->ReadHistoryMenu()->actions().at(0)->trigger();
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(fifo))});
    // A drop reaches the window that took the drag's entry.
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
    EXPECT_EQ(frame->DocumentCount(), 0);
    ASSERT_EQ(messages_.shown.size(), 6u);
    for (const auto& shown : messages_.shown)
        EXPECT_NE(shown.text.find("を開けません"), std::string::npos) << shown.text;

    frame->actNewExecute();
    dialogs_.names = {fifo};
    frame->Document(1)->Action("actInsertFile")->trigger();
    EXPECT_EQ(frame->Document(1)->Edit().GetAllText(), "");
    ASSERT_EQ(messages_.shown.size(), 7u);
    EXPECT_NE(messages_.shown.back().text.find("を開けません"), std::string::npos);
}

TEST_F(FrameDocuments, CloseCommandsDuringAnOpenWaitUntilItEnds) {
    auto frame = Start();
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "\x82\xa0 line " + std::to_string(i) + "\r\n";
    const std::string big = File("big.txt", text);
    const std::string a = File("a.txt"), b = File("b.txt");
    // The command is posted before the open, so it arrives while the open
    // lets events run; the open must still finish the window it fills.
    auto openWhile = [&](const std::function<void()>& command, const std::string& file) {
        QTimer::singleShot(0, frame.get(), command);
        frame->OpenFile(file, false);
        ASSERT_GE(frame->DocumentCount(), 1);
        TMDIChild* opened = frame->Document(frame->DocumentCount());
        EXPECT_EQ(opened->Caption(), file);
        EXPECT_EQ(opened->Edit().GetAllText().size(), test::ReadFile(file).size());
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    };
    frame->OpenFile(a, false);
    openWhile([&] { frame->actCloseAllExecute(); }, big);
    EXPECT_EQ(frame->DocumentCount(), 0);

    frame->OpenFile(a, false);
    openWhile([&] { frame->actCloseNoActiveExecute(); }, big);
    ASSERT_EQ(frame->DocumentCount(), 1);
    EXPECT_EQ(frame->Document(1)->Caption(), big);

    // A save of the window being filled would write its empty text over the file.
    openWhile([&] { frame->actSaveExecute(); }, b);
    EXPECT_EQ(test::ReadFile(b), "abc\r\n");
    frame->actCloseExecute();
    ASSERT_EQ(frame->DocumentCount(), 1);

    openWhile([&] { frame->actCloseExecute(); }, b);
    ASSERT_EQ(frame->DocumentCount(), 1);
    EXPECT_EQ(frame->Document(1)->Caption(), big);
    openWhile([&] { frame->MdiArea()->activeSubWindow()->close(); }, b);
    ASSERT_EQ(frame->DocumentCount(), 1);
    EXPECT_EQ(frame->Document(1)->Caption(), big);

    openWhile([&] { frame->close(); }, a);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(frame->DocumentCount(), 0);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FrameDocuments, AFileWithoutWriteBitsOpensReadOnlyEvenForRoot) {
    auto frame = Start();
    const std::string path = File("ro.txt", "keep\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    frame->OpenFile(path, false);
    ASSERT_EQ(frame->DocumentCount(), 1);
    TMDIChild* child = frame->Document(1);
    EXPECT_EQ(child->PanelText(kPanelMode), QStringLiteral("読み込み専用"));
    QApplication::setActiveWindow(frame.get());
    child->mmText->setFocus();
    QTest::keyClicks(child->mmText, "xy");
    QTest::keyClick(child->mmText, Qt::Key_S, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(child->Edit().GetAllText(), "keep\r\n");
    EXPECT_EQ(test::ReadFile(path), "keep\r\n");
}

TEST_F(FrameDocuments, LimitsRefuseBeforeAnythingIsCreated) {
    auto frame = Start([](OptionData& o) {
        o.LimitWindowCount = true;
        o.MaxWindowCount = 3;
        o.LimitFileSize = true;
        o.MaxFileSize = 8;
    });
    frame->OpenFile(File("exact.txt", std::string(8, 'x')), false);
    EXPECT_EQ(frame->DocumentCount(), 0);
    EXPECT_EQ(messages_.shown.back().text, "ファイルサイズが指定したサイズを超えています");
    frame->OpenFile(File("less.txt", std::string(7, 'x')), false);
    frame->OpenFile("NONAME9", true);
    frame->OpenFile(File("c.txt", "c"), false);
    EXPECT_EQ(frame->DocumentCount(), 3);
    frame->OpenFile(File("d.txt", "d"), false);
    EXPECT_EQ(frame->DocumentCount(), 3);
    EXPECT_EQ(messages_.shown.back().text, "ウィンドウ数が指定したウィンドウ数を超えました");
    // A missing file is reported and leaves nothing behind either.
    frame->actCloseAllExecute();
    frame->OpenFile(files_.path().string() + "/missing.txt", false);
    EXPECT_EQ(frame->DocumentCount(), 0);
    EXPECT_EQ(frame->Tabs().TabButtonCount(), 0);
    EXPECT_NE(messages_.shown.back().text.find("missing.txt"), std::string::npos);
}

TEST_F(FrameDocuments, NewTextsAreNumberedByEveryWindowOpened) {
    auto frame = Start([](OptionData& o) { o.CreateBlank = true; });
    ASSERT_EQ(frame->DocumentCount(), 1);
    EXPECT_EQ(frame->Document(1)->Caption(), "NONAME1");
    EXPECT_EQ(frame->Document(1)->PanelText(kPanelSize), QStringLiteral("新規ファイル"));
    frame->OpenFile(File("f.txt"), false);
    frame->actNewExecute();
    EXPECT_EQ(frame->Document(3)->Caption(), "NONAME3");
}

TEST_F(FrameDocuments, TheReadHistoryMovesAFileUpAndKeepsItsOldPlace) {
    std::vector<std::string> names;
    for (int i = 0; i < 5; ++i)
        names.push_back(File("h" + std::to_string(i) + ".txt"));
    auto frame = Start();
    for (int i = 4; i >= 0; --i)
        frame->OpenFile(names[i], false);
    // Newest first: h0 h1 h2 h3 h4. Opening h3 (slot 3) again puts it first.
    frame->actCloseAllExecute();
    frame->OpenFile(names[3], false);
    const ShortStringHistory& h = frame->Options().ReadHistory;
    EXPECT_EQ(h[0], names[3]);
    EXPECT_EQ(h[1], names[0]);
    EXPECT_EQ(h[4], names[3]);
    const QList<QAction*> items = frame->ReadHistoryMenu()->actions();
    ASSERT_EQ(items.size(), 6);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&0: ") + QString::fromStdString(names[3]));
    // Opening slot 0 again changes nothing; a history item opens its file.
    frame->actCloseAllExecute();
    items[2]->trigger();
    ASSERT_EQ(frame->DocumentCount(), 1);
    EXPECT_EQ(frame->Document(1)->Caption(), names[1]);
}

TEST_F(FrameDocuments, AFailedSaveIsReportedAndTheTextStaysChanged) {
    auto frame = Start();
    const std::string path = File("s.txt", "abc\r\n");
    frame->OpenFile(path, false);
    TMDIChild& child = *frame->Document(1);
    Type(child, "x");
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);  // a folder where the file was
    EXPECT_FALSE(frame->actSaveExecute());
    ASSERT_FALSE(messages_.shown.empty());
    EXPECT_EQ(messages_.shown.back().text, path + " の保存に失敗しました。");
    EXPECT_TRUE(child.IsChanged());
}

TEST_F(FrameDocuments, SaveAsRenamesTheWindowAndItsTab) {
    auto frame = Start();
    frame->actNewExecute();
    TMDIChild& child = *frame->Document(1);
    Type(child, "hello");
    const std::string target = files_.path().string() + "/a-rather-long-name.txt";
    dialogs_.names = {target};
    ASSERT_TRUE(frame->actSaveExecute());  // a new text asks for its name
    EXPECT_EQ(child.Caption(), target);
    EXPECT_EQ(test::ReadFile(target), "hello");
    EXPECT_EQ(frame->Tabs().Model().TabCaptions()[0], "a-rather-..");
    EXPECT_EQ(child.PanelText(kPanelLines), QStringLiteral("  Lines : 1"));
    EXPECT_FALSE(child.IsChanged());
}

TEST_F(FrameDocuments, ClosingWindowTwoOfFourRenumbersTheRest) {
    auto frame = Start();
    for (const char* n : {"1.txt", "2.txt", "3.txt", "4.txt"})
        frame->OpenFile(File(n), false);
    const std::string third = frame->Document(3)->Caption();
    frame->BringDocumentToFront(2);
    frame->actCloseExecute();
    QApplication::processEvents();
    ASSERT_EQ(frame->DocumentCount(), 3);
    EXPECT_EQ(frame->Document(2)->Caption(), third);
    ExpectTagsMatchSlots(*frame);
    EXPECT_EQ(frame->Tabs().Model().TabHints()[1], "3.txt");
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 3);
}

TEST_F(FrameDocuments, ClosingTheFrontWindowBringsBackTheOneBeforeIt) {
    auto frame = Start();
    for (const char* n : {"1.txt", "2.txt", "3.txt", "4.txt"})
        frame->OpenFile(File(n), false);
    frame->BringDocumentToFront(2);
    frame->BringDocumentToFront(4);
    frame->actCloseExecute();
    QApplication::processEvents();
    ASSERT_EQ(frame->DocumentCount(), 3);
    EXPECT_EQ(frame->ChildIndex(), 2);
    EXPECT_EQ(frame->ActiveChild()->Caption(), files_.path().string() + "/2.txt");
}

TEST_F(FrameDocuments, CloseAllAsksInOrderAndCancelKeepsEverything) {
    auto frame = Start();
    for (const char* n : {"1.txt", "2.txt", "3.txt"})
        frame->OpenFile(File(n), false);
    Type(*frame->Document(1), "a");
    Type(*frame->Document(3), "c");
    messages_.answers = {MessageAnswer::No, MessageAnswer::Cancel};
    frame->actCloseAllExecute();
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0].text, frame->Document(1)->Caption() + " の変更を保存しますか？");
    EXPECT_EQ(messages_.shown[1].text, frame->Document(3)->Caption() + " の変更を保存しますか？");
    EXPECT_EQ(frame->DocumentCount(), 3);
    EXPECT_EQ(frame->ChildIndex(), 3);
    EXPECT_FALSE(frame->Closing());

    messages_.answers = {MessageAnswer::No, MessageAnswer::No};
    frame->actCloseAllExecute();
    EXPECT_EQ(frame->DocumentCount(), 0);
    EXPECT_EQ(frame->Tabs().TabButtonCount(), 0);
    EXPECT_TRUE(frame->MdiArea()->subWindowList().isEmpty());
    for (const char* name : {"actSave", "actFind", "actPrint", "actUndo", "actNext"})
        EXPECT_FALSE(frame->Command(name)->isEnabled()) << name;
}

TEST_F(FrameDocuments, CloseOthersLeavesTheActiveWindowAsNumberOne) {
    auto frame = Start();
    for (const char* n : {"1.txt", "2.txt", "3.txt", "4.txt"})
        frame->OpenFile(File(n), false);
    TMDIChild* kept = frame->Document(3);
    frame->BringDocumentToFront(3);
    frame->actCloseNoActiveExecute();
    QApplication::processEvents();
    ASSERT_EQ(frame->DocumentCount(), 1);
    EXPECT_EQ(frame->Document(1), kept);
    EXPECT_EQ(kept->Tag, 1);
    EXPECT_EQ(frame->ChildIndex(), 1);
    EXPECT_EQ(frame->Tabs().TabButtonCount(), 1);
    EXPECT_EQ(frame->Tabs().Model().TabHints()[0], "3.txt");
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 1);
}

TEST_F(FrameDocuments, PreviousAndNextWrapAround) {
    auto frame = Start();
    for (const char* n : {"1.txt", "2.txt", "3.txt"})
        frame->OpenFile(File(n), false);
    frame->BringDocumentToFront(1);
    frame->actPrevExecute();
    EXPECT_EQ(frame->ChildIndex(), 3);
    frame->actNextExecute();
    EXPECT_EQ(frame->ChildIndex(), 1);
    frame->actNextExecute();
    EXPECT_EQ(frame->ChildIndex(), 2);
}

TEST_F(FrameDocuments, TheFramesKeysReachTheirCommandsFromTheEditor) {
    auto frame = Start();
    for (const char* n : {"1.txt", "2.txt", "3.txt"})
        frame->OpenFile(File(n), false);
    QApplication::setActiveWindow(frame.get());
    auto press = [&](int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* editor = frame->ActiveChild()->mmText;
        editor->setFocus();
        QTest::keyClick(editor, static_cast<Qt::Key>(key), mods);
        QApplication::processEvents();
    };
    // F2 and F3 switch; Ctrl+W closes, though Qt gives every MDI window a
    // close entry of its own with that key on Linux.
    press(Qt::Key_F2);
    EXPECT_EQ(frame->ChildIndex(), 2);
    press(Qt::Key_F3);
    EXPECT_EQ(frame->ChildIndex(), 3);
    press(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(frame->DocumentCount(), 2);
    press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(frame->DocumentCount(), 3);
    EXPECT_EQ(frame->ActiveChild()->Caption().rfind("NONAME", 0), 0u);
}

TEST_F(FrameDocuments, YesWithACancelledSaveDialogStopsTheClose) {
    auto frame = Start();
    frame->actNewExecute();
    Type(*frame->Document(1), "precious");
    messages_.answers = {MessageAnswer::Yes};
    dialogs_.names = {};  // the Save dialog is cancelled
    frame->actCloseAllExecute();
    EXPECT_EQ(dialogs_.saveAsked, 1);
    EXPECT_EQ(frame->DocumentCount(), 1);
    EXPECT_TRUE(frame->Document(1)->IsChanged());

    // The same through the window's own close.
    messages_.answers = {MessageAnswer::Yes};
    frame->actCloseExecute();
    QApplication::processEvents();
    EXPECT_EQ(frame->DocumentCount(), 1);
}

TEST_F(FrameDocuments, AnEmptiedTextClosesWithoutAQuestion) {
    auto frame = Start();
    frame->actNewExecute();
    TMDIChild& child = *frame->Document(1);
    Type(child, "ab");
    child.View().KeyDown(VK_BACK);
    child.View().KeyDown(VK_BACK);
    frame->actCloseExecute();
    QApplication::processEvents();
    EXPECT_EQ(frame->DocumentCount(), 0);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FrameDocuments, TabDropsReorderTheDocumentTable) {
    auto frame = Start();
    for (const char* n : {"0.txt", "1.txt", "2.txt", "3.txt", "4.txt"})
        frame->OpenFile(File(n), false);
    std::vector<TMDIChild*> before;
    for (int i = 1; i <= 5; ++i)
        before.push_back(frame->Document(i));
    frame->Tabs().TabDragDrop(1, 4, Qt::NoModifier);
    const std::vector<int> order{0, 4, 1, 2, 3};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(frame->Document(i + 1), before[order[i]]) << i;
    ExpectTagsMatchSlots(*frame);
    EXPECT_EQ(frame->Tabs().Model().TabHints()[1], "4.txt");

    frame->Tabs().TabDragDrop(1, 3, Qt::ControlModifier);  // a copy of document 4
    ASSERT_EQ(frame->DocumentCount(), 6);
    EXPECT_EQ(frame->Document(6)->Edit().GetAllText(), frame->Document(4)->Edit().GetAllText());
    EXPECT_FALSE(frame->Document(6)->IsChanged());
}

TEST_F(FrameDocuments, GoToLineActsOnWhatWasTypedUnlessCancelled) {
    auto frame = Start();
    frame->OpenFile(File("g.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n"), false);
    TVellEdit& edit = frame->Document(1)->Edit();
    TFindLines& dialog = frame->FindLinesDialog();
    auto answer = [&](const char* typed, std::function<void()> close) {
        QTimer::singleShot(0, &dialog, [&dialog, typed, close] {
            dialog.LineText->setText(QString::fromUtf8(typed));
            close();
        });
        frame->actMoveExecute();
    };
    answer("3", [&] { dialog.MoveButton->click(); });
    EXPECT_EQ(edit.CaretY(), 2);
    answer("99", [&] { QTest::keyClick(dialog.LineText, Qt::Key_Return); });
    EXPECT_EQ(edit.CaretY(), 5);  // the last row, after the last line's break
    answer("1", [&] { dialog.Cancel->click(); });
    EXPECT_EQ(edit.CaretY(), 5);
    answer("2", [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(edit.CaretY(), 1);
    answer("abc", [&] { dialog.MoveButton->click(); });
    EXPECT_EQ(edit.CaretY(), 1);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FrameDocuments, FindingInAllFilesStopsAtTheThirdDocument) {
    auto frame = Start();
    frame->OpenFile(File("f1.txt", "alpha\r\nbeta\r\n"), false);
    frame->OpenFile(File("f2.txt", "gamma\r\n"), false);
    frame->OpenFile(File("f3.txt", "delta\r\n\x8c\x9f\x8d\xf5 zeta\r\n"), false);
    frame->Document(3)->parentWidget()->resize(640, 400);  // room to paint the hit
    QApplication::processEvents();
    frame->BringDocumentToFront(1);
    TFindDialog& find = frame->FindDialog();
    frame->ShowFindDialog(FindShow::Plain, {});
    find.AllFilesBox->setChecked(true);
    find.SearchText->setEditText(QStringLiteral("検索 zeta"));
    find.FindClick();
    EXPECT_EQ(frame->ChildIndex(), 3);
    TVellEdit& third = frame->Document(3)->Edit();
    EXPECT_EQ(third.FindWalk().HitY(), 1);
    EXPECT_EQ(third.FindWalk().HitX(), 0);
    EXPECT_TRUE(frame->Document(1)->Matcher.NoHit);
    EXPECT_TRUE(frame->Document(2)->Matcher.NoHit);
    EXPECT_FALSE(frame->Document(3)->Matcher.NoHit);
    EXPECT_EQ(frame->Options().FindHistory[0], "\x8c\x9f\x8d\xf5 zeta");
    // The hit stays painted in the find colour through a repaint.
    auto findColoured = [&] {
        TMDIChild& child = *frame->Document(3);
        const TVellEdit& e = child.Edit();
        const QImage& image = child.mmText->Canvas();
        const int left = e.Viewport().TextLeft - e.Viewport().ScrollX +
                         e.FindWalk().HitX() * e.Viewport().CharWidth;
        const int top =
            e.TopMargin() + (e.FindWalk().HitY() - e.TopLine()) * e.Viewport().RowHeight;
        int blue = 0, all = 0;
        for (int y = top; y < top + e.Viewport().RowHeight; ++y)
            for (int x = left; x < left + e.FindWalk().HitLen() * e.Viewport().CharWidth;
                 ++x, ++all)
                blue += image.pixelColor(x, y) == QColor(0, 0, 255);
        return all > 0 && blue * 3 > all;
    };
    EXPECT_TRUE(findColoured());
    frame->Document(3)->View().DrawAll();  // as after a scroll: the caret stays
    EXPECT_TRUE(findColoured());

    // A new direction makes the active document's next search start afresh.
    ASSERT_EQ(frame->ChildIndex(), 3);
    frame->Document(3)->Matcher.LastHitLine = 1;
    find.DownwardButton->click();
    EXPECT_EQ(frame->Document(3)->Matcher.LastHitLine, 0);
    find.FromTopButton->click();

    // A text found nowhere visits every document once and stops.
    find.SearchText->setEditText(QStringLiteral("nowhere"));
    find.FindClick();
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(frame->Document(i)->Matcher.NoHit) << i;
    EXPECT_EQ(frame->Options().FindHistory[1], "\x8c\x9f\x8d\xf5 zeta");

    // Showing the replace dialog closes the find dialog, and the other way round.
    frame->ShowReplaceDialog(FindShow::Plain, {});
    EXPECT_FALSE(find.isVisible());
    frame->ShowFindDialog(FindShow::Up, {});
    EXPECT_FALSE(frame->ReplaceDialog().isVisible());
    EXPECT_TRUE(find.UpwardButton->isChecked());
    find.close();
    EXPECT_FALSE(frame->SearchOptions().FindActive);
}

TEST_F(FrameDocuments, ReplaceAllWithoutQuestionsChangesOnlyTheActiveDocument) {
    auto frame = Start();
    const std::string other = File("r1.txt", "cat cat\r\n");
    frame->OpenFile(other, false);
    const std::string path = File("r2.txt", "cat dog cat\r\ncatcat\r\n");
    frame->OpenFile(path, false);
    TRePlaceDialog& replace = frame->ReplaceDialog();
    frame->ShowReplaceDialog(FindShow::Plain, {});
    replace.SearchText->setText(QStringLiteral("cat"));
    replace.ReplacementText->setText(QStringLiteral("kitten cat"));
    replace.NoConfirmBox->setChecked(true);
    replace.ReplaceAllButton->click();
    EXPECT_EQ(frame->Document(2)->Edit().GetAllText(),
              "kitten cat dog kitten cat\r\nkitten catkitten cat\r\n");
    EXPECT_EQ(frame->Document(1)->Edit().GetAllText(), "cat cat\r\n");
    EXPECT_TRUE(frame->Document(2)->IsChanged());
    EXPECT_TRUE(messages_.shown.empty());

    // With the question: All replaces the rest without asking again.
    replace.close();
    frame->BringDocumentToFront(1);
    frame->ShowReplaceDialog(FindShow::Plain, {});
    replace.ReplacementText->setText(QStringLiteral("dog"));
    replace.NoConfirmBox->setChecked(false);
    messages_.answers = {MessageAnswer::All};
    replace.ReplaceAllButton->click();
    EXPECT_EQ(frame->Document(1)->Edit().GetAllText(), "dog dog\r\n");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "置換しますか？");
}

}  // namespace
