/** @file The document tab strip above the document windows. */
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "app/TabStripHost.h"
#include "app/TabStripModel.h"

class QAction;
class QMenu;
class QMimeData;
class QToolButton;

namespace tw {

class TTabButton;

/// The colours a tab is painted in: 0x00BBGGRR or a system colour 0x800000nn.
struct TabColors {
    uint32_t Face = 0x8000000F;
    uint32_t Text = 0x80000012;
    uint32_t Light = 0x80000014;
    uint32_t Shadow = 0x80000010;
};

/// The panel TabChild: one owner-drawn picture per document, the arrow pair
/// TrackTab at the right end in one-row mode, and the context menu TabMenus.
/// A tab's picture changes only when the frame or a drop redraws it.
class TTabStrip : public QWidget {
    Q_OBJECT
  public:
    explicit TTabStrip(ITabStripHost& host, QWidget* parent = nullptr);
    ~TTabStrip() override;
    TTabStrip(const TTabStrip&) = delete;
    TTabStrip& operator=(const TTabStrip&) = delete;

    void SetTabWidth(int width);
    void SetMultiRow(bool on);
    void SetColors(const TabColors& colors);
    /// The menu shows its own captions; the frame's actions do the work and
    /// their enabled state shows through. A null action leaves its entry dead.
    /// "選択ウィンドウをコピーする" is the strip's own.
    void SetMenuActions(QAction* close, QAction* closeAll, QAction* closeOthers, QAction* prev,
                        QAction* next);

    /// Adds the tab of a new last document, drawn active; returns its index.
    int AddTab(int index, const std::string& fileName);
    void RemoveTab(int start);
    /// After "save as": caption and hint from the new name, drawn active.
    void RenameTab(int tab, const std::string& fileName);
    void ArrangeTabs();
    void ScrollTabIntoView(int number);
    /// Scrolls the one-row strip by one tab (the track tab's arrows).
    void ShiftTabs(bool left);
    void DrawActiveTab(int tab);
    void DrawInactiveTab(int tab);
    /// Every tab inactive, then `activeTab` active: after new colours or width.
    void RedrawTabs(int activeTab);

    int LastTab() const noexcept { return model_.LastTab(); }
    void SetLastTab(int tab) noexcept { model_.SetLastTab(tab); }
    bool TabClicked() const noexcept { return model_.TabClicked(); }
    void SetTabClicked(bool on) noexcept { model_.SetTabClicked(on); }
    int TabButtonCount() const noexcept { return model_.TabButtonCount(); }
    const TabStripModel& Model() const noexcept { return model_; }

    QWidget* TabButton(int tab) const;
    QImage TabPicture(int tab) const;
    QWidget* TrackTab() const noexcept { return trackTab_; }
    QMenu* TabMenus() const noexcept { return tabMenus_; }
    /// The tab the menu was last opened on.
    int MenuTab() const noexcept { return menuTab_; }
    /// "選択ウィンドウをコピーする": a new text with the whole text of the
    /// document whose tab the menu was opened on.
    void CopyMenuTabDocument();

    /// The drag data of tab `tab` of this process.
    static QMimeData* MakeTabMime(int tab);

    /// What a tab reports of its mouse.
    void TabMouseDown(int tag);
    void TabStartDrag(int tag);
    /// A tab dropped on tab `target`, with the keys held at the drop.
    void TabDragDrop(int target, int source, Qt::KeyboardModifiers keys);

    QSize sizeHint() const override;

  signals:
    /// The strip needs another height (rows × 17 + 17); it has set it already.
    void HeightChanged(int height);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildTrackTab();
    void TrackTabClick(bool next);
    void ApplyLayout();
    void UpdateHints();
    void PlaceTabs();
    void UpdateTrackTab();
    void UpdateHeight();
    void RedrawCaption(int tab);
    void AddMenuEntry(const QString& caption, QAction* target);
    /// The menu for `tab` at `globalPos`.
    void PopUpMenu(int tab, const QPoint& globalPos);
    /// From the keyboard: below the active tab.
    void PopUpMenuAtActiveTab();
    int DropTarget(const QPoint& at) const;
    int DraggedTab(const QDropEvent& event) const;
    bool TabDragOver(QDropEvent& event);

    ITabStripHost& host_;
    TabStripModel model_;
    TabColors colors_;
    std::vector<TTabButton*> buttons_;
    QWidget* trackTab_ = nullptr;
    QToolButton* trackPrev_ = nullptr;
    QToolButton* trackNext_ = nullptr;
    QMenu* tabMenus_ = nullptr;
    int menuTab_ = -1;
    int stripHeight_ = 0;
};

}  // namespace tw
