/** @file "バージョン情報": the program's name, version and support link. */
#pragma once

#include <QDialog>

class QLabel;

namespace tw {

/// "バージョン情報": the program's icon, name, version and support link.
class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ApplicationIcon;
    QLabel* URL;
    QLabel* Notice;

    /// The link's colour now, 0x00BBGGRR.
    uint32_t URLColor() const { return urlColor_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetURLColor(uint32_t color);
    void URLClick();

    uint32_t urlColor_ = 0;
};

}  // namespace tw
