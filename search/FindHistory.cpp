// The history update of the find dialog's search box.
#include "search/FindHistory.h"

#include <algorithm>

namespace tw {

std::vector<std::string> ListedFindHistory(const ShortStringHistory& slots) {
    std::vector<std::string> out;
    for (const std::string& s : slots) {
        if (s.empty()) break;
        out.push_back(s);
    }
    return out;
}

bool PushFindHistory(ShortStringHistory& slots, size_t listed, std::string_view text) {
    // A text longer than a short string is stored cut; searching it again
    // must find it already on top.
    std::string stored = FitShortString(text);
    if (stored.empty() || stored == slots[0]) return false;
    const size_t moved = std::min(listed, slots.size() - 1);
    for (size_t i = moved; i >= 1; --i)
        slots[i] = slots[i - 1];
    slots[0] = std::move(stored);
    return true;
}

}  // namespace tw
