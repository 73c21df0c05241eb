/** @file A document's automatic backup into the day's folder of the backup store. */
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Timer.h"
#include "settings/BackupStore.h"

namespace tw {

class IMessageBox;
class TVellEdit;
struct OptionData;

inline constexpr const char* kFolderDeleteFailedMessage = "フォルダの削除に失敗しました。";

/// Backs one document's text up on every tick of its timer, when the text
/// changed since the last backup (or always, with SameFile), and keeps only
/// BackupDays day folders. The settings are read at every tick, so changed
/// options take effect at the next one.
class TAutoBackup {
  public:
    using Clock = std::function<LocalTime()>;

    TAutoBackup(const TVellEdit& edit, const OptionData& options, std::string programFolder,
                std::unique_ptr<ITimer> timer, IMessageBox& messages, Clock clock = LocalNow);

    /// The document's caption: its full file name, or "NONAME" + a number.
    std::function<std::string()> Caption;
    /// A backup could not be written (true, once until one is written again)
    /// or is written again after such a failure (false).
    std::function<void(bool failing)> OnWriteFailure;

    /// The window's first showing: the timer runs while backup is on.
    void Start();
    /// Sets the timer from the settings again (after the options change).
    void ApplyInterval();
    /// One tick: one backup at most, then the pruning.
    void TimeAutoSaveTimer();
    /// Deletes the oldest day folder of `dir` when there are more than BackupDays.
    void EnumFiles(const std::string& dir);
    /// Deletes a folder with all it holds; says so when that fails.
    bool DeleteFolders(const std::string& path);

    ITimer& TimeAutoSave() { return *timer_; }

    /// The text of the last backup; empty before the first.
    std::string LastBackupText;
    /// "hh.mm.ss" of the last backup, or of the window's first showing.
    std::string LastBackupTime;

  private:
    bool WriteBackup(const std::string& text, const LocalTime& now);

    const TVellEdit& edit_;
    const OptionData& options_;
    std::string programFolder_;
    std::unique_ptr<ITimer> timer_;
    IMessageBox& messages_;
    Clock clock_;
    bool failing_ = false;
    bool ticking_ = false;
};

}  // namespace tw
