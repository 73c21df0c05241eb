// Where the program finds its help texts and keeps its settings, in a build
// tree, a portable copy and an installed layout (bin/ beside share/).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/os/ProgramFolder.h"
#include "support/TempDir.h"

using namespace tw;
using tw::test::TempDir;

namespace {

/// Sets or clears an environment variable for one test and puts it back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

/// prefix/bin and prefix/share/tarnwick-editor/ReadMe.txt, as `cmake --install` lays them out.
struct InstalledLayout {
    InstalledLayout() {
        std::filesystem::create_directories(prefix.path() / "bin");
        std::filesystem::create_directories(prefix.path() / "share" / "tarnwick-editor");
        prefix.Write("share/tarnwick-editor/ReadMe.txt", "read me\r\n");
    }
    std::string Bin() const { return prefix.File("bin"); }
    TempDir prefix;
};

}  // namespace

TEST(ProgramFolder, HelpTextsBesideTheProgramElseInTheInstalledShareFolder) {
    EXPECT_EQ(HelpTextPath(TW_HELP_DIR, "ReadMe.txt"), TW_HELP_DIR "/ReadMe.txt");

    InstalledLayout installed;
    EXPECT_EQ(HelpTextPath(installed.Bin(), "ReadMe.txt"),
              installed.prefix.File("share/tarnwick-editor/ReadMe.txt"));
    // A text that is nowhere is looked for where the installed ones are.
    EXPECT_EQ(HelpTextPath(installed.Bin(), "Manual.txt"),
              installed.prefix.File("share/tarnwick-editor/Manual.txt"));
    // A copy beside the program wins: a portable copy with its own texts.
    installed.prefix.Write("bin/ReadMe.txt", "portable\r\n");
    EXPECT_EQ(HelpTextPath(installed.Bin(), "ReadMe.txt"), installed.prefix.File("bin/ReadMe.txt"));
}

TEST(ProgramFolder, AWritableInstalledProgramFolderStillKeepsNoSettings) {
    TempDir config;
    ScopedEnv noHome(kProgramFolderVariable, nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", config.path().c_str());
    InstalledLayout installed;  // writable, as /usr/bin is for root
    EXPECT_EQ(ProgramFolder(installed.Bin()), config.File("tarnwick-editor"));
    EXPECT_TRUE(std::filesystem::is_directory(config.File("tarnwick-editor")));

    // The same folder with the help texts beside the program is a portable copy.
    installed.prefix.Write("bin/ReadMe.txt", "portable\r\n");
    EXPECT_EQ(ProgramFolder(installed.Bin()), installed.Bin());
    // The variable names the folder outright.
    ScopedEnv home(kProgramFolderVariable, config.path().c_str());
    EXPECT_EQ(ProgramFolder(installed.Bin()), config.path().string());
}
