#include "textstore/ShiftJis.h"

namespace tw {

int ByteTypeAt(std::string_view s, int32_t pos) noexcept {
    if (pos < 1 || static_cast<size_t>(pos) > s.size()) return kSingleByte;
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    int32_t i = pos - 1;  // 0-based index of the byte asked about
    int32_t leads = 0;
    for (int32_t j = i - 1; j >= 0 && IsLeadByte(p[j]); --j)
        ++leads;
    if (leads & 1) return kTrailByte;
    return IsLeadByte(p[i]) ? kLeadByte : kSingleByte;
}

}  // namespace tw
