/** @file What every fuzz target needs: a scratch folder for the readers that take names, and a loud
 * failure. */
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace tw::fuzz {

/// A broken rule: say which and stop, so that libFuzzer keeps the input.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void Require(bool ok, const char* what) {
    if (!ok) Fail(what);
}

/// A folder of this process's own, gone when the process ends normally.
/// The readers under test take file and folder names, as the program hands them.
inline const std::string& ScratchFolder() {
    static const std::string folder = [] {
        // In memory where the system offers it: a long run writes a file or
        // two per input, and a disk would slow it down for nothing.
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "tw-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) Fail("cannot make a scratch folder");
        return pattern;
    }();
    static const struct Remover {
        ~Remover() {
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
        }
    } remover;
    return folder;
}

inline std::string ScratchPath(const char* name) {
    return ScratchFolder() + "/" + name;
}

/// Writes the bytes as they are; an input that cannot be written is no
/// finding of the reader, so that stops the run.
inline void WriteBytes(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) Fail("cannot write a scratch file");
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) Fail("cannot write a scratch file");
        done += static_cast<size_t>(n);
    }
    ::close(fd);
}

inline std::string ReadBytes(const std::string& path) {
    std::string out;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) Fail("cannot read a scratch file");
    char buf[8192];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;)
        out.append(buf, static_cast<size_t>(n));
    ::close(fd);
    return out;
}

inline void RemoveFile(const std::string& path) {
    ::unlink(path.c_str());
}

}  // namespace tw::fuzz
