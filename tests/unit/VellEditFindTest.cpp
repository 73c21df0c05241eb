// The control's search walk with a plain byte-for-byte owner: windows over
// wrapped pieces and line breaks, the order of hits both ways, wrap-around,
// the hit highlight and the control's own replace mode.
#include <gtest/gtest.h>

#include <random>

#include "headless/EditorHarness.h"
#include "headless/ViewHarness.h"

using namespace tw;
using namespace tw::test;
using namespace std::string_literals;

namespace {

struct Hit {
    int32_t x, y, len, count;
    bool operator==(const Hit&) const = default;
};

/// Wires an owner that accepts the first occurrence of the search text.
template <class Harness>
struct Owner {
    explicit Owner(Harness& h) : ed(h.ed) {
        ed.OnFind = [this](TVellEdit&, std::string_view s, std::string_view f, int32_t index,
                           int32_t& x, int32_t&) {
            asked.push_back({index, std::string(s)});
            const size_t p = s.find(f);
            x = p == std::string_view::npos ? 0 : static_cast<int32_t>(p) + 1;
        };
        ed.OnFindHit = [this](TVellEdit&, std::string_view, int32_t x, int32_t y, int32_t len,
                              int32_t count) {
            hits.push_back({x, y, len, count});
        };
        ed.OnFindNoHit = [this](TVellEdit&, std::string_view) { ++noHits; };
    }
    Hit Last() const { return hits.empty() ? Hit{-1, -1, -1, -1} : hits.back(); }

    TVellEdit& ed;
    std::vector<std::pair<int32_t, std::string>> asked;
    std::vector<Hit> hits;
    int noHits = 0;
};

/// Every hit of a forward walk until the first search without one.
template <class O>
std::vector<Hit> WalkDown(O& o) {
    o.ed.FindFirst();
    for (int guard = 0; o.noHits == 0 && guard < 1000; ++guard)
        o.ed.FindNext();
    return o.hits;
}

}  // namespace

TEST(VellEditFind, HitsSpanWrappedPiecesAndLineBreaks) {
    EditorHarness h;
    h.ed.SetColumn(10);
    h.Load("0123456789abcdef\r\nxyz\r\n", true);
    ASSERT_EQ(h.Row(0), "0123456789");
    Owner o(h);
    h.ed.SetFindText("89ab");
    h.ed.FindFirst();
    EXPECT_EQ(o.Last(), (Hit{8, 0, 4, 1}));
    EXPECT_EQ(h.ed.CaretX(), 8);
    EXPECT_EQ(h.ed.CaretY(), 0);

    h.ed.SetFindText("f\r\nxy");
    h.ed.FindFirst();
    EXPECT_EQ(o.Last(), (Hit{5, 1, 5, 1}));
    // A window reaches only as far into the next rows as a match can.
    EXPECT_EQ(o.asked[1].second, "0123456789abcd");
}

TEST(VellEditFind, AMatchBeyondItsRowIsReportedOnlyWhenItsOwnRowComes) {
    EditorHarness h;
    h.ed.SetColumn(10);
    h.Load("abcdefghijk\r\n", true);
    Owner o(h);
    // This owner accepts a shorter match than the search text: the first
    // byte alone, which the window of row 0 holds at its 11th position.
    h.ed.OnFind = [&](TVellEdit&, std::string_view s, std::string_view f, int32_t, int32_t& x,
                      int32_t& len) {
        const size_t p = s.find(f[0]);
        x = p == std::string_view::npos ? 0 : static_cast<int32_t>(p) + 1;
        len = 1;
    };
    h.ed.SetFindText("kZ");
    EXPECT_EQ(WalkDown(o), (std::vector<Hit>{{0, 1, 1, 1}}));
}

TEST(VellEditFind, EveryMatchOfAWrappedLineIsReportedOnceInOrder) {
    for (int32_t column : {10, 11, 13, 17, 23}) {
        SCOPED_TRACE(column);
        EditorHarness h;
        h.ed.SetColumn(column);
        h.Load(Repeat("ab", 20) + "\r\n" + Repeat("ab", 7), true);
        Owner o(h);
        h.ed.SetFindText("ab");
        const std::vector<Hit> hits = WalkDown(o);
        ASSERT_EQ(hits.size(), 27u);
        for (size_t i = 0; i < hits.size(); ++i) {
            int32_t x = hits[i].x, y = hits[i].y;
            h.ed.EntryToLogical(x, y);
            EXPECT_EQ(y, i < 20 ? 0 : 1);
            EXPECT_EQ(x, 2 * static_cast<int32_t>(i < 20 ? i : i - 20));
            EXPECT_EQ(hits[i].count, static_cast<int32_t>(i) + 1);
        }
    }
}

