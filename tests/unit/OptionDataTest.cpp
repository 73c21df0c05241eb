// The "Option.dat" image: every field at its offset, defaults, round trips.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/OptionData.h"

using namespace tw;

namespace {

uint32_t WordAt(const std::string& image, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(image[at + i])) << (8 * i);
    return v;
}

uint8_t ByteAt(const std::string& image, size_t at) {
    return static_cast<uint8_t>(image[at]);
}

struct Expected {
    size_t offset;
    size_t size;  // 1 or 4
    uint32_t value;
};

/// One field of the record: where it lives and how to give it a value that
/// differs from its default in every byte it occupies where possible.
struct FieldCase {
    const char* name;
    size_t offset;
    size_t size;
    std::function<void(OptionData&)> change;
};

std::vector<FieldCase> AllFields() {
    std::vector<FieldCase> f = {
        {"WordWrap", 0, 1, [](OptionData& d) { d.WordWrap = false; }},
        {"Column", 4, 4, [](OptionData& d) { d.Column = 0x01020304; }},
        {"EofDraw", 8, 1, [](OptionData& d) { d.EofDraw = false; }},
        {"CRDraw", 9, 1, [](OptionData& d) { d.CRDraw = false; }},
        {"ZspcDraw", 10, 1, [](OptionData& d) { d.ZspcDraw = false; }},
        {"UlineF", 11, 1, [](OptionData& d) { d.UlineF = true; }},
        {"InyoEnabled", 12, 1, [](OptionData& d) { d.InyoEnabled = false; }},
        {"Inyostr", 13, 256, [](OptionData& d) { d.Inyostr = std::string(255, 'q'); }},
        {"Gyokan", 272, 4, [](OptionData& d) { d.Gyokan = -1; }},
        {"TabCount", 276, 4, [](OptionData& d) { d.TabCount = 0x11223344; }},
        {"ScrollStep", 280, 4, [](OptionData& d) { d.ScrollStep = 0x55667788; }},
        {"FontSize", 284, 4, [](OptionData& d) { d.FontSize = -2; }},
        {"FontName", 288, 256, [](OptionData& d) { d.FontName = std::string(255, 'n'); }},
        {"FontStyle", 544, 1, [](OptionData& d) { d.FontStyle = 0x0F; }},
        {"Reserved", 545, 1, [](OptionData& d) { d.Reserved = 0x5A; }},
        {"FontColor", 548, 4, [](OptionData& d) { d.FontColor = 0xA1B2C3D4; }},
        {"EditorColor", 552, 4, [](OptionData& d) { d.EditorColor = 0xA1B2C3D4; }},
        {"SelColor", 556, 4, [](OptionData& d) { d.SelColor = 0xA1B2C3D4; }},
        {"FindColor", 560, 4, [](OptionData& d) { d.FindColor = 0xA1B2C3D4; }},
        {"URLColor", 564, 4, [](OptionData& d) { d.URLColor = 0xA1B2C3D4; }},
        {"CREOFcolor", 568, 4, [](OptionData& d) { d.CREOFcolor = 0xA1B2C3D4; }},
        {"InyoColor", 572, 4, [](OptionData& d) { d.InyoColor = 0xA1B2C3D4; }},
        {"UlineColor", 576, 4, [](OptionData& d) { d.UlineColor = 0xA1B2C3D4; }},
        {"ReadWindowState", 580, 4, [](OptionData& d) { d.ReadWindowState = -1; }},
        {"LimitWindowCount", 584, 1, [](OptionData& d) { d.LimitWindowCount = true; }},
        {"MaxWindowCount", 588, 4, [](OptionData& d) { d.MaxWindowCount = -1; }},
        {"LimitFileSize", 592, 1, [](OptionData& d) { d.LimitFileSize = true; }},
        {"MaxFileSize", 596, 4, [](OptionData& d) { d.MaxFileSize = -1; }},
        {"CreateBlank", 600, 1, [](OptionData& d) { d.CreateBlank = false; }},
        {"ShowLineNumber", 601, 1, [](OptionData& d) { d.ShowLineNumber = false; }},
        {"UseTab", 602, 1, [](OptionData& d) { d.UseTab = false; }},
        {"ShowTabBox", 603, 1, [](OptionData& d) { d.ShowTabBox = false; }},
        {"MultiTabBox", 604, 1, [](OptionData& d) { d.MultiTabBox = true; }},
        {"ShowToolBar", 605, 1, [](OptionData& d) { d.ShowToolBar = false; }},
        {"SaveWindow", 606, 1, [](OptionData& d) { d.SaveWindow = false; }},
        {"WindowState", 608, 4, [](OptionData& d) { d.WindowState = -1; }},
        {"WindowTop", 612, 4, [](OptionData& d) { d.WindowTop = -1; }},
        {"WindowLeft", 616, 4, [](OptionData& d) { d.WindowLeft = -1; }},
        {"WindowHeight", 620, 4, [](OptionData& d) { d.WindowHeight = -1; }},
        {"WindowWidth", 624, 4, [](OptionData& d) { d.WindowWidth = -1; }},
        {"SingleInstance", 628, 1, [](OptionData& d) { d.SingleInstance = false; }},
        {"AutoSave", 629, 1, [](OptionData& d) { d.AutoSave = false; }},
        {"AutoSaveInterval", 632, 4, [](OptionData& d) { d.AutoSaveInterval = -1; }},
        {"SameFile", 636, 1, [](OptionData& d) { d.SameFile = true; }},
        {"BackupDays", 640, 4, [](OptionData& d) { d.BackupDays = -1; }},
        {"TabWidth", 644, 4, [](OptionData& d) { d.TabWidth = -1; }},
        {"TabFaceColor", 648, 4, [](OptionData& d) { d.TabFaceColor = 0x7F6E5D4C; }},
        {"TabTextColor", 652, 4, [](OptionData& d) { d.TabTextColor = 0x7F6E5D4C; }},
        {"TabLightColor", 656, 4, [](OptionData& d) { d.TabLightColor = 0x7F6E5D4C; }},
        {"TabShadowColor", 660, 4, [](OptionData& d) { d.TabShadowColor = 0x7F6E5D4C; }},
    };
    for (size_t slot = 0; slot < kHistorySlots; ++slot) {
        f.push_back({"ReadHistory", 664 + slot * 256, 256, [slot](OptionData& d) {
                         d.ReadHistory[slot] = std::string(255, static_cast<char>('A' + slot));
                     }});
        f.push_back({"FindHistory", 3224 + slot * 256, 256, [slot](OptionData& d) {
                         d.FindHistory[slot] = std::string(255, static_cast<char>('a' + slot));
                     }});
    }
    return f;
}

}  // namespace

