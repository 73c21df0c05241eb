/** @file "オートバックアップ履歴": the automatic backups by day, document and time. */
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "dialogs/BackupHistory.h"

class QFileDialog;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace tw {

/// "保存履歴": the dated backups, to open, save elsewhere or delete.
class TSaveHistory : public QDialog {
    Q_OBJECT
  public:
    TSaveHistory(IBackupHistoryHost& host, std::string programFolder, QWidget* parent = nullptr);

    QTreeWidget* TreeDate;
    QListWidget* ListFiles;
    QPushButton *btOpenFile, *btSaveFile, *btDeleteFile, *btDeleteAll, *btReSearch, *btClose;
    QFileDialog* SaveDialog;

    /// Fills the tree from the store: days, and under each its documents.
    void EnumFiles();
    /// Fills the list with the time stamps of `fileName`'s backups of `day`.
    void SearchFiles(const std::string& day, const std::string& fileName);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void TreeDateChange();
    void btOpenFileClick();
    void btSaveFileClick();
    void btDeleteFileClick();
    void btDeleteAllClick();
    void btReSearchClick();
    /// The selected backup's path, after telling the user when none is selected.
    std::optional<std::string> SelectedBackup();
    IBackupHistoryHost& host_;
    std::string programFolder_;
    /// What the list was filled for (file system bytes).
    std::string listedDay_, listedFile_;
};

}  // namespace tw
