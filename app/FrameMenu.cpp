// The frame's menus, toolbar and the enabling of its document commands.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolBar>

#include "app/FrameWindow.h"
#include "app/KeyShortcut.h"
#include "app/ToolIcons.h"
#include "documents/DocumentWindow.h"
#include "platform/os/ProgramFolder.h"
#include "platform/qt/QtPlatform.h"

namespace tw {

QAction* TTarnwickEditor::AddCommand(const char* name, const char* caption,
                                     void (TTarnwickEditor::*run)()) {
    auto* a = new QAction(QString::fromUtf8(caption), this);
    a->setObjectName(QString::fromUtf8(name));
    if (run) connect(a, &QAction::triggered, this, run);
    addAction(a);  // the keys work while the menu bar is hidden too
    commands_.emplace_back(a->objectName(), a);
    return a;
}

QAction* TTarnwickEditor::Command(const QString& name) const {
    for (const auto& [n, a] : commands_)
        if (n == name) return a;
    return nullptr;
}

void TTarnwickEditor::CreateCommands() {
    AddCommand("actNew", "新規作成(&N)", &TTarnwickEditor::actNewExecute);
    AddCommand("actOpen", "開く(&O)...", &TTarnwickEditor::actOpenExecute);
    connect(AddCommand("actSave", "上書き保存(&S)", nullptr), &QAction::triggered, this,
            [this] { actSaveExecute(); });
    connect(AddCommand("actSaveAs", "名前を付けて保存(&A)", nullptr), &QAction::triggered, this,
            [this] { actSaveAsExecute(); });
    AddCommand("actPrint", "印刷(&P)", &TTarnwickEditor::actPrintExecute);
    connect(AddCommand("mExit", "終了(&X)", nullptr), &QAction::triggered, this,
            [this] { close(); });
    AddCommand("actMove", "指定行に移動(&M)", &TTarnwickEditor::actMoveExecute);
    connect(AddCommand("actHome", "先頭へカーソル移動(&H)", nullptr), &QAction::triggered, this,
            [this] {
                if (TMDIChild* child = ActiveChild()) child->View().GoTop();
            });
    connect(AddCommand("actEnd", "終端へカーソル移動(&E)", nullptr), &QAction::triggered, this,
            [this] {
                if (TMDIChild* child = ActiveChild()) child->View().GoBottom();
            });
    Command("actHome")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
    Command("actEnd")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_End));

    struct Forward {
        const char* name;
        const char* caption;
        QKeySequence key;
        QAction* TMDIChild::*action;
    };
    for (const Forward& f : {
             Forward{"actUndo", "元に戻す(&U)", QKeySequence(Qt::CTRL | Qt::Key_Z),
                     &TMDIChild::actUndo},
             Forward{"actRedo", "やり直し(&R)", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z),
                     &TMDIChild::actRedo},
             Forward{"actCut", "切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_X),
                     &TMDIChild::actCut},
             Forward{"actCopy", "コピー(&C)", QKeySequence(Qt::CTRL | Qt::Key_C),
                     &TMDIChild::actCopy},
             Forward{"actPaste", "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V),
                     &TMDIChild::actPaste},
             Forward{"actFind", "検索(&F)", {}, &TMDIChild::actFind},
             Forward{"actUpFind", "上候補検索(&U)", {}, &TMDIChild::actUpFind},
             Forward{"actDownFind", "下候補検索(&D)", {}, &TMDIChild::actDownFind},
             Forward{"actReplace", "置換(&R)", {}, &TMDIChild::actReplace},
             Forward{"actUpReplace", "上候補置換(&W)", {}, &TMDIChild::actUpReplace},
             Forward{"actDownReplace", "下候補置換(&Q)", {}, &TMDIChild::actDownReplace},
         }) {
        QAction* a = AddCommand(f.name, f.caption, nullptr);
        a->setShortcut(f.key);
        auto member = f.action;
        connect(a, &QAction::triggered, this, [this, member] {
            if (TMDIChild* child = ActiveChild()) (child->*member)->trigger();
        });
    }

    // Qt's own cascade sizes each window by its contents' size hint, which
    // leaves a document no room for its text.
    AddCommand("actCascade", "並べて表示(&C)", &TTarnwickEditor::Cascade);
    AddCommand("actHorizontal", "水平に並べて表示(&H)", &TTarnwickEditor::TileHorizontally);
    AddCommand("actVertical", "垂直に並べて表示(&V)", &TTarnwickEditor::TileVertically);
    AddCommand("actMinimize", "すべてを最小化(&M)", &TTarnwickEditor::MinimizeAll);
    AddCommand("actPrev", "前へ移動(&P)", &TTarnwickEditor::actPrevExecute);
    AddCommand("actNext", "次へ移動(&N)", &TTarnwickEditor::actNextExecute);
    AddCommand("actClose", "閉じる(&C)", &TTarnwickEditor::actCloseExecute);
    AddCommand("actCloseAll", "全て閉じる(&A)", &TTarnwickEditor::actCloseAllExecute);
    AddCommand("actCloseNoActive", "アクティブウィンドウ以外を全て閉じる(&Q)",
               &TTarnwickEditor::actCloseNoActiveExecute);
    // The histories, the options and the about box come with their dialogs;
    // until then their commands stand in the menus unwired.
    AddCommand("actBackUp", "オートバックアップ履歴(&A)", nullptr);
    AddCommand("actClipbrd", "クリップボード履歴(&B)", nullptr);
    connect(AddCommand("mReadMe", "ReadMe(&R)", nullptr), &QAction::triggered, this,
            [this] { OpenHelpText("ReadMe.txt"); });
    connect(AddCommand("mHistory", "History(&H)", nullptr), &QAction::triggered, this,
            [this] { OpenHelpText("History.txt"); });
    connect(AddCommand("mHelp", "Manual(&M)", nullptr), &QAction::triggered, this,
            [this] { OpenHelpText("Manual.txt"); });
    AddCommand("actAbout", "バージョン情報(&A)...", nullptr);
    AddCommand("actOption", "詳細設定(&O)", nullptr);

    for (const char* name :
         {"actSave", "actUndo", "actRedo", "actCopy", "actCut", "actPaste", "actMove", "actHome",
          "actEnd", "actPrev", "actNext", "actFind", "actUpFind", "actDownFind", "actReplace",
          "actUpReplace", "actDownReplace", "actPrint"})
        documentCommands_.push_back(Command(QString::fromUtf8(name)));
}

