// The help texts beside the program as the build writes them: cp932 with CR
// LF line ends, the form in which the editor shows any Shift-JIS file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/codec/Cp932Codec.h"
#include "support/TempDir.h"

using namespace tw;
using namespace tw::test;

namespace {

const char* const kHelpFiles[] = {"ReadMe.txt", "History.txt", "Manual.txt"};

std::string HelpFile(const char* name) {
    return ReadFile((std::filesystem::path(TW_HELP_DIR) / name).string());
}

/// The converter, built beside the program's folder in the build tree.
std::string Converter() {
    return (std::filesystem::path(TW_HELP_DIR) / ".." / "resources" / "tw_help_text").string();
}

int RunConverter(const std::string& source, const std::string& target) {
    const std::string command =
        "'" + Converter() + "' '" + source + "' '" + target + "' 2>/dev/null";
    return std::system(command.c_str());
}

/// Offsets of CR and LF bytes that are not part of a CR LF pair.
std::vector<size_t> LoneBreaks(const std::string& bytes) {
    std::vector<size_t> lone;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const bool pairedCr = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        const bool pairedLf = bytes[i] == '\n' && i > 0 && bytes[i - 1] == '\r';
        if ((bytes[i] == '\r' && !pairedCr) || (bytes[i] == '\n' && !pairedLf)) lone.push_back(i);
    }
    return lone;
}

/// Offset of the first byte that does not begin a cp932 character (a stray
/// trail byte, a lead byte cut off, an unassigned code), or npos.
size_t FirstUndecodable(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const cp932::DecodedChar c = cp932::DecodeAt(bytes.data() + i, bytes.size() - i);
        if (!c.valid) return i;
        i += c.length;
    }
    return std::string::npos;
}

bool Contains(const std::string& bytes, std::u16string_view text) {
    return cp932::Decode(bytes).find(text) != std::u16string::npos;
}

}  // namespace

TEST(HelpText, EachFileIsCp932WithEveryLineEndedByCrLf) {
    for (const char* name : kHelpFiles) {
        SCOPED_TRACE(name);
        const std::string bytes = HelpFile(name);
        ASSERT_GT(bytes.size(), 200u) << "missing or nearly empty; build tw_help_texts";
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        EXPECT_EQ(LoneBreaks(bytes), std::vector<size_t>());
        EXPECT_EQ(FirstUndecodable(bytes), std::string::npos);
    }
}

TEST(HelpText, TheFilesReadAsTheJapaneseTheyWereWrittenIn) {
    EXPECT_TRUE(Contains(HelpFile("ReadMe.txt"), u"環境変数 TARNWICK_EDITOR_HOME"));
    EXPECT_TRUE(Contains(HelpFile("History.txt"), u"0.1.0"));
    EXPECT_TRUE(Contains(HelpFile("Manual.txt"), u"「ファイル(F)」の「開き直す(R)」"));
}

TEST(HelpText, TheConverterEndsEveryLineInCrLfAndRefusesWhatCp932Lacks) {
    TempDir dir;
    const std::string good =
        dir.Write("good.in", "\xE4\xB8\x80\xE8\xA1\x8C\r\nline\nlast");  // 一行
    ASSERT_EQ(RunConverter(good, dir.File("good.txt")), 0);
    EXPECT_EQ(ReadFile(dir.File("good.txt")), "\x88\xEA\x8D\x73\r\nline\r\nlast\r\n");

    const std::string emoji = dir.Write("emoji.in", "ok\n\xF0\x9F\x98\x80\n");  // U+1F600
    EXPECT_NE(RunConverter(emoji, dir.File("emoji.txt")), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("emoji.txt")));

    const std::string loneCr = dir.Write("cr.in", "a\rb\n");
    EXPECT_NE(RunConverter(loneCr, dir.File("cr.txt")), 0);
}
