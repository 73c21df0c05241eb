// Saving while the disk fails: every call a save makes, every byte offset of
// its writes, in every kind of place a file can be saved to. The file on disk
// must always be the old content or the new one whole, with nothing left
// beside it, and a save that did not happen must say so.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "settings/KeyTexts.h"
#include "settings/OptionData.h"
#include "settings/SettingsStore.h"
#include "support/FaultyFileCalls.h"
#include "support/TempDir.h"
#include "textstore/LineStore.h"
#include "textstore/SafeFileWriter.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

const std::string kOld = "the old content, longer than the new one\r\n\x93\xfa\x96\x7b\x8c\xea\r\n";
const std::string kNew = "new \x93\xfa\x96\x7b\x8c\xea text\r\nline 2\r\n";

std::string TempFile(const fs::path& dir, const char* name, const std::string& bytes) {
    const std::string path = (dir / name).string();
    Rewrite(path, bytes);
    return path;
}

struct stat Stat(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

/// A place to save to: `make` lays it out in an empty folder and returns the
/// name the save is given; `check` looks at what must survive any save.
struct Place {
    const char* name;
    std::function<std::string(const fs::path& dir)> make;
    std::function<void(const fs::path& dir)> check;
};

std::optional<passwd> Nobody() {
    const passwd* pw = ::getpwnam("nobody");
    return pw ? std::optional<passwd>(*pw) : std::nullopt;
}

/// The document save of kNew over `path`; true when it reported a failure.
bool SaveFails(const std::string& path) {
    TVellStrings text;
    text.SetText(kNew + "\0\0"s);
    try {
        text.SaveToFile(path);
        return false;
    } catch (const FileIoError&) {
        return true;
    }
}

/// Whether the save a fault hit must fail: only an attribute or owner the
/// temporary copy could not take is none (the writer writes in place
/// instead), and after the rename the new content is in place.
bool MustFail(const FaultyFileCalls& faults) {
    const bool fallsBack = faults.firedAt == FileCall::ChangeOwner ||
                           faults.firedAt == FileCall::SetAttribute ||
                           faults.firedAt == FileCall::RemoveAttribute;
    return faults.fired && !faults.renamedBeforeFault && !fallsBack;
}

/// Does one save per fault: each call failing in turn with `error`, then the
/// disk filling at each byte offset. Writes go in pieces of five bytes, so
/// the writer's handling of short writes runs too.
void SaveUnderEveryFault(const fs::path& top, const Place& place, int error) {
    const fs::path root =
        top / (std::string(place.name) + ", " + (error == EIO ? "EIO" : "ENOSPC"));
    fs::create_directory(root);
    size_t callCount = 0;
    long byteCount = 0;
    {
        const fs::path dir = root / "count";
        fs::create_directory(dir);
        FaultyFileCalls counter;
        counter.writeLimit = 5;
        ASSERT_FALSE(SaveFails(place.make(dir)));
        callCount = counter.calls.size();
        byteCount = counter.written;
    }
    ASSERT_EQ(byteCount, static_cast<long>(kNew.size())) << place.name;
    for (size_t trial = 0; trial < callCount + byteCount; ++trial) {
        const fs::path dir = root / std::to_string(trial);
        fs::create_directory(dir);
        const std::string path = place.make(dir);
        const std::set<std::string> before = FileNames(dir);
        FaultyFileCalls faults;
        faults.writeLimit = 5;
        faults.error = error;
        if (trial < callCount)
            faults.failCall = static_cast<int>(trial);
        else
            faults.failAtByte = static_cast<long>(trial - callCount);
        const bool failed = SaveFails(path);
        const std::string what = std::string(place.name) + ", " + std::strerror(error) + " at " +
                                 FileCallName(faults.firedAt) + " (trial " + std::to_string(trial) +
                                 ")";
        ASSERT_TRUE(faults.fired) << what;
        const bool mustFail = MustFail(faults);
        EXPECT_EQ(failed, mustFail) << what;
        EXPECT_EQ(ReadFile(path), mustFail ? kOld : kNew) << what;
        EXPECT_EQ(FileNames(dir), before) << what << ": a temporary file was left";
        place.check(dir);
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    }
}

/// Runs `body` as an ordinary user: root writes through a folder's permissions.
void AsUnprivileged(const fs::path& dir, const std::function<void()>& body) {
    if (::geteuid() != 0) return body();
    const std::optional<passwd> nobody = Nobody();
    if (!nobody) GTEST_SKIP() << "no user \"nobody\" to drop root for";
    ASSERT_EQ(::chown(dir.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    ::chmod(dir.c_str(), 0755);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
            ::setuid(nobody->pw_uid) != 0)
            _exit(5);
        body();
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the unprivileged saves failed (see above)";
}

const Place kPlain{"a plain file",
                   [](const fs::path& dir) { return TempFile(dir, "doc.txt", kOld); },
                   [](const fs::path&) {}};

// Each settings file the program writes, failed at every call in turn.
void ExpectFaultsKeepTheOldFile(const std::string& path, const std::function<void()>& save) {
    const std::string old = ReadFile(path);
    size_t calls = 0;
    {
        FaultyFileCalls counter;
        save();
        calls = counter.calls.size();
    }
    const std::string fresh = ReadFile(path);
    ASSERT_NE(fresh, old);
    for (size_t n = 0; n < calls; ++n) {
        Rewrite(path, old);
        FaultyFileCalls faults;
        faults.failCall = static_cast<int>(n);
        faults.error = ENOSPC;
        bool failed = false;
        try {
            save();
        } catch (const FileIoError&) {
            failed = true;
        }
        const char* at = FileCallName(faults.firedAt);
        EXPECT_EQ(failed, MustFail(faults)) << at;
        EXPECT_EQ(ReadFile(path), failed ? old : fresh) << at;
        EXPECT_EQ(FileNames(fs::path(path).parent_path()).size(), 1u) << at;
    }
}

}  // namespace

TEST(SaveFault, EveryFaultLeavesTheOldOrTheNewFileWholeAndIsReported) {
    const Place places[] = {
        kPlain,
        {"a hard-linked file",
         [](const fs::path& dir) {
             const std::string a = TempFile(dir, "a.txt", kOld);
             ::link(a.c_str(), (dir / "b.txt").c_str());
             return a;
         },
         [](const fs::path& dir) {
             EXPECT_EQ(ReadFile(dir / "b.txt"), ReadFile(dir / "a.txt"));
             EXPECT_EQ(Stat(dir / "b.txt").st_ino, Stat(dir / "a.txt").st_ino);
         }},
        {"a symbolic link",
         [](const fs::path& dir) {
             TempFile(dir, "real.txt", kOld);
             fs::create_symlink("real.txt", dir / "link.txt");
             return (dir / "link.txt").string();
         },
         [](const fs::path& dir) {
             EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
             EXPECT_EQ(fs::read_symlink(dir / "link.txt"), "real.txt");
         }},
    };
    TempDir root;
    for (const Place& place : places)
        for (int error : {ENOSPC, EIO})
            SaveUnderEveryFault(root.path(), place, error);
}

TEST(SaveFault, AnotherUsersFileKeepsItsOwnerUnderEveryFault) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    const std::optional<passwd> nobody = Nobody();
    if (!nobody) GTEST_SKIP() << "no user \"nobody\"";
    const Place owned{"another user's file",
                      [&](const fs::path& dir) {
                          const std::string path = TempFile(dir, "theirs.txt", kOld);
                          ::chown(path.c_str(), nobody->pw_uid, nobody->pw_gid);
                          ::chmod(path.c_str(), 0640);
                          return path;
                      },
                      [&](const fs::path& dir) {
                          const struct stat st = Stat(dir / "theirs.txt");
                          EXPECT_EQ(st.st_uid, nobody->pw_uid);
                          EXPECT_EQ(st.st_gid, nobody->pw_gid);
                          EXPECT_EQ(st.st_mode & 07777, 0640u);
                      }};
    TempDir root;
    for (int error : {ENOSPC, EIO})
        SaveUnderEveryFault(root.path(), owned, error);
}