void TTarnwickEditor::CreateMenus() {
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (name[0] == '-')
                menu->addSeparator();
            else
                menu->addAction(Command(QString::fromUtf8(name)));
        }
    };
    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    add(file, {"actNew", "actOpen"});
    mRead = file->addMenu(QStringLiteral("開き直す(&R)"));
    add(file, {"actSave", "actSaveAs", "actPrint", "-", "mExit"});
    add(bar->addMenu(QStringLiteral("検索(&S)")),
        {"actFind", "actUpFind", "actDownFind", "actReplace", "actUpReplace", "actDownReplace", "-",
         "actMove", "actHome", "actEnd"});
    add(bar->addMenu(QStringLiteral("編集(&E)")),
        {"actUndo", "actRedo", "-", "actCut", "actCopy", "actPaste"});
    mWindow = bar->addMenu(QStringLiteral("ウィンドウ(&W)"));
    connect(mWindow, &QMenu::aboutToShow, this, [this] { FillWindowMenu(); });
    FillWindowMenu();
    add(bar->addMenu(QStringLiteral("履歴(&H)")), {"actBackUp", "actClipbrd"});
    add(bar->addMenu(QStringLiteral("その他(&O)")),
        {"mReadMe", "mHistory", "mHelp", "actAbout", "-", "actOption"});
    for (QAction* top : bar->actions())
        LetKeysStepOnDisabledEntries(*top->menu());
}

void TTarnwickEditor::FillWindowMenu() {
    mWindow->clear();
    for (const char* name : {"actCascade", "actHorizontal", "actVertical", "actMinimize"})
        mWindow->addAction(Command(QString::fromUtf8(name)));
    mWindow->addSeparator();
    for (const char* name : {"actPrev", "actNext", "actClose", "actCloseAll", "actCloseNoActive"})
        mWindow->addAction(Command(QString::fromUtf8(name)));
    if (DocumentCount() == 0) return;
    mWindow->addSeparator();
    for (int i = 1; i <= DocumentCount(); ++i) {
        TMDIChild* child = ChildForms[i];
        QAction* item =
            mWindow->addAction(QStringLiteral("&%1 %2").arg(i).arg(child->windowTitle()));
        item->setCheckable(true);
        item->setChecked(i == childIndex_);
        connect(item, &QAction::triggered, this, [this, i] { BringDocumentToFront(i); });
    }
}

