// The timed backup of a document on a timer ticked by hand and a clock set by
// the test, into a real backup store on disk, and what the browser reads back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "dialogs/BackupHistory.h"
#include "documents/AutoBackup.h"
#include "headless/EditorHarness.h"
#include "settings/OptionData.h"
#include "support/FaultyFileCalls.h"
#include "support/TempDir.h"

using namespace tw;
using namespace tw::test;
namespace fs = std::filesystem;

namespace {

class AutoBackupTest : public ::testing::Test {
  protected:
    AutoBackupTest() {
        auto t = std::make_unique<ManualTimer>();
        timer = t.get();
        backup = std::make_unique<TAutoBackup>(h.ed, options, home.path().string(), std::move(t),
                                               messages, [this] { return now; });
        backup->Caption = [this] { return caption; };
        backup->OnWriteFailure = [this](bool failing) { failures.push_back(failing); };
        backup->Start();
    }

    /// One tick, one second after the last.
    void Tick() {
        ++now.second;
        timer->Fire();
    }

    fs::path Store() const { return home.path() / "BackUp"; }

    /// The names in a folder of the store, sorted.
    std::vector<std::string> Names(const fs::path& dir) const {
        std::vector<std::string> names;
        for (const StoreEntry& e : ListStoreFolder(dir.string()))
            names.push_back(e.name);
        return names;
    }

    void MakeDays(std::initializer_list<const char*> days) {
        for (const char* d : days)
            fs::create_directories(Store() / d);
    }