TEST(SaveFault, AFileInAReadOnlyFolderIsWrittenInPlaceAndRestoredUnderEveryFault) {
    TempDir root;
    AsUnprivileged(root.path(), [&] {
        const Place readOnly{"a read-only folder",
                             [](const fs::path& dir) {
                                 const std::string path = TempFile(dir, "doc.txt", kOld);
                                 ::chmod(dir.c_str(), 0555);
                                 return path;
                             },
                             [](const fs::path&) {}};
        for (int error : {ENOSPC, EIO})
            SaveUnderEveryFault(root.path(), readOnly, error);
    });
}

TEST(SaveFault, ADiskThatTakesNothingFailsTheSaveInsteadOfHanging) {
    TempDir root;
    const std::string path = kPlain.make(root.path());
    FaultyFileCalls faults;
    faults.writeLimit = 0;
    ::alarm(30);  // a writer that asks again for ever ends the test here
    EXPECT_TRUE(SaveFails(path));
    ::alarm(0);
    EXPECT_EQ(ReadFile(path), kOld);
    EXPECT_EQ(FileNames(root.path()), std::set<std::string>{"doc.txt"});
}

TEST(SaveFault, OptionDatKeepsItsOldContentUnderEveryFault) {
    TempDir folder;
    OptionData old;
    SaveOptionData(folder.path().string(), old);
    OptionData changed;
    changed.BackupDays = 3;
    ExpectFaultsKeepTheOldFile(folder.File(kOptionFileName),
                               [&] { SaveOptionData(folder.path().string(), changed); });
}

TEST(SaveFault, ClipDatKeepsItsOldContentUnderEveryFault) {
    TempDir folder;
    SaveClipHistory(folder.path().string(), {"old clip"}, 1);
    ExpectFaultsKeepTheOldFile(folder.File(kClipFileName), [&] {
        SaveClipHistory(folder.path().string(), {"new clip", "\x93\xfa\x96\x7b\x8c\xea"}, 2);
    });
}

TEST(SaveFault, KeyBrdIniKeepsItsOldContentUnderEveryFault) {
    TempDir folder;
    const std::string path = folder.Write(kKeyFileName, "; the user's note\r\n");
    KeyTexts texts = DefaultKeyTexts();
    ExpectFaultsKeepTheOldFile(path, [&] { SaveKeyTexts(folder.path().string(), texts); });
}

TEST(SaveFault, ALongFileNameStillSavesThroughATemporaryFile) {
    TempDir root;
    const std::string name = std::string(NAME_MAX - 4, 'n') + ".txt";
    const std::string path = root.Write(name, kOld);
    const ino_t before = Stat(path).st_ino;
    EXPECT_FALSE(SaveFails(path));
    EXPECT_EQ(ReadFile(path), kNew);
    EXPECT_NE(Stat(path).st_ino, before) << "written in place, not renamed over";
    EXPECT_EQ(FileNames(root.path()), std::set<std::string>{name});
}
