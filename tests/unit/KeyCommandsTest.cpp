#include <gtest/gtest.h>

#include <set>

#include "settings/KeyCommands.h"

namespace tw {
namespace {

TEST(KeyCommands, ListEveryFileKeySlotOnce) {
    std::multiset<int> listed;
    for (int c = 0; c < kKeyCategoryCount; ++c)
        for (const KeyCommand& command : KeyCommandsOf(c))
            if (command.slot >= 0) listed.insert(command.slot);
    std::multiset<int> fileSlots;
    for (const FileKey& key : FileKeys())
        fileSlots.insert(key.slot);
    EXPECT_EQ(listed, fileSlots);
}

TEST(KeyCommands, UsedKeyFoundInAnySlotWhateverItsWriting) {
    KeyTexts texts = DefaultKeyTexts();
    EXPECT_EQ(SlotHoldingKey(texts, *ParseKeyText("F7")), 16);
    EXPECT_EQ(SlotHoldingKey(texts, *ParseKeyText("ctrl+shift+f")), 37);
    EXPECT_EQ(SlotHoldingKey(texts, *ParseKeyText("Ctrl+Alt+Q")), -1);
    texts[16].clear();
    EXPECT_EQ(SlotHoldingKey(texts, *ParseKeyText("F7")), -1);
}

}  // namespace
}  // namespace tw
