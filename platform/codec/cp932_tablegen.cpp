// Build-time generator of the cp932 lookup tables.
//
// glibc's CP932 converter is the data source; on top of it we apply the
// choices Windows makes so that the editor agrees with the files' origin no
// matter which glibc built it. The output is a C++ fragment included by
// Cp932Codec.cpp. Any doubt about the source data stops the build: a quietly
// wrong table would corrupt users' text.
//
// Usage: cp932_tablegen OUTPUT_FILE
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kLeadCount = 60;  // 0x81-0x9F and 0xE0-0xFC

bool IsLead(int b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrail(int b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
bool IsSingle(int b) {
    return b <= 0x7F || (b >= 0xA1 && b <= 0xDF);
}
int LeadIndex(int lead) {
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "cp932_tablegen: error: %s\n", why.c_str());
    std::exit(1);
}

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            Fail(std::string("iconv cannot convert ") + from + " to " + to + " (" +
                 std::strerror(errno) +
                 "); glibc's CP932 module (gconv/CP932.so from libc6) is required");
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one complete input; empty when iconv rejects any of it.
    std::vector<uint8_t> Convert(const uint8_t* in, size_t n) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // no shift state may leak between calls
        char inBuf[8];
        char outBuf[16];
        std::memcpy(inBuf, in, n);
        char* ip = inBuf;
        char* op = outBuf;
        size_t inLeft = n;
        size_t outLeft = sizeof outBuf;
        if (iconv(cd_, &ip, &inLeft, &op, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
            return {};
        }
        return std::vector<uint8_t>(reinterpret_cast<uint8_t*>(outBuf),
                                    reinterpret_cast<uint8_t*>(op));
    }

  private:
    iconv_t cd_;
};

// Unicode for one double-byte code, 0 when glibc has none. Anything that is
// not exactly one BMP character is treated as no mapping: the display keeps
// one UTF-16 unit per character.
uint16_t DecodePair(Converter& dec, int lead, int trail) {
    const uint8_t in[2] = {static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)};
    std::vector<uint8_t> out = dec.Convert(in, 2);
    if (out.size() != 2) return 0;
    uint16_t u = static_cast<uint16_t>(out[0] | (out[1] << 8));
    if (u >= 0xD800 && u <= 0xDFFF) return 0;
    return u;
}

// The cp932 code glibc gives for a BMP character, -1 when none.
int EncodeWithGlibc(Converter& enc, uint16_t u) {
    const uint8_t in[2] = {static_cast<uint8_t>(u & 0xFF), static_cast<uint8_t>(u >> 8)};
    std::vector<uint8_t> out = enc.Convert(in, 2);
    if (out.size() == 1 && IsSingle(out[0])) return out[0];
    if (out.size() == 2 && IsLead(out[0]) && IsTrail(out[1])) return (out[0] << 8) | out[1];
    return -1;
}

// Windows' order among codes that decode to the same character: the JIS X 0208
// code, then NEC row 13, then the IBM extensions; the NEC-selected copies of
// the IBM extensions (ED/EE) are never produced.
int EncodeRank(int code) {
    int lead = code >> 8;
    if (lead == 0xED || lead == 0xEE) return 3;
    if (lead >= 0xFA) return 2;
    if (lead == 0x87) return 1;
    return 0;
}

