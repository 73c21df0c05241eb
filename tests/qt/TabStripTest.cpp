// The tab strip on the offscreen platform: clicks, drops, drawing, the
// arrow pair and the context menu, with a frame that records its calls.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolButton>
#include <memory>

#include "app/TabStrip.h"

using namespace tw;

namespace {

struct FakeFrame : ITabStripHost {
    int active = 0;
    bool useTab = true;
    std::vector<int> fronts, copies;
    std::vector<std::pair<int, int>> swaps, moves;
    std::vector<std::string> hints;

    int ActiveDocument() const override { return active; }
    void BringDocumentToFront(int number) override {
        fronts.push_back(number);
        active = number;
    }
    void SwapDocuments(int a, int b) override { swaps.emplace_back(a, b); }
    void MoveDocument(int from, int to) override { moves.emplace_back(from, to); }
    void CopyDocument(int number) override { copies.push_back(number); }
    void ShowDragHint(const std::string& text) override { hints.push_back(text); }
    bool UseTab() const override { return useTab; }
};

class TabStrip : public ::testing::Test {
  protected:
    void Open(int tabs, int width = 450) {
        strip.resize(width, 17);
        strip.show();
        for (int i = 0; i < tabs; ++i)
            strip.AddTab(i, "tab" + std::to_string(i) + ".txt");
        strip.ArrangeTabs();
        QApplication::processEvents();
    }
    void Press(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)),
                      button, button, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    /// A drag of tab `source` from this process (or `mime`) over and onto `at`.
    bool Drop(int source, QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier,
              QMimeData* mime = nullptr) {
        std::unique_ptr<QMimeData> data(mime ? mime : TTabStrip::MakeTabMime(source));
        QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, keys);
        QApplication::sendEvent(&strip, &enter);
        QDropEvent drop(QPointF(at), Qt::MoveAction, data.get(), Qt::LeftButton, keys);
        QApplication::sendEvent(&strip, &drop);
        return drop.isAccepted();
    }
    std::vector<std::string> Captions() { return strip.Model().TabCaptions(); }

    FakeFrame frame;
    TTabStrip strip{frame};
};

TEST_F(TabStrip, PressOnATabBringsItsDocumentToTheFrontAndScrollsTheRow) {
    Open(10);  // room for 6
    Press(strip.TabButton(1));
    EXPECT_EQ(frame.fronts, std::vector<int>{2});
    EXPECT_TRUE(strip.TabClicked());

    Press(strip.TabButton(5), Qt::RightButton);  // any button; tab 5 sits at the right edge
    EXPECT_EQ(frame.fronts.back(), 6);
    EXPECT_EQ(strip.Model().FirstVisibleTab(), 1);
    EXPECT_EQ(strip.TabButton(5)->x(), 4 * 75);
    EXPECT_EQ(strip.TabButton(0)->x(), -75);

    frame.useTab = false;
    strip.SetTabClicked(false);
    Press(strip.TabButton(2));
    EXPECT_EQ(frame.fronts.size(), 2u);
    EXPECT_TRUE(strip.TabClicked());
}

TEST_F(TabStrip, ArrowsAtTheRightEndShiftTheRowAndHideInSeveralRows) {
    Open(10);
    QWidget* track = strip.TrackTab();
    ASSERT_TRUE(track->isVisible());
    EXPECT_EQ(track->x() + track->width(), strip.width());
    const auto arrows = track->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    QToolButton* next = arrows[0]->arrowType() == Qt::RightArrow ? arrows[0] : arrows[1];
    next->click();
    next->click();
    EXPECT_EQ(strip.TabButton(2)->x(), 0);

    std::vector<int> heights;
    QObject::connect(&strip, &TTabStrip::HeightChanged, [&](int h) { heights.push_back(h); });
    strip.SetMultiRow(true);  // 6 per row: two rows
    EXPECT_FALSE(track->isVisible());
    EXPECT_EQ(heights, std::vector<int>{34});
    EXPECT_EQ(strip.height(), 34);
    EXPECT_EQ(strip.TabButton(6)->pos(), QPoint(0, 17));
    EXPECT_EQ(strip.TabButton(6)->size(), QSize(75, 18));
}

TEST_F(TabStrip, DropsReorderTabsAndAskTheFrame) {
    Open(5, 600);
    EXPECT_TRUE(Drop(4, strip.TabButton(1)->geometry().center()));
    EXPECT_EQ(frame.moves, (std::vector<std::pair<int, int>>{{5, 2}}));
    EXPECT_EQ(Captions()[1], "tab4.txt");
    EXPECT_EQ(strip.TabButton(1)->toolTip(), "tab4.txt");
    EXPECT_EQ(strip.LastTab(), 1);
    EXPECT_EQ(frame.hints.back(), "");

    Drop(3, strip.TabButton(0)->geometry().center(), Qt::ShiftModifier);
    EXPECT_EQ(frame.swaps, (std::vector<std::pair<int, int>>{{1, 4}}));
    EXPECT_EQ(strip.TabButton(3)->toolTip(), "tab0.txt");

    Drop(2, strip.TabButton(0)->geometry().center(), Qt::ControlModifier);
    EXPECT_EQ(frame.copies, std::vector<int>{3});
}

