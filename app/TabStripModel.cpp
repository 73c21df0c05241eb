#include "app/TabStripModel.h"

#include <algorithm>
#include <utility>

namespace tw {

namespace {

bool IsUtf8Continuation(unsigned char b) noexcept {
    return (b & 0xC0) == 0x80;
}

/// Bytes in the UTF-8 sequence that `lead` starts; 1 for a byte that starts none.
size_t Utf8Length(unsigned char lead) noexcept {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

/// Where to cut `s` at no more than `cut` bytes without splitting a UTF-8
/// character. Linux file names are bytes, mostly UTF-8: half a character
/// would show as a replacement mark, so the cut backs off to the start of
/// the character it would split. Bytes that form no UTF-8 sequence (a name
/// in some older encoding) are cut where the rule says.
size_t Utf8SafeCut(std::string_view s, size_t cut) noexcept {
    size_t start = cut;
    while (start > 0 && cut - start < 3 && IsUtf8Continuation(s[start]))
        --start;
    if (start == cut) return cut;
    const size_t length = Utf8Length(static_cast<unsigned char>(s[start]));
    return length > 1 && start + length > cut ? start : cut;
}

}  // namespace

std::string TabCaptionFor(std::string_view name, int tabWidth) {
    const int m = (tabWidth + 20) / 10;
    if (m < 0 || name.size() <= static_cast<size_t>(m)) return std::string(name);
    return std::string(name.substr(0, Utf8SafeCut(name, static_cast<size_t>(m)))) + "..";
}

std::string FileNamePart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string TabDragHint(bool shift, bool ctrl) {
    if (shift) return "DragタブとDropタブを入れ替えます。";
    if (ctrl) return "Dragタブをコピーします。";
    return "Dropタブ前へDragタブを移動します。";
}

void TabStripModel::SetTabWidth(int width) {
    tabWidth_ = std::max(width, 1);
    for (size_t i = 0; i < hints_.size(); ++i)
        captions_[i] = TabCaptionFor(hints_[i], tabWidth_);
}

int TabStripModel::TabsPerRow() const noexcept {
    return stripWidth_ / tabWidth_;
}

/// Tabs in a row of the several-row layout. A strip narrower than one tab
/// still holds one per row.
int TabStripModel::Columns() const noexcept {
    return std::max(TabsPerRow(), 1);
}

TabPlace TabStripModel::Place(int tab) const {
    int column = tab;
    int row = 0;
    if (multiTabBox_) {
        column = tab % Columns();
        row = tab / Columns();
    }
    return {(column - offset_) * tabWidth_, row * kTabRowHeight};
}

int TabStripModel::StripHeight() const noexcept {
    const int rows = multiTabBox_ && TabButtonCount() > 0 ? (TabButtonCount() - 1) / Columns() : 0;
    return rows * kTabRowHeight + kTabRowHeight;
}

int TabStripModel::FirstVisibleTab() const noexcept {
    for (int i = 0; i < TabButtonCount(); ++i)
        if (Place(i).x == 0) return i;
    return 0;
}

void TabStripModel::SetTrackMaximum() noexcept {
    trackMaximum_ = std::max(0, TabButtonCount() - TabsPerRow() + 1);
    trackPosition_ = std::min(trackPosition_, trackMaximum_);
}

void TabStripModel::ArrangeTabs() {
    trackPosition_ = 0;
    offset_ = 0;
    SetTrackMaximum();
}

int TabStripModel::AddTab(int /*index*/, std::string_view fileName) {
    const int index = TabButtonCount();
    hints_.emplace_back(fileName);
    captions_.push_back(TabCaptionFor(fileName, tabWidth_));
    lastTab_ = index;
    ArrangeTabs();
    // The new tab's index goes where a document number belongs, which leaves
    // the new tab at the edge until its window's activation scrolls again.
    if (!multiTabBox_) ScrollTabIntoView(index);
    return index;
}

void TabStripModel::RemoveTab(int start) {
    if (!IsTab(start)) return;
    captions_.erase(captions_.begin() + start);
    hints_.erase(hints_.begin() + start);
    lastTab_ = start;
    ArrangeTabs();
}

void TabStripModel::RenameTab(int tab, std::string_view fileName) {
    if (!IsTab(tab)) return;
    hints_[tab] = std::string(fileName);
    captions_[tab] = TabCaptionFor(fileName, tabWidth_);
}

void TabStripModel::ScrollTabIntoView(int number) {
    if (multiTabBox_ || number < 0 || number > TabButtonCount()) return;
    const int k = TabsPerRow();
    const int p = FirstVisibleTab();
    SetTrackMaximum();
    if (p + 1 < number && number < p + k) return;
    int q = number - 1 <= p ? trackPosition_ + number - p - 2 : number - k + 1;
    q = std::max(q, 0);
    trackPosition_ = std::min(q, trackMaximum_);
    offset_ = q;
}

bool TabStripModel::TrackTabClick(bool next) {
    if (next ? trackPosition_ >= trackMaximum_ : trackPosition_ <= 0) return false;
    trackPosition_ += next ? 1 : -1;
    ShiftTabs(next);
    return true;
}

void TabStripModel::MoveEntry(int from, int to) {
    auto move = [from, to](std::vector<std::string>& v) {
        std::string entry = std::move(v[from]);
        v.erase(v.begin() + from);
        v.insert(v.begin() + to, std::move(entry));
    };
    move(captions_);
    move(hints_);
}

TabDrop TabStripModel::Drop(int target, int source, bool shift, bool ctrl) {
    tabClicked_ = true;
    if (target == source || !IsTab(target) || !IsTab(source)) return {};
    TabDrop drop{TabDropAction::Copy, target + 1, source + 1};
    if (ctrl && !shift) return drop;
    if (shift) {
        std::swap(captions_[target], captions_[source]);
        std::swap(hints_[target], hints_[source]);
        drop.action = TabDropAction::Swap;
    } else {
        MoveEntry(source, target);
        drop.action = TabDropAction::Move;
    }
    lastTab_ = target;
    return drop;
}

}  // namespace tw
