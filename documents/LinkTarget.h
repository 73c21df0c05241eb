/** @file Which link texts the document window hands to the desktop to open. */
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw {

/// The URL to open for a double-clicked link: web and mail links only
/// ("mail:" becomes "mailto:"). Anything else, file: and every other scheme
/// included, is refused, so a text file can never make the desktop run a
/// program. Control characters and blanks end nothing silently: a link that
/// holds any is refused whole.
std::optional<std::string> LinkTarget(std::string_view link);

}  // namespace tw
