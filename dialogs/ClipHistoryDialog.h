/** @file The window "クリップボード履歴": the copied texts, to view, edit and copy back. */
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "dialogs/DialogText.h"
#include "platform/qt/QtPlatform.h"

class QAction;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tw {

struct ClipHistory;

/// "クリップボード履歴": the last texts copied or cut, to paste again.
class TClipHistory : public QDialog {
    Q_OBJECT
  public:
    /// `history` is the frame's, read at each showing.
    TClipHistory(ClipHistory& history, QWidget* parent);

    QListWidget* ClipList;
    QPlainTextEdit* ClipText;
    QPushButton *Button5, *Button1, *Button3, *Button4, *Button6;
    QMenu* TextMenu;
    QAction *Copy1, *Delete1, *N1;

    /// Word wrap of the memo, which "折り返し" toggles.
    bool Wrapping() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void CreateTextMenu();
    void FormShow();
    void ClipListClick();
    /// "コピー": the memo's whole text, edits included, onto the clipboard.
    void Button5Click();
    /// "全削除": the history is emptied without asking.
    void Button3Click();
    void Button4Click();
    void Copy1Click();
    /// The memo's text as document bytes, CR LF breaks.
    std::string MemoBytes(const QString& text) const;

    ClipHistory& history_;
    /// The entries as the list shows them: the list is a snapshot taken when
    /// the window is shown, and a click shows the entry its line stands for
    /// even when copies made since have moved the history on.
    std::vector<std::string> shown_;
    FieldBytes memoBytes_;
    QtClipboard clipboard_;
};

}  // namespace tw
