#include "ProgramFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tw {

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::string ProgramFolder(const std::string& executableDir) {
    if (const char* env = std::getenv(kProgramFolderVariable); env && *env) return env;
    if (!executableDir.empty() && ::access(executableDir.c_str(), W_OK) == 0) return executableDir;
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
