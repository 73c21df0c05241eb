// Opening files into document windows: the one open routine, the ways files
// reach it, and the read history.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "app/FrameWindow.h"
#include "app/OpenFileCheck.h"
#include "app/TabStrip.h"
#include "documents/DocumentWindow.h"
#include "platform/os/AbsolutePath.h"
#include "platform/os/ProgramFolder.h"
#include "settings/ApplySettings.h"
#include "settings/ReadHistory.h"
#include "textstore/DocumentReader.h"

namespace tw {

namespace {

QString FromBytes(const std::string& s) {
    return QFile::decodeName(QByteArray::fromStdString(s));
}

/// Sets a flag for as long as it lives, whatever way the scope ends, and
/// then runs `after`.
class FlagScope {
  public:
    FlagScope(bool& flag, std::function<void()> after) : flag_(flag), after_(std::move(after)) {
        flag_ = true;
    }
    ~FlagScope() {
        flag_ = false;
        after_();
    }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
    std::function<void()> after_;
};

}  // namespace

std::string TTarnwickEditor::TabName(const std::string& caption) const {
    const size_t slash = caption.rfind('/');
    return slash == std::string::npos ? caption : caption.substr(slash + 1);
}

void TTarnwickEditor::OpenFile(const std::string& fileName, bool isNew) {
    if (opening_) return;
    FlagScope guard(opening_, [this] { ScheduleAfterOpen(); });
    DoOpenFile(isNew ? fileName : AbsoluteFileName(fileName), isNew);
}

bool TTarnwickEditor::DeferWhileOpening(std::function<void()> command) {
    if (!opening_) return false;
    heldBack_.push_back(std::move(command));
    return true;
}

void TTarnwickEditor::ScheduleAfterOpen() {
    // Posted, not run here: this also runs while an error leaves the open.
    if (!heldBack_.empty() || !handedOff_.empty())
        QTimer::singleShot(0, this, [this] { AfterOpen(); });
}

void TTarnwickEditor::AfterOpen() {
    if (opening_) return;  // the next open has begun; it schedules this again
    std::vector<std::function<void()>> commands;
    commands.swap(heldBack_);
    for (const std::function<void()>& command : commands)
        command();
    OpenHandedOffFiles();
}

bool TTarnwickEditor::eventFilter(QObject* watched, QEvent* event) {
    // A window's close button or its own menu: the window may be the one the
    // open is filling.
    if (event->type() == QEvent::Close && opening_) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(watched)) {
            event->ignore();
            DeferWhileOpening([sub = QPointer<QMdiSubWindow>(sub)] {
                if (sub) sub->close();
            });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TTarnwickEditor::DoOpenFile(const std::string& fileName, bool isNew) {
    const std::optional<int64_t> size = CheckBeforeOpening(fileName, isNew);
    if (!size) return;
    // Held through a guarded pointer: every event processing below could
    // take the window away.
    QPointer<TMDIChild> child = CreateDocumentWindow(fileName);
    ShowDocumentWindow(*child);
    ApplySettingsTo(*child, options_);
    QApplication::processEvents();  // the window paints
    if (!child) return;
    if (isNew) {
        child->SetPanelText(kPanelSize, QStringLiteral("新規ファイル"));
    } else {
        LoadDocumentText(*child, fileName);
        QApplication::processEvents();
        CreateReRead(fileName);
        if (!child) return;
        ShowFileState(*child, fileName, *size);
    }
    child->Edit().ResetModified();
    child->ShowLineCount();
    Command("actSave")->setEnabled(true);
    UpdateCaption();
}

std::optional<int64_t> TTarnwickEditor::CheckBeforeOpening(const std::string& fileName,
                                                           bool isNew) {
    std::vector<std::string> captions;
    for (int i = 1; i <= DocumentCount(); ++i)
        captions.push_back(ChildForms[i]->Caption());
    const OpenCheck check = CheckOpen(captions, fileName, isNew, options_);
    if (check.refusal == OpenRefusal::None) return check.size;
    // The box lets events run, and windows may be renumbered meanwhile.
    QPointer<TMDIChild> open =
        check.refusal == OpenRefusal::AlreadyOpen ? ChildForms[check.openWindow + 1] : nullptr;
    messages_->Show(check.message, "Tarnwick Editor", MessageButtons::Ok, MessageIcon::Warning);
    if (open) BringDocumentToFront(open->Tag);
    return std::nullopt;
}

TMDIChild* TTarnwickEditor::CreateDocumentWindow(const std::string& fileName) {
    tabs_->AddTab(tabs_->TabButtonCount(), TabName(fileName));
    auto* child = new TMDIChild(*this);
    child->SetCaption(fileName);
    ++noNameCount_;
    ChildForms.push_back(child);
    child->Tag = DocumentCount();
    if (DocumentCount() == 1) SetDocumentCommands(true);
    return child;
}

void TTarnwickEditor::ShowDocumentWindow(TMDIChild& child) {
    QMdiSubWindow* sub = mdi_->addSubWindow(&child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->installEventFilter(this);
    // The sub-window takes its size from the window, not from its contents,
    // which would leave the editor no height at all.
    sub->resize(kChildWindowSize);
    PlaceNewWindow(sub);
    if (options_.ReadWindowState == 1)
        sub->showMaximized();
    else if (options_.ReadWindowState == 2)
        sub->showMinimized();
    else
        sub->show();
    mdi_->setActiveSubWindow(sub);
    childIndex_ = child.Tag;
    ApplyWindowKeys(child, *sub);
}

void TTarnwickEditor::ApplySettingsTo(TMDIChild& child, const OptionData& options) {
    ApplySettings(child.Edit(), options, [&child](TVellEdit&) {
        child.View().RefreshView();
        child.View().Rewrap();
        child.View().RecreateView();
    });
}

void TTarnwickEditor::LoadDocumentText(TMDIChild& child, const std::string& fileName) {
    try {
        // Read in pieces that become rows one after another, so a big
        // file is never held whole beside its rows.
        DocumentReader reader(fileName);
        child.Edit().SetAllText([&reader] { return reader.Next(); },
                                static_cast<size_t>(std::max<int64_t>(reader.Size(), 0)));
    } catch (const std::exception&) {
        child.Edit().SetAllText("");
        messages_->Show(
            fileName + "の読み込みに失敗しました。\r他のプロセスが使用中の可能性があります",
            "Tarnwick Editor", MessageButtons::Ok, MessageIcon::Warning);
    }
}

void TTarnwickEditor::ShowFileState(TMDIChild& child, const std::string& fileName, int64_t size) {
    child.SetPanelText(kPanelSize, QStringLiteral("Size : %1 Byte").arg(size));
    child.SetChanged(false);
    if (IsReadOnlyFile(fileName)) {
        child.SetPanelText(kPanelMode, QStringLiteral("読み込み専用"));
        child.Edit().ReadOnly = true;
    } else {
        child.SetPanelText(kPanelMode, child.Edit().InsertMode() ? QStringLiteral("挿入")
                                                                 : QStringLiteral("上書き"));
    }
}

void TTarnwickEditor::PlaceNewWindow(QMdiSubWindow* sub) const {
    sub->move(CascadePlace(*sub, DocumentCount() - 1));
}

void TTarnwickEditor::actNewExecute() {
    OpenFile("NONAME" + std::to_string(noNameCount_), true);
}

void TTarnwickEditor::actOpenExecute() {
    const std::string name = dialogs_->OpenFileName();
    if (!name.empty()) OpenFile(name, false);
}

std::string TTarnwickEditor::ChooseInsertFile() {
    return dialogs_->OpenFileName();
}

void TTarnwickEditor::OpenHelpText(const char* name) {
    // Help texts are installed with the program, not kept with the settings.
    OpenFile(HelpTextPath(ExecutableFolder(), name), false);
}

void TTarnwickEditor::mReadMeClick() {
    OpenHelpText("ReadMe.txt");
}

void TTarnwickEditor::mHistoryClick() {
    OpenHelpText("History.txt");
}

void TTarnwickEditor::mHelpClick() {
    OpenHelpText("Manual.txt");
}

// ---- Dropped files ---------------------------------------------------------------------

void TTarnwickEditor::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TTarnwickEditor::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) return;
    event->acceptProposedAction();
    raise();
    activateWindow();
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) OpenFile(QFile::encodeName(url.toLocalFile()).toStdString(), false);
}

// ---- Read history ----------------------------------------------------------------------

void TTarnwickEditor::CreateReRead(const std::string& fileName) {
    RebuildReadHistoryMenu(tw::CreateReRead(options_.ReadHistory, readItems_, fileName));
}

void TTarnwickEditor::RebuildReadHistoryMenu(int itemCount) {
    readHistoryMenu_->clear();
    readItems_ = itemCount;
    const std::vector<std::string> captions = ReadHistoryCaptions(options_.ReadHistory, itemCount);
    for (int slot = 0; slot < static_cast<int>(captions.size()); ++slot) {
        QAction* item = readHistoryMenu_->addAction(FromBytes(captions[slot]));
        item->setData(slot);
        connect(item, &QAction::triggered, this, [this, slot] { HistoryClick(slot); });
    }
}

void TTarnwickEditor::HistoryClick(int slot) {
    // The history changes under an open, so the name is taken first.
    const std::string name = options_.ReadHistory[slot];
    OpenFile(name, false);
}

}  // namespace tw