    TempDir home;
    OptionData options;
    RecordingMessageBox messages;
    EditorHarness h;
    ManualTimer* timer = nullptr;
    LocalTime now{2026, 3, 7, 14, 5, 8};
    std::string caption = "/home/u/docs/memo.txt";
    std::vector<bool> failures;
    std::unique_ptr<TAutoBackup> backup;
};

TEST_F(AutoBackupTest, AnUnchangedTextIsBackedUpOnceAndSameFileBacksUpEveryTick) {
    ASSERT_TRUE(timer->active);
    EXPECT_EQ(timer->interval, 180000);
    EXPECT_EQ(backup->LastBackupTime, "14.05.08");

    Tick();  // a text that has stayed empty is never backed up
    EXPECT_FALSE(fs::exists(Store()));

    h.Load("\x88\x9f line\r\nlast");
    for (int i = 0; i < 5; ++i)
        Tick();
    const fs::path day = Store() / "26-03-07";
    ASSERT_EQ(Names(day), std::vector<std::string>{"14.05.10memo.txt"});
    EXPECT_EQ(ReadFile((day / "14.05.10memo.txt").string()), "\x88\x9f line\r\nlast");
    EXPECT_EQ(backup->LastBackupTime, "14.05.10");

    h.ed.InsertTyped("x");
    Tick();
    EXPECT_EQ(Names(day).size(), 2u);

    options.SameFile = true;
    Tick();
    Tick();
    EXPECT_EQ(Names(day).size(), 4u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(failures.empty());
}

TEST_F(AutoBackupTest, ANewTextIsNamedWithoutExtensionAndOffStaysOff) {
    caption = "NONAME3";
    h.Load("abc\r\n");
    Tick();
    EXPECT_EQ(Names(Store() / "26-03-07"), std::vector<std::string>{"14.05.09NONAME3"});

    options.AutoSave = false;
    backup->ApplyInterval();
    backup->Start();
    EXPECT_FALSE(timer->active);
    options.AutoSave = true;
    options.AutoSaveInterval = 2000;
    backup->ApplyInterval();
    EXPECT_TRUE(timer->active);
    EXPECT_EQ(timer->interval, 2000);
}

TEST_F(AutoBackupTest, PruningDeletesTheOldestDayOnePerBackupAndLeavesOtherFoldersAlone) {
    // Eight days with today's among them, and folders that are no days.
    MakeDays({"25-12-30", "26-01-02", "25-12-31", "26-02-01", "26-02-15", "26-03-01", "26-03-05",
              "26-03-07", "notes", "2026-01-01", "99-xx-01"});
    options.BackupDays = 7;
    h.Load("one\r\n");
    Tick();
    EXPECT_EQ(Names(Store()), (std::vector<std::string>{
                                  "2026-01-01", "25-12-31", "26-01-02", "26-02-01", "26-02-15",
                                  "26-03-01", "26-03-05", "26-03-07", "99-xx-01", "notes"}));
    EXPECT_TRUE(messages.shown.empty());

    // Two days too many: one goes with each backup.
    options.BackupDays = 5;
    h.ed.InsertTyped("x");
    Tick();
    EXPECT_FALSE(fs::exists(Store() / "25-12-31"));
    EXPECT_TRUE(fs::exists(Store() / "26-01-02"));
    Tick();  // no change, no backup, no pruning
    EXPECT_TRUE(fs::exists(Store() / "26-01-02"));

    options.BackupDays = 0;  // keeps everything
    MakeDays({"20-01-01"});
    h.ed.InsertTyped("y");
    Tick();
    EXPECT_TRUE(fs::exists(Store() / "20-01-01"));
    EXPECT_EQ(Names(Store()).size(), 10u);
}

TEST_F(AutoBackupTest, AStoreThatCannotBeWrittenIsReportedOnceAndTriedAgain) {
    // A file where the store's folder should be: no backup can be written.
    std::ofstream(Store()) << "in the way";
    h.Load("text\r\n");
    Tick();
    Tick();
    h.ed.InsertTyped("more ");
    Tick();
    EXPECT_EQ(failures, std::vector<bool>{true});
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(backup->LastBackupText, "");

    fs::remove(Store());
    Tick();  // the text is unchanged since the failures, and is written now
    EXPECT_EQ(failures, (std::vector<bool>{true, false}));
    EXPECT_EQ(Names(Store() / "26-03-07"), std::vector<std::string>{"14.05.12memo.txt"});
    EXPECT_EQ(backup->LastBackupText, "more text\r\n");
}

TEST_F(AutoBackupTest, ABackupTheDiskCutsShortLeavesNoPartOfItAndIsTriedAgain) {
    h.Load("a text long enough to be cut\r\n");
    {
        FaultyFileCalls full;
        full.failAtByte = 10;
        full.error = ENOSPC;
        Tick();
        EXPECT_TRUE(full.fired);
    }
    const fs::path day = Store() / "26-03-07";
    EXPECT_TRUE(FileNames(day).empty()) << "no half backup, no temporary file";
    EXPECT_EQ(failures, std::vector<bool>{true});
    Tick();
    EXPECT_EQ(failures, (std::vector<bool>{true, false}));
    EXPECT_EQ(FileNames(day), std::set<std::string>{"14.05.10memo.txt"});
    EXPECT_EQ(ReadFile((day / "14.05.10memo.txt").string()), "a text long enough to be cut\r\n");
}

TEST(BackupHistory, EachDayListsEachDocumentOnceAndItsTimesInOrder) {
    TempDir home;
    const fs::path day = home.path() / "BackUp" / "26-03-07";
    fs::create_directories(day);
    fs::create_directories(home.path() / "BackUp" / "26-03-06");
    for (const char* name : {"14.05.09memo.txt", "09.00.00a.txt", "15.30.00memo.txt", "odd"})
        std::ofstream((day / name).string()) << name;
    std::ofstream((home.path() / "BackUp" / "stray.txt").string()) << "outside any day";

    const std::vector<BackupDay> days = EnumBackupDays((home.path() / "BackUp").string());
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[0].name, "26-03-06");
    EXPECT_TRUE(days[0].files.empty());
    EXPECT_EQ(days[1].name, "26-03-07");
    // "odd" is shorter than a time stamp: a document without a name.
    EXPECT_EQ(days[1].files, (std::vector<std::string>{"a.txt", "memo.txt", ""}));

    EXPECT_EQ(SearchBackupTimes(day.string(), "memo.txt"),
              (std::vector<std::string>{"14.05.09", "15.30.00"}));
    EXPECT_EQ(SearchBackupTimes(day.string(), ""), std::vector<std::string>{"odd"});
    EXPECT_EQ(ReadFile(BackupFilePath(home.path().string(), "26-03-07", "odd", "")), "odd");
    EXPECT_TRUE(EnumBackupDays((home.path() / "none").string()).empty());
}

TEST(BackupHistory, ABackupOpensUnderTheNextFreeUntitledName) {
    EXPECT_EQ(BackupDocumentTitle({"/a.txt", "/b.txt"}), "NONAME3");
    EXPECT_EQ(BackupDocumentTitle({"NONAME3", "/b.txt"}), "NONAME4");
    EXPECT_EQ(BackupDocumentTitle({}), "NONAME1");
    EXPECT_EQ(FileExtension("memo.txt"), ".txt");
    EXPECT_EQ(FileExtension("NONAME3"), "");
}

}  // namespace
