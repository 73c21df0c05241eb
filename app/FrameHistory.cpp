// The backup history browser and the new text it opens a backup into.
#include "app/FrameWindow.h"
#include "dialogs/SaveHistoryDialog.h"
#include "documents/DocumentWindow.h"

namespace tw {

TSaveHistory& TTarnwickEditor::SaveHistoryDialog() {
    if (!saveHistory_) saveHistory_ = new TSaveHistory(*this, programFolder_, this);
    return *saveHistory_;
}

void TTarnwickEditor::actBackUpExecute() {
    SaveHistoryDialog().exec();
}

void TTarnwickEditor::OpenBackupText(const std::string& bytes) {
    std::vector<std::string> captions;
    for (int i = 1; i <= DocumentCount(); ++i)
        captions.push_back(ChildForms[i]->Caption());
    const std::string title = BackupDocumentTitle(captions);
    OpenFile(title, true);
    // A refused open (too many windows) leaves another text in front, which
    // must not receive the backup.
    TMDIChild* child = ActiveChild();
    if (!child || child->Caption() != title) return;
    child->Edit().ReplaceRange(bytes, -1, -1, -1, -1);
    child->View().GoTop();
}

}  // namespace tw
