#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "VellStrings.h"

namespace tw {

InputFile::InputFile(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw FileIoError("ファイル " + path + " を開けません: " + std::strerror(errno));
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
