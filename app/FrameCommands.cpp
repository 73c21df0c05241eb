// The frame's commands on its documents: saving, switching, arranging and closing.
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <QLineEdit>

#include "app/FrameWindow.h"
#include "app/TabStrip.h"
#include "dialogs/ClipHistoryDialog.h"
#include "dialogs/GotoLine.h"
#include "dialogs/GotoLineDialog.h"
#include "dialogs/PrintDialog.h"
#include "documents/DocumentWindow.h"

namespace tw {

// ---- Saving ------------------------------------------------------------------------------

bool TTarnwickEditor::actSaveExecute() {
    // The window being opened has no text yet: saving it would empty its file.
    if (DeferWhileOpening([this] { actSaveExecute(); })) return false;
    TMDIChild* child = ActiveChild();
    return child && SaveChild(*child);
}

bool TTarnwickEditor::actSaveAsExecute() {
    if (DeferWhileOpening([this] { actSaveAsExecute(); })) return false;
    TMDIChild* child = ActiveChild();
    if (!child) return false;
    const std::string name = dialogs_->SaveFileName(child->Caption());
    if (name.empty()) return false;
    if (!child->Edit().SaveToFile(name)) {
        messages_->Show(name + " の保存に失敗しました。", "Tarnwick Editor", MessageButtons::Ok,
                        MessageIcon::Warning);
        return false;
    }
    child->Saved();
    child->ShowLineCount(QStringLiteral("  Lines : "));
    child->SetCaption(name);
    if (QMdiSubWindow* sub = SubWindowOf(child)) sub->setWindowTitle(child->windowTitle());
    tabs_->RenameTab(child->Tag - 1, TabName(name));
    UpdateCaption();
    return true;
}

bool TTarnwickEditor::SaveChild(TMDIChild& child) {
    childIndex_ = child.Tag;
    if (child.Caption().compare(0, 6, "NONAME") == 0) return actSaveAsExecute();
    if (!child.Edit().SaveToFile(child.Caption())) {
        // The text stays marked as changed, so closing still asks.
        messages_->Show(child.Caption() + " の保存に失敗しました。", "Tarnwick Editor",
                        MessageButtons::Ok, MessageIcon::Warning);
        return false;
    }
    child.Saved();
    return true;
}

// ---- Moving the caret ----------------------------------------------------------------------

TFindLines& TTarnwickEditor::FindLinesDialog() {
    if (!findLines_) findLines_ = new TFindLines(this);
    return *findLines_;
}

void TTarnwickEditor::actMoveExecute() {
    TFindLines& dialog = FindLinesDialog();
    dialog.LineText->clear();
    dialog.exec();
    const std::optional<int32_t> row = GotoLineTarget(dialog.LineText->text().toStdString());
    TMDIChild* child = ActiveChild();
    if (!row || !child) return;
    try {
        child->Edit().GotoXY(0, *row);
    } catch (const std::exception&) {
        // A line that cannot be reached leaves the caret where it was.
    }
}

void TTarnwickEditor::actHomeExecute() {
    if (TMDIChild* child = ActiveChild()) child->View().GoTop();
}

void TTarnwickEditor::actEndExecute() {
    if (TMDIChild* child = ActiveChild()) child->View().GoBottom();
}

// ---- Printing ------------------------------------------------------------------------------

TPrintDialog& TTarnwickEditor::PrintDialog() {
    if (!printDialog_) printDialog_ = new TPrintDialog(this);
    return *printDialog_;
}

void TTarnwickEditor::actPrintExecute() {
    TMDIChild* child = ActiveChild();
    if (!child) return;
    TPrintDialog& dialog = PrintDialog();
    dialog.SetDocument(&child->Edit(), child->Caption());
    dialog.exec();
}

// ---- Switching ---------------------------------------------------------------------------

void TTarnwickEditor::BringDocumentToFront(int number) {
    if (number < 1 || number > DocumentCount()) return;
    TMDIChild* child = ChildForms[number];
    QMdiSubWindow* sub = SubWindowOf(child);
    if (!sub) return;
    if (sub->isMinimized()) sub->showNormal();
    if (mdi_->activeSubWindow() == sub)
        child->FormActivate();  // no activation comes, yet the tab was clicked
    else
        mdi_->setActiveSubWindow(sub);
    child->mmText->setFocus();
}

void TTarnwickEditor::actPrevExecute() {
    const int n = DocumentCount();
    if (n == 0) return;
    BringDocumentToFront(childIndex_ <= 1 ? n : childIndex_ - 1);
}

void TTarnwickEditor::actNextExecute() {
    const int n = DocumentCount();
    if (n == 0) return;
    BringDocumentToFront(childIndex_ >= n ? 1 : childIndex_ + 1);
}

void TTarnwickEditor::ChildActivated(TMDIChild& child) {
    childIndex_ = child.Tag;
    if (child.Tag != 0 && !closing_) {
        if (!tabs_->TabClicked()) tabs_->ScrollTabIntoView(child.Tag);
        tabs_->DrawInactiveTab(tabs_->LastTab());
        tabs_->DrawActiveTab(child.Tag - 1);
        tabs_->SetLastTab(child.Tag - 1);
    }
    tabs_->SetTabClicked(false);
}

// ---- Arranging ---------------------------------------------------------------------------

namespace {

QList<QMdiSubWindow*> ShownWindows(QMdiArea* mdi) {
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : mdi->subWindowList())
        if (!w->isMinimized()) shown.push_back(w);
    return shown;
}

void Tile(QMdiArea* mdi, bool stacked) {
    const QList<QMdiSubWindow*> windows = ShownWindows(mdi);
    if (windows.isEmpty()) return;
    const QRect area = mdi->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMaximized()) w->showNormal();
        if (stacked) {
            const int h = area.height() / n;
            w->setGeometry(0, i * h, area.width(), i == n - 1 ? area.height() - i * h : h);
        } else {
            const int width = area.width() / n;
            w->setGeometry(i * width, 0, i == n - 1 ? area.width() - i * width : width,
                           area.height());
        }
    }
}

}  // namespace

