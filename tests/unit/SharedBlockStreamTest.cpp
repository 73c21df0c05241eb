#include "app/SharedBlockStream.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>

#include "HandOffTestSupport.h"
#include "app/HandOff.h"
#include "platform/os/SharedMemory.h"

namespace tw {
namespace {

constexpr int32_t kSize = 16;

class SharedBlockStreamFixedTest : public ::testing::Test {
  protected:
    SharedBlockStreamFixedTest() { memory_.fill('.'); }
    std::string Memory() const { return std::string(memory_.data(), memory_.size()); }

    std::array<char, kSize> memory_;
    TFixedMemoryStream stream_{memory_.data(), kSize};
};

TEST_F(SharedBlockStreamFixedTest, WriteRunningOffTheEndRaisesAndCopiesNothing) {
    stream_.Seek(-2, kFromEnd);
    try {
        stream_.Write("ABCD", 4);
        FAIL() << "no error";
    } catch (const AccessViolationError& error) {
        EXPECT_STREQ("共有メモリを逸脱した書き込み", error.what());
    }
    EXPECT_EQ(std::string(kSize, '.'), Memory());
    EXPECT_EQ(kSize - 2, stream_.Position());
}

TEST_F(SharedBlockStreamFixedTest, WriteFillsUpToTheEndExactly) {
    EXPECT_EQ(0, stream_.Write("", 0));
    EXPECT_EQ(0, stream_.Position());
    stream_.Seek(-4, kFromEnd);
    EXPECT_EQ(4, stream_.Write("WXYZ", 4));
    EXPECT_EQ(kSize, stream_.Position());
    EXPECT_EQ(std::string(kSize - 4, '.') + "WXYZ", Memory());
}

TEST_F(SharedBlockStreamFixedTest, ReadNearTheEndReturnsWhatIsLeft) {
    std::memcpy(memory_.data(), "0123456789abcdef", kSize);
    char buffer[10] = {};
    stream_.Seek(-5, kFromEnd);
    EXPECT_EQ(5, stream_.Read(buffer, 10));
    EXPECT_EQ("bcdef", std::string(buffer, 5));
    EXPECT_EQ(kSize, stream_.Position());
    EXPECT_EQ(0, stream_.Read(buffer, 10));
}

TEST_F(SharedBlockStreamFixedTest, SeekMovesByOriginAndIgnoresUnknownOrigins) {
    EXPECT_EQ(kSize - 3, stream_.Seek(-3, kFromEnd));
    EXPECT_EQ(4, stream_.Seek(4, kFromBeginning));
    EXPECT_EQ(7, stream_.Seek(3, kFromCurrent));
    EXPECT_EQ(7, stream_.Seek(100, 3));
    EXPECT_EQ(7, stream_.Seek(-100, 0xFFFF));
    // No clamping: far past the end is a position like any other.
    EXPECT_EQ(kSize + 50, stream_.Seek(50, kFromEnd));
    EXPECT_EQ(-9, stream_.Seek(-9, kFromBeginning));
}

TEST_F(SharedBlockStreamFixedTest, OutsideTheBlockOrWithNegativeCountsNothingMoves) {
    char buffer[4] = {};
    stream_.Seek(-3, kFromBeginning);
    EXPECT_EQ(0, stream_.Read(buffer, 4));
    EXPECT_EQ(0, stream_.Write("abcdef", 6));  // would end inside, but starts before
    EXPECT_EQ(0, stream_.Write("ab", 2));
    EXPECT_EQ(-3, stream_.Position());
    stream_.Seek(kSize + 1, kFromBeginning);
    EXPECT_EQ(0, stream_.Read(buffer, 4));
    EXPECT_THROW(stream_.Write("a", 1), AccessViolationError);
    stream_.Seek(2, kFromBeginning);
    EXPECT_EQ(0, stream_.Read(buffer, -1));
    EXPECT_EQ(0, stream_.Write("ab", -1));
    EXPECT_EQ(2, stream_.Position());
    EXPECT_EQ(std::string(kSize, '.'), Memory());
}

TEST_F(SharedBlockStreamFixedTest, ExtremePositionsNeitherOverflowNorTouchMemory) {
    char buffer[4] = {};
    stream_.Seek(INT32_MAX, kFromBeginning);
    EXPECT_THROW(stream_.Write("ab", 2), AccessViolationError);
    EXPECT_EQ(0, stream_.Read(buffer, INT32_MAX));
    stream_.Seek(INT32_MAX, kFromCurrent);
    stream_.Seek(INT32_MIN, kFromEnd);
    EXPECT_EQ(0, stream_.Write("ab", INT32_MAX));
    EXPECT_EQ(std::string(kSize, '.'), Memory());
}

class SharedBlockStreamSharedTest : public ::testing::Test {
  protected:
    ~SharedBlockStreamSharedTest() override { RemoveSharedMemory(name_); }
    std::string name_ = "/tw-commem-test-" + std::to_string(::getpid()) + "-" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(SharedBlockStreamSharedTest, FreshBlockIsZeroFilledAndHasTheGivenSize) {
    TCommonMemoryStream stream(name_, kCommonMemorySize);
    std::string bytes(kCommonMemorySize + 10, 'x');
    EXPECT_EQ(kCommonMemorySize, stream.Read(bytes.data(), kCommonMemorySize + 10));
    bytes.resize(kCommonMemorySize);
    EXPECT_EQ(std::string(kCommonMemorySize, '\0'), bytes);
    EXPECT_EQ(kCommonMemorySize, stream.Seek(0, kFromEnd));
    EXPECT_THROW(stream.Write("ab", 2), AccessViolationError);
}

TEST_F(SharedBlockStreamSharedTest, StreamsOnTheSameNameSeeEachOthersBytes) {
    TCommonMemoryStream first(name_, kCommonMemorySize);
    auto second = std::make_unique<TCommonMemoryStream>(name_, kCommonMemorySize);
    first.Seek(100, kFromBeginning);
    first.WriteBuffer("hello", 5);
    second->Seek(-5, kFromEnd);
    second->WriteBuffer("tail!", 5);

    char buffer[5];
    second->Seek(100, kFromBeginning);
    second->ReadBuffer(buffer, 5);
    EXPECT_EQ("hello", std::string(buffer, 5));
    first.Seek(-5, kFromEnd);
    first.ReadBuffer(buffer, 5);
    EXPECT_EQ("tail!", std::string(buffer, 5));

    second = std::make_unique<TCommonMemoryStream>(name_.substr(1), kCommonMemorySize);
    second->Seek(100, kFromBeginning);
    second->ReadBuffer(buffer, 5);
    EXPECT_EQ("hello", std::string(buffer, 5)) << "reopened without the slash";
}

TEST_F(SharedBlockStreamSharedTest, UnusableBlockRaisesFileCreateErrorNamingIt) {
    auto expectRefused = [](const std::string& name, int32_t size) {
        try {
            TCommonMemoryStream stream(name, size);
            ADD_FAILURE() << name << " was opened";
        } catch (const FileCreateError& error) {
            EXPECT_EQ("共有メモリ[" + name + "]を開けません", std::string(error.what()));
        }
    };
    expectRefused("/no/such/folder", 64);
    expectRefused(name_, 0);
    { TCommonMemoryStream existing(name_, 64); }
    expectRefused(name_, 128);  // another size than the block has
}

TEST_F(SharedBlockStreamSharedTest, BlockOpenToOtherUsersIsRefused) {
    int fd = ::shm_open(name_.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ::ftruncate(fd, 64));
    ASSERT_EQ(0, ::fchmod(fd, 0666));
    ::close(fd);
    EXPECT_THROW(TCommonMemoryStream(name_, 64), FileCreateError);
}

}  // namespace
}  // namespace tw
