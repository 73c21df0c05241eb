#include "app/HandOff.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include "app/SharedBlockStream.h"
#include "platform/os/LocalSocket.h"
#include "platform/os/SharedMemory.h"

namespace tw {
namespace {

// A block that cannot be opened is treated like one that asks for no hand-off:
// the start then runs as an instance of its own rather than losing its files.
std::optional<HandOffRecord> ReadPublishedRecord(const InstancePaths& paths) {
    try {
        TCommonMemoryStream memory(paths.sharedMemoryName, kCommonMemorySize);
        return ReadHandOffRecord(memory);
    } catch (const FileCreateError&) {
        return std::nullopt;
    }
}

// True when the running instance took the files or wants none sent.
// `delivered` counts the arguments it took before a failure.
bool HandOffToRunningInstance(const InstancePaths& paths, const std::vector<std::string>& args,
                              size_t& delivered) {
    delivered = 0;
    std::optional<HandOffRecord> record = ReadPublishedRecord(paths);
    if (!record || !record->AcceptsFiles()) return false;
    if (record->handle == 0) return true;
    std::string socket = paths.SocketFor(record->handle);
    auto count = static_cast<size_t>(std::find(args.begin(), args.end(), "") - args.begin());
    // Even with nothing to send, a record naming a crashed instance must not
    // make this start vanish.
    if (count == 0) return InstanceAnswers(socket);
    for (; delivered < count; ++delivered) {
        if (!SendHandOff(socket, args[delivered])) return false;
    }
    return true;
}

}  // namespace

HandOffRecord ReadHandOffRecord(TStream& stream) {
    HandOffRecord record;
    uint8_t handle[4];
    stream.ReadBuffer(&record.flag, 1);
    stream.ReadBuffer(handle, sizeof handle);
    record.handle = GetLE32(handle);
    return record;
}

void WriteHandOffRecord(TStream& stream, const HandOffRecord& record) {
    // The handle goes in before the flag: a start reading in between must not
    // find a fresh block's handle 0 under flag 1, which would make it end
    // silently with its files.
    int32_t start = stream.Position();
    uint8_t handle[4];
    PutLE32(handle, record.handle);
    stream.Seek(start + 1, kFromBeginning);
    stream.WriteBuffer(handle, sizeof handle);
    stream.Seek(start, kFromBeginning);
    stream.WriteBuffer(&record.flag, 1);
    stream.Seek(start + 5, kFromBeginning);
}

EntryResult RunProgramEntry(const InstancePaths& paths, const std::vector<std::string>& args,
                            InstanceMarker& marker) {
    if (!marker.InstanceExists(paths)) {
        // Whatever the block says was written by instances that are all gone.
        RecreateSharedMemory(paths.sharedMemoryName, kCommonMemorySize);
        marker.Hold();
        return {false, args};
    }
    size_t delivered = 0;
    if (HandOffToRunningInstance(paths, args, delivered)) return {true, {}};
    marker.Hold();
    auto rest = args.begin() + static_cast<std::ptrdiff_t>(delivered);
    return {false, std::vector<std::string>(rest, args.end())};
}

bool SendHandOff(const std::string& socketPath, const std::string& fileName) {
    if (fileName.size() >= kMaxHandOffData) return false;
    UniqueFd fd = ConnectLocal(socketPath);
    if (!fd.Valid()) return false;
    std::optional<uid_t> owner = PeerUid(fd.Get());
    if (!owner || *owner != ::geteuid()) return false;
    std::string message = EncodeHandOffMessage(fileName);
    if (!WriteFully(fd.Get(), message.data(), message.size(), std::nullopt)) return false;
    // No time limit: the receiver replies once the file is open, which may wait
    // on its user (a message box); a receiver that dies ends the wait.
    uint8_t reply[4];
    return ReadFully(fd.Get(), reply, sizeof reply, std::nullopt);
}

bool InstanceAnswers(const std::string& socketPath) {
    return ConnectLocal(socketPath).Valid();
}

HandOffHost::HandOffHost(InstancePaths paths, std::chrono::milliseconds readTimeout)
    : paths_(std::move(paths)), readTimeout_(readTimeout) {}

HandOffHost::~HandOffHost() {
    Close();
}

bool HandOffHost::Publish(bool singleInstance) {
    Close();
    try {
        commonMemory_ =
            std::make_unique<TCommonMemoryStream>(paths_.sharedMemoryName, kCommonMemorySize);
        auto pid = static_cast<uint32_t>(::getpid());
        // Listening before the record names us, so that nobody is turned away.
        listener_ = ListenLocal(paths_.SocketFor(pid));
        socketPath_ = paths_.SocketFor(pid);
        poll_ = std::make_unique<EventPoll>();
        poll_->Add(listener_.Get());
        WriteHandOffRecord(*commonMemory_, {static_cast<uint8_t>(singleInstance ? 1 : 0), pid});
        return true;
    } catch (const std::exception&) {
        Close();
        return false;
    }
}

void HandOffHost::HandleReady(const std::function<void(const std::string&)>& openFile) {
    AcceptWaiting();
    const auto now = std::chrono::steady_clock::now();
    for (size_t i = 0; i < pending_.size();) {
        const Progress progress = ReadAvailable(pending_[i]);
        if (progress == Progress::kWaiting && now < pending_[i].deadline) {
            ++i;
            continue;
        }
        Pending done = std::move(pending_[i]);
        pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(i));
        poll_->Remove(done.fd.Get());
        if (progress == Progress::kHungUp) continue;
        // openFile may run a nested event loop that serves or closes this host.
        if (done.reader.Current() == HandOffMessageReader::State::kComplete)
            openFile(done.reader.FileName());
        const uint8_t reply[4] = {0, 0, 0, 0};
        WriteFully(done.fd.Get(), reply, sizeof reply, std::chrono::steady_clock::now());
        if (!listener_.Valid()) return;
    }
}

