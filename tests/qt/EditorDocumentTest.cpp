// A document window saves its editor's text to its file, and a failed save
// says so and leaves the document changed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "EditorDocument.h"
#include "headless/HeadlessPlatform.h"
#include "support/TempDir.h"

using namespace tw;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(EditorDocument, SavesTypedTextAndClearsTheChangedMark) {
    test::TempDir dir;
    const std::string path = (dir.path() / "doc.txt").string();
    std::ofstream(path, std::ios::binary) << "\x82\xa0line\r\nsecond\r\n";
    EditorDocument doc(path);
    ASSERT_TRUE(doc.Load());
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(&doc, &key);
    EXPECT_TRUE(doc.Edit().FModified);
    ASSERT_TRUE(doc.Save());
    EXPECT_FALSE(doc.Edit().FModified);
    EXPECT_EQ(ReadAll(path), "x\x82\xa0line\r\nsecond\r\n");
}

TEST(EditorDocument, FailedSaveIsReportedAndKeepsTheChange) {
    test::TempDir dir;
    const std::string path = (dir.path() / "gone" / "doc.txt").string();
    EditorDocument doc(path);
    test::RecordingMessageBox messages;
    doc.SetMessageBox(&messages);
    doc.View().CharTyped('q');
    EXPECT_FALSE(doc.Save());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(path), std::string::npos);
    EXPECT_TRUE(doc.Edit().FModified);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(EditorDocument, ClosingAChangedTextAsksAndKeepsItUnlessToldOtherwise) {
    test::TempDir dir;
    const std::string path = (dir.path() / "doc.txt").string();
    std::ofstream(path, std::ios::binary) << "abc\r\n";
    EditorDocument doc(path);
    ASSERT_TRUE(doc.Load());
    test::RecordingMessageBox messages;
    doc.SetMessageBox(&messages);
    EXPECT_TRUE(doc.ConfirmClose());  // unchanged: no question
    EXPECT_TRUE(messages.shown.empty());

    doc.View().CharTyped('z');
    messages.answers = {MessageAnswer::Cancel, MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_FALSE(doc.ConfirmClose());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, path + " の変更を保存しますか？");
    EXPECT_TRUE(doc.ConfirmClose());  // No: goes without saving
    EXPECT_EQ(ReadAll(path), "abc\r\n");
    EXPECT_TRUE(doc.ConfirmClose());  // Yes: saved first
    EXPECT_EQ(ReadAll(path), "zabc\r\n");
}

TEST(EditorDocument, UnreadableFileIsRefused) {
    EditorDocument doc("/nonexistent/folder/file.txt");
    EXPECT_FALSE(doc.Load());
}

}  // namespace
