// Shortcut texts as Qt key sequences and back.
#include <gtest/gtest.h>

#include <QKeySequence>

#include "dialogs/KeyShortcut.h"

using namespace tw;

namespace {

QKeySequence Seq(Qt::KeyboardModifiers mods, Qt::Key key) {
    return QKeySequence(QKeyCombination(mods, key));
}

}  // namespace

TEST(KeyShortcut, TextsBecomeTheKeysTheyName) {
    EXPECT_EQ(ShortcutFromText("CTRL+N"), Seq(Qt::ControlModifier, Qt::Key_N));
    EXPECT_EQ(ShortcutFromText("F2"), Seq(Qt::NoModifier, Qt::Key_F2));
    EXPECT_EQ(ShortcutFromText("f24"), Seq(Qt::NoModifier, Qt::Key_F24));
    EXPECT_EQ(ShortcutFromText("ctrl+alt+w"),
              Seq(Qt::ControlModifier | Qt::AltModifier, Qt::Key_W));
    EXPECT_EQ(ShortcutFromText("SHIFT+CTRL+F"),
              Seq(Qt::ShiftModifier | Qt::ControlModifier, Qt::Key_F));
    EXPECT_EQ(ShortcutFromText("^h"), Seq(Qt::ControlModifier, Qt::Key_H));
    EXPECT_EQ(ShortcutFromText("Del"), Seq(Qt::NoModifier, Qt::Key_Delete));
    EXPECT_EQ(ShortcutFromText("shift+pgdn"), Seq(Qt::ShiftModifier, Qt::Key_PageDown));
    EXPECT_EQ(ShortcutFromText("Alt+7"), Seq(Qt::AltModifier, Qt::Key_7));
    EXPECT_EQ(ShortcutFromText("Enter"), Seq(Qt::NoModifier, Qt::Key_Return));
    EXPECT_EQ(ShortcutFromText("bksp"), Seq(Qt::NoModifier, Qt::Key_Backspace));
}

TEST(KeyShortcut, OtherKeysGoByQtsNames) {
    EXPECT_EQ(ShortcutFromText("Ctrl+F25"), Seq(Qt::ControlModifier, Qt::Key_F25));
    EXPECT_EQ(ShortcutFromText("Alt+Print"), Seq(Qt::AltModifier, Qt::Key_Print));
    EXPECT_EQ(TextFromShortcut(Seq(Qt::AltModifier, Qt::Key_Print)), "Alt+Print");
    EXPECT_EQ(TextFromShortcut(Seq(Qt::ControlModifier, Qt::Key_BracketLeft)), "Ctrl+[");
    EXPECT_EQ(ShortcutFromText("Ctrl+["), Seq(Qt::ControlModifier, Qt::Key_BracketLeft));
}

TEST(KeyShortcut, TextsThatNameNoKeyGiveNoShortcut) {
    EXPECT_TRUE(ShortcutFromText("").isEmpty());
    EXPECT_TRUE(ShortcutFromText("Ctrl+").isEmpty());
    EXPECT_TRUE(ShortcutFromText("Ctrl+Bogus").isEmpty());
    EXPECT_TRUE(ShortcutFromText("Ctrl+Meta+X").isEmpty());
    EXPECT_TRUE(ShortcutFromText("Shift").isEmpty());
}

TEST(KeyShortcut, SequencesBecomeTheWrittenForm) {
    EXPECT_EQ(TextFromShortcut(Seq(Qt::ControlModifier, Qt::Key_N)), "Ctrl+N");
    EXPECT_EQ(TextFromShortcut(
                  Seq(Qt::AltModifier | Qt::ShiftModifier | Qt::ControlModifier, Qt::Key_F12)),
              "Shift+Ctrl+Alt+F12");
    EXPECT_EQ(TextFromShortcut(Seq(Qt::NoModifier, Qt::Key_Delete)), "Del");
    EXPECT_EQ(TextFromShortcut(Seq(Qt::ShiftModifier, Qt::Key_PageDown)), "Shift+PgDn");
    EXPECT_EQ(TextFromShortcut(Seq(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_5)), "Ctrl+5");
    EXPECT_EQ(TextFromShortcut(Seq(Qt::KeypadModifier, Qt::Key_Enter)), "Enter");
    EXPECT_EQ(TextFromShortcut(Seq(Qt::ShiftModifier, Qt::Key_Backtab)), "Shift+Tab");
    EXPECT_EQ(TextFromShortcut(Seq(Qt::NoModifier, Qt::Key_Insert)), "Ins");
}

TEST(KeyShortcut, WhatTheTextFormCannotWriteGivesNoText) {
    EXPECT_EQ(TextFromShortcut(QKeySequence()), "");
    EXPECT_EQ(TextFromShortcut(Seq(Qt::MetaModifier, Qt::Key_A)), "");
    EXPECT_EQ(TextFromShortcut(Seq(Qt::ControlModifier, Qt::Key_Control)), "");
}

TEST(KeyShortcut, EveryStandardKeyRoundTrips) {
    std::vector<std::string> names(kNamedKeys.begin(), kNamedKeys.end());
    for (char c = 'A'; c <= 'Z'; ++c)
        names.emplace_back(1, c);
    for (char c = '0'; c <= '9'; ++c)
        names.emplace_back(1, c);
    for (int f = 1; f <= 24; ++f)
        names.push_back("F" + std::to_string(f));
    for (const std::string& name : names) {
        const std::string text = "Shift+Ctrl+" + name;
        const QKeySequence seq = ShortcutFromText(text);
        EXPECT_EQ(seq.count(), 1) << name;
        EXPECT_EQ(TextFromShortcut(seq), text);
    }
}
