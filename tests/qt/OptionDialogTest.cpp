#include <array>
#include <cstdlib>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "FrameFixture.h"
#include "dialogs/OptionDialog.h"
#include "editor/VellEdit.h"
#include "settings/ColorScheme.h"
#include "settings/ColorText.h"
#include "settings/FileAssociation.h"
#include "settings/OptionForm.h"

namespace tw::test {
namespace {

using IntervalShown = std::array<QString, 3>;

class OptionDialog : public FrameFixture {
  protected:
    /// Presses F4 in the active document and runs `act` on the dialog it
    /// shows; closes the dialog with Esc if `act` left it open.
    bool WithOptions(TTarnwickEditor& frame, std::function<void(TOption&)> act) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TOption*>(QApplication::activeModalWidget());
            if (!dialog) return;
            shown = true;
            act(*dialog);
            if (dialog->isVisible()) QTest::keyClick(dialog, Qt::Key_Escape);
        });
        // A closed modal dialog leaves no window active under offscreen.
        QApplication::setActiveWindow(&frame);
        QTest::keyClick(frame.ActiveChild()->mmText, Qt::Key_F4);
        return shown;
    }

    static void ChooseColumn(TOption& d, int column) {
        d.cbWordWrap->setCurrentIndex(column - 1);
        emit d.cbWordWrap->activated(column - 1);
    }
};

TEST_F(OptionDialog, ChangeWithoutEditsKeepsEverySetting) {
    auto frame = Start([](OptionData& o) {
        o.InyoEnabled = false;
        o.InyoColor = 0x123456;
        o.AutoSaveInterval = 3661000;
    });
    frame->OpenFile(File("a.txt"), false);
    const OptionData before = frame->Options();
    IntervalShown shown;
    ASSERT_TRUE(WithOptions(*frame, [&](TOption& d) {
        shown = {d.txtHour->text(), d.txtMinits->text(), d.txtSecond->text()};
        EXPECT_EQ(d.Preview().InyoColor, before.FontColor);  // quoting off: drawn as text
        d.OK->click();
    }));
    EXPECT_EQ(shown, (IntervalShown{"1", "1", "1"}));
    EXPECT_EQ(frame->Options(), before);
    EXPECT_EQ(frame->ActiveChild()->Edit().InyoColor, before.FontColor);
}

TEST_F(OptionDialog, ChangeRewrapsOpenDocumentsAndCancelDoesNot) {
    auto frame = Start();
    frame->OpenFile(File("a.txt", std::string(100, 'a') + "\r\n"), false);
    TVellEdit& edit = frame->ActiveChild()->Edit();
    ASSERT_TRUE(WithOptions(*frame, [&](TOption& d) {
        ChooseColumn(d, 40);
        EXPECT_EQ(d.Preview().Column(), 40 + 29);
        d.Cancel->click();
    }));
    EXPECT_EQ(edit.Column(), 70);
    EXPECT_EQ(frame->Options().Column, 70);
    int reloaded = 0;
    ASSERT_TRUE(WithOptions(*frame, [&](TOption& d) {
        reloaded = d.cbWordWrap->currentIndex() + 1;
        ChooseColumn(d, 40);
        d.OK->click();
    }));
    EXPECT_EQ(reloaded, 70);
    EXPECT_EQ(edit.Column(), 40);
    EXPECT_EQ(frame->Options().Column, 40);
}

TEST_F(OptionDialog, BadNumberNamesTheFieldAndKeepsTheDialogOpen) {
    auto frame = Start();
    frame->OpenFile(File("a.txt"), false);
    const OptionData before = frame->Options();
    bool stillOpen = false;
    ASSERT_TRUE(WithOptions(*frame, [&](TOption& d) {
        d.txtMaxWindow->setText("ten");
        d.chReadMAX->setChecked(true);
        d.OK->click();
        stillOpen = d.isVisible();
        d.txtMaxWindow->setText("10");
        d.txtDay->setText("x");
        d.txtMinits->setText("40");
        d.txtSecond->setText("30");
        d.txtHour->setText("0");
        d.OK->click();
        stillOpen = stillOpen && d.isVisible();
    }));
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_NE(messages_.shown[0].text.find("ウィンドウ数"), std::string::npos);
    EXPECT_EQ(messages_.shown[1].text, kIntervalNotNumberMessage);
    // The interval converted before the bad days stays; nothing after it is stored.
    EXPECT_EQ(frame->Options().AutoSaveInterval, 2430000);
    EXPECT_EQ(frame->Options().ReadWindowState, before.ReadWindowState);
    EXPECT_EQ(frame->Options().BackupDays, before.BackupDays);
}

