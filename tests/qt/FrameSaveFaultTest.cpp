// A save that the disk fails, through the real frame: Ctrl+S and "save as"
// on a changed document. The user is told, the text stays marked as changed
// and the file on disk keeps its old content.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include "FrameFixture.h"
#include "support/FaultyFileCalls.h"

using namespace tw;
using namespace tw::test;

namespace {

class FrameSaveFault : public FrameFixture {};

const QString kChangedMark = QStringLiteral("変更あり");

}  // namespace

TEST_F(FrameSaveFault, AFailedSaveIsReportedAndTheTextStaysChanged) {
    auto frame = Start();
    const std::string path = File("doc.txt", "old\r\n");
    const std::string other = files_.File("copy.txt");
    frame->OpenFile(path, false);
    TMDIChild& child = *frame->ActiveChild();
    QApplication::setActiveWindow(frame.get());
    child.mmText->setFocus();
    Type(child, "new ");
    ASSERT_EQ(child.PanelText(kPanelModified), kChangedMark);

    struct Case {
        FileCall call;
        int error;
        bool saveAs;
    };
    for (const Case& c : {Case{FileCall::Write, ENOSPC, false}, Case{FileCall::Sync, EIO, false},
                          Case{FileCall::Rename, EIO, false}, Case{FileCall::Write, ENOSPC, true},
                          Case{FileCall::OpenTemporary, EIO, true}}) {
        const std::string what = std::string(FileCallName(c.call)) + (c.saveAs ? " (save as)" : "");
        messages_.shown.clear();
        {
            FaultyFileCalls faults;
            faults.failOn = c.call;
            faults.error = c.error;
            if (c.saveAs) {
                dialogs_.names.push_back(other);
                frame->Command("actSaveAs")->trigger();
            } else {
                QTest::keyClick(child.mmText, Qt::Key_S, Qt::ControlModifier);
            }
            QApplication::processEvents();
            EXPECT_TRUE(faults.fired) << what;
        }
        ASSERT_EQ(messages_.shown.size(), 1u) << what;
        EXPECT_EQ(messages_.shown[0].text, (c.saveAs ? other : path) + " の保存に失敗しました。");
        EXPECT_EQ(child.PanelText(kPanelModified), kChangedMark) << what;
        EXPECT_EQ(child.Caption(), path) << what;
        EXPECT_EQ(ReadFile(path), "old\r\n") << what;
        EXPECT_EQ(FileNames(files_.path()), std::set<std::string>{"doc.txt"}) << what;
    }

    QTest::keyClick(child.mmText, Qt::Key_S, Qt::ControlModifier);
    EXPECT_NE(child.PanelText(kPanelModified), kChangedMark);
    EXPECT_EQ(ReadFile(path), "new old\r\n");
    EXPECT_EQ(messages_.shown.size(), 1u);
}
