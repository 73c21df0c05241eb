/** @file Colour-scheme files: the eight editor colours in section "Color" of an INI file. */
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/ColorScheme.h"

namespace tw {

inline constexpr const char* kColorSchemeSection = "Color";

/// The keys of the eight colours, in the order of the colour list.
inline constexpr std::array<const char*, 8> kColorSchemeKeys = {
    "Normal", "Back", "Select", "Find", "URL,MailTo", "EOF,CR,ZSpc", "Quotation", "UnderLine"};

/// The name a scheme chosen as `chosen` is written under: ".ini" is appended
/// in every case, so "a.ini" becomes "a.ini.ini".
std::string ColorSchemeFileName(const std::string& chosen);

/// The colours of section "Color"; a key that is missing, empty or no
/// number gives the built-in colour.
EditorColors ColorSchemeFromIni(std::string_view ini);

/// `previous` (possibly empty) with the eight keys of section "Color" set to
/// `colors` as signed decimal numbers (a system colour is negative); every
/// other line stays.
std::string ColorSchemeToIni(const EditorColors& colors, std::string_view previous);

/// Reads a scheme file; a missing one gives the built-in scheme. A file that
/// is there but cannot be read throws FileIoError.
EditorColors LoadColorScheme(const std::string& path);

/// Writes the colours into ColorSchemeFileName(chosen), keeping that file's
/// other lines, and returns its name. A failure throws FileIoError and leaves
/// an old file intact.
std::string SaveColorScheme(const std::string& chosen, const EditorColors& colors);

}  // namespace tw
