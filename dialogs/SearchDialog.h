/** @file What the find and replace dialogs share: their frame, the case and
 *  direction choices, Cancel, Esc and what closing them ends. */
#pragma once

#include <QDialog>
#include <initializer_list>
#include <string_view>

#include "dialogs/DialogText.h"
#include "search/FindRun.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tw {

class SearchDialog : public QDialog {
    Q_OBJECT
  public:
    QPushButton* Cancel;
    QCheckBox* ShereUL;
    QRadioButton *ShUp, *ShDown, *ShAll;

  signals:
    /// The dialog is about to show; the other search dialog must go.
    void showing();

  protected:
    SearchDialog(ISearchDocuments& docs, FindOptions& options, const QString& title,
                 QWidget* parent);

    /// "上を検索", "下を検索" and "最上部から検索" in a group without caption.
    QGroupBox* Directions() const { return directions_; }
    /// Tab walks the widgets in this order.
    void SetTabOrder(std::initializer_list<QWidget*> widgets);
    /// A search for `text` with the dialog's case and direction.
    FindRequest Request(std::string_view text, bool allFiles) const;

    void showEvent(QShowEvent* event) override;
    /// Esc closes; every other key goes to the dialog.
    void keyPressEvent(QKeyEvent* event) override;
    /// The hit is no longer painted once the dialog has gone.
    void closeEvent(QCloseEvent* event) override;

    ISearchDocuments& docs_;
    FindOptions& options_;
    FieldBytes searchBytes_;

  private:
    QGroupBox* directions_;
};

}  // namespace tw
