#include "dialogs/FindDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "search/FindHistory.h"

namespace tw {

TFindDialog::TFindDialog(ISearchDocuments& docs, FindOptions& options, ShortStringHistory& history,
                         QWidget* parent)
    : SearchDialog(docs, options, QStringLiteral("検索"), parent), history_(history) {
    setModal(false);
    SearchText = new QComboBox(this);
    SearchText->setEditable(true);
    SearchText->setCompleter(nullptr);
    SearchText->setInsertPolicy(QComboBox::NoInsert);
    SearchText->setMinimumWidth(160);
    Find = new QPushButton(QStringLiteral("検索"), this);
    Find->setToolTip(QStringLiteral("Shiftを押しながらクリックでウィンドウを閉じます"));
    DestoryList = new QPushButton(QStringLiteral("リスト消去"), this);
    AllSearch = new QCheckBox(QStringLiteral("全てのファイルを検索"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(SearchText, 0, 0, 1, 2);
    layout->addWidget(Find, 0, 2);
    layout->addWidget(ShereUL, 1, 0, 1, 2);
    layout->addWidget(Cancel, 1, 2);
    layout->addWidget(Directions(), 2, 0, 2, 1);
    layout->addWidget(DestoryList, 2, 1);
    layout->addWidget(AllSearch, 3, 1, 1, 2);
    SetTabOrder({SearchText, Find, Cancel, ShereUL, ShUp, ShDown, ShAll, DestoryList, AllSearch});

    for (QPushButton* b : {Find, DestoryList})
        b->setAutoDefault(false);
    connect(Find, &QPushButton::clicked, this, &TFindDialog::FindClick);
    connect(DestoryList, &QPushButton::clicked, this, &TFindDialog::DestoryListClick);
    Find->installEventFilter(this);
    // Enter in the text searches, and only once: the box would otherwise
    // pass it on to the dialog as well.
    SearchText->lineEdit()->installEventFilter(this);
}

void TFindDialog::FillList(bool blanksToo) {
    const QString typed = SearchText->currentText();
    SearchText->clear();
    if (blanksToo) {
        for (const std::string& slot : history_)
            SearchText->addItem(FromDocumentBytes(slot));
    } else {
        for (const std::string& entry : ListedFindHistory(history_))
            SearchText->addItem(FromDocumentBytes(entry));
    }
    SearchText->setCurrentIndex(-1);
    SearchText->setEditText(typed);
}

void TFindDialog::showEvent(QShowEvent* event) {
    SearchDialog::showEvent(event);
    FillList(false);
    SearchText->setFocus();
}

void TFindDialog::FindClick() {
    const std::string text = searchBytes_.Of(SearchText->currentText());
    if (text.empty()) return;
    if (PushFindHistory(history_, static_cast<size_t>(SearchText->count()), text)) FillList(true);
    RunFind(docs_, options_, Request(text, AllSearch->isChecked()));
}

void TFindDialog::SetSearchBytes(std::string_view bytes) {
    SearchText->setEditText(searchBytes_.Fill(bytes));
}

void TFindDialog::DestoryListClick() {
    for (std::string& slot : history_)
        slot.clear();
    const QString typed = SearchText->currentText();
    SearchText->clear();
    SearchText->setEditText(typed);
}

void TFindDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        FindClick();
        return;
    }
    SearchDialog::keyPressEvent(event);
}

bool TFindDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SearchText->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            FindClick();
            return true;
        }
    }
    // Shift+click on "検索" searches, then closes the window.
    if (watched == Find && event->type() == QEvent::MouseButtonRelease) {
        const auto mods = static_cast<QMouseEvent*>(event)->modifiers();
        if ((mods & Qt::ShiftModifier) && !(mods & (Qt::ControlModifier | Qt::AltModifier)))
            QMetaObject::invokeMethod(this, &QDialog::close, Qt::QueuedConnection);
    }
    return SearchDialog::eventFilter(watched, event);
}

void TFindDialog::closeEvent(QCloseEvent* event) {
    for (int d = 1; d <= docs_.Count(); ++d)
        docs_.Matcher(d).ResetLastHit();
    SearchDialog::closeEvent(event);
}

}  // namespace tw
