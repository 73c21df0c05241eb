#include <gtest/gtest.h>

#include "settings/ColorText.h"
#include "settings/OptionForm.h"

namespace tw {
namespace {

OptionNumberTexts GoodTexts() {
    OptionNumberTexts t;
    t.Hours = "0", t.Minutes = "40", t.Seconds = "30", t.Days = "7";
    t.Top = "1", t.Left = "2", t.Height = "300", t.Width = "400";
    t.MaxWindowCount = "5", t.MaxFileSize = "1000", t.TabWidth = "80";
    return t;
}

TEST(OptionForm, IntervalStoredAndShownAgain) {
    OptionData o;
    ASSERT_TRUE(StoreBackupFields(GoodTexts(), false, true, o));
    EXPECT_EQ(o.AutoSaveInterval, 2430000);
    EXPECT_EQ(SplitInterval(o.AutoSaveInterval), (IntervalParts{0, 40, 30}));
    EXPECT_EQ(SplitInterval(3661000), (IntervalParts{1, 1, 1}));
    EXPECT_FALSE(o.AutoSave);
    EXPECT_TRUE(o.SameFile);
}

TEST(OptionForm, BadDaysKeepsTheIntervalAndStopsThere) {
    OptionData o;
    OptionNumberTexts t = GoodTexts();
    t.Days = "x";
    EXPECT_FALSE(StoreBackupFields(t, false, true, o));
    EXPECT_EQ(o.AutoSaveInterval, 2430000);
    EXPECT_EQ(o.BackupDays, OptionData().BackupDays);
    EXPECT_TRUE(o.AutoSave);  // not reached
    t.Minutes = "";
    OptionData untouched;
    EXPECT_FALSE(StoreBackupFields(t, false, true, untouched));
    EXPECT_EQ(untouched, OptionData());
}

TEST(OptionForm, NumberFieldsNamedBeforeAnythingIsStored) {
    OptionNumberTexts t = GoodTexts();
    EXPECT_EQ(CheckNumberFields(t), "");
    t.MaxWindowCount = "1O";
    EXPECT_NE(CheckNumberFields(t).find("ウィンドウ数"), std::string::npos);
    t = GoodTexts();
    t.MaxFileSize = "-1";
    EXPECT_NE(CheckNumberFields(t).find("ファイルサイズ"), std::string::npos);
    t = GoodTexts();
    t.TabWidth = "99999999999";
    EXPECT_NE(CheckNumberFields(t), "");
    OptionData o;
    StoreNumberFields(GoodTexts(), o);
    EXPECT_EQ(o.WindowWidth, 400);
    EXPECT_EQ(o.TabWidth, 80);
}

TEST(OptionForm, MaximizeWinsOverMinimize) {
    EXPECT_EQ(ReadWindowStateFrom(true, true), 1);
    EXPECT_EQ(ReadWindowStateFrom(false, true), 2);
    EXPECT_EQ(ReadWindowStateFrom(false, false), 0);
}

TEST(ColorText, ReadInEitherCaseWrittenInLowerCase) {
    EXPECT_EQ(ParseColorText("#FF8000").Color, 0x0080FFu);
    EXPECT_EQ(ParseColorText("#ff8000").Color, 0x0080FFu);
    EXPECT_TRUE(ParseColorText("#ff8000").Complete);
    EXPECT_EQ(ColorText(0x0080FF), "#ff8000");
}

TEST(ColorText, ShortTextGivesThePartialValue) {
    const ParsedColor c = ParseColorText("#12345");
    EXPECT_FALSE(c.Complete);
    EXPECT_EQ(c.Color, 0x503412u);
    EXPECT_EQ(ParseColorText("#1g").Color, 0x10u);
}

}  // namespace
}  // namespace tw
