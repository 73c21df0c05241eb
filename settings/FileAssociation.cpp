// The desktop's association of text files: a desktop entry of the program's
// own and its name first in the "text/plain" line of the user's
// "mimeapps.list". Only those two things are ever changed; every other
// line of the list, and every other program's entry, stays as it was.
#include "settings/FileAssociation.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "settings/IniText.h"
#include "textstore/SafeFileWriter.h"

namespace tw {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDefaultsGroup = "[Default Applications]";
constexpr std::string_view kExecKey = "Exec=";

std::string UserFolder(const char* variable, const char* fallback) {
    const char* set = std::getenv(variable);
    if (set && set[0] == '/') return set;
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? (fs::path(home) / fallback).string() : std::string();
}

/// A desktop entry is UTF-8 throughout; the desktop drops a file that is not.
bool IsUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80                ? 1
                         : c >= 0xC2 && c < 0xE0 ? 2
                         : c >= 0xE0 && c < 0xF0 ? 3
                         : c >= 0xF0 && c < 0xF5 ? 4
                                                 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

bool NeedsQuotes(std::string_view path) {
    return path.find_first_of(" \t\"'\\><~|&;$*?#()`") != std::string_view::npos;
}

std::string DesktopEntryText(const std::string& exec) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tarnwick Editor\n"
           "Comment=テキストドキュメント\n" +
           std::string(kExecKey) + exec +
           "\n"
           "Icon=tarnwick-editor\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "MimeType=text/plain;\n";
}

std::string DesktopEntryPath(const AssociationPlaces& places) {
    return (fs::path(places.Applications) / kAssociationDesktopFile).string();
}

/// The pieces of `text` between separators (a last one may lack its separator).
std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    while (!text.empty()) {
        const size_t end = text.find(separator);
        pieces.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return pieces;
}

/// Each piece followed by the separator.
std::string Join(const std::vector<std::string>& pieces, char separator) {
    std::string text;
    for (const std::string& piece : pieces)
        text.append(piece).append(1, separator);
    return text;
}

/// The index of the first line starting with `key` in group `group`, or -1.
int GroupLine(const std::vector<std::string>& lines, std::string_view group, std::string_view key) {
    bool inGroup = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].starts_with('[')) inGroup = lines[i] == group;
        if (inGroup && lines[i].starts_with(key)) return static_cast<int>(i);
    }
    return -1;
}

/// The desktop entries of a handler list such as "a.desktop;b.desktop;".
std::vector<std::string> Handlers(std::string_view list) {
    std::vector<std::string> names = Split(list, ';');
    for (std::string& name : names)
        name = std::string(TrimBlanks(name));
    std::erase(names, std::string());
    return names;
}

std::string TextKey() {
    return std::string(kTextMimeType) + "=";
}

/// The index of the line holding the default handlers of text files, or -1.
int TextDefaultsLine(const std::vector<std::string>& lines) {
    return GroupLine(lines, kDefaultsGroup, TextKey());
}

std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
    bool failed = false;
    std::optional<std::string> bytes = ReadIniFile(path, &failed);
    if (failed) return std::nullopt;
    return Split(bytes.value_or(std::string()), '\n');
}

void WriteFile(const std::string& path, const std::string& text) {
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    SafeFileWriter out(path);
    out.Write(text);
    out.Commit();
}

/// The defaults with the program's entry first; the group and the line are
/// added where the list has none.
void PutFirst(std::vector<std::string>& lines) {
    const int at = TextDefaultsLine(lines);
    if (at >= 0) {
        std::vector<std::string> names =
            Handlers(std::string_view(lines[at]).substr(TextKey().size()));
        std::erase(names, kAssociationDesktopFile);
        names.insert(names.begin(), kAssociationDesktopFile);
        lines[at] = TextKey() + Join(names, ';');
        return;
    }
    const std::string line = TextKey() + kAssociationDesktopFile + ";";
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == kDefaultsGroup) {
            lines.insert(lines.begin() + static_cast<long>(i) + 1, line);
            return;
        }
    lines.emplace_back(kDefaultsGroup);
    lines.push_back(line);
}

void TakeOut(std::vector<std::string>& lines) {
    const int at = TextDefaultsLine(lines);
    if (at < 0) return;
    std::vector<std::string> names = Handlers(std::string_view(lines[at]).substr(TextKey().size()));
    std::erase(names, kAssociationDesktopFile);
    if (names.empty())
        lines.erase(lines.begin() + at);
    else
        lines[at] = TextKey() + Join(names, ';');
}

}  // namespace

AssociationPlaces AssociationPlaces::FromEnvironment() {
    AssociationPlaces places;
    const std::string data = UserFolder("XDG_DATA_HOME", ".local/share");
    const std::string config = UserFolder("XDG_CONFIG_HOME", ".config");
    if (!data.empty()) places.Applications = (fs::path(data) / "applications").string();
    if (!config.empty()) places.MimeAppsList = (fs::path(config) / "mimeapps.list").string();
    return places;
}

std::string AssociationExec(const std::string& program) {
    if (program.empty() || program[0] != '/' || !IsUtf8(program)) return {};
    std::string exec;
    const bool quoted = NeedsQuotes(program);
    if (quoted) exec += '"';
    for (const char c : program) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return {};
        // Inside quotes these four take a backslash; the file's own escaping
        // then doubles every backslash.
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) exec += "\\\\";
        if (c == '%') exec += '%';
        exec += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    if (quoted) exec += '"';
    return exec + " %F";
}

bool IsAssociated(const AssociationPlaces& places, const std::string& program) {
    const auto list = ReadLines(places.MimeAppsList);
    const int at = list ? TextDefaultsLine(*list) : -1;
    if (at < 0) return false;
    const std::vector<std::string> names =
        Handlers(std::string_view((*list)[at]).substr(TextKey().size()));
    if (names.empty() || names.front() != kAssociationDesktopFile) return false;
    const auto entry = ReadLines(DesktopEntryPath(places));
    const int exec = entry ? GroupLine(*entry, "[Desktop Entry]", kExecKey) : -1;
    return exec >= 0 && (*entry)[exec] == std::string(kExecKey) + AssociationExec(program);
}

std::string Associate(const AssociationPlaces& places, const std::string& program) {
    const std::string exec = AssociationExec(program);
    if (exec.empty() || places.Applications.empty() || places.MimeAppsList.empty())
        return kAssociateFailedMessage;
    if (IsAssociated(places, program)) return kAlreadyAssociatedMessage;
    std::optional<std::vector<std::string>> list = ReadLines(places.MimeAppsList);
    if (!list) return kAssociateFailedMessage;
    try {
        WriteFile(DesktopEntryPath(places), DesktopEntryText(exec));
        PutFirst(*list);
        WriteFile(places.MimeAppsList, Join(*list, '\n'));
    } catch (const std::exception&) {
        return kAssociateFailedMessage;
    }
    return kAssociatedMessage;
}

std::string Unassociate(const AssociationPlaces& places, const std::string& program) {
    if (!IsAssociated(places, program)) return {};
    std::optional<std::vector<std::string>> list = ReadLines(places.MimeAppsList);
    if (!list) return kUnassociateFailedMessage;
    try {
        TakeOut(*list);
        WriteFile(places.MimeAppsList, Join(*list, '\n'));
        std::error_code error;
        fs::remove(DesktopEntryPath(places), error);
        if (error) return kUnassociateFailedMessage;
    } catch (const std::exception&) {
        return kUnassociateFailedMessage;
    }
    return kUnassociatedMessage;
}

}  // namespace tw
