#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "FrameFixture.h"
#include "app/AboutBox.h"

namespace tw::test {
namespace {

class AboutBox : public FrameFixture {};

TEST_F(AboutBox, OpensFromItsCommandLightsTheLinkOnHoverAndClosesOnEsc) {
    auto frame = Start();
    uint32_t idle = 0, hover = 0, left = 0;
    QString caption;
    bool closedByEsc = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
        if (!box) return;
        caption = box->windowTitle();
        idle = box->URLColor();
        QEvent enter(QEvent::Enter), leave(QEvent::Leave);
        QApplication::sendEvent(box->URL, &enter);
        hover = box->URLColor();
        QApplication::sendEvent(box->URL, &leave);
        left = box->URLColor();
        QTest::keyClick(box, Qt::Key_Escape);
        closedByEsc = !box->isVisible();
        if (box->isVisible()) box->reject();
    });
    frame->Command("actAbout")->trigger();
    EXPECT_EQ(caption, QStringLiteral("バージョン情報"));
    EXPECT_EQ(idle, 0xFF0000u);
    EXPECT_EQ(hover, 0xF0CAA6u);
    EXPECT_EQ(left, 0xFF0000u);
    EXPECT_TRUE(closedByEsc);
}

}  // namespace
}  // namespace tw::test
