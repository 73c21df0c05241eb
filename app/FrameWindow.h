/** @file The frame window: the MDI area, its documents, menus and commands. */
#pragma once

#include <QMainWindow>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/FileDialogs.h"
#include "app/HandOff.h"
#include "app/TabStripHost.h"
#include "dialogs/BackupHistory.h"
#include "documents/ChildFrame.h"
#include "documents/CommandRow.h"
#include "search/FindRun.h"
#include "settings/KeyTexts.h"
#include "settings/OptionData.h"
#include "settings/SettingsStore.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSocketNotifier;
class QTimer;
class QToolBar;

namespace tw {

class TClipHistory;
class TFindDialog;
class TFindLines;
class TPrintDialog;
class TRePlaceDialog;
class TMDIChild;
class TSaveHistory;
class TTabStrip;
class TOption;
class TAboutBox;

/// The menus the frame reaches into: the read history stands in the first,
/// the open documents are listed in the second after its commands.
inline constexpr const char* kFileMenu = "ファイル(&F)";
inline constexpr const char* kWindowMenu = "ウィンドウ(&W)";

/// The frame: menus, tool bar, tab strip and the document windows in their area.
class TTarnwickEditor : public QMainWindow,
                        public IChildFrame,
                        public ITabStripHost,
                        public IBackupHistoryHost {
    Q_OBJECT
  public:
    TTarnwickEditor(InstancePaths paths, std::vector<std::string> commandLineFiles);
    ~TTarnwickEditor() override;

    /// The one way a document window comes into being. A file's name is
    /// made absolute first (AbsoluteFileName), so that it names the file the
    /// user meant and one file is one document. A request that arrives while
    /// another open runs is dropped.
    void OpenFile(const std::string& fileName, bool isNew);

    QMdiArea* MdiArea() const { return mdi_; }
    const OptionData& Options() const { return options_; }
    OptionData& MutableOptions() { return options_; }
    const std::vector<std::string>& CommandLineFiles() const { return commandLineFiles_; }
    /// The number the next new text is named with.
    int NoNameCount() const { return noNameCount_; }

    /// The document table: slot i (1..N) holds document number i.
    int DocumentCount() const { return static_cast<int>(ChildForms.size()) - 1; }
    TMDIChild* Document(int number) const { return ChildForms[number]; }
    int ChildIndex() const { return childIndex_; }
    TMDIChild* ActiveChild() const;
    TTabStrip& Tabs() const { return *tabs_; }
    QMenu* ReadHistoryMenu() const { return readHistoryMenu_; }

    /// Where messages go; tests pass a recording one.
    void SetMessageBox(IMessageBox* messages);
    /// Where file names are chosen; tests pass scripted answers.
    void SetFileDialogs(IFileDialogs* dialogs);

    // The commands of the menu and toolbar.
    void actNewExecute();
    void actOpenExecute();
    bool actSaveExecute();
    bool actSaveAsExecute();
    /// "指定行に移動": asks for a line number and moves the caret there.
    void actMoveExecute();
    TFindLines& FindLinesDialog();
    /// "オートバックアップ履歴": the backups, to reopen, copy or delete.
    void actBackUpExecute();
    TSaveHistory& SaveHistoryDialog();
    /// "印刷": the print settings for the active document, which print it.
    void actPrintExecute();
    TPrintDialog& PrintDialog();
    void actPrevExecute();
    void actNextExecute();
    void actCloseExecute();
    void actCloseAllExecute();
    void actCloseNoActiveExecute();
    void TileHorizontally();
    void TileVertically();
    void MinimizeAll();
    /// "詳細設定": the options dialog; "変更" applies at once.
    void actOptionExecute();
    /// "バージョン情報".
    void actAboutExecute();
    /// The frame's commands: its menus, tool bar and keys.
    static std::span<const CommandRow<TTarnwickEditor>> CommandTable();
    /// The action of the command of that name ("actSave", "mExit", ...).
    QAction* Command(std::string_view name) const;

    // IChildFrame
    void ChildActivated(TMDIChild& child) override;
    bool SaveChild(TMDIChild& child) override;
    void ChildClosing(TMDIChild& child) override;
    void FollowDocumentState(CommandEnabled rule, bool enabled) override;
    void AddClipHistory(const std::string& text) override;
    void ShowClipHistory() override;
    std::string ChooseInsertFile() override;
    OptionData& Settings() override { return options_; }
    const std::string& ProgramDirectory() const override { return programFolder_; }
    IMessageBox& Messages() override { return *messages_; }
    bool Closing() const override { return closing_; }
    FindOptions& SearchOptions() override { return findOptions_; }
    ReplaceState& Replacing() override { return replaceState_; }
    bool ReplaceShowing() const override;
    void ShowFindDialog(FindShow how, const std::string& selected) override;
    void ShowReplaceDialog(FindShow how, const std::string& selected) override;
    void BringToFront(TMDIChild& child) override;

    TFindDialog& FindDialog() const { return *findDialog_; }
    TRePlaceDialog& ReplaceDialog() const { return *replaceDialog_; }
    TClipHistory& ClipHistoryDialog();
    const ClipHistory& Clips() const { return clipHistory_; }

    // IBackupHistoryHost
    void OpenBackupText(const std::string& bytes) override;

    // ITabStripHost
    int ActiveDocument() const override { return childIndex_; }
    void BringDocumentToFront(int number) override;
    void SwapDocuments(int a, int b) override;
    void MoveDocument(int from, int to) override;
    void CopyDocument(int number) override;
    void ShowDragHint(const std::string& text) override;
    bool UseTab() const override { return options_.UseTab; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    /// Holds back a document window's own close while an open runs.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Start-up work, in the order the frame performs it when first shown.
    void FormShow();
    void AcceptDroppedFiles();
    void LoadSettings();
    void PublishHandOffRecord();
    void PlaceFrame();
    void LoadKeyboardCommands();
    void LoadClipboardHistory();
    void BuildReadHistoryMenu();
    void ShowToolBars();
    void DisableDocumentCommands();
    void OpenCommandLineFiles();
    void CreateBlankDocument();

    // Menus, toolbar and commands.
    void actHomeExecute();
    void actEndExecute();
    void mExitClick();
    void mReadMeClick();
    void mHistoryClick();
    void mHelpClick();
    void CreateCommands();
    void CreateMenus();
    void CreateToolBar();
    void CreateSearchDialogs();
    /// The command of that name in the active document, if there is one.
    void RunOnActiveDocument(std::string_view name);
    /// Turns every command that needs a document on or off.
    void SetDocumentCommands(bool enabled);
    void EnableCommands(CommandEnabled rule, bool enabled);
    /// The window list after the window menu's commands.
    void FillWindowMenu();
    void ApplyKeyTexts();
    /// The key a command has now: its entry of the keyboard assignment, or
    /// the program's own.
    QKeySequence ShortcutOf(const CommandKey& key) const;

    // Opening.
    void DoOpenFile(const std::string& fileName, bool isNew);
    /// The file's size when it may be opened; else the refusal is shown (the
    /// window that has the file already comes to the front) and nullopt.
    std::optional<int64_t> CheckBeforeOpening(const std::string& fileName, bool isNew);
    /// A new document window with its tab and its number in the table.
    TMDIChild* CreateDocumentWindow(const std::string& fileName);
    /// Puts the window in the MDI area, placed, sized and active, with its keys.
    void ShowDocumentWindow(TMDIChild& child);
    /// The display settings into the window's editor, laid out anew.
    void ApplySettingsTo(TMDIChild& child, const OptionData& options);
    /// The tab strip's width, rows and colours from the settings.
    void ApplyTabSettings();
    /// New settings to every open document, the tab strip, the tool bar and the keys.
    void ApplyOptions();
    /// The file's text into the window; a failure leaves it empty and says so.
    void LoadDocumentText(TMDIChild& child, const std::string& fileName);
    /// The size and read-only panels of a window just loaded.
    void ShowFileState(TMDIChild& child, const std::string& fileName, int64_t size);
    /// An open lets events run; a command that would close or save a window
    /// then waits until the open has ended. True when `command` was kept for then.
    bool DeferWhileOpening(std::function<void()> command);
    /// After an open: the commands held back, then the handed-over names
    /// that waited, in arrival order.
    void AfterOpen();
    void ScheduleAfterOpen();
    /// Puts the file at the top of the read history and its menu.
    void CreateReRead(const std::string& fileName);
    void RebuildReadHistoryMenu(int itemCount);
    /// Opens the file of that read history slot.
    void HistoryClick(int slot);
    void OpenHelpText(const char* name);

    // Closing.
    /// The save question for document i during a multi-document close;
    /// false stops the whole close.
    bool PromptSave(int i);
    void DestroyAllDocuments();
    void DestroyDocument(TMDIChild* child);
    void Renumber();
    void FollowActiveWindow();

    /// A file name handed over by a second start of the program.
    void WMCopyData(const std::string& fileName);
    void OpenHandedOffFiles();
    /// Writes "Option.dat" and "Clip.dat" as the frame closes.
    void SaveSettings();
    /// "Tarnwick Editor - [active document]".
    void UpdateCaption();
    QMdiSubWindow* SubWindowOf(TMDIChild* child) const;
    /// The file name part of a caption, which its tab shows.
    std::string TabName(const std::string& caption) const;
    void PlaceNewWindow(QMdiSubWindow* sub) const;
    /// Where window number `index` (from 0) of a cascade goes: each one title
    /// bar below and right of the one before, starting over at the corner
    /// when the next would not fit.
    QPoint CascadePlace(const QMdiSubWindow& sub, int index) const;
    /// "並べて表示": the windows cascade in document order, each at the size
    /// a new window opens at (or what the frame allows).
    void Cascade();
    /// True when one of the frame's commands has this key.
    bool FrameHoldsKey(const QKeySequence& key) const;
    /// A new window's keys: its assignable commands from the keyboard
    /// assignment, and none of Qt's own for the MDI window.
    void ApplyWindowKeys(TMDIChild& child, QMdiSubWindow& sub);

    QMdiArea* mdi_;
    TFindLines* findLines_ = nullptr;
    TSaveHistory* saveHistory_ = nullptr;
    TPrintDialog* printDialog_ = nullptr;
    FindOptions findOptions_;
    ReplaceState replaceState_;
    std::unique_ptr<ISearchDocuments> searchDocuments_;
    TFindDialog* findDialog_ = nullptr;
    TRePlaceDialog* replaceDialog_ = nullptr;
    TClipHistory* clipDialog_ = nullptr;
    TTabStrip* tabs_;
    QToolBar* toolBar_ = nullptr;
    QMenu* readHistoryMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    int readItems_ = 0;
    /// The actions of the commands, index for index with the table.
    std::vector<QAction*> commands_;
    /// How many entries of the window menu are commands; the window list follows.
    int windowMenuCommands_ = 0;

    /// The document table: slot i holds document number i, slot 0 stays empty.
    std::vector<TMDIChild*> ChildForms{nullptr};
    int childIndex_ = 0;
    bool opening_ = false;
    bool closing_ = false;

    std::vector<std::function<void()>> heldBack_;

    HandOffHost handOff_;
    QSocketNotifier* handOffNotifier_ = nullptr;
    QTimer* handOffTimer_ = nullptr;
    std::deque<std::string> handedOff_;
    std::vector<std::string> commandLineFiles_;
    bool shown_ = false;
    std::string programFolder_;
    OptionData options_;
    ClipHistory clipHistory_;
    /// What the start made of a settings file it could not read; such a file
    /// is written at exit only when what it holds has changed since.
    std::optional<OptionData> optionsFromUnreadFile_;
    std::optional<std::vector<std::string>> clipsFromUnreadFile_;
    KeyTexts keyTexts_;
    TOption* option_ = nullptr;
    TAboutBox* about_ = nullptr;
    int noNameCount_ = 0;

    std::unique_ptr<IMessageBox> ownMessages_;
    IMessageBox* messages_;
    std::unique_ptr<IFileDialogs> ownDialogs_;
    IFileDialogs* dialogs_;
};

}  // namespace tw
