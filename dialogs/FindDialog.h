/** @file "検索": the one modeless find window of the program. */
#pragma once

#include <QDialog>

#include "dialogs/DialogText.h"
#include "search/FindRun.h"
#include "settings/OptionData.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace tw {

class DirectionGroup;

class TFindDialog : public QDialog {
    Q_OBJECT
  public:
    TFindDialog(ISearchDocuments& docs, FindOptions& options, ShortStringHistory& history,
                QWidget* parent = nullptr);

    QComboBox* SearchText;
    QPushButton* Find;
    QPushButton* Cancel;
    QCheckBox* ShereUL;
    QRadioButton *ShUp, *ShDown, *ShAll;
    QPushButton* DestoryList;
    QCheckBox* AllSearch;

    void FindClick();
    void DestoryListClick();
    /// "選択文字列を検索": the selection (cp932) into the search box.
    void SetSearchBytes(std::string_view bytes);

  signals:
    /// The dialog is about to show; the replace dialog must go.
    void showing();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FillList(bool blanksToo);

    ISearchDocuments& docs_;
    DirectionGroup* directions_ = nullptr;
    FindOptions& options_;
    ShortStringHistory& history_;
    FieldBytes searchBytes_;
};

}  // namespace tw
