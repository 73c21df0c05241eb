// Find after a miss, the selection's own bytes in the search boxes, links
// opened by a double click, cascading and the tab menu's copy command, on
// the real frame.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "FrameFixture.h"
#include "dialogs/FindDialog.h"
#include "dialogs/ReplaceDialog.h"

using namespace tw;

namespace {

/// Takes the links the desktop would be asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    UrlCatcher() {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~UrlCatcher() override {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    Q_INVOKABLE void Open(const QUrl& url) { opened.push_back(url.toString()); }
    QStringList opened;
};

/// The focus as Tab moves it through a shown dialog, from `start`, once round.
std::vector<QWidget*> TabWalk(QDialog& dialog, QWidget* start, size_t steps) {
    dialog.show();
    QApplication::processEvents();
    start->setFocus();
    QApplication::processEvents();
    std::vector<QWidget*> walk;
    for (size_t i = 0; i < steps; ++i) {
        QWidget* at = QApplication::focusWidget();
        // The find box's text field stands for the box.
        walk.push_back(qobject_cast<QLineEdit*>(at) && qobject_cast<QComboBox*>(at->parent())
                           ? at->parentWidget()
                           : at);
        QTest::keyClick(at, Qt::Key_Tab);
        QApplication::processEvents();
    }
    dialog.close();
    return walk;
}

class FrameFindLinksWindows : public test::FrameFixture {
  protected:
    static void Focus(TTarnwickEditor& frame) {
        QApplication::setActiveWindow(&frame);
        frame.ActiveChild()->mmText->setFocus();
    }
};

TEST_F(FrameFindLinksWindows, FindFromTheTopSearchesAgainAfterAMiss) {
    auto frame = Start();
    frame->OpenFile(File("f.txt", "alpha\r\nbeta\r\ngamma\r\n"), false);
    TFindDialog& find = frame->FindDialog();
    frame->ShowFindDialog(FindShow::Plain, {});
    ASSERT_TRUE(find.FromTopButton->isChecked());
    TMDIChild& child = *frame->Document(1);
    for (const char* text : {"nowhere", "beta", "nowhere", "alpha"}) {
        find.SearchText->setEditText(QString::fromLatin1(text));
        find.FindButton->click();
        EXPECT_EQ(child.Matcher.NoHit, std::string(text) == "nowhere") << text;
    }
    EXPECT_EQ(child.Edit().FindWalk().HitY(), 0);
}

TEST_F(FrameFindLinksWindows, SearchingDownAgainGoesOnToTheNextHit) {
    auto frame = Start();
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += i % 4 == 0 ? "\x83\x5cTarnwick Tarnwick\r\n" : "filler\r\n";
    frame->OpenFile(File("r.txt", text), false);
    TMDIChild& child = *frame->Document(1);
    TFindDialog& find = frame->FindDialog();
    frame->ShowFindDialog(FindShow::Plain, {});
    find.DownwardButton->click();
    find.SearchText->setEditText(QStringLiteral("Tarnwick"));
    std::vector<std::pair<int32_t, int32_t>> hits;
    for (int i = 0; i < 4; ++i) {
        find.FindButton->click();
        hits.emplace_back(child.Edit().FindWalk().HitY(), child.Edit().FindWalk().HitX());
    }
    EXPECT_EQ(hits, (std::vector<std::pair<int32_t, int32_t>>{{0, 2}, {0, 11}, {4, 2}, {4, 11}}));
    // A caret the user put on a match finds that match.
    child.Edit().GotoXY(11, 8);
    find.FindButton->click();
    EXPECT_EQ(child.Edit().FindWalk().HitY(), 8);
    EXPECT_EQ(child.Edit().FindWalk().HitX(), 11);
}

TEST_F(FrameFindLinksWindows, TheSelectionIsSearchedForByItsOwnBytes) {
    // NEC's ≒ (87 90) and an NEC-selected IBM kanji (ED 40) read back from
    // Unicode as their other codes (81 E0, FA 5C).
    const std::string dup = "\x87\x90\xed\x40";
    auto frame = Start();
    frame->OpenFile(File("d.txt", "x" + dup + "\r\n" + dup + "\r\n"), false);
    TMDIChild& child = *frame->Document(1);
    Focus(*frame);
    child.Edit().GotoXY(1, 0);
    QTest::keyClick(child.mmText, Qt::Key_End, Qt::ShiftModifier);
    ASSERT_EQ(child.Edit().GetSelText(), dup);
    child.Action("actSelFind")->trigger();
    TFindDialog& find = frame->FindDialog();
    find.FindButton->click();
    EXPECT_FALSE(child.Matcher.NoHit);
    EXPECT_EQ(child.Edit().FindWalk().HitY(), 0);
    EXPECT_EQ(child.Edit().FindWalk().HitX(), 1);
    EXPECT_EQ(frame->Options().FindHistory[0], dup);
    // Once the user edits the field, it is the text that is searched for.
    find.SearchText->setEditText(find.SearchText->currentText() + QStringLiteral("!"));
    find.FindButton->click();
    EXPECT_TRUE(child.Matcher.NoHit);
    find.close();

    // The replace dialog's box, shown modally, keeps the bytes the same way.
    child.Edit().GotoXY(1, 0);
    QTest::keyClick(child.mmText, Qt::Key_End, Qt::ShiftModifier);
    TRePlaceDialog& replace = frame->ReplaceDialog();
    QTimer::singleShot(0, &replace, [&replace] {
        replace.ReplacementText->setText(QStringLiteral("="));
        replace.NoConfirmBox->setChecked(true);
        replace.ReplaceAllButton->click();
        replace.close();
    });
    child.Action("actSelReplace")->trigger();
    EXPECT_EQ(child.Edit().GetAllText(), "x=\r\n=\r\n");
}

