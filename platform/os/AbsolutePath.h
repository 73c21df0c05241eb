/** @file File names made absolute the way the user typed them. */
#pragma once

#include <string>
#include <vector>

namespace tw {

/// `name` as an absolute name, worked out from its text alone: a relative
/// name is joined to the working folder (as the shell shows it, so a folder
/// reached through a symbolic link keeps that spelling), "." and ".." are
/// taken out, doubled slashes become one. No symbolic link is followed, so
/// a link stays a name of its own. An empty name stays empty; so does any
/// name when the working folder is gone.
std::string AbsoluteFileName(const std::string& name);

/// AbsoluteFileName of each name, in order.
std::vector<std::string> AbsoluteFileNames(const std::vector<std::string>& names);

}  // namespace tw
