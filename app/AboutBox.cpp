#include "app/AboutBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QUrl>

#include "documents/LinkTarget.h"
#include "platform/qt/SystemColors.h"

namespace tw {

namespace {

constexpr const char* kSupportUrl = "https://tarnwick.example.org/";
constexpr uint32_t kLinkColor = 0xFF0000;       // blue
constexpr uint32_t kLinkHoverColor = 0xF0CAA6;  // sky blue

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("バージョン情報"));
    ApplicationIcon = new QLabel(this);
    auto* name = new QLabel(QStringLiteral("MDIテキストエディター"), this);
    auto* title = new QLabel(QStringLiteral("Tarnwick Editor"), this);
    QFont serif = title->font();
    serif.setFamily(QStringLiteral("ＭＳ Ｐ明朝"));
    serif.setStyleHint(QFont::Serif);
    title->setFont(serif);
    auto* version = new QLabel(QStringLiteral("Version 1.22"), this);
    QFont versionFont = version->font();
    versionFont.setItalic(true);
    versionFont.setUnderline(true);
    version->setFont(versionFont);
    auto* support = new QLabel(QStringLiteral("サポート"), this);
    URL = new QLabel(QString::fromUtf8(kSupportUrl), this);
    QFont linkFont = URL->font();
    linkFont.setUnderline(true);
    URL->setFont(linkFont);
    URL->setCursor(Qt::PointingHandCursor);
    URL->setToolTip(QStringLiteral("サポートホームページ"));
    URL->setMouseTracking(true);
    URL->installEventFilter(this);
    SetURLColor(kLinkColor);
    auto* rights = new QLabel(QStringLiteral("Copyright (C) Tarnwick Editor developers"), this);
    Notice = new QLabel(this);
    Notice->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto* grid = new QGridLayout(this);
    grid->addWidget(ApplicationIcon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(name, 0, 1, 1, 2);
    grid->addWidget(title, 1, 1, 1, 2);
    grid->addWidget(version, 2, 1, 1, 2);
    grid->addWidget(support, 3, 1);
    grid->addWidget(URL, 3, 2);
    grid->addWidget(rights, 4, 0, 1, 3);
    grid->addWidget(Notice, 5, 0, 1, 3);
}

void TAboutBox::showEvent(QShowEvent* event) {
    ApplicationIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    Notice->setText(QStringLiteral(
        "このソフトウェアは無保証です。\n使用により生じた損害について責任を負いません。"));
    QDialog::showEvent(event);
}

void TAboutBox::SetURLColor(uint32_t color) {
    urlColor_ = color;
    QPalette palette = URL->palette();
    palette.setColor(QPalette::WindowText, ToQColor(color));
    URL->setPalette(palette);
}

void TAboutBox::URLClick() {
    // Only web and mail addresses go to the desktop; a failure is not reported.
    if (auto url = LinkTarget(URL->text().toStdString()))
        QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(*url)));
    accept();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == URL) {
        switch (event->type()) {
            case QEvent::MouseMove:
            case QEvent::Enter:
                SetURLColor(kLinkHoverColor);
                break;
            case QEvent::Leave:
                SetURLColor(kLinkColor);
                break;
            case QEvent::MouseButtonRelease:
                URLClick();
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tw
