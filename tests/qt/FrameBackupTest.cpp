// The automatic backup of the real document windows and the backup history
// browser that F9 opens on the real frame.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "FrameFixture.h"
#include "dialogs/SaveHistoryDialog.h"

using namespace tw;
using namespace tw::test;
namespace fs = std::filesystem;

namespace {

class FrameBackup : public FrameFixture {
  protected:
    fs::path Store() const { return home_.path() / "BackUp"; }

    void PutBackup(const char* day, const char* name, const std::string& bytes) {
        fs::create_directories(Store() / day);
        std::ofstream((Store() / day / name).string(), std::ios::binary) << bytes;
    }

    /// Runs `act` on the browser while F9 holds it open; closes it if `act` did not.
    void WithBrowser(TTarnwickEditor& frame, std::function<void(TSaveHistory&)> act) {
        TSaveHistory& dialog = frame.SaveHistoryDialog();
        QTimer::singleShot(0, &dialog, [&dialog, act] {
            act(dialog);
            if (dialog.isVisible()) dialog.reject();
        });
        QTest::keyClick(frame.ActiveChild()->mmText, Qt::Key_F9);
    }

    /// The texts of the tree: "day" and "day/file" in order.
    static std::vector<std::string> Tree(const TSaveHistory& dialog) {
        std::vector<std::string> out;
        for (int i = 0; i < dialog.TreeDate->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* day = dialog.TreeDate->topLevelItem(i);
            out.push_back(day->text(0).toStdString());
            for (int j = 0; j < day->childCount(); ++j)
                out.push_back(out.back().substr(0, 8) + "/" + day->child(j)->text(0).toStdString());
        }
        return out;
    }
};

TEST_F(FrameBackup, F9OpensABackupAsTheNextUntitledTextWithExactlyItsBytes) {
    auto frame = Start();
    frame->OpenFile(File("a.txt"), false);
    frame->OpenFile(File("b.txt"), false);
    const std::string bytes = "\x88\x9f first\r\n\r\nsecond line\r\nlast";
    PutBackup("26-03-07", "14.05.09memo.txt", bytes);
    PutBackup("26-03-07", "15.00.00memo.txt", "later\r\n");
    PutBackup("26-03-07", "10.00.00a.txt", "a\r\n");

    std::vector<std::string> tree;
    int listed = 0;
    WithBrowser(*frame, [&](TSaveHistory& dialog) {
        tree = Tree(dialog);
        dialog.btOpenFile->click();  // nothing selected yet
        QTreeWidgetItem* memo = dialog.TreeDate->topLevelItem(0)->child(1);
        dialog.TreeDate->setCurrentItem(memo);
        listed = dialog.ListFiles->count();
        if (listed > 0) dialog.ListFiles->item(0)->setSelected(true);
        dialog.btOpenFile->click();
    });

    EXPECT_EQ(tree, (std::vector<std::string>{"26-03-07", "26-03-07/a.txt", "26-03-07/memo.txt"}));
    EXPECT_EQ(listed, 2);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "ファイルを選択してください。");
    EXPECT_FALSE(frame->SaveHistoryDialog().isVisible());
    ASSERT_EQ(frame->DocumentCount(), 3);
    TMDIChild* opened = frame->Document(3);
    EXPECT_EQ(frame->ActiveChild(), opened);
    EXPECT_EQ(opened->Caption(), "NONAME3");
    EXPECT_EQ(opened->Edit().GetAllText(), bytes);
    EXPECT_EQ(opened->Edit().CaretX(), 0);
    EXPECT_EQ(opened->Edit().CaretY(), 0);
    EXPECT_TRUE(opened->IsChanged());  // an untitled text: closing asks for a name
}

TEST_F(FrameBackup, TheBrowserCopiesDeletesOneAndDeletesAllOnlyWhenAsked) {
    auto frame = Start();
    frame->OpenFile(File("a.txt"), false);
    PutBackup("26-03-06", "09.00.00memo.csv", "1,2\r\n");
    PutBackup("26-03-06", "09.10.00memo.csv", "3,4\r\n");
    const std::string copy = files_.File("copy");
    QString suffix;
    std::vector<std::string> afterDelete, afterNo, afterYes;
    messages_.answers = {MessageAnswer::No, MessageAnswer::Yes};
    WithBrowser(*frame, [&](TSaveHistory& dialog) {
        dialog.TreeDate->setCurrentItem(dialog.TreeDate->topLevelItem(0)->child(0));
        dialog.ListFiles->item(1)->setSelected(true);
        QTimer::singleShot(0, [&] {
            auto* save = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!save) return;
            suffix = save->defaultSuffix();
            save->selectFile(QString::fromStdString(copy));
            static_cast<QDialog*>(save)->accept();  // as the dialog's own button does
        });
        dialog.btSaveFile->click();
        dialog.btDeleteFile->click();
        afterDelete = Tree(dialog);
        dialog.btDeleteAll->click();
        afterNo = Tree(dialog);
        dialog.btDeleteAll->click();
        afterYes = Tree(dialog);
    });
    EXPECT_EQ(suffix, "csv");
    EXPECT_EQ(ReadFile(copy + ".csv"), "3,4\r\n");
    EXPECT_FALSE(fs::exists(Store() / "26-03-06" / "09.10.00memo.csv"));
    EXPECT_EQ(afterDelete, (std::vector<std::string>{"26-03-06", "26-03-06/memo.csv"}));
    EXPECT_EQ(afterNo, afterDelete);
    EXPECT_TRUE(afterYes.empty());
    EXPECT_FALSE(fs::exists(Store()));
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0].caption, "バックアップの削除");
    EXPECT_EQ(messages_.shown[0].text, "全てのバックアップを削除しますか？");
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::YesNo);
}

TEST_F(FrameBackup, AWindowBacksUpWhatWasTypedAndReportsAStoreItCannotWriteOnce) {
    auto frame = Start([](OptionData& o) { o.AutoSaveInterval = 20; });
    const std::string doc = File("memo.txt", "abc\r\n");
    std::ofstream(Store().string()) << "a file where the store's folder goes";
    frame->OpenFile(doc, false);
    TMDIChild* child = frame->Document(1);
    Type(*child, "xy");

    const QString failed = QStringLiteral("バックアップを保存できません");
    EXPECT_TRUE(QTest::qWaitFor([&] { return child->PanelText(kPanelHint) == failed; }, 5000));
    fs::remove(Store());
    auto backups = [&] {
        std::vector<fs::path> found;
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(Store(), ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_regular_file()) found.push_back(it->path());
        return found;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !backups().empty(); }, 5000));
    QTest::qWait(100);  // more ticks: the text has not changed since
    const std::vector<fs::path> written = backups();
    ASSERT_EQ(written.size(), 1u);
    const std::string name = written[0].filename().string();
    EXPECT_EQ(name.substr(8), "memo.txt");
    EXPECT_EQ(name[2], '.');
    EXPECT_EQ(ReadFile(written[0].string()), "xyabc\r\n");
    EXPECT_TRUE(child->PanelText(kPanelHint).isEmpty());
    EXPECT_EQ(ReadFile(doc), "abc\r\n");
    EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace
