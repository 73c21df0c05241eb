// The find dialog's ten-slot history of search texts.
#include <gtest/gtest.h>

#include "search/FindHistory.h"

using namespace tw;

namespace {

ShortStringHistory Slots(std::initializer_list<const char*> texts) {
    ShortStringHistory h{};
    size_t i = 0;
    for (const char* t : texts)
        h[i++] = t;
    return h;
}

}  // namespace

TEST(FindHistory, ASearchGoesOnTopUnlessSlotZeroHoldsIt) {
    ShortStringHistory h = Slots({"a", "b", "c", "d"});
    EXPECT_FALSE(PushFindHistory(h, 4, "a"));
    EXPECT_EQ(h, Slots({"a", "b", "c", "d"}));
    EXPECT_FALSE(PushFindHistory(h, 4, ""));

    // An older entry searched again is copied to the top, not moved.
    EXPECT_TRUE(PushFindHistory(h, 4, "d"));
    EXPECT_EQ(h, Slots({"d", "a", "b", "c", "d"}));
}

TEST(FindHistory, AFullListDropsItsOldestAndBlankEntriesMoveAlong) {
    ShortStringHistory h = Slots({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    PushFindHistory(h, 10, "new");
    EXPECT_EQ(h, Slots({"new", "0", "1", "2", "3", "4", "5", "6", "7", "8"}));

    // After a search the list shows all ten slots, blank ones included.
    ShortStringHistory few = Slots({"x", "y"});
    PushFindHistory(few, 10, "z");
    EXPECT_EQ(few, Slots({"z", "x", "y"}));
    EXPECT_EQ(ListedFindHistory(Slots({"x", "", "y"})), (std::vector<std::string>{"x"}));
}

TEST(FindHistory, LongTextsAreKeptCutAndStillCountAsTheSame) {
    ShortStringHistory h{};
    const std::string ascii(300, 'q');
    EXPECT_TRUE(PushFindHistory(h, 0, ascii));
    EXPECT_EQ(h[0], std::string(255, 'q'));
    EXPECT_FALSE(PushFindHistory(h, 1, ascii));

    // A double-byte character across byte 255 is left out whole.
    const std::string wide = std::string(254, 'w') + "\x82\xa0";
    PushFindHistory(h, 1, wide);
    EXPECT_EQ(h[0], std::string(254, 'w'));
    EXPECT_EQ(h[1], std::string(255, 'q'));
}
