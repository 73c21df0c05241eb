/** @file The checks a file must pass before it gets a document window. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/OptionData.h"

namespace tw {

enum class OpenRefusal { None, AlreadyOpen, TooManyWindows, CannotOpen, TooLarge };

struct OpenCheck {
    OpenRefusal refusal = OpenRefusal::None;
    /// The message to show (UTF-8); empty when the file may be opened.
    std::string message;
    /// 0-based index into the captions of the window that has the file open.
    int openWindow = -1;
    /// The file's size in bytes (0 for a new text).
    int64_t size = 0;
};

/// Decides, in order, whether `fileName` may be opened: not open already
/// (captions compared byte for byte, newest window first), within the window
/// count, a regular file this user can read (OpenRegularFile), and within the
/// file size limit.
OpenCheck CheckOpen(const std::vector<std::string>& captions, const std::string& fileName,
                    bool isNew, const OptionData& options);

/// True when the file's mode has no write bit (which root would ignore), or
/// when this user may not write it.
bool IsReadOnlyFile(const std::string& fileName);

}  // namespace tw
