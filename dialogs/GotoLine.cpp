#include "dialogs/GotoLine.h"

#include <charconv>

namespace tw {

namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::optional<int32_t> GotoLineTarget(std::string_view typed) {
    std::string_view s = Trimmed(typed);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    int32_t n = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return n < 1 ? 0 : n - 1;
}

}  // namespace tw
