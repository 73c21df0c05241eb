/** @file What the backup history browser lists and opens, free of the toolkit. */
#pragma once

#include <string>
#include <vector>

namespace tw {

class IMessageBox;

inline constexpr const char* kSelectFileMessage = "ファイルを選択してください。";
inline constexpr const char* kDeleteAllCaption = "バックアップの削除";
inline constexpr const char* kDeleteAllQuestion = "全てのバックアップを削除しますか？";

/// One day folder of the backup store and the documents backed up that day.
struct BackupDay {
    std::string name;
    /// Each document's file name once, in the order of its first backup.
    std::vector<std::string> files;
};

/// The day folders of the store at `backupRoot` in name order. Files lying
/// outside a day folder are no backups and are left out.
std::vector<BackupDay> EnumBackupDays(const std::string& backupRoot);

/// The time stamps of the backups of `fileName` in the day folder `dayDir`,
/// earliest first.
std::vector<std::string> SearchBackupTimes(const std::string& dayDir, const std::string& fileName);

/// The backup of `fileName` taken on `day` at `time`.
std::string BackupFilePath(const std::string& programFolder, const std::string& day,
                           const std::string& time, const std::string& fileName);

/// The extension of a document's file name with its dot ("" when it has none).
std::string FileExtension(const std::string& fileName);

/// The title of a backup opened as a new text: "NONAME" + (open documents +
/// 1), or the next number that no open document is titled with, so that the
/// backup never goes into a text the user already has open.
std::string BackupDocumentTitle(const std::vector<std::string>& openCaptions);

/// What the browser asks of the program around it.
class IBackupHistoryHost {
  public:
    virtual ~IBackupHistoryHost() = default;
    virtual IMessageBox& Messages() = 0;
    /// Opens `bytes` as a new untitled text with the caret at its start.
    virtual void OpenBackupText(const std::string& bytes) = 0;
};

}  // namespace tw
