#include "textstore/SafeFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "textstore/FileSystemCalls.h"
#include "textstore/InputFile.h"
#include "textstore/LineStore.h"

namespace tw {

namespace {

constexpr size_t kWriteBuffer = 1 << 16;
/// What mkostemp replaces at the end of a temporary file's name.
constexpr std::string_view kUniqueTail = "XXXXXX";

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err) {
    throw FileIoError(what + " " + path + ": " + std::strerror(err));
}

void WriteAll(int fd, const char* p, size_t n, const std::string& path) {
    while (n > 0) {
        ssize_t w = FileCalls().Write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            Fail("ファイルに書き込めません", path, errno);
        }
        // Nothing written and no error: the disk has no room left, and
        // asking again would loop for ever.
        if (w == 0) Fail("ファイルに書き込めません", path, ENOSPC);
        p += w;
        n -= static_cast<size_t>(w);
    }
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

/// The start of the name of every temporary file a save of `target` makes
/// beside it: hidden, recognisable as this program's, and short enough that
/// the unique tail still fits a long file name.
std::string TemporaryPrefix(const std::string& target) {
    const size_t slash = target.rfind('/');
    std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
    constexpr std::string_view kMark = ".tw-";
    const size_t room = NAME_MAX - 1 - kMark.size() - kUniqueTail.size();
    if (name.size() > room) name.resize(room);
    return "." + name + std::string(kMark);
}

/// Deletes the temporary files that saves of this target left behind when
/// they were killed before they could clean up. A save holds a lock on its
/// temporary file while it writes it, so one that can be locked is stale;
/// one this user cannot open or does not own (but root) is left alone.
void RemoveStaleTemporaries(const std::string& dir, const std::string& prefix) {
    DIR* listing = ::opendir(dir.c_str());
    if (!listing) return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + kUniqueTail.size() || !name.starts_with(prefix))
            continue;
        const std::string path = dir + "/" + std::string(name);
        // Looked at before it is opened: opening a device can do something.
        // Root's temporary files were given their target's owner.
        struct ::stat named;
        if (::lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode) ||
            (named.st_uid != ::geteuid() && ::geteuid() != 0))
            continue;
        const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
        int fd = ::open(path.c_str(), O_RDONLY | flags);
        if (fd < 0) fd = ::open(path.c_str(), O_WRONLY | flags);
        if (fd < 0) continue;
        struct ::stat opened;
        if (::fstat(fd, &opened) == 0 && opened.st_ino == named.st_ino &&
            opened.st_dev == named.st_dev && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            stale.push_back(path);
        ::close(fd);
    }
    ::closedir(listing);
    for (const std::string& path : stale)
        FileCalls().Unlink(path.c_str());
}

/// The file a write to `path` really lands in: symbolic links followed.
std::string ResolveTarget(const std::string& path) {
    struct ::stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char real[PATH_MAX];
    if (::realpath(path.c_str(), real)) return real;
    return path;  // a dangling link: writing in place creates its target
}

/// The names of a file's extended attributes: ACLs ("system.posix_acl_access"),
/// security labels and the user's own. Empty where the file system keeps none;
/// nullopt when they cannot be listed.
std::optional<std::vector<std::string>> AttributeNames(const std::string& path, int fd) {
    for (;;) {
        const ssize_t size =
            fd >= 0 ? ::flistxattr(fd, nullptr, 0) : ::listxattr(path.c_str(), nullptr, 0);
        if (size < 0) {
            if (errno == ENOTSUP) return std::vector<std::string>();
            return std::nullopt;
        }
        std::string list(static_cast<size_t>(size), '\0');
        const ssize_t got = fd >= 0 ? ::flistxattr(fd, list.data(), list.size())
                                    : ::listxattr(path.c_str(), list.data(), list.size());
        if (got < 0 && errno == ERANGE) continue;  // one was added meanwhile
        if (got < 0) return std::nullopt;
        std::vector<std::string> names;
        for (size_t at = 0; at < static_cast<size_t>(got);) {
            const size_t end = list.find('\0', at);
            if (end == std::string::npos) break;
            names.push_back(list.substr(at, end - at));
            at = end + 1;
        }
        return names;
    }
}

/// Gives the open file `to` exactly the extended attributes of `from`; false
/// when one of them cannot be read or set (a security label this user may not
/// set, a file system without them).
bool CopyAttributes(const std::string& from, int to) {
    const auto names = AttributeNames(from, -1);
    const auto present = AttributeNames(from, to);
    if (!names || !present) return false;
    for (const std::string& name : *names) {
        const ssize_t size = ::getxattr(from.c_str(), name.c_str(), nullptr, 0);
        if (size < 0) return false;
        std::string value(static_cast<size_t>(size), '\0');
        const ssize_t got = ::getxattr(from.c_str(), name.c_str(), value.data(), value.size());
        if (got < 0 ||
            FileCalls().SetAttribute(to, name.c_str(), value.data(), static_cast<size_t>(got)) != 0)
            return false;
    }
    // A new file may have been given an ACL of its folder's that the old one lacks.
    for (const std::string& name : *present)
        if (std::find(names->begin(), names->end(), name) == names->end() &&
            FileCalls().RemoveAttribute(to, name.c_str()) != 0)
            return false;
    return true;
}

mode_t CurrentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    InputFile file(path);
    std::string bytes;
    char buf[kWriteBuffer];
    for (size_t n; (n = file.Read(buf, sizeof buf)) > 0;)
        bytes.append(buf, n);
    return bytes;
}

