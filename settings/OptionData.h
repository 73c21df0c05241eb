/** @file OptionData, the program's one settings record, and its "Option.dat" image. */
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

/// The size of "Option.dat": the record's memory image, padding included.
inline constexpr size_t kOptionDataSize = 5784;
/// A short string holds a length byte and at most this many bytes of text.
inline constexpr size_t kShortStringMax = 255;
inline constexpr size_t kHistorySlots = 10;

/// FontStyle bits.
inline constexpr uint8_t kFontBold = 0x01;
inline constexpr uint8_t kFontItalic = 0x02;
inline constexpr uint8_t kFontUnderline = 0x04;
inline constexpr uint8_t kFontStrikeOut = 0x08;

using ShortStringHistory = std::array<std::string, kHistorySlots>;

/// Every setting of the program plus the read and find histories. A new
/// record holds the defaults; WindowState and the histories start empty
/// because the defaults never reset them. Values are kept as stored: whoever
/// applies a field clamps it, so a record read from a damaged file still
/// round-trips unchanged.
struct OptionData {
    bool WordWrap = true;
    int32_t Column = 70;
    bool EofDraw = true;        ///< show the end-of-text mark
    bool CRDraw = true;         ///< show the line-end marks
    bool ZspcDraw = true;       ///< show a mark on each full-width space
    bool UlineF = false;        ///< underline the caret row
    bool InyoEnabled = true;    ///< paint quoted rows in InyoColor
    std::string Inyostr = ">";  ///< the characters that start a quoted row
    int32_t Gyokan = 0;         ///< extra space between rows, in percent
    int32_t TabCount = 6;       ///< tab stops every this many columns
    int32_t ScrollStep = 2;     ///< the step of fast scrolling
    int32_t FontSize = 14;
    std::string FontName = "FixedSys";
    uint8_t FontStyle = 0;  ///< kFontBold, kFontItalic ... bits
    uint8_t Reserved = 0;   ///< written, never read
    uint32_t FontColor = 0x000000;
    uint32_t EditorColor = 0xFFFFFF;
    uint32_t SelColor = 0x808080;    ///< the selection's background
    uint32_t FindColor = 0xFF0000;   ///< the background of a search hit
    uint32_t URLColor = 0xFF0000;    ///< links (URLs and mail addresses)
    uint32_t CREOFcolor = 0x808000;  ///< the line-end, end-of-text and full-width-space marks
    uint32_t InyoColor = 0x808080;   ///< quoted lines (those opening with a quotation mark)
    uint32_t UlineColor = 0x000000;  ///< the caret row's underline
    /// New document windows: 0 as made, 1 maximised, 2 minimised.
    int32_t ReadWindowState = 0;
    bool LimitWindowCount = false;  ///< refuse to open more than MaxWindowCount documents
    int32_t MaxWindowCount = 10;
    bool LimitFileSize = false;  ///< refuse files larger than MaxFileSize
    int32_t MaxFileSize = 1000;  ///< in bytes; a file of this size is refused
    bool CreateBlank = true;     ///< a start without files opens an empty text
    bool ShowLineNumber = true;  ///< new windows number their lines
    bool UseTab = true;          ///< a click on a tab brings its window to the front
    bool ShowTabBox = true;      ///< the tab strip shows
    bool MultiTabBox = false;    ///< tabs wrap into several rows
    bool ShowToolBar = true;     ///< the frame shows its tool bar
    bool SaveWindow = true;      ///< the frame's place is stored at exit
    /// The frame at exit: 0 normal, 1 minimised, 2 maximised; any other
    /// than 0 starts it maximised.
    int32_t WindowState = 0;
    int32_t WindowTop = 133;
    int32_t WindowLeft = 204;
    int32_t WindowHeight = 528;
    int32_t WindowWidth = 744;
    bool SingleInstance = true;         ///< later starts hand their files to this one
    bool AutoSave = true;               ///< timed backups of open documents
    int32_t AutoSaveInterval = 180000;  ///< between backups, in milliseconds
    bool SameFile = false;              ///< back up even a text unchanged since its last backup
    int32_t BackupDays = 7;             ///< dated backup folders kept; 0 keeps all
    int32_t TabWidth = 75;              ///< one document tab, in pixels
    /// The tabs' face, text, light edge and shadow edge.
    uint32_t TabFaceColor = 0x8000000F;
    uint32_t TabTextColor = 0x80000012;  ///< (system colours have the top bit set)
    uint32_t TabLightColor = 0x80000014;
    uint32_t TabShadowColor = 0x80000010;
    ShortStringHistory ReadHistory{};  ///< recently opened files, newest first
    ShortStringHistory FindHistory{};  ///< recent search texts, newest first

    /// The "Option.dat" image: exactly kOptionDataSize bytes, padding and
    /// filler zero. Strings longer than a short string are cut to 255 bytes,
    /// one less where the cut would split a double-byte character.
    std::string ToBytes() const;
    /// Reads an image; a shorter one reads as if it went on with zero bytes,
    /// bytes past kOptionDataSize are ignored. A Boolean is true when its
    /// byte is not 0 (a hand edit or another tool may have put 2 or 0xFF there).
    static OptionData FromBytes(std::string_view bytes);

    bool operator==(const OptionData&) const = default;
};

/// False for bytes that cannot be a record's image: most of its Boolean
/// bytes are neither 0 nor 1, as in random bytes. A Boolean or two set to
/// another value by hand does not make an image implausible.
bool IsPlausibleOptionImage(std::string_view bytes);

/// `s` cut to fit a short string without splitting a double-byte character.
std::string FitShortString(std::string_view s);

}  // namespace tw
