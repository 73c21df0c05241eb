// The dialogs' runs over the documents: replace-all from the top, and the
// find that goes on through every document.
#include <gtest/gtest.h>

#include "headless/EditorHarness.h"
#include "search/FindRun.h"

using namespace tw;
using namespace tw::test;

namespace {

/// Documents with the window's handlers, counting the rows the walk asks about.
struct Documents : ISearchDocuments {
    struct Doc {
        explicit Doc(Documents& owner, const std::string& text) : matcher(owner.options) {
            h.Load(text, false);
            h.ed.OnFind = [this, &owner](TVellEdit&, std::string_view s, std::string_view f,
                                         int32_t i, int32_t& x, int32_t& len) {
                ++owner.questions;
                matcher.Match(s, f, i, x, len);
            };
            h.ed.OnFindHit = [this, &owner](TVellEdit& ed, std::string_view f, int32_t x, int32_t y,
                                            int32_t len, int32_t) {
                owner.active = owner.NumberOf(this);
                HandleFindHit(ed, matcher, owner.state, h.messages, owner.replacing, 0xFF0000,
                              FindHit{f, x, y, len});
            };
            h.ed.OnFindNoHit = [this](TVellEdit&, std::string_view) { matcher.NoHit = true; };
        }
        EditorHarness h;
        TFindMatcher matcher;
    };

    int NumberOf(const Doc* d) const {
        for (size_t i = 0; i < docs.size(); ++i)
            if (docs[i].get() == d) return static_cast<int>(i) + 1;
        return 0;
    }
    void Add(const std::string& text) { docs.push_back(std::make_unique<Doc>(*this, text)); }
    int Count() const override { return static_cast<int>(docs.size()); }
    int Active() const override { return active; }
    TVellEdit& Editor(int n) override { return docs[n - 1]->h.ed; }
    TFindMatcher& Matcher(int n) override { return docs[n - 1]->matcher; }
    void Focus(int) override {}
    void GoTop(int n) override { Editor(n).GotoXY(0, 0); }
    void GoBottom(int n) override {
        TVellEdit& e = Editor(n);
        e.GotoXY(0, e.Lines().Count() - 1);
    }
    void Redraw(int) override { ++refreshes; }
    void Settle() override {}

    FindOptions options;
    ReplaceState state;
    bool replacing = true;
    int active = 1;
    long questions = 0;
    int refreshes = 0;
    std::vector<std::unique_ptr<Doc>> docs;
};

}  // namespace

TEST(FindRun, ReplaceAllFromTheTopWalksTheTextOnceAndKeepsTheFlags) {
    Documents d;
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "row x and x\r\n";
    d.Add(text);
    RunReplace(d, d.options, d.state, FindRequest{"x", FindDirection::FromTop, false, false}, "xx",
               false, true);
    std::string expected;
    for (int i = 0; i < 300; ++i)
        expected += "row xx and xx\r\n";
    EXPECT_EQ(d.Editor(1).GetAllText(), expected);
    // Once over 300 rows and 600 hits, not once from the top per hit.
    EXPECT_LT(d.questions, 3000);
    EXPECT_TRUE(d.options.SearchFromTop);
    EXPECT_FALSE(d.options.SearchDown);
}

TEST(FindRun, ReplaceAllWithoutQuestionsPaintsOnceAtTheEnd) {
    Documents d;
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "x row\r\n";
    d.Add(text);
    RecordingView& view = d.docs[0]->h.view;
    view.Clear();
    int caretReports = 0;
    d.Editor(1).OnSelectionChange = [&](TVellEdit&) { ++caretReports; };
    RunReplace(d, d.options, d.state, FindRequest{"x", FindDirection::Down, false, false}, "yy",
               false, true);
    EXPECT_EQ(d.Editor(1).Lines().View(199), "yy row\r\n");
    EXPECT_TRUE(view.Paints().empty());
    EXPECT_EQ(caretReports, 0);
    EXPECT_EQ(d.refreshes, 1);
    // The window is back: the next move paints, and is reported.
    d.Editor(1).GotoXY(1, 5, ScrollMode::Center);
    EXPECT_FALSE(view.calls.empty());
    EXPECT_EQ(caretReports, 1);

    // Answering each hit needs the hit on screen.
    d.Add("x x\r\n");
    d.active = 2;
    d.docs[1]->h.messages.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    d.docs[1]->h.view.Clear();
    RunReplace(d, d.options, d.state, FindRequest{"x", FindDirection::FromTop, false, false}, "y",
               true, true);
    EXPECT_EQ(d.Editor(2).GetAllText(), "y y\r\n");
    EXPECT_FALSE(d.docs[1]->h.view.Paints().empty());
}

TEST(FindRun, AbortStopsTheRunAndAnEmptyTextDoesNothing) {
    Documents d;
    d.Add("a a a\r\n");
    d.docs[0]->h.messages.answers = {MessageAnswer::Yes, MessageAnswer::Abort};
    RunReplace(d, d.options, d.state, FindRequest{"a", FindDirection::FromTop, false, false}, "b",
               true, true);
    EXPECT_EQ(d.Editor(1).GetAllText(), "b a a\r\n");
    EXPECT_EQ(d.docs[0]->h.messages.shown.size(), 2u);
    RunReplace(d, d.options, d.state, FindRequest{"", FindDirection::FromTop, false, false}, "b",
               false, true);
    EXPECT_EQ(d.Editor(1).GetAllText(), "b a a\r\n");
}

TEST(FindRun, FindingInAllDocumentsGoesOnOnlyAfterAMiss) {
    Documents d;
    d.Add("one\r\n");
    d.Add("two\r\n");
    d.Add("three two\r\n");
    d.replacing = false;
    d.active = 2;
    RunFind(d, d.options, FindRequest{"three", FindDirection::Down, false, true});
    EXPECT_EQ(d.active, 3);
    EXPECT_EQ(d.Editor(3).FindWalk().HitLen(), 5);
    // Found in the active document: the others are not visited. (The
    // dialog's new direction starts the search afresh.)
    d.active = 2;
    d.Matcher(2).ResetLastHit();
    d.Editor(3).ClearHit();
    RunFind(d, d.options, FindRequest{"two", FindDirection::FromTop, false, true});
    EXPECT_EQ(d.active, 2);
    EXPECT_EQ(d.Editor(3).FindWalk().HitLen(), 0);
}

TEST(FindRun, ADeclinedHitIsNotAskedAboutAgainButAFoundOneIsReplaced) {
    Documents d;
    d.Add("ab ab ab\r\n");
    auto click = [&d](MessageAnswer answer) {
        d.docs[0]->h.messages.answers = {answer};
        RunReplace(d, d.options, d.state, FindRequest{"ab", FindDirection::Down, false, false}, "-",
                   true, false);
    };
    click(MessageAnswer::No);
    click(MessageAnswer::Yes);
    EXPECT_EQ(d.Editor(1).GetAllText(), "ab - ab\r\n");
    // The find dialog's hit, then the replace dialog: that hit is replaced.
    d.Editor(1).GotoXY(0, 0);
    d.replacing = false;
    RunFind(d, d.options, FindRequest{"ab", FindDirection::Down, false, false});
    d.replacing = true;
    click(MessageAnswer::Yes);
    EXPECT_EQ(d.Editor(1).GetAllText(), "- - ab\r\n");
}
