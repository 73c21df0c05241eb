// The line store's entry operations, growth rules and byte classification.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RowLimit.h"
#include "support/TempDir.h"
#include "support/TestText.h"
#include "textstore/LineStore.h"
#include "textstore/ShiftJis.h"

using namespace tw;
using namespace std::string_literals;
using tw::test::RowsOf;

namespace {

void ExpectIndexError(const std::function<void()>& f) {
    try {
        f();
        FAIL() << "no index error";
    } catch (const ListIndexError& e) {
        EXPECT_STREQ(e.what(), "インデックスがリストの範囲を超えています");
    }
}

}  // namespace

TEST(LineStore, GrowthByThirtyTwoThenByOneHundredTwentyEighth) {
    TVellStrings s;
    EXPECT_EQ(s.Capacity(), 0);
    s.Add("a");
    EXPECT_EQ(s.Capacity(), 32);
    for (int i = 1; i < 32; ++i)
        s.Add("a");
    EXPECT_EQ(s.Capacity(), 32);
    s.Add("b");  // the 33rd
    EXPECT_EQ(s.Capacity(), 64);

    TVellStrings big;
    big.SetCapacity(12800);
    big.SetCount(12800);
    big.Add("x");
    EXPECT_EQ(big.Capacity(), 12900);
    EXPECT_EQ(big.Count(), 12801);
}

TEST(LineStore, InsertDeleteAndPutKeepOrder) {
    TVellStrings s;
    s.Add("b");
    s.Insert(0, "a");
    s.Insert(2, "d");  // Index = Count appends
    s.Insert(2, "c");
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"a", "b", "c", "d"}));
    s.Delete(1);
    s.Put(0, "A");
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"A", "c", "d"}));
    EXPECT_EQ(s.IndexOf("d"), 2);
    EXPECT_EQ(s.IndexOf("D"), -1);  // byte for byte
    EXPECT_EQ(s.Add("e"), 3);
}

TEST(LineStore, IndexErrorsLeaveTheStoreUnchanged) {
    TVellStrings s;
    s.Add("a");
    s.Add("b");
    ExpectIndexError([&] { s.Get(2); });
    ExpectIndexError([&] { s.Get(-1); });
    ExpectIndexError([&] { s.Put(2, "x"); });
    ExpectIndexError([&] { s.Delete(-1); });
    ExpectIndexError([&] { s.Insert(3, "x"); });
    ExpectIndexError([&] { s.Insert(-1, "x"); });
    ExpectIndexError([&] { s.SetCount(-1); });
    ExpectIndexError([&] { s.SetCount(TVellStrings::kMaxCapacity + 1); });
    ExpectIndexError([&] { s.SetCapacity(1); });
    ExpectIndexError([&] { s.SetCapacity(TVellStrings::kMaxCapacity + 1); });
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(s.Capacity(), 32);
}

/// Every way of adding rows checks the row limit before anything changes.
TEST(LineStore, AddingPastTheRowLimitRaisesTheIndexErrorAndChangesNothing) {
    const test::LowerRowLimit limit(5);
    TVellStrings s;
    for (const char* e : {"a\r\n", "b\r\n", "c\r\n", "d\r\n"})
        s.Add(e);
    const std::vector<std::string> four = RowsOf(s);
    int32_t index = 1;
    ExpectIndexError([&] { s.InsertText(index, "x\r\ny\r\n"); });
    EXPECT_EQ(index, 1);
    ExpectIndexError([&] { s.SetText("1\r\n2\r\n3\r\n4\r\n5\r\n6"); });
    const std::vector<Entry> two{Entry("x"), Entry("y")};
    ExpectIndexError([&] { s.AddStrings(two); });
    ExpectIndexError([&] { s.SetCount(6); });
    const test::TempDir dir;
    const std::string file = dir.Write("six.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    ExpectIndexError([&] { s.LoadFromFile(file); });
    EXPECT_EQ(RowsOf(s), four);

    s.Add("e");  // the fifth still fits
    ExpectIndexError([&] { s.Add("f"); });
    ExpectIndexError([&] { s.Insert(0, "f"); });
    const std::vector<Entry> six(6, Entry("z"));
    ExpectIndexError([&] { s.Assign(six); });
    EXPECT_EQ(s.Count(), 5);
    EXPECT_EQ(s.Get(4).str(), "e");
}

TEST(LineStore, ClearFreesTheArrayAndSetCountFillsWithEmptyEntries) {
    TVellStrings s;
    s.Clear();  // nothing allocated: nothing happens
    EXPECT_EQ(s.Capacity(), 0);
    s.Add("a");
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.Capacity(), 0);

    s.Add("keep");
    s.SetCount(40);
    EXPECT_EQ(s.Capacity(), 40);
    EXPECT_EQ(s.Get(0), "keep");
    EXPECT_TRUE(s.Get(39).empty());
    s.SetCount(1);
    EXPECT_EQ(s.Count(), 1);
    EXPECT_EQ(s.Capacity(), 40);
    s.SetCount(3);  // slots reused after shrinking read as empty again
    EXPECT_TRUE(s.Get(2).empty());
}

