// The cp932 codec both ways. Decoding any bytes takes every byte into exactly
// one character; the valid characters encode back to their own bytes, apart
// from the vendor-row duplicates, which come back as the code Windows writes
// for the same character; whatever the encoders write is cp932 they read back
// unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "platform/codec/Cp932Codec.h"

using namespace tw;
using namespace tw::cp932;
using tw::fuzz::Require;

namespace {

/// The rows whose characters also have a code elsewhere (NEC row 13, the
/// NEC-selected and the IBM extensions).
bool InDuplicateRow(unsigned char lead) {
    return lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA;
}

/// The valid characters of `bytes`, in order, without the invalid ones.
std::string ValidCharacters(std::string_view bytes) {
    std::string valid;
    size_t chars = 0;
    for (size_t at = 0; at < bytes.size(); ++chars) {
        const DecodedChar d = DecodeAt(bytes.data() + at, bytes.size() - at);
        Require(d.length == 1 || d.length == 2, "a character of no or many bytes");
        Require(at + d.length <= bytes.size(), "a character past the end");
        if (d.valid) valid.append(bytes.substr(at, d.length));
        at += d.length;
    }
    Require(Decode(bytes).size() == chars, "Decode and the walk disagree");
    return valid;
}

void CheckDecodeEncode(std::string_view bytes) {
    const std::string valid = ValidCharacters(bytes);
    const std::u16string units = Decode(valid);
    int lossy = -1;
    const std::string back = Encode(units, &lossy);
    Require(lossy == 0, "a valid character has no code");
    Require(back.size() == valid.size(), "a character changed its width");
    Require(Decode(back) == units, "encoded bytes decode to other characters");
    for (size_t at = 0; at < valid.size();) {
        const size_t n = DecodeAt(valid.data() + at, valid.size() - at).length;
        if (back.compare(at, n, valid, at, n) != 0)
            Require(n == 2 && InDuplicateRow(static_cast<unsigned char>(valid[at])),
                    "a character without a duplicate came back as other bytes");
        at += n;
    }
}

/// What an encoder wrote is all valid cp932 and is its own encoding.
void CheckWritten(const std::string& written) {
    Require(ValidCharacters(written) == written, "an encoder wrote an invalid character");
    int lossy = -1;
    Require(Encode(Decode(written), &lossy) == written && lossy == 0,
            "what an encoder wrote does not encode to itself");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckDecodeEncode(bytes);

    // The same bytes as UTF-16 text, as the toolkit hands typed or pasted text.
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    int lossy = -1;
    const std::string encoded = Encode(text, &lossy);
    Require(lossy >= 0 && static_cast<size_t>(lossy) <= text.size(), "lossy count");
    CheckWritten(encoded);

    // And as UTF-8, well-formed or not.
    lossy = -1;
    const std::string fromUtf8 = EncodeUtf8(bytes, &lossy);
    Require(lossy >= 0 && static_cast<size_t>(lossy) <= size, "lossy count of UTF-8");
    CheckWritten(fromUtf8);
    return 0;
}
