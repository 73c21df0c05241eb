#include "settings/ClipHistory.h"

#include <algorithm>

#include "textstore/ShiftJis.h"

namespace tw {

namespace {

/// The first `limit` bytes of `text`, one fewer when the last of them is a
/// lead byte whose trail byte lies beyond.
std::string_view Head(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text;
    const bool splits = ByteTypeAt(text, static_cast<int32_t>(limit + 1)) == kTrailByte;
    return text.substr(0, splits ? limit - 1 : limit);
}

}  // namespace

std::string StoredClipText(std::string_view text) {
    if (text.size() <= kClipTextMax) return std::string(text);
    return std::string(Head(text, kClipTextMax - 1));
}

std::string ClipListLine(std::string_view entry) {
    return std::string(Head(entry, kClipListLineBytes));
}

void ClipHistory::AddClip(std::string_view text) {
    // Only counted entries move down: the blank entry "全削除" leaves goes.
    ClipItems.resize(std::min(static_cast<size_t>(std::max(ClipCount, 0)), kClipHistoryMax));
    ClipItems.insert(ClipItems.begin(), StoredClipText(text));
    if (ClipItems.size() > kClipHistoryMax) ClipItems.resize(kClipHistoryMax);
    if (ClipCount < INT32_MAX) ++ClipCount;
}

void ClipHistory::Clear() {
    ClipItems.assign(1, std::string());
    ClipCount = 0;
}

}  // namespace tw