TEST(OptionData, DefaultImageHoldsTheDefaultsAtTheirOffsets) {
    const std::string image = OptionData().ToBytes();
    ASSERT_EQ(image.size(), 5784u);
    const std::vector<Expected> table = {
        {0, 1, 1},
        {4, 4, 70},
        {8, 1, 1},
        {9, 1, 1},
        {10, 1, 1},
        {11, 1, 0},
        {12, 1, 1},
        {272, 4, 0},
        {276, 4, 6},
        {280, 4, 2},
        {284, 4, 14},
        {544, 1, 0},
        {545, 1, 0},
        {548, 4, 0x000000},
        {552, 4, 0xFFFFFF},
        {556, 4, 0x808080},
        {560, 4, 0xFF0000},
        {564, 4, 0xFF0000},
        {568, 4, 0x808000},
        {572, 4, 0x808080},
        {576, 4, 0x000000},
        {580, 4, 0},
        {584, 1, 0},
        {588, 4, 10},
        {592, 1, 0},
        {596, 4, 1000},
        {600, 1, 1},
        {601, 1, 1},
        {602, 1, 1},
        {603, 1, 1},
        {604, 1, 0},
        {605, 1, 1},
        {606, 1, 1},
        {608, 4, 0},
        {612, 4, 133},
        {616, 4, 204},
        {620, 4, 528},
        {624, 4, 744},
        {628, 1, 1},
        {629, 1, 1},
        {632, 4, 180000},
        {636, 1, 0},
        {640, 4, 7},
        {644, 4, 75},
        {648, 4, 0x8000000F},
        {652, 4, 0x80000012},
        {656, 4, 0x80000014},
        {660, 4, 0x80000010},
    };
    for (const Expected& e : table) {
        const uint32_t got = e.size == 1 ? ByteAt(image, e.offset) : WordAt(image, e.offset);
        EXPECT_EQ(got, e.value) << "offset " << e.offset;
    }
    EXPECT_EQ(image.substr(13, 2), "\x01>");
    EXPECT_EQ(image.substr(288, 9),
              "\x08"
              "FixedSys");
    for (size_t slot = 0; slot < kHistorySlots; ++slot) {
        EXPECT_EQ(ByteAt(image, 664 + slot * 256), 0) << "read history slot " << slot;
        EXPECT_EQ(ByteAt(image, 3224 + slot * 256), 0) << "find history slot " << slot;
    }
}

TEST(OptionData, EachFieldWritesOnlyItsOwnBytes) {
    const std::string base = OptionData().ToBytes();
    for (const FieldCase& field : AllFields()) {
        OptionData d;
        field.change(d);
        const std::string image = d.ToBytes();
        ASSERT_EQ(image.size(), base.size()) << field.name;
        bool changed = false;
        for (size_t i = 0; i < image.size(); ++i) {
            if (image[i] == base[i]) continue;
            changed = true;
            EXPECT_TRUE(i >= field.offset && i < field.offset + field.size)
                << field.name << " wrote byte " << i;
        }
        EXPECT_TRUE(changed) << field.name;
    }
}

TEST(OptionData, RecordWithEveryFieldChangedRoundTrips) {
    OptionData d;
    for (const FieldCase& field : AllFields())
        field.change(d);
    const OptionData back = OptionData::FromBytes(d.ToBytes());
    EXPECT_EQ(back, d);
    EXPECT_EQ(back.ToBytes(), d.ToBytes());
    // Every field differs from the default, so nothing fell back to one.
    EXPECT_NE(back.Column, OptionData().Column);
    EXPECT_EQ(back.FindHistory[9], std::string(255, 'j'));
}

TEST(OptionData, ShortStringsAreCutWithoutSplittingACharacter) {
    OptionData d;
    d.FontName = std::string(300, 'x');
    d.Inyostr = std::string(254, 'y') + "\x82\xa0" + "zz";  // the cut falls inside あ
    const OptionData back = OptionData::FromBytes(d.ToBytes());
    EXPECT_EQ(back.FontName, std::string(255, 'x'));
    EXPECT_EQ(back.Inyostr, std::string(254, 'y'));
    EXPECT_EQ(back.FontStyle, 0) << "a full name must not spill into FontStyle";
    EXPECT_EQ(FitShortString(std::string(253, 'y') + "\x82\xa0"),
              std::string(253, 'y') + "\x82\xa0");
}
