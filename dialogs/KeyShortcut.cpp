// The text form names keys the way the program always has ("BkSp", "PgDn",
// "Del"); Qt's own names are used only for keys outside that list.
#include "dialogs/KeyShortcut.h"

#include <string_view>

namespace tw {

namespace {

struct NamedQtKey {
    std::string_view name;
    Qt::Key key;
};

constexpr NamedQtKey kNamedQtKeys[] = {
    {"BkSp", Qt::Key_Backspace}, {"Tab", Qt::Key_Tab},     {"Enter", Qt::Key_Return},
    {"Esc", Qt::Key_Escape},     {"Space", Qt::Key_Space}, {"PgUp", Qt::Key_PageUp},
    {"PgDn", Qt::Key_PageDown},  {"End", Qt::Key_End},     {"Home", Qt::Key_Home},
    {"Left", Qt::Key_Left},      {"Up", Qt::Key_Up},       {"Right", Qt::Key_Right},
    {"Down", Qt::Key_Down},      {"Ins", Qt::Key_Insert},  {"Del", Qt::Key_Delete}};

constexpr int kHighestFKey = 24;

/// The Qt key of a name in the written form of StandardKeyName.
Qt::Key QtKeyOfStandardName(const std::string& name) {
    if (name.size() == 1) return static_cast<Qt::Key>(name[0]);  // Key_A == 'A', Key_0 == '0'
    for (const NamedQtKey& named : kNamedQtKeys)
        if (named.name == name) return named.key;
    return static_cast<Qt::Key>(Qt::Key_F1 + std::stoi(name.substr(1)) - 1);
}

/// Any other key by Qt's portable name; a name that carries modifiers of its
/// own is not a key name.
Qt::Key QtKeyOfPlatformName(const std::string& name) {
    const QKeySequence seq =
        QKeySequence::fromString(QString::fromStdString(name), QKeySequence::PortableText);
    if (seq.count() != 1 || seq[0].keyboardModifiers() != Qt::NoModifier) return Qt::Key_unknown;
    return seq[0].key();
}

bool IsModifierKey(Qt::Key key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
            return true;
        default:
            return false;
    }
}

/// The text form's name of a Qt key; "" when it has none.
std::string NameOfQtKey(Qt::Key key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return std::string(1, static_cast<char>(key));
    if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kHighestFKey)
        return "F" + std::to_string(key - Qt::Key_F1 + 1);
    if (key == Qt::Key_Enter) return "Enter";
    for (const NamedQtKey& named : kNamedQtKeys)
        if (named.key == key) return std::string(named.name);
    if (key == Qt::Key_unknown || key == 0 || IsModifierKey(key)) return {};
    return QKeySequence(key).toString(QKeySequence::PortableText).toStdString();
}

Qt::KeyboardModifiers QtModifiers(uint8_t modifiers) {
    Qt::KeyboardModifiers mods;
    if (modifiers & kModShift) mods |= Qt::ShiftModifier;
    if (modifiers & kModCtrl) mods |= Qt::ControlModifier;
    if (modifiers & kModAlt) mods |= Qt::AltModifier;
    return mods;
}

uint8_t ModifierBits(Qt::KeyboardModifiers mods) {
    uint8_t bits = 0;
    if (mods & Qt::ShiftModifier) bits |= kModShift;
    if (mods & Qt::ControlModifier) bits |= kModCtrl;
    if (mods & Qt::AltModifier) bits |= kModAlt;
    return bits;
}

}  // namespace

QKeySequence ShortcutFromKeyStroke(const KeyStroke& stroke) {
    const std::optional<std::string> standard = StandardKeyName(stroke.key);
    const Qt::Key key = standard ? QtKeyOfStandardName(*standard) : QtKeyOfPlatformName(stroke.key);
    if (key == Qt::Key_unknown || IsModifierKey(key)) return {};
    return QKeySequence(QKeyCombination(QtModifiers(stroke.modifiers), key));
}

std::optional<KeyStroke> KeyStrokeFromShortcut(const QKeySequence& shortcut) {
    if (shortcut.isEmpty()) return std::nullopt;
    const QKeyCombination combination = shortcut[0];
    Qt::KeyboardModifiers mods = combination.keyboardModifiers();
    if (mods & Qt::MetaModifier) return std::nullopt;
    Qt::Key key = combination.key();
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        mods |= Qt::ShiftModifier;
    }
    std::string name = NameOfQtKey(key);
    if (name.empty()) return std::nullopt;
    return KeyStroke{ModifierBits(mods), std::move(name)};
}

QKeySequence ShortcutFromText(const std::string& text) {
    const std::optional<KeyStroke> stroke = ParseKeyText(text);
    return stroke ? ShortcutFromKeyStroke(*stroke) : QKeySequence();
}

std::string TextFromShortcut(const QKeySequence& shortcut) {
    const std::optional<KeyStroke> stroke = KeyStrokeFromShortcut(shortcut);
    return stroke ? KeyText(*stroke) : std::string();
}

}  // namespace tw
