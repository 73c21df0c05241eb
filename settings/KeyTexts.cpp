// The keyboard assignment's data. "KeyBrd.ini" is read with the rules of the
// Windows profile functions, since users carry the file over from there and
// edit it by hand.
#include "settings/KeyTexts.h"

#include <filesystem>

#include "settings/IniText.h"
#include "textstore/LineStore.h"
#include "textstore/SafeFileWriter.h"

namespace tw {

namespace {

constexpr std::array<FileKey, kFileKeyCount> kFileKeys = {{
    // ファイル(F)
    {0, "CTRL+N"},
    {1, "CTRL+O"},
    {2, "CTRL+S"},
    {3, ""},
    {4, "CTRL+P"},
    {5, ""},
    // 検索(S)
    {15, "CTRL+F"},
    {16, "F7"},
    {17, "F8"},
    {18, "CTRL+H"},
    {19, "F5"},
    {20, "F6"},
    {21, "CTRL+G"},
    // テキストメニュｰ
    {30, ""},
    {31, ""},
    {32, ""},
    {33, "F10"},
    {34, "F11"},
    {35, ""},
    {36, ""},
    {37, "SHIFT+CTRL+F"},
    {38, "SHIFT+CTRL+H"},
    // ウィンドウ(W)
    {45, ""},
    {46, ""},
    {47, ""},
    {48, "F2"},
    {49, "F3"},
    {50, "CTRL+W"},
    {51, "CTRL+ALT+W"},
    {52, "SHIFT+CTRL+W"},
    // 履歴(H)
    {60, "F9"},
    {61, "F10"},
    // オプション(O)
    {75, ""},
    {76, ""},
    {77, ""},
    {78, ""},
    {79, "F4"},
}};

constexpr int kHighestFKey = 24;
constexpr std::string_view kLineEnd = "\r\n";

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

/// n for a decimal "1".."max" (max < 100) written without a leading zero, else 0.
int SmallNumber(std::string_view digits, int max) {
    if (digits.empty() || digits.size() > 2 || digits[0] == '0') return 0;
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n <= max ? n : 0;
}

/// Removes one modifier prefix from the front of `rest`.
bool TakeModifier(std::string_view& rest, uint8_t& modifiers) {
    static constexpr std::pair<std::string_view, uint8_t> kPrefixes[] = {
        {"Shift+", kModShift}, {"Ctrl+", kModCtrl}, {"Alt+", kModAlt}, {"^", kModCtrl}};
    for (const auto& [prefix, bit] : kPrefixes) {
        // A lone "^" is a key of its own, not a prefix of nothing.
        if (prefix == "^" && rest.size() == 1) continue;
        if (StartsWithIgnoreCase(rest, prefix)) {
            rest.remove_prefix(prefix.size());
            modifiers |= bit;
            return true;
        }
    }
    return false;
}

// ---- INI text ----------------------------------------------------------------

/// The index of the file key a name stands for ("KEY7" → 6), or -1. Names
/// compare as text, so "key07" is not "key7".
int FileKeyIndex(std::string_view name) {
    if (!StartsWithIgnoreCase(name, "key")) return -1;
    return SmallNumber(name.substr(3), kFileKeyCount) - 1;
}

bool IsKeySection(const IniLine& line) {
    return IsIniSection(line, kKeySection);
}

std::string FileKeyLines(const KeyTexts& texts) {
    std::string out;
    for (int i = 0; i < kFileKeyCount; ++i) {
        out += FileKeyName(i);
        out += '=';
        out += IniValue(texts[kFileKeys[i].slot]);
        out += kLineEnd;
    }
    return out;
}

std::string KeyFilePath(const std::string& folder) {
    return (std::filesystem::path(folder) / kKeyFileName).string();
}

/// False for a text nobody wrote as a keyboard assignment: binary bytes, a
/// line of the key section that is neither an entry nor a comment, or a
/// file key whose value names no key, as when a file was cut off mid-line.
bool IsSoundKeyIni(std::string_view ini) {
    if (ini.find('\0') != std::string_view::npos) return false;
    bool sound = true;
    bool inSection = false;
    ForEachLine(ini, [&](std::string_view text) {
        const IniLine line = ClassifyIniLine(text);
        if (line.kind == IniLine::kSection) inSection = IsKeySection(line);
        if (!inSection) return;
        const std::string_view t = TrimBlanks(text);
        if (line.kind == IniLine::kOther && !t.empty() && t.front() != ';') sound = false;
        if (line.kind == IniLine::kEntry && FileKeyIndex(line.name) >= 0 && !line.value.empty() &&
            !ParseKeyText(line.value))
            sound = false;
    });
    return sound;
}

}  // namespace

const std::array<FileKey, kFileKeyCount>& FileKeys() {
    return kFileKeys;
}

std::string FileKeyName(int index) {
    return "key" + std::to_string(index + 1);
}

KeyTexts DefaultKeyTexts() {
    KeyTexts texts;
    for (const FileKey& key : kFileKeys)
        texts[key.slot] = key.defaultText;
    return texts;
}

std::optional<std::string> StandardKeyName(std::string_view name) {
    if (name.size() == 1) {
        const char c = AsciiUpper(name[0]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return std::string(1, c);
    }
    if (name.size() >= 2 && AsciiUpper(name[0]) == 'F') {
        if (const int n = SmallNumber(name.substr(1), kHighestFKey)) return "F" + std::to_string(n);
    }
    for (std::string_view named : kNamedKeys)
        if (EqualsIgnoreCase(name, named)) return std::string(named);
    return std::nullopt;
}

std::optional<KeyStroke> ParseKeyText(std::string_view text) {
    std::string_view rest = TrimBlanks(text);
    KeyStroke stroke;
    while (TakeModifier(rest, stroke.modifiers)) {
    }
    if (rest.empty()) return std::nullopt;
    stroke.key = StandardKeyName(rest).value_or(std::string(rest));
    return stroke;
}

std::string KeyText(const KeyStroke& stroke) {
    std::string text;
    if (stroke.modifiers & kModShift) text += "Shift+";
    if (stroke.modifiers & kModCtrl) text += "Ctrl+";
    if (stroke.modifiers & kModAlt) text += "Alt+";
    return text + stroke.key;
}

KeyTexts KeyTextsFromIni(std::string_view ini) {
    std::array<std::optional<std::string>, kFileKeyCount> found;
    ForEachIniEntry(ini, kKeySection, [&](std::string_view name, std::string_view value) {
        const int i = FileKeyIndex(name);
        if (i >= 0 && !found[i]) found[i] = std::string(value);
    });
    KeyTexts texts;
    for (int i = 0; i < kFileKeyCount; ++i)
        texts[kFileKeys[i].slot] = found[i].value_or(kFileKeys[i].defaultText);
    return texts;
}

std::string KeyTextsToIni(const KeyTexts& texts, std::string_view previous) {
    return ReplaceIniEntries(
        previous, kKeySection, [](std::string_view name) { return FileKeyIndex(name) >= 0; },
        FileKeyLines(texts));
}

KeyTexts LoadKeyTexts(const std::string& folder, bool* readFailed) {
    bool failed = false;
    const std::optional<std::string> bytes = ReadIniFile(KeyFilePath(folder), &failed);
    if (bytes && !IsSoundKeyIni(*bytes)) failed = true;
    if (readFailed) *readFailed = failed;
    return bytes ? KeyTextsFromIni(*bytes) : DefaultKeyTexts();
}

void SaveKeyTexts(const std::string& folder, const KeyTexts& texts) {
    const std::string path = KeyFilePath(folder);
    const std::string previous = ReadIniFile(path).value_or(std::string());
    SafeFileWriter out(path);
    out.Write(KeyTextsToIni(texts, previous));
    out.Commit();
}

}  // namespace tw
