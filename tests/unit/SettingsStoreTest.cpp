// "Option.dat" and "Clip.dat" on disk, and the settings as an editor receives them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "headless/EditorHarness.h"
#include "settings/ApplySettings.h"
#include "settings/SettingsStore.h"
#include "support/TempDir.h"
#include "textstore/ShiftJis.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;

namespace {

/// A record that differs from the defaults in layout, font, colour, window and histories.
OptionData ChangedRecord() {
    OptionData d;
    d.WordWrap = false;
    d.Column = 99;
    d.Inyostr = "|";
    d.FontSize = 20;
    d.FontName = "IPAGothic";
    d.EditorColor = 0x102030;
    d.WindowState = 2;
    d.WindowTop = 5;
    for (size_t i = 0; i < kHistorySlots; ++i) {
        d.ReadHistory[i] = "/home/user/file" + std::to_string(i) + ".txt";
        d.FindHistory[i] = "find" + std::to_string(i);
    }
    d.FindHistory[9] = std::string(255, 'z');
    return d;
}

std::string OptionPath(const TempDir& dir) {
    return dir.File(kOptionFileName);
}

}  // namespace

// ---- Option.dat -------------------------------------------------------------

TEST(SettingsStore, DefaultStartWritesTheFullDefaultImage) {
    TempDir dir;
    const OptionData loaded = LoadOptionData(dir.path().string());
    EXPECT_EQ(loaded, OptionData());
    EXPECT_EQ(loaded.WindowState, 0);
    EXPECT_EQ(loaded.ReadHistory[0], "");
    SaveOptionData(dir.path().string(), loaded);
    const std::string file = ReadFile(OptionPath(dir));
    ASSERT_EQ(file.size(), 5784u);
    EXPECT_EQ(file[13], 1);
    EXPECT_EQ(file[14], '>');
    EXPECT_EQ(file[288], 8);
    EXPECT_EQ(file.substr(289, 8), "FixedSys");
}

TEST(SettingsStore, FullFileIsReadWholeAndBytesPastItIgnored) {
    TempDir dir;
    const OptionData changed = ChangedRecord();
    SaveOptionData(dir.path().string(), changed);
    EXPECT_EQ(LoadOptionData(dir.path().string()), changed);
    dir.Write(kOptionFileName, changed.ToBytes() + std::string(100, '\x07'));
    EXPECT_EQ(LoadOptionData(dir.path().string()), changed);
}

TEST(SettingsStore, FileOneByteShortGivesDefaultsButKeepsStateAndHistories) {
    TempDir dir;
    const OptionData changed = ChangedRecord();
    dir.Write(kOptionFileName, changed.ToBytes().substr(0, 5783));
    const OptionData d = LoadOptionData(dir.path().string());
    EXPECT_EQ(d.Column, 70);
    EXPECT_TRUE(d.WordWrap);
    EXPECT_EQ(d.Inyostr, ">");
    EXPECT_EQ(d.FontName, "FixedSys");
    EXPECT_EQ(d.EditorColor, 0xFFFFFFu);
    EXPECT_EQ(d.WindowTop, 133);
    EXPECT_EQ(d.WindowState, 2);
    EXPECT_EQ(d.ReadHistory, changed.ReadHistory);
    for (size_t i = 0; i < 9; ++i)
        EXPECT_EQ(d.FindHistory[i], changed.FindHistory[i]);
    // The missing last byte reads as zero.
    EXPECT_EQ(d.FindHistory[9], std::string(254, 'z') + '\0');
}

TEST(SettingsStore, MissingOrEmptyFilesGiveDefaults) {
    TempDir dir;
    dir.Write(kOptionFileName, "");
    EXPECT_EQ(LoadOptionData(dir.path().string()), OptionData());
    EXPECT_EQ(LoadOptionData(dir.File("no-such-folder")), OptionData());
}

TEST(SettingsStore, AFullFileIsReadWholeUnlessMostBooleanBytesAreOdd) {
    TempDir dir;
    OptionData changed = ChangedRecord();
    changed.SaveWindow = false;
    std::string image = changed.ToBytes();
    image[0] = '\x02';    // WordWrap, written by a hand edit
    image[606] = '\xFF';  // SaveWindow, written by another tool
    dir.Write(kOptionFileName, image);
    OptionData expected = changed;
    expected.WordWrap = expected.SaveWindow = true;
    EXPECT_EQ(LoadOptionData(dir.path().string()), expected);
    EXPECT_FALSE(LoadOptionFile(dir.path().string()).ReadFailed);
    // Every Boolean byte odd: no record at all, but bytes of something else.
    dir.Write(kOptionFileName, std::string(kOptionDataSize, '\xFF'));
    const OptionFile all = LoadOptionFile(dir.path().string());
    EXPECT_TRUE(all.ReadFailed);
    EXPECT_EQ(all.Data, OptionData());
}

