#include "platform/os/InstancePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "HandOffTestSupport.h"

namespace tw {
namespace {

using test::ScopedRuntimeDir;

class InstancePathsTest : public ::testing::Test {
  protected:
    void UseFolder(const std::string& path) {
        ::setenv("TARNWICK_EDITOR_RUNTIME_DIR", path.c_str(), 1);
    }
    void ExpectRefused(const std::string& why) {
        EXPECT_THROW(InstancePaths::FromEnvironment(), std::runtime_error) << why;
    }
    ScopedRuntimeDir dir_;
};

TEST_F(InstancePathsTest, MissingFolderIsCreatedPrivate) {
    std::string folder = dir_.File("new");
    UseFolder(folder);
    InstancePaths paths = InstancePaths::FromEnvironment();
    EXPECT_EQ(folder, paths.runtimeDir);
    struct stat st {};
    ASSERT_EQ(0, ::stat(folder.c_str(), &st));
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(0700u, st.st_mode & 0777);
    EXPECT_TRUE(paths.lockFile.starts_with(folder + "/"));
    EXPECT_TRUE(paths.SocketFor(42).starts_with(folder + "/"));
    EXPECT_NE(paths.SocketFor(42), paths.SocketFor(43));
}

TEST_F(InstancePathsTest, FolderOpenToGroupOrOthersIsRefused) {
    for (mode_t mode : {0750, 0705, 0701, 0770}) {
        ASSERT_EQ(0, ::chmod(dir_.Path().c_str(), mode));
        ExpectRefused("mode " + std::to_string(mode));
    }
}

TEST_F(InstancePathsTest, SymbolicLinkIsRefusedEvenToAGoodFolder) {
    std::string link = dir_.File("link");
    ASSERT_EQ(0, ::mkdir(dir_.File("real").c_str(), 0700));
    ASSERT_EQ(0, ::symlink(dir_.File("real").c_str(), link.c_str()));
    UseFolder(link);
    ExpectRefused("symbolic link");
}

TEST_F(InstancePathsTest, FolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a folder away";
    std::string folder = dir_.File("theirs");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0700));
    ASSERT_EQ(0, ::chown(folder.c_str(), 65534, 65534));
    UseFolder(folder);
    ExpectRefused("owned by nobody");
}

TEST_F(InstancePathsTest, WithoutOverrideTheFolderComesFromXdgRuntimeDir) {
    ::unsetenv("TARNWICK_EDITOR_RUNTIME_DIR");
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    std::string previous = saved ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", dir_.Path().c_str(), 1);
    InstancePaths paths = InstancePaths::FromEnvironment();
    saved ? ::setenv("XDG_RUNTIME_DIR", previous.c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");

    EXPECT_EQ(dir_.Path() + "/tarnwick-editor", paths.runtimeDir);
    EXPECT_EQ("/TarnwickEditor-" + std::to_string(::geteuid()), paths.sharedMemoryName);
}

TEST_F(InstancePathsTest, EachFolderHasItsOwnSharedBlockName) {
    InstancePaths a = InstancePaths::ForFolder("/tmp/a", true);
    InstancePaths b = InstancePaths::ForFolder("/tmp/b", true);
    EXPECT_NE(a.sharedMemoryName, b.sharedMemoryName);
    EXPECT_EQ(a.sharedMemoryName, InstancePaths::ForFolder("/tmp/a", true).sharedMemoryName);
    EXPECT_NE(a.sharedMemoryName, InstancePaths::ForFolder("/tmp/a", false).sharedMemoryName);
    // A valid shm_open name: one leading slash and no other.
    EXPECT_EQ(0u, a.sharedMemoryName.find('/'));
    EXPECT_EQ(std::string::npos, a.sharedMemoryName.find('/', 1));
}

}  // namespace
}  // namespace tw
