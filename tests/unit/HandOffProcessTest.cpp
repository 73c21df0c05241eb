// The hand-off between real processes: every start runs the tools program
// handoff_peer, which goes through the program entry like the editor does.
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>

#include "HandOffTestSupport.h"
#include "app/HandOff.h"
#include "app/SharedBlockStream.h"
#include "platform/os/InstanceMarker.h"
#include "platform/os/LocalSocket.h"

namespace tw {
namespace {

using test::ChildProcess;
using test::ReadLines;
using test::WithPrefix;
using Lines = std::vector<std::string>;

struct Peer {
    std::string log;
    std::unique_ptr<ChildProcess> process;

    Lines Log() const { return ReadLines(log); }
    Lines Received() const { return WithPrefix(Log(), "recv:"); }
    Lines Own() const { return WithPrefix(Log(), "own:"); }
    uint32_t Pid() const { return static_cast<uint32_t>(process->Pid()); }
    // Polls the log; gives up early when the peer has ended without the line.
    bool WaitFor(const std::string& line) const {
        test::WaitUntil([&] { return test::Contains(Log(), line) || process->Exited(); });
        return test::Contains(Log(), line);
    }
    bool Stop() const {
        process->Signal(SIGTERM);
        return process->ExitedWith(0);
    }
};

class HandOffProcessTest : public ::testing::Test {
  protected:
    Peer Start(const Lines& options, const Lines& args) {
        Peer peer;
        peer.log = dir_.File("peer" + std::to_string(++started_) + ".log");
        Lines argv{peer.log};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.push_back("--");
        argv.insert(argv.end(), args.begin(), args.end());
        peer.process = std::make_unique<ChildProcess>(TW_TOOLS_DIR "/handoff_peer", argv);
        return peer;
    }
    // A full instance that published itself with the given flag.
    Peer StartReceiver(const char* flag = "1", Lines more = {}) {
        Lines options{"--flag", flag};
        options.insert(options.end(), more.begin(), more.end());
        Peer peer = Start(options, {});
        EXPECT_TRUE(peer.WaitFor("published")) << ::testing::PrintToString(peer.Log());
        return peer;
    }
    // A start that hands its files over and ends with 0.
    void HandOver(const Lines& args) {
        Peer sender = Start({}, args);
        EXPECT_TRUE(sender.process->ExitedWith(0));
        EXPECT_EQ(Lines{"handed-off"}, sender.Log());
    }
    HandOffRecord Record() {
        TCommonMemoryStream memory(paths_.sharedMemoryName, kCommonMemorySize);
        return ReadHandOffRecord(memory);
    }
    // Leaves the record naming an instance that was killed, while another
    // instance still holds the marker.
    Peer CrashTheNamedInstance() {
        Peer holder = Start({"--no-publish"}, {});
        EXPECT_TRUE(holder.WaitFor("full"));
        Peer victim = StartReceiver();
        victim.process->Signal(SIGKILL);
        victim.process->WaitForExit();
        EXPECT_EQ(victim.Pid(), Record().handle);
        EXPECT_EQ(1, Record().flag);
        return holder;
    }

