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
    MoveText = new QLineEdit(this);
    Move = new QPushButton(QStringLiteral("移動(&M)"), this);
    Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Move);
    buttons->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MoveText);
    layout->addLayout(buttons);
    // Enter in the field moves; the buttons themselves are no default.
    Move->setAutoDefault(false);
    Cancel->setAutoDefault(false);
    connect(MoveText, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(Move, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel, &QPushButton::clicked, this, [this] {
        MoveText->clear();
        reject();
    });
    setFixedSize(sizeHint());
}

void TFindLines::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    MoveText->setFocus();
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
