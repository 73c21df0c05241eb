#include "settings/KeyCommands.h"

namespace tw {

namespace {

constexpr KeyCommand kFile[] = {
    {"新規作成", "新しいテキストを作成します。", 0},
    {"開く", "ファイルを開きます。", 1},
    {"上書き保存", "現在のファイルに上書きして保存します。", 2},
    {"名前をつけて保存", "新しく名前をつけて保存します。", 3},
    {"印刷", "テキストを印刷します。", 4},
    {"終了", "アプリケーションを終了します。", 5},
};
constexpr KeyCommand kSearch[] = {
    {"検索", "テキストを検索します。", 15},
    {"上候補検索", "テキストを上方に検索します。", 16},
    {"下候補検索", "テキストを下方に検索します。", 17},
    {"置換", "テキストを置換します。", 18},
    {"上候補置換", "テキストを上方に置換します。", 19},
    {"下候補置換", "テキストを下方に置換します。", 20},
    {"指定行へ移動", "指定した行に移動します。", 21},
};
constexpr KeyCommand kText[] = {
    {"追加コピー", "クリップボードの文字に追加してコピーします。", 30},
    {"追加切り取り", "クリップボードの文字に追加して切り取ります。", 31},
    {"ファイルの挿入", "カーソル位置にテキストファイルを挿入します。", 32},
    {"クリップボード履歴", "クリップボードの履歴を表示します。", 33},
    {"行番号を表示", "行ごとの番号を表示します。", 34},
    {"現在の行をマークする", "選択中の行をマークします。", 35},
    {"行マークの解除", "全ての行のマークを解除します。", 36},
    {"選択文字を検索", "選択中の文字を検索対象に検索します。", 37},
    {"選択文字を置換", "選択中の文字を置換対象に置換します。", 38},
};
constexpr KeyCommand kWindow[] = {
    {"重ねて表示", "子ウィンドウを重ねます。", 45},
    {"水平に並べて表示", "子ウィンドウを水平に並べてます。", 46},
    {"垂直に並べて表示", "子ウィンドウを垂直に並べます。", 47},
    {"すべてを最小化", "全ての子ウィンドウを最小化します。", -1},
    {"前のウィンドウへ移動", "選択中の子ウィンドウの前にある子ウィンドウを表示します。", 48},
    {"次のウィンドウへ移動", "選択中の子ウィンドウの後にある子ウィンドウを表示します。", 49},
    {"閉じる", "選択中の子ウィンドウを閉じます。", 50},
    {"全て閉じる", "全ての子ウィンドウを閉じます。", 51},
    {"アクティブウィンドウ以外を全て閉じる", "アクティブな子ウィンドウ以外を全て閉じます。", 52},
};
constexpr KeyCommand kHistory[] = {
    {"オートバックアップ履歴", "オートバックアップの履歴を表示します。", 60},
    {"クリップボード履歴", "クリップボードの履歴を表示します。", 61},
};
constexpr KeyCommand kOption[] = {
    {"ReadMe", "ReadMeファイルを開きます。", 75},
    {"History", "Historyファイルを開きます。", 76},
    {"Manual", "Manualファイルを開きます。", 77},
    {"バージョン情報", "バージョン情報を表示します。", 78},
    {"詳細設定", "オプションを表示します。", 79},
};

}  // namespace

std::span<const KeyCommand> KeyCommandsOf(int category) {
    static constexpr std::span<const KeyCommand> kCategories[kKeyCategoryCount] = {
        kFile, kSearch, kText, kWindow, kHistory, kOption};
    if (category < 0 || category >= kKeyCategoryCount) return {};
    return kCategories[category];
}

int SlotHoldingKey(const KeyTexts& texts, const KeyStroke& stroke) {
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        const auto held = ParseKeyText(texts[slot]);
        if (held && *held == stroke) return slot;
    }
    return -1;
}

}  // namespace tw
