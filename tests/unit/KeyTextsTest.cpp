// The keyboard assignment's texts: reading a shortcut text, and "KeyBrd.ini"
// on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "settings/KeyTexts.h"
#include "support/TempDir.h"
#include "textstore/LineStore.h"

using namespace tw;
using namespace tw::test;

namespace {

KeyStroke Stroke(uint8_t modifiers, std::string key) {
    return KeyStroke{modifiers, std::move(key)};
}

int SlotOf(int fileKeyIndex) {
    return FileKeys()[fileKeyIndex].slot;
}

std::string Folder(const TempDir& dir) {
    return dir.path().string();
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace

// ---- the table ---------------------------------------------------------------

TEST(KeyTexts, FileKeysFillDistinctSlotsWithinTheirCategories) {
    std::set<int> slots;
    for (const FileKey& key : FileKeys()) {
        EXPECT_TRUE(slots.insert(key.slot).second) << key.slot;
        EXPECT_LT(key.slot % kKeysPerCategory, 10) << key.slot;
        EXPECT_LT(key.slot, kKeySlotCount);
    }
    EXPECT_EQ(FileKeyName(0), "key1");
    EXPECT_EQ(FileKeyName(36), "key37");
}

TEST(KeyTexts, WithoutAFileTheDefaultsApply) {
    TempDir dir;
    bool failed = true;
    const KeyTexts texts = LoadKeyTexts(Folder(dir), &failed);
    EXPECT_FALSE(failed);
    EXPECT_EQ(texts[0], "CTRL+N");
    EXPECT_EQ(ParseKeyText(texts[0]), Stroke(kModCtrl, "N"));
    EXPECT_EQ(ParseKeyText(texts[SlotOf(25)]), Stroke(0, "F2"));  // key26 前のウィンドウへ移動
    EXPECT_EQ(ParseKeyText(texts[SlotOf(36)]), Stroke(0, "F4"));  // key37 詳細設定
    EXPECT_EQ(ParseKeyText(texts[SlotOf(20)]), Stroke(kModShift | kModCtrl, "F"));  // key21
    EXPECT_EQ(texts[SlotOf(3)], "");  // key4 has no default
    int filled = 0;
    for (const std::string& t : texts)
        filled += !t.empty();
    EXPECT_EQ(filled, 23);
    EXPECT_EQ(texts, DefaultKeyTexts());
}

// ---- the text form -----------------------------------------------------------

TEST(KeyTexts, PrefixesAndKeyNamesReadInAnyLetterCaseAndOrder) {
    EXPECT_EQ(ParseKeyText("ctrl+alt+w"), Stroke(kModCtrl | kModAlt, "W"));
    EXPECT_EQ(ParseKeyText("ALT+ctrl+W"), Stroke(kModCtrl | kModAlt, "W"));
    EXPECT_EQ(ParseKeyText("alt+SHIFT+f5"), Stroke(kModShift | kModAlt, "F5"));
    EXPECT_EQ(ParseKeyText("^N"), Stroke(kModCtrl, "N"));
    EXPECT_EQ(ParseKeyText("shift+^pgdn"), Stroke(kModShift | kModCtrl, "PgDn"));
    EXPECT_EQ(ParseKeyText("  Ctrl+del "), Stroke(kModCtrl, "Del"));
    EXPECT_EQ(ParseKeyText("7"), Stroke(0, "7"));
    EXPECT_EQ(ParseKeyText("f24"), Stroke(0, "F24"));
    EXPECT_EQ(ParseKeyText("BKSP"), Stroke(0, "BkSp"));
}

TEST(KeyTexts, ATextThatNamesNoKeyIsNoShortcut) {
    EXPECT_EQ(ParseKeyText(""), std::nullopt);
    EXPECT_EQ(ParseKeyText("   "), std::nullopt);
    EXPECT_EQ(ParseKeyText("Ctrl+"), std::nullopt);
    EXPECT_EQ(ParseKeyText("Shift+Alt+"), std::nullopt);
    EXPECT_EQ(ParseKeyText("^"), Stroke(0, "^"));  // a key of its own, not a bare prefix
}

TEST(KeyTexts, OtherKeysKeepTheNameTheTextGave) {
    EXPECT_EQ(ParseKeyText("Ctrl+F25"), Stroke(kModCtrl, "F25"));
    EXPECT_EQ(ParseKeyText("Ctrl+F0"), Stroke(kModCtrl, "F0"));
    EXPECT_EQ(ParseKeyText("Alt+Print"), Stroke(kModAlt, "Print"));
    EXPECT_EQ(ParseKeyText("Ctrl++"), Stroke(kModCtrl, "+"));
    EXPECT_EQ(StandardKeyName("f07"), std::nullopt);
    EXPECT_EQ(StandardKeyName("Ab"), std::nullopt);
}

TEST(KeyTexts, TheWrittenFormOrdersShiftCtrlAlt) {
    EXPECT_EQ(KeyText(Stroke(kModCtrl, "N")), "Ctrl+N");
    EXPECT_EQ(KeyText(*ParseKeyText("SHIFT+CTRL+F")), "Shift+Ctrl+F");
    EXPECT_EQ(KeyText(*ParseKeyText("alt+ctrl+shift+up")), "Shift+Ctrl+Alt+Up");
    EXPECT_EQ(KeyText(Stroke(0, "F9")), "F9");
    for (std::string_view name : kNamedKeys) {
        std::string lower(name);
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(KeyText(*ParseKeyText("ctrl+" + lower)), "Ctrl+" + std::string(name));
    }
}

// ---- KeyBrd.ini --------------------------------------------------------------

TEST(KeyTexts, IniNamesAndBlanksFollowTheProfileRules) {
    const KeyTexts texts = KeyTextsFromIni(
        "[Other]\r\nkey2=F12\r\n"
        "  [ keybrd ]  \r\n"
        "KEY7 =  ctrl+alt+w  \r\n"
        "Key8=\"F12\"\n"
        "key1=\r\n"
        "key07=Ctrl+Q\r\n"
        "key7=Ctrl+E\r\n"
        "key38=Ctrl+R\r\n");
    EXPECT_EQ(texts[SlotOf(6)], "ctrl+alt+w");  // first value, as read
    EXPECT_EQ(ParseKeyText(texts[SlotOf(6)]), Stroke(kModCtrl | kModAlt, "W"));
    EXPECT_EQ(texts[SlotOf(7)], "F12");
    EXPECT_EQ(texts[SlotOf(0)], "");        // empty stays empty
    EXPECT_EQ(texts[SlotOf(1)], "CTRL+O");  // only section KeyBrd counts
    EXPECT_EQ(texts[SlotOf(2)], "CTRL+S");  // absent: default
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        if (slot != SlotOf(6) && slot != SlotOf(7) && slot != SlotOf(0)) {
            EXPECT_EQ(texts[slot], DefaultKeyTexts()[slot]) << slot;
        }
    }
}

TEST(KeyTexts, AllThirtySevenKeysSurviveWriteAndRead) {
    TempDir dir;
    KeyTexts texts;
    for (int i = 0; i < kFileKeyCount; ++i)
        texts[SlotOf(i)] =
            i % 5 == 4 ? "" : KeyText(Stroke(i % 8, "F" + std::to_string(i % 24 + 1)));
    SaveKeyTexts(Folder(dir), texts);
    bool failed = true;
    EXPECT_EQ(LoadKeyTexts(Folder(dir), &failed), texts);
    EXPECT_FALSE(failed);
    const std::string file = ReadFile(dir.File(kKeyFileName));
    EXPECT_EQ(file.rfind("[KeyBrd]\r\nkey1=F1\r\nkey2=Shift+F2\r\n", 0), 0u) << file;
    EXPECT_EQ(Count(file, "\n"), 38u);
    EXPECT_EQ(Count(file, "\r\n"), 38u);
}

TEST(KeyTexts, DeletingEveryKeyWritesThirtySevenEmptyKeysThatReadBackEmpty) {
    TempDir dir;
    SaveKeyTexts(Folder(dir), KeyTexts{});
    const std::string file = ReadFile(dir.File(kKeyFileName));
    for (int i = 0; i < kFileKeyCount; ++i)
        EXPECT_NE(file.find(FileKeyName(i) + "=\r\n"), std::string::npos) << i;
    EXPECT_EQ(LoadKeyTexts(Folder(dir)), KeyTexts{});
}

TEST(KeyTexts, TextsReadAndNotChangedAreWrittenBackAsRead) {
    TempDir dir;
    dir.Write(kKeyFileName, "[KeyBrd]\r\nkey29=ctrl+alt+w\r\nkey2=^O\r\n");
    KeyTexts texts = LoadKeyTexts(Folder(dir));
    texts[SlotOf(0)] = "Ctrl+M";
    SaveKeyTexts(Folder(dir), texts);
    const std::string file = ReadFile(dir.File(kKeyFileName));
    EXPECT_NE(file.find("key29=ctrl+alt+w\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("key2=^O\r\n"), std::string::npos);
    EXPECT_NE(file.find("key1=Ctrl+M\r\n"), std::string::npos);
    EXPECT_NE(file.find("key37=F4\r\n"), std::string::npos);  // defaults are written out
}

TEST(KeyTexts, QuotedTextsOfAHandEditedFileSurviveASave) {
    TempDir dir;
    // Reading drops one pair of quotes; the texts are what is left.
    dir.Write(kKeyFileName,
              "[KeyBrd]\r\nkey6=\"\"\"\"\"\"\"\r\nkey7=\"'F2'\"\r\nkey8=\" F3 \"\r\n");
    const KeyTexts texts = LoadKeyTexts(Folder(dir));
    ASSERT_EQ(texts[SlotOf(5)], "\"\"\"\"\"");
    ASSERT_EQ(texts[SlotOf(6)], "'F2'");
    ASSERT_EQ(texts[SlotOf(7)], " F3 ");
    for (int round = 0; round < 2; ++round) {
        SaveKeyTexts(Folder(dir), texts);
        EXPECT_EQ(LoadKeyTexts(Folder(dir)), texts) << round;
    }
}

TEST(KeyTexts, WritingKeepsOtherSectionsAndForeignLines) {
    TempDir dir;
    dir.Write(kKeyFileName,
              "; my keys\n[Colors]\nback=1\n[keybrd]\nKEY1=Ctrl+Q\nextra = yes\n"
              "[Tail]\nx=y\n[KeyBrd]\nkey3=F12\n");
    KeyTexts texts = LoadKeyTexts(Folder(dir));
    EXPECT_EQ(texts[SlotOf(0)], "Ctrl+Q");
    EXPECT_EQ(texts[SlotOf(2)], "F12");  // a second section of the name adds to the first
    texts[SlotOf(0)] = "Ctrl+J";
    SaveKeyTexts(Folder(dir), texts);
    const std::string file = ReadFile(dir.File(kKeyFileName));
    EXPECT_EQ(file.rfind("; my keys\r\n[Colors]\r\nback=1\r\n[keybrd]\r\nextra = yes\r\nkey1=", 0),
              0u)
        << file;
    EXPECT_NE(file.find("key37=F4\r\n[Tail]\r\nx=y\r\n[KeyBrd]\r\n"), std::string::npos);
    EXPECT_EQ(Count(file, "key1="), 1u);
    EXPECT_EQ(Count(file, "key3="), 1u);
    EXPECT_EQ(LoadKeyTexts(Folder(dir)), texts);
}

TEST(KeyTexts, AnUnreadableFileGivesTheDefaultsAndSaysSo) {
    TempDir dir;
    std::filesystem::create_directory(dir.File(kKeyFileName));
    bool failed = false;
    EXPECT_EQ(LoadKeyTexts(Folder(dir), &failed), DefaultKeyTexts());
    EXPECT_TRUE(failed);
    EXPECT_THROW(SaveKeyTexts(Folder(dir), DefaultKeyTexts()), FileIoError);
}

TEST(KeyTexts, AHandEditedFileIsSoundAndADamagedOneIsReadAsFarAsItGoes) {
    TempDir dir;
    bool failed = true;
    dir.Write(
        kKeyFileName,
        "; mine\r\n[Other]\r\nnot an entry\r\n[keybrd]\r\n\r\n  ; keys\r\nKEY1 = ^Q\r\nkey2=\n");
    EXPECT_EQ(LoadKeyTexts(Folder(dir), &failed)[SlotOf(0)], "^Q");
    EXPECT_FALSE(failed);
    using namespace std::string_literals;
    for (const std::string& damaged :
         {"[KeyBrd]\r\nkey1=F3\r\nkey2=Ctrl+"s, "[KeyBrd]\r\nkey1=F3\r\nke"s,
          "[KeyBrd]\r\nkey1=F3\r\n\0\x01"s}) {
        dir.Write(kKeyFileName, damaged);
        EXPECT_EQ(LoadKeyTexts(Folder(dir), &failed)[SlotOf(0)], "F3");
        EXPECT_TRUE(failed) << damaged;
    }
}