TEST(LineStore, ReadingSharesTheBytes) {
    TVellStrings s;
    s.Add("shared row\r\n");
    Entry a = s.Get(0);
    Entry b = s.Get(0);
    EXPECT_EQ(a.data(), b.data());
    EXPECT_EQ(a.UseCount(), 3u);
    s.Put(0, "replaced");
    EXPECT_EQ(a, "shared row\r\n");  // a reader keeps the old bytes alive
    EXPECT_EQ(a.UseCount(), 2u);
}

TEST(LineStore, InsertTextSplitsAtCrAndNulTakingTheNextByte) {
    TVellStrings s;
    for (int i = 0; i < 4; ++i)
        s.Add(std::to_string(i));
    int32_t index = 3;
    s.InsertText(index, "x\r\ny\r\n");
    EXPECT_EQ(index, 4);
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"0", "1", "2", "x\r\n", "y\r\n", "3"}));

    index = 0;
    s.InsertText(index, "");
    EXPECT_EQ(index, 0);
    EXPECT_EQ(s.Count(), 6);

    TVellStrings t;
    index = 0;
    t.InsertText(index, "plain");
    EXPECT_EQ(RowsOf(t), (std::vector<std::string>{"plain"}));
    EXPECT_EQ(index, 0);

    TVellStrings u;
    index = 0;
    u.InsertText(index, "a\rb");  // the b is the lone CR's second terminator byte
    EXPECT_EQ(RowsOf(u), (std::vector<std::string>{"a\rb"}));

    TVellStrings v;
    index = 0;
    v.InsertText(index, "a\r\nb\0\0"s);
    EXPECT_EQ(RowsOf(v), (std::vector<std::string>{"a\r\n", "b\0\0"s}));

    TVellStrings w;
    index = 0;
    w.InsertText(index, "a\0bc\r"s);  // a NUL acts as a two-byte terminator
    EXPECT_EQ(RowsOf(w), (std::vector<std::string>{"a\0b"s, "c\r\0"s}));
}

// Edits jump about the store, so the free slots move between rows, grow and
// shrink; every row must stay in its place through all of it.
TEST(LineStore, ScatteredEditsKeepEveryRowInOrder) {
    TVellStrings s;
    std::vector<std::string> model;
    uint32_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int step = 0; step < 3000; ++step) {
        const auto at = static_cast<int32_t>(next(static_cast<uint32_t>(model.size()) + 1));
        const std::string row = "r" + std::to_string(step);
        switch (next(8)) {
            case 0:
            case 1:
            case 2:
                s.Insert(at, row);
                model.insert(model.begin() + at, row);
                break;
            case 3:
                if (at < s.Count()) s.Delete(at), model.erase(model.begin() + at);
                break;
            case 4:
                if (at < s.Count()) s.Put(at, row), model[static_cast<size_t>(at)] = row;
                break;
            case 5: {
                int32_t index = at;
                s.InsertText(index, row + "\r\n" + row + "b");
                model.insert(model.begin() + at, {row + "\r\n", row + "b"});
                EXPECT_EQ(index, at + 1);
                break;
            }
            case 6:
                s.SetCapacity(s.Count() + static_cast<int32_t>(next(50)));
                break;
            case 7:
                if (next(10) == 0) s.SetCount(static_cast<int32_t>(model.size()) / 2);
                model.resize(static_cast<size_t>(s.Count()));
                break;
        }
        ASSERT_EQ(RowsOf(s), model) << "step " << step;
    }
    TVellStrings other;
    other.Swap(s);
    EXPECT_EQ(RowsOf(other), model);
    other.Insert(other.Count() / 2, "mid");
    model.insert(model.begin() + static_cast<long>(model.size() / 2), "mid");
    std::string joined;
    for (const std::string& row : model)
        joined += row;
    EXPECT_EQ(other.GetText(), joined.substr(0, joined.size() - 2));
}

TEST(LineStore, SetTextAndGetText) {
    TVellStrings s;
    s.SetText("a\r\n\x82\xa0\r\n\0\0"s);
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"a\r\n", "\x82\xa0\r\n", "\0\0"s}));
    EXPECT_EQ(s.GetText(), "a\r\n\x82\xa0\r\n");
    EXPECT_EQ(s.Capacity(), 3);

    s.SetText("");
    EXPECT_EQ(s.Count(), 0);

    s.SetText("y\r\nz\r"s);  // the last byte a lone CR: it gains a NUL
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"y\r\n", "z\r\0"s}));
    s.SetText("ab\0"s);
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"ab\0\0"s}));

    TVellStrings one;
    one.Add(Entry(kEndMarker));
    EXPECT_EQ(one.GetText(), "");
}

