/** @file Replacing a file's content so that a failure never leaves it half written. */
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace tw {

/// Writes a new content for `path`. Where it can, it writes a temporary file
/// beside the target, syncs it, gives it the target's owner (where allowed),
/// mode and extended attributes (ACLs and security labels among them) and
/// renames it over the target, following a symbolic link to the real file.
/// Where a rename would break or lose something (hard links, a folder it
/// cannot write, another owner, an attribute it cannot copy), it keeps a copy
/// of the old content, writes in place and puts the copy back if the write
/// fails. Every failure throws FileIoError; after a failure the old file is
/// intact. The temporary file is named ".<name>.tw-" and six random
/// characters; a save that succeeds deletes those a killed save left behind.
/// Every call that changes the disk goes through FileCalls().
class SafeFileWriter {
  public:
    explicit SafeFileWriter(const std::string& path);
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;
    /// Without Commit the target keeps its old content.
    ~SafeFileWriter();

    void Write(std::string_view bytes);
    void Commit();

  private:
    void Flush();
    /// False when the temporary file could not be given all the target's attributes.
    bool OpenTemporary(const std::string& dir, const struct ::stat* target);
    void OpenInPlace(bool keepCopy, bool nonBlocking = false);
    void Abort() noexcept;

    std::string target_;     // the real file (symbolic links resolved)
    std::string temporary_;  // empty when writing in place
    std::string oldContent_;
    bool restoreOnFailure_ = false;
    int fd_ = -1;
    bool committed_ = false;
    std::string buffer_;
};

/// Reads a whole file; throws FileIoError.
std::string ReadWholeFile(const std::string& path);

}  // namespace tw