QPoint TTarnwickEditor::CascadePlace(const QMdiSubWindow& sub, int index) const {
    const int step =
        std::max(1, sub.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &sub));
    const QSize room = mdi_->viewport()->size() - sub.size();
    const int places = std::max(1, std::min(room.width(), room.height()) / step + 1);
    const int n = index % places;
    return QPoint(n * step, n * step);
}

void TTarnwickEditor::Cascade() {
    const QSize size = kChildWindowSize.boundedTo(mdi_->viewport()->size());
    int index = 0;
    for (int i = 1; i <= DocumentCount(); ++i) {
        QMdiSubWindow* sub = SubWindowOf(ChildForms[i]);
        if (!sub || sub->isMinimized()) continue;
        if (sub->isMaximized()) sub->showNormal();
        sub->resize(size);
        sub->move(CascadePlace(*sub, index++));
        sub->raise();
    }
    if (QMdiSubWindow* active = mdi_->activeSubWindow()) active->raise();
}

void TTarnwickEditor::TileHorizontally() {
    Tile(mdi_, true);
}

void TTarnwickEditor::TileVertically() {
    Tile(mdi_, false);
}

void TTarnwickEditor::MinimizeAll() {
    for (QMdiSubWindow* w : mdi_->subWindowList())
        w->showMinimized();
}

// ---- Closing -----------------------------------------------------------------------------

void TTarnwickEditor::mExitClick() {
    close();
}

void TTarnwickEditor::actCloseExecute() {
    if (QMdiSubWindow* sub = SubWindowOf(ActiveChild())) sub->close();
}

void TTarnwickEditor::ChildClosing(TMDIChild& child) {
    const int tag = child.Tag;
    if (tag < 1 || tag > DocumentCount() || ChildForms[tag] != &child) return;
    ChildForms.erase(ChildForms.begin() + tag);
    Renumber();
    tabs_->RemoveTab(tag - 1);
    if (DocumentCount() == 0) {
        SetDocumentCommands(false);
        childIndex_ = 0;
    } else if (childIndex_ > DocumentCount()) {
        childIndex_ = DocumentCount();
    }
    child.Tag = 0;
    UpdateCaption();
}

void TTarnwickEditor::Renumber() {
    for (int i = 1; i <= DocumentCount(); ++i)
        ChildForms[i]->Tag = i;
}

bool TTarnwickEditor::PromptSave(int i) {
    TMDIChild* child = ChildForms[i];
    childIndex_ = i;
    if (child->ConfirmSave()) return true;
    BringDocumentToFront(i);
    return false;
}

