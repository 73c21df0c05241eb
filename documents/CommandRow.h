/** @file One row of a command table: everything a menu entry, a tool button and a shortcut
 *  are made from. The frame and the document window each keep one table of these. */
#pragma once

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace tw {

/// When a command can run. The window that knows the state (a document's
/// selection, its undo list) reports it, and every command of that rule follows.
enum class CommandEnabled {
    Always,
    WithDocument,   ///< while a document window is open
    WithSelection,  ///< while the document has a selection
    WithUndo,       ///< while the document has something to undo
    WithRedo,       ///< while the document has something to redo
};

/// Where a command's shortcut comes from.
struct CommandKey {
    /// n of "key<n>" in "KeyBrd.ini", which the user can reassign; 0 when
    /// the key is the program's own or there is none.
    int fileKey = 0;
    /// The program's own key, which no setting changes; Key_unknown for none.
    QKeyCombination fixed;
};

/// The key "key<n>" of the keyboard assignment gives the command.
constexpr CommandKey AssignedKey(int n) {
    return {n, {}};
}
constexpr CommandKey FixedKey(QKeyCombination key) {
    return {0, key};
}
inline constexpr CommandKey kNoKey{};

inline QKeySequence FixedShortcut(const CommandKey& key) {
    return key.fixed.key() == Qt::Key_unknown ? QKeySequence() : QKeySequence(key.fixed);
}

/// Where a command's entry stands: the caption of its menu (nullptr for the
/// table's root menu), after a separator or not.
struct MenuPlace {
    const char* menu = nullptr;
    bool separatorBefore = false;
};

inline constexpr bool kSeparatorBefore = true;

template <class Target>
struct CommandRow {
    const char* name;     ///< the action's object name, e.g. "actOpen"
    const char* caption;  ///< the menu entry's text
    CommandKey key;
    /// What the command does to its window.
    void (*run)(Target&);
    CommandEnabled enabled;
    MenuPlace place = {};
};

/// The handler of a command whose work is yet to be built: its entry stands
/// in the menus and does nothing.
template <class Target>
void ComesLater(Target&) {}

/// The action of a row: named and captioned as the row says, with the
/// program's own key if it has one.
template <class Target>
QAction* MakeCommandAction(const CommandRow<Target>& row, QObject* parent) {
    auto* a = new QAction(QString::fromUtf8(row.caption), parent);
    a->setObjectName(QString::fromUtf8(row.name));
    a->setShortcut(FixedShortcut(row.key));
    return a;
}

/// The action of the row named `name`, from actions made index for index
/// with the rows; nullptr when no row has that name.
template <class Target>
QAction* ActionNamed(std::span<const CommandRow<Target>> rows, std::span<QAction* const> actions,
                     std::string_view name) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (name == rows[i].name) return actions[i];
    return nullptr;
}

/// Puts each row's action into the menu its place names: `root` itself, or
/// a submenu of `root` made where its first row stands. Returns the
/// submenus made, by caption.
template <class Root, class Target>
std::vector<std::pair<std::string_view, QMenu*>> FillMenus(Root& root,
                                                           std::span<const CommandRow<Target>> rows,
                                                           std::span<QAction* const> actions) {
    std::vector<std::pair<std::string_view, QMenu*>> made;
    auto submenu = [&](std::string_view caption) {
        for (const auto& [c, m] : made)
            if (c == caption) return m;
        made.emplace_back(caption, root.addMenu(QString::fromUtf8(caption.data())));
        return made.back().second;
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const MenuPlace& place = rows[i].place;
        if (!place.menu) {
            if (place.separatorBefore) root.addSeparator();
            root.addAction(actions[i]);
            continue;
        }
        QMenu* menu = submenu(place.menu);
        if (place.separatorBefore) menu->addSeparator();
        menu->addAction(actions[i]);
    }
    return made;
}

/// Sets every action whose row has `rule` on or off.
template <class Target>
void EnableByRule(std::span<const CommandRow<Target>> rows, std::span<QAction* const> actions,
                  CommandEnabled rule, bool enabled) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].enabled == rule) actions[i]->setEnabled(enabled);
}

}  // namespace tw
