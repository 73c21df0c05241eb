// The checks before a file gets a document window, in their order.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/OpenFileCheck.h"
#include "support/FifoWatchdog.h"
#include "support/TempDir.h"
#include "textstore/LineStore.h"
#include "textstore/LoadTextFile.h"
#include "textstore/SafeFileWriter.h"

using namespace tw;
using tw::test::TempDir;

TEST(OpenFileCheck, RefusalsComeInOrderWithTheirMessages) {
    TempDir dir;
    std::string a = dir.Write("a.txt", std::string(1000, 'x'));
    OptionData o;
    o.LimitWindowCount = true;
    o.MaxWindowCount = 2;
    o.LimitFileSize = true;
    o.MaxFileSize = 1000;

    // Open already: found before any limit, newest window first.
    OpenCheck c = CheckOpen({a, "/other", a}, a, false, o);
    EXPECT_EQ(c.refusal, OpenRefusal::AlreadyOpen);
    EXPECT_EQ(c.openWindow, 2);
    EXPECT_EQ(c.message, a + "はすでに存在します。");
    // Names are compared byte for byte; the frame makes them absolute first.
    EXPECT_EQ(CheckOpen({a}, dir.path().string() + "/./a.txt", false, o).refusal,
              OpenRefusal::TooLarge);

    c = CheckOpen({"/x", "/y"}, a, false, o);
    EXPECT_EQ(c.refusal, OpenRefusal::TooManyWindows);
    EXPECT_EQ(c.message, "ウィンドウ数が指定したウィンドウ数を超えました");
    EXPECT_EQ(CheckOpen({"/x"}, a, false, o).refusal, OpenRefusal::TooLarge);  // the second window

    c = CheckOpen({}, a, false, o);  // exactly MaxFileSize bytes
    EXPECT_EQ(c.refusal, OpenRefusal::TooLarge);
    EXPECT_EQ(c.message, "ファイルサイズが指定したサイズを超えています");
    o.MaxFileSize = 1001;
    c = CheckOpen({}, a, false, o);
    EXPECT_EQ(c.refusal, OpenRefusal::None);
    EXPECT_EQ(c.size, 1000);

    o.MaxFileSize = 0;  // refuses new texts too
    EXPECT_EQ(CheckOpen({}, "NONAME1", true, o).refusal, OpenRefusal::TooLarge);
    o.LimitFileSize = false;
    EXPECT_EQ(CheckOpen({}, "NONAME1", true, o).refusal, OpenRefusal::None);
}

TEST(OpenFileCheck, FilesThatCannotBeReadAreRefusedWithoutAWindow) {
    TempDir dir;
    OptionData o;
    EXPECT_EQ(CheckOpen({}, dir.File("missing.txt"), false, o).refusal, OpenRefusal::CannotOpen);
    std::string a = dir.Write("a.txt", "x");
    EXPECT_FALSE(IsReadOnlyFile(a));
    EXPECT_TRUE(IsReadOnlyFile(dir.File("missing.txt")));
    ASSERT_EQ(::chmod(a.c_str(), 0444), 0);
    EXPECT_TRUE(IsReadOnlyFile(a)) << "without write bits, also for root";
}

TEST(OpenFileCheck, OnlyRegularFilesAreReadAndNothingWaits) {
    TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::FifoWatchdog watchdog(fifo);
    for (const std::string& name : {fifo, std::string("/dev/zero"), dir.path().string()}) {
        const OpenCheck c = CheckOpen({}, name, false, OptionData());
        EXPECT_EQ(c.refusal, OpenRefusal::CannotOpen) << name;
        EXPECT_EQ(c.message, name + " を開けません。通常のファイルではありません");
        // The reading every other way in goes through ("ファイルの挿入", the loader).
        EXPECT_THROW(ReadWholeFile(name), FileIoError) << name;
        EXPECT_THROW(LoadTextFile(name), FileIoError) << name;
    }
}
