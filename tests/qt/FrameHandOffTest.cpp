// The frame receives files from a second start of the real program.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "app/FrameWindow.h"
#include "app/HandOff.h"
#include "app/SharedBlockStream.h"
#include "headless/HeadlessPlatform.h"
#include "platform/os/LocalSocket.h"
#include "settings/SettingsStore.h"
#include "support/FifoWatchdog.h"
#include "support/InFolder.h"
#include "support/TempDir.h"

using namespace tw;
using tw::test::TempDir;

namespace {

/// Records every message and runs something of the test's while one is up.
class HookedMessageBox : public test::RecordingMessageBox {
  public:
    MessageAnswer Show(const std::string& text, const std::string& caption, MessageButtons buttons,
                       MessageIcon icon) override {
        const MessageAnswer answer = RecordingMessageBox::Show(text, caption, buttons, icon);
        if (whileShown) std::exchange(whileShown, nullptr)();
        return answer;
    }
    std::function<void()> whileShown;
};

class FrameHandOff : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TARNWICK_EDITOR_RUNTIME_DIR", runtime_.path().c_str(), 1);
        setenv("TARNWICK_EDITOR_HOME", home_.path().c_str(), 1);
        paths_ = InstancePaths::FromEnvironment();
        EntryResult entry = RunProgramEntry(paths_, {}, marker_);
        ASSERT_FALSE(entry.handedOff);
    }

    std::string File(const std::string& name) {
        return files_.Write(name, "\x82\xa0 " + name + "\r\n");
    }

    QStringList Captions(const TTarnwickEditor& frame) {
        QStringList out;
        for (QMdiSubWindow* w : frame.MdiArea()->subWindowList())
            out << w->windowTitle();
        return out;
    }

    /// Runs a second start of the program while this process's event loop
    /// keeps serving the hand-offs; returns its exit code.
    int SecondStart(const QStringList& args, const QString& folder = {}) {
        QProcess second;
        if (!folder.isEmpty()) second.setWorkingDirectory(folder);
        QEventLoop loop;
        QObject::connect(&second, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        second.start(QStringLiteral(TW_EDITOR_BINARY), args);
        loop.exec();
        // The names were answered at once; their windows open right after.
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        if (second.state() != QProcess::NotRunning) {
            second.kill();
            second.waitForFinished();
            return -1;
        }
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
    }

    /// Shows the frame (its start-up work runs then) and waits for the
    /// command-line files to open.
    void ShowAndSettle(TTarnwickEditor& frame) {
        frame.SetMessageBox(&messages_);
        frame.show();
        const qsizetype files = static_cast<qsizetype>(
            std::count_if(frame.CommandLineFiles().begin(), frame.CommandLineFiles().end(),
                          [](const std::string& f) { return !f.empty(); }));
        QElapsedTimer t;
        t.start();
        do {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        } while (frame.MdiArea()->subWindowList().size() < files && t.elapsed() < 5000);
    }

    TempDir runtime_, home_, files_;
    InstancePaths paths_;
    InstanceMarker marker_;
    HookedMessageBox messages_;
};

bool WaitFor(const std::function<bool()>& condition) {
    QElapsedTimer t;
    t.start();
    while (!condition() && t.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return condition();
}

}  // namespace

TEST_F(FrameHandOff, FilesArriveInCommandLineOrderUntilAnEmptyArgument) {
    std::string a = File("a.txt"), b = File("b.txt"), c = File("c.txt"), d = File("d.txt");
    TTarnwickEditor frame(paths_, {a});
    ShowAndSettle(frame);
    ASSERT_EQ(Captions(frame), QStringList{QString::fromStdString(a)});

    int code = SecondStart({QString::fromStdString(b), QString::fromStdString(c),
                            QStringLiteral(""), QString::fromStdString(d)});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Captions(frame), (QStringList{QString::fromStdString(a), QString::fromStdString(b),
                                            QString::fromStdString(c)}));
    EXPECT_EQ(frame.windowTitle(),
              QStringLiteral("Tarnwick Editor - [") + QString::fromStdString(c) + "]");
}

