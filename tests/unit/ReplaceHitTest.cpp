// Replacing search hits as a document window does for the replace dialog:
// the offset in wrapped lines, hits over line breaks, the question before
// each replacement and whole replace runs in every direction.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "headless/EditorHarness.h"
#include "search/ReplaceHit.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;

namespace {

enum class Direction { Up, Down, FromTop };

/// A document window's search handlers around an editor, and the replace
/// dialog's run of searches.
struct Document {
    explicit Document(std::string_view text, bool wrap = false, int32_t column = 72) {
        h.ed.SetColumn(column);
        h.Load(text, wrap);
        h.ed.OnFind = [this](TVellEdit&, std::string_view s, std::string_view f, int32_t i,
                             int32_t& x, int32_t& len) { matcher.Match(s, f, i, x, len); };
        h.ed.OnFindHit = [this](TVellEdit& ed, std::string_view f, int32_t x, int32_t y,
                                int32_t len, int32_t) {
            hits.emplace_back(y, x);
            outcomes.push_back(HandleFindHit(ed, matcher, state, h.messages, replacing, 0xFF0000,
                                             FindHit{f, x, y, len}));
        };
        h.ed.OnFindNoHit = [this](TVellEdit&, std::string_view) { matcher.NoHit = true; };
    }

    void Replace(std::string_view find, std::string_view with, Direction d, bool all,
                 bool confirm = false) {
        options = {};
        options.CaseSensitive = caseSensitive;
        options.SearchUp = d == Direction::Up;
        options.SearchDown = d == Direction::Down;
        options.SearchFromTop = d == Direction::FromTop;
        state = {confirm, std::string(with), false};
        h.ed.SetFindText(find);
        for (int guard = 0; guard < 1000; ++guard) {
            if (d == Direction::FromTop)
                h.ed.FindFirst();
            else if (d == Direction::Up)
                h.ed.FindPrev();
            else
                h.ed.FindNext();
            if (state.ReplaceCancelled || !all || matcher.NoHit) return;
        }
        ADD_FAILURE() << "the replace run never ended";
    }
    /// The walk asks only about the rows the matcher's scan names, as in the window.
    void ScanForCandidates() {
        h.ed.OnFindCandidate = [this](TVellEdit& ed, std::string_view f, int32_t from,
                                      int32_t last) {
            return matcher.CandidateRow(ed.Lines(), f, from, last);
        };
    }
    int Replaced() const {
        return static_cast<int>(std::count(outcomes.begin(), outcomes.end(), HitOutcome::Replaced));
    }

    EditorHarness h;
    FindOptions options;
    TFindMatcher matcher{options};
    ReplaceState state;
    bool replacing = true;
    bool caseSensitive = false;
    std::vector<HitOutcome> outcomes;
    std::vector<std::pair<int32_t, int32_t>> hits;
};

std::string ReplaceEvery(std::string s, std::string_view find, std::string_view with) {
    for (size_t p = s.find(find); p != std::string::npos; p = s.find(find, p + with.size()))
        s.replace(p, find.size(), with);
    return s;
}

}  // namespace

TEST(ReplaceHit, TheOffsetCountsRowsCutShortBeforeADoubleByteCharacter) {
    Document d("abcdefghi\x82\xa0xyz\r\n", true, 10);
    ASSERT_EQ(d.h.Row(0), "abcdefghi");  // 9 bytes: あ does not fit the tenth column
    const HitSpan span = LocateHit(d.h.ed, 2, 1, 3);
    EXPECT_EQ(span.first, 0);
    EXPECT_EQ(span.last, 1);
    EXPECT_EQ(span.offset, 11);
    d.Replace("xyz", "XYZ", Direction::FromTop, true);
    EXPECT_EQ(d.h.ed.GetAllText(), "abcdefghi\x82\xa0XYZ\r\n");
}

