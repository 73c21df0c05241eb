// The program's INI files are carried over from Windows and edited by hand,
// so they are read as the Windows profile functions read them: section and
// key names in any letter case, blanks around names and values dropped.
#include "settings/IniText.h"

#include "textstore/InputFile.h"

namespace tw {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

/// The profile functions drop one pair of matching quotes around a value.
std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& f) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        f(line);
    }
}

IniLine ClassifyIniLine(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    const size_t close = t.find(']');
    if (!t.empty() && t.front() == '[' && close != std::string_view::npos)
        return {IniLine::kSection, TrimBlanks(t.substr(1, close - 1)), {}};
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) return {};
    return {IniLine::kEntry, TrimBlanks(t.substr(0, eq)), Unquote(TrimBlanks(t.substr(eq + 1)))};
}

std::string IniValue(std::string_view value) {
    const bool guard =
        TrimBlanks(value).size() != value.size() || Unquote(value).size() != value.size();
    return guard ? '"' + std::string(value) + '"' : std::string(value);
}

bool IsIniSection(const IniLine& line, std::string_view section) {
    return line.kind == IniLine::kSection && EqualsIgnoreCase(line.name, section);
}

void ForEachIniEntry(std::string_view ini, std::string_view section,
                     const std::function<void(std::string_view, std::string_view)>& f) {
    bool inSection = false;
    ForEachLine(ini, [&](std::string_view text) {
        const IniLine line = ClassifyIniLine(text);
        if (line.kind == IniLine::kSection) inSection = IsIniSection(line, section);
        if (line.kind == IniLine::kEntry && inSection) f(line.name, line.value);
    });
}

std::optional<std::string> ReadIniFile(const std::string& path, bool* failed) {
    // A sound file is a few hundred bytes; a longer one is not read at all.
    constexpr size_t kReadLimit = 1 << 20;
    FilePrefix file = ReadFilePrefix(path, kReadLimit + 1);
    const bool unusable = file.failed || file.bytes.size() > kReadLimit;
    if (failed) *failed = unusable;
    if (file.missing || unusable) return std::nullopt;
    return std::move(file.bytes);
}

std::string ReplaceIniEntries(std::string_view previous, std::string_view section,
                              const std::function<bool(std::string_view name)>& replaced,
                              const std::string& entries) {
    std::string out;
    bool inSection = false;
    bool written = false;
    ForEachLine(previous, [&](std::string_view text) {
        const IniLine line = ClassifyIniLine(text);
        if (line.kind == IniLine::kSection) {
            if (inSection && !written) {
                out += entries;
                written = true;
            }
            inSection = IsIniSection(line, section);
        } else if (inSection && line.kind == IniLine::kEntry && replaced(line.name)) {
            return;
        }
        out.append(text).append(kLineEnd);
    });
    if (!written && !inSection) out.append("[").append(section).append("]").append(kLineEnd);
    if (!written) out += entries;
    return out;
}

}  // namespace tw
