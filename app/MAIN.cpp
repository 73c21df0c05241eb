#include "MAIN.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QShowEvent>
#include <QSocketNotifier>

#include "EditorDocument.h"

namespace tw {

TTarnwickEditor::TTarnwickEditor(InstancePaths paths, std::vector<std::string> commandLineFiles)
    : mdi_(new QMdiArea(this)),
      handOff_(std::move(paths)),
      commandLineFiles_(std::move(commandLineFiles)) {
    setCentralWidget(mdi_);
    resize(900, 650);
    UpdateCaption();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { UpdateCaption(); });
    auto* save = new QAction(QStringLiteral("上書き保存(&S)"), this);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, [this] { SaveActive(); });
    addAction(save);
}

void TTarnwickEditor::SaveActive() {
    QMdiSubWindow* active = mdi_->activeSubWindow();
    if (auto* doc = active ? qobject_cast<EditorDocument*>(active->widget()) : nullptr) doc->Save();
}

void TTarnwickEditor::UpdateCaption() {
    QString caption = QStringLiteral("Tarnwick Editor");
    QMdiSubWindow* active = mdi_->activeSubWindow();
    if (active && active->isMaximized())
        caption += QStringLiteral(" - [") + active->windowTitle() + QStringLiteral("]");
    setWindowTitle(caption);
}

TTarnwickEditor::~TTarnwickEditor() {
    // The MDI area still reports activations while the base class takes the
    // windows down, when this object is no longer a frame.
    disconnect(mdi_, nullptr, this, nullptr);
}

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

// The settings store fills these from "Option.dat"; until then the defaults hold.
void TTarnwickEditor::LoadSettings() {
    singleInstance_ = true;
}

void TTarnwickEditor::PublishHandOffRecord() {
    if (!handOff_.Publish(singleInstance_)) {
        QMessageBox::critical(this, QStringLiteral("Tarnwick Editor"),
                              QStringLiteral("メモリマップ書き込みエラー。"));
        return;
    }
    handOffNotifier_ = new QSocketNotifier(handOff_.ListenFd(), QSocketNotifier::Read, this);
    connect(handOffNotifier_, &QSocketNotifier::activated, this, [this] {
        // Opening a file may run a nested event loop; the notifier stays
        // quiet until this batch of hand-offs is done.
        handOffNotifier_->setEnabled(false);
        handOff_.HandleReady([this](const std::string& name) { WMCopyData(name); });
        if (handOffNotifier_) handOffNotifier_->setEnabled(true);
    });
}

// The frame keeps its default placement until the settings store lands.
void TTarnwickEditor::PlaceFrame() {}
// The reassignable shortcuts come with the keyboard-assignment file.
void TTarnwickEditor::LoadKeyboardCommands() {}
// The clipboard history comes with "Clip.dat".
void TTarnwickEditor::LoadClipboardHistory() {}
// The read-history submenu comes with the menus.
void TTarnwickEditor::BuildReadHistoryMenu() {}
// The tab strip and toolbar come later.
void TTarnwickEditor::ShowToolBars() {}
// The document commands come with the menus.
void TTarnwickEditor::DisableDocumentCommands() {}

void TTarnwickEditor::OpenCommandLineFiles() {
    for (const std::string& name : commandLineFiles_)
        OpenFile(name, false);
}

// New empty documents come with the editor control.
void TTarnwickEditor::CreateBlankDocument() {
    noNameCount_ = 1;
}

void TTarnwickEditor::WMCopyData(const std::string& fileName) {
    // The sender cannot raise another program's window on X11; the receiver does.
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    OpenFile(fileName, false);
}

void TTarnwickEditor::OpenFile(const std::string& fileName, bool isNew) {
    const QString caption = QString::fromStdString(fileName);
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        if (w->windowTitle() == caption) {
            mdi_->setActiveSubWindow(w);
            return;
        }
    }
    auto* view = new EditorDocument(fileName);
    if (!isNew && !view->Load()) {
        delete view;
        QMessageBox::warning(this, QStringLiteral("Tarnwick Editor"),
                             caption + QStringLiteral("の読み込みに失敗しました。\r"
                                                      "他のプロセスが使用中の可能性があります"));
        return;
    }
    QMdiSubWindow* sub = mdi_->addSubWindow(view);
    sub->setWindowTitle(caption);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->showMaximized();  // the frame's caption then names the document
    view->setFocus();
    UpdateCaption();
}

void TTarnwickEditor::closeEvent(QCloseEvent* event) {
    // Each changed document asks first; one that stays keeps the frame open.
    mdi_->closeAllSubWindows();
    if (!mdi_->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    if (handOffNotifier_) {
        handOffNotifier_->setEnabled(false);
        handOffNotifier_->deleteLater();  // it may be the sender of the running slot
        handOffNotifier_ = nullptr;
    }
    handOff_.Close();
    event->accept();
}

}  // namespace tw
