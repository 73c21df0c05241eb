#include "settings/OptionForm.h"

#include <charconv>
#include <cstdint>
#include <utility>

namespace tw {

IntervalParts SplitInterval(int32_t milliseconds) noexcept {
    const int32_t s = milliseconds / 1000;
    return {milliseconds / 3600000, (s % 3600) / 60, s % 60};
}

int32_t ReadWindowStateFrom(bool maximize, bool minimize) noexcept {
    if (maximize) return 1;
    return minimize ? 2 : 0;
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

namespace {

std::string NotNumberMessage(const char* field) {
    return std::string("「") + field + "」には数字を指定してください。";
}

}  // namespace

std::string CheckNumberFields(const OptionNumberTexts& t) {
    const std::pair<const std::string*, const char*> fields[] = {
        {&t.Top, "Top"},
        {&t.Left, "Left"},
        {&t.Height, "Height"},
        {&t.Width, "Width"},
        {&t.MaxWindowCount, "ウィンドウ数"},
        {&t.MaxFileSize, "ファイルサイズ"},
        {&t.TabWidth, "タブの Width"},
    };
    for (const auto& [text, name] : fields)
        if (!ParseDecimal(*text)) return NotNumberMessage(name);
    // A negative limit would refuse every file.
    if (*ParseDecimal(t.MaxFileSize) < 0)
        return "「ファイルサイズ」には 0 以上の数字を指定してください。";
    return {};
}

bool StoreBackupFields(const OptionNumberTexts& t, bool autoSave, bool sameFile,
                       OptionData& options) {
    const auto h = ParseDecimal(t.Hours), m = ParseDecimal(t.Minutes), s = ParseDecimal(t.Seconds);
    if (!h || !m || !s) return false;
    // Computed wide: 99 hours do not fit 32 bits of milliseconds at every step.
    const int64_t ms = int64_t{*s} * 1000 + int64_t{*h} * 3600000 + int64_t{*m} * 60000;
    if (ms < INT32_MIN || ms > INT32_MAX) return false;
    options.AutoSaveInterval = static_cast<int32_t>(ms);
    const auto days = ParseDecimal(t.Days);
    if (!days) return false;
    options.BackupDays = *days;
    options.AutoSave = autoSave;
    options.SameFile = sameFile;
    return true;
}

void StoreNumberFields(const OptionNumberTexts& t, OptionData& options) {
    options.WindowTop = ParseDecimal(t.Top).value_or(options.WindowTop);
    options.WindowLeft = ParseDecimal(t.Left).value_or(options.WindowLeft);
    options.WindowHeight = ParseDecimal(t.Height).value_or(options.WindowHeight);
    options.WindowWidth = ParseDecimal(t.Width).value_or(options.WindowWidth);
    options.MaxWindowCount = ParseDecimal(t.MaxWindowCount).value_or(options.MaxWindowCount);
    options.MaxFileSize = ParseDecimal(t.MaxFileSize).value_or(options.MaxFileSize);
    options.TabWidth = ParseDecimal(t.TabWidth).value_or(options.TabWidth);
}

}  // namespace tw
