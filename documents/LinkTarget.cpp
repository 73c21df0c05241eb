#include "documents/LinkTarget.h"

#include <algorithm>

namespace tw {

namespace {

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
        return a == (b >= 'A' && b <= 'Z' ? char(b - 'A' + 'a') : b);
    });
}

bool HasControlOrBlank(std::string_view s) {
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; });
}

}  // namespace

std::optional<std::string> LinkTarget(std::string_view link) {
    if (link.empty() || HasControlOrBlank(link)) return std::nullopt;
    if (StartsWithNoCase(link, "http://") || StartsWithNoCase(link, "https://") ||
        StartsWithNoCase(link, "mailto:"))
        return std::string(link);
    if (StartsWithNoCase(link, "mail:")) return "mailto:" + std::string(link.substr(5));
    return std::nullopt;
}

}  // namespace tw
