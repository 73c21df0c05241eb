#include "MAIN.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QSocketNotifier>

#include "ApplySettings.h"
#include "EditorDocument.h"
#include "ProgramFolder.h"

namespace tw {

TTarnwickEditor::TTarnwickEditor(InstancePaths paths, std::vector<std::string> commandLineFiles)
    : mdi_(new QMdiArea(this)),
      handOff_(std::move(paths)),
      commandLineFiles_(std::move(commandLineFiles)),
      programFolder_(ProgramFolder(ExecutableFolder())) {
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

void TTarnwickEditor::LoadSettings() {
    options_ = LoadOptionData(programFolder_);
}

void TTarnwickEditor::PublishHandOffRecord() {
    if (!handOff_.Publish(options_.SingleInstance)) {
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
// The reassignable shortcuts come with the keyboard-assignment file.
void TTarnwickEditor::LoadKeyboardCommands() {}
void TTarnwickEditor::LoadClipboardHistory() {
    clipHistory_ = LoadClipHistory(programFolder_);
    if (clipHistory_.ReadFailed)
        QMessageBox::warning(this, QStringLiteral("Tarnwick Editor"),
                             QString::fromUtf8(kClipReadErrorMessage));
}
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

void TTarnwickEditor::CreateBlankDocument() {
    noNameCount_ = 1;
    if (options_.CreateBlank && commandLineFiles_.empty())
        OpenFile("NONAME" + std::to_string(noNameCount_), true);
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
    auto* view = new EditorDocument(fileName, isNew);
    ApplySettings(view->Edit(), options_, [view](TVellEdit&) {
        view->View().RefreshView();
        view->View().Rewrap();
        view->View().RecreateView();
    });
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
    ++noNameCount_;  // counts every window, files and new texts alike
    connect(view, &EditorDocument::fileNameChanged, sub, [this, sub, view] {
        sub->setWindowTitle(QString::fromStdString(view->FileName()));
        UpdateCaption();
    });
    UpdateCaption();
}

void TTarnwickEditor::SaveSettings() {
    if (!shown_) return;  // nothing was read, so nothing is written over
    if (options_.SaveWindow) {
        const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
        options_.WindowTop = g.top();
        options_.WindowLeft = g.left();
        options_.WindowHeight = g.height();
        options_.WindowWidth = g.width();
        options_.WindowState = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    }
    try {
        SaveOptionData(programFolder_, options_);
        SaveClipHistory(programFolder_, clipHistory_.ClipItems, clipHistory_.ClipCount);
    } catch (const std::exception& e) {
        QMessageBox::warning(this, QStringLiteral("Tarnwick Editor"), QString::fromUtf8(e.what()));
    }
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
    SaveSettings();
    event->accept();
}

}  // namespace tw
