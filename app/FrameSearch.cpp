// The frame's find, replace and go-to-line dialogs and the documents they search.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>

#include "app/FrameWindow.h"
#include "app/TabStrip.h"
#include "dialogs/FindDialog.h"
#include "dialogs/ReplaceDialog.h"
#include "documents/DocumentWindow.h"

namespace tw {

namespace {

/// The frame's document table as the search dialogs walk it.
class FrameDocuments : public ISearchDocuments {
  public:
    explicit FrameDocuments(TTarnwickEditor& frame) : frame_(frame) {}
    int Count() const override { return frame_.DocumentCount(); }
    int Active() const override { return frame_.ChildIndex(); }
    TVellEdit& Editor(int number) override { return frame_.Document(number)->Edit(); }
    TFindMatcher& Matcher(int number) override { return frame_.Document(number)->Matcher; }
    void Focus(int number) override { frame_.Document(number)->mmText->setFocus(); }
    void GoTop(int number) override { frame_.Document(number)->View().GoTop(); }
    void GoBottom(int number) override { frame_.Document(number)->View().GoBottom(); }
    void Redraw(int number) override { frame_.Document(number)->View().Redraw(); }
    void Settle() override { QApplication::processEvents(); }

  private:
    TTarnwickEditor& frame_;
};

void CheckDirection(SearchDialog& dialog, FindShow how) {
    if (how == FindShow::Up) dialog.UpwardButton->setChecked(true);
    if (how == FindShow::Down) dialog.DownwardButton->setChecked(true);
}

void ShowInFront(SearchDialog& dialog) {
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

}  // namespace

void TTarnwickEditor::CreateSearchDialogs() {
    searchDocuments_ = std::make_unique<FrameDocuments>(*this);
    findDialog_ = new TFindDialog(*searchDocuments_, findOptions_, options_.FindHistory, this);
    replaceDialog_ = new TRePlaceDialog(*searchDocuments_, findOptions_, replaceState_, this);
    // The two are never open together.
    connect(findDialog_, &TFindDialog::showing, this, [this] {
        if (replaceDialog_->isVisible()) replaceDialog_->close();
    });
    connect(replaceDialog_, &TRePlaceDialog::showing, this, [this] {
        if (findDialog_->isVisible()) findDialog_->close();
    });
}

bool TTarnwickEditor::ReplaceShowing() const {
    return replaceDialog_ && replaceDialog_->isVisible();
}

void TTarnwickEditor::ShowFindDialog(FindShow how, const std::string& selected) {
    CheckDirection(*findDialog_, how);
    if (how == FindShow::Selected) findDialog_->SetSearchBytes(selected);
    ShowInFront(*findDialog_);
    // Showing refills the list, which may take the box's text along.
    if (how == FindShow::Selected) findDialog_->SetSearchBytes(selected);
}

void TTarnwickEditor::ShowReplaceDialog(FindShow how, const std::string& selected) {
    CheckDirection(*replaceDialog_, how);
    if (how == FindShow::Selected) {
        replaceDialog_->SetSearchBytes(selected);
        replaceDialog_->exec();
        return;
    }
    ShowInFront(*replaceDialog_);
}

void TTarnwickEditor::BringToFront(TMDIChild& child) {
    // Every search hit asks for its window. Mostly it is in front already,
    // and repainting the tabs for each of ten thousand replacements took
    // longer than the replacing.
    const QMdiSubWindow* sub = SubWindowOf(&child);
    if (sub && childIndex_ == child.Tag && mdi_->activeSubWindow() == sub && !sub->isMinimized()) {
        if (!tabs_->TabClicked()) tabs_->ScrollTabIntoView(child.Tag);
        child.mmText->setFocus();
        return;
    }
    BringDocumentToFront(child.Tag);
}

}  // namespace tw
