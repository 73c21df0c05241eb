/** @file The find dialog's history of search texts, as Option.dat keeps it. */
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/OptionData.h"

namespace tw {

/// What the drop-down list shows when the dialog is shown: the slots from the
/// most recent on, up to the first empty one.
std::vector<std::string> ListedFindHistory(const ShortStringHistory& slots);

/// Puts a searched text on top, as each search does. `listed` is the number
/// of entries the drop-down list holds now: that many slots move down one,
/// the oldest falling out of a full list. Only slot 0 is compared, so an
/// older entry searched again appears twice. False, and nothing changes, when
/// slot 0 already holds the text (as a short string keeps it) or it is empty.
bool PushFindHistory(ShortStringHistory& slots, size_t listed, std::string_view text);

}  // namespace tw