TEST(ReplaceHit, WrappedLinesWithTabsAndWideCharactersComeOutAsAPlainReplace) {
    const std::string text = "a\tb\tcd\x82\xa0x cd\tcd" +
                             Repeat(
                                 "\x82\xa2"
                                 "cd",
                                 8) +
                             "\r\n\tcdcd\r\nend cd";
    for (int32_t column : {10, 11, 12, 17}) {
        for (Direction dir : {Direction::FromTop, Direction::Down, Direction::Up}) {
            SCOPED_TRACE(column);
            Document d(text, true, column);
            if (dir == Direction::Up) d.h.ed.GotoXY(99, d.h.Count() - 1);
            d.Replace("cd", "[cd]", dir, true);
            EXPECT_EQ(d.h.ed.GetAllText(), ReplaceEvery(text, "cd", "[cd]"));
            EXPECT_EQ(d.Replaced(), 14);
        }
    }
}

TEST(ReplaceHit, AHitOverALineBreakJoinsTheLinesAndTheLastLineGetsNoBreak) {
    Document d("abc\r\ndef\r\nghi");
    d.Replace("c\r\nd", "-", Direction::FromTop, false);
    EXPECT_EQ(d.h.ed.GetAllText(), "ab-ef\r\nghi");
    d.Replace("h", "HH", Direction::FromTop, false);
    EXPECT_EQ(d.h.ed.GetAllText(), "ab-ef\r\ngHHi");
}

TEST(ReplaceRun, AllNeverSearchesItsOwnReplacement) {
    const std::string text = "ab abab\r\nxab\r\n" + Repeat("ab", 9) + "\r\naab";
    const std::pair<std::string, std::string> cases[] = {
        {"ab", "xaby"}, {"a", "aaa"}, {"ab", ""}, {"b", "bb"}};
    for (const auto& [find, with] : cases) {
        for (Direction dir : {Direction::FromTop, Direction::Down, Direction::Up}) {
            SCOPED_TRACE(find + " -> " + with + " " + std::to_string(static_cast<int>(dir)));
            Document d(text, true, 11);
            if (dir == Direction::Up) d.h.ed.GotoXY(99, d.h.Count() - 1);
            d.Replace(find, with, dir, true);
            EXPECT_EQ(d.h.ed.GetAllText(), ReplaceEvery(text, find, with));
        }
    }
    Document d("aaaa\r\naa");
    d.Replace("aa", "", Direction::FromTop, true);
    EXPECT_EQ(d.h.ed.GetAllText(), "\r\n");
}

TEST(ReplaceRun, OneClickReplacesOneHitAndTheNextGoesOnAfterIt) {
    for (Direction dir : {Direction::FromTop, Direction::Down}) {
        Document d("ab ab ab");
        d.Replace("ab", "-", dir, false);
        EXPECT_EQ(d.h.ed.GetAllText(), "- ab ab");
        d.Replace("ab", "-", dir, false);
        EXPECT_EQ(d.h.ed.GetAllText(), "- - ab");
    }
}

TEST(ReplaceRun, TheQuestionBeforeEachReplacement) {
    Document all("ab ab ab");
    all.h.messages.answers = {MessageAnswer::All};
    all.Replace("ab", "-", Direction::FromTop, true, true);
    EXPECT_EQ(all.h.ed.GetAllText(), "- - -");
    ASSERT_EQ(all.h.messages.shown.size(), 1u);
    EXPECT_EQ(all.h.messages.shown[0].text, kReplaceQuestion);
    EXPECT_EQ(all.h.messages.shown[0].buttons, MessageButtons::YesNoAbortAll);
    EXPECT_FALSE(all.state.ConfirmEach);

    Document abort("ab ab ab");
    abort.h.messages.answers = {MessageAnswer::Yes, MessageAnswer::Abort};
    abort.Replace("ab", "-", Direction::FromTop, true, true);
    EXPECT_EQ(abort.h.ed.GetAllText(), "- ab ab");
    EXPECT_TRUE(abort.state.ReplaceCancelled);
    EXPECT_EQ(abort.outcomes,
              (std::vector<HitOutcome>{HitOutcome::Replaced, HitOutcome::Cancelled}));
    EXPECT_FALSE(abort.matcher.NoHit);

    Document no("ab ab ab");
    no.h.messages.answers = {MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Yes};
    no.Replace("ab", "-", Direction::FromTop, true, true);
    EXPECT_EQ(no.h.ed.GetAllText(), "ab - -");
    EXPECT_EQ(no.h.messages.shown.size(), 3u);
}

