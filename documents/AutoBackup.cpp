#include "documents/AutoBackup.h"

#include <filesystem>

#include "editor/VellEdit.h"
#include "platform/MessageBox.h"
#include "settings/ApplySettings.h"
#include "settings/OptionData.h"

namespace tw {

namespace fs = std::filesystem;

namespace {

std::string FileNamePart(const std::string& caption) {
    const size_t slash = caption.rfind('/');
    return slash == std::string::npos ? caption : caption.substr(slash + 1);
}

}  // namespace

TAutoBackup::TAutoBackup(const TVellEdit& edit, const OptionData& options,
                         std::string programFolder, std::unique_ptr<ITimer> timer,
                         IMessageBox& messages, Clock clock)
    : edit_(edit),
      options_(options),
      programFolder_(std::move(programFolder)),
      timer_(std::move(timer)),
      messages_(messages),
      clock_(std::move(clock)) {}

void TAutoBackup::Start() {
    if (!options_.AutoSave) return;
    ApplyInterval();
    LastBackupTime = BackupTimeText(clock_());
}

void TAutoBackup::ApplyInterval() {
    const int32_t interval = BackupTimerInterval(options_);
    if (interval > 0)
        timer_->Start(interval, [this] { TimeAutoSaveTimer(); });
    else
        timer_->Stop();
}

void TAutoBackup::TimeAutoSaveTimer() {
    // A failed deletion's message lets ticks run while it shows.
    if (ticking_) return;
    ticking_ = true;
    std::string text = edit_.GetAllText();
    if (options_.SameFile || text != LastBackupText) {
        // One reading of the clock: at midnight the folder and the name
        // must be of the same day.
        const LocalTime now = clock_();
        if (WriteBackup(text, now)) {
            LastBackupText = std::move(text);
            LastBackupTime = BackupTimeText(now);
            EnumFiles(BackupRoot(programFolder_));
        }
    }
    ticking_ = false;
}

bool TAutoBackup::WriteBackup(const std::string& text, const LocalTime& now) {
    const fs::path day = fs::path(BackupRoot(programFolder_)) / DayFolderName(now);
    std::error_code ec;
    fs::create_directories(day, ec);  // a failure shows in the save that follows
    const std::string name = BackupTimeText(now) + FileNamePart(Caption ? Caption() : "");
    const bool written = edit_.SaveToFile((day / name).string());
    // The text stays the last one backed up when writing fails, so the next
    // tick tries again; the user hears of it once, not at every tick.
    if (written == failing_) {
        failing_ = !written;
        if (OnWriteFailure) OnWriteFailure(failing_);
    }
    return written;
}

void TAutoBackup::EnumFiles(const std::string& dir) {
    int32_t count = 0;
    int oldest = 9999999;
    std::string name;
    for (const StoreEntry& entry : ListStoreFolder(dir)) {
        if (!entry.folder) continue;
        // A folder not named as a day is the user's: neither counted nor deleted.
        const std::optional<int> day = DayNumber(entry.name);
        if (!day) continue;
        ++count;
        if (*day < oldest) {
            oldest = *day;
            name = entry.name;
        }
    }
    const int32_t keep = SaneBackupDays(options_);
    if (keep != 0 && count > keep) DeleteFolders((fs::path(dir) / name).string());
}

bool TAutoBackup::DeleteFolders(const std::string& path) {
    if (DeleteStoreFolder(path)) return true;
    messages_.Show(kFolderDeleteFailedMessage, "Tarnwick Editor", MessageButtons::Ok,
                   MessageIcon::Warning);
    return false;
}

}  // namespace tw