    test::ScopedRuntimeDir dir_;
    InstancePaths paths_ = InstancePaths::FromEnvironment();
    int started_ = 0;
};

TEST_F(HandOffProcessTest, FilesArriveInCommandLineOrderByteForByte) {
    Peer receiver = StartReceiver();
    Lines files{"/tmp/first file.txt", "\x83\x65\x83\x58\x83\x67.txt", std::string(3000, 'z')};
    HandOver(files);
    EXPECT_EQ(files, receiver.Received());
    EXPECT_TRUE(receiver.Stop());
}

TEST_F(HandOffProcessTest, EmptyArgumentEndsTheHandedOverList) {
    Peer receiver = StartReceiver();
    HandOver({"a.txt", "", "b.txt"});
    HandOver({"c.txt"});
    EXPECT_EQ((Lines{"a.txt", "c.txt"}), receiver.Received());
}

TEST_F(HandOffProcessTest, StartWithoutArgumentsSendsNothingAndEnds) {
    Peer receiver = StartReceiver();
    HandOver({});
    HandOver({"later.txt"});
    EXPECT_EQ(Lines{"later.txt"}, receiver.Received());
}

TEST_F(HandOffProcessTest, FlagZeroMakesTheNextStartAFullInstanceThatTakesOver) {
    Peer first = StartReceiver("0");
    Peer second = Start({"--flag", "1"}, {"p.txt", "", "q.txt"});
    ASSERT_TRUE(second.WaitFor("published"));
    EXPECT_EQ((Lines{"p.txt", "", "q.txt"}), second.Own());
    EXPECT_EQ(second.Pid(), Record().handle);
    EXPECT_EQ(1, Record().flag);

    HandOver({"z.txt"});
    EXPECT_EQ(Lines{"z.txt"}, second.Received());
    EXPECT_EQ(Lines{}, first.Received());
    EXPECT_TRUE(first.Stop());
    EXPECT_TRUE(second.Stop());
}

TEST_F(HandOffProcessTest, CrashedInstanceDoesNotSwallowTheFiles) {
    Peer holder = CrashTheNamedInstance();
    Peer start = Start({}, {"f1.txt", "f2.txt"});
    ASSERT_TRUE(start.WaitFor("published"));
    EXPECT_EQ((Lines{"f1.txt", "f2.txt"}), start.Own());
    EXPECT_EQ(start.Pid(), Record().handle);
    EXPECT_FALSE(holder.process->Exited());
}

TEST_F(HandOffProcessTest, CrashedInstanceWithItsSocketGoneDoesNotSwallowTheFiles) {
    Peer holder = CrashTheNamedInstance();
    ASSERT_EQ(0, ::unlink(paths_.SocketFor(Record().handle).c_str()));
    Peer start = Start({}, {"f1.txt"});
    ASSERT_TRUE(start.WaitFor("published"));
    EXPECT_EQ(Lines{"f1.txt"}, start.Own());
}

TEST_F(HandOffProcessTest, CrashedInstanceDoesNotEndAStartWithoutArguments) {
    Peer holder = CrashTheNamedInstance();
    Peer start = Start({}, {});
    ASSERT_TRUE(start.WaitFor("published"));
    EXPECT_EQ((Lines{"full", "published"}), start.Log());
}

TEST_F(HandOffProcessTest, ReceiverDyingMidwayLeavesTheRestToTheNewStart) {
    Peer receiver = StartReceiver("1", {"--crash-on", "2"});
    Peer start = Start({}, {"f1", "f2", "f3"});
    ASSERT_TRUE(start.WaitFor("published"));
    EXPECT_EQ((Lines{"f1", "f2"}), receiver.Received());
    // f2 was not answered: the instance that began opening it is gone.
    EXPECT_EQ((Lines{"f2", "f3"}), start.Own());
}

TEST_F(HandOffProcessTest, BadMessagesAreRefusedAndTheReceiverGoesOn) {
    Peer receiver = StartReceiver();
    auto sendByHand = [&](uint32_t signature, uint32_t cbData, const std::string& payload) {
        std::string bytes(8, '\0');
        for (int i = 0; i < 4; ++i) {
            bytes[i] = static_cast<char>(signature >> (8 * i));
            bytes[4 + i] = static_cast<char>(cbData >> (8 * i));
        }
        bytes += payload;
        UniqueFd fd = ConnectLocal(paths_.SocketFor(receiver.Pid()));
        ASSERT_TRUE(fd.Valid());
        // A refusal may come after the header, before all of the payload is in.
        WriteFully(fd.Get(), bytes.data(), bytes.size(), std::nullopt);
        uint32_t reply = 1;
        auto deadline = std::chrono::steady_clock::now() + test::kDeadline;
        EXPECT_TRUE(ReadFully(fd.Get(), &reply, sizeof reply, deadline));
        EXPECT_EQ(0u, reply);
    };
    sendByHand(0x15393862, 6, std::string("evil1\0", 6));
    sendByHand(HandOffSignature, 65537, std::string(65537, 'e'));
    sendByHand(HandOffSignature, 0, "");
    HandOver({"good.txt"});
    EXPECT_EQ(Lines{"good.txt"}, receiver.Received());
    EXPECT_FALSE(receiver.process->Exited());
}

TEST_F(HandOffProcessTest, MessageFromAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    Peer receiver = StartReceiver();
    std::string socket = paths_.SocketFor(receiver.Pid());
    // Open the way on the file system, so that only the peer check stands.
    ASSERT_EQ(0, ::chmod(dir_.Path().c_str(), 0711));
    ASSERT_EQ(0, ::chmod(socket.c_str(), 0666));
    std::string message =
        std::string("\x61\x38\x39\x15\x09\0\0\0", 8) + std::string("evil.txt\0", 9);
    pid_t stranger = ::fork();
    if (stranger == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(3);
        UniqueFd fd = ConnectLocal(socket);
        if (!fd.Valid()) _exit(4);
        // The receiver may hang up before the message is even written; either
        // way, once this returns the receiver is done with the connection.
        WriteFully(fd.Get(), message.data(), message.size(), std::nullopt);
        char reply[4];
        ReadFully(fd.Get(), reply, 4, std::nullopt);
        _exit(0);
    }
    int status = -1;
    ASSERT_EQ(stranger, ::waitpid(stranger, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    ASSERT_EQ(0, ::chmod(dir_.Path().c_str(), 0700));
    HandOver({"mine.txt"});
    EXPECT_EQ(Lines{"mine.txt"}, receiver.Received());
}

TEST_F(HandOffProcessTest, UnsafeRuntimeFolderIsRefused) {
    ASSERT_EQ(0, ::chmod(dir_.Path().c_str(), 0755));
    Peer start = Start({}, {"a.txt"});
    EXPECT_TRUE(start.process->ExitedWith(2));
    Lines log = start.Log();
    ASSERT_EQ(1u, log.size());
    EXPECT_TRUE(log[0].starts_with("error:")) << log[0];
    EXPECT_NE(std::string::npos, log[0].find(dir_.Path())) << log[0];
}

TEST_F(HandOffProcessTest, MarkerEndsWithTheProcessHoldingIt) {
    Peer holder = Start({"--no-publish"}, {});
    ASSERT_TRUE(holder.WaitFor("full"));
    InstanceMarker probe;
    EXPECT_TRUE(probe.InstanceExists(paths_));
    holder.process->Signal(SIGKILL);
    holder.process->WaitForExit();
    EXPECT_FALSE(probe.InstanceExists(paths_));
}

TEST_F(HandOffProcessTest, LastInstanceToEndRemovesTheSharedBlock) {
    Peer receiver = StartReceiver();
    ASSERT_TRUE(test::SharedMemoryExists(paths_.sharedMemoryName));
    EXPECT_TRUE(receiver.Stop());
    EXPECT_FALSE(test::SharedMemoryExists(paths_.sharedMemoryName));
}

}  // namespace
}  // namespace tw
