/** @file A frame on settings of the test's own, with scripted answers and file names. */
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeySequence>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/FrameWindow.h"
#include "app/HandOff.h"
#include "app/TabStrip.h"
#include "documents/DocumentWindow.h"
#include "headless/HeadlessPlatform.h"
#include "settings/SettingsStore.h"
#include "support/TempDir.h"

// Readable values in the failures of Qt types.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QKeySequence& k, std::ostream* os) {
    *os << '"' << k.toString().toStdString() << '"';
}

namespace tw::test {

class ScriptedDialogs : public IFileDialogs {
  public:
    std::string OpenFileName() override { return Next(); }
    std::string SaveFileName(const std::string&) override {
        ++saveAsked;
        return Next();
    }
    std::string Next() {
        if (names.empty()) return {};
        std::string n = names.front();
        names.pop_front();
        return n;
    }
    std::deque<std::string> names;
    int saveAsked = 0;
};

class FrameFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TARNWICK_EDITOR_RUNTIME_DIR", runtime_.path().c_str(), 1);
        setenv("TARNWICK_EDITOR_HOME", home_.path().c_str(), 1);
        paths_ = InstancePaths::FromEnvironment();
        ASSERT_FALSE(RunProgramEntry(paths_, {}, marker_).handedOff);
    }

    /// Starts a frame on stored settings changed by `adjust`, without a blank text.
    std::unique_ptr<TTarnwickEditor> Start(std::function<void(OptionData&)> adjust = {},
                                           std::vector<std::string> files = {}) {
        OptionData o;
        o.CreateBlank = false;
        if (adjust) adjust(o);
        SaveOptionData(home_.path().string(), o);
        auto frame = std::make_unique<TTarnwickEditor>(paths_, std::move(files));
        frame->SetMessageBox(&messages_);
        frame->SetFileDialogs(&dialogs_);
        frame->show();
        QApplication::processEvents();
        return frame;
    }

    std::string File(const std::string& name, const std::string& bytes = "abc\r\n") {
        return files_.Write(name, bytes);
    }

    static void Type(TMDIChild& child, const char* text) {
        for (const char* p = text; *p; ++p)
            child.View().CharTyped(static_cast<unsigned char>(*p));
    }

    static void ExpectTagsMatchSlots(const TTarnwickEditor& frame) {
        for (int i = 1; i <= frame.DocumentCount(); ++i)
            EXPECT_EQ(frame.Document(i)->Tag, i);
        EXPECT_EQ(frame.Tabs().TabButtonCount(), frame.DocumentCount());
    }

    TempDir runtime_, home_, files_;
    InstancePaths paths_;
    InstanceMarker marker_;
    test::RecordingMessageBox messages_;
    ScriptedDialogs dialogs_;
};

}  // namespace tw::test
