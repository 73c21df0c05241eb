// One QApplication for every Qt test of the process (offscreen platform).
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdlib>

namespace {

/// Without a keyboard, the application knows the modifiers from the key
/// events it saw last; a test that ends with Ctrl or Shift "held" would hand
/// them to the next one. Every test starts with all keys up.
class ReleaseModifiers : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        // A key press is what tells the application the modifiers anew.
        QWidget nowhere;
        QKeyEvent plain(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier);
        QApplication::sendEvent(&nowhere, &plain);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ReleaseModifiers);
    return RUN_ALL_TESTS();
}