TEST(LineStore, AddStringsReservesOnceAndAddsUnchanged) {
    TVellStrings s;
    s.Add("first");
    std::vector<Entry> list{"a", "b\r\n", ""};
    s.AddStrings(list);
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"first", "a", "b\r\n", ""}));
    s.Assign(list);
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"a", "b\r\n", ""}));
}

TEST(LineStore, CommaText) {
    TVellStrings s;
    s.Add("a b");
    s.Add("c");
    s.Add("d");
    EXPECT_EQ(s.GetCommaText(), "\"a b\",c,d");
    s.Clear();
    s.Add("x,y");
    s.Add("q\"uote");  // quotes are not escaped
    EXPECT_EQ(s.GetCommaText(), "\"x,y\",q\"uote");

    TVellStrings t;
    t.SetCommaText("\"a b\",c,d");
    EXPECT_EQ(RowsOf(t), (std::vector<std::string>{"a b", "c", "d"}));
    t.SetCommaText("one,\"two, three\",four");
    EXPECT_EQ(RowsOf(t), (std::vector<std::string>{"one", "two, three", "four"}));
    t.SetCommaText("a\rb");  // CR ends an item like a comma
    EXPECT_EQ(RowsOf(t), (std::vector<std::string>{"a", "b"}));
    t.SetCommaText("");
    EXPECT_EQ(t.Count(), 0);

    std::string big;
    TVellStrings many;
    for (int i = 0; i < 2000; ++i)
        many.Add("item " + std::to_string(i));
    TVellStrings back;
    back.SetCommaText(many.GetCommaText());
    EXPECT_EQ(RowsOf(back), RowsOf(many));
}

TEST(LineStore, StreamsCarryTheTextWithoutEndMarker) {
    TVellStrings s;
    s.SetText("a\r\nb\0\0"s);
    TBytesStream out;
    out.Write("pre", 3);
    s.SaveToStream(out);
    EXPECT_EQ(out.Bytes(), "prea\r\nb");

    TVellStrings t;
    t.Add("old");
    TBytesStream in("xxa\r\nb\0\0"s);
    in.Seek(2, kFromBeginning);
    t.LoadFromStream(in);
    EXPECT_EQ(RowsOf(t), (std::vector<std::string>{"a\r\n", "b\0\0"s}));

    TBytesStream empty("abc");
    empty.Seek(0, kFromEnd);
    t.LoadFromStream(empty);  // nothing left: cleared, nothing read
    EXPECT_EQ(t.Count(), 0);
}

TEST(ByteClassification, LeadTrailAndSingleBytes) {
    EXPECT_EQ(ByteTypeAt("ab", 2), kSingleByte);
    EXPECT_EQ(ByteTypeAt("\x82\xa0", 1), kLeadByte);
    EXPECT_EQ(ByteTypeAt("\x82\xa0", 2), kTrailByte);
    // Three lead-byte values then a letter: the letter has an odd run before it.
    const std::string s =
        "\x81\x82\x83"
        "A";
    EXPECT_EQ(ByteTypeAt(s, 1), kLeadByte);
    EXPECT_EQ(ByteTypeAt(s, 2), kTrailByte);
    EXPECT_EQ(ByteTypeAt(s, 3), kLeadByte);
    EXPECT_EQ(ByteTypeAt(s, 4), kTrailByte);
    EXPECT_EQ(ByteTypeAt(s, 0), kSingleByte);
    EXPECT_EQ(ByteTypeAt(s, 5), kSingleByte);
    // Half-width katakana are single bytes, also after a double-byte character.
    EXPECT_EQ(ByteTypeAt("\x82\xa0\xb1", 3), kSingleByte);
    // A trail byte with a lead-byte value (0x9F 0x81) does not make the next a trail.
    EXPECT_EQ(ByteTypeAt("\x9f\x81"
                         "a",
                         3),
              kSingleByte);
    // 0x5C as a trail byte ("so" = 0x83 0x5C) is no backslash.
    EXPECT_EQ(ByteTypeAt("\x83\x5c", 2), kTrailByte);
}

TEST(ByteClassification, Terminators) {
    EXPECT_TRUE(HasTerminator("\r\n"));
    EXPECT_TRUE(HasTerminator("ab\0\0"s));
    EXPECT_FALSE(HasTerminator("a"));
    EXPECT_FALSE(HasTerminator("ab"));
    EXPECT_FALSE(HasTerminator(""));
    EXPECT_EQ(StripTerminator("ab\r\n"), "ab");
    EXPECT_EQ(StripTerminator("ab\0\0"s), "ab");
    EXPECT_EQ(StripTerminator("abc"), "abc");
}