void HandOffHost::AcceptWaiting() {
    const auto deadline = std::chrono::steady_clock::now() + readTimeout_;
    while (listener_.Valid()) {
        UniqueFd connection = AcceptLocal(listener_.Get());
        if (!connection.Valid()) return;
        // Hung up on unread: only this user's programs may hand over files,
        // and a flood must not hold more than a few descriptors here.
        const std::optional<uid_t> peer = PeerUid(connection.Get());
        if (!peer || *peer != ::geteuid() || pending_.size() >= kMaxPendingHandOffs) continue;
        try {
            poll_->Add(connection.Get());
        } catch (const std::system_error&) {
            continue;
        }
        pending_.push_back({std::move(connection), {}, deadline});
    }
}

HandOffHost::Progress HandOffHost::ReadAvailable(Pending& connection) {
    char buffer[4096];
    while (connection.reader.Current() == HandOffMessageReader::State::kIncomplete) {
        const size_t want = std::min(sizeof buffer, connection.reader.Wanted());
        const ssize_t n = ::recv(connection.fd.Get(), buffer, want, MSG_DONTWAIT);
        if (n > 0) {
            connection.reader.Feed(std::string_view(buffer, static_cast<size_t>(n)));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return Progress::kWaiting;
        } else {
            return Progress::kHungUp;
        }
    }
    return Progress::kDone;
}

std::optional<std::chrono::milliseconds> HandOffHost::TimeToNextDeadline() const {
    if (pending_.empty()) return std::nullopt;
    auto first = pending_.front().deadline;
    for (const Pending& p : pending_)
        first = std::min(first, p.deadline);
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(first - std::chrono::steady_clock::now());
    return std::max(left, std::chrono::milliseconds(0));
}

void HandOffHost::Close() {
    pending_.clear();
    poll_.reset();
    if (listener_.Valid()) {
        listener_.Reset();
        ::unlink(socketPath_.c_str());
    }
    socketPath_.clear();
    commonMemory_.reset();
}

}  // namespace tw
