#include "platform/qt/QtScrollBar.h"

#include <QScrollBar>
#include <QSignalBlocker>

namespace tw {

void QtScrollBar::SetRange(int min, int max, bool) {
    const QSignalBlocker block(bar_);
    bar_->setRange(min, max);
    bar_->setValue(pos_);
}

void QtScrollBar::SetPos(int pos, bool) {
    pos_ = pos;
    const QSignalBlocker block(bar_);
    bar_->setValue(pos);
}

void QtScrollBar::Enable(bool arrows) {
    bar_->setEnabled(arrows);
}

void QtScrollBar::Show(bool visible) {
    wanted_ = visible;
    bar_->setVisible(visible);
}

}  // namespace tw
