/** @file The sample texts the tests read: the project's own in tests/data, and
 * the corpus of real Shift-JIS files when it stands beside the repository. */
#pragma once

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw::test {

/// The *.txt files of a folder, sorted by name so that failures read the same each run.
inline std::vector<std::filesystem::path> TextFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

/// The project's own samples: every break style, the awkward trail bytes,
/// half-width katakana, TABs, long lines and the NEC and IBM extensions.
inline std::vector<std::filesystem::path> DataSamples() {
    return TextFiles(TW_DATA_DIR);
}

/// The corpus folder beside the repository, or nullopt in a clone without it.
inline std::optional<std::filesystem::path> CorpusDir() {
    std::error_code ec;
    if (!std::filesystem::is_directory(TW_CORPUS_DIR, ec)) return std::nullopt;
    return std::filesystem::path(TW_CORPUS_DIR);
}

/// Why a corpus test did nothing, for its skip message.
inline std::string NoCorpus() {
    return "no corpus at " + std::string(TW_CORPUS_DIR) + "; the samples of tests/data were read";
}

/// The bytes of a file whose lines all end alike, with each CR or LF that is
/// not half of a CR LF pair made one (what the loaders make of such a file).
inline std::string WithCrLfBreaks(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out += "\r\n";
            ++i;
        } else if (c == '\r' || c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace tw::test
