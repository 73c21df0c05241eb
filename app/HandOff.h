/** @file Program start across instances: hand files to a running instance or become one. */
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/os/InstanceMarker.h"
#include "platform/os/InstancePaths.h"
#include "platform/os/UniqueFd.h"

namespace tw {

class TStream;
class TCommonMemoryStream;

constexpr uint32_t HandOffSignature = 0x15393861;
constexpr int32_t kCommonMemorySize = 20480;
/// The largest cbData a receiver takes: a file name and its NUL.
constexpr uint32_t kMaxHandOffData = 64 * 1024;
/// How long a receiver waits for the rest of a message before dropping it.
constexpr std::chrono::milliseconds kHandOffReadTimeout{2000};

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
/// arrive on.
class HandOffHost {
  public:
    explicit HandOffHost(InstancePaths paths);
    ~HandOffHost();
    HandOffHost(const HandOffHost&) = delete;
    HandOffHost& operator=(const HandOffHost&) = delete;

    /// Maps the shared block, starts listening and records (singleInstance ? 1 : 0)
    /// and this process id. False on any failure, leaving nothing behind.
    bool Publish(bool singleInstance);
    /// -1 when not listening; readable when connections wait.
    int ListenFd() const { return listener_.Get(); }
    /// Takes every waiting connection and calls openFile(name) for each valid
    /// message before replying 0. Invalid messages only get the reply. Each
    /// connection is given kHandOffReadTimeout to deliver its message.
    void HandleReady(const std::function<void(const std::string&)>& openFile);
    /// Unmaps the block and stops listening.
    void Close();

  private:
    InstancePaths paths_;
    std::unique_ptr<TCommonMemoryStream> commonMemory_;
    UniqueFd listener_;
    std::string socketPath_;
};

}  // namespace tw