TEST(VellEditFind, ForwardWrapsAroundOnlyAfterASearchWithoutHit) {
    EditorHarness h;
    h.Load("ab\r\nxx ab\r\n");
    Owner o(h);
    h.ed.SetFindText("ab");
    h.ed.FindNext();
    h.ed.FindNext();
    EXPECT_EQ(o.Last(), (Hit{3, 1, 2, 2}));
    h.ed.FindNext();
    EXPECT_EQ(o.noHits, 1);
    EXPECT_EQ(o.hits.size(), 2u);
    // The wrap-around wins over a caret moved in between.
    h.ed.GotoXY(1, 1);
    h.ed.FindNext();
    EXPECT_EQ(o.Last(), (Hit{0, 0, 2, 1}));
    EXPECT_EQ(h.ed.CaretY(), 0);
}

TEST(VellEditFind, BackwardFindsEachRowsHitsLastOneFirst) {
    EditorHarness h;
    h.Load("x ab ab\r\nab ab ab ab\r\n");
    Owner o(h);
    h.ed.SetFindText("ab");
    h.ed.GotoXY(7, 1);
    for (int i = 0; i < 5; ++i)
        h.ed.FindPrev();
    EXPECT_EQ(o.hits, (std::vector<Hit>{{3, 1, 2, 1}, {0, 1, 2, 2}, {5, 0, 2, 3}, {2, 0, 2, 4}}));
    EXPECT_EQ(o.noHits, 1);
    h.ed.FindPrev();  // wraps around to the bottom
    EXPECT_EQ(o.Last(), (Hit{9, 1, 2, 1}));
}

TEST(VellEditFind, ChangingDirectionGoesOnFromTheLastPositionWithoutWrapping) {
    EditorHarness h;
    h.Load("ab ab\r\nab\r\n");
    Owner o(h);
    h.ed.SetFindText("ab");
    for (int i = 0; i < 4; ++i)
        h.ed.FindNext();
    ASSERT_EQ(o.noHits, 1);
    h.ed.FindPrev();
    EXPECT_EQ(o.Last(), (Hit{0, 1, 2, 4}));  // no reset of the count
    h.ed.FindPrev();
    EXPECT_EQ(o.Last(), (Hit{3, 0, 2, 5}));
    // Straight after a forward hit, going up starts before that hit.
    h.ed.FindNext();
    EXPECT_EQ(o.Last(), (Hit{0, 1, 2, 6}));
    h.ed.FindPrev();
    EXPECT_EQ(o.Last(), (Hit{3, 0, 2, 7}));
    // With the caret placed in between, going up starts right at the caret.
    h.ed.FindNext();
    h.ed.GotoXY(5, 0);
    h.ed.FindPrev();
    EXPECT_EQ(o.Last(), (Hit{3, 0, 2, 9}));
}

TEST(VellEditFind, WithoutAMatchHandlerNothingIsFound) {
    EditorHarness h;
    h.Load("ab\r\n");
    int noHits = 0;
    h.ed.OnFindNoHit = [&](TVellEdit&, std::string_view) { ++noHits; };
    h.ed.SetFindText("ab");
    h.ed.FindFirst();
    h.ed.FindPrev();
    EXPECT_EQ(noHits, 2);
    EXPECT_EQ(h.ed.FindWalk().HitLen(), 0);
}

TEST(VellEditFind, PlacingTheCaretInTheViewEndsTheHitAndMovesTheSearchStart) {
    ViewHarness h;
    h.Load("ab cd ab cd ab\r\n");
    Owner o(h);
    h.ed.SetFindText("ab");
    h.ed.FindNext();
    ASSERT_EQ(h.ed.FindWalk().HitLen(), 2);
    h.view.MouseDown(MouseButton::Left, h.X(7), h.Y(0));
    h.view.MouseUp(MouseButton::Left, h.X(7), h.Y(0));
    EXPECT_EQ(h.ed.FindWalk().HitLen(), 0);
    h.ed.FindNext();
    EXPECT_EQ(o.Last(), (Hit{12, 0, 2, 2}));  // the one at 6 lies before the click

    h.Key(VK_HOME);
    EXPECT_EQ(h.ed.FindWalk().HitLen(), 0);
    h.ed.FindNext();
    EXPECT_EQ(o.Last(), (Hit{0, 0, 2, 3}));
}

TEST(VellEditFind, TheHitIsPaintedInverseAcrossRowsAndTheSelectionStaysAsItWas) {
    ViewHarness h;
    h.ed.SetColumn(10);
    h.Load("0123456789abcdef\r\nnext line\r\n", true);
    Owner o(h);
    h.ed.SetFindText("89ab");
    h.ed.FindFirst();
    const TColor selColor = h.ed.SelColor(), font = h.ed.Font().Color;
    h.surface.Clear();
    h.ed.PaintHit(0x0000FF);
    std::vector<std::string> painted, others;
    for (const auto& op : h.surface.Of("text"))
        (op.fore == 0xFFFF00 && op.back == 0x0000FF ? painted : others).push_back(op.text);
    EXPECT_EQ(painted, (std::vector<std::string>{"89", "ab"}));
    // Only the hit is painted: the text around it and the other rows keep
    // the colours they were painted in.
    EXPECT_EQ(others, std::vector<std::string>{});
    EXPECT_FALSE(h.ed.SelectionExists());
    EXPECT_EQ(h.ed.SelColor(), selColor);
    EXPECT_EQ(h.ed.Font().Color, font);

    // A new search repaints the old hit normally.
    h.surface.Clear();
    h.ed.SetFindText("x");
    EXPECT_EQ(h.ed.FindWalk().HitLen(), 0);
    EXPECT_FALSE(h.surface.TextsAt(4).empty());
}

