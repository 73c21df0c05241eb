#include "platform/os/InstancePaths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/os/UniqueFd.h"

namespace tw {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string Unsafe(const std::string& dir, const std::string& why) {
    return "Tarnwick Editor: refusing the runtime folder " + dir + ": " + why;
}

// A folder another user can write into or swap would let that user read or
// forge hand-offs, so anything but a private folder of ours is refused.
void EnsurePrivateFolder(const std::string& dir) {
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        throw std::runtime_error(Unsafe(dir, std::strerror(errno)));
    UniqueFd fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.Valid()) {
        bool link = errno == ELOOP || errno == ENOTDIR;
        throw std::runtime_error(
            Unsafe(dir, link ? "it is a symbolic link or not a folder" : std::strerror(errno)));
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) throw std::runtime_error(Unsafe(dir, std::strerror(errno)));
    if (st.st_uid != ::geteuid())
        throw std::runtime_error(Unsafe(dir, "it belongs to uid " + std::to_string(st.st_uid)));
    if ((st.st_mode & 077) != 0)
        throw std::runtime_error(Unsafe(dir, "group or others can use it"));
}

std::string ShortHash(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

}  // namespace

std::string InstancePaths::SocketFor(uint32_t pid) const {
    return runtimeDir + "/handoff-" + std::to_string(pid) + ".sock";
}

InstancePaths InstancePaths::ForFolder(const std::string& runtimeDir, bool isolated) {
    InstancePaths paths;
    paths.runtimeDir = runtimeDir;
    paths.lockFile = runtimeDir + "/instance.lock";
    paths.sharedMemoryName = "/TarnwickEditor-" + std::to_string(::geteuid());
    if (isolated) paths.sharedMemoryName += "-" + ShortHash(runtimeDir);
    return paths;
}

InstancePaths InstancePaths::FromEnvironment() {
    std::string dir = Environment("TARNWICK_EDITOR_RUNTIME_DIR");
    bool isolated = !dir.empty();
    if (!isolated) {
        std::string xdg = Environment("XDG_RUNTIME_DIR");
        dir = !xdg.empty() && xdg[0] == '/' ? xdg + "/tarnwick-editor"
                                            : "/tmp/tarnwick-editor-" + std::to_string(::geteuid());
    }
    EnsurePrivateFolder(dir);
    return ForFolder(dir, isolated);
}

}  // namespace tw