TEST_F(FrameHandOff, ARelativeNameFromAnotherFolderOpensTheSendersFile) {
    std::filesystem::create_directory(files_.path() / "elsewhere");
    File("x.txt");
    const std::string there = files_.Write("elsewhere/x.txt", "there\r\n");
    // The running instance works in the folder that holds the other x.txt.
    test::InFolder receiverFolder(files_.path());
    TTarnwickEditor frame(paths_, {});
    ShowAndSettle(frame);
    EXPECT_EQ(SecondStart({QStringLiteral("x.txt"), QStringLiteral("./x.txt")},
                          QString::fromStdString(files_.File("elsewhere"))),
              0);
    ASSERT_TRUE(WaitFor([&] { return !messages_.shown.empty(); }));
    EXPECT_EQ(Captions(frame),
              (QStringList{QStringLiteral("NONAME1"), QString::fromStdString(there)}));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, there + "はすでに存在します。");
}

TEST_F(FrameHandOff, ANameHandedOverWhileARefusalIsUpOpensWhenTheBoxCloses) {
    const std::string a = File("a.txt"), b = File("b.txt");
    TTarnwickEditor frame(paths_, {a});
    ShowAndSettle(frame);
    int during = -1;
    messages_.whileShown = [&] { during = SecondStart({QString::fromStdString(b)}); };
    frame.OpenFile(a, false);  // from the Open dialog, say: it is open already
    EXPECT_EQ(during, 0) << "the second start was answered while the box was up";
    EXPECT_TRUE(WaitFor([&] { return frame.DocumentCount() == 2; }));
    EXPECT_EQ(Captions(frame), (QStringList{QString::fromStdString(a), QString::fromStdString(b)}));
}

TEST_F(FrameHandOff, SettingsFilesThatCouldNotBeReadAreLeftAsTheyAre) {
    const std::string folder = home_.path().string();
    const std::string option = folder + "/Option.dat", clip = folder + "/Clip.dat";
    std::filesystem::create_directory(option);
    ASSERT_EQ(::mkfifo(clip.c_str(), 0600), 0);
    test::FifoWatchdog watchdog(clip);
    TTarnwickEditor frame(paths_, {});
    ShowAndSettle(frame);
    ASSERT_EQ(messages_.shown.size(), 2u) << "each file that could not be read is named once";
    EXPECT_NE(messages_.shown[0].text.find("Option.dat"), std::string::npos);
    EXPECT_EQ(messages_.shown[1].text, kClipReadErrorMessage);
    frame.close();
    EXPECT_EQ(messages_.shown.size(), 2u) << "nothing is written, so nothing fails at exit";
    EXPECT_TRUE(std::filesystem::is_directory(option));
    EXPECT_TRUE(std::filesystem::is_fifo(clip));
}

TEST_F(FrameHandOff, NoArgumentsSendNothingAndAFileAlreadyOpenIsNotOpenedTwice) {
    std::string a = File("a.txt");
    TTarnwickEditor frame(paths_, {a});
    ShowAndSettle(frame);
    EXPECT_EQ(SecondStart({}), 0);
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(SecondStart({QString::fromStdString(a)}), 0);
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 1);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, a + "はすでに存在します。");
}

TEST_F(FrameHandOff, AStartAfterTheFrameClosedRunsAsAnInstanceOfItsOwn) {
    TTarnwickEditor frame(paths_, {});
    ShowAndSettle(frame);
    frame.close();
    // The record may still name this process, but nobody listens: the second
    // start must become an instance itself, with its file, rather than drop it.
    QProcess second;
    second.start(QStringLiteral(TW_EDITOR_BINARY), {QString::fromStdString(File("kept.txt"))});
    ASSERT_TRUE(second.waitForStarted());
    TCommonMemoryStream block(paths_.sharedMemoryName, kCommonMemorySize);
    HandOffRecord record;
    QElapsedTimer t;
    t.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        block.Seek(0, kFromBeginning);
        record = ReadHandOffRecord(block);
    } while (record.handle != static_cast<uint32_t>(second.processId()) && t.elapsed() < 15000 &&
             second.state() == QProcess::Running);
    EXPECT_EQ(record.handle, static_cast<uint32_t>(second.processId()));
    EXPECT_EQ(record.flag, 1);
    second.kill();
    second.waitForFinished(5000);
}

