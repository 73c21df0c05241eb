/** @file "プリント設定": the print font, size, colour and copies, and printing itself. */
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace tw {

class TUpDown;
class TVellEdit;

/// Prints a document as plain text in a font of its own. The font is taken
/// from the document at each showing; the number of copies stays for the run.
class TPrintDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TPrintDialog(QWidget* parent = nullptr);
    ~TPrintDialog() override;

    /// The document "印刷実行" prints and whose font the dialog shows; its
    /// file name suggests the name of a PDF file.
    void SetDocument(const TVellEdit* edit, const std::string& fileName);
    /// Made at the first use: finding the printers asks the print system.
    QPrinter& Printer();
    /// Asks for the PDF file a print goes to when the printer is a file;
    /// empty when the user cancels. Tests answer it themselves.
    std::function<QString(const QString& suggested)> ChoosePdfFile;

    void FormShow();
    void btFontClick();
    void btOptionClick();
    /// Prints every copy and closes. A printer error is raised to the
    /// program's error message and the dialog stays open.
    void btPrintExecuteClick();

    QPushButton* btFont;
    QLabel* lbFont;
    QLineEdit* edSize;
    TUpDown* btSizeUpDown;
    QLabel* lbColor;
    QLineEdit* edPrintNum;
    TUpDown* btNumUpDown;
    QPushButton* btOption;
    QPushButton* btPrintExecute;
    QPushButton* btCancel;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowFont(const std::string& name, uint8_t style);
    void ShowColor(const QColor& color);
    /// The font of lbFont at the size of btSizeUpDown.
    QFont PrintFont() const;
    QString SuggestedPdfName() const;

    const TVellEdit* edit_ = nullptr;
    std::string fileName_;
    std::string fontName_;
    uint8_t fontStyle_ = 0;
    QColor color_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace tw