TEST(SettingsStore, AFileThatCannotBeReadGivesDefaultsAndIsMarked) {
    TempDir dir;
    EXPECT_FALSE(LoadOptionFile(dir.path().string()).ReadFailed) << "a missing file is no failure";
    dir.Write(kOptionFileName, "short");
    EXPECT_TRUE(LoadOptionFile(dir.path().string()).ReadFailed) << "no record: left alone";
    std::filesystem::remove(OptionPath(dir));
    std::filesystem::create_directory(OptionPath(dir));
    OptionFile file = LoadOptionFile(dir.path().string());
    EXPECT_TRUE(file.ReadFailed);
    EXPECT_EQ(file.Data, OptionData());
    TempDir fifoDir;
    ASSERT_EQ(::mkfifo(OptionPath(fifoDir).c_str(), 0600), 0);
    // Opening a FIFO for reading would wait for a writer forever.
    file = LoadOptionFile(fifoDir.path().string());
    EXPECT_TRUE(file.ReadFailed);
    EXPECT_EQ(file.Data, OptionData());
    // A read that fails after the open: reading /proc/self/mem at offset 0 is an I/O error.
    TempDir brokenDir;
    ASSERT_EQ(::symlink("/proc/self/mem", OptionPath(brokenDir).c_str()), 0);
    EXPECT_TRUE(LoadOptionFile(brokenDir.path().string()).ReadFailed);
}

// ---- Clip.dat ---------------------------------------------------------------

TEST(ClipHistory, EntriesWithLineBreaksRoundTrip) {
    const std::vector<std::string> items = {"a\r\nb",   "",         "tail\r\n",
                                            "\r\nlead", "lone\rcr", "\x82\xa0\r\n"};
    const std::string text = FormatClipHistory(items, 6);
    EXPECT_EQ(text.substr(0, 9), "a\r\nb\r\n\x03\r\n");
    EXPECT_EQ(ParseClipHistory(text), items);

    TempDir dir;
    SaveClipHistory(dir.path().string(), items, 6);
    EXPECT_EQ(ReadFile(dir.File(kClipFileName)), text);
    const ClipHistory h = LoadClipHistory(dir.path().string());
    EXPECT_EQ(h.ClipItems, items);
    EXPECT_EQ(h.ClipCount, 6);
    EXPECT_FALSE(h.ReadFailed);
}

