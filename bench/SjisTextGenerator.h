/** @file Real-looking Shift-JIS text of any size, for benchmarks. */
#pragma once

#include <cstdint>
#include <string>

namespace tw::bench {

/// About `bytes` bytes of Japanese prose-like lines averaging ~40 bytes, with
/// kanji, kana, ASCII, half-width katakana and TABs, each ended by CR LF. The
/// same seed gives the same text.
std::string GenerateSjisText(size_t bytes, uint32_t seed);

}  // namespace tw::bench
