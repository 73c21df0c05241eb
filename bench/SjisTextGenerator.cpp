#include "SjisTextGenerator.h"

#include <random>

namespace tw::bench {

namespace {

void AppendKanji(std::string& out, std::mt19937& rng) {
    // JIS level 1 kanji: leads 0x88 (from 0x9F) to 0x98.
    unsigned lead = 0x89 + rng() % 15;
    unsigned trail = 0x40 + rng() % 0xBC;
    if (trail >= 0x7F) ++trail;
    out += static_cast<char>(lead);
    out += static_cast<char>(trail);
}

void AppendHiragana(std::string& out, std::mt19937& rng) {
    out += '\x82';
    out += static_cast<char>(0x9F + rng() % 83);
}

void AppendAscii(std::string& out, std::mt19937& rng) {
    static const char kWords[][8] = {"the", "data", "Tokyo", "2024", "OK", "file", "(1)", "abc"};
    out += kWords[rng() % 8];
    out += ' ';
}

void AppendLine(std::string& out, std::mt19937& rng) {
    std::uniform_int_distribution<int> length(4, 30);  // characters per line
    int n = length(rng);
    for (int i = 0; i < n; ++i) {
        unsigned kind = rng() % 100;
        if (kind < 40)
            AppendHiragana(out, rng);
        else if (kind < 75)
            AppendKanji(out, rng);
        else if (kind < 90)
            AppendAscii(out, rng);
        else if (kind < 95)
            out += static_cast<char>(0xB1 + rng() % 40);  // half-width katakana
        else if (kind < 97)
            out += '\t';
        else
            out += "\x81\x42";  // the ideographic full stop
    }
    out += "\r\n";
}

}  // namespace

std::string GenerateSjisText(size_t bytes, uint32_t seed) {
    std::mt19937 rng(seed);
    std::string out;
    out.reserve(bytes + 128);
    while (out.size() < bytes)
        AppendLine(out, rng);
    return out;
}

}  // namespace tw::bench
