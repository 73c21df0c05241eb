#include "TextPreviewWindow.h"

#include <QFont>

#include "Cp932Codec.h"
#include "VellStrings.h"

namespace tw {

TextPreviewWindow::TextPreviewWindow() {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("IPAGothic"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(16);
    setFont(font);
}

bool TextPreviewWindow::Load(const std::string& fileName) {
    TVellStrings store;
    try {
        store.LoadFromFile(fileName);
    } catch (const std::exception&) {
        return false;
    }
    std::u16string text = cp932::Decode(store.GetText());
    setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

}  // namespace tw
