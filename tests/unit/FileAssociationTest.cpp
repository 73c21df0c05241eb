// Making the program the desktop's handler of text files, in folders of the
// test's own, and checked with the desktop's own tool where it is installed.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "settings/FileAssociation.h"
#include "support/TempDir.h"

using namespace tw;
using namespace tw::test;

namespace {

class FileAssociation : public ::testing::Test {
  protected:
    void SetUp() override {
        places_.Applications = home_.File(".local/share/applications");
        places_.MimeAppsList = home_.File(".config/mimeapps.list");
        std::filesystem::create_directories(home_.File(".config"));
    }
    std::string DesktopEntry() const {
        return ReadFile(places_.Applications + "/" + kAssociationDesktopFile);
    }

    TempDir home_;
    AssociationPlaces places_;
};

/// The program's own binary: a real file for the desktop's tool to find.
std::string ThisProgram() {
    return std::filesystem::canonical("/proc/self/exe").string();
}

}  // namespace

TEST_F(FileAssociation, TwiceInARowSaysAlreadyAndAMovedProgramIsWrittenAgain) {
    EXPECT_EQ(Associate(places_, "/opt/tw/tarnwick-editor"), kAssociatedMessage);
    EXPECT_NE(DesktopEntry().find("\nExec=/opt/tw/tarnwick-editor %F\n"), std::string::npos);
    EXPECT_EQ(ReadFile(places_.MimeAppsList),
              "[Default Applications]\ntext/plain=tarnwick-editor-open.desktop;\n");
    EXPECT_EQ(Associate(places_, "/opt/tw/tarnwick-editor"), kAlreadyAssociatedMessage);
    EXPECT_EQ(Associate(places_, "/home/me/my tools/tarnwick-editor"), kAssociatedMessage);
    EXPECT_NE(DesktopEntry().find("\nExec=\"/home/me/my tools/tarnwick-editor\" %F\n"),
              std::string::npos);
    EXPECT_TRUE(IsAssociated(places_, "/home/me/my tools/tarnwick-editor"));
    EXPECT_FALSE(IsAssociated(places_, "/opt/tw/tarnwick-editor"));
}

TEST_F(FileAssociation, UndoTwiceRestoresTheOtherHandlersAndLeavesEveryOtherLine) {
    const std::string before =
        "# mine\n[Added Associations]\ntext/plain=gedit.desktop;\n\n"
        "[Default Applications]\nimage/png=eog.desktop;\ntext/plain=gedit.desktop;kate.desktop;\n"
        "text/html=firefox.desktop;\n";
    home_.Write(".config/mimeapps.list", before);
    const std::string program = "/opt/tw/tarnwick-editor";
    // Undoing while another program is the handler does nothing and says nothing.
    EXPECT_EQ(Unassociate(places_, program), "");
    EXPECT_EQ(Associate(places_, program), kAssociatedMessage);
    std::string expected = before;
    expected.replace(expected.find("text/plain=gedit.desktop;kate"), 29,
                     "text/plain=tarnwick-editor-open.desktop;gedit.desktop;kate");
    EXPECT_EQ(ReadFile(places_.MimeAppsList), expected);
    EXPECT_EQ(Unassociate(places_, "/elsewhere/tarnwick-editor"), "");
    EXPECT_EQ(Unassociate(places_, program), kUnassociatedMessage);
    EXPECT_EQ(ReadFile(places_.MimeAppsList), before);
    EXPECT_FALSE(std::filesystem::exists(places_.Applications + "/" + kAssociationDesktopFile));
    EXPECT_EQ(Unassociate(places_, program), "");
    EXPECT_EQ(ReadFile(places_.MimeAppsList), before);
}

TEST_F(FileAssociation, FailuresAreReportedAndNothingIsClaimed) {
    EXPECT_EQ(Associate(places_, "relative/tarnwick-editor"), kAssociateFailedMessage);
    EXPECT_EQ(Associate(places_, "/opt/line\nbreak"), kAssociateFailedMessage);
    std::filesystem::create_directories(places_.MimeAppsList);  // a folder where the list goes
    EXPECT_EQ(Associate(places_, "/opt/tw/tarnwick-editor"), kAssociateFailedMessage);
    EXPECT_FALSE(IsAssociated(places_, "/opt/tw/tarnwick-editor"));
}

TEST_F(FileAssociation, TheDesktopsOwnToolNamesTheProgramAfterwards) {
    if (std::system("command -v xdg-mime >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xdg-mime is not installed (package xdg-utils)";
    const std::string program = ThisProgram();
    ASSERT_EQ(Associate(places_, program), kAssociatedMessage);
    const std::string query =
        "env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION "
        "-u GNOME_DESKTOP_SESSION_ID HOME='" +
        home_.path().string() + "' XDG_CONFIG_HOME='" + home_.File(".config") +
        "' XDG_DATA_HOME='" + home_.File(".local/share") + "' xdg-mime query default text/plain";
    const auto Ask = [&query] {
        std::string out;
        FILE* pipe = popen(query.c_str(), "r");
        char buf[256];
        while (pipe && fgets(buf, sizeof buf, pipe))
            out += buf;
        if (pipe) pclose(pipe);
        return out;
    };
    EXPECT_EQ(Ask(), std::string(kAssociationDesktopFile) + "\n");
    ASSERT_EQ(Unassociate(places_, program), kUnassociatedMessage);
    EXPECT_NE(Ask(), std::string(kAssociationDesktopFile) + "\n");
}
