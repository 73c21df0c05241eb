// One QApplication for every Qt test of the process (offscreen platform).
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <string>

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

/// Qt's own file dialog keeps its history in the user's configuration, and a
/// test must leave the user's desktop as it was: the tests get a home of their own.
std::string UsePrivateDesktopFolders() {
    std::string dir = (std::filesystem::temp_directory_path() / "tw-qt-tests-XXXXXX").string();
    if (!mkdtemp(dir.data())) return {};
    setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (dir + "/cache").c_str(), 1);
    return dir;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string desktop = UsePrivateDesktopFolders();
    int result = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        ::testing::UnitTest::GetInstance()->listeners().Append(new ReleaseModifiers);
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    if (!desktop.empty()) std::filesystem::remove_all(desktop, ignored);
    return result;
}
