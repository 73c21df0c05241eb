// The frame's find, replace and go-to-line dialogs and the documents they search.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/FrameWindow.h"
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
    void RefreshView(int number) override { frame_.Document(number)->View().RefreshView(); }
    void Settle() override { QApplication::processEvents(); }

  private:
    TTarnwickEditor& frame_;
};

void CheckDirection(SearchDialog& dialog, FindShow how) {
    if (how == FindShow::Up) dialog.ShUp->setChecked(true);
    if (how == FindShow::Down) dialog.ShDown->setChecked(true);
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
    BringDocumentToFront(child.Tag);
}

}  // namespace tw
