/** @file An editor window shown on the offscreen platform, with the focus. */
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include "editor/qt/VellEditWidget.h"

namespace tw::test {

class ShownEditWidget : public ::testing::Test {
  protected:
    void SetUp() override {
        w.resize(640, 400);
        w.show();
        w.setFocus();
        QApplication::processEvents();
    }

    VellEditWidget w;
};

}  // namespace tw::test
