// Colour-scheme files on disk, as the Windows version of the program writes them.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/ColorSchemeFile.h"
#include "support/TempDir.h"
#include "textstore/LineStore.h"

using namespace tw;
using namespace tw::test;

TEST(ColorSchemeFile, SavedUnderNameDotIniAndReadBackExactlySystemColoursIncluded) {
    TempDir dir;
    const EditorColors colors = {0x0080FF,   0x80000005, 0x8000000D, 0x123456,
                                 0xFFFFFFFF, 0x808000,   0x000000,   0x80000018};
    const std::string written = SaveColorScheme(dir.File("test"), colors);
    EXPECT_EQ(written, dir.File("test.ini"));
    const std::string text = ReadFile(written);
    EXPECT_EQ(text,
              "[Color]\r\nNormal=33023\r\nBack=-2147483643\r\nSelect=-2147483635\r\n"
              "Find=1193046\r\nURL,MailTo=-1\r\nEOF,CR,ZSpc=8421376\r\nQuotation=0\r\n"
              "UnderLine=-2147483624\r\n");
    EXPECT_EQ(LoadColorScheme(written), colors);
    // A name that already ends in ".ini" still gets it appended.
    EXPECT_EQ(SaveColorScheme(written, colors), dir.File("test.ini.ini"));
}

TEST(ColorSchemeFile, KeysReadInAnyCaseAndWhatIsMissingOrBadIsBuiltIn) {
    const EditorColors read = ColorSchemeFromIni(
        "[other]\nNormal=5\n[color]\n  url,mailto = 255\nBACK=x12\nselect=\nfind=-2147483643\n"
        "Find=7\neof,cr,zspc=99999999999\n[COLOR]\nquotation=\"16\"\n");
    EXPECT_EQ(read[0], kBuiltInColors[0]);  // only section "Color" counts
    EXPECT_EQ(read[1], kBuiltInColors[1]);  // no number
    EXPECT_EQ(read[2], kBuiltInColors[2]);  // empty
    EXPECT_EQ(read[3], 0x80000005u);        // the first of two
    EXPECT_EQ(read[4], 255u);
    EXPECT_EQ(read[5], kBuiltInColors[5]);  // past 32 bits
    EXPECT_EQ(read[6], 16u);                // a later section of the name adds to the first
    EXPECT_EQ(read[7], kBuiltInColors[7]);  // missing
    EXPECT_EQ(ColorSchemeFromIni("Normal=1\n"), kBuiltInColors);
    EXPECT_EQ(ColorSchemeFromIni(""), kBuiltInColors);
}

TEST(ColorSchemeFile, SavingOverAFileKeepsItsOtherLinesAndAnUnreadableOneIsRefused) {
    TempDir dir;
    const std::string path =
        dir.Write("mine.ini", "; by hand\n[color]\nnormal=1\nAuthor=me\n[Extra]\nBack=2\n");
    SaveColorScheme(dir.File("mine"), kBuiltInColors);
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.rfind("; by hand\r\n[color]\r\nAuthor=me\r\nNormal=0\r\nBack=16777215\r\n", 0),
              0u)
        << text;
    EXPECT_NE(text.find("[Extra]\r\nBack=2\r\n"), std::string::npos);
    EXPECT_EQ(LoadColorScheme(path), kBuiltInColors);

    std::filesystem::create_directory(dir.File("dir.ini"));
    EXPECT_THROW(LoadColorScheme(dir.File("dir.ini")), FileIoError);
    EXPECT_THROW(SaveColorScheme(dir.File("dir"), kBuiltInColors), FileIoError);
    EXPECT_EQ(LoadColorScheme(dir.File("none.ini")), kBuiltInColors);
}