void WriteArray(std::FILE* f, const char* name, const std::vector<uint16_t>& values) {
    std::fprintf(f, "constexpr std::uint16_t %s[%zu] = {\n", name, values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] == 0) {
            std::fputs("0,", f);
        } else {
            std::fprintf(f, "0x%X,", values[i]);
        }
        if (i % 32 == 31) std::fputc('\n', f);
    }
    std::fputs("};\n", f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) Fail("usage: cp932_tablegen OUTPUT_FILE");

    Converter dec("UTF-16LE", "CP932");
    Converter enc("CP932", "UTF-16LE");

    std::vector<uint16_t> decode(kLeadCount * 256, 0);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLead(lead)) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!IsTrail(trail)) continue;
            uint16_t u;
            if (lead >= 0xF0 && lead <= 0xF9) {
                // The user-defined area maps linearly onto the private-use area;
                // computed because not every glibc carries these rows.
                u = static_cast<uint16_t>(0xE000 + (lead - 0xF0) * 188 +
                                          (trail - 0x40 - (trail >= 0x80 ? 1 : 0)));
            } else {
                u = DecodePair(dec, lead, trail);
            }
            decode[LeadIndex(lead) * 256 + trail] = u;
        }
    }

    // Windows decodings that differ between converters; pinned so a glibc with
    // the JIS reading (wave dash, minus sign, ...) cannot slip in.
    const struct {
        int code;
        uint16_t unit;
    } kDecodePins[] = {
        {0x815C, 0x2015}, {0x8160, 0xFF5E}, {0x8161, 0x2225}, {0x817C, 0xFF0D},
        {0x8191, 0xFFE0}, {0x8192, 0xFFE1}, {0x81CA, 0xFFE2},
    };
    for (const auto& pin : kDecodePins) {
        decode[LeadIndex(pin.code >> 8) * 256 + (pin.code & 0xFF)] = pin.unit;
    }

    // Anchors that any real cp932 table has; a mismatch means the module on
    // this machine is not the one we expect.
    const struct {
        int code;
        uint16_t unit;
    } kAnchors[] = {
        {0x8140, 0x3000}, {0x82A0, 0x3042}, {0x889F, 0x4E9C}, {0x8740, 0x2460},
        {0x8754, 0x2160}, {0xED40, 0x7E8A}, {0xFA40, 0x2170}, {0xFC4B, 0x9ED1},
    };
    for (const auto& a : kAnchors) {
        uint16_t got = decode[LeadIndex(a.code >> 8) * 256 + (a.code & 0xFF)];
        if (got != a.unit) {
            char msg[128];
            std::snprintf(msg, sizeof msg, "CP932 0x%04X decodes to U+%04X, expected U+%04X",
                          a.code, got, a.unit);
            Fail(msg);
        }
    }
    int mapped = 0;
    for (int i = 0; i < kLeadCount * 256; ++i) {
        bool userDefined = i >= LeadIndex(0xF0) * 256 && i < LeadIndex(0xFA) * 256;
        mapped += !userDefined && decode[i] != 0;
    }
    if (mapped < 7000) {
        Fail("iconv's CP932 maps only " + std::to_string(mapped) +
             " double-byte codes; the table is incomplete");
    }

    // Encoding: each character takes the best-ranked code that decodes to it.
    std::vector<uint16_t> encode(65536, 0);
    std::vector<int> rankOf(65536, 99);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLead(lead)) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            int code = (lead << 8) | trail;
            uint16_t u = decode[LeadIndex(lead) * 256 + trail];
            if (u == 0 || EncodeRank(code) == 3) continue;
            if (EncodeRank(code) < rankOf[u]) {
                rankOf[u] = EncodeRank(code);
                encode[u] = static_cast<uint16_t>(code);
            }
        }
    }
    // U+0000 stays 0 here ("no mapping"); the codec answers for it directly.
    for (int b = 0x01; b <= 0x7F; ++b)
        encode[b] = static_cast<uint16_t>(b);
    for (int b = 0xA1; b <= 0xDF; ++b)
        encode[0xFF61 + b - 0xA1] = static_cast<uint16_t>(b);

    // Characters without a code of their own that input methods and other
    // programs on Linux produce for what Windows users type; glibc's best-fit
    // fills these, and the ones we rely on are pinned below.
    for (int u = 0x80; u <= 0xFFFF; ++u) {
        if (encode[u] != 0 || (u >= 0xD800 && u <= 0xDFFF)) continue;
        int code = EncodeWithGlibc(enc, static_cast<uint16_t>(u));
        if (code < 0) continue;
        if (code > 0xFF && EncodeRank(code) == 3) continue;
        encode[u] = static_cast<uint16_t>(code);
    }
    const struct {
        uint16_t unit;
        int code;
    } kBestFit[] = {
        {0x301C, 0x8160}, {0x2016, 0x8161}, {0x2212, 0x817C}, {0x00A2, 0x8191}, {0x00A3, 0x8192},
        {0x00AC, 0x81CA}, {0x00A5, 0x005C}, {0x203E, 0x007E}, {0x2014, 0x815C},
    };
    for (const auto& bf : kBestFit)
        encode[bf.unit] = static_cast<uint16_t>(bf.code);

    // Written under a temporary name so an interrupted run never leaves a
    // truncated table that the build would take as up to date.
    std::string out = argv[1];
    std::string tmp = out + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "w");
    if (!f) Fail("cannot write " + tmp + ": " + std::strerror(errno));
    std::fputs(
        "// Generated by cp932_tablegen from glibc's CP932 with Windows' choices applied.\n"
        "// Do not edit.\n\n",
        f);
    std::fputs("// Double-byte decoding: [lead index * 256 + trail], 0 = no mapping.\n", f);
    WriteArray(f, "kDecodeDouble", decode);
    std::fputs("\n// BMP encoding: code by UTF-16 unit, 0 = no mapping (U+0000 aside).\n", f);
    WriteArray(f, "kEncodeBmp", encode);
    bool ok = std::ferror(f) == 0;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) Fail("cannot write " + tmp);
    if (std::rename(tmp.c_str(), out.c_str()) != 0) {
        Fail("cannot rename " + tmp + " to " + out + ": " + std::strerror(errno));
    }
    return 0;
}
