// tw_help_text SOURCE TARGET: writes a help text kept as UTF-8 in the sources
// as the cp932 file with CR LF line ends that the editor opens from its
// folder. A character without a cp932 form fails the build: it would reach
// the reader as "?".
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "platform/codec/Cp932Codec.h"

namespace {

std::optional<std::string> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFile(const char* path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

/// One line in cp932 followed by CR LF; false (with a message naming the
/// line) when it cannot be written so.
bool ConvertLine(std::string_view line, const char* source, int number, std::string& out) {
    if (line.find('\r') != std::string_view::npos) {
        std::fprintf(stderr, "%s:%d: a CR that does not end the line\n", source, number);
        return false;
    }
    int lossy = 0;
    out += tw::cp932::EncodeUtf8(line, &lossy);
    out += "\r\n";
    if (lossy == 0) return true;
    std::fprintf(stderr, "%s:%d: %d character(s) without a cp932 form\n", source, number, lossy);
    return false;
}

/// The whole text; every line, the last one too, ends in CR LF.
std::optional<std::string> Convert(std::string_view text, const char* source) {
    std::string out;
    bool ok = true;
    for (int number = 1; !text.empty(); ++number) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ok = ConvertLine(line, source, number, out) && ok;  // report every bad line
    }
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tw_help_text SOURCE TARGET\n");
        return 2;
    }
    const std::optional<std::string> text = ReadFile(argv[1]);
    if (!text) {
        std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
        return 1;
    }
    const std::optional<std::string> bytes = Convert(*text, argv[1]);
    if (!bytes) return 1;
    if (!WriteFile(argv[2], *bytes)) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
