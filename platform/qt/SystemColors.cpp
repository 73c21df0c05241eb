#include "platform/qt/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <utility>

namespace tw {

namespace {

/// The system colours the program's defaults name, by their Windows index.
/// Any other index takes the palette's mid tone.
constexpr std::array<std::pair<int, QPalette::ColorRole>, 10> kSystemColors{{
    {5, QPalette::Base},              // window
    {8, QPalette::Text},              // window text
    {13, QPalette::Highlight},        // highlight
    {14, QPalette::HighlightedText},  // highlighted text
    {15, QPalette::Button},           // button face
    {16, QPalette::Dark},             // button shadow
    {18, QPalette::ButtonText},       // button text
    {20, QPalette::Light},            // button highlight
    {21, QPalette::Shadow},           // dark shadow
    {22, QPalette::Midlight},         // light
}};

QPalette::ColorRole RoleOf(int index) {
    for (const auto& [known, role] : kSystemColors)
        if (known == index) return role;
    return QPalette::Mid;
}

}  // namespace

QColor ToQColor(TColor color) {
    if (IsSystemColor(color))
        return QGuiApplication::palette().color(RoleOf(static_cast<int>(color & 0xFF)));
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace tw
