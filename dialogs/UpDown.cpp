#include "dialogs/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tw {

namespace {

QToolButton* Arrow(Qt::ArrowType arrow, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(16, 11);
    return b;
}

}  // namespace

TUpDown::TUpDown(int min, int max, QWidget* parent)
    : QWidget(parent), min_(min), max_(max), position_(min) {
    Up = Arrow(Qt::UpArrow, this);
    Down = Arrow(Qt::DownArrow, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Up);
    layout->addWidget(Down);
    connect(Up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(Down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::SetPosition(int value) {
    position_ = std::clamp(value, min_, max_);
}

void TUpDown::Step(int by) {
    SetPosition(position_ + by);
    emit Clicked();
}

}  // namespace tw
