#include "EditorDocument.h"

#include <QCloseEvent>
#include <QFileDialog>

#include "LoadTextFile.h"

namespace tw {

EditorDocument::EditorDocument(std::string fileName, bool isNew)
    : fileName_(std::move(fileName)),
      isNew_(isNew),
      ownMessages_(std::make_unique<QtMessageBox>(this)),
      messages_(ownMessages_.get()) {
    // The settings' defaults for a new window, until the settings store
    // applies its own record.
    Edit().SetShowLineNumber(true);
    Edit().SetSelColor(0x808080);
}

bool EditorDocument::Load() {
    // Documents read every break style as a line end and keep CR LF.
    try {
        Edit().SetAllText(LoadTextFile(fileName_).text);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool EditorDocument::ChooseFileName() {
    const QString chosen = QFileDialog::getSaveFileName(
        this, QStringLiteral("名前を付けて保存"), QString(),
        QStringLiteral("テキストファイル (*.txt);;全てのファイル (*)"));
    if (chosen.isEmpty()) return false;
    fileName_ = chosen.toStdString();
    isNew_ = false;
    emit fileNameChanged();
    return true;
}

bool EditorDocument::Save() {
    if (isNew_ && !ChooseFileName()) return false;
    if (!Edit().SaveToFile(fileName_)) {
        messages_->Show(fileName_ + " の保存に失敗しました。", "Tarnwick Editor",
                        MessageButtons::Ok, MessageIcon::Warning);
        return false;
    }
    // The undo history stays; only the changed mark goes.
    Edit().FModified = false;
    if (Edit().OnChangeModify) Edit().OnChangeModify(Edit(), false);
    return true;
}

bool EditorDocument::ConfirmClose() {
    if (!Edit().FModified) return true;
    switch (messages_->Show(fileName_ + " の変更を保存しますか？", "Tarnwick Editor",
                            MessageButtons::YesNoCancel, MessageIcon::Question)) {
        case MessageAnswer::Yes:
            return Save();
        case MessageAnswer::No:
            return true;
        default:
            return false;
    }
}

void EditorDocument::closeEvent(QCloseEvent* event) {
    if (ConfirmClose())
        event->accept();
    else
        event->ignore();
}

}  // namespace tw