TEST_F(TabStrip, DropOnTheFreePartActsOnTheLastTab) {
    Open(3);
    Drop(0, QPoint(300, 5));
    EXPECT_EQ(frame.moves, (std::vector<std::pair<int, int>>{{1, 3}}));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"tab1.txt", "tab2.txt", "tab0.txt"}));
    Drop(1, QPoint(strip.width() - 3, 5), Qt::ShiftModifier);  // over the arrows
    EXPECT_EQ(frame.swaps, (std::vector<std::pair<int, int>>{{3, 2}}));
}

TEST_F(TabStrip, DragOverShowsWhatADropWouldDoAndForeignDragsAreRefused) {
    Open(3);
    std::unique_ptr<QMimeData> data(TTabStrip::MakeTabMime(0));
    const QPoint at = strip.TabButton(2)->geometry().center();
    for (auto [keys, hint] :
         {std::pair{Qt::KeyboardModifiers(Qt::ShiftModifier), "DragタブとDropタブを入れ替えます。"},
          {Qt::ControlModifier, "Dragタブをコピーします。"},
          {Qt::NoModifier, "Dropタブ前へDragタブを移動します。"}}) {
        QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, keys);
        QApplication::sendEvent(&strip, &enter);
        EXPECT_TRUE(enter.isAccepted());
        EXPECT_EQ(frame.hints.back(), hint);
    }

    const QByteArray ours = data->data(data->formats().first());
    auto* foreign = new QMimeData;
    foreign->setData(data->formats().first(),
                     QByteArray::number(QCoreApplication::applicationPid() + 1) + " 0");
    frame.hints.clear();
    EXPECT_FALSE(Drop(0, at, Qt::NoModifier, foreign));
    auto* text = new QMimeData;
    text->setText(QString::fromUtf8(ours));
    EXPECT_FALSE(Drop(0, at, Qt::NoModifier, text));
    EXPECT_TRUE(frame.moves.empty());
    EXPECT_TRUE(frame.hints.empty());
}

TEST_F(TabStrip, TabsAreDrawnInTheTabColours) {
    const QColor face(0x99, 0x66, 0x33), light(0xCC, 0xDD, 0xEE), shadow(0x33, 0x22, 0x11);
    strip.SetColors({0x00336699, 0x00000000, 0x00EEDDCC, 0x00112233});
    Open(0);
    strip.AddTab(0, "_");
    QImage active = strip.TabPicture(0);
    ASSERT_EQ(active.size(), QSize(75, 18));
    EXPECT_EQ(active.pixelColor(10, 10), face);
    EXPECT_EQ(active.pixelColor(0, 5), light);
    EXPECT_EQ(active.pixelColor(40, 1), light);
    EXPECT_EQ(active.pixelColor(74, 5), shadow);
    EXPECT_EQ(active.pixelColor(74, 14), face);  // the shadow line stops 4 short
    bool inked = false;
    for (int y = 3; y < 18; ++y)
        for (int x = 5; x < 15; ++x)
            inked |= active.pixelColor(x, y) != face;
    EXPECT_TRUE(inked);

    strip.AddTab(1, "b");
    const QImage inactive = strip.TabPicture(0);
    EXPECT_EQ(inactive.pixelColor(40, 10), light);
    EXPECT_EQ(inactive.pixelColor(40, 17), face);
    EXPECT_EQ(inactive.pixelColor(40, 15), face);
    EXPECT_EQ(strip.TabPicture(1).pixelColor(40, 10), face);

    // With the last tab gone, LastTab names the slot a new tab takes: the
    // new tab must still come out active.
    strip.RemoveTab(1);
    strip.AddTab(1, "c");
    EXPECT_EQ(strip.TabPicture(1).pixelColor(40, 10), face);
    strip.RenameTab(0, "renamed.txt");
    EXPECT_EQ(strip.TabPicture(0).pixelColor(40, 10), face);
    EXPECT_EQ(strip.TabButton(0)->toolTip(), "renamed.txt");
}

TEST_F(TabStrip, ContextMenuShowsItsOwnCaptionsAndRunsTheFramesActions) {
    QAction close("閉じる(&C)"), all("全て閉じる(&A)"),
        others("アクティブウィンドウ以外を全て閉じる(&Q)"), prev("前へ移動(&P)"),
        next("次へ移動(&N)");
    strip.SetMenuActions(&close, &all, &others, &prev, &next);
    const QList<QAction*> entries = strip.TabMenus()->actions();
    QStringList captions;
    for (QAction* a : entries)
        captions << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(captions,
              (QStringList{"閉じる(&C)", "全て閉じる(&A)", "選択以外を全て閉じる(&Q)", "-",
                           "選択ウィンドウをコピーする(&R)", "-", "前へ移動(&P)", "次へ移動(&N)"}));

    int closed = 0;
    QObject::connect(&close, &QAction::triggered, [&] { ++closed; });
    entries[0]->trigger();
    EXPECT_EQ(closed, 1);
    others.setEnabled(false);
    EXPECT_FALSE(entries[2]->isEnabled());
    others.setEnabled(true);
    EXPECT_TRUE(entries[2]->isEnabled());

    strip.SetMenuActions(&close, nullptr, &others, &prev, &next);  // built anew
    ASSERT_EQ(strip.TabMenus()->actions().size(), 8);
    EXPECT_FALSE(strip.TabMenus()->actions()[1]->isEnabled());
}

}  // namespace
