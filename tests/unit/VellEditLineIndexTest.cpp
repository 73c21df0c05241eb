// The logical-line index against plain counting, under random row changes,
// with marks every few rows so that keeping them right is what is tested.
#include <gtest/gtest.h>

#include <random>

#include "editor/LineIndex.h"
#include "textstore/ShiftJis.h"

using namespace tw;

namespace {

class IndexedRows {
  public:
    explicit IndexedRows(int32_t spacing) : index_(spacing) {}

    void Fill(int32_t n, std::mt19937& rng) {
        rows_.Clear();
        for (int32_t i = 0; i < n; ++i)
            rows_.Add(RandomRow(rng));
        rows_.Add(Entry(kEndMarker));
        index_.Reset(NaiveLineOf(rows_.Count()));
    }

    void Put(int32_t i, Entry e) {
        const bool was = HasTerminator(rows_.View(i));
        const bool is = HasTerminator(e.view());
        rows_.Put(i, std::move(e));
        index_.Replaced(i, was, is);
    }
    void Insert(int32_t i, int32_t n, std::mt19937& rng) {
        for (int32_t k = 0; k < n; ++k)
            rows_.Insert(i + k, RandomRow(rng));
        index_.Inserted(rows_, i, n);
    }
    void Remove(int32_t i, int32_t n) {
        index_.Removing(rows_, i, n);
        for (int32_t k = 0; k < n; ++k)
            rows_.Delete(i);
    }

    int32_t NaiveLineOf(int32_t row) const {
        int32_t n = 0;
        for (int32_t i = 0; i < row; ++i)
            n += HasTerminator(rows_.View(i));
        return n;
    }
    int32_t NaiveFirstRowOf(int32_t line) const {
        int32_t row = 0;
        for (int32_t seen = 0; seen < line; ++row)
            seen += HasTerminator(rows_.View(row));
        return row;
    }

    static Entry RandomRow(std::mt19937& rng) { return rng() % 3 ? "piece" : "line\r\n"; }

    TVellStrings rows_;
    LineIndex index_;
};

}  // namespace

TEST(VellEditLineIndex, AnswersLikeCountingFromTheTop) {
    for (int32_t spacing : {3, 8, 4096}) {
        std::mt19937 rng(static_cast<uint32_t>(spacing));
        IndexedRows r(spacing);
        r.Fill(200, rng);
        for (int step = 0; step < 20000; ++step) {
            const int32_t count = r.rows_.Count();
            const int32_t i = static_cast<int32_t>(rng() % static_cast<uint32_t>(count - 1));
            switch (rng() % 6) {
                case 0:
                    r.Put(i, IndexedRows::RandomRow(rng));
                    break;
                case 1:
                    r.Insert(i, 1 + static_cast<int32_t>(rng() % 30), rng);
                    break;
                case 2:
                    r.Remove(
                        i, std::min<int32_t>(1 + static_cast<int32_t>(rng() % 30), count - 1 - i));
                    break;
                case 3: {
                    const int32_t row =
                        static_cast<int32_t>(rng() % static_cast<uint32_t>(count + 1));
                    ASSERT_EQ(r.index_.LineOf(r.rows_, row), r.NaiveLineOf(row))
                        << "spacing " << spacing << " step " << step << " row " << row;
                    break;
                }
                default: {
                    const int32_t line =
                        static_cast<int32_t>(rng() % static_cast<uint32_t>(r.index_.LineEnds()));
                    ASSERT_EQ(r.index_.FirstRowOf(r.rows_, line), r.NaiveFirstRowOf(line))
                        << "spacing " << spacing << " step " << step << " line " << line;
                }
            }
            ASSERT_EQ(r.index_.LineEnds(), r.NaiveLineOf(r.rows_.Count()));
            if (r.rows_.Count() > 400) r.Remove(0, 100);
            if (r.rows_.Count() < 20) r.Insert(0, 50, rng);
        }
    }
}
