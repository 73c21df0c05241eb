#include "app/FrameWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QShowEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/TabStrip.h"
#include "documents/DocumentWindow.h"
#include "platform/os/ProgramFolder.h"
#include "platform/qt/QtPlatform.h"
#include "settings/ApplySettings.h"
#include "settings/ReadHistory.h"

namespace tw {

TTarnwickEditor::TTarnwickEditor(InstancePaths paths, std::vector<std::string> commandLineFiles)
    : mdi_(new QMdiArea),
      handOff_(std::move(paths)),
      commandLineFiles_(std::move(commandLineFiles)),
      programFolder_(ProgramFolder(ExecutableFolder())),
      ownMessages_(std::make_unique<QtMessageBox>(this)),
      messages_(ownMessages_.get()),
      ownDialogs_(std::make_unique<QtFileDialogs>(this)),
      dialogs_(ownDialogs_.get()) {
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs_ = new TTabStrip(*this, client);
    layout->addWidget(tabs_);
    layout->addWidget(mdi_, 1);
    setCentralWidget(client);
    // Closing a window brings back the one that was in front before it.
    mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    resize(900, 650);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    setFont(font);

    CreateCommands();
    CreateMenus();
    CreateToolBar();
    CreateSearchDialogs();
    tabs_->SetMenuActions(Command("actClose"), Command("actCloseAll"), Command("actCloseNoActive"),
                          Command("actPrev"), Command("actNext"));
    UpdateCaption();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        if (sub)
            if (auto* child = qobject_cast<TMDIChild*>(sub->widget())) child->FormActivate();
        UpdateCaption();
    });
}

TTarnwickEditor::~TTarnwickEditor() {
    // The MDI area still reports activations while the base class takes the
    // windows down, when this object is no longer a frame.
    disconnect(mdi_, nullptr, this, nullptr);
    for (size_t i = 1; i < ChildForms.size(); ++i)
        ChildForms[i]->CloseWithoutPrompt();
}

void TTarnwickEditor::SetMessageBox(IMessageBox* messages) {
    messages_ = messages ? messages : ownMessages_.get();
}

void TTarnwickEditor::SetFileDialogs(IFileDialogs* dialogs) {
    dialogs_ = dialogs ? dialogs : ownDialogs_.get();
}

TMDIChild* TTarnwickEditor::ActiveChild() const {
    return childIndex_ >= 1 && childIndex_ <= DocumentCount() ? ChildForms[childIndex_] : nullptr;
}

QMdiSubWindow* TTarnwickEditor::SubWindowOf(TMDIChild* child) const {
    return child ? qobject_cast<QMdiSubWindow*>(child->parentWidget()) : nullptr;
}

void TTarnwickEditor::UpdateCaption() {
    QString caption = QStringLiteral("Tarnwick Editor");
    // The active document is named whether or not it fills the frame: the
    // window list of a Linux desktop shows only the frame.
    if (TMDIChild* child = ActiveChild())
        caption += QStringLiteral(" - [") + child->windowTitle() + QStringLiteral("]");
    setWindowTitle(caption);
}

// ---- Start-up --------------------------------------------------------------------------

void TTarnwickEditor::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void TTarnwickEditor::FormShow() {
    AcceptDroppedFiles();
    LoadSettings();
    PublishHandOffRecord();
    PlaceFrame();
    LoadKeyboardCommands();
    LoadClipboardHistory();
    BuildReadHistoryMenu();
    ShowToolBars();
    DisableDocumentCommands();
    OpenCommandLineFiles();
    CreateBlankDocument();
}

void TTarnwickEditor::AcceptDroppedFiles() {
    setAcceptDrops(true);
}

void TTarnwickEditor::LoadSettings() {
    const OptionFile file = LoadOptionFile(programFolder_);
    options_ = file.Data;
    if (file.ReadFailed) {
        optionsFromUnreadFile_ = options_;
        messages_->Show(kOptionReadErrorMessage, "Tarnwick Editor", MessageButtons::Ok,
                        MessageIcon::Warning);
    }
    ApplyTabSettings();
}

void TTarnwickEditor::ApplyTabSettings() {
    tabs_->SetTabWidth(SaneTabWidth(options_));
    tabs_->SetMultiRow(options_.MultiTabBox);
    tabs_->SetColors(TabColors{options_.TabFaceColor, options_.TabTextColor, options_.TabLightColor,
                               options_.TabShadowColor});
}

