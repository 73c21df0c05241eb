// The selection conversions on cp932 bytes; expectations are written in UTF-8
// and encoded, so that each line reads as the text a user sees.
#include <gtest/gtest.h>

#include "platform/codec/Cp932Codec.h"
#include "textconv/HenkanJ.h"
#include "textconv/TextConversion.h"

namespace tw {
namespace {

std::string Sj(const char* utf8) {
    int lossy = 0;
    std::string bytes = cp932::EncodeUtf8(utf8, &lossy);
    EXPECT_EQ(lossy, 0) << utf8;
    return bytes;
}

TEST(TextConversion, LetterCaseNeverTouchesATrailByte) {
    // ア is 83 41 and ａ 82 81: their trail bytes are the codes of "A" and of a lead byte.
    EXPECT_EQ(ToLowerCase(Sj("AアBｂ漢z")), Sj("aアbｂ漢z"));
    EXPECT_EQ(ToUpperCase(Sj("aアbａ\x7f")), Sj("AアBａ\x7f"));
    // A NUL is kept, and so is what follows it.
    EXPECT_EQ(ToUpperCase(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(TextConversion, RunsOfSpacesBecomeTabsWhereverTheyStart) {
    EXPECT_EQ(SpacesToTabs("     ", 4), "\t ");
    EXPECT_EQ(SpacesToTabs("   ", 4), "   ");
    EXPECT_EQ(SpacesToTabs("a  b\r\n ", 1), "a\t\tb\r\n\t");
    EXPECT_EQ(SpacesToTabs("x      y", 3), "x\t\ty");
    // Tabs to spaces count columns from the selection's first byte, the
    // line break's two bytes included.
    EXPECT_EQ(Convert(Conversion::TabToSpace, "ab\tc\r\n\td", 4), "ab  c\r\n d");
}

TEST(TextConversion, HalfWidthTurnsHiraganaAndFullWidthFormsButKeepsKanji) {
    EXPECT_EQ(Convert(Conversion::HalfWidth, Sj("がっこう０１９　ＡＢｚ！ー漢字"), 4),
              Sj("ｶﾞｯｺｳ019 ABz!ｰ漢字"));
    EXPECT_EQ(ToHalfWidth(Sj("パヴ゛゜「」。、・")), Sj("ﾊﾟｳﾞﾞﾟ｢｣｡､･"));
    // Hiragana have no half-width form of their own; ヵ, ヶ and ￥ none at all.
    EXPECT_EQ(ToHalfWidth(Sj("ひらヵヶ￥")), Sj("ひらヵヶ￥"));
    // The IBM row and its NEC-selected duplicate are the same character.
    EXPECT_EQ(ToHalfWidth("\xfa\x57\xee\xfc"), "\"\"");
}

TEST(TextConversion, FullWidthCombinesMarksWhereALetterExists) {
    EXPECT_EQ(ToFullWidth(Sj("ｶﾞｷﾞﾊﾟﾎﾟｳﾞ")), Sj("ガギパポヴ"));
    // A mark without a voiced letter, or alone, becomes the full-width mark.
    EXPECT_EQ(ToFullWidth(Sj("ｱﾞﾞﾟｰ")), Sj("ア゛゛゜ー"));
    EXPECT_EQ(ToFullWidth(Sj("a Z~\\1")), Sj("ａ　Ｚ～＼１"));
    // Half-width and back again gives the same text.
    const std::string all = Sj("ァアガパヴッー。「」、・ヲン゛゜　！～＼＂＇");
    EXPECT_EQ(ToFullWidth(ToHalfWidth(all)), all);
}

TEST(TextConversion, HiraganaAndKatakanaWhereCp932HasBoth) {
    EXPECT_EQ(ToKatakana(Sj("ぁあがぱゐゑをんゝゞー漢ｱ")), Sj("ァアガパヰヱヲンヽヾー漢ｱ"));
    EXPECT_EQ(ToHiragana(Sj("ァアガパヰヱヲンヽヾー")), Sj("ぁあがぱゐゑをんゝゞー"));
    // No hiragana in cp932 for these: they stay, and stay cp932.
    EXPECT_EQ(ToHiragana(Sj("ヴヵヶｶ")), Sj("ヴヵヶｶ"));
}

TEST(TextConversion, DamagedBytesComeThroughAsTheyWere) {
    // A pair with no character, a lone byte, a lead byte at the very end.
    const std::string damaged("\x85\x40\x80\xa0\xfd\x82", 6);
    for (auto f : {ToFullWidth, ToHalfWidth, ToHiragana, ToKatakana})
        EXPECT_EQ(f(damaged), damaged);
}

}  // namespace
}  // namespace tw
