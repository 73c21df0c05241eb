#include "dialogs/SaveHistoryDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>

#include "platform/MessageBox.h"
#include "settings/BackupStore.h"
#include "textstore/SafeFileWriter.h"

namespace tw {

namespace {

// Names are file system bytes; the items keep them beside the shown text,
// which is only the locale's reading of them.
constexpr int kBytesRole = Qt::UserRole;

QString Shown(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string BytesOf(const QTreeWidgetItem* item) {
    return item->data(0, kBytesRole).toByteArray().toStdString();
}

QPushButton* MakeButton(QWidget* parent, const char* caption, const char* tip) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setToolTip(QString::fromUtf8(tip));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TSaveHistory::TSaveHistory(IBackupHistoryHost& host, std::string programFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      host_(host),
      programFolder_(std::move(programFolder)) {
    setWindowTitle(QStringLiteral("オートバックアップ履歴"));
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    setFont(font);

    TreeDate = new QTreeWidget(this);
    TreeDate->setHeaderHidden(true);
    TreeDate->setIndentation(19);
    ListFiles = new QListWidget(this);
    ListFiles->setFlow(QListView::TopToBottom);
    ListFiles->setWrapping(true);
    btOpenFile = MakeButton(this, "開く", "選択中のファイルを開く");
    btSaveFile = MakeButton(this, "保存", "選択中のファイルを名前をつけて保存する");
    btDeleteFile = MakeButton(this, "削除", "選択中のファイルを削除する");
    btDeleteAll = MakeButton(this, "全削除", "全ての履歴を削除する");
    btReSearch = MakeButton(this, "再検索", "履歴を再検索する");
    btClose = MakeButton(this, "閉じる", "ウィンドウを閉じる");
    SaveDialog = new QFileDialog(this);
    SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog->setDefaultSuffix(QStringLiteral("txt"));

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {btOpenFile, btSaveFile, btDeleteFile, btDeleteAll, btReSearch})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(btClose);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(TreeDate, 3);
    layout->addWidget(ListFiles, 2);
    layout->addLayout(buttons);
    setFixedSize(437, 237);

    connect(TreeDate, &QTreeWidget::currentItemChanged, this, [this] { TreeDateChange(); });
    connect(btOpenFile, &QPushButton::clicked, this, [this] { btOpenFileClick(); });
    connect(btSaveFile, &QPushButton::clicked, this, [this] { btSaveFileClick(); });
    connect(btDeleteFile, &QPushButton::clicked, this, [this] { btDeleteFileClick(); });
    connect(btDeleteAll, &QPushButton::clicked, this, [this] { btDeleteAllClick(); });
    connect(btReSearch, &QPushButton::clicked, this, [this] { btReSearchClick(); });
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TSaveHistory::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Every showing is a fresh look at the disk.
    btReSearchClick();
}

void TSaveHistory::EnumFiles() {
    for (const BackupDay& day : EnumBackupDays(BackupRoot(programFolder_))) {
        auto* dayItem = new QTreeWidgetItem(TreeDate, {Shown(day.name)});
        dayItem->setData(0, kBytesRole, QByteArray::fromStdString(day.name));
        for (const std::string& file : day.files) {
            auto* fileItem = new QTreeWidgetItem(dayItem, {Shown(file)});
            fileItem->setData(0, kBytesRole, QByteArray::fromStdString(file));
        }
    }
}

void TSaveHistory::SearchFiles(const std::string& day, const std::string& fileName) {
    ListFiles->clear();
    listedDay_ = day;
    listedFile_ = fileName;
    const std::string dayDir = (std::filesystem::path(BackupRoot(programFolder_)) / day).string();
    for (const std::string& time : SearchBackupTimes(dayDir, fileName)) {
        auto* item = new QListWidgetItem(Shown(time), ListFiles);
        item->setData(kBytesRole, QByteArray::fromStdString(time));
    }
}

void TSaveHistory::TreeDateChange() {
    const QTreeWidgetItem* item = TreeDate->currentItem();
    if (!item || !item->parent()) return;
    SearchFiles(BytesOf(item->parent()), BytesOf(item));
}

std::optional<std::string> TSaveHistory::SelectedBackup() {
    // The list names the backups of the document it was filled for, whatever
    // node of the tree is current now.
    const QList<QListWidgetItem*> times = ListFiles->selectedItems();
    if (times.isEmpty()) {
        host_.Messages().Show(kSelectFileMessage, "Tarnwick Editor", MessageButtons::Ok,
                              MessageIcon::Information);
        return std::nullopt;
    }
    return BackupFilePath(programFolder_, listedDay_,
                          times.first()->data(kBytesRole).toByteArray().toStdString(), listedFile_);
}

void TSaveHistory::btOpenFileClick() {
    const std::optional<std::string> path = SelectedBackup();
    if (!path) return;
    std::string bytes;
    try {
        bytes = ReadWholeFile(*path);
    } catch (const std::exception& e) {
        host_.Messages().Show(e.what(), "Tarnwick Editor", MessageButtons::Ok,
                              MessageIcon::Warning);
        return;
    }
    accept();
    host_.OpenBackupText(bytes);
}

void TSaveHistory::btSaveFileClick() {
    const std::optional<std::string> path = SelectedBackup();
    if (!path) return;
    SaveDialog->setDefaultSuffix(Shown(FileExtension(listedFile_)).mid(1));
    SaveDialog->selectFile(Shown(listedFile_));
    if (SaveDialog->exec() != QDialog::Accepted || SaveDialog->selectedFiles().isEmpty()) return;
    const std::string target = QFile::encodeName(SaveDialog->selectedFiles().first()).toStdString();
    // A copy that did not happen must not pass for one; and a file replaced
    // by the copy is never left half written.
    try {
        const std::string bytes = ReadWholeFile(*path);
        SafeFileWriter out(target);
        out.Write(bytes);
        out.Commit();
    } catch (const std::exception&) {
        host_.Messages().Show(target + " の保存に失敗しました。", "Tarnwick Editor",
                              MessageButtons::Ok, MessageIcon::Warning);
    }
}

void TSaveHistory::btDeleteFileClick() {
    const std::optional<std::string> path = SelectedBackup();
    if (!path) return;
    std::error_code ec;
    std::filesystem::remove(*path, ec);
    btReSearchClick();
}

void TSaveHistory::btDeleteAllClick() {
    if (host_.Messages().Show(kDeleteAllQuestion, kDeleteAllCaption, MessageButtons::YesNo,
                              MessageIcon::Question) != MessageAnswer::Yes)
        return;
    DeleteStoreFolder(BackupRoot(programFolder_));
    btReSearchClick();
}

void TSaveHistory::btReSearchClick() {
    TreeDate->clear();
    ListFiles->clear();
    EnumFiles();
}

}  // namespace tw
