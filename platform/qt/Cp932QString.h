/** @file cp932 bytes as the text Qt shows, and back. */
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/codec/Cp932Codec.h"

namespace tw {

inline QString QStringFromCp932(std::string_view bytes) {
    const std::u16string u = cp932::Decode(bytes);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

inline std::string Cp932FromQString(const QString& s) {
    return cp932::Encode(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                             static_cast<size_t>(s.size())));
}

}  // namespace tw
