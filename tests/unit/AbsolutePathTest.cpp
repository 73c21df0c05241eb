// File names made absolute by their text, as a start in a shell means them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/os/AbsolutePath.h"
#include "support/InFolder.h"
#include "support/TempDir.h"

using namespace tw;
using tw::test::TempDir;

TEST(AbsoluteFileName, NamesAreWorkedOutFromTheirTextWithoutFollowingLinks) {
    TempDir dir;
    const std::filesystem::path real = std::filesystem::canonical(dir.path());
    std::filesystem::create_directory(real / "sub");
    std::filesystem::create_directory_symlink(real / "sub", real / "link");
    test::InFolder here(real);
    const std::string a = (real / "a.txt").string();
    for (const char* name : {"a.txt", "./a.txt", "sub/../a.txt", ".//a.txt"})
        EXPECT_EQ(AbsoluteFileName(name), a) << name;
    EXPECT_EQ(AbsoluteFileName("link/b.txt"), (real / "link/b.txt").string());
    EXPECT_EQ(AbsoluteFileName("/x/./y//z/../w.txt"), "/x/y/w.txt");
    // Shift-JIS names keep their bytes; 0x5C in 表 is no separator here.
    EXPECT_EQ(AbsoluteFileName("\x95\x5c/./\x83\x65.txt"),
              (real / "\x95\x5c/\x83\x65.txt").string());
    EXPECT_EQ(AbsoluteFileNames({"", "a.txt"}), (std::vector<std::string>{"", a}));

    // A folder reached through a link keeps the spelling the shell shows.
    std::filesystem::current_path(real / "link");
    const char* pwd = std::getenv("PWD");
    const std::string before = pwd ? pwd : "";
    ::setenv("PWD", (real / "link").c_str(), 1);
    EXPECT_EQ(AbsoluteFileName("c.txt"), (real / "link/c.txt").string());
    ::setenv("PWD", before.c_str(), 1);
}
