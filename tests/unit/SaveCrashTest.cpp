// A save killed part way through: the document save of a few megabytes runs in
// a child process that is killed at every call it makes to the disk, and at
// moments spread over a whole save. The file must be the old or the new one
// whole each time; the temporary files the kills leave go with the next save.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>

#include "support/FaultyFileCalls.h"
#include "support/TempDir.h"
#include "textstore/LineStore.h"
#include "textstore/SafeFileWriter.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

/// Lines of `width` bytes that say which text and which line they belong to.
std::string Lines(char mark, size_t count, size_t width) {
    std::string text;
    text.reserve(count * (width + 2));
    for (size_t i = 0; i < count; ++i) {
        std::string line = mark + std::to_string(i);
        line.resize(width, mark);
        text += line + "\r\n";
    }
    return text;
}

/// Starts the save in a child; `prepare` runs there first. Returns the child.
pid_t SaveInChild(const TVellStrings& text, const std::string& path,
                  const std::function<void()>& prepare) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        prepare();
        try {
            text.SaveToFile(path);
        } catch (...) {
            _exit(3);
        }
        _exit(0);
    }
    return pid;
}

bool KilledBySigkill(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace

TEST(SaveCrash, AKilledSaveLeavesTheOldOrTheNewFileWholeAndTheNextSaveCleansUp) {
    const std::string oldText = Lines('o', 40000, 78);  // 3.2 MB
    const std::string newText = Lines('n', 30000, 98);  // 3.0 MB
    TVellStrings text;
    text.SetText(newText + "\0\0"s);
    TempDir dir;
    const std::string path = dir.File("doc.txt");
    // Writes in pieces smaller than the writer's buffer, so that kills fall
    // between the pieces of one buffer too.
    constexpr size_t kPiece = 40000;

    size_t calls = 0;
    auto started = std::chrono::steady_clock::now();
    {
        FaultyFileCalls counter;
        counter.writeLimit = kPiece;
        text.SaveToFile(path);
        calls = counter.calls.size();
    }
    const auto saveTime = std::chrono::steady_clock::now() - started;
    ASSERT_GT(calls, newText.size() / kPiece);

    int oldSeen = 0, newSeen = 0;
    auto expectWhole = [&](const std::string& when) {
        const std::string now = ReadFile(path);
        EXPECT_TRUE(now == oldText || now == newText)
            << when << ": " << now.size() << " bytes, neither the old nor the new text";
        (now == oldText ? oldSeen : newSeen)++;
        Rewrite(path, oldText);
    };
    Rewrite(path, oldText);
    for (size_t n = 0; n < calls; ++n) {
        const pid_t child = SaveInChild(text, path, [n] {
            static FaultyFileCalls killer;
            killer.writeLimit = kPiece;
            killer.before = [n](FileCall, int index) {
                if (static_cast<size_t>(index) == n) ::raise(SIGKILL);
            };
        });
        ASSERT_GT(child, 0);
        ASSERT_TRUE(KilledBySigkill(child)) << "before call " << n;
        expectWhole("killed before call " + std::to_string(n));
    }
    // (A timed kill may come too late, and that save cleans up.)
    EXPECT_GT(FileNames(dir.path()).size(), 1u) << "no kill left a temporary file to clean up";
    constexpr int kTimedKills = 20;
    for (int k = 0; k < kTimedKills; ++k) {
        const pid_t child = SaveInChild(text, path, [] {});
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(saveTime * k / kTimedKills);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        expectWhole("killed after " + std::to_string(k) + "/" + std::to_string(kTimedKills) +
                    " of a save's time");
    }
    EXPECT_GT(oldSeen, 0);
    EXPECT_GT(newSeen, 0);

    text.SaveToFile(path);
    EXPECT_EQ(ReadFile(path), newText);
    EXPECT_EQ(FileNames(dir.path()), std::set<std::string>{"doc.txt"})
        << "the successful save left temporary files of killed saves";
}

TEST(SaveCrash, TheCleanupSparesTheTemporaryFileOfASaveStillRunning) {
    TempDir dir;
    const std::string path = dir.Write("doc.txt", "old");
    auto saveOver = [&](const char* text) {
        SafeFileWriter out(path);
        out.Write(text);
        out.Commit();
    };
    {  // another save ends while this one writes
        SafeFileWriter first(path);
        first.Write("first");
        saveOver("second");
        EXPECT_NO_THROW(first.Commit());
        EXPECT_EQ(ReadFile(path), "first");
    }
    {  // ... and just before this one's rename
        FaultyFileCalls calls;
        bool interrupted = false;
        calls.before = [&](FileCall call, int) {
            if (call != FileCall::Rename || interrupted) return;
            interrupted = true;
            saveOver("second");
        };
        EXPECT_NO_THROW(saveOver("third"));
        EXPECT_TRUE(interrupted);
        EXPECT_EQ(ReadFile(path), "third");
    }
    EXPECT_EQ(FileNames(dir.path()), std::set<std::string>{"doc.txt"});
}
