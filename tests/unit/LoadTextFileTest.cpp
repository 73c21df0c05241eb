// Reading files into lines as documents are opened, and the read history.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "editor/VellEdit.h"
#include "headless/HeadlessPlatform.h"
#include "settings/ReadHistory.h"
#include "support/SampleFiles.h"
#include "support/TempDir.h"
#include "textstore/DocumentReader.h"
#include "textstore/LineStore.h"
#include "textstore/LoadTextFile.h"

using namespace tw;
using namespace std::string_literals;
using namespace tw::test;

namespace {

std::string Load(const TempDir& dir, const std::string& bytes, int64_t* lines = nullptr) {
    LoadedText t = LoadTextFile(dir.Write("in.txt", bytes));
    if (lines) *lines = t.lines;
    return t.text;
}

/// A file whose lines all end alike loads with CR LF breaks throughout and a
/// final one added when it lacks it; every other byte stays.
void ExpectLoadedWithCrLfBreaks(const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files) {
        std::string expected = WithCrLfBreaks(ReadFile(file.string()));
        if (!expected.empty() && !expected.ends_with("\r\n")) expected += "\r\n";
        EXPECT_EQ(LoadTextFile(file.string()).text, expected) << file;
    }
}

}  // namespace

TEST(LoadTextFile, EveryBreakStyleEndsOneLine) {
    TempDir dir;
    int64_t lines = 0;
    EXPECT_EQ(Load(dir, "a\nb", &lines), "a\r\nb\r\n");
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(Load(dir, "a\r\nb\r\n", &lines), "a\r\nb\r\n");
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(Load(dir, "a\n\rb", &lines), "a\r\n\r\nb\r\n");  // LF CR ends two
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(Load(dir, "a\rb\r", &lines), "a\r\nb\r\n");
    EXPECT_EQ(Load(dir, "", &lines), "");
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(Load(dir, "\x83\x5c\r\n\x95\x5c"), "\x83\x5c\r\n\x95\x5c\r\n");
}

TEST(LoadTextFile, BreaksAcrossTheEightKilobyteBlocks) {
    TempDir dir;
    // A CR LF pair split by the block boundary is one break.
    std::string first(8191, 'x');
    EXPECT_EQ(Load(dir, first + "\r\nz"), first + "\r\nz\r\n");
    // An LF starting a block after a block ending in LF is an empty line.
    EXPECT_EQ(Load(dir, first + "\n\nz"), first + "\r\n\r\nz\r\n");
    // A line over 16,384 bytes, spread over three blocks, arrives whole.
    std::string longLine(20000, 'L');
    EXPECT_EQ(Load(dir, "s\n" + longLine + "\nt"), "s\r\n" + longLine + "\r\nt\r\n");
}

TEST(LoadTextFile, CtrlZEndsTheTextAndNulBytesAreDroppedAlone) {
    TempDir dir;
    EXPECT_EQ(Load(dir,
                   "a\r\nb\x1a"
                   "c\r\nd"),
              "a\r\nb\r\n");
    EXPECT_EQ(Load(dir,
                   "\x1a"
                   "abc"),
              "");
    // A NUL is dropped, and the rest of its block is still read.
    EXPECT_EQ(Load(dir, "a\0b\r\nc\0\r\nd"s), "ab\r\nc\r\nd\r\n");
    EXPECT_THROW(LoadTextFile(dir.File("missing")), FileIoError);
}

