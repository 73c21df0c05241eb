#include "platform/os/InstanceMarker.h"

#include <gtest/gtest.h>

#include "HandOffTestSupport.h"
#include "app/HandOff.h"
#include "app/SharedBlockStream.h"

namespace tw {
namespace {

class InstanceMarkerTest : public ::testing::Test {
  protected:
    test::ScopedRuntimeDir dir_;
    InstancePaths paths_ = InstancePaths::FromEnvironment();
};

TEST_F(InstanceMarkerTest, HeldMarkerIsSeenByOthersUntilReleased) {
    InstanceMarker first, second, third;
    EXPECT_FALSE(first.InstanceExists(paths_));
    first.Hold();
    EXPECT_TRUE(first.Held());
    EXPECT_TRUE(second.InstanceExists(paths_));
    second.Hold();  // a second full instance shares the marker
    EXPECT_TRUE(third.InstanceExists(paths_));
    first.Release();
    EXPECT_TRUE(third.InstanceExists(paths_));
    second.Release();
    EXPECT_FALSE(third.InstanceExists(paths_));
}

TEST_F(InstanceMarkerTest, StartThatFoundNoneExcludesOthersUntilItHolds) {
    InstanceMarker starting, other;
    ASSERT_FALSE(starting.InstanceExists(paths_));
    EXPECT_TRUE(other.InstanceExists(paths_));
    starting.Hold();
    EXPECT_TRUE(other.InstanceExists(paths_));
    other.Hold();  // must not wait: both hold it shared
    EXPECT_TRUE(other.Held());
}

TEST_F(InstanceMarkerTest, LastInstanceOutRemovesTheSharedBlock) {
    InstanceMarker first, second;
    ASSERT_FALSE(first.InstanceExists(paths_));
    first.Hold();
    ASSERT_TRUE(second.InstanceExists(paths_));
    second.Hold();
    { TCommonMemoryStream block(paths_.sharedMemoryName, kCommonMemorySize); }
    first.Release();
    EXPECT_TRUE(test::SharedMemoryExists(paths_.sharedMemoryName));
    second.Release();
    EXPECT_FALSE(test::SharedMemoryExists(paths_.sharedMemoryName));
}

TEST_F(InstanceMarkerTest, UnusableLockFileRaises) {
    InstancePaths broken = paths_;
    broken.lockFile = dir_.File("missing/instance.lock");
    InstanceMarker marker;
    EXPECT_THROW(marker.InstanceExists(broken), std::system_error);
}

}  // namespace
}  // namespace tw
