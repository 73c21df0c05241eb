/** @file Text of the dialogs' fields as the documents hold it (cp932) and back. */
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/codec/Cp932Codec.h"

namespace tw {

inline std::string ToDocumentBytes(const QString& s) {
    return cp932::Encode(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                             static_cast<size_t>(s.size())));
}

inline QString FromDocumentBytes(std::string_view bytes) {
    const std::u16string u = cp932::Decode(bytes);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

/// A field filled from a document keeps the bytes it was filled from: Unicode
/// has one character for cp932's NEC and IBM duplicates (87 90 and 81 E0 are
/// both "≒"), so the text read back could name other bytes. The bytes stand
/// until the user changes the field.
class FieldBytes {
  public:
    /// The text to show for `bytes`.
    QString Fill(std::string_view bytes) {
        bytes_ = std::string(bytes);
        shown_ = FromDocumentBytes(bytes);
        return shown_;
    }
    /// The bytes the field's present text stands for.
    std::string Of(const QString& text) const {
        return text == shown_ ? bytes_ : ToDocumentBytes(text);
    }

  private:
    std::string bytes_;
    QString shown_;
};

}  // namespace tw
