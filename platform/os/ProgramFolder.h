/** @file Where the program keeps its own files (settings, clipboard history, backups). */
#pragma once

#include <string>

namespace tw {

/// The variable that names the program folder directly; tests set it so that
/// nothing touches a user's own settings.
inline constexpr const char* kProgramFolderVariable = "TARNWICK_EDITOR_HOME";

/// The folder for "Option.dat", "Clip.dat", "KeyBrd.ini" and "BackUp": the
/// variable above when set; else the executable's folder when it is writable
/// and not an installed program's (a portable copy); else
/// ~/.config/tarnwick-editor (created on demand).
std::string ProgramFolder(const std::string& executableDir);

/// The folder the running executable lives in.
std::string ExecutableFolder();

/// Where the help text `name` ("ReadMe.txt", ...) is: beside the executable
/// (a build tree or a portable copy) when it is there, otherwise in
/// ../share/tarnwick-editor, where an installed program keeps it.
std::string HelpTextPath(const std::string& executableDir, const std::string& name);

}  // namespace tw
