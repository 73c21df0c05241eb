/** @file Up-down buttons that step a number within limits, beside the field showing it. */
#pragma once

#include <QWidget>

class QToolButton;

namespace tw {

/// Holds a position from Min to Max; the buttons step it by one and stop at
/// the ends. Clicked tells of each step the user made.
class TUpDown : public QWidget {
    Q_OBJECT
  public:
    TUpDown(int min, int max, QWidget* parent = nullptr);
    int Position() const { return position_; }
    /// Moves to `value`, limited to Min..Max.
    void SetPosition(int value);
    QToolButton* Up;
    QToolButton* Down;

  signals:
    void Clicked();

  private:
    void Step(int by);

    int min_;
    int max_;
    int position_;
};

}  // namespace tw
