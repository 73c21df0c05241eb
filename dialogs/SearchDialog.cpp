#include "dialogs/SearchDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tw {

namespace {

/// A fixed dialog with only the system menu and the close box, kept above
/// the documents it searches.
constexpr Qt::WindowFlags kSearchDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                               Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                               Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;

}  // namespace

SearchDialog::SearchDialog(ISearchDocuments& docs, FindOptions& options, const QString& title,
                           QWidget* parent)
    : QDialog(parent, kSearchDialogFlags),
      docs_(docs),
      options_(options),
      directions_(new QGroupBox(this)) {
    setWindowTitle(title);
    Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    Cancel->setAutoDefault(false);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::close);
    ShereUL = new QCheckBox(QStringLiteral("大文字、小文字を区別する"), this);
    ShUp = new QRadioButton(QStringLiteral("上を検索"), directions_);
    ShDown = new QRadioButton(QStringLiteral("下を検索"), directions_);
    ShAll = new QRadioButton(QStringLiteral("最上部から検索"), directions_);
    ShAll->setChecked(true);
    auto* layout = new QVBoxLayout(directions_);
    for (QRadioButton* r : {ShUp, ShDown, ShAll}) {
        layout->addWidget(r);
        // Another direction makes the active document's next search start afresh.
        connect(r, &QRadioButton::clicked, this, [this] {
            const int active = docs_.Active();
            if (active >= 1 && active <= docs_.Count()) docs_.Matcher(active).ResetLastHit();
        });
    }
}

void SearchDialog::SetTabOrder(std::initializer_list<QWidget*> widgets) {
    for (auto it = widgets.begin(); it + 1 != widgets.end(); ++it)
        setTabOrder(*it, *(it + 1));
}

FindRequest SearchDialog::Request(std::string_view text, bool allFiles) const {
    FindDirection direction = FindDirection::Down;
    if (ShAll->isChecked())
        direction = FindDirection::FromTop;
    else if (ShUp->isChecked())
        direction = FindDirection::Up;
    return FindRequest{text, direction, ShereUL->isChecked(), allFiles};
}

void SearchDialog::showEvent(QShowEvent* event) {
    emit showing();
    QDialog::showEvent(event);
}

void SearchDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SearchDialog::closeEvent(QCloseEvent* event) {
    options_.FindActive = false;
    QDialog::closeEvent(event);
}

}  // namespace tw
