#include "app/OpenFileCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "textstore/InputFile.h"

namespace tw {

namespace {

OpenCheck Refuse(OpenRefusal why, std::string message) {
    OpenCheck c;
    c.refusal = why;
    c.message = std::move(message);
    return c;
}

struct SizeOrRefusal {
    int64_t size = 0;
    /// Empty when the file can be read.
    std::string refusal;
};

/// The whole 64-bit size of a regular file this user can open for reading:
/// a 4 GiB file must not pass as a small one.
SizeOrRefusal FileSize(const std::string& fileName) {
    const ReadableFile file = OpenRegularFile(fileName);
    if (file.fd < 0) return {0, file.Reason()};
    struct ::stat st {};
    SizeOrRefusal r;
    if (::fstat(file.fd, &st) == 0)
        r.size = st.st_size;
    else
        r.refusal = ReadableFile{-1, errno}.Reason();
    ::close(file.fd);
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
        if (!opened.refusal.empty())
            return Refuse(OpenRefusal::CannotOpen, fileName + " を開けません。" + opened.refusal);
        size = opened.size;
    }
    if (options.LimitFileSize && size >= options.MaxFileSize)
        return Refuse(OpenRefusal::TooLarge, "ファイルサイズが指定したサイズを超えています");
    OpenCheck ok;
    ok.size = size;
    return ok;
}

bool IsReadOnlyFile(const std::string& fileName) {
    struct ::stat st {};
    if (::stat(fileName.c_str(), &st) != 0) return true;
    // Root may write any file, yet a file without write bits is one its owner
    // wants left alone.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::access(fileName.c_str(), W_OK) != 0;
}

}  // namespace tw
