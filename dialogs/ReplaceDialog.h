/** @file "置換": replaces one hit at a time or all of them in the active document. */
#pragma once

#include "dialogs/SearchDialog.h"

class QLineEdit;

namespace tw {

/// "置換": the replace dialog, modeless, shared by every document window.
class TRePlaceDialog : public SearchDialog {
    Q_OBJECT
  public:
    TRePlaceDialog(ISearchDocuments& docs, FindOptions& options, ReplaceState& state,
                   QWidget* parent = nullptr);

    QPushButton* ReplaceButton;
    QPushButton* ReplaceAllButton;
    QLineEdit* SearchText;
    QLineEdit* ReplacementText;
    QCheckBox* NoConfirmBox;

    void Replace(bool all);
    /// "選択文字列を置換": the selection (cp932) into the search box.
    void SetSearchBytes(std::string_view bytes);

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ReplaceState& state_;
};

}  // namespace tw
