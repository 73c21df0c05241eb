/** @file The clipboard history: the texts last copied or cut, newest first. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// The clipboard history never keeps more entries than this.
inline constexpr size_t kClipHistoryMax = 30;
/// A text longer than this is stored shortened.
inline constexpr size_t kClipTextMax = 500;
/// The history window's list shows this many bytes of each entry.
inline constexpr size_t kClipListLineBytes = 20;

struct ClipHistory {
    /// Entry 0 is the newest.
    std::vector<std::string> ClipItems;
    /// Texts added since the list was last emptied, loaded ones included.
    /// Not capped; ClipItems is. Readers take min(ClipCount, 30) entries.
    int32_t ClipCount = 0;
    /// Show kClipReadErrorMessage, and leave the file as it is until the
    /// history changes: the file is there but could not be read (no
    /// permission, no regular file, a read error; the history is then
    /// empty), or it is no file this program wrote (cut short, grown past
    /// kClipFileReadLimit, random bytes; the history holds the entries read).
    bool ReadFailed = false;

    /// Puts a copied or cut text in front; the same text twice gives two
    /// entries, and the oldest falls out beyond 30.
    void AddClip(std::string_view text);
    /// "全削除": one blank entry and a count of 0, so nothing is saved.
    void Clear();
};

/// A text above 500 bytes keeps its first 499, one fewer when the 499th is
/// the lead byte of a character that would be cut in two.
std::string StoredClipText(std::string_view text);

/// The entry's line in the history window's list: its first 20 bytes, without
/// a character cut in two.
std::string ClipListLine(std::string_view entry);

}  // namespace tw
