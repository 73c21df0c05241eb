#include "dialogs/BackupHistory.h"

#include <algorithm>
#include <filesystem>

#include "settings/BackupStore.h"

namespace tw {

namespace fs = std::filesystem;

std::vector<BackupDay> EnumBackupDays(const std::string& backupRoot) {
    std::vector<BackupDay> days;
    for (const StoreEntry& day : ListStoreFolder(backupRoot)) {
        if (!day.folder) continue;
        BackupDay node{day.name, {}};
        for (const StoreEntry& file : ListStoreFolder((fs::path(backupRoot) / day.name).string())) {
            if (file.folder) continue;
            std::string name = BackupDocumentName(file.name);
            if (std::find(node.files.begin(), node.files.end(), name) == node.files.end())
                node.files.push_back(std::move(name));
        }
        days.push_back(std::move(node));
    }
    return days;
}

std::vector<std::string> SearchBackupTimes(const std::string& dayDir, const std::string& fileName) {
    std::vector<std::string> times;
    for (const StoreEntry& file : ListStoreFolder(dayDir))
        if (!file.folder && BackupDocumentName(file.name) == fileName)
            times.push_back(BackupTimeStamp(file.name));
    return times;
}

std::string BackupFilePath(const std::string& programFolder, const std::string& day,
                           const std::string& time, const std::string& fileName) {
    return (fs::path(BackupRoot(programFolder)) / day / (time + fileName)).string();
}

std::string FileExtension(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

std::string BackupDocumentTitle(const std::vector<std::string>& openCaptions) {
    for (size_t n = openCaptions.size() + 1;; ++n) {
        std::string title = "NONAME" + std::to_string(n);
        if (std::find(openCaptions.begin(), openCaptions.end(), title) == openCaptions.end())
            return title;
    }
}

}  // namespace tw
