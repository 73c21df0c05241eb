#include "SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "InputFile.h"
#include "VellStrings.h"

namespace tw {

namespace {

constexpr size_t kWriteBuffer = 1 << 16;

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err) {
    throw FileIoError(what + " " + path + ": " + std::strerror(err));
}

void WriteAll(int fd, const char* p, size_t n, const std::string& path) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            Fail("ファイルに書き込めません", path, errno);
        }
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

/// The file a write to `path` really lands in: symbolic links followed.
std::string ResolveTarget(const std::string& path) {
    struct ::stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char real[PATH_MAX];
    if (::realpath(path.c_str(), real)) return real;
    return path;  // a dangling link: writing in place creates its target
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
        OpenInPlace(false);  // a device or pipe: nothing to replace
        return;
    }
    bool ownerKept = st.st_uid == ::geteuid() || ::geteuid() == 0;
    if (st.st_nlink == 1 && dirWritable && ownerKept)
        OpenTemporary(dir, &st);
    else
        OpenInPlace(true);
}

void SafeFileWriter::OpenTemporary(const std::string& dir, const struct ::stat* target) {
    std::string name =
        target_.substr(target_.rfind('/') == std::string::npos ? 0 : target_.rfind('/') + 1);
    std::string pattern = dir + "/." + name + ".tw-XXXXXX";
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) Fail("一時ファイルを作成できません", pattern, errno);
    temporary_ = pattern;
    mode_t mode = target ? (target->st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(fd_, mode) != 0) {
        int err = errno;
        Abort();
        Fail("ファイルの属性を設定できません", temporary_, err);
    }
    if (target && (target->st_uid != ::geteuid() || target->st_gid != ::getegid())) {
        // Only possible for root or for a group the user belongs to; where it
        // is refused the file keeps this user's group, as any rewrite would.
        if (::fchown(fd_, target->st_uid, target->st_gid) != 0) {
            [[maybe_unused]] int ignored = ::fchown(fd_, static_cast<uid_t>(-1), target->st_gid);
        }
    }
}

void SafeFileWriter::OpenInPlace(bool keepCopy) {
    if (keepCopy) {
        oldContent_ = ReadWholeFile(target_);
        restoreOnFailure_ = true;
    }
    fd_ = ::open(target_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        restoreOnFailure_ = false;  // open failed before truncating anything
        Fail("ファイルを作成できません", target_, errno);
    }
}

SafeFileWriter::~SafeFileWriter() {
    if (!committed_) Abort();
}

void SafeFileWriter::Abort() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    if (restoreOnFailure_) {
        restoreOnFailure_ = false;
        int fd = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd >= 0) {
            try {
                WriteAll(fd, oldContent_.data(), oldContent_.size(), target_);
            } catch (...) {
            }
            ::fsync(fd);
            ::close(fd);
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
    if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS)
        Fail("ファイルを保存できません", written, errno);
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail("ファイルを保存できません", written, errno);
    if (!temporary_.empty()) {
        if (::rename(temporary_.c_str(), target_.c_str()) != 0)
            Fail("ファイルを置き換えられません", target_, errno);
        temporary_.clear();
        // Make the rename itself durable.
        int dirFd = ::open(DirectoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            ::fsync(dirFd);
            ::close(dirFd);
        }
    }
    committed_ = true;
    restoreOnFailure_ = false;
    oldContent_.clear();
}

}  // namespace tw
