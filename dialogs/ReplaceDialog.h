/** @file "置換": replaces one hit at a time or all of them in the active document. */
#pragma once

#include "dialogs/SearchDialog.h"

class QLineEdit;

namespace tw {

class TRePlaceDialog : public SearchDialog {
    Q_OBJECT
  public:
    TRePlaceDialog(ISearchDocuments& docs, FindOptions& options, ReplaceState& state,
                   QWidget* parent = nullptr);

    QPushButton* Rep;
    QPushButton* AllReprace;
    QLineEdit* Search;
    QLineEdit* RePlace;
    QCheckBox* CheckReplace;

    void OnChangeProc(bool all);
    /// "選択文字列を置換": the selection (cp932) into the search box.
    void SetSearchBytes(std::string_view bytes);

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ReplaceState& state_;
};

}  // namespace tw
