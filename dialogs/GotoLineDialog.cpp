#include "dialogs/GotoLineDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tw {

TFindLines::TFindLines(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("指定行へ移動"));
    LineText = new QLineEdit(this);
    MoveButton = new QPushButton(QStringLiteral("移動(&M)"), this);
    Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(MoveButton);
    buttons->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LineText);
    layout->addLayout(buttons);
    // Enter in the field moves; the buttons themselves are no default.
    MoveButton->setAutoDefault(false);
    Cancel->setAutoDefault(false);
    connect(LineText, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(MoveButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel, &QPushButton::clicked, this, [this] {
        LineText->clear();
        reject();
    });
    setFixedSize(sizeHint());
}

void TFindLines::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    LineText->setFocus();
}

void TFindLines::keyPressEvent(QKeyEvent* event) {
    // Esc closes and keeps what was typed, which the command then acts on.
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tw
