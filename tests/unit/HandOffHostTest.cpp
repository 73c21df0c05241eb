#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <thread>

#include "HandOffTestSupport.h"
#include "app/HandOff.h"
#include "app/SharedBlockStream.h"
#include "platform/os/LocalSocket.h"

namespace tw {
namespace {

std::string Le32(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

// Built here by hand rather than by the code under test, so that a mistake in
// the wire format shows up.
std::string Message(uint32_t signature, uint32_t cbData, const std::string& payload) {
    return Le32(signature) + Le32(cbData) + payload;
}

std::string GoodMessage(const std::string& name) {
    return Message(356071521, static_cast<uint32_t>(name.size() + 1), name + '\0');
}

bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0;
}

constexpr std::chrono::milliseconds kReadTimeout{600};

class HandOffHostTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(host_.Publish(true)); }

    // Leaves the bytes waiting in the socket; the host takes them on HandleReady.
    UniqueFd Send(const std::string& bytes) {
        UniqueFd fd = ConnectLocal(paths_.SocketFor(::getpid()));
        EXPECT_TRUE(fd.Valid());
        EXPECT_TRUE(WriteFully(fd.Get(), bytes.data(), bytes.size(), std::nullopt));
        return fd;
    }
    std::vector<std::string> HandleReady() {
        std::vector<std::string> received;
        host_.HandleReady([&](const std::string& name) { received.push_back(name); });
        return received;
    }
    static std::string Reply(const UniqueFd& fd) {
        std::string reply(4, 'x');
        auto deadline = std::chrono::steady_clock::now() + test::kDeadline;
        if (!ReadFully(fd.Get(), reply.data(), 4, deadline)) return "none";
        return reply;
    }
    // One message alone: what the host opened, and that it still replied 0.
    std::vector<std::string> Deliver(const std::string& bytes) {
        UniqueFd fd = Send(bytes);
        std::vector<std::string> received = HandleReady();
        EXPECT_EQ(std::string(4, '\0'), Reply(fd));
        return received;
    }
    HandOffRecord Record() {
        TCommonMemoryStream memory(paths_.sharedMemoryName, kCommonMemorySize);
        return ReadHandOffRecord(memory);
    }

    test::ScopedRuntimeDir dir_;
    InstancePaths paths_ = InstancePaths::FromEnvironment();
    HandOffHost host_{paths_, kReadTimeout};
    using Names = std::vector<std::string>;
};

TEST_F(HandOffHostTest, PublishRecordsFlagAndProcessIdAndListens) {
    TCommonMemoryStream memory(paths_.sharedMemoryName, kCommonMemorySize);
    unsigned char bytes[6];
    memory.ReadBuffer(bytes, 6);
    auto pid = static_cast<uint32_t>(::getpid());
    EXPECT_EQ(1, bytes[0]);
    EXPECT_EQ(pid, bytes[1] | bytes[2] << 8 | bytes[3] << 16 | uint32_t{bytes[4]} << 24);
    EXPECT_EQ(0, bytes[5]);
    EXPECT_GE(host_.ListenFd(), 0);
    EXPECT_TRUE(InstanceAnswers(paths_.SocketFor(::getpid())));

    ASSERT_TRUE(host_.Publish(false));
    EXPECT_EQ(0, Record().flag);
    EXPECT_EQ(static_cast<uint32_t>(::getpid()), Record().handle);
}

TEST_F(HandOffHostTest, CloseStopsListeningAndRemovesTheSocket) {
    std::string socket = paths_.SocketFor(::getpid());
    host_.Close();
    EXPECT_EQ(-1, host_.ListenFd());
    EXPECT_NE(0, ::access(socket.c_str(), F_OK));
    EXPECT_FALSE(InstanceAnswers(socket));
    EXPECT_FALSE(SendHandOff(socket, "a.txt"));
}

TEST_F(HandOffHostTest, SocketIsPrivate) {
    struct stat st {};
    ASSERT_EQ(0, ::stat(paths_.SocketFor(::getpid()).c_str(), &st));
    EXPECT_EQ(0u, st.st_mode & 077);
}

TEST_F(HandOffHostTest, GoodMessagesAreOpenedByteForByte) {
    EXPECT_EQ(Names{"a.txt"}, Deliver(GoodMessage("a.txt")));
    std::string shiftJis = "\x83\x65\x83\x58\x83\x67 \x95\x5c.txt";  // テスト 表.txt
    EXPECT_EQ(Names{shiftJis}, Deliver(GoodMessage(shiftJis)));
    std::string longest(65535, 'n');
    EXPECT_EQ(Names{longest}, Deliver(GoodMessage(longest)));
}

TEST_F(HandOffHostTest, NameEndsAtTheFirstNulOrAtCbData) {
    EXPECT_EQ(Names{"abc"}, Deliver(Message(HandOffSignature, 8, std::string("abc\0junk", 8))));
    EXPECT_EQ(Names{"abc"}, Deliver(Message(HandOffSignature, 3, "abc")));
}

TEST_F(HandOffHostTest, InvalidMessagesAreRefusedWithoutEffect) {
    EXPECT_EQ(Names{}, Deliver(Message(HandOffSignature + 1, 6, std::string("a.txt\0", 6))));
    EXPECT_EQ(Names{}, Deliver(Message(0, 6, std::string("a.txt\0", 6))));
    EXPECT_EQ(Names{}, Deliver(Message(HandOffSignature, 0, "")));
    EXPECT_EQ(Names{}, Deliver(Message(HandOffSignature, 65537, std::string(65537, 'x'))));
    EXPECT_EQ(Names{}, Deliver(Message(HandOffSignature, 0xFFFFFFFF, "x")));
    EXPECT_EQ(Names{}, Deliver(Message(HandOffSignature, 4, std::string("\0abc", 4))));
    // And the host goes on taking good ones.
    EXPECT_EQ(Names{"ok.txt"}, Deliver(GoodMessage("ok.txt")));
}

