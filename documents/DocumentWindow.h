/** @file A document window: one editor control, its status bar and its commands. */
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "editor/qt/VellEditWidget.h"
#include "search/FindMatch.h"

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;

namespace tw {

class IChildFrame;
enum class Conversion;

/// The status bar's panels.
enum StatusPanel { kPanelCaret, kPanelLines, kPanelSize, kPanelModified, kPanelMode, kPanelHint };

/// A new document window's size, frame included.
inline const QSize kChildWindowSize(636, 364);

class TMDIChild : public QWidget {
    Q_OBJECT
  public:
    explicit TMDIChild(IChildFrame& frame, QWidget* parent = nullptr);
    ~TMDIChild() override;

    VellEditWidget* mmText;
    TVellEdit& Edit() { return mmText->Edit(); }
    TVellView& View() { return mmText->View(); }

    /// The window's number in the frame's table, 1..N.
    int Tag = 0;
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

    // The context menu's commands.
    QAction *actUndo, *actRedo, *actCopy, *actAddCopy, *actCut, *actAddCut, *actPaste;
    QAction *actInsertFile, *actClipbrd, *actLineNum, *actMark, *actClearMark;
    QAction *actFind, *actUpFind, *actDownFind, *actSelFind;
    QAction *actReplace, *actUpReplace, *actDownReplace, *actSelReplace, *actSelected;
    QMenu* EditPop;
    QMenu* ConvertMenu;
    QMenu* MarkMenu;
    /// The actions whose shortcut the keyboard assignment sets, each with
    /// its file key's number (key14 → 14).
    std::vector<std::pair<int, QAction*>> AssignableActions() const;
    /// The context menu's actions in menu order, submenus flattened.
    QList<QAction*> MenuActions() const;

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
    QAction* MakeAction(const char* caption, const QKeySequence& shortcut = {});

    // Editor events.
    void mmTextSelectionChange();
    void mmTextChangeInsMode(bool insert);
    void mmTextChangeModify(bool modified);
    void mmTextChangeRedoMode(bool canRedo);
    void mmTextKeyPress();
    void mmTextChange();
    void mmTextUserDraw(int c1, int x1, int x2);
    void mmTextDblclick();
    void mmTextPaint();
    void DrawRulerCaret(bool afterRuler);
    void ConnectSearch();

    void AddCopy(bool cut);
    /// The selection replaced by its conversion, as one edit.
    void ConvertSelection(Conversion conversion);
    void InsertFile();
    void ToggleLineNumbers();

    IChildFrame& frame_;
    std::string caption_;
    QStatusBar* MDIStatus;
    QLabel* panels_[6];
    QTimer* sizeTimer_;
    QTimer* linesTimer_;
    bool shown_ = false;
    bool closingWithoutPrompt_ = false;
    bool painting_ = false;
};

}  // namespace tw
