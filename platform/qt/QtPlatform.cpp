#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProxyStyle>

#include "platform/codec/Cp932Codec.h"

namespace tw {

namespace {

QMessageBox::StandardButtons ButtonsFor(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::YesNoAbortAll:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort | QMessageBox::YesToAll;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconFor(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None:
            return QMessageBox::NoIcon;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer AnswerFor(int button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Abort:
            return MessageAnswer::Abort;
        case QMessageBox::YesToAll:
            return MessageAnswer::All;
        default:
            break;
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
}

/// Other programs break lines with LF (or CR, or CR LF); in the editor's
/// text every break is CR LF.
std::string WithCrLfBreaks(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 16);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            out += "\r\n";
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

MessageAnswer QtMessageBox::Show(const std::string& text, const std::string& caption,
                                 MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(IconFor(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    ButtonsFor(buttons), parent_);
    return AnswerFor(box.exec(), buttons);
}

void QtMessageBox::Beep() {
    QApplication::beep();
}

void QtClipboard::SetText(std::string_view cp932) {
    auto* mime = new QMimeData();
    mime->setData(QString::fromLatin1(kCp932Mime),
                  QByteArray(cp932.data(), static_cast<qsizetype>(cp932.size())));
    std::u16string text = cp932::Decode(cp932);
    mime->setText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    QGuiApplication::clipboard()->setMimeData(mime);
}

std::optional<std::string> QtClipboard::GetText() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime) return std::nullopt;
    const QString raw = QString::fromLatin1(kCp932Mime);
    if (mime->hasFormat(raw)) {
        QByteArray bytes = mime->data(raw);
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    if (!mime->hasText()) return std::nullopt;
    QString text = mime->text();
    return WithCrLfBreaks(cp932::Encode(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()))));
}

QString InstalledFontFamily(std::string_view cp932Name) {
    const std::u16string name = cp932::Decode(cp932Name);
    const QString family = QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
    if (family.isEmpty() || !QFontDatabase::hasFamily(family))
        return QString::fromLatin1(kDefaultFontFamily);
    return family;
}

void QtTextMetrics::SetFont(const QFont& font) {
    const QFontMetrics fm(font);
    metrics_.height = fm.height();
    metrics_.ascent = fm.ascent();
    metrics_.aveCharWidth = std::max(1, fm.horizontalAdvance(QLatin1Char('0')));
}

int QtTextMetrics::TextWidth(std::string_view cp932) const {
    // One cell per byte: a double-byte character is two cells wide.
    return static_cast<int>(cp932.size()) * metrics_.aveCharWidth;
}

QtTimer::QtTimer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (tick_) tick_();
    });
}

void QtTimer::Start(int intervalMs, std::function<void()> tick) {
    tick_ = std::move(tick);
    timer_.start(intervalMs);
}

bool QtKeyboardState::ShiftDown() const {
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}
bool QtKeyboardState::ControlDown() const {
    return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
}
bool QtKeyboardState::AltDown() const {
    return QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier;
}

bool IsMenuKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_Menu) return mods == Qt::NoModifier;
    return event.key() == Qt::Key_F10 && mods == Qt::ShiftModifier;
}

namespace {

class SteppableMenuStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void LetKeysStepOnDisabledEntries(QMenu& menu) {
    // One style for all menus, owned by the application; a proxy without a
    // base follows the application's style.
    static QPointer<SteppableMenuStyle> style;
    if (!style) {
        style = new SteppableMenuStyle;
        style->setParent(qApp);
    }
    menu.setStyle(style);
    for (QAction* a : menu.actions())
        if (a->menu()) LetKeysStepOnDisabledEntries(*a->menu());
}

}  // namespace tw
