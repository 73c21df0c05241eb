/** @file The document tab strip's state and layout, free of drawing. */
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// Rows of tabs overlap: a tab is 18 pixels high, a row 17.
inline constexpr int kTabHeight = 18;
inline constexpr int kTabRowHeight = 17;

/// The text drawn on a tab for the file name `name` (bytes) at `tabWidth`:
/// at most (tabWidth + 20) div 10 bytes, and ".." when cut.
std::string TabCaptionFor(std::string_view name, int tabWidth);

/// The part of a path after its last "/".
std::string FileNamePart(std::string_view path);

/// What a tab dropped on a tab asks of the frame. Numbers are document numbers.
enum class TabDropAction { None, Swap, Copy, Move };

struct TabDrop {
    TabDropAction action = TabDropAction::None;
    int target = 0;  ///< the document the tab was dropped on
    int source = 0;  ///< the dragged tab's document
};

/// The status hint while a tab is dragged with these keys held.
std::string TabDragHint(bool shift, bool ctrl);

struct TabPlace {
    int x = 0;
    int y = 0;
    bool operator==(const TabPlace&) const = default;
};

/// Tab i belongs to document i + 1; every operation keeps that. Captions and
/// hints are held for the tabs 0 .. TabButtonCount() - 1 only.
class TabStripModel {
  public:
    /// The caller brings the width into range; anything below 1 is taken as
    /// 1. The captions are cut again for the new width.
    void SetTabWidth(int width);
    int TabWidth() const noexcept { return tabWidth_; }
    void SetMultiTabBox(bool on) noexcept { multiTabBox_ = on; }
    bool MultiTabBox() const noexcept { return multiTabBox_; }
    void SetStripWidth(int width) noexcept { stripWidth_ = width < 0 ? 0 : width; }
    int StripWidth() const noexcept { return stripWidth_; }

    int TabButtonCount() const noexcept { return static_cast<int>(captions_.size()); }
    const std::vector<std::string>& TabCaptions() const noexcept { return captions_; }
    const std::vector<std::string>& TabHints() const noexcept { return hints_; }
    /// The tab last drawn active.
    int LastTab() const noexcept { return lastTab_; }
    void SetLastTab(int tab) noexcept { lastTab_ = tab; }
    /// A click on a tab is bringing its window up: the activation that
    /// follows leaves the strip where it is.
    bool TabClicked() const noexcept { return tabClicked_; }
    void SetTabClicked(bool on) noexcept { tabClicked_ = on; }
    bool IsTab(int tab) const noexcept { return tab >= 0 && tab < TabButtonCount(); }

    /// The arrow control's position and range: single-row scrolling in tabs.
    int TrackPosition() const noexcept { return trackPosition_; }
    int TrackMaximum() const noexcept { return trackMaximum_; }
    TabPlace Place(int tab) const;
    /// One row of 17 pixels per row of tabs, at least one.
    int StripHeight() const noexcept;

    /// Appends the tab for a new last document and returns its index. Only
    /// the end is a place where a tab of a new document can go, so any other
    /// `index` is taken as the end.
    int AddTab(int index, std::string_view fileName);
    /// Drops tab `start`; the tabs after it move one place down.
    void RemoveTab(int start);
    /// Gives tab `tab` a new file name (after "save as").
    void RenameTab(int tab, std::string_view fileName);
    void ArrangeTabs();
    /// Whole tabs the one-row strip shows at once.
    int TabsPerRow() const noexcept;
    /// The tab at the strip's left edge in the one-row layout.
    int FirstVisibleTab() const noexcept;
    /// Scrolls one row so that document `number`'s tab shows with a tab of
    /// margin; several rows show every tab already.
    void ScrollTabIntoView(int number);
    void ShiftTabs(bool left) noexcept { offset_ += left ? 1 : -1; }
    /// One step of the arrow control; false at its end, where nothing moves.
    bool TrackTabClick(bool next);

    /// Tab `source` dropped on tab `target`: updates captions, hints,
    /// TabClicked and LastTab, and says what the frame must do.
    TabDrop Drop(int target, int source, bool shift, bool ctrl);

  private:
    int Columns() const noexcept;
    void SetTrackMaximum() noexcept;
    void MoveEntry(int from, int to);

    int tabWidth_ = 75;
    bool multiTabBox_ = false;
    int stripWidth_ = 0;
    std::vector<std::string> captions_;
    std::vector<std::string> hints_;
    int lastTab_ = 0;
    bool tabClicked_ = false;
    int trackPosition_ = 0;
    int trackMaximum_ = 0;
    /// How many tab widths the single row is moved to the left.
    int offset_ = 0;
};

}  // namespace tw
