#include "OpenFileCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tw {

namespace {

OpenCheck Refuse(OpenRefusal why, std::string message) {
    OpenCheck c;
    c.refusal = why;
    c.message = std::move(message);
    return c;
}

struct SizeOrError {
    int64_t size = 0;
    int error = 0;
};

/// The whole 64-bit size of a file this user can open for reading: a 4 GiB
/// file must not pass as a small one.
SizeOrError FileSize(const std::string& fileName) {
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {0, errno};
    struct ::stat st {};
    SizeOrError r;
    if (::fstat(fd, &st) != 0)
        r.error = errno;
    else if (S_ISDIR(st.st_mode))
        r.error = EISDIR;
    else
        r.size = st.st_size;
    ::close(fd);
    return r;
}

}  // namespace

OpenCheck CheckOpen(const std::vector<std::string>& captions, const std::string& fileName,
                    bool isNew, const OptionData& options) {
    for (int i = static_cast<int>(captions.size()) - 1; i >= 0; --i) {
        if (captions[static_cast<size_t>(i)] == fileName) {
            OpenCheck c = Refuse(OpenRefusal::AlreadyOpen, fileName + "はすでに存在します。");
            c.openWindow = i;
            return c;
        }
    }
    if (options.LimitWindowCount && static_cast<int64_t>(captions.size()) >= options.MaxWindowCount)
        return Refuse(OpenRefusal::TooManyWindows,
                      "ウィンドウ数が指定したウィンドウ数を超えました");
    int64_t size = 0;
    if (!isNew) {
        auto opened = FileSize(fileName);
        if (opened.error != 0)
            return Refuse(OpenRefusal::CannotOpen,
                          fileName + " を開けません。" + std::strerror(opened.error));
        size = opened.size;
    }
    if (options.LimitFileSize && size >= options.MaxFileSize)
        return Refuse(OpenRefusal::TooLarge, "ファイルサイズが指定したサイズを超えています");
    OpenCheck ok;
    ok.size = size;
    return ok;
}

bool IsReadOnlyFile(const std::string& fileName) {
    return ::access(fileName.c_str(), W_OK) != 0;
}

}  // namespace tw
