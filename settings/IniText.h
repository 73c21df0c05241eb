/** @file Text of the program's INI files, read with the rules of the Windows profile functions. */
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
/// Without blanks (spaces and tabs) at either end.
std::string_view TrimBlanks(std::string_view s);

/// Calls f with each line, without its LF and a CR before it.
void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& f);

struct IniLine {
    enum Kind { kOther, kSection, kEntry } kind = kOther;
    /// The section's or the key's name, blanks dropped.
    std::string_view name;
    /// An entry's value: blanks and one pair of matching quotes dropped.
    std::string_view value;
};

IniLine ClassifyIniLine(std::string_view line);

/// A value as it must be written so that reading gives it back: one that
/// reading would change (blanks at an end, a pair of quotes around it) goes
/// inside one more pair of quotes.
std::string IniValue(std::string_view value);

/// True for a section line naming `section` in any letter case.
bool IsIniSection(const IniLine& line, std::string_view section);

/// Calls f(name, value) with each entry of every section named `section`
/// (any letter case), in file order.
void ForEachIniEntry(std::string_view ini, std::string_view section,
                     const std::function<void(std::string_view, std::string_view)>& f);

/// The bytes of an INI file of at most 1 MiB; nullopt when it is missing,
/// cannot be read or is longer, and then *failed tells whether it was there.
std::optional<std::string> ReadIniFile(const std::string& path, bool* failed = nullptr);

/// `previous` with the entries of section `section` for which `replaced`
/// holds taken out and `entries` (whole lines without their ends) put at the
/// end of the first such section, or in a new section at the end of the
/// text. Every other line stays as it was; lines end in CR LF.
std::string ReplaceIniEntries(std::string_view previous, std::string_view section,
                              const std::function<bool(std::string_view name)>& replaced,
                              const std::string& entries);

}  // namespace tw
