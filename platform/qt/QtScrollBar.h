/** @file A scroll bar of the editor view over a QScrollBar. */
#pragma once

#include "platform/ViewHost.h"

class QScrollBar;

namespace tw {

/// A scroll bar of the control over a QScrollBar child.
class QtScrollBar : public IScrollBar {
  public:
    explicit QtScrollBar(QScrollBar* bar) : bar_(bar) {}
    void SetRange(int min, int max, bool redraw) override;
    void SetPos(int pos, bool redraw) override;
    int Pos() const override { return pos_; }
    void Enable(bool arrows) override;
    void Show(bool visible) override;
    bool Wanted() const { return wanted_; }

  private:
    QScrollBar* bar_;
    int pos_ = 0;
    bool wanted_ = true;
};

}  // namespace tw
