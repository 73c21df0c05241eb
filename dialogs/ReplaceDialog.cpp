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
    Rep = new QPushButton(QStringLiteral("置換"), this);
    AllReprace = new QPushButton(QStringLiteral("全て置換"), this);
    Search = new QLineEdit(this);
    RePlace = new QLineEdit(this);
    CheckReplace = new QCheckBox(QStringLiteral("置き換えの確認をしない"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("検索文字"), this), 0, 0);
    layout->addWidget(Search, 0, 1);
    layout->addWidget(Rep, 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("置換文字"), this), 1, 0);
    layout->addWidget(RePlace, 1, 1);
    layout->addWidget(AllReprace, 1, 2);
    layout->addWidget(ShereUL, 2, 0, 1, 2);
    layout->addWidget(Cancel, 2, 2);
    layout->addWidget(Directions(), 3, 0, 1, 2);
    layout->addWidget(CheckReplace, 4, 0, 1, 3);
    SetTabOrder(
        {Cancel, ShereUL, Rep, AllReprace, Search, RePlace, CheckReplace, ShUp, ShDown, ShAll});

    for (QPushButton* b : {Rep, AllReprace})
        b->setAutoDefault(false);
    connect(Rep, &QPushButton::clicked, this, [this] { OnChangeProc(false); });
    connect(AllReprace, &QPushButton::clicked, this, [this] { OnChangeProc(true); });
}

void TRePlaceDialog::SetSearchBytes(std::string_view bytes) {
    Search->setText(searchBytes_.Fill(bytes));
}

void TRePlaceDialog::OnChangeProc(bool all) {
    const std::string search = searchBytes_.Of(Search->text());
    RunReplace(docs_, options_, state_, Request(search, false), ToDocumentBytes(RePlace->text()),
               !CheckReplace->isChecked(), all);
}

void TRePlaceDialog::showEvent(QShowEvent* event) {
    SearchDialog::showEvent(event);
    Search->setFocus();
}

void TRePlaceDialog::keyPressEvent(QKeyEvent* event) {
    // Enter means nothing here: no button is the default.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    SearchDialog::keyPressEvent(event);
}

}  // namespace tw
