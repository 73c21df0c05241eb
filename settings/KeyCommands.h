/** @file The commands the keyboard page lists, and which slot a shortcut already holds. */
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "settings/KeyTexts.h"

namespace tw {

/// A command as the keyboard page lists it. `slot` is -1 for the one listed
/// command that has no slot ("すべてを最小化"): it shows no key and takes none.
struct KeyCommand {
    const char* name;
    const char* description;
    int slot;
};

inline constexpr std::array<const char*, kKeyCategoryCount> kKeyCategoryNames = {
    "ファイル(F)", "検索(S)", "テキストメニュｰ", "ウィンドウ(W)", "履歴(H)", "オプション(O)"};

inline constexpr const char* kKeyUsedMessage = "既に使用されているキーです。";
inline constexpr const char* kNoCommandMessage = "項目が未選択です。";
inline constexpr const char* kDeleteAllKeysQuestion = "全てのキーを削除しますか？";

/// The commands of a category in list order.
std::span<const KeyCommand> KeyCommandsOf(int category);

/// The first slot, in category and position order, whose text reads as the
/// same shortcut as `stroke`; -1 when none does.
int SlotHoldingKey(const KeyTexts& texts, const KeyStroke& stroke);

}  // namespace tw
