// A Japanese program on a Linux desktop: Qt's own buttons in Japanese, and
// toolbar pictures from the desktop's icon theme or the program's own.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QMessageBox>
#include <QToolBar>
#include <QTranslator>
#include <filesystem>

#include "FrameFixture.h"
#include "app/QtTranslations.h"

using namespace tw;

namespace {

class FrameDesktop : public test::FrameFixture {};

TEST_F(FrameDesktop, QtsStandardButtonsSpeakJapanese) {
    QTranslator* translator = InstallQtTranslations(*qApp);
    ASSERT_NE(translator, nullptr) << "qtbase_ja.qm is not installed";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel |
                           QMessageBox::YesToAll | QMessageBox::Abort);
    const std::pair<QMessageBox::StandardButton, const char*> expected[] = {
        {QMessageBox::Yes, "はい(&Y)"},      {QMessageBox::No, "いいえ(&N)"},
        {QMessageBox::Cancel, "キャンセル"}, {QMessageBox::YesToAll, "全てはい(&A)"},
        {QMessageBox::Abort, "中止"},
    };
    for (const auto& [button, text] : expected)
        EXPECT_EQ(box.button(button)->text(), QString::fromUtf8(text));
    delete translator;  // the other tests read Qt's English texts
}

/// The toolbar picture of each command as an image.
QImage Picture(TTarnwickEditor& frame, const char* command) {
    return frame.Command(command)->icon().pixmap(24).toImage();
}

TEST_F(FrameDesktop, ToolbarPicturesComeFromTheIconThemeOrTheProgram) {
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    // A theme that has only some of the names.
    const std::filesystem::path theme = files_.path() / "testtheme";
    std::filesystem::create_directories(theme / "24x24" / "actions");
    files_.Write("testtheme/index.theme",
                 "[Icon Theme]\nName=testtheme\nDirectories=24x24/actions\n\n"
                 "[24x24/actions]\nSize=24\nType=Fixed\n");
    for (const char* name : {"edit-cut", "document-print"}) {
        QImage image(24, 24, QImage::Format_ARGB32);
        image.fill(Qt::magenta);
        image.save(QString::fromStdString((theme / "24x24" / "actions" / name).string() + ".png"));
    }
    QIcon::setThemeSearchPaths({QString::fromStdString(files_.path().string())});
    QIcon::setThemeName(QStringLiteral("testtheme"));

    auto frame = Start();
    EXPECT_EQ(frame->Command("actCut")->icon().name(), QStringLiteral("edit-cut"));
    EXPECT_EQ(frame->Command("actPrint")->icon().name(), QStringLiteral("document-print"));
    // The others are the program's own, one picture per command.
    const char* commands[] = {"actNew",        "actOpen",     "actSave",  "actUndo",
                              "actRedo",       "actCopy",     "actPaste", "actCascade",
                              "actHorizontal", "actVertical", "actFind",  "actReplace"};
    for (const char* a : commands) {
        EXPECT_FALSE(Picture(*frame, a).isNull()) << a;
        for (const char* b : commands) {
            if (a == b) continue;
            EXPECT_NE(Picture(*frame, a), Picture(*frame, b)) << a << " " << b;
        }
    }
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(themeName);
}

}  // namespace
