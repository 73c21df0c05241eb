/** @file Program start across instances: hand files to a running instance or become one. */
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/HandOffMessage.h"
#include "platform/os/EventPoll.h"
#include "platform/os/InstanceMarker.h"
#include "platform/os/InstancePaths.h"
#include "platform/os/UniqueFd.h"

namespace tw {

class TStream;
class TCommonMemoryStream;

constexpr int32_t kCommonMemorySize = 20480;
/// How long a receiver waits for the rest of a message before dropping it.
constexpr std::chrono::milliseconds kHandOffReadTimeout{2000};
/// Connections a receiver reads at once; any more are hung up on at once,
/// and their senders open their files as instances of their own.
constexpr size_t kMaxPendingHandOffs = 32;

/// The record at the start of the shared block (little-endian, unaligned):
/// byte 0 the flag, bytes 1..4 the receiving instance's process id.
struct HandOffRecord {
    uint8_t flag = 0;
    uint32_t handle = 0;
    bool AcceptsFiles() const { return flag == 1; }
};
/// Read and write at the stream's current position (5 bytes).
HandOffRecord ReadHandOffRecord(TStream& stream);
void WriteHandOffRecord(TStream& stream, const HandOffRecord& record);

struct EntryResult {
    bool handedOff = false;
    std::vector<std::string> filesToOpen;
};

/// The start of the program. `args` are the command-line arguments without the
/// program name. handedOff: a running instance took the files, or wants none
/// sent; return 0 from main now. Otherwise this process now holds the
/// instance marker (kept by `marker`, which must outlive the program) and must
/// open filesToOpen itself: every argument in order, or, when a hand-off broke
/// off because the receiver was gone, those it did not take.
/// Throws std::runtime_error when the lock file cannot be used.
EntryResult RunProgramEntry(const InstancePaths& paths, const std::vector<std::string>& args,
                            InstanceMarker& marker);

/// Sends one file name to the instance listening on `socketPath` and waits for
/// its reply, however long it takes to open the file. False when it was not
/// delivered: nobody listens there, the name is too long, or the receiver went
/// away before it replied.
bool SendHandOff(const std::string& socketPath, const std::string& fileName);

/// True when an instance listens on `socketPath`; connects and hangs up.
bool InstanceAnswers(const std::string& socketPath);

/// The frame's side: the record saying where hand-offs go, and the socket they
/// arrive on. It never waits for a sender: the frame serves it from its event
/// loop, and a sender that stalls must not stall the frame.
class HandOffHost {
  public:
    explicit HandOffHost(InstancePaths paths,
                         std::chrono::milliseconds readTimeout = kHandOffReadTimeout);
    ~HandOffHost();
    HandOffHost(const HandOffHost&) = delete;
    HandOffHost& operator=(const HandOffHost&) = delete;

    /// Maps the shared block, starts listening and records (singleInstance ? 1 : 0)
    /// and this process id. False on any failure, leaving nothing behind.
    bool Publish(bool singleInstance);
    /// -1 when not listening.
    int ListenFd() const { return listener_.Get(); }
    /// -1 when not listening; readable whenever HandleReady has work: a
    /// connection waits, or bytes or a hang-up came on one being read.
    int WatchFd() const { return poll_ ? poll_->Fd() : -1; }
    /// Does what can be done without waiting. Takes the waiting connections,
    /// hanging up at once on another user's and on those past
    /// kMaxPendingHandOffs; reads what has come on each; for each message now
    /// whole calls openFile(name), then replies 0. A refused message, and one
    /// not whole within the read timeout, get the reply alone; a sender that
    /// hangs up half-way gets nothing.
    void HandleReady(const std::function<void(const std::string&)>& openFile);
    /// How soon HandleReady must run again to drop a sender that stalls;
    /// nullopt while no message is half read.
    std::optional<std::chrono::milliseconds> TimeToNextDeadline() const;
    size_t PendingConnections() const { return pending_.size(); }
    /// Unmaps the block and stops listening.
    void Close();

  private:
    /// A connection whose message is still coming.
    struct Pending {
        UniqueFd fd;
        HandOffMessageReader reader;
        std::chrono::steady_clock::time_point deadline;
    };
    enum class Progress { kWaiting, kDone, kHungUp };

    void AcceptWaiting();
    static Progress ReadAvailable(Pending& connection);

    InstancePaths paths_;
    std::chrono::milliseconds readTimeout_;
    std::unique_ptr<TCommonMemoryStream> commonMemory_;
    UniqueFd listener_;
    std::unique_ptr<EventPoll> poll_;
    std::vector<Pending> pending_;  ///< in the order they came
    std::string socketPath_;
};

}  // namespace tw
