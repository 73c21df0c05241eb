/** @file The backup store in the program folder: "BackUp", one folder per day, one file per backup.
 */
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

inline constexpr const char* kBackupFolderName = "BackUp";
/// A backup's name is its "hh.mm.ss" time followed by the document's file name.
inline constexpr size_t kBackupTimeLength = 8;

/// A moment of the local clock, as the backup names spell it.
struct LocalTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

/// The local clock now.
LocalTime LocalNow();

/// program folder + "/BackUp".
std::string BackupRoot(const std::string& programFolder);
/// "yy-mm-dd": the day folder of a backup taken at `t`.
std::string DayFolderName(const LocalTime& t);
/// "hh.mm.ss", 24-hour clock.
std::string BackupTimeText(const LocalTime& t);
/// A day folder's date as the number yymmdd. Only the names the backups
/// themselves give ("yy-mm-dd") have one: any other folder is the user's.
std::optional<int> DayNumber(std::string_view folderName);

/// The document's file name a backup file stands for (from the 9th byte on;
/// empty for a shorter name) and the time stamp it was taken at.
std::string BackupDocumentName(std::string_view backupName);
std::string BackupTimeStamp(std::string_view backupName);

struct StoreEntry {
    std::string name;
    bool folder = false;
};

/// The folders and regular files in `dir`, sorted by name so that days and
/// times come in order whatever order the file system keeps; empty when the
/// folder is missing or cannot be read.
std::vector<StoreEntry> ListStoreFolder(const std::string& dir);

/// Deletes a folder and everything in it, without asking; false when some
/// of it could not be deleted.
bool DeleteStoreFolder(const std::string& path);

}  // namespace tw
