/** @file "検索": the one modeless find window of the program. */
#pragma once

#include "dialogs/SearchDialog.h"
#include "settings/OptionData.h"

class QComboBox;

namespace tw {

/// "検索": the find dialog, modeless, shared by every document window.
class TFindDialog : public SearchDialog {
    Q_OBJECT
  public:
    TFindDialog(ISearchDocuments& docs, FindOptions& options, ShortStringHistory& history,
                QWidget* parent = nullptr);

    QComboBox* SearchText;
    QPushButton* FindButton;
    QPushButton* ClearHistoryButton;
    QCheckBox* AllFilesBox;

    void FindClick();
    void ClearHistoryClick();
    /// "選択文字列を検索": the selection (cp932) into the search box.
    void SetSearchBytes(std::string_view bytes);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// The history into the drop-down list: every slot with `blanksToo`,
    /// else up to the first empty one.
    void FillList(bool blanksToo);

    ShortStringHistory& history_;
};

}  // namespace tw