TEST_F(FrameFindLinksWindows, ADoubleClickOpensOnlyTheLinkUnderTheCaret) {
    UrlCatcher catcher;
    auto frame = Start();
    const std::string line = "see http://a.example/ or http://b.example/ now\r\n";
    frame->OpenFile(File("l.txt", line), false);
    TMDIChild& child = *frame->Document(1);
    frame->MdiArea()->activeSubWindow()->resize(640, 300);
    QApplication::processEvents();
    const TVellEdit& e = child.Edit();
    auto doubleClick = [&](size_t column) {
        const QPoint at(e.Viewport().TextLeft - e.Viewport().ScrollX +
                            static_cast<int>(column) * e.Viewport().CharWidth + 2,
                        e.TopMargin() + e.Viewport().RowHeight / 2);
        QTest::mouseClick(child.mmText, Qt::LeftButton, {}, at);
        QTest::mouseDClick(child.mmText, Qt::LeftButton, {}, at);
        QApplication::processEvents();
    };
    doubleClick(line.find("b.example"));
    EXPECT_EQ(catcher.opened, QStringList{QStringLiteral("http://b.example/")});
    doubleClick(line.find("now"));
    doubleClick(line.find("see"));
    EXPECT_EQ(catcher.opened.size(), 1);
    doubleClick(line.find("a.example"));
    EXPECT_EQ(catcher.opened.last(), QStringLiteral("http://a.example/"));
}

TEST_F(FrameFindLinksWindows, CascadeKeepsTheWindowsAtTheirSize) {
    auto frame = Start();
    for (const char* n : {"1.txt", "2.txt", "3.txt"})
        frame->OpenFile(File(n), false);
    frame->TileHorizontally();
    frame->Command("actCascade")->trigger();
    QApplication::processEvents();
    const QList<QMdiSubWindow*> windows = frame->MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 3);
    for (QMdiSubWindow* w : windows) {
        EXPECT_EQ(w->size(), kChildWindowSize);
        EXPECT_GT(qobject_cast<TMDIChild*>(w->widget())->mmText->height(),
                  kChildWindowSize.height() / 2);
    }
    const QPoint step = windows[1]->pos() - windows[0]->pos();
    EXPECT_GT(step.y(), 0);
    EXPECT_EQ(windows[2]->pos() - windows[1]->pos(), step);
}

TEST_F(FrameFindLinksWindows, TheTabMenuCopiesTheDocumentItWasOpenedOn) {
    for (bool useTab : {true, false}) {
        auto frame = Start([useTab](OptionData& o) { o.UseTab = useTab; });
        for (const char* n : {"1.txt", "2.txt", "3.txt"})
            frame->OpenFile(File(n, std::string("text of ") + n), false);
        TTabStrip& tabs = frame->Tabs();
        QWidget* first = tabs.TabButton(0);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5),
                          first->mapToGlobal(QPointF(5, 5)), Qt::RightButton, Qt::RightButton,
                          Qt::NoModifier);
        QApplication::sendEvent(first, &press);
        QTimer::singleShot(0, tabs.TabMenus(), [&tabs] {
            for (QAction* a : tabs.TabMenus()->actions())
                if (a->text() == QStringLiteral("選択ウィンドウをコピーする(&R)")) a->trigger();
            tabs.TabMenus()->close();
        });
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5),
                               first->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(first, &menu);
        ASSERT_EQ(frame->DocumentCount(), 4) << useTab;
        EXPECT_EQ(frame->Document(4)->Edit().GetAllText(), frame->Document(1)->Edit().GetAllText())
            << useTab;
        EXPECT_FALSE(frame->Document(4)->IsChanged());
    }
}

TEST_F(FrameFindLinksWindows, TabWalksTheSearchDialogsInTheirOrder) {
    auto frame = Start();
    frame->OpenFile(File("a.txt"), false);
    TFindDialog& find = frame->FindDialog();
    // The direction group takes the focus once, on its first button.
    EXPECT_EQ(
        TabWalk(find, find.SearchText, 7),
        (std::vector<QWidget*>{find.SearchText, find.FindButton, find.Cancel, find.MatchCaseBox,
                               find.UpwardButton, find.ClearHistoryButton, find.AllFilesBox}));
    TRePlaceDialog& replace = frame->ReplaceDialog();
    EXPECT_EQ(TabWalk(replace, replace.Cancel, 8),
              (std::vector<QWidget*>{replace.Cancel, replace.MatchCaseBox, replace.ReplaceButton,
                                     replace.ReplaceAllButton, replace.SearchText,
                                     replace.ReplacementText, replace.NoConfirmBox,
                                     replace.UpwardButton}));
}

}  // namespace

#include "FrameFindLinksWindowsTest.moc"
