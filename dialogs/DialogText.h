/** @file Text of the dialogs' fields as the documents hold it (cp932) and back. */
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "Cp932Codec.h"

namespace tw {

inline std::string ToDocumentBytes(const QString& s) {
    return cp932::Encode(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                             static_cast<size_t>(s.size())));
}

inline QString FromDocumentBytes(std::string_view bytes) {
    const std::u16string u = cp932::Decode(bytes);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

}  // namespace tw
