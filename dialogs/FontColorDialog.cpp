#include "dialogs/FontColorDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tw {

TFontColorDialog::TFontColorDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("フォント"));
    Fonts = new QFontDialog(this);
    Fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    Fonts->setWindowFlags(Qt::Widget);
    // Esc in the chooser closes it as a dialog of its own; the whole dialog
    // closes with it rather than leaving an empty frame behind.
    connect(Fonts, &QDialog::finished, this, &QDialog::done);
    ColorButton = new QPushButton(this);
    ColorButton->setFixedSize(48, 20);
    connect(ColorButton, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(color_, this, QStringLiteral("色"));
        if (chosen.isValid()) SetColor(chosen);
    });
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(QStringLiteral("色"), this));
    colorRow->addWidget(ColorButton);
    colorRow->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Fonts);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
    SetColor(Qt::black);
}

QFont TFontColorDialog::SelectedFont() const {
    return Fonts->currentFont();
}

void TFontColorDialog::SetSelectedFont(const QFont& font) {
    Fonts->setCurrentFont(font);
}

void TFontColorDialog::SetColor(const QColor& color) {
    color_ = color;
    ColorButton->setStyleSheet(QStringLiteral("background-color: %1").arg(color.name()));
}

}  // namespace tw
