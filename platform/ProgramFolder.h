/** @file Where the program keeps its own files (settings, clipboard history, backups). */
#pragma once

#include <string>

namespace tw {

/// The variable that names the program folder directly; tests set it so that
/// nothing touches a user's own settings.
inline constexpr const char* kProgramFolderVariable = "TARNWICK_EDITOR_HOME";

/// The folder for "Option.dat", "Clip.dat", "KeyBrd.ini" and "BackUp": the
/// variable above when set; else the executable's folder when it is writable
/// (a portable copy); else ~/.config/tarnwick-editor (created on demand).
std::string ProgramFolder(const std::string& executableDir);

/// The folder the running executable lives in.
std::string ExecutableFolder();

}  // namespace tw