SafeFileWriter::SafeFileWriter(const std::string& path) : target_(ResolveTarget(path)) {
    buffer_.reserve(kWriteBuffer);
    struct ::stat st;
    bool exists = ::stat(target_.c_str(), &st) == 0;
    std::string dir = DirectoryOf(target_);
    bool dirWritable = ::access(dir.c_str(), W_OK) == 0;
    if (!exists) {
        struct ::stat link;
        bool danglingLink = ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
        if (danglingLink || !dirWritable) {
            OpenInPlace(false);  // let open() create the link's target or say why not
        } else {
            OpenTemporary(dir, nullptr);
        }
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        // A device or pipe: nothing to replace; a pipe nobody reads fails at
        // once rather than waiting for ever.
        OpenInPlace(false, true);
        return;
    }
    bool ownerKept = st.st_uid == ::geteuid() || ::geteuid() == 0;
    if (st.st_nlink == 1 && dirWritable && ownerKept) {
        if (OpenTemporary(dir, &st)) return;
        Abort();
    }
    OpenInPlace(true);
}

bool SafeFileWriter::OpenTemporary(const std::string& dir, const struct ::stat* target) {
    std::string pattern = dir + "/" + TemporaryPrefix(target_) + std::string(kUniqueTail);
    fd_ = FileCalls().OpenTemporary(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) Fail("一時ファイルを作成できません", pattern, errno);
    temporary_ = pattern;
    // Held until the file is renamed or deleted, and dropped by the system
    // when a crash ends the save: an unlocked temporary file is a stale one.
    ::flock(fd_, LOCK_EX | LOCK_NB);
    if (target && (target->st_uid != ::geteuid() || target->st_gid != ::getegid())) {
        // Only possible for root or for a group the user belongs to; where it
        // is refused the file keeps this user's group, as any rewrite would.
        // The owner goes first: a change of owner clears set-id bits.
        if (FileCalls().ChangeOwner(fd_, target->st_uid, target->st_gid) != 0) {
            // Renamed over it, a copy of another user's file would take it
            // from them: that one is written in place instead.
            if (target->st_uid != ::geteuid()) return false;
            [[maybe_unused]] int ignored =
                FileCalls().ChangeOwner(fd_, static_cast<uid_t>(-1), target->st_gid);
        }
    }
    mode_t mode = target ? (target->st_mode & 07777) : (0666 & ~CurrentUmask());
    if (FileCalls().ChangeMode(fd_, mode) != 0) {
        int err = errno;
        Abort();
        Fail("ファイルの属性を設定できません", temporary_, err);
    }
    // Set after the mode: an ACL carries the group bits with it.
    return !target || CopyAttributes(target_, fd_);
}

void SafeFileWriter::OpenInPlace(bool keepCopy, bool nonBlocking) {
    if (keepCopy) {
        oldContent_ = ReadWholeFile(target_);
        restoreOnFailure_ = true;
    }
    fd_ = FileCalls().Open(
        target_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (nonBlocking ? O_NONBLOCK : 0),
        0666);
    if (fd_ < 0) {
        restoreOnFailure_ = false;  // open failed before truncating anything
        Fail("ファイルを作成できません", target_, errno);
    }
}

SafeFileWriter::~SafeFileWriter() {
    if (!committed_) Abort();
}

void SafeFileWriter::Abort() noexcept {
    if (fd_ >= 0) FileCalls().Close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) {
        FileCalls().Unlink(temporary_.c_str());
        temporary_.clear();
    }
    if (restoreOnFailure_) {
        restoreOnFailure_ = false;
        int fd = FileCalls().Open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC, 0);
        if (fd >= 0) {
            try {
                WriteAll(fd, oldContent_.data(), oldContent_.size(), target_);
            } catch (...) {
            }
            FileCalls().Sync(fd);
            FileCalls().Close(fd);
        }
    }
}

void SafeFileWriter::Flush() {
    if (buffer_.empty()) return;
    WriteAll(fd_, buffer_.data(), buffer_.size(), temporary_.empty() ? target_ : temporary_);
    buffer_.clear();
}

void SafeFileWriter::Write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kWriteBuffer) {
        Flush();
        if (bytes.size() >= kWriteBuffer) {
            WriteAll(fd_, bytes.data(), bytes.size(), temporary_.empty() ? target_ : temporary_);
            return;
        }
    }
    buffer_.append(bytes);
}

void SafeFileWriter::Commit() {
    const std::string& written = temporary_.empty() ? target_ : temporary_;
    Flush();
    if (FileCalls().Sync(fd_) != 0 && errno != EINVAL && errno != EROFS)
        Fail("ファイルを保存できません", written, errno);
    const std::string dir = DirectoryOf(target_);
    if (temporary_.empty()) {
        int fd = fd_;
        fd_ = -1;
        if (FileCalls().Close(fd) != 0) Fail("ファイルを保存できません", written, errno);
    } else {
        // Renamed while still open: its lock must hold until it has the
        // target's name, or another save could take it for a stale one.
        if (FileCalls().Rename(temporary_.c_str(), target_.c_str()) != 0)
            Fail("ファイルを置き換えられません", target_, errno);
        temporary_.clear();
        // Its content is synced: a complaint from close changes nothing on disk.
        FileCalls().Close(fd_);
        fd_ = -1;
        // Make the rename itself durable.
        int dirFd = FileCalls().Open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        if (dirFd >= 0) {
            FileCalls().Sync(dirFd);
            FileCalls().Close(dirFd);
        }
    }
    committed_ = true;
    restoreOnFailure_ = false;
    oldContent_.clear();
    RemoveStaleTemporaries(dir, TemporaryPrefix(target_));
}

}  // namespace tw
