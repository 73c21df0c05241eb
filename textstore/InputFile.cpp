#include "textstore/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "textstore/LineStore.h"

namespace tw {

bool ReadableFile::Missing() const {
    return fd < 0 && error == ENOENT;
}

std::string ReadableFile::Reason() const {
    return error != 0 ? std::strerror(error) : "通常のファイルではありません";
}

ReadableFile OpenRegularFile(const std::string& path) {
    ReadableFile file;
    struct ::stat st;
    // A device is not even opened: opening some of them does something.
    if (::stat(path.c_str(), &st) != 0) {
        file.error = errno;
        return file;
    }
    if (!S_ISREG(st.st_mode)) return file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        file.error = errno;
        return file;
    }
    // The name may have been given to something else between the two looks.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        file.error = S_ISREG(st.st_mode) ? errno : 0;  // st is the first look's when fstat failed
        ::close(fd);
        return file;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.fd = fd;
    return file;
}

FilePrefix ReadFilePrefix(const std::string& path, size_t limit) {
    FilePrefix out;
    const ReadableFile file = OpenRegularFile(path);
    if (file.fd < 0) {
        out.missing = file.Missing();
        out.failed = !out.missing;
        return out;
    }
    char buf[8192];
    while (out.bytes.size() < limit) {
        const ssize_t r = ::read(file.fd, buf, std::min(sizeof buf, limit - out.bytes.size()));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) out.failed = true;
        if (r <= 0) break;
        out.bytes.append(buf, static_cast<size_t>(r));
    }
    ::close(file.fd);
    return out;
}

InputFile::InputFile(const std::string& path) : path_(path) {
    const ReadableFile file = OpenRegularFile(path);
    if (file.fd < 0) throw FileIoError("ファイル " + path + " を開けません: " + file.Reason());
    fd_ = file.fd;
}

InputFile::~InputFile() {
    ::close(fd_);
}

size_t InputFile::Read(char* buf, size_t n) {
    for (;;) {
        ssize_t r = ::read(fd_, buf, n);
        if (r >= 0) return static_cast<size_t>(r);
        if (errno != EINTR)
            throw FileIoError("ファイル " + path_ + " を読み込めません: " + std::strerror(errno));
    }
}

int64_t InputFile::Size() const {
    struct ::stat st;
    return ::fstat(fd_, &st) == 0 ? st.st_size : 0;
}

std::string InputFile::LastTwoBytes() const {
    int64_t size = Size();
    char b[2];
    int64_t from = size >= 2 ? size - 2 : 0;
    ssize_t r = ::pread(fd_, b, static_cast<size_t>(size - from), from);
    return r > 0 ? std::string(b, static_cast<size_t>(r)) : std::string();
}

}  // namespace tw