void TTarnwickEditor::DestroyDocument(TMDIChild* child) {
    child->CloseWithoutPrompt();
    child->Tag = 0;
    delete SubWindowOf(child);
}

void TTarnwickEditor::DestroyAllDocuments() {
    const std::vector<TMDIChild*> children(ChildForms.begin() + 1, ChildForms.end());
    ChildForms.assign(1, nullptr);
    for (TMDIChild* child : children) {
        DestroyDocument(child);
        tabs_->RemoveTab(0);
    }
    childIndex_ = 0;
    SetDocumentCommands(false);
    UpdateCaption();
}

void TTarnwickEditor::actCloseAllExecute() {
    if (DeferWhileOpening([this] { actCloseAllExecute(); })) return;
    if (closing_) return;
    closing_ = true;
    for (int i = 1; i <= DocumentCount(); ++i) {
        if (!PromptSave(i)) {
            closing_ = false;
            return;
        }
    }
    DestroyAllDocuments();
    closing_ = false;
}

void TTarnwickEditor::actCloseNoActiveExecute() {
    if (DeferWhileOpening([this] { actCloseNoActiveExecute(); })) return;
    const int k = childIndex_;
    if (closing_ || k < 1 || k > DocumentCount()) return;
    closing_ = true;
    for (int i = 1; i <= DocumentCount(); ++i) {
        if (i != k && !PromptSave(i)) {
            closing_ = false;
            return;
        }
    }
    TMDIChild* kept = ChildForms[k];
    const std::vector<TMDIChild*> children(ChildForms.begin() + 1, ChildForms.end());
    for (size_t i = 0; i < children.size(); ++i)
        tabs_->RemoveTab(0);
    tabs_->AddTab(0, TabName(kept->Caption()));
    ChildForms.assign({nullptr, kept});
    kept->Tag = 1;
    childIndex_ = 1;
    for (TMDIChild* child : children)
        if (child != kept) DestroyDocument(child);
    closing_ = false;
    UpdateCaption();
}

// ---- The tab strip's requests --------------------------------------------------------------

void TTarnwickEditor::SwapDocuments(int a, int b) {
    if (a < 1 || b < 1 || a > DocumentCount() || b > DocumentCount()) return;
    std::swap(ChildForms[a], ChildForms[b]);
    Renumber();
    FollowActiveWindow();
}

void TTarnwickEditor::MoveDocument(int from, int to) {
    if (from < 1 || to < 1 || from > DocumentCount() || to > DocumentCount()) return;
    TMDIChild* moved = ChildForms[from];
    ChildForms.erase(ChildForms.begin() + from);
    ChildForms.insert(ChildForms.begin() + to, moved);
    Renumber();
    FollowActiveWindow();
}

void TTarnwickEditor::FollowActiveWindow() {
    // The active window kept its place on the screen but may have a new number.
    if (QMdiSubWindow* sub = mdi_->activeSubWindow())
        if (auto* child = qobject_cast<TMDIChild*>(sub->widget())) childIndex_ = child->Tag;
}

void TTarnwickEditor::CopyDocument(int number) {
    if (number < 1 || number > DocumentCount()) return;
    TMDIChild* source = ChildForms[number];
    const int before = DocumentCount();
    actNewExecute();
    if (DocumentCount() == before) return;
    TMDIChild* copy = ChildForms[DocumentCount()];
    copy->Edit().SetAllText(source->Edit().GetAllText());
    copy->ShowLineCount();
}

void TTarnwickEditor::ShowDragHint(const std::string& text) {
    if (TMDIChild* child = ActiveChild())
        child->SetPanelText(kPanelHint, QString::fromStdString(text));
}

// ---- The clipboard history -----------------------------------------------------------------

void TTarnwickEditor::AddClipHistory(const std::string& text) {
    clipHistory_.AddClip(text);
}

TClipHistory& TTarnwickEditor::ClipHistoryDialog() {
    if (!clipDialog_) clipDialog_ = new TClipHistory(clipHistory_, this);
    return *clipDialog_;
}

void TTarnwickEditor::ShowClipHistory() {
    TClipHistory& dialog = ClipHistoryDialog();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

}  // namespace tw
