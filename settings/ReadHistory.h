/** @file The read history: the ten most recently opened files, newest first. */
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settings/OptionData.h"

namespace tw {

using ReadHistorySlots = ShortStringHistory;

/// Records a file just opened. `itemCount` is how many items the "開き直す(&R)"
/// submenu holds; returns how many it holds afterwards. The newest name goes
/// to slot 0 unless it stands there already; the oldest of ten falls off; a
/// name further down is not removed, so it may stand in the list twice.
int CreateReRead(ReadHistorySlots& history, int itemCount, std::string_view fileName);

/// The submenu's captions for the first `itemCount` slots: "&" + slot + ": " + name.
std::vector<std::string> ReadHistoryCaptions(const ReadHistorySlots& history, int itemCount);

/// How many items the submenu shows at start: slots up to the first empty one.
int ReadHistoryItemsAtStart(const ReadHistorySlots& history);

}  // namespace tw