TEST_F(FrameHandOff, TheStoredSettingDecidesWhetherLaterStartsHandOver) {
    OptionData options;
    options.SingleInstance = false;
    SaveOptionData(home_.path().string(), options);
    TTarnwickEditor frame(paths_, {});
    ShowAndSettle(frame);
    TCommonMemoryStream block(paths_.sharedMemoryName, kCommonMemorySize);
    HandOffRecord record = ReadHandOffRecord(block);
    EXPECT_EQ(record.handle, static_cast<uint32_t>(::getpid()));
    EXPECT_EQ(record.flag, 0) << "later starts run as instances of their own";
}

TEST_F(FrameHandOff, ClosingTheFrameWritesTheSettingsAndTheClipboardHistory) {
    {
        TTarnwickEditor frame(paths_, {});
        ShowAndSettle(frame);
        frame.resize(700, 500);
        frame.close();
    }
    const std::string folder = home_.path().string();
    EXPECT_EQ(tw::test::ReadFile(folder + "/Option.dat").size(), 5784u);
    EXPECT_TRUE(std::filesystem::exists(folder + "/Clip.dat"));
    OptionData stored = LoadOptionData(folder);
    EXPECT_EQ(stored.WindowWidth, 700);
    EXPECT_EQ(stored.WindowHeight, 500);
    EXPECT_TRUE(stored.SingleInstance);
}

TEST_F(FrameHandOff, AStartWithoutFilesOpensOneBlankTextUnlessToldNotTo) {
    {
        TTarnwickEditor frame(paths_, {});
        ShowAndSettle(frame);
        auto windows = frame.MdiArea()->subWindowList();
        ASSERT_EQ(windows.size(), 1);
        EXPECT_EQ(windows[0]->windowTitle(), QStringLiteral("NONAME1"));
        EXPECT_EQ(frame.NoNameCount(), 2) << "every window created counts";
    }
    OptionData options;
    options.CreateBlank = false;
    SaveOptionData(home_.path().string(), options);
    TTarnwickEditor frame(paths_, {});
    ShowAndSettle(frame);
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(frame.NoNameCount(), 1);
}

namespace {

/// Every kind of bad sender at once, from another thread, holding its
/// connections open for `hold`: a sender that stalls half-way, a wrong
/// signature, an announced length far past any name, a message cut short,
/// and a flood of 1,000 connections that send nothing.
void AbuseHandOff(const std::string& socket, std::chrono::milliseconds hold) {
    const std::string good = EncodeHandOffMessage("abused.txt");
    std::string wrongSignature = good, hugeLength = good;
    wrongSignature[0] ^= 1;
    hugeLength[7] = '\x7f';  // cbData 0x7F00000B
    std::vector<UniqueFd> held;
    auto send = [&](const std::string& bytes) {
        UniqueFd fd = ConnectLocal(socket);
        if (!fd.Valid()) return;
        WriteFully(fd.Get(), bytes.data(), bytes.size(),
                   std::chrono::steady_clock::now() + std::chrono::seconds(1));
        held.push_back(std::move(fd));
    };
    send(good.substr(0, 11));
    send(wrongSignature);
    send(hugeLength);
    send(good.substr(0, 6));
    ::shutdown(held.back().Get(), SHUT_WR);
    for (int i = 0; i < 1000; ++i)
        send({});
    std::this_thread::sleep_for(hold);
}

}  // namespace

TEST_F(FrameHandOff, AbusedHandOffNeverStallsTheFrameAndOpensNothing) {
    TTarnwickEditor frame(paths_, {});
    ShowAndSettle(frame);
    const qsizetype before = frame.MdiArea()->subWindowList().size();
    std::atomic<bool> done = false;
    // Held past the receiver's time limit, so that dropping them is measured too.
    std::thread abuser([&] {
        AbuseHandOff(paths_.SocketFor(::getpid()), kHandOffReadTimeout + std::chrono::seconds(1));
        done = true;
    });
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    sinceTick.start();
    ticker.start(5);
    while (!done)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    abuser.join();
    ticker.stop();
    EXPECT_LT(longestGap, 100) << "the frame did not answer for that many milliseconds";
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), before);

    const std::string after = File("after.txt");
    EXPECT_EQ(SecondStart({QString::fromStdString(after)}), 0);
    EXPECT_TRUE(WaitFor([&] { return frame.DocumentCount() == before + 1; }))
        << "a good hand-off still arrives once the abuse is over";
    EXPECT_TRUE(messages_.shown.empty());
}