TEST(ReplaceRun, TheFindDialogsHitIsHighlightedAndKept) {
    Document d("xx ab");
    d.replacing = false;
    d.Replace("ab", "-", Direction::Down, false);
    EXPECT_EQ(d.outcomes, (std::vector<HitOutcome>{HitOutcome::Highlighted}));
    EXPECT_EQ(d.h.ed.GetAllText(), "xx ab");
    EXPECT_EQ(d.h.ed.FindWalk().HitLen(), 2);
    EXPECT_FALSE(d.matcher.NoHit);
}

TEST(ReplaceRun, FindingDownAndUpVisitsEveryAdjacentHitOnce) {
    for (Direction dir : {Direction::Down, Direction::Up, Direction::FromTop}) {
        Document d("abab abab\r\nab");
        d.replacing = false;
        d.options = {};
        d.options.SearchUp = dir == Direction::Up;
        d.options.SearchDown = dir == Direction::Down;
        d.options.SearchFromTop = dir == Direction::FromTop;
        d.h.ed.SetFindText("ab");
        if (dir == Direction::Up) d.h.ed.GotoXY(2, 1);
        std::vector<std::pair<int32_t, int32_t>> hits;
        for (int guard = 0; guard < 20 && !d.matcher.NoHit; ++guard) {
            if (dir == Direction::FromTop)
                d.h.ed.FindFirst();
            else if (dir == Direction::Up)
                d.h.ed.FindPrev();
            else
                d.h.ed.FindNext();
            if (!d.matcher.NoHit)
                hits.emplace_back(d.h.ed.FindWalk().HitY(), d.h.ed.FindWalk().HitX());
        }
        std::vector<std::pair<int32_t, int32_t>> expected{{0, 0}, {0, 2}, {0, 5}, {0, 7}, {1, 0}};
        if (dir == Direction::Up) std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(hits, expected) << static_cast<int>(dir);
    }
}

TEST(ReplaceRun, TheCandidateScanChangesNoHitAndNoReplacement) {
    // サ and フ have the trail bytes "T" and "t"; あ and the ideographic space
    // neither; short wrap columns put matches across rows and line breaks.
    const std::vector<std::string> alphabet = {
        "a", "A", "T", "t", "\r\n", "\t", "\x83\x54", "\x83\x74", "\x82\xa0", "\x81\x40"};
    std::mt19937 rng(1808);
    auto make = [&](unsigned n) {
        std::string s;
        for (unsigned i = 0; i < n; ++i)
            s += alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 600; ++round) {
        const std::string text = make(rng() % 60), pattern = make(1 + rng() % 3);
        const bool wrap = rng() % 2, replacing = rng() % 2, cs = rng() % 2;
        const int32_t column = 6 + static_cast<int32_t>(rng() % 8);
        const Direction dir = rng() % 2 ? Direction::Down : Direction::FromTop;
        SCOPED_TRACE(::testing::Message() << "round " << round << " column " << column);
        Document asked(text, wrap, column), scanned(text, wrap, column);
        scanned.ScanForCandidates();
        for (Document* d : {&asked, &scanned}) {
            d->replacing = replacing;
            d->caseSensitive = cs;
            d->Replace(pattern, "T", dir, true);
        }
        EXPECT_EQ(scanned.hits, asked.hits);
        EXPECT_EQ(scanned.h.ed.GetAllText(), asked.h.ed.GetAllText());
    }
}
