// Settings and clipboard history on disk. Reading never fails loudly for a
// missing or damaged settings file: a start must always get a usable record.
#include "settings/SettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "textstore/InputFile.h"
#include "textstore/SafeFileWriter.h"

namespace tw {

namespace {

constexpr std::string_view kLineBreak{"\r\n", 2};
constexpr std::string_view kEntryEnd{"\x03", 1};

struct FilePrefix {
    std::string bytes;
    /// The file is there but could not be read whole.
    bool failed = false;
};

/// Reads at most `limit` bytes. Only a regular file is read: opening a FIFO
/// or a device under the same name would hang or never end.
FilePrefix ReadPrefix(const std::string& path, size_t limit) {
    FilePrefix out;
    const ReadableFile file = OpenRegularFile(path);
    if (file.fd < 0) {
        out.failed = !file.Missing();
        return out;
    }
    const int fd = file.fd;
    char buf[8192];
    while (out.bytes.size() < limit) {
        const ssize_t r = ::read(fd, buf, std::min(sizeof buf, limit - out.bytes.size()));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) out.failed = true;
        if (r <= 0) break;
        out.bytes.append(buf, static_cast<size_t>(r));
    }
    ::close(fd);
    return out;
}

std::string PathIn(const std::string& folder, const char* name) {
    return (std::filesystem::path(folder) / name).string();
}

/// Defaults for everything the defaults reset; what was read for the rest.
OptionData DefaultsKeepingHistories(std::string_view bytes) {
    const OptionData read = OptionData::FromBytes(bytes);
    OptionData d;
    d.WindowState = read.WindowState;
    d.ReadHistory = read.ReadHistory;
    d.FindHistory = read.FindHistory;
    return d;
}

/// Walks a text line by line; a line ends at CR LF, the last one at the end.
class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : rest_(text) {}

    bool Next(std::string_view& line) {
        if (done_ || rest_.empty()) return false;
        const size_t end = rest_.find(kLineBreak);
        if (end == std::string_view::npos) {
            line = rest_;
            done_ = true;
            return true;
        }
        line = rest_.substr(0, end);
        rest_.remove_prefix(end + kLineBreak.size());
        return true;
    }

  private:
    std::string_view rest_;
    bool done_ = false;
};

bool Storable(std::string_view entry) {
    LineCursor lines(entry);
    for (std::string_view line; lines.Next(line);)
        if (line == kEntryEnd) return false;
    return true;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    SafeFileWriter w(path);
    w.Write(bytes);
    w.Commit();
}

}  // namespace

OptionData OptionDataFromFileBytes(std::string_view bytes) {
    if (bytes.size() < kOptionDataSize) return DefaultsKeepingHistories(bytes);
    return OptionData::FromBytes(bytes);
}

OptionFile LoadOptionFile(const std::string& folder) {
    const FilePrefix file = ReadPrefix(PathIn(folder, kOptionFileName), kOptionDataSize);
    if (file.failed) return {DefaultsKeepingHistories(file.bytes), true};
    return {OptionDataFromFileBytes(file.bytes), false};
}

OptionData LoadOptionData(const std::string& folder) {
    return LoadOptionFile(folder).Data;
}

void SaveOptionData(const std::string& folder, const OptionData& data) {
    WriteFile(PathIn(folder, kOptionFileName), data.ToBytes());
}

std::vector<std::string> ParseClipHistory(std::string_view bytes) {
    std::vector<std::string> items;
    std::string entry;
    bool gathering = false;
    LineCursor lines(bytes);
    for (std::string_view line; items.size() < kClipHistoryMax && lines.Next(line);) {
        if (line == kEntryEnd) {
            items.push_back(std::move(entry));
            entry.clear();
            gathering = false;
            continue;
        }
        if (gathering) entry += kLineBreak;
        entry += line;
        gathering = true;
    }
    return items;
}

std::string FormatClipHistory(const std::vector<std::string>& clipItems, int32_t clipCount) {
    const size_t count =
        std::min({static_cast<size_t>(std::max(clipCount, 0)), kClipHistoryMax, clipItems.size()});
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        if (!Storable(clipItems[i])) continue;
        out.append(clipItems[i]).append(kLineBreak);
        out.append(kEntryEnd).append(kLineBreak);
    }
    return out;
}

ClipHistory LoadClipHistory(const std::string& folder) {
    ClipHistory h;
    const FilePrefix file = ReadPrefix(PathIn(folder, kClipFileName), kClipFileReadLimit);
    if (file.failed) {
        h.ReadFailed = true;
        return h;
    }
    h.ClipItems = ParseClipHistory(file.bytes);
    h.ClipCount = static_cast<int32_t>(h.ClipItems.size());
    return h;
}

void SaveClipHistory(const std::string& folder, const std::vector<std::string>& clipItems,
                     int32_t clipCount) {
    WriteFile(PathIn(folder, kClipFileName), FormatClipHistory(clipItems, clipCount));
}

}  // namespace tw
