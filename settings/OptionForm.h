/** @file What the options dialog converts between its controls and the settings record. */
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/OptionData.h"

namespace tw {

/// The backup interval as the dialog shows it.
struct IntervalParts {
    int32_t Hours = 0;
    int32_t Minutes = 0;
    int32_t Seconds = 0;
    bool operator==(const IntervalParts&) const = default;
};

IntervalParts SplitInterval(int32_t milliseconds) noexcept;

/// 1 when loading maximises a new window (it wins over minimising), 2 when it
/// minimises, 0 otherwise.
int32_t ReadWindowStateFrom(bool maximize, bool minimize) noexcept;

/// A whole text that is a decimal integer with an optional sign and fits 32 bits.
std::optional<int32_t> ParseDecimal(std::string_view text);

inline constexpr const char* kIntervalNotNumberMessage =
    "バックアップのインターバルと日数が数字以外に設定されています。";

/// The texts of the dialog's number fields.
struct OptionNumberTexts {
    std::string Hours, Minutes, Seconds, Days;
    std::string Top, Left, Height, Width;
    std::string MaxWindowCount, MaxFileSize, TabWidth;
};

/// The message naming the first of the window, size and tab-width fields
/// that holds no usable number, or empty when all do. Checked before
/// anything is stored, so a typing slip cannot leave half the settings new.
std::string CheckNumberFields(const OptionNumberTexts& texts);

/// Stores the interval, then the days, then the two switches, stopping at
/// the first text that is no number: what was stored before it stays.
/// False when it stopped.
bool StoreBackupFields(const OptionNumberTexts& texts, bool autoSave, bool sameFile,
                       OptionData& options);

/// Stores the window, size and tab-width fields; call after CheckNumberFields.
void StoreNumberFields(const OptionNumberTexts& texts, OptionData& options);

}  // namespace tw
