/** @file "Option.dat" and "Clip.dat" in the program folder: read at start, written at exit. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ClipHistory.h"
#include "settings/OptionData.h"

namespace tw {

inline constexpr const char* kOptionFileName = "Option.dat";
inline constexpr const char* kClipFileName = "Clip.dat";
inline constexpr const char* kClipReadErrorMessage =
    "クリップボード履歴の読み込み時にエラーが発生しました。";
/// A sound "Clip.dat" is a few kilobytes (30 entries of at most 500 bytes);
/// nothing past this many bytes of a foreign file is read.
inline constexpr size_t kClipFileReadLimit = 1 << 20;

inline constexpr const char* kOptionReadErrorMessage =
    "Option.dat を正しく読み込めませんでした。読めなかった設定は既定の値で始めます。"
    "設定や履歴を変えるまで、このファイルには書き込みません。";

/// "Option.dat" as a start finds it.
struct OptionFile {
    OptionData Data;
    /// The file is there but could not be read (no permission, no regular
    /// file, a read error) or holds no record this program wrote (empty, cut
    /// short, grown, random bytes): Data is what could be made of it, and
    /// the file must stay as it is until the user changes what it holds.
    bool ReadFailed = false;
};

/// Reads `folder`/Option.dat; a missing file is no failure and gives the
/// defaults. A shorter file gives the defaults but for WindowState and both
/// histories, which keep the bytes that were read; of a longer one the
/// record is read and the rest ignored; bytes that cannot be a record
/// (IsPlausibleOptionImage) give the defaults.
OptionFile LoadOptionFile(const std::string& folder);
/// The record alone.
OptionData LoadOptionData(const std::string& folder);

/// Replaces `folder`/Option.dat with the record's image; a failure throws
/// FileIoError and leaves the old file intact.
void SaveOptionData(const std::string& folder, const OptionData& data);

/// The entries of a "Clip.dat" text, at most kClipHistoryMax of them. Lines
/// end at CR LF; a line of the single byte 0x03 closes an entry; lines after
/// the last such line are dropped.
std::vector<std::string> ParseClipHistory(std::string_view bytes);

/// The text of "Clip.dat" for the first min(clipCount, 30) entries. An entry
/// holding a line of the single byte 0x03 would read back as two entries and
/// shift every later one, so it is left out.
std::string FormatClipHistory(const std::vector<std::string>& clipItems, int32_t clipCount);

/// Reads `folder`/Clip.dat; a missing file gives an empty history.
ClipHistory LoadClipHistory(const std::string& folder);

/// Replaces `folder`/Clip.dat; a failure throws FileIoError and leaves the old file intact.
void SaveClipHistory(const std::string& folder, const std::vector<std::string>& clipItems,
                     int32_t clipCount);

}  // namespace tw