void TTarnwickEditor::PublishHandOffRecord() {
    if (!handOff_.Publish(options_.SingleInstance)) {
        messages_->Show("メモリマップ書き込みエラー。", "Tarnwick Editor", MessageButtons::Ok,
                        MessageIcon::Error);
        return;
    }
    handOffNotifier_ = new QSocketNotifier(handOff_.WatchFd(), QSocketNotifier::Read, this);
    handOffTimer_ = new QTimer(this);
    handOffTimer_->setSingleShot(true);
    const auto serve = [this] {
        // Each name is answered at once and opened right after, in order: a
        // second start must not wait while this one asks its user something
        // ("はすでに存在します。" and the like).
        handOff_.HandleReady([this](const std::string& name) { handedOff_.push_back(name); });
        // A sender that stalls half-way is dropped when its time is up, even
        // if it never sends another byte to wake the notifier.
        if (const auto wait = handOff_.TimeToNextDeadline())
            handOffTimer_->start(*wait);
        else
            handOffTimer_->stop();
        QTimer::singleShot(0, this, [this] { OpenHandedOffFiles(); });
    };
    connect(handOffNotifier_, &QSocketNotifier::activated, this, serve);
    connect(handOffTimer_, &QTimer::timeout, this, serve);
}

void TTarnwickEditor::PlaceFrame() {
    if (options_.WindowState != 0) {
        setWindowState(Qt::WindowMaximized);
        return;
    }
    setWindowState(Qt::WindowNoState);
    const QRect screen =
        this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const ScreenRect r = SaneFramePlacement(
        options_, ScreenRect{screen.left(), screen.top(), screen.width(), screen.height()});
    setGeometry(r.Left, r.Top, r.Width, r.Height);
}

void TTarnwickEditor::LoadClipboardHistory() {
    clipHistory_ = LoadClipHistory(programFolder_);
    if (clipHistory_.ReadFailed) {
        clipsFromUnreadFile_ = clipHistory_.ClipItems;
        messages_->Show(kClipReadErrorMessage, "Tarnwick Editor", MessageButtons::Ok,
                        MessageIcon::Warning);
    }
}

void TTarnwickEditor::BuildReadHistoryMenu() {
    RebuildReadHistoryMenu(ReadHistoryItemsAtStart(options_.ReadHistory));
}

void TTarnwickEditor::ShowToolBars() {
    toolBar_->setVisible(options_.ShowToolBar);
    tabs_->setVisible(options_.ShowTabBox);
}

void TTarnwickEditor::DisableDocumentCommands() {
    SetDocumentCommands(false);
}

void TTarnwickEditor::OpenCommandLineFiles() {
    for (const std::string& name : commandLineFiles_)
        if (!name.empty()) OpenFile(name, false);
}

void TTarnwickEditor::CreateBlankDocument() {
    noNameCount_ = 1;
    if (options_.CreateBlank && commandLineFiles_.empty())
        OpenFile("NONAME" + std::to_string(noNameCount_), true);
}

void TTarnwickEditor::OpenHandedOffFiles() {
    while (!handedOff_.empty() && !opening_) {
        const std::string name = handedOff_.front();
        handedOff_.pop_front();
        WMCopyData(name);
    }
}

void TTarnwickEditor::WMCopyData(const std::string& fileName) {
    // The sender cannot raise another program's window on X11; the receiver does.
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    OpenFile(fileName, false);
}

// ---- The end ---------------------------------------------------------------------------

void TTarnwickEditor::SaveSettings() {
    if (!shown_) return;  // nothing was read, so nothing is written over
    // A file the start could not read is the user's, not ours to replace with
    // defaults: it is written only once what it holds has changed. The
    // frame's own placement, stored just below, is no such change.
    const bool writeOptions = !optionsFromUnreadFile_ || *optionsFromUnreadFile_ != options_;
    const bool writeClips =
        !clipsFromUnreadFile_ || *clipsFromUnreadFile_ != clipHistory_.ClipItems;
    if (options_.SaveWindow) {
        const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
        options_.WindowTop = g.top();
        options_.WindowLeft = g.left();
        options_.WindowHeight = g.height();
        options_.WindowWidth = g.width();
        options_.WindowState = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    }
    auto write = [this](const std::function<void()>& save) {
        try {
            save();
        } catch (const std::exception& e) {
            messages_->Show(e.what(), "Tarnwick Editor", MessageButtons::Ok, MessageIcon::Warning);
        }
    };
    if (writeOptions) write([this] { SaveOptionData(programFolder_, options_); });
    if (writeClips)
        write([this] {
            SaveClipHistory(programFolder_, clipHistory_.ClipItems, clipHistory_.ClipCount);
        });
}

void TTarnwickEditor::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->ignore();
        return;
    }
    if (opening_) {
        event->ignore();
        DeferWhileOpening([this] { close(); });
        return;
    }
    closing_ = true;
    for (int i = 1; i <= DocumentCount(); ++i) {
        if (!PromptSave(i)) {
            closing_ = false;
            event->ignore();
            return;
        }
    }
    DestroyAllDocuments();
    closing_ = false;
    if (handOffNotifier_) {
        handOffNotifier_->setEnabled(false);
        handOffNotifier_->deleteLater();  // it may be the sender of the running slot
        handOffNotifier_ = nullptr;
    }
    if (handOffTimer_) handOffTimer_->stop();
    handOff_.Close();
    handedOff_.clear();
    SaveSettings();
    event->accept();
}

void TTarnwickEditor::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    tabs_->ArrangeTabs();
}

}  // namespace tw