TEST(LoadTextFile, CrLfFilesAreTakenWholeOnlyWhenNothingNeedsMending) {
    TempDir dir;
    int64_t lines = 0;
    EXPECT_EQ(Load(dir, "a\r\n\r\nb", &lines), "a\r\n\r\nb\r\n");
    EXPECT_EQ(lines, 3);
    // One stray break anywhere sends the whole file through the scan.
    EXPECT_EQ(Load(dir, "a\r\nb\r\r\nc\r\n"), "a\r\nb\r\n\r\nc\r\n");
    EXPECT_EQ(Load(dir, "a\r\nb\nc\r\n", &lines), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(Load(dir, "\na\r\n"), "\r\na\r\n");
    EXPECT_EQ(Load(dir, "a\r\nb\r"), "a\r\nb\r\n");
    EXPECT_EQ(Load(dir, "a\r\n\x1a\r\n"), "a\r\n");
    EXPECT_EQ(Load(dir, "a\r\n\0b\r\n"s), "a\r\nb\r\n");
}

TEST(LoadTextFile, ABigTextBecomesRowsPieceByPiece) {
    TempDir dir;
    std::string text;
    for (int i = 0; text.size() < (size_t{12} << 20); ++i)
        text += "\x82\xa0line " + std::to_string(i) + (i % 7 ? "\tend\r\n" : "\r\n");
    text += "last";  // no break: the reader adds one
    const std::string file = dir.Write("big.txt", text);
    test::FixedMetrics metrics;
    test::MemoryClipboard clipboard;
    test::RecordingMessageBox messages;
    TVellEdit ed{EditorServices{&metrics, &clipboard, &messages, nullptr}};
    ed.SetWordWrap(true);
    ed.SetColumn(10);
    DocumentReader reader(file);
    int pieces = 0;
    ed.SetAllText(
        [&] {
            const std::string_view piece = reader.Next();
            pieces += !piece.empty();
            return piece;
        },
        text.size());
    EXPECT_GE(pieces, 3);
    // Every byte arrives, and the rows are those a re-wrap makes of them.
    EXPECT_TRUE(ed.GetAllText() == text + "\r\n");
    std::vector<std::string> rows;
    for (int32_t i = 0; i < ed.Lines().Count(); ++i)
        rows.emplace_back(ed.Lines().View(i));
    ed.SetWordWrap(false);
    ed.SetWordWrap(true);
    ASSERT_EQ(ed.Lines().Count(), static_cast<int32_t>(rows.size()));
    for (int32_t i = 0; i < ed.Lines().Count(); ++i)
        ASSERT_EQ(ed.Lines().View(i), rows[static_cast<size_t>(i)]) << "row " << i;
}

/// The text a reader hands out, its pieces joined.
std::string ReadInPieces(const std::string& file, size_t pieceSize) {
    DocumentReader reader(file, pieceSize);
    std::string text;
    for (std::string_view piece; !(piece = reader.Next()).empty();) {
        EXPECT_TRUE(piece.ends_with("\r\n")) << "a piece that does not end its last line";
        text += piece;
    }
    return text;
}

TEST(LoadTextFile, PiecesOfAnySizeJoinToTheSameText) {
    TempDir dir;
    // Breaks, NULs and Ctrl+Z falling on every kind of piece boundary, and
    // files exactly one piece long.
    std::mt19937 rng(7);
    const std::string alphabet = "ab\r\n\r\n\0\t\x83\x5c"s;
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const size_t length = rng() % 60;
        for (size_t i = 0; i < length; ++i)
            bytes += alphabet[rng() % alphabet.size()];
        if (round % 50 == 0) bytes += "\x1a" + bytes;
        const std::string file = dir.Write("in.txt", bytes);
        const std::string whole = ReadInPieces(file, size_t{1} << 20);
        for (size_t piece : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, bytes.size()})
            ASSERT_EQ(ReadInPieces(file, piece), whole) << "piece size " << piece;
    }
    EXPECT_EQ(ReadInPieces(dir.Write("in.txt", "ab\r\ncd\r\n"), 4), "ab\r\ncd\r\n");
    EXPECT_EQ(ReadInPieces(dir.Write("in.txt", "abc\r"), 4), "abc\r\n");
    EXPECT_EQ(ReadInPieces(dir.Write("in.txt", "abc\r\n"), 4), "abc\r\n");
}

TEST(LoadTextFile, SampleFilesOfEveryBreakStyleLoadWithCrLfBreaks) {
    const auto files = DataSamples();
    EXPECT_GE(files.size(), 5u);
    ExpectLoadedWithCrLfBreaks(files);
}

TEST(LoadTextFile, CorpusFilesKeepTheirBytesAndGainABreakWhenTheyLackOne) {
    const auto corpus = CorpusDir();
    if (!corpus) GTEST_SKIP() << NoCorpus();
    const auto files = TextFiles(*corpus);
    EXPECT_GE(files.size(), 7u);
    ExpectLoadedWithCrLfBreaks(files);
}

TEST(ReadHistory, NewestFirstWithoutDroppingDuplicatesFurtherDown) {
    ReadHistorySlots h{};
    int items = CreateReRead(h, 0, "/a");
    EXPECT_EQ(items, 1);
    items = CreateReRead(h, items, "/a");  // already first: unchanged
    EXPECT_EQ(items, 1);
    for (const char* name : {"/b", "/c", "/d"})
        items = CreateReRead(h, items, name);
    EXPECT_EQ(h[0], "/d");
    EXPECT_EQ(h[3], "/a");
    items = CreateReRead(h, items, "/a");  // from slot 3 to slot 0, the copy stays in slot 4
    EXPECT_EQ(h[0], "/a");
    EXPECT_EQ(h[4], "/a");
    EXPECT_EQ(items, 5);
    for (int i = 0; i < 20; ++i)
        items = CreateReRead(h, items, "/f" + std::to_string(i));
    EXPECT_EQ(items, 10);
    EXPECT_EQ(h[0], "/f19");
    EXPECT_EQ(h[9], "/f10");
    EXPECT_EQ(ReadHistoryCaptions(h, items)[9], "&9: /f10");
}

TEST(ReadHistory, LongNamesAreCutOnceAndStartUpStopsAtTheFirstEmptySlot) {
    ReadHistorySlots h{};
    std::string longName = "/" + std::string(300, 'n');
    int items = CreateReRead(h, 0, longName);
    EXPECT_EQ(h[0].size(), 255u);
    items = CreateReRead(h, items, longName);
    EXPECT_EQ(items, 1) << "the same long name must not push itself down";
    h[1] = "/x";
    h[3] = "/y";  // after a gap: not shown at start
    EXPECT_EQ(ReadHistoryItemsAtStart(h), 2);
}
