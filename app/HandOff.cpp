#include "app/HandOff.h"

#include <unistd.h>

#include <algorithm>
#include <optional>

#include "app/SharedBlockStream.h"
#include "platform/os/LocalSocket.h"
#include "platform/os/SharedMemory.h"

namespace tw {
namespace {

void PutLE32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetLE32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

std::string EncodeMessage(const std::string& fileName) {
    uint8_t header[8];
    PutLE32(header, HandOffSignature);
    PutLE32(header + 4, static_cast<uint32_t>(fileName.size() + 1));
    std::string message(reinterpret_cast<const char*>(header), sizeof header);
    message += fileName;
    message += '\0';
    return message;
}

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

// Nothing in a message is trusted: the sender may be any program of this user.
std::optional<std::string> ReceiveFileName(int fd) {
    std::optional<uid_t> peer = PeerUid(fd);
    if (!peer || *peer != ::geteuid()) return std::nullopt;
    auto deadline = std::chrono::steady_clock::now() + kHandOffReadTimeout;
    uint8_t header[8];
    if (!ReadFully(fd, header, sizeof header, deadline)) return std::nullopt;
    uint32_t cbData = GetLE32(header + 4);
    if (GetLE32(header) != HandOffSignature || cbData == 0 || cbData > kMaxHandOffData)
        return std::nullopt;
    std::string data(cbData, '\0');
    if (!ReadFully(fd, data.data(), cbData, deadline)) return std::nullopt;
    data.resize(std::min<size_t>(data.find('\0'), cbData));
    if (data.empty()) return std::nullopt;
    return data;
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
    std::string message = EncodeMessage(fileName);
    if (!WriteFully(fd.Get(), message.data(), message.size(), std::nullopt)) return false;
    // No time limit: the receiver replies once the file is open, which may wait
    // on its user (a message box); a receiver that dies ends the wait.
    uint8_t reply[4];
    return ReadFully(fd.Get(), reply, sizeof reply, std::nullopt);
}

bool InstanceAnswers(const std::string& socketPath) {
    return ConnectLocal(socketPath).Valid();
}

HandOffHost::HandOffHost(InstancePaths paths) : paths_(std::move(paths)) {}

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
        WriteHandOffRecord(*commonMemory_, {static_cast<uint8_t>(singleInstance ? 1 : 0), pid});
        return true;
    } catch (const std::exception&) {
        Close();
        return false;
    }
}

void HandOffHost::HandleReady(const std::function<void(const std::string&)>& openFile) {
    // openFile may run a nested event loop that closes this host.
    while (listener_.Valid()) {
        UniqueFd connection = AcceptLocal(listener_.Get());
        if (!connection.Valid()) return;
        if (std::optional<std::string> name = ReceiveFileName(connection.Get())) openFile(*name);
        const uint8_t reply[4] = {0, 0, 0, 0};
        WriteFully(connection.Get(), reply, sizeof reply,
                   std::chrono::steady_clock::now() + kHandOffReadTimeout);
    }
}

void HandOffHost::Close() {
    if (listener_.Valid()) {
        listener_.Reset();
        ::unlink(socketPath_.c_str());
    }
    socketPath_.clear();
    commonMemory_.reset();
}

}  // namespace tw
