#include "app/FileDialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace tw {

namespace {

const QString kFilter = QStringLiteral("テキストファイル (*.txt);;全てのファイル (*)");

std::string Encoded(const QString& name) {
    return name.isEmpty() ? std::string() : QFile::encodeName(name).toStdString();
}

}  // namespace

std::string QtFileDialogs::OpenFileName() {
    return Encoded(
        QFileDialog::getOpenFileName(parent_, QStringLiteral("開く"), QString(), kFilter));
}

std::string QtFileDialogs::SaveFileName(const std::string& current) {
    // A file's own folder is where its new name most likely goes; a new text
    // starts in the working folder with the name suggested as a .txt.
    const QString name = QFile::decodeName(QByteArray::fromStdString(current));
    const QFileInfo info(name);
    const QString start = info.exists() ? info.absoluteFilePath() : name + QStringLiteral(".txt");
    QFileDialog dialog(parent_, QStringLiteral("名前を付けて保存"), start, kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return Encoded(dialog.selectedFiles().first());
}

}  // namespace tw