TEST_F(OptionDialog, KeyboardPageRefusesUsedAndTextKeysAndAssigns) {
    auto frame = Start();
    frame->OpenFile(File("a.txt"), false);
    bool usedShown = false, usedRefused = false, textRefused = false;
    ASSERT_TRUE(WithOptions(*frame, [&](TOption& d) {
        d.cbCategory->setCurrentIndex(0);
        d.lsCommand->setCurrentRow(0);                // 新規作成
        QTest::keyClick(d.hkNewCommand, Qt::Key_F7);  // 上候補検索's key
        usedShown = d.lbOutSame->text() == QStringLiteral("既に使用されているキーです。") &&
                    !d.lbOutSame->isHidden();
        usedRefused = !d.btComAssign->isEnabled();
        d.hkNewCommand->clear();
        QTest::keyClick(d.hkNewCommand, Qt::Key_A, Qt::ShiftModifier);
        textRefused = d.hkNewCommand->keySequence().isEmpty();
        QTest::keyClick(d.hkNewCommand, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
        EXPECT_TRUE(d.btComAssign->isEnabled());
        d.btComAssign->click();
        d.OK->click();
    }));
    EXPECT_TRUE(usedShown);
    EXPECT_TRUE(usedRefused);
    EXPECT_TRUE(textRefused);
    EXPECT_EQ(frame->Command("actNew")->shortcut(), QKeySequence("Ctrl+Alt+Q"));
    EXPECT_EQ(LoadKeyTexts(home_.path().string())[0], "Ctrl+Alt+Q");
}

TEST_F(OptionDialog, DeleteAllThenChangeLeavesNoShortcutsAfterARestart) {
    auto frame = Start();
    frame->OpenFile(File("a.txt"), false);
    messages_.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(WithOptions(*frame, [&](TOption& d) {
        d.btComAllDelet->click();
        d.OK->click();
    }));
    EXPECT_TRUE(frame->Command("actOption")->shortcut().isEmpty());
    frame.reset();
    auto again = Start();
    for (const char* name : {"actNew", "actOption", "actClose"})
        EXPECT_TRUE(again->Command(name)->shortcut().isEmpty()) << name;
}

TEST_F(OptionDialog, SchemeSavedResetAndLoadedInThePreviewAndStoredOnlyByChange) {
    constexpr uint32_t kWindowText = 0x80000008;
    auto frame = Start([](OptionData& o) {
        o.FontColor = kWindowText;
        o.URLColor = 0x00FF00;
    });
    frame->OpenFile(File("a.txt"), false);
    const OptionData before = frame->Options();
    ASSERT_TRUE(WithOptions(*frame, [&](TOption& d) {
        d.btClear->click();
        d.Cancel->click();
    }));
    EXPECT_EQ(frame->Options(), before);
    EXPECT_EQ(frame->ActiveChild()->Edit().Font().Color, kWindowText);

    const std::string scheme = files_.File("scheme");
    std::vector<std::string> answers = {scheme, scheme + ".ini"};
    uint32_t resetText = 0, loadedText = 0, loadedLink = 0;
    ASSERT_TRUE(WithOptions(*frame, [&](TOption& d) {
        d.ChooseSchemeFile = [&](bool) {
            const std::string next = answers.front();
            answers.erase(answers.begin());
            return next;
        };
        d.btLoad->click();  // "設定保存"
        d.btClear->click();
        resetText = d.Preview().Font().Color;
        d.btSave->click();  // "読み込み"
        loadedText = d.Preview().Font().Color;
        loadedLink = d.Preview().URLColor;
        d.edTabFace->setText("#12345");
        d.OK->click();
    }));
    EXPECT_EQ(resetText, kBuiltInColors[0]);
    EXPECT_EQ(loadedText, kWindowText);
    EXPECT_EQ(loadedLink, 0x00FF00u);
    EXPECT_EQ(frame->Options().FontColor, kWindowText);
    EXPECT_EQ(frame->Options().TabFaceColor, 0x503412u);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, kColorTextMessage);
}

TEST_F(OptionDialog, AssociateTwiceThenUndoTwice) {
    TempDir desktop;
    const std::string oldData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    const std::string oldConfig =
        std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_DATA_HOME", desktop.File("data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", desktop.File("config").c_str(), 1);
    auto frame = Start();
    frame->OpenFile(File("a.txt"), false);
    const bool shown = WithOptions(*frame, [&](TOption& d) {
        d.btRegistory->click();
        d.btRegistory->click();
        d.btCancelRegistory->click();
        d.btCancelRegistory->click();
    });
    setenv("XDG_DATA_HOME", oldData.c_str(), 1);
    setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1);
    ASSERT_TRUE(shown);
    std::vector<std::string> texts;
    for (const auto& m : messages_.shown)
        texts.push_back(m.text);
    EXPECT_EQ(texts, (std::vector<std::string>{kAssociatedMessage, kAlreadyAssociatedMessage,
                                               kUnassociatedMessage}));
    EXPECT_EQ(ReadFile(desktop.File("config/mimeapps.list")), "[Default Applications]\n");
}

}  // namespace
}  // namespace tw::test
