// Settings and clipboard history on disk. Reading never fails loudly for a
// missing or damaged settings file: a start must always get a usable record.
#include "settings/SettingsStore.h"

#include <algorithm>
#include <filesystem>

#include "textstore/InputFile.h"
#include "textstore/SafeFileWriter.h"

namespace tw {

namespace {

constexpr std::string_view kLineBreak{"\r\n", 2};
constexpr std::string_view kEntryEnd{"\x03", 1};

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

OptionFile LoadOptionFile(const std::string& folder) {
    // One byte more than a record, to tell a file that is too long.
    const FilePrefix file = ReadFilePrefix(PathIn(folder, kOptionFileName), kOptionDataSize + 1);
    if (file.missing) return {OptionData(), false};
    // Anything but a whole record this program wrote is the user's to keep:
    // it is reported, and left alone until the settings change.
    if (file.failed || file.bytes.size() < kOptionDataSize)
        return {DefaultsKeepingHistories(file.bytes), true};
    if (!IsPlausibleOptionImage(file.bytes)) return {OptionData(), true};
    return {OptionData::FromBytes(file.bytes), file.bytes.size() != kOptionDataSize};
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
    const FilePrefix file = ReadFilePrefix(PathIn(folder, kClipFileName), kClipFileReadLimit + 1);
    if (file.failed) {
        h.ReadFailed = true;
        return h;
    }
    h.ClipItems = ParseClipHistory(std::string_view(file.bytes).substr(0, kClipFileReadLimit));
    h.ClipCount = static_cast<int32_t>(h.ClipItems.size());
    // Every file this program writes reads back to the same bytes; one that
    // does not was cut short, grown past any history, or is no history at all.
    h.ReadFailed = FormatClipHistory(h.ClipItems, h.ClipCount) != file.bytes;
    return h;
}

void SaveClipHistory(const std::string& folder, const std::vector<std::string>& clipItems,
                     int32_t clipCount) {
    WriteFile(PathIn(folder, kClipFileName), FormatClipHistory(clipItems, clipCount));
}

}  // namespace tw
