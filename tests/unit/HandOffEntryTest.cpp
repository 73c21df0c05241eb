#include <unistd.h>

#include <gtest/gtest.h>

#include "HandOffTestSupport.h"
#include "app/HandOff.h"
#include "app/SharedBlockStream.h"

namespace tw {
namespace {

using Args = std::vector<std::string>;

// The receiving side of these tests is faked by planting records; the real
// hand-off between processes is in HandOffProcessTest.
class HandOffEntryTest : public ::testing::Test {
  protected:
    void Plant(HandOffRecord record) {
        TCommonMemoryStream memory(paths_.sharedMemoryName, kCommonMemorySize);
        WriteHandOffRecord(memory, record);
        memory.Seek(1000, kFromBeginning);
        memory.WriteBuffer("left over", 9);
    }
    std::string Block() {
        TCommonMemoryStream memory(paths_.sharedMemoryName, kCommonMemorySize);
        std::string bytes(kCommonMemorySize, 'x');
        memory.ReadBuffer(bytes.data(), kCommonMemorySize);
        return bytes;
    }
    // Another instance, alive while the test runs.
    void OtherInstanceRuns() {
        ASSERT_FALSE(other_.InstanceExists(paths_));
        other_.Hold();
    }

    test::ScopedRuntimeDir dir_;
    InstancePaths paths_ = InstancePaths::FromEnvironment();
    InstanceMarker other_;
    InstanceMarker marker_;
};

TEST_F(HandOffEntryTest, FirstStartClearsTheBlockADeadInstanceLeft) {
    Plant({1, 4242});
    Args args{"a.txt", "", "b.txt"};
    EntryResult result = RunProgramEntry(paths_, args, marker_);
    EXPECT_FALSE(result.handedOff);
    EXPECT_EQ(args, result.filesToOpen);
    EXPECT_TRUE(marker_.Held());
    EXPECT_EQ(std::string(kCommonMemorySize, '\0'), Block());
}

TEST_F(HandOffEntryTest, FlagOtherThanOneMakesAFullInstanceKeepingTheBlock) {
    OtherInstanceRuns();
    for (uint8_t flag : {0, 2}) {
        Plant({flag, static_cast<uint32_t>(::getpid())});
        InstanceMarker marker;
        EntryResult result = RunProgramEntry(paths_, {"a", "b"}, marker);
        EXPECT_FALSE(result.handedOff) << int{flag};
        EXPECT_EQ((Args{"a", "b"}), result.filesToOpen);
        EXPECT_TRUE(marker.Held());
        EXPECT_EQ(flag, static_cast<uint8_t>(Block()[0]));
    }
}

TEST_F(HandOffEntryTest, FlagOneWithHandleZeroEndsWithoutSending) {
    OtherInstanceRuns();
    Plant({1, 0});
    EntryResult result = RunProgramEntry(paths_, {"a.txt"}, marker_);
    EXPECT_TRUE(result.handedOff);
    EXPECT_TRUE(result.filesToOpen.empty());
    EXPECT_FALSE(marker_.Held());
}

TEST_F(HandOffEntryTest, RecordNamingNoListenerMakesAFullInstanceWithAllFiles) {
    OtherInstanceRuns();
    Plant({1, 999999});
    for (const Args& args : {Args{}, Args{"a"}, Args{"a", "", "b"}, Args{""}}) {
        InstanceMarker marker;
        EntryResult result = RunProgramEntry(paths_, args, marker);
        EXPECT_FALSE(result.handedOff) << args.size();
        EXPECT_EQ(args, result.filesToOpen);
        EXPECT_TRUE(marker.Held());
    }
}

}  // namespace
}  // namespace tw
