#include "dialogs/ReplaceDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tw {

TRePlaceDialog::TRePlaceDialog(ISearchDocuments& docs, FindOptions& options, ReplaceState& state,
                               QWidget* parent)
    : SearchDialog(docs, options, QStringLiteral("置換"), parent), state_(state) {
    ReplaceButton = new QPushButton(QStringLiteral("置換"), this);
    ReplaceAllButton = new QPushButton(QStringLiteral("全て置換"), this);
    SearchText = new QLineEdit(this);
    ReplacementText = new QLineEdit(this);
    NoConfirmBox = new QCheckBox(QStringLiteral("置き換えの確認をしない"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("検索文字"), this), 0, 0);
    layout->addWidget(SearchText, 0, 1);
    layout->addWidget(ReplaceButton, 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("置換文字"), this), 1, 0);
    layout->addWidget(ReplacementText, 1, 1);
    layout->addWidget(ReplaceAllButton, 1, 2);
    layout->addWidget(MatchCaseBox, 2, 0, 1, 2);
    layout->addWidget(Cancel, 2, 2);
    layout->addWidget(Directions(), 3, 0, 1, 2);
    layout->addWidget(NoConfirmBox, 4, 0, 1, 3);
    SetTabOrder({Cancel, MatchCaseBox, ReplaceButton, ReplaceAllButton, SearchText, ReplacementText,
                 NoConfirmBox, UpwardButton, DownwardButton, FromTopButton});

    for (QPushButton* b : {ReplaceButton, ReplaceAllButton})
        b->setAutoDefault(false);
    connect(ReplaceButton, &QPushButton::clicked, this, [this] { Replace(false); });
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { Replace(true); });
}

void TRePlaceDialog::SetSearchBytes(std::string_view bytes) {
    SearchText->setText(searchBytes_.Fill(bytes));
}

void TRePlaceDialog::Replace(bool all) {
    const std::string search = searchBytes_.Of(SearchText->text());
    RunReplace(docs_, options_, state_, Request(search, false),
               Cp932FromQString(ReplacementText->text()), !NoConfirmBox->isChecked(), all);
}

void TRePlaceDialog::showEvent(QShowEvent* event) {
    SearchDialog::showEvent(event);
    SearchText->setFocus();
}

void TRePlaceDialog::keyPressEvent(QKeyEvent* event) {
    // Enter means nothing here: no button is the default.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    SearchDialog::keyPressEvent(event);
}

}  // namespace tw
