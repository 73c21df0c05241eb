// A start over a settings file it cannot use: the frame comes up all the same,
// names the file once, and at the end leaves it exactly as it found it.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <random>
#include <tuple>

#include "FrameFixture.h"
#include "settings/KeyTexts.h"
#include "support/FifoWatchdog.h"

namespace tw::test {
namespace {

enum class Damage { kEmpty, kTruncated, kOversized, kNoise, kDirectory, kFifo, kUnreadable };

struct SettingsFile {
    const char* name;
    std::string sound;      ///< a file as the program writes it
    std::string truncated;  ///< one cut off in the middle of a line or record
    std::string message;    ///< what the start says about it
    bool emptyIsSound;      ///< an empty file is the file of nothing
};

const std::vector<SettingsFile>& Files() {
    static const std::vector<SettingsFile> files = {
        {kOptionFileName, OptionData().ToBytes(), OptionData().ToBytes().substr(0, 3000),
         kOptionReadErrorMessage, false},
        {kClipFileName, FormatClipHistory({"one", "two\r\nlines"}, 2), "one\r\n\x03\r\ntwo\r\nli",
         kClipReadErrorMessage, true},
        {kKeyFileName, KeyTextsToIni(DefaultKeyTexts(), ""), "[KeyBrd]\r\nkey1=CTRL+",
         kKeyReadErrorMessage, true},
    };
    return files;
}

std::string Noise() {
    std::mt19937 random(17);
    std::string bytes(kOptionDataSize, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

class BadSettingsFile : public FrameFixture,
                        public ::testing::WithParamInterface<std::tuple<int, Damage>> {};

TEST_P(BadSettingsFile, IsNamedOnceAtStartAndLeftAsItWas) {
    const auto [which, damage] = GetParam();
    const SettingsFile& file = Files()[static_cast<size_t>(which)];
    const std::string path = home_.File(file.name);
    std::string bytes;
    switch (damage) {
        case Damage::kEmpty:
            break;
        case Damage::kTruncated:
            bytes = file.truncated;
            break;
        case Damage::kOversized:
            bytes = file.sound + std::string(1 << 20, ';');
            break;
        case Damage::kNoise:
            bytes = Noise();
            break;
        case Damage::kUnreadable:
            if (::geteuid() == 0) GTEST_SKIP() << "root reads every file (e2e runs it as nobody)";
            bytes = file.sound;
            break;
        case Damage::kDirectory:
            std::filesystem::create_directory(path);
            break;
        case Damage::kFifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            break;
    }
    const bool regular = damage != Damage::kDirectory && damage != Damage::kFifo;
    if (regular) home_.Write(file.name, bytes);
    if (damage == Damage::kUnreadable) ::chmod(path.c_str(), 0);
    std::optional<FifoWatchdog> watchdog;  // a start that opens the FIFO fails, not hangs
    if (damage == Damage::kFifo) watchdog.emplace(path);

    const size_t said = damage == Damage::kEmpty && file.emptyIsSound ? 0 : 1;
    {
        TTarnwickEditor frame(paths_, {});
        frame.SetMessageBox(&messages_);
        frame.show();
        QApplication::processEvents();
        ASSERT_EQ(messages_.shown.size(), said);
        if (said) {
            EXPECT_EQ(messages_.shown[0].text, file.message);
        }
        EXPECT_TRUE(frame.close());
    }
    EXPECT_EQ(messages_.shown.size(), said) << "the end of the program said more";
    if (!regular) {
        EXPECT_TRUE(damage == Damage::kDirectory ? std::filesystem::is_directory(path)
                                                 : std::filesystem::is_fifo(path));
        return;
    }
    ::chmod(path.c_str(), 0600);
    EXPECT_TRUE(ReadFile(path) == bytes) << "the file was written over";
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<int, Damage>>& info) {
    static const char* const files[] = {"OptionDat", "ClipDat", "KeyBrdIni"};
    static const char* const damages[] = {"Empty",     "Truncated", "Oversized", "Noise",
                                          "Directory", "Fifo",      "Unreadable"};
    return std::string(files[std::get<0>(info.param)]) + "_" +
           damages[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(EveryCase, BadSettingsFile,
                         ::testing::Combine(::testing::Range(0, 3),
                                            ::testing::Values(Damage::kEmpty, Damage::kTruncated,
                                                              Damage::kOversized, Damage::kNoise,
                                                              Damage::kDirectory, Damage::kFifo,
                                                              Damage::kUnreadable)),
                         CaseName);

}  // namespace
}  // namespace tw::test
