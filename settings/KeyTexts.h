/** @file The keyboard assignment: shortcut texts of the menu commands and "KeyBrd.ini". */
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

inline constexpr int kKeyCategoryCount = 6;
inline constexpr int kKeysPerCategory = 15;
inline constexpr int kKeySlotCount = kKeyCategoryCount * kKeysPerCategory;
inline constexpr int kFileKeyCount = 37;

inline constexpr const char* kKeyFileName = "KeyBrd.ini";
inline constexpr const char* kKeySection = "KeyBrd";
inline constexpr const char* kKeyReadErrorMessage =
    "キーボードコマンド読み込み時にエラーが発生しました。";

/// One shortcut text per slot (category × 15 + position); empty means no
/// shortcut. Only the slots of the file keys are ever filled.
using KeyTexts = std::array<std::string, kKeySlotCount>;

/// A file key "key1".."key37": the slot it fills and its text when the file
/// does not name it.
struct FileKey {
    int slot;
    const char* defaultText;
};

/// The file keys in order: entry i is "key" + (i + 1).
const std::array<FileKey, kFileKeyCount>& FileKeys();

/// "key1" for index 0.
std::string FileKeyName(int index);

/// Every file key's default in its slot; the other slots empty.
KeyTexts DefaultKeyTexts();

enum KeyModifier : uint8_t { kModShift = 1, kModCtrl = 2, kModAlt = 4 };

/// A shortcut as its text names it: modifiers plus one key.
struct KeyStroke {
    uint8_t modifiers = 0;  ///< KeyModifier bits
    /// "A".."Z", "0".."9", "F1".."F24", one of kNamedKeys, or, for any other
    /// key, the toolkit's own name of it as the text gave it.
    std::string key;

    bool operator==(const KeyStroke&) const = default;
};

/// Keys that have a name of the program's own, in their written form.
inline constexpr std::array<std::string_view, 15> kNamedKeys = {
    "BkSp", "Tab",  "Enter", "Esc",   "Space", "PgUp", "PgDn", "End",
    "Home", "Left", "Up",    "Right", "Down",  "Ins",  "Del"};

/// The written form of a letter, digit, F-key or named key given in any
/// letter case; nullopt for any other name.
std::optional<std::string> StandardKeyName(std::string_view name);

/// Reads a shortcut text. Prefixes "Shift+", "Ctrl+", "Alt+" in any order and
/// letter case, "^" for "Ctrl+"; the key name in any letter case. nullopt when
/// the text names no key (empty, blank, or prefixes only).
std::optional<KeyStroke> ParseKeyText(std::string_view text);

/// The text the program writes: "Shift+", "Ctrl+", "Alt+" in that order, then the key.
std::string KeyText(const KeyStroke& stroke);

/// The 37 file keys of an INI text: the first value of each key in section
/// "KeyBrd" (section and key names in any letter case, blanks around the
/// value dropped); a key that is absent takes its default, an empty value
/// stays empty.
KeyTexts KeyTextsFromIni(std::string_view ini);

/// `previous` (an INI text, possibly empty) with the file keys of section
/// "KeyBrd" replaced by the table's; every other line stays as it was. Lines
/// end in CR LF.
std::string KeyTextsToIni(const KeyTexts& texts, std::string_view previous);

/// Reads `folder`/KeyBrd.ini. A missing file gives the defaults; a file that
/// exists but cannot be read, or is past 1 MiB, gives them too and sets
/// *readFailed; a damaged text (binary bytes, a stray line or a value naming
/// no key in the key section) gives what could be read and sets *readFailed.
KeyTexts LoadKeyTexts(const std::string& folder, bool* readFailed = nullptr);

/// Writes the table into `folder`/KeyBrd.ini, keeping the file's other
/// sections; a failure throws FileIoError and leaves the old file intact.
void SaveKeyTexts(const std::string& folder, const KeyTexts& texts);

}  // namespace tw
