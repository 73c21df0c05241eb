/** @file "指定行へ移動": asks for the line the caret should go to. */
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tw {

/// The go-to-line dialog: the line number is typed into LineText.
class TFindLines : public QDialog {
    Q_OBJECT
  public:
    explicit TFindLines(QWidget* parent = nullptr);

    QLineEdit* LineText;
    QPushButton* MoveButton;
    QPushButton* Cancel;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tw
