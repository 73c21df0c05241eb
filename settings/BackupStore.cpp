#include "settings/BackupStore.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace tw {

namespace fs = std::filesystem;

namespace {

std::string TwoDigitTriple(int a, int b, int c, char separator) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%c%02d%c%02d", a % 100, separator, b % 100, separator,
                  c % 100);
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

LocalTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string BackupRoot(const std::string& programFolder) {
    return (fs::path(programFolder) / kBackupFolderName).string();
}

std::string DayFolderName(const LocalTime& t) {
    return TwoDigitTriple(t.year, t.month, t.day, '-');
}

std::string BackupTimeText(const LocalTime& t) {
    return TwoDigitTriple(t.hour, t.minute, t.second, '.');
}

std::optional<int> DayNumber(std::string_view name) {
    if (name.size() != 8 || name[2] != '-' || name[5] != '-') return std::nullopt;
    int number = 0;
    for (size_t i : {0, 1, 3, 4, 6, 7}) {
        if (!IsDigit(name[i])) return std::nullopt;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

std::string BackupDocumentName(std::string_view backupName) {
    return backupName.size() > kBackupTimeLength ? std::string(backupName.substr(kBackupTimeLength))
                                                 : std::string();
}

std::string BackupTimeStamp(std::string_view backupName) {
    return std::string(backupName.substr(0, kBackupTimeLength));
}

std::vector<StoreEntry> ListStoreFolder(const std::string& dir) {
    std::vector<StoreEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        // Links are not followed: a link in the store is no backup of ours,
        // and deleting through one would reach outside the store.
        const fs::file_status status = it->symlink_status(typeError);
        if (typeError) continue;
        if (fs::is_directory(status) || fs::is_regular_file(status))
            entries.push_back({it->path().filename().string(), fs::is_directory(status)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const StoreEntry& a, const StoreEntry& b) { return a.name < b.name; });
    return entries;
}

bool DeleteStoreFolder(const std::string& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    return !ec;
}

}  // namespace tw