TEST_F(HandOffHostTest, ShortMessagesAreRefused) {
    for (std::string bytes :
         {std::string(), std::string("\x61\x38"), Message(HandOffSignature, 10, "abc")}) {
        UniqueFd fd = Send(bytes);
        ::shutdown(fd.Get(), SHUT_WR);
        EXPECT_EQ(Names{}, HandleReady()) << bytes.size() << " bytes";
    }
}

TEST_F(HandOffHostTest, AStalledSenderHoldsUpNothingAndIsDroppedWhenItsTimeIsUp) {
    UniqueFd stalled = Send(Message(HandOffSignature, 10, "abc"));
    UniqueFd good = Send(GoodMessage("after.txt"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Names{"after.txt"}, HandleReady());
    EXPECT_LT(std::chrono::steady_clock::now() - start, kReadTimeout / 2) << "it waited";
    EXPECT_EQ(1u, host_.PendingConnections());
    EXPECT_FALSE(Readable(host_.WatchFd())) << "an event loop would spin";
    ASSERT_TRUE(host_.TimeToNextDeadline());
    std::this_thread::sleep_for(*host_.TimeToNextDeadline());
    EXPECT_EQ(Names{}, HandleReady());
    EXPECT_EQ(0u, host_.PendingConnections());
    EXPECT_FALSE(host_.TimeToNextDeadline());
    EXPECT_EQ(std::string(4, '\0'), Reply(stalled));
}

TEST_F(HandOffHostTest, AMessageComingInPiecesIsOpenedOnceWhole) {
    const std::string message = GoodMessage("pieces.txt");
    UniqueFd fd = Send(message.substr(0, 5));
    EXPECT_TRUE(Readable(host_.WatchFd()));
    EXPECT_EQ(Names{}, HandleReady());
    for (size_t i = 5; i + 1 < message.size(); ++i) {
        ASSERT_TRUE(WriteFully(fd.Get(), &message[i], 1, std::nullopt));
        EXPECT_EQ(Names{}, HandleReady()) << i;
    }
    ASSERT_TRUE(WriteFully(fd.Get(), &message.back(), 1, std::nullopt));
    EXPECT_EQ(Names{"pieces.txt"}, HandleReady());
    EXPECT_EQ(std::string(4, '\0'), Reply(fd));
}

TEST_F(HandOffHostTest, AFloodOfSilentConnectionsHoldsFewPlacesAndPassesWithItsTime) {
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::max<rlim_t>(files.rlim_cur, std::min<rlim_t>(files.rlim_max, 4096));
    ::setrlimit(RLIMIT_NOFILE, &files);
    std::vector<UniqueFd> flood;
    for (int i = 0; i < 1000; ++i) {
        flood.push_back(ConnectLocal(paths_.SocketFor(::getpid())));
        ASSERT_TRUE(flood.back().Valid()) << i;
        if (i % 8 == 7) {  // the backlog holds 16
            EXPECT_EQ(Names{}, HandleReady());
        }
        ASSERT_LE(host_.PendingConnections(), kMaxPendingHandOffs);
    }
    // Every place is taken: a good sender is hung up on, and opens its files itself.
    UniqueFd turnedAway = Send(GoodMessage("early.txt"));
    EXPECT_EQ(Names{}, HandleReady());
    EXPECT_EQ("none", Reply(turnedAway));
    std::this_thread::sleep_for(kReadTimeout);
    EXPECT_EQ(Names{}, HandleReady());
    EXPECT_EQ(0u, host_.PendingConnections());
    EXPECT_EQ(Names{"late.txt"}, Deliver(GoodMessage("late.txt")));
}

TEST_F(HandOffHostTest, WaitingConnectionsAreAllTakenInOrder) {
    UniqueFd first = Send(GoodMessage("1"));
    UniqueFd second = Send(GoodMessage("2"));
    UniqueFd third = Send(GoodMessage("3"));
    EXPECT_EQ((Names{"1", "2", "3"}), HandleReady());
    EXPECT_EQ(Names{}, HandleReady());
}

TEST_F(HandOffHostTest, EachNameIsOpenedBeforeTheReply) {
    UniqueFd fd = Send(GoodMessage("x"));
    bool repliedEarly = false;
    host_.HandleReady([&](const std::string&) {
        char byte;
        repliedEarly = ::recv(fd.Get(), &byte, 1, MSG_DONTWAIT) > 0;
    });
    EXPECT_FALSE(repliedEarly);
    EXPECT_EQ(std::string(4, '\0'), Reply(fd));
}

TEST_F(HandOffHostTest, NameTooLongForAMessageIsNotSent) {
    EXPECT_FALSE(SendHandOff(paths_.SocketFor(::getpid()), std::string(65536, 'n')));
    EXPECT_EQ(Names{}, HandleReady());
}

TEST(HandOffHostPublishTest, FailureLeavesNothingBehind) {
    test::ScopedRuntimeDir dir;
    InstancePaths paths = InstancePaths::FromEnvironment();
    paths.runtimeDir = dir.File("missing");
    HandOffHost host(paths);
    EXPECT_FALSE(host.Publish(true));
    EXPECT_EQ(-1, host.ListenFd());
    TCommonMemoryStream memory(paths.sharedMemoryName, kCommonMemorySize);
    EXPECT_EQ(0, ReadHandOffRecord(memory).flag);
}

}  // namespace
}  // namespace tw
