/** @file A font dialog that also chooses the text colour. */
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;

namespace tw {

/// The desktop's font dialog has no colour, which a printout's font has: this
/// one holds Qt's font chooser and a colour button below it.
class TFontColorDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TFontColorDialog(QWidget* parent = nullptr);
    QFont SelectedFont() const;
    void SetSelectedFont(const QFont& font);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    QFontDialog* Fonts;
    QPushButton* ColorButton;

  private:
    QColor color_;
};

}  // namespace tw