TEST(VellEditFind, ReplaceModeGoesOnAfterTheInsertedText) {
    EditorHarness h;
    h.ed.SetColumn(11);
    h.Load("ab ab\r\n" + Repeat("ab", 6) + "\r\n", true);
    Owner o(h);
    h.ed.SetFindText("ab");
    h.ed.FindWalk().SetReplaceText("xaby");
    h.ed.FindForward(true);
    EXPECT_EQ(h.ed.GetAllText(), "xaby xaby\r\n" + Repeat("xaby", 6) + "\r\n");
    EXPECT_EQ(h.ed.FindWalk().HitCount(), 8);
    EXPECT_TRUE(o.hits.empty());  // replace mode reports through OnFindChange only
}

TEST(VellEditFind, ReplaceModeAsksBeforeEachReplacementWhenConfirming) {
    EditorHarness h;
    h.Load("ab ab ab ab\r\n");
    Owner o(h);
    std::vector<int32_t> asked;
    h.ed.OnFindChange = [&](TVellEdit&, TFindChange& c) {
        asked.push_back(c.x);
        c.ChangeF = asked.size() != 1;  // skip the first
        c.AbortF = asked.size() == 3;   // stop at the third
    };
    h.ed.SetFindText("ab");
    h.ed.FindWalk().SetReplaceText("-");
    h.ed.FindWalk().SetConfirmReplace(true);
    h.ed.FindForward(true);
    EXPECT_EQ(asked, (std::vector<int32_t>{0, 3, 5}));
    EXPECT_EQ(h.ed.GetAllText(), "ab - ab ab\r\n");
    EXPECT_EQ(h.ed.FindWalk().HitLen(), 0);

    // Answered "all": no more questions, every further hit replaced.
    asked.clear();
    h.ed.OnFindChange = [&](TVellEdit&, TFindChange& c) {
        asked.push_back(c.x);
        c.kakuninF = false;
    };
    h.ed.SetFindText("ab");
    h.ed.FindForward(true);
    EXPECT_EQ(asked, (std::vector<int32_t>{0}));
    EXPECT_EQ(h.ed.GetAllText(), "- - - -\r\n");
}

TEST(VellEditFind, AWalkGoesOnAfterAHitThatCrossedARowEnd) {
    EditorHarness h;
    h.ed.SetColumn(10);
    h.Load("012345678aaab\r\n", true);
    ASSERT_EQ(h.Row(0), "012345678a");
    Owner o(h);
    h.ed.SetFindText("aa");
    EXPECT_EQ(WalkDown(o), (std::vector<Hit>{{9, 0, 2, 1}}));
}

/// Word wrap is a way of showing the text: the hits of a walk, as places in
/// the text, are the same with it off and on at any column.
TEST(VellEditFind, HitsWithWordWrapAreTheHitsWithoutIt) {
    std::mt19937 random(424242);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto piece = [&](int n, int breaks) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += pick(100) < breaks ? "\r\n"
                                    : (pick(10) == 0 ? "\t" : std::string(1, "ab"[pick(2)]));
        return s;
    };
    auto offsets = [](EditorHarness& h, const std::vector<Hit>& hits) {
        std::vector<size_t> out;
        for (const Hit& hit : hits) {
            size_t off = static_cast<size_t>(hit.x);
            for (int32_t y = 0; y < hit.y; ++y)
                off += h.ed.Lines().View(y).size();
            out.push_back(off);
        }
        return out;
    };
    for (int round = 0; round < 300; ++round) {
        const std::string text = piece(20 + pick(120), 3);
        const std::string pattern = piece(1 + pick(pick(4) == 0 ? 24 : 4), 5);
        const int32_t column = 10 + pick(15);
        SCOPED_TRACE("text \"" + text + "\" pattern \"" + pattern + "\" column " +
                     std::to_string(column));
        EditorHarness plain, wrapped;
        wrapped.ed.SetColumn(column);
        plain.Load(text, false);
        wrapped.Load(text, true);
        Owner op(plain), ow(wrapped);
        plain.ed.SetFindText(pattern);
        wrapped.ed.SetFindText(pattern);
        EXPECT_EQ(offsets(wrapped, WalkDown(ow)), offsets(plain, WalkDown(op)));
    }
}
