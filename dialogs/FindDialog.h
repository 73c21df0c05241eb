/** @file "検索": the one modeless find window of the program. */
#pragma once

#include "dialogs/SearchDialog.h"
#include "settings/OptionData.h"

class QComboBox;

namespace tw {

class TFindDialog : public SearchDialog {
    Q_OBJECT
  public:
    TFindDialog(ISearchDocuments& docs, FindOptions& options, ShortStringHistory& history,
                QWidget* parent = nullptr);

    QComboBox* SearchText;
    QPushButton* Find;
    QPushButton* DestoryList;
    QCheckBox* AllSearch;

    void FindClick();
    void DestoryListClick();
    /// "選択文字列を検索": the selection (cp932) into the search box.
    void SetSearchBytes(std::string_view bytes);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FillList(bool blanksToo);

    ShortStringHistory& history_;
};

}  // namespace tw
