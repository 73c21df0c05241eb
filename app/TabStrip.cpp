#include "app/TabStrip.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDrag>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QToolButton>
#include <algorithm>

#include "platform/qt/QtPlatform.h"
#include "platform/qt/SystemColors.h"

namespace tw {

namespace {

/// Carries "pid index" of the dragged tab; a drag from another process
/// names tabs that are not ours.
const char* const kTabMime = "application/x-tarnwick-editor-tab";
constexpr int kDragDistance = 10;
constexpr int kArrowWidth = 16;
/// The colour RemoveTab writes a moved caption in (COLOR_BTNSHADOW).
constexpr uint32_t kButtonShadow = 0x80000010;

/// A line as GDI draws it: from the first point up to, not including, the
/// second. Tabs only need horizontal and vertical ones.
void GdiLine(QPainter& p, int x1, int y1, int x2, int y2, const QColor& color) {
    if (x1 == x2 && y2 > y1) p.fillRect(x1, y1, 1, y2 - y1, color);
    if (y1 == y2 && x2 > x1) p.fillRect(x1, y1, x2 - x1, 1, color);
}

void DrawEdges(QPainter& p, int width, int height, const TabColors& c) {
    const QColor light = ToQColor(c.Light);
    GdiLine(p, 0, 0, 0, height - 4, light);
    GdiLine(p, 0, 0, width - 3, 0, light);
    GdiLine(p, 0, 1, width - 3, 1, light);
    GdiLine(p, width - 1, 0, width - 1, height - 4, ToQColor(c.Shadow));
}

void DrawCaption(QPainter& p, const QFont& font, const std::string& caption, const QColor& ink) {
    p.setFont(font);
    p.setPen(ink);
    const QString text = QFile::decodeName(QByteArray::fromStdString(caption));
    p.drawText(QPoint(5, 3 + QFontMetrics(font).ascent()), text);
}

/// The whole picture gets the face, also beyond 100 pixels, so that a wide
/// tab shows no leftovers of its former look.
void PaintActive(QImage& picture, const QFont& font, const std::string& caption,
                 const TabColors& c) {
    QPainter p(&picture);
    p.fillRect(picture.rect(), ToQColor(c.Face));
    DrawEdges(p, picture.width(), picture.height(), c);
    DrawCaption(p, font, caption, ToQColor(c.Text));
}

void PaintInactive(QImage& picture, const QFont& font, const std::string& caption,
                   const TabColors& c, uint32_t ink) {
    QPainter p(&picture);
    const int w = picture.width(), h = picture.height();
    p.fillRect(picture.rect(), ToQColor(c.Light));
    DrawEdges(p, w, h, c);
    for (int y = h - 3; y < h; ++y)
        GdiLine(p, 0, y, w, y, ToQColor(c.Face));
    DrawCaption(p, font, caption, ToQColor(ink));
}

}  // namespace

/// One tab: a picture of TabWidth × 18 pixels that the strip paints; it
/// reports presses and starts drags.
class TTabButton : public QWidget {
  public:
    TTabButton(TTabStrip& strip, int tag, int width) : QWidget(&strip), strip_(strip), tag_(tag) {
        SetWidth(width);
    }
    int Tag() const noexcept { return tag_; }
    void SetTag(int tag) noexcept { tag_ = tag; }
    QImage& Picture() noexcept { return picture_; }
    void SetWidth(int width) {
        picture_ = QImage(width, kTabHeight, QImage::Format_RGB32);
        picture_.fill(ToQColor(0x8000000F));
        setFixedSize(width, kTabHeight);
    }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_); }
    void mousePressEvent(QMouseEvent* event) override {
        pressAt_ = event->position().toPoint();
        dragReady_ = true;
        strip_.TabMouseDown(tag_);
    }
    void mouseReleaseEvent(QMouseEvent*) override { dragReady_ = false; }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!dragReady_ || event->buttons() != Qt::LeftButton ||
            event->modifiers() != Qt::NoModifier)
            return;
        if ((event->position().toPoint() - pressAt_).manhattanLength() < kDragDistance) return;
        dragReady_ = false;
        strip_.TabStartDrag(tag_);
    }

  private:
    TTabStrip& strip_;
    int tag_;
    QImage picture_;
    QPoint pressAt_;
    bool dragReady_ = false;
};

