/** @file Colours of the settings file as Qt colours, system colours included. */
#pragma once

#include <QColor>

#include "platform/Color.h"

namespace tw {

/// The RGB value itself, or the palette colour that stands for the system
/// colour it names.
QColor ToQColor(TColor color);

}  // namespace tw
