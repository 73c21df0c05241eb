/** @file Where the instances of one user meet: folder, lock file, shared block, sockets. */
#pragma once

#include <cstdint>
#include <string>

namespace tw {

/// The names every instance of the same user derives alike, so that a second
/// start finds the first one's marker, shared block and socket.
struct InstancePaths {
    std::string runtimeDir;
    std::string lockFile;
    std::string sharedMemoryName;

    /// The hand-off socket of the instance with process id `pid`.
    std::string SocketFor(uint32_t pid) const;

    /// TARNWICK_EDITOR_RUNTIME_DIR when set, else $XDG_RUNTIME_DIR/tarnwick-editor,
    /// else /tmp/tarnwick-editor-UID. Creates the folder (0700) when missing and
    /// throws std::runtime_error when it is a symbolic link, not a folder, owned by
    /// someone else or open to group or others.
    static InstancePaths FromEnvironment();

    /// The same for a given folder; `isolated` gives the shared block a name of
    /// its own derived from the folder, so that separate folders never meet.
    static InstancePaths ForFolder(const std::string& runtimeDir, bool isolated);
};

}  // namespace tw
