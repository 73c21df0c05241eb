// The clipboard history's list: what AddClip keeps, what "全削除" leaves,
// and what "Clip.dat" carries to the next start.
#include <gtest/gtest.h>

#include "settings/ClipHistory.h"
#include "settings/SettingsStore.h"
#include "support/TempDir.h"

namespace tw {
namespace {

const std::string kA = "\x82\xa0";  // あ

TEST(AddClip, ThirtyOneCopiesKeepTheNewestThirtyThroughClipDat) {
    ClipHistory h;
    for (int i = 0; i <= 30; ++i)
        h.AddClip("text " + std::to_string(i) + "\r\nline two");
    h.AddClip("text 30\r\nline two");  // the same text again is one more entry
    EXPECT_EQ(h.ClipCount, 32);
    ASSERT_EQ(h.ClipItems.size(), 30u);
    EXPECT_EQ(h.ClipItems[0], h.ClipItems[1]);
    EXPECT_EQ(h.ClipItems[29], "text 2\r\nline two");

    test::TempDir dir;
    SaveClipHistory(dir.path().string(), h.ClipItems, h.ClipCount);
    const ClipHistory back = LoadClipHistory(dir.path().string());
    EXPECT_EQ(back.ClipItems, h.ClipItems);
    EXPECT_EQ(back.ClipCount, 30);
}

TEST(AddClip, LongTextsAreCutWithoutSplittingACharacter) {
    std::string kana;
    for (int i = 0; i < 300; ++i)
        kana += kA;
    ClipHistory h;
    h.AddClip("a" + kana.substr(0, 598) + "b");  // 600 bytes; byte 499 ends a character
    EXPECT_EQ(h.ClipItems[0], "a" + kana.substr(0, 498));
    h.AddClip(kana);  // byte 499 would be a lead byte: 498 are kept
    EXPECT_EQ(h.ClipItems[0], kana.substr(0, 498));
    h.AddClip(std::string(500, 'x'));
    EXPECT_EQ(h.ClipItems[0].size(), 500u);
    h.AddClip(std::string(501, 'x'));
    EXPECT_EQ(h.ClipItems[0].size(), 499u);

    EXPECT_EQ(ClipListLine(kana), kana.substr(0, 20));
    EXPECT_EQ(ClipListLine("a" + kana), "a" + kana.substr(0, 18));
    EXPECT_EQ(ClipListLine("short"), "short");
}

TEST(AddClip, ClearLeavesOneBlankEntryThatTheNextCopyReplaces) {
    ClipHistory h;
    h.AddClip("one");
    h.AddClip("two");
    h.Clear();
    EXPECT_EQ(h.ClipItems, std::vector<std::string>{""});
    EXPECT_EQ(FormatClipHistory(h.ClipItems, h.ClipCount), "");
    h.AddClip("three");
    EXPECT_EQ(h.ClipItems, std::vector<std::string>{"three"});
    EXPECT_EQ(h.ClipCount, 1);
}

}  // namespace
}  // namespace tw
