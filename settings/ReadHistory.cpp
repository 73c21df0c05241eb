#include "settings/ReadHistory.h"

#include <algorithm>

namespace tw {

int CreateReRead(ReadHistorySlots& history, int itemCount, std::string_view fileName) {
    // Names are kept cut to 255 bytes; compare what would be kept, or a long
    // name would be pushed down the list again at every opening.
    std::string kept = FitShortString(fileName);
    if (itemCount <= 0) {
        history[0] = std::move(kept);
        return 1;
    }
    if (history[0] == kept) return itemCount;
    const int k = std::min(itemCount, static_cast<int>(history.size()) - 1);
    for (int s = k; s >= 1; --s)
        history[static_cast<size_t>(s)] = history[static_cast<size_t>(s) - 1];
    history[0] = std::move(kept);
    return k + 1;
}

std::vector<std::string> ReadHistoryCaptions(const ReadHistorySlots& history, int itemCount) {
    std::vector<std::string> captions;
    const int n = std::min(itemCount, static_cast<int>(history.size()));
    for (int s = 0; s < n; ++s)
        captions.push_back("&" + std::to_string(s) + ": " + history[static_cast<size_t>(s)]);
    return captions;
}

int ReadHistoryItemsAtStart(const ReadHistorySlots& history) {
    int n = 0;
    while (n < static_cast<int>(history.size()) && !history[static_cast<size_t>(n)].empty())
        ++n;
    return n;
}

}  // namespace tw