TTabStrip::TTabStrip(ITabStripHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setAcceptDrops(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    tabMenus_ = new QMenu(this);
    LetKeysStepOnDisabledEntries(*tabMenus_);
    BuildTrackTab();
    ApplyLayout();
}

TTabStrip::~TTabStrip() = default;

void TTabStrip::BuildTrackTab() {
    trackTab_ = new QWidget(this);
    auto* layout = new QHBoxLayout(trackTab_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    trackPrev_ = new QToolButton(trackTab_);
    trackNext_ = new QToolButton(trackTab_);
    trackPrev_->setArrowType(Qt::LeftArrow);
    trackNext_->setArrowType(Qt::RightArrow);
    for (QToolButton* b : {trackPrev_, trackNext_}) {
        b->setFixedSize(kArrowWidth, kTabRowHeight);
        b->setAutoRepeat(true);
        layout->addWidget(b);
    }
    trackTab_->setFixedSize(2 * kArrowWidth, kTabRowHeight);
    connect(trackPrev_, &QToolButton::clicked, this, [this] { TrackTabClick(false); });
    connect(trackNext_, &QToolButton::clicked, this, [this] { TrackTabClick(true); });
}

void TTabStrip::TrackTabClick(bool next) {
    if (!model_.TrackTabClick(next)) return;
    PlaceTabs();
    UpdateTrackTab();
}

QSize TTabStrip::sizeHint() const {
    return QSize(model_.TabWidth(), model_.StripHeight());
}

void TTabStrip::SetTabWidth(int width) {
    model_.SetTabWidth(width);
    for (TTabButton* b : buttons_)
        b->SetWidth(model_.TabWidth());
    RedrawTabs(model_.LastTab());
    ArrangeTabs();
}

void TTabStrip::SetMultiRow(bool on) {
    model_.SetMultiTabBox(on);
    ArrangeTabs();
}

void TTabStrip::SetColors(const TabColors& colors) {
    colors_ = colors;
    RedrawTabs(model_.LastTab());
}

void TTabStrip::AddMenuEntry(const QString& caption, QAction* target) {
    QAction* entry = tabMenus_->addAction(caption);
    if (!target) {
        entry->setEnabled(false);
        return;
    }
    connect(entry, &QAction::triggered, target, &QAction::trigger);
    auto follow = [entry, target] { entry->setEnabled(target->isEnabled()); };
    follow();
    connect(target, &QAction::changed, entry, follow);
}

void TTabStrip::SetMenuActions(QAction* close, QAction* closeAll, QAction* closeOthers,
                               QAction* prev, QAction* next) {
    tabMenus_->clear();
    AddMenuEntry(QStringLiteral("閉じる(&C)"), close);
    AddMenuEntry(QStringLiteral("全て閉じる(&A)"), closeAll);
    AddMenuEntry(QStringLiteral("選択以外を全て閉じる(&Q)"), closeOthers);
    tabMenus_->addSeparator();
    connect(tabMenus_->addAction(QStringLiteral("選択ウィンドウをコピーする(&R)")),
            &QAction::triggered, this, [this] { CopyMenuTabDocument(); });
    tabMenus_->addSeparator();
    AddMenuEntry(QStringLiteral("前へ移動(&P)"), prev);
    AddMenuEntry(QStringLiteral("次へ移動(&N)"), next);
}

int TTabStrip::AddTab(int index, const std::string& fileName) {
    const bool hadTabs = model_.TabButtonCount() > 0;
    const int last = model_.LastTab();
    const int tab = model_.AddTab(index, fileName);
    auto* button = new TTabButton(*this, tab, model_.TabWidth());
    buttons_.push_back(button);
    button->show();
    DrawActiveTab(tab);
    // After the last tab went, LastTab names the slot the new tab now takes.
    if (hadTabs && last != tab) DrawInactiveTab(last);
    ApplyLayout();
    return tab;
}

void TTabStrip::RemoveTab(int start) {
    if (!model_.IsTab(start)) return;
    model_.RemoveTab(start);
    for (int i = start; i < model_.TabButtonCount(); ++i)
        RedrawCaption(i);
    // A tab may be the one whose press led here; it goes once that is over.
    TTabButton* gone = buttons_.back();
    buttons_.pop_back();
    gone->hide();
    gone->deleteLater();
    ApplyLayout();
}

/// A tab that took over its neighbour's document shows the new caption in
/// the inactive look; the next activation draws the active tab.
void TTabStrip::RedrawCaption(int tab) {
    PaintInactive(buttons_[tab]->Picture(), font(), model_.TabCaptions()[tab], colors_,
                  kButtonShadow);
    buttons_[tab]->update();
}

void TTabStrip::RenameTab(int tab, const std::string& fileName) {
    if (!model_.IsTab(tab)) return;
    model_.RenameTab(tab, fileName);
    buttons_[tab]->setToolTip(QFile::decodeName(QByteArray::fromStdString(fileName)));
    DrawActiveTab(tab);
}

void TTabStrip::ArrangeTabs() {
    model_.ArrangeTabs();
    ApplyLayout();
}

void TTabStrip::ScrollTabIntoView(int number) {
    model_.ScrollTabIntoView(number);
    PlaceTabs();
    UpdateTrackTab();
}

void TTabStrip::ShiftTabs(bool left) {
    model_.ShiftTabs(left);
    PlaceTabs();
}

void TTabStrip::DrawActiveTab(int tab) {
    if (!model_.IsTab(tab)) return;
    PaintActive(buttons_[tab]->Picture(), font(), model_.TabCaptions()[tab], colors_);
    buttons_[tab]->update();
}

void TTabStrip::DrawInactiveTab(int tab) {
    if (!model_.IsTab(tab)) return;
    PaintInactive(buttons_[tab]->Picture(), font(), model_.TabCaptions()[tab], colors_,
                  colors_.Shadow);
    buttons_[tab]->update();
}

void TTabStrip::RedrawTabs(int activeTab) {
    for (int i = 0; i < model_.TabButtonCount(); ++i)
        DrawInactiveTab(i);
    DrawActiveTab(activeTab);
}

QWidget* TTabStrip::TabButton(int tab) const {
    return model_.IsTab(tab) ? buttons_[tab] : nullptr;
}

QImage TTabStrip::TabPicture(int tab) const {
    return model_.IsTab(tab) ? buttons_[tab]->Picture() : QImage();
}

void TTabStrip::UpdateHints() {
    for (int i = 0; i < model_.TabButtonCount(); ++i) {
        buttons_[i]->SetTag(i);
        buttons_[i]->setToolTip(QFile::decodeName(QByteArray::fromStdString(model_.TabHints()[i])));
    }
}

void TTabStrip::ApplyLayout() {
    UpdateHints();
    PlaceTabs();
    UpdateTrackTab();
    UpdateHeight();
}

void TTabStrip::PlaceTabs() {
    for (int i = 0; i < model_.TabButtonCount(); ++i) {
        const TabPlace at = model_.Place(i);
        buttons_[i]->move(at.x, at.y);
    }
}

void TTabStrip::UpdateTrackTab() {
    trackTab_->setVisible(!model_.MultiTabBox());
    trackTab_->move(width() - trackTab_->width(), 0);
    trackTab_->raise();
    trackPrev_->setEnabled(model_.TrackPosition() > 0);
    trackNext_->setEnabled(model_.TrackPosition() < model_.TrackMaximum());
}

void TTabStrip::UpdateHeight() {
    const int height = model_.StripHeight();
    if (height == stripHeight_) return;
    // Set first: the resize that setFixedHeight sends comes back here.
    stripHeight_ = height;
    setFixedHeight(height);
    emit HeightChanged(height);
}

void TTabStrip::resizeEvent(QResizeEvent*) {
    model_.SetStripWidth(width());
    // Rows follow the width; one row keeps its scroll position.
    if (model_.MultiTabBox())
        ArrangeTabs();
    else
        UpdateTrackTab();
}

void TTabStrip::contextMenuEvent(QContextMenuEvent* event) {
    // The menu keys come as key presses (keyPressEvent).
    if (event->reason() != QContextMenuEvent::Mouse) return event->accept();
    // The free part of the strip stands for the active document.
    auto* tab = dynamic_cast<TTabButton*>(childAt(event->pos()));
    PopUpMenu(tab ? tab->Tag() : host_.ActiveDocument() - 1, event->globalPos());
}

void TTabStrip::keyPressEvent(QKeyEvent* event) {
    if (IsMenuKey(*event)) return PopUpMenuAtActiveTab();
    QWidget::keyPressEvent(event);
}

void TTabStrip::PopUpMenuAtActiveTab() {
    const int tab = host_.ActiveDocument() - 1;
    const QWidget* button = TabButton(tab);
    PopUpMenu(tab, button ? button->mapToGlobal(QPoint(0, button->height()))
                          : mapToGlobal(QPoint(0, height())));
}

void TTabStrip::PopUpMenu(int tab, const QPoint& globalPos) {
    menuTab_ = tab;
    tabMenus_->exec(globalPos);
}

void TTabStrip::CopyMenuTabDocument() {
    if (model_.IsTab(menuTab_)) host_.CopyDocument(menuTab_ + 1);
}

void TTabStrip::mousePressEvent(QMouseEvent* event) {
    // A click on the strip gives it the keyboard, so that the Menu key can
    // open its menu; the arrows (not this widget) leave the keyboard alone.
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void TTabStrip::TabMouseDown(int tag) {
    model_.SetTabClicked(true);
    // A tab that brings its document forward gives that document the
    // keyboard; otherwise the strip takes it.
    if (!host_.UseTab()) return setFocus(Qt::MouseFocusReason);
    host_.BringDocumentToFront(tag + 1);
    if (!model_.MultiTabBox()) ScrollTabIntoView(host_.ActiveDocument());
}

QMimeData* TTabStrip::MakeTabMime(int tab) {
    auto* mime = new QMimeData;
    mime->setData(kTabMime, QByteArray::number(QCoreApplication::applicationPid()) + ' ' +
                                QByteArray::number(tab));
    return mime;
}

void TTabStrip::TabStartDrag(int tag) {
    if (!model_.IsTab(tag)) return;
    auto* drag = new QDrag(buttons_[tag]);
    drag->setMimeData(MakeTabMime(tag));
    drag->setPixmap(QPixmap::fromImage(buttons_[tag]->Picture()));
    // Ctrl and Shift change the proposed action; all of them mean a tab drop.
    drag->exec(Qt::MoveAction | Qt::CopyAction | Qt::LinkAction, Qt::MoveAction);
    // Dropped or not, the drag is over and its hint goes.
    host_.ShowDragHint("");
}

int TTabStrip::DraggedTab(const QDropEvent& event) const {
    const QByteArray payload = event.mimeData()->data(kTabMime);
    const QList<QByteArray> parts = payload.split(' ');
    if (parts.size() != 2) return -1;
    bool pidOk = false, tabOk = false;
    const qint64 pid = parts[0].toLongLong(&pidOk);
    const int tab = parts[1].toInt(&tabOk);
    if (!pidOk || !tabOk || pid != QCoreApplication::applicationPid()) return -1;
    return model_.IsTab(tab) ? tab : -1;
}

/// The tab under `at`; the free part of the strip (the arrows included)
/// stands for the last tab.
int TTabStrip::DropTarget(const QPoint& at) const {
    if (auto* tab = dynamic_cast<TTabButton*>(childAt(at))) return tab->Tag();
    return model_.TabButtonCount() - 1;
}

bool TTabStrip::TabDragOver(QDropEvent& event) {
    if (DraggedTab(event) < 0) {
        event.ignore();
        return false;
    }
    event.acceptProposedAction();
    return true;
}

void TTabStrip::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void TTabStrip::dragMoveEvent(QDragMoveEvent* event) {
    if (!TabDragOver(*event)) return;
    const Qt::KeyboardModifiers keys = event->modifiers();
    host_.ShowDragHint(
        TabDragHint(keys.testFlag(Qt::ShiftModifier), keys.testFlag(Qt::ControlModifier)));
}

void TTabStrip::dropEvent(QDropEvent* event) {
    const int source = DraggedTab(*event);
    if (source < 0) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    TabDragDrop(DropTarget(event->position().toPoint()), source, event->modifiers());
}

void TTabStrip::TabDragDrop(int target, int source, Qt::KeyboardModifiers keys) {
    host_.ShowDragHint("");
    const TabDrop drop = model_.Drop(target, source, keys.testFlag(Qt::ShiftModifier),
                                     keys.testFlag(Qt::ControlModifier));
    switch (drop.action) {
        case TabDropAction::None:
            return;
        case TabDropAction::Copy:
            host_.CopyDocument(drop.source);
            return;
        case TabDropAction::Swap:
            host_.SwapDocuments(drop.target, drop.source);
            break;
        case TabDropAction::Move:
            host_.MoveDocument(drop.source, drop.target);
            for (int i = std::min(target, source); i <= std::max(target, source); ++i)
                DrawInactiveTab(i);
            break;
    }
    UpdateHints();
    DrawActiveTab(target);
    DrawInactiveTab(source);
}

}  // namespace tw
