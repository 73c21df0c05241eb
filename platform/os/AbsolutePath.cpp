#include "platform/os/AbsolutePath.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace tw {

namespace {

/// The working folder, or empty when it cannot be told (it was removed).
std::string WorkingFolder() {
    // $PWD when it still names the working folder, which keeps the spelling
    // the user sees; otherwise the folder's real name.
    std::unique_ptr<char, decltype(&std::free)> folder(::get_current_dir_name(), &std::free);
    return folder ? std::string(folder.get()) : std::string();
}

}  // namespace

std::string AbsoluteFileName(const std::string& name) {
    if (name.empty()) return name;
    std::filesystem::path path(name);
    if (path.is_relative()) {
        const std::string folder = WorkingFolder();
        if (folder.empty()) return name;
        path = std::filesystem::path(folder) / path;
    }
    return path.lexically_normal().string();
}

std::vector<std::string> AbsoluteFileNames(const std::vector<std::string>& names) {
    std::vector<std::string> out;
    out.reserve(names.size());
    for (const std::string& name : names)
        out.push_back(AbsoluteFileName(name));
    return out;
}

}  // namespace tw