void TTarnwickEditor::CreateToolBar() {
    ToolBar2 = addToolBar(QStringLiteral("ToolBar2"));
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(false);
    ToolBar2->setMinimumHeight(30);
    for (const char* name : {"actNew", "actOpen", "actSave", "-", "actUndo", "actRedo", "actCut",
                             "actCopy", "actPaste", "-", "actCascade", "actHorizontal",
                             "actVertical", "-", "actFind", "actReplace", "actPrint"}) {
        if (name[0] == '-') {
            ToolBar2->addSeparator();
            continue;
        }
        QAction* a = Command(QString::fromUtf8(name));
        a->setIcon(ToolIcon(a->objectName()));
        a->setToolTip(QString(a->text()).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
        ToolBar2->addAction(a);
        if (QWidget* w = ToolBar2->widgetForAction(a)) w->setFixedWidth(28);
    }
}

void TTarnwickEditor::SetDocumentCommands(bool enabled) {
    for (QAction* a : documentCommands_)
        a->setEnabled(enabled);
}

void TTarnwickEditor::SetUndoCommand(bool enabled) {
    if (DocumentCount() > 0) Command(QStringLiteral("actUndo"))->setEnabled(enabled);
}

void TTarnwickEditor::SetRedoCommand(bool enabled) {
    if (DocumentCount() > 0) Command(QStringLiteral("actRedo"))->setEnabled(enabled);
}

void TTarnwickEditor::SetCopyCutCommands(bool enabled) {
    if (DocumentCount() == 0) return;
    Command(QStringLiteral("actCopy"))->setEnabled(enabled);
    Command(QStringLiteral("actCut"))->setEnabled(enabled);
}

// ---- Keyboard assignment ---------------------------------------------------------------

namespace {
/// The frame's commands in the order of the file keys key1..key37.
constexpr const char* kKeyCommands[kFileKeyCount] = {
    "actNew",      "actOpen",    "actSave",     "actSaveAs",  "actPrint",     "mExit",
    "actFind",     "actUpFind",  "actDownFind", "actReplace", "actUpReplace", "actDownReplace",
    "actMove",     nullptr,      nullptr,       nullptr,      nullptr,        nullptr,
    nullptr,       nullptr,      nullptr,       nullptr,      "actCascade",   "actHorizontal",
    "actVertical", "actPrev",    "actNext",     "actClose",   "actCloseAll",  "actCloseNoActive",
    "actBackUp",   "actClipbrd", "mReadMe",     "mHistory",   "mHelp",        "actAbout",
    "actOption"};
}  // namespace

void TTarnwickEditor::LoadKeyboardCommands() {
    bool failed = false;
    keyTexts_ = LoadKeyTexts(programFolder_, &failed);
    if (failed)
        messages_->Show(kKeyReadErrorMessage, "Tarnwick Editor", MessageButtons::Ok,
                        MessageIcon::Warning);
    ApplyKeyTexts();
}

void TTarnwickEditor::ApplyKeyTexts() {
    const auto& keys = FileKeys();
    for (int i = 0; i < kFileKeyCount; ++i)
        if (kKeyCommands[i])
            Command(QString::fromUtf8(kKeyCommands[i]))
                ->setShortcut(ShortcutFromText(keyTexts_[keys[i].slot]));
}

void TTarnwickEditor::ApplyWindowKeys(TMDIChild& child, QMdiSubWindow& sub) {
    const auto& keys = FileKeys();
    for (const auto& [fileKey, action] : child.AssignableActions()) {
        const QKeySequence key = ShortcutFromText(keyTexts_[keys[fileKey - 1].slot]);
        action->setShortcut(key);
        // A key the frame's menu holds reaches the window through the frame;
        // holding it twice would leave Qt with two claims and no winner.
        if (!key.isEmpty() && !FrameHoldsKey(key)) child.addAction(action);
    }
    // Qt gives each MDI window's own menu close keys (Ctrl+F4, and Ctrl+W on
    // Linux); closing a document is the keyboard assignment's key28 alone.
    for (QAction* a : sub.systemMenu()->actions())
        a->setShortcuts({});
    child.addAction(child.actSelected);
}

}  // namespace tw