TEST(ClipHistory, TwoEndLinesInARowReadAsAnEmptyEntry) {
    EXPECT_EQ(ParseClipHistory("a\r\n\x03\r\n\x03\r\nb\r\n\x03\r\n"),
              (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(ParseClipHistory("\x03\r\n"), std::vector<std::string>{""});
}

TEST(ClipHistory, LinesAfterTheLastEndLineAreDropped) {
    EXPECT_EQ(ParseClipHistory("a\r\n\x03\r\nb\r\nc"), std::vector<std::string>{"a"});
    EXPECT_EQ(ParseClipHistory("a\r\n\x03"), std::vector<std::string>{"a"});
    EXPECT_TRUE(ParseClipHistory("never closed\r\n").empty());
    // A 0x03 byte inside a line is text, not an end.
    EXPECT_EQ(ParseClipHistory("x\x03\r\n\x03\r\n"), std::vector<std::string>{"x\x03"});
}

TEST(ClipHistory, EmptyOrMissingFileGivesAnEmptyHistorySilently) {
    TempDir dir;
    for (bool missing : {true, false}) {
        if (!missing) dir.Write(kClipFileName, "");
        const ClipHistory h = LoadClipHistory(dir.path().string());
        EXPECT_TRUE(h.ClipItems.empty());
        EXPECT_EQ(h.ClipCount, 0);
        EXPECT_FALSE(h.ReadFailed);
    }
    // A folder under the name is there but cannot be read.
    std::filesystem::remove(dir.File(kClipFileName));
    std::filesystem::create_directory(dir.File(kClipFileName));
    const ClipHistory h = LoadClipHistory(dir.path().string());
    EXPECT_TRUE(h.ClipItems.empty());
    EXPECT_TRUE(h.ReadFailed);
}

TEST(ClipHistory, AtMostThirtyEntriesAreWrittenAndRead) {
    std::vector<std::string> items;
    for (int i = 0; i < 31; ++i)
        items.push_back("entry" + std::to_string(i));
    const std::vector<std::string> back = ParseClipHistory(FormatClipHistory(items, 31));
    ASSERT_EQ(back.size(), 30u);
    EXPECT_EQ(back.front(), "entry0");
    EXPECT_EQ(back.back(), "entry29");

    std::string forty;
    for (int i = 0; i < 40; ++i)
        forty += "e\r\n\x03\r\n";
    EXPECT_EQ(ParseClipHistory(forty).size(), 30u);
}

TEST(ClipHistory, CountOutsideTheListWritesOnlyWhatExists) {
    const std::vector<std::string> items = {"one", "two"};
    EXPECT_EQ(ParseClipHistory(FormatClipHistory(items, 5)), items);
    EXPECT_EQ(FormatClipHistory(items, -3), "");
    // After clearing the history it holds one empty entry and a count of 0.
    EXPECT_EQ(FormatClipHistory({""}, 0), "");
}

TEST(ClipHistory, EntryHoldingAnEndLineIsLeftOutWithoutShiftingTheRest) {
    const std::vector<std::string> items = {"a", "x\r\n\x03\r\ny", "\x03", "b"};
    EXPECT_EQ(ParseClipHistory(FormatClipHistory(items, 4)), (std::vector<std::string>{"a", "b"}));
}

TEST(ClipHistory, ArbitraryEntriesRoundTrip) {
    // No piece can form a line of the single byte 0x03, so every entry is storable.
    const std::vector<std::string> pieces = {"a", "\r", "\n", "\r\n", "x\x03", "\x82\xa0"};
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> items(random() % 8);
        for (std::string& entry : items)
            for (size_t k = random() % 6; k > 0; --k)
                entry += pieces[random() % pieces.size()];
        EXPECT_EQ(ParseClipHistory(FormatClipHistory(items, static_cast<int32_t>(items.size()))),
                  items);
    }
}

// ---- Applying to an editor ----------------------------------------------------

TEST(SettingsApply, DefaultsReachTheEditor) {
    EditorHarness h;
    ApplySettings(h.ed, OptionData());
    EXPECT_TRUE(h.ed.ShowLineNumber());
    EXPECT_TRUE(h.ed.WordWrap());
    EXPECT_EQ(h.ed.Column(), 70);
    EXPECT_EQ(h.ed.TabCount(), 6);
    EXPECT_EQ(h.ed.ScrollStep, 2);
    EXPECT_EQ(h.ed.Font().Name, "FixedSys");
    EXPECT_EQ(h.ed.Font().Size, 14);
    EXPECT_EQ(h.ed.Color(), 0xFFFFFFu);
    EXPECT_EQ(h.ed.SelColor(), 0x808080u);
    EXPECT_EQ(h.ed.InyoColor, 0x808080u);
    EXPECT_EQ(h.ed.CREOFcolor, 0x808000u);
    EXPECT_EQ(h.ed.Inyostr, ">");
}

TEST(SettingsApply, ChangedValuesReachTheEditor) {
    EditorHarness h;
    OptionData o;
    o.ShowLineNumber = false;
    o.EofDraw = o.CRDraw = o.ZspcDraw = false;
    o.Inyostr = "|#";
    o.Gyokan = 50;
    o.TabCount = 4;
    o.ScrollStep = 9;
    o.UlineF = true;
    o.FontSize = 20;
    o.FontName = "IPAGothic";
    o.FontColor = 0x112233;
    o.URLColor = 0x445566;
    o.UlineColor = 0x778899;
    ApplySettings(h.ed, o);
    EXPECT_FALSE(h.ed.ShowLineNumber());
    EXPECT_FALSE(h.ed.EofDraw() || h.ed.CRDraw() || h.ed.ZspcDraw());
    EXPECT_EQ(h.ed.Inyostr, "|#");
    EXPECT_EQ(h.ed.Gyokan(), 50);
    EXPECT_EQ(h.ed.TabCount(), 4);
    EXPECT_EQ(h.ed.ScrollStep, 9);
    EXPECT_TRUE(h.ed.UlineF);
    EXPECT_EQ(h.ed.Font().Size, 20);
    EXPECT_EQ(h.ed.Font().Name, "IPAGothic");
    EXPECT_EQ(h.ed.Font().Color, 0x112233u);
    EXPECT_EQ(h.ed.URLColor, 0x445566u);
    EXPECT_EQ(h.ed.UlineColor, 0x778899u);
}

TEST(SettingsApply, QuotedRowsTakeTheTextColourWhileQuotingIsOff) {
    EditorHarness h;
    OptionData o;
    o.FontColor = 0x123456;
    o.InyoColor = 0x006785;
    o.InyoEnabled = false;
    ApplySettings(h.ed, o);
    EXPECT_EQ(h.ed.InyoColor, 0x123456u);
    o.InyoEnabled = true;
    ApplySettings(h.ed, o);
    EXPECT_EQ(h.ed.InyoColor, 0x006785u);
}

TEST(SettingsApply, OutOfRangeStoredValuesAreClamped) {
    OptionData o;
    o.Column = -5;
    o.TabCount = 300;
    o.FontSize = 0;
    o.ScrollStep = 300;  // kept in one byte, 300 would become 44
    o.Gyokan = -7;
    o.FontName = "";
    EditorHarness h;
    ApplySettings(h.ed, o);
    EXPECT_EQ(h.ed.Column(), 10);
    EXPECT_EQ(h.ed.TabCount(), 8);
    EXPECT_EQ(h.ed.Font().Size, 1);
    EXPECT_EQ(h.ed.ScrollStep, 100);
    EXPECT_EQ(h.ed.Gyokan(), 0);
    EXPECT_EQ(h.ed.Font().Name, "FixedSys");

    o.Column = INT_MAX;
    o.TabCount = INT_MIN;
    o.FontSize = INT_MAX;
    o.ScrollStep = -1;
    ApplySettings(h.ed, o);
    EXPECT_EQ(h.ed.Column(), 170);
    EXPECT_EQ(h.ed.TabCount(), 2);
    EXPECT_EQ(h.ed.Font().Size, 149);
    EXPECT_EQ(h.ed.ScrollStep, 1);
}

TEST(SettingsApply, ColoursKeepOnlyFormsThePainterKnows) {
    EXPECT_EQ(SaneColor(0x00123456), 0x00123456u);
    EXPECT_EQ(SaneColor(0x8000000F), 0x8000000Fu);
    EXPECT_EQ(SaneColor(0x8000001E), 0x8000001Eu);
    EXPECT_EQ(SaneColor(0x800000FF), 0x000000FFu);
    EXPECT_EQ(SaneColor(0x80010005), 0x00010005u);
    EXPECT_EQ(SaneColor(0xFF123456), 0x00123456u);
    OptionData o;
    o.EditorColor = 0xDEADBEEF;
    o.SelColor = 0x80000099;
    const EditorSettings s = EditorSettingsFrom(o);
    EXPECT_EQ(s.EditorColor, 0x00ADBEEFu);
    EXPECT_EQ(s.SelColor, 0x00000099u);
    EXPECT_EQ(s.FontStyle, 0);
    o.FontStyle = 0xFF;
    EXPECT_EQ(EditorSettingsFrom(o).FontStyle,
              kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut);
}

TEST(SettingsApply, TextIsWrappedAgainAtTheNewColumn) {
    EditorHarness h;
    const std::string line = Repeat("abcde", 10);
    h.Load(line + "\r\n", false);
    OptionData o;
    o.WordWrap = true;
    o.Column = 20;
    ApplySettings(h.ed, o);
    ASSERT_GT(h.Count(), 2);
    for (int32_t i = 0; i < h.Count(); ++i)
        EXPECT_LE(StripTerminator(h.Row(i)).size(), 20u) << "row " << i;
    EXPECT_EQ(h.ed.GetAllText(), line + "\r\n");
    o.WordWrap = false;
    ApplySettings(h.ed, o);
    EXPECT_EQ(h.Row(0), line + "\r\n");
}

TEST(SettingsApply, NewTabWidthReCutsTheRowsAtAnUnchangedColumn) {
    EditorHarness h;
    h.Load("\t" + Repeat("a", 40) + "\r\n", false);
    OptionData o;
    o.Column = 20;
    o.TabCount = 8;
    ApplySettings(h.ed, o);
    const size_t wideTab = h.Row(0).size();
    o.TabCount = 2;
    ApplySettings(h.ed, o);
    EXPECT_GT(h.Row(0).size(), wideTab);
}

TEST(SettingsApply, ViewIsReLaidOutOnceAfterEveryValueIsSet) {
    EditorHarness h;
    OptionData o;
    o.FontSize = 30;
    o.EditorColor = 0x010203;
    o.UlineColor = 0x0A0B0C;
    int calls = 0;
    ApplySettings(h.ed, o, [&](TVellEdit& ed) {
        ++calls;
        EXPECT_EQ(ed.Font().Size, 30);
        EXPECT_EQ(ed.Color(), 0x010203u);
        EXPECT_EQ(ed.UlineColor, 0x0A0B0Cu);
    });
    EXPECT_EQ(calls, 1);
}

TEST(SettingsApply, FramePlacementStaysUsableAndOnScreen) {
    const ScreenRect screen{0, 0, 1920, 1080};
    OptionData o;
    EXPECT_EQ(SaneFramePlacement(o, screen), (ScreenRect{204, 133, 744, 528}));
    o.WindowWidth = 0;
    o.WindowHeight = -40;
    o.WindowLeft = -500;
    o.WindowTop = 5000;
    EXPECT_EQ(SaneFramePlacement(o, screen),
              (ScreenRect{0, 1080 - kMinFrameHeight, kMinFrameWidth, kMinFrameHeight}));
    o.WindowWidth = o.WindowHeight = o.WindowLeft = o.WindowTop = INT_MAX;
    const ScreenRect second{1920, 100, 1280, 900};
    EXPECT_EQ(SaneFramePlacement(o, second), second);
    o.WindowLeft = o.WindowTop = INT_MIN;
    EXPECT_EQ(SaneFramePlacement(o, second), second);
}

TEST(SettingsApply, TabAndBackupValuesStayHarmless) {
    OptionData o;
    EXPECT_EQ(SaneTabWidth(o), 75);
    EXPECT_EQ(BackupTimerInterval(o), 180000);
    EXPECT_EQ(SaneBackupDays(o), 7);
    o.TabWidth = 0;
    o.AutoSaveInterval = -1;
    o.BackupDays = -3;
    EXPECT_EQ(SaneTabWidth(o), kMinTabWidth);
    EXPECT_EQ(BackupTimerInterval(o), 0);
    EXPECT_EQ(SaneBackupDays(o), 0);
    o.AutoSaveInterval = 5000;
    o.AutoSave = false;
    EXPECT_EQ(BackupTimerInterval(o), 0);
}

TEST(SettingsApply, DamagedFilesNeverCrashLoadingOrApplying) {
    TempDir dir;
    // A record of this program's shape whose numbers and length bytes are extreme.
    std::string image = OptionData().ToBytes();
    for (size_t at : {4u, 272u, 276u, 280u, 284u})
        for (size_t k = 0; k < 4; ++k)
            image[at + k] = k == 3 ? '\x80' : '\0';  // INT_MIN
    for (size_t at : {13u, 288u, 664u, 3224u + 9 * 256})
        image.replace(at, 256, std::string(256, '\xFF'));
    for (size_t at = 548; at < 580; ++at)
        image[at] = '\xEE';
    std::mt19937 random(99);
    std::vector<std::string> files = {image};
    for (size_t length : {1u, 13u, 300u, 5783u, 5784u}) {
        std::string noise(length, '\0');
        for (char& c : noise)
            c = static_cast<char>(random());
        files.push_back(noise);
    }
    for (const std::string& file : files) {
        dir.Write(kOptionFileName, file);
        const OptionData o = LoadOptionData(dir.path().string());
        EditorHarness h;
        h.Load("some text\r\n" + Repeat("x", 400) + "\r\n", false);
        ApplySettings(h.ed, o);
        EXPECT_GE(h.ed.Column(), 10);
        EXPECT_LE(h.ed.Column(), 170);
        EXPECT_GE(h.ed.TabCount(), 2);
        EXPECT_LE(h.ed.TabCount(), 8);
        EXPECT_GE(h.ed.Font().Size, 1);
        EXPECT_LE(h.ed.Font().Size, 149);
        EXPECT_LE(h.ed.Inyostr.size(), 255u);
        EXPECT_FALSE(h.ed.Font().Name.empty());
        EXPECT_EQ(h.ed.GetAllText(), "some text\r\n" + Repeat("x", 400) + "\r\n");
    }
    dir.Write(kOptionFileName, image);
    const OptionData extreme = LoadOptionData(dir.path().string());
    EXPECT_EQ(extreme.Column, INT_MIN) << "the record keeps what was stored";
    EXPECT_EQ(extreme.FontName, std::string(255, '\xFF'));
}
