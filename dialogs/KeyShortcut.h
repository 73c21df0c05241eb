/** @file Shortcut texts of the keyboard assignment as Qt key sequences, and back. */
#pragma once

#include <QKeySequence>
#include <optional>
#include <string>

#include "settings/KeyTexts.h"

namespace tw {

/// The key sequence of one stroke; empty when Qt knows no key by its name.
QKeySequence ShortcutFromKeyStroke(const KeyStroke& stroke);

/// The stroke of a sequence's first key. Keypad digits count as digits and
/// Backtab as Shift+Tab. nullopt for an empty sequence, a modifier key alone,
/// or a Meta combination, which the text form cannot write.
std::optional<KeyStroke> KeyStrokeFromShortcut(const QKeySequence& shortcut);

/// The shortcut a text names (ParseKeyText's rules); empty when it names none.
QKeySequence ShortcutFromText(const std::string& text);

/// The text the program writes for a shortcut, e.g. "Shift+Ctrl+F"; "" when
/// there is no shortcut or the text form cannot write it.
std::string TextFromShortcut(const QKeySequence& shortcut);

}  // namespace tw
