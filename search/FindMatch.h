/** @file The document window's match test of a search, and the flags it reads. */
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

class TVellStrings;

/// The flags the find and replace dialogs write just before each search and
/// the document windows read while it runs.
struct FindOptions {
    bool CaseSensitive = false;
    bool AllFiles = false;
    bool SearchUp = false;
    bool SearchDown = false;
    bool SearchFromTop = false;
    bool FindActive = false;
};

/// The code of the other-case form of a character (single byte 0..0xFF, or
/// lead x 256 + trail), or `code` itself. Windows compares without case the
/// letters Unicode gives a case: in cp932 those are the ASCII letters and the
/// full-width Latin (8260..8279 / 8281..829A), Greek (839F..83B6 / 83BF..83D6)
/// and Cyrillic (8440..8460 / 8470..8491, no 847F) rows. Width and kana are
/// never folded; neither are the Roman numerals, whose two cases lie in
/// different vendor rows.
int OtherCaseCode(int code) noexcept;

/// A search text prepared once for the many rows of a walk. Matching runs
/// over whole characters: a match starts where a character starts, so a trail
/// byte that looks like "A", "@" or "\" never matches or folds as one.
class SearchPattern {
  public:
    static constexpr size_t npos = std::string_view::npos;

    SearchPattern() = default;
    SearchPattern(std::string_view text, bool caseSensitive);

    /// The first match in `s` at or after byte `from`; `s` must start on a
    /// character. npos when there is none; an empty text never matches, nor
    /// does one that ends in half a character.
    size_t FindIn(std::string_view s, size_t from) const;

    /// The first of rows from..last where a match may start, last + 1 when
    /// none may: the rows are scanned where they lie, and a match that fits
    /// in one row is checked byte by byte there. Never later than the row of
    /// the first real match; the row named may still hold none (a trail byte
    /// that mimics the text, or a match across rows left to the full test).
    int32_t FirstPossibleRow(const TVellStrings& rows, int32_t from, int32_t last) const;

    const std::string& Text() const noexcept { return text_; }
    bool CaseSensitive() const noexcept { return caseSensitive_; }

  private:
    using Alternatives = std::array<unsigned char, 2>;
    /// How much of the packed rows one scan reads: enough to pass over a
    /// block's set-up, little enough to stay in the cache for the row checks.
    static constexpr size_t kBlockBytes = 64 * 1024;
    void AddCharacter(size_t at);
    bool Accepts(size_t at, unsigned char b) const noexcept;
    bool MatchesAt(std::string_view s, size_t q) const noexcept;
    static int32_t RowOfStart(const TVellStrings& rows, int32_t from, int32_t y, size_t back);

    std::string text_;
    bool caseSensitive_ = true;
    bool endsInHalf_ = false;
    /// The bytes a text may hold at each position of a match.
    std::vector<Alternatives> accept_;
    /// The position whose bytes the search looks for first.
    size_t anchor_ = 0;
};

/// The OnFind handler of one document window and the last-hit state that the
/// find and replace dialogs read and reset.
class TFindMatcher {
  public:
    explicit TFindMatcher(const FindOptions& options) noexcept : options_(options) {}

    /// Answers one question of the control's search walk: x := the 1-based
    /// position of the first match in Str, 0 for none. With SearchFromTop a
    /// row before the last hit's row is skipped and x left as it came; on
    /// the last hit's row the search starts after that hit.
    void Match(std::string_view Str, std::string_view findchr, int32_t index, int32_t& x,
               int32_t& len);
    /// Answers the walk's OnFindCandidate: the first row of from..last that
    /// Match might accept (SearchPattern::FirstPossibleRow).
    int32_t CandidateRow(const TVellStrings& rows, std::string_view findchr, int32_t from,
                         int32_t last);

    /// The next search starts afresh.
    void ResetLastHit() noexcept { LastHitLine = LastHitColumn = 0; }
    /// A walk found nothing. From the top, the rows before the last one
    /// asked about would be skipped by every later search, so the next
    /// search starts afresh.
    void Missed() noexcept {
        NoHit = true;
        ResetLastHit();
    }
    const FindOptions& Options() const noexcept { return options_; }

    int32_t LastHitLine = 0;
    int32_t LastHitColumn = 0;
    bool NoHit = false;

  private:
    int32_t StartPosition(int32_t index) const noexcept;
    const SearchPattern& PatternFor(std::string_view findchr);

    const FindOptions& options_;
    SearchPattern pattern_;
};

}  // namespace tw
