/** @file A document window: one editor control, its status bar and its commands. */
#pragma once

#include <QWidget>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "documents/AutoBackup.h"
#include "documents/ChildFrame.h"
#include "documents/CommandRow.h"
#include "editor/qt/VellEditWidget.h"
#include "search/FindMatch.h"

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;

namespace tw {

enum class Conversion;

/// The status bar's panels.
enum StatusPanel { kPanelCaret, kPanelLines, kPanelSize, kPanelModified, kPanelMode, kPanelHint };

/// Submenus of the pop-up menu that the window itself reaches into.
inline constexpr const char* kConvertMenu = "変換(&C)";
inline constexpr const char* kMarkMenu = "マーク(&M)";

/// A new document window's size, frame included.
inline const QSize kChildWindowSize(636, 364);

/// One document window: the editor control, its ruler, its status bar and its file.
class TMDIChild : public QWidget {
    Q_OBJECT
  public:
    explicit TMDIChild(IChildFrame& frame, QWidget* parent = nullptr);
    ~TMDIChild() override;

    /// The window's editor control ("mm" marks the editor on forms).
    VellEditWidget* mmText;
    TVellEdit& Edit() { return mmText->Edit(); }
    TVellView& View() { return mmText->View(); }

    /// The window's number in the frame's table, 1..N.
    int Tag = 0;
    /// Where the caret's mark on the ruler was last drawn (drawn by XOR, so drawn again to erase).
    int RulerCaretX = 0;
    /// The search's match test and this window's last hit (LastHitLine,
    /// LastHitColumn, NoHit).
    TFindMatcher Matcher;

    /// The full file name (bytes as the file system gives them), or
    /// "NONAME" + a number for a new text.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);
    /// Panel 3 is the document's changed mark for the whole program.
    bool IsChanged() const;
    void SetChanged(bool changed);
    /// After a save: unchanged, and the lines and size of what was written.
    void Saved();
    void ShowCaretPosition();
    void ShowLineCount(const QString& prefix = QStringLiteral("Lines : "));
    /// Panel 2: "Size : " + the text's bytes + " Byte".
    void ShowTextSize();

    /// The close question for a changed, non-empty text. True: go on
    /// closing (saved, or No). False: keep the window (Cancel, or the save
    /// did not happen, so closing would lose the text).
    bool ConfirmSave();
    /// Runs the window's activation work (the MDI area reports it).
    void FormActivate();
    /// Lets the window go without asking (the frame's multi-document closes).
    void CloseWithoutPrompt();

    /// The window's commands: its pop-up menu and the keys it takes.
    static std::span<const CommandRow<TMDIChild>> CommandTable();
    /// The actions of the commands, index for index with the table.
    const std::vector<QAction*>& Actions() const { return actions_; }
    /// The action of the command of that name ("actFind"); nullptr for none.
    QAction* Action(std::string_view name) const;
    QMenu* EditPop;  ///< the editor's pop-up menu
    QMenu* ConvertMenu;
    QMenu* MarkMenu;
    /// The pop-up menu's actions in menu order, submenus flattened.
    QList<QAction*> MenuActions() const;

    /// The timed backup of this window's text (TimeAutoSave, LastBackupText,
    /// LastBackupTime).
    TAutoBackup& Backup() { return *backup_; }

    /// The menu entries of the marks, oldest first.
    QList<QAction*> Marks() const;
    void AddMark();
    void ClearMarks();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateActions();
    void CreateMenu();
    void CreateStatusBar();
    void ConnectEditor();
    /// Turns the commands of `rule` on or off, here and in the frame.
    void FollowState(CommandEnabled rule, bool enabled);

    // Editor events, named after the editor and the event it raises.
    void mmTextSelectionChange();
    void mmTextChangeInsMode(bool insert);
    void mmTextChangeModify(bool modified);
    void mmTextChangeRedoMode(bool canRedo);
    /// A character key: the caret position in the status bar follows.
    void mmTextKeyPress();
    void mmTextChange();
    /// Draws the ruler over columns c1.. between pixels x1 and x2 of the top margin.
    void mmTextUserDraw(int c1, int x1, int x2);
    /// A double-click opens the link under the caret.
    void mmTextDblclick();
    /// After a repaint: the search hit and the caret position in the status bar.
    void mmTextPaint();
    /// Moves the caret's mark on the ruler; afterRuler: the old mark was painted over already.
    void DrawRulerCaret(bool afterRuler);
    void ConnectSearch();

    // Handlers of the commands.
    void CopyToClipboard(bool cut);
    void AddCopy(bool cut);
    /// The selection replaced by its conversion.
    void ConvertSelection(Conversion conversion);
    void InsertFile();
    void ToggleLineNumbers();
    void ShowFindDialog(FindShow how);
    void ShowReplaceDialog(FindShow how);
    /// The selection for "選択文字列を検索" and "...置換"; empty when there is none.
    std::string SelectedText();
    void ShowBackupFailure(bool failing);

    IChildFrame& frame_;
    std::vector<QAction*> actions_;
    std::string caption_;
    QStatusBar* statusBar_;
    QLabel* panels_[6];
    QTimer* sizeTimer_;
    QTimer* linesTimer_;
    std::unique_ptr<TAutoBackup> backup_;
    bool shown_ = false;
    bool closingWithoutPrompt_ = false;
    bool painting_ = false;
};

}  // namespace tw
