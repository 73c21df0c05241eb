#include "dialogs/ClipHistoryDialog.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/Cp932QString.h"
#include "settings/ClipHistory.h"

namespace tw {

namespace {

/// The memo breaks lines at LF; the documents at CR LF.
QString MemoForm(std::string_view bytes) {
    return QStringFromCp932(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString WithCrLf(QString text) {
    return text.replace(QChar(0x2029), QChar('\n')).replace(QChar('\n'), QStringLiteral("\r\n"));
}

/// Line breaks and other control bytes would make a list line unreadable.
QString ListLine(std::string_view entry) {
    QString line = QStringFromCp932(ClipListLine(entry));
    for (QChar& c : line)
        if (c.unicode() < 0x20) c = QChar(' ');
    return line;
}

QPushButton* Button(const char* caption, const char* tip, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setToolTip(QString::fromUtf8(tip));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TClipHistory::TClipHistory(ClipHistory& history, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      history_(history) {
    setWindowTitle(QStringLiteral("クリップボード履歴"));
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    setFont(font);

    ClipList = new QListWidget(this);
    ClipList->setFixedWidth(170);
    ClipText = new QPlainTextEdit(this);
    ClipText->setTabChangesFocus(false);
    ClipText->setLineWrapMode(QPlainTextEdit::NoWrap);
    ClipText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ClipText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Button5 = Button("コピー", "選択中のテキストをクリップボードに貼り付ける", this);
    Button1 = Button("空にする", "現在のクリップボードを空にする", this);
    Button3 = Button("全削除", "全てのクリップボード履歴を削除する", this);
    Button4 = Button("折り返し", "テキストを右端で折り返す", this);
    Button6 = Button("閉じる", "ウィンドウを閉じる", this);

    auto* lists = new QHBoxLayout;
    lists->addWidget(ClipList);
    lists->addWidget(ClipText, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button5, Button1, Button3, Button4})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(Button6);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    setFixedSize(509, 257);

    CreateTextMenu();
    // A click on the line already chosen shows its entry again, memo edits undone.
    connect(ClipList, &QListWidget::currentRowChanged, this, [this] { ClipListClick(); });
    connect(ClipList, &QListWidget::itemClicked, this, [this] { ClipListClick(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(Button1, &QPushButton::clicked, this, [] { QGuiApplication::clipboard()->clear(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button6, &QPushButton::clicked, this, &QDialog::close);
}

void TClipHistory::CreateTextMenu() {
    TextMenu = new QMenu(this);
    Copy1 = TextMenu->addAction(QStringLiteral("コピー"));
    Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    Delete1 = TextMenu->addAction(QStringLiteral("削除"));
    Delete1->setShortcut(QKeySequence(Qt::Key_Delete));
    TextMenu->addSeparator();
    N1 = TextMenu->addAction(QStringLiteral("全て選択"));
    N1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(Copy1, &QAction::triggered, this, [this] { Copy1Click(); });
    connect(Delete1, &QAction::triggered, this,
            [this] { ClipText->textCursor().removeSelectedText(); });
    connect(N1, &QAction::triggered, ClipText, &QPlainTextEdit::selectAll);
    ClipText->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ClipText, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { TextMenu->popup(ClipText->mapToGlobal(at)); });
}

bool TClipHistory::Wrapping() const {
    return ClipText->lineWrapMode() != QPlainTextEdit::NoWrap;
}

void TClipHistory::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TClipHistory::FormShow() {
    ClipText->setFocus();
    ClipList->clear();
    ClipText->clear();
    memoBytes_.Fill({});
    shown_ = history_.ClipItems;
    for (const std::string& entry : shown_)
        ClipList->addItem(ListLine(entry));
}

void TClipHistory::ClipListClick() {
    const int row = ClipList->currentRow();
    if (row < 0 || row >= static_cast<int>(shown_.size())) return;
    memoBytes_.Fill(shown_[static_cast<size_t>(row)]);
    ClipText->setPlainText(MemoForm(shown_[static_cast<size_t>(row)]));
}

std::string TClipHistory::MemoBytes(const QString& text) const {
    return memoBytes_.Of(WithCrLf(text));
}

void TClipHistory::Button5Click() {
    clipboard_.SetText(MemoBytes(ClipText->toPlainText()));
}

void TClipHistory::Button3Click() {
    ClipList->clear();
    ClipText->clear();
    shown_.clear();
    history_.Clear();
}

void TClipHistory::Button4Click() {
    const bool wrap = !Wrapping();
    ClipText->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    ClipText->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

void TClipHistory::Copy1Click() {
    const QString selected = ClipText->textCursor().selectedText();
    clipboard_.SetText(Cp932FromQString(WithCrLf(selected)));
    setWindowTitle(selected);
}

}  // namespace tw
