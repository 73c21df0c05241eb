/** @file "置換": replaces one hit at a time or all of them in the active document. */
#pragma once

#include <QDialog>

#include "dialogs/DialogText.h"
#include "search/FindRun.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tw {

class DirectionGroup;

class TRePlaceDialog : public QDialog {
    Q_OBJECT
  public:
    TRePlaceDialog(ISearchDocuments& docs, FindOptions& options, ReplaceState& state,
                   QWidget* parent = nullptr);

    QPushButton* Cancel;
    QCheckBox* ShereUL;
    QRadioButton *ShUp, *ShDown, *ShAll;
    QPushButton* Rep;
    QPushButton* AllReprace;
    QLineEdit* Search;
    QLineEdit* RePlace;
    QCheckBox* CheckReplace;

    void OnChangeProc(bool all);
    /// "選択文字列を置換": the selection (cp932) into the search box.
    void SetSearchBytes(std::string_view bytes);

  signals:
    /// The dialog is about to show; the find dialog must go.
    void showing();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ISearchDocuments& docs_;
    DirectionGroup* directions_ = nullptr;
    FindOptions& options_;
    ReplaceState& state_;
    FieldBytes searchBytes_;
};

}  // namespace tw
