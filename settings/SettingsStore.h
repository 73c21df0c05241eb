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
    "Option.dat を読み込めませんでした。既定の設定で始めます。"
    "設定や履歴を変えるまで、このファイルには書き込みません。";

/// The record as a start finds it, from the bytes that could be read. A
/// complete image is taken whole, whatever its bytes; anything shorter gives
/// the defaults, except that WindowState and both histories keep the bytes
/// that were read.
OptionData OptionDataFromFileBytes(std::string_view bytes);

/// "Option.dat" as a start finds it.
struct OptionFile {
    OptionData Data;
    /// The file is there but could not be read (no permission, no regular
    /// file, a read error): Data is what could be made of it, and the file
    /// must stay as it is until the user changes what it holds.
    bool ReadFailed = false;
};

/// Reads `folder`/Option.dat by the rule above; a missing file is no failure.
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
