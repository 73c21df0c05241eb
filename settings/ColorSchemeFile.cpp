// Scheme files are exchanged with the Windows version of the program, which
// writes each colour as a signed 32-bit number: system colours (0x800000nn)
// come out negative, and reading must turn them back into the same bits.
#include "settings/ColorSchemeFile.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "settings/IniText.h"
#include "textstore/LineStore.h"
#include "textstore/SafeFileWriter.h"

namespace tw {

namespace {

/// A value as the profile's integer reader takes it: an optional sign and
/// decimal digits, nothing else, within 32 bits.
std::optional<uint32_t> ColorNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int32_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return static_cast<uint32_t>(n);
}

int ColorKeyIndex(std::string_view name) {
    for (size_t i = 0; i < kColorSchemeKeys.size(); ++i)
        if (EqualsIgnoreCase(name, kColorSchemeKeys[i])) return static_cast<int>(i);
    return -1;
}

}  // namespace

std::string ColorSchemeFileName(const std::string& chosen) {
    return chosen + ".ini";
}

EditorColors ColorSchemeFromIni(std::string_view ini) {
    std::array<std::optional<std::string_view>, kColorSchemeKeys.size()> found;
    ForEachIniEntry(ini, kColorSchemeSection, [&](std::string_view name, std::string_view value) {
        const int i = ColorKeyIndex(name);
        if (i >= 0 && !found[i]) found[i] = value;
    });
    EditorColors colors = kBuiltInColors;
    for (size_t i = 0; i < colors.size(); ++i)
        if (found[i]) colors[i] = ColorNumber(*found[i]).value_or(kBuiltInColors[i]);
    return colors;
}

std::string ColorSchemeToIni(const EditorColors& colors, std::string_view previous) {
    std::string entries;
    for (size_t i = 0; i < colors.size(); ++i) {
        entries += kColorSchemeKeys[i];
        entries += '=';
        entries += std::to_string(static_cast<int32_t>(colors[i]));
        entries += "\r\n";
    }
    return ReplaceIniEntries(
        previous, kColorSchemeSection,
        [](std::string_view name) { return ColorKeyIndex(name) >= 0; }, entries);
}

EditorColors LoadColorScheme(const std::string& path) {
    bool failed = false;
    const std::optional<std::string> bytes = ReadIniFile(path, &failed);
    if (failed) throw FileIoError("ファイル " + path + " を読み込めません");
    return ColorSchemeFromIni(bytes.value_or(std::string()));
}

std::string SaveColorScheme(const std::string& chosen, const EditorColors& colors) {
    const std::string path = ColorSchemeFileName(chosen);
    bool failed = false;
    const std::string previous = ReadIniFile(path, &failed).value_or(std::string());
    // Rewriting a file that could not be read would drop what it holds.
    if (failed) throw FileIoError("ファイル " + path + " を読み込めません");
    SafeFileWriter out(path);
    out.Write(ColorSchemeToIni(colors, previous));
    out.Commit();
    return path;
}

}  // namespace tw
