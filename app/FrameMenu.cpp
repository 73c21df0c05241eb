// The frame's menus, tool bar and keys, made from its command table.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolBar>

#include "app/FrameWindow.h"
#include "dialogs/KeyShortcut.h"
#include "app/ToolIcons.h"
#include "documents/DocumentWindow.h"
#include "platform/os/ProgramFolder.h"
#include "platform/qt/QtPlatform.h"

namespace tw {

void TTarnwickEditor::CreateCommands() {
    for (const CommandRow<TTarnwickEditor>& row : CommandTable()) {
        QAction* a = MakeCommandAction(row, this);
        if (row.run)
            connect(a, &QAction::triggered, this, [this, run = row.run] { run(*this); });
        else
            connect(a, &QAction::triggered, this,
                    [this, name = row.name] { RunOnActiveDocument(name); });
        addAction(a);  // the keys work while the menu bar is hidden too
        commands_.push_back(a);
    }
}

QAction* TTarnwickEditor::Command(std::string_view name) const {
    return ActionNamed(CommandTable(), commands_, name);
}

void TTarnwickEditor::RunOnActiveDocument(std::string_view name) {
    if (TMDIChild* child = ActiveChild())
        if (QAction* action = child->Action(name)) action->trigger();
}

void TTarnwickEditor::CreateMenus() {
    QMenuBar* bar = menuBar();
    for (const auto& [caption, menu] : FillMenus(*bar, CommandTable(), commands_)) {
        if (caption == kWindowMenu) windowMenu_ = menu;
        if (caption == kFileMenu) {
            readHistoryMenu_ = new QMenu(QStringLiteral("開き直す(&R)"), menu);
            menu->insertMenu(Command("actSave"), readHistoryMenu_);
        }
    }
    windowMenuCommands_ = static_cast<int>(windowMenu_->actions().size());
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] { FillWindowMenu(); });
    FillWindowMenu();
    for (QAction* top : bar->actions())
        LetKeysStepOnDisabledEntries(*top->menu());
}

void TTarnwickEditor::FillWindowMenu() {
    const QList<QAction*> entries = windowMenu_->actions();
    for (qsizetype i = windowMenuCommands_; i < entries.size(); ++i)
        delete entries[i];  // the list's own entries and its separator
    if (DocumentCount() == 0) return;
    windowMenu_->addSeparator();
    for (int i = 1; i <= DocumentCount(); ++i) {
        TMDIChild* child = ChildForms[i];
        QAction* item =
            windowMenu_->addAction(QStringLiteral("&%1 %2").arg(i).arg(child->windowTitle()));
        item->setCheckable(true);
        item->setChecked(i == childIndex_);
        connect(item, &QAction::triggered, this, [this, i] { BringDocumentToFront(i); });
    }
}

void TTarnwickEditor::CreateToolBar() {
    toolBar_ = addToolBar(QStringLiteral("ToolBar2"));
    toolBar_->setObjectName(QStringLiteral("ToolBar2"));
    toolBar_->setMovable(false);
    toolBar_->setMinimumHeight(30);
    for (const char* name : {"actNew", "actOpen", "actSave", "-", "actUndo", "actRedo", "actCut",
                             "actCopy", "actPaste", "-", "actCascade", "actHorizontal",
                             "actVertical", "-", "actFind", "actReplace", "actPrint"}) {
        if (name[0] == '-') {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = Command(name);
        a->setIcon(ToolIcon(a->objectName()));
        a->setToolTip(QString(a->text()).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
        toolBar_->addAction(a);
        if (QWidget* w = toolBar_->widgetForAction(a)) w->setFixedWidth(28);
    }
}

void TTarnwickEditor::EnableCommands(CommandEnabled rule, bool enabled) {
    EnableByRule(CommandTable(), commands_, rule, enabled);
}

void TTarnwickEditor::SetDocumentCommands(bool enabled) {
    for (CommandEnabled rule : {CommandEnabled::WithDocument, CommandEnabled::WithSelection,
                                CommandEnabled::WithUndo, CommandEnabled::WithRedo})
        EnableCommands(rule, enabled);
}

void TTarnwickEditor::FollowDocumentState(CommandEnabled rule, bool enabled) {
    if (DocumentCount() > 0) EnableCommands(rule, enabled);
}

// ---- Keyboard assignment ---------------------------------------------------------------

void TTarnwickEditor::LoadKeyboardCommands() {
    bool failed = false;
    keyTexts_ = LoadKeyTexts(programFolder_, &failed);
    if (failed)
        messages_->Show(kKeyReadErrorMessage, "Tarnwick Editor", MessageButtons::Ok,
                        MessageIcon::Warning);
    ApplyKeyTexts();
}

QKeySequence TTarnwickEditor::ShortcutOf(const CommandKey& key) const {
    if (key.fileKey == 0) return FixedShortcut(key);
    return ShortcutFromText(keyTexts_[FileKeys()[key.fileKey - 1].slot]);
}

void TTarnwickEditor::ApplyKeyTexts() {
    const auto rows = CommandTable();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].key.fileKey) commands_[i]->setShortcut(ShortcutOf(rows[i].key));
}

bool TTarnwickEditor::FrameHoldsKey(const QKeySequence& key) const {
    for (QAction* command : commands_)
        if (command->shortcuts().contains(key)) return true;
    return false;
}

void TTarnwickEditor::ApplyWindowKeys(TMDIChild& child, QMdiSubWindow& sub) {
    const auto rows = TMDIChild::CommandTable();
    for (size_t i = 0; i < rows.size(); ++i) {
        QAction* action = child.Actions()[i];
        const QKeySequence key = ShortcutOf(rows[i].key);
        action->setShortcut(key);
        // A key the frame's menu holds reaches the window through the frame;
        // holding it twice would leave Qt with two claims and no winner.
        if (!key.isEmpty() && !FrameHoldsKey(key)) child.addAction(action);
    }
    // Qt gives each MDI window's own menu close keys (Ctrl+F4, and Ctrl+W on
    // Linux); closing a document is the keyboard assignment's key28 alone.
    for (QAction* a : sub.systemMenu()->actions())
        a->setShortcuts({});
}

}  // namespace tw
