#include "dialogs/PrintDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include "dialogs/DialogText.h"
#include "dialogs/FontColorDialog.h"
#include "dialogs/PrinterCanvas.h"
#include "dialogs/UpDown.h"
#include "editor/VellEdit.h"
#include "platform/qt/Cp932QString.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/SystemColors.h"

namespace tw {

namespace {

void SetStyle(QFont& font, uint8_t style) {
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
    font.setStrikeOut(style & fsStrikeOut);
}

uint8_t StyleOf(const QFont& font) {
    return (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
           (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0);
}

QLineEdit* NumberField(const char* text, QWidget* parent) {
    auto* field = new QLineEdit(QString::fromLatin1(text), parent);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(36);
    return field;
}

QString AskPdfFile(QWidget* parent, const QString& suggested) {
    QFileDialog dialog(parent, QStringLiteral("PDF ファイルに印刷"), suggested,
                       QStringLiteral("PDF ファイル (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

TPrintDialog::TPrintDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("プリント設定"));
    QFont formFont(QStringLiteral("IPAPGothic"));
    formFont.setPixelSize(12);
    setFont(formFont);

    btFont = new QPushButton(QStringLiteral("変更"), this);
    lbFont = new QLabel(QStringLiteral("フォント"), this);
    edSize = NumberField("12", this);
    btSizeUpDown = new TUpDown(1, 100, this);
    lbColor = new QLabel(this);
    lbColor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lbColor->setAutoFillBackground(true);
    lbColor->setFixedSize(36, 18);
    edPrintNum = NumberField("1", this);
    btNumUpDown = new TUpDown(1, 100, this);
    btOption = new QPushButton(QStringLiteral("プリンタ設定"), this);
    btPrintExecute = new QPushButton(QStringLiteral("印刷実行"), this);
    btCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btPrintExecute->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(lbFont, 0, 0, 1, 4);
    grid->addWidget(btFont, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("サイズ"), this), 1, 0);
    grid->addWidget(edSize, 1, 1);
    grid->addWidget(btSizeUpDown, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("文字色"), this), 1, 3, Qt::AlignRight);
    grid->addWidget(lbColor, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("印刷枚数"), this), 2, 0);
    grid->addWidget(edPrintNum, 2, 1);
    grid->addWidget(btNumUpDown, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btOption);
    buttons->addWidget(btPrintExecute);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(btFont, &QPushButton::clicked, this, &TPrintDialog::btFontClick);
    connect(btSizeUpDown, &TUpDown::Clicked, this,
            [this] { edSize->setText(QString::number(btSizeUpDown->Position())); });
    connect(btNumUpDown, &TUpDown::Clicked, this,
            [this] { edPrintNum->setText(QString::number(btNumUpDown->Position())); });
    connect(btOption, &QPushButton::clicked, this, &TPrintDialog::btOptionClick);
    connect(btPrintExecute, &QPushButton::clicked, this, &TPrintDialog::btPrintExecuteClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    ChoosePdfFile = [this](const QString& suggested) { return AskPdfFile(this, suggested); };
    setFixedSize(sizeHint());
}

TPrintDialog::~TPrintDialog() = default;

void TPrintDialog::SetDocument(const TVellEdit* edit, const std::string& fileName) {
    edit_ = edit;
    fileName_ = fileName;
}

QPrinter& TPrintDialog::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without a print queue a printout becomes a PDF file, as elsewhere on Linux.
        if (QPrinterInfo::availablePrinters().isEmpty())
            printer_->setOutputFormat(QPrinter::PdfFormat);
    }
    return *printer_;
}

void TPrintDialog::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TPrintDialog::FormShow() {
    if (!edit_) return;
    const TVellFont& font = edit_->Font();
    ShowFont(font.Name, font.Style);
    btSizeUpDown->SetPosition(font.Size);
    edSize->setText(QString::number(btSizeUpDown->Position()));
    ShowColor(ToQColor(font.Color));
}

void TPrintDialog::ShowFont(const std::string& name, uint8_t style) {
    fontName_ = name;
    fontStyle_ = style;
    lbFont->setText(QStringFromCp932(name));
    QFont shown = font();
    shown.setFamily(InstalledFontFamily(name));
    SetStyle(shown, style);
    lbFont->setFont(shown);
}

void TPrintDialog::ShowColor(const QColor& color) {
    color_ = color;
    QPalette palette = lbColor->palette();
    palette.setColor(QPalette::Window, color);
    lbColor->setPalette(palette);
}

QFont TPrintDialog::PrintFont() const {
    QFont f(InstalledFontFamily(fontName_));
    f.setPointSize(btSizeUpDown->Position());
    SetStyle(f, fontStyle_);
    f.setKerning(false);
    return f;
}

void TPrintDialog::btFontClick() {
    TFontColorDialog dialog(this);
    dialog.SetSelectedFont(PrintFont());
    dialog.SetColor(color_);
    if (dialog.exec() != QDialog::Accepted) return;
    const QFont chosen = dialog.SelectedFont();
    ShowFont(Cp932FromQString(chosen.family()), StyleOf(chosen));
    btSizeUpDown->SetPosition(qRound(chosen.pointSizeF()));
    edSize->setText(QString::number(btSizeUpDown->Position()));
    ShowColor(dialog.Color());
}

void TPrintDialog::btOptionClick() {
    QPageSetupDialog dialog(&Printer(), this);
    dialog.exec();
}

QString TPrintDialog::SuggestedPdfName() const {
    const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(fileName_)));
    return file.dir().filePath(file.completeBaseName() + QStringLiteral(".pdf"));
}

void TPrintDialog::btPrintExecuteClick() {
    const int copies = edPrintNum->text().toInt();
    if (copies > 0 && edit_) {
        QPrinter& printer = Printer();
        if (printer.outputFormat() == QPrinter::PdfFormat) {
            const QString file = ChoosePdfFile(SuggestedPdfName());
            if (file.isEmpty()) return;
            printer.setOutputFileName(file);
        }
        QtPrinterCanvas canvas(printer);
        for (int i = 0; i < copies; ++i) {
            canvas.BeginCopy(PrintFont(), color_);
            PrinterTextDevice device(canvas);
            PrintLines(edit_->Lines(), device);
            device.Close();
            canvas.EndCopy();
        }
        canvas.Finish();
    }
    accept();
}

}  // namespace tw
