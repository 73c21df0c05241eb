#include "platform/os/ProgramFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tw {

namespace {

/// Where an installed program's help texts lie: ../share/tarnwick-editor.
std::filesystem::path InstalledDataFolder(const std::string& executableDir) {
    return (std::filesystem::path(executableDir) / ".." / "share" / "tarnwick-editor")
        .lexically_normal();
}

/// An installed program has its help texts in the data folder, none beside
/// it; its folder (/usr/bin, say) is no place for settings even when writable.
bool IsInstalled(const std::string& executableDir) {
    std::error_code ec;
    return !std::filesystem::exists(std::filesystem::path(executableDir) / "ReadMe.txt", ec) &&
           std::filesystem::exists(InstalledDataFolder(executableDir) / "ReadMe.txt", ec);
}

}  // namespace

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::string HelpTextPath(const std::string& executableDir, const std::string& name) {
    const std::filesystem::path beside = std::filesystem::path(executableDir) / name;
    std::error_code ec;
    if (std::filesystem::exists(beside, ec)) return beside.string();
    return (InstalledDataFolder(executableDir) / name).string();
}

std::string ProgramFolder(const std::string& executableDir) {
    if (const char* env = std::getenv(kProgramFolderVariable); env && *env) return env;
    if (!executableDir.empty() && ::access(executableDir.c_str(), W_OK) == 0 &&
        !IsInstalled(executableDir))
        return executableDir;
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".config";
    else
        base = "/tmp";
    auto dir = base / "tarnwick-editor";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir.string();
}

}  // namespace tw
