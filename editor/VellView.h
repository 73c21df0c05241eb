/** @file TVellView: the editor control on a surface — painting, caret, scrolling, keys, mouse. */
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorView.h"
#include "editor/VellEdit.h"
#include "platform/KeyboardState.h"
#include "platform/Surface.h"
#include "platform/TextMetrics.h"
#include "platform/Timer.h"
#include "platform/ViewHost.h"

namespace tw {

/// Scroll-bar request codes, numbered as the standard ones.
enum ScrollCode : int {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
};

enum class MouseButton { Left, Right, Middle };

/// The platform pieces one control draws and listens through.
struct ViewServices {
    const ITextMetrics* metrics = nullptr;
    ISurface* surface = nullptr;
    ICaret* caret = nullptr;
    IScrollBar* vbar = nullptr;
    IScrollBar* hbar = nullptr;
    IKeyboardState* keyboard = nullptr;
    IWindowHost* host = nullptr;
    ITimerFactory* timers = nullptr;
};

/// Virtual-key codes of the keys the control acts on.
enum VirtualKey : int {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_ESCAPE = 27,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_OEM_COMMA = 188,
    VK_OEM_PERIOD = 190,
};

/// What a link scan carries from one row of a wrapped line into the next.
struct LinkCarry {
    bool inLink = false, inTagName = false, inTagExt = false;
};

/// A link found on a row: bytes [x, x + len) of the entry.
struct LinkPart {
    int32_t row = 0, x = 0, len = 0;
    int id = 0;  ///< parts of one link cut by word wrap share it
    bool operator==(const LinkPart&) const = default;
};

/// Implements the engine's view seam over a drawing surface and adds what the
/// control does with the keyboard and the mouse. Rows are drawn at once; the
/// window only shows the surface.
class TVellView final : public IEditorView {
  public:
    TVellView(TVellEdit& edit, const ViewServices& services);
    ~TVellView() override;
    TVellView(const TVellView&) = delete;
    TVellView& operator=(const TVellView&) = delete;

    TVellEdit& Edit() noexcept { return ed_; }

    // ---- IEditorView ---------------------------------------------------------
    void HideCaret() override;
    void ShowCaret() override;
    void UpdateCaret() override;
    bool UpdateVertScrollBar(bool redraw) override;
    void UpdateHorzScrollBar(bool redraw) override;
    void DrawAll() override;
    void DrawLines(DrawSpan span, int32_t a, int32_t b) override;
    void DrawLineText(int32_t row, int fromPixelX) override;
    void DrawSelection() override;
    void DrawSelectedText() override;
    void DrawCaretUnderline(bool draw) override;
    void MoveCaretUnderline(int32_t oldRow, int32_t newRow) override;
    void ResetState() override;

    // ---- Geometry and painting -------------------------------------------------
    /// Window creation or re-creation: metrics, number column, size.
    void CreateView(int width, int height);
    void CalcFontMetrics();
    void CalcLineNumberWidth();
    void WMSize(int width, int height);
    void RefreshView();
    void Rewrap();
    void RecreateView();
    int RowY(int32_t row) const noexcept;
    /// Width of the tab-expanded text, measured from the row start.
    int ExpandedWidth(std::string_view rowPrefix) const;
    /// The width of row `r` without its terminator; a long row is measured
    /// once, since every repaint asks again.
    int RowWidth(int32_t r);
    /// The characters of bytes from..to-1 of `row` that fall in the text
    /// area, tabs expanded, and the x they start at.
    struct Piece {
        int x = 0;
        std::string text;
        bool reachesEnd = true;  ///< nothing of the bytes lies right of the text area
    };
    Piece VisiblePiece(std::string_view row, size_t from, size_t to) const;
    void DrawLineRange(int32_t fromRow, int32_t toRow);
    void DrawRowText(int x, int y, std::string_view row);
    void DrawLineSpan(int32_t row, int32_t fromCol, std::string_view text, bool selected,
                      int32_t toCol);
    void DrawLineEndMark(int x, int y, std::string_view ending);
    void DrawFullWidthSpaces(const PixelRect& clip, int x, bool selected, std::string_view text,
                             int y);
    void DrawLineNumbers(int32_t fromRow, int32_t toRow);
    /// Paints the background of rows past the end of the text.
    void ClearBelowText(int32_t fromRow, int32_t toRow);
    void ExtendSelection(int32_t x, int32_t y);
    int GetCaretX() const noexcept { return sel_.PixelX + vp_.TextLeft; }
    int LineNoWidth() const noexcept { return lineNoWidth_; }

    // ---- Links and quotations -------------------------------------------------
    /// Link parts of rows from the start of fromRow's logical line to toRow.
    std::vector<LinkPart> ScanLinks(int32_t fromRow, int32_t toRow) const;
    void DrawLinks(int32_t fromRow, int32_t toRow);
    /// Clip.left -1: no clipping.
    void DrawLinksClipped(int32_t fromRow, int32_t toRow, const PixelRect& clip);
    void DrawLinkSpan(const LinkPart& part, const PixelRect& clip);
    /// The whole link at (col, line), or empty; leaves (col, line) at the
    /// start of the next logical line.
    std::string GetLinkText(int32_t& col, int32_t& line, bool seekStart);
    int32_t LogicalStart(int32_t row) const;
    /// Rows the link scan has read since the view was made.
    int64_t LinkRowsScanned() const noexcept { return linkRowsScanned_; }

    // ---- Caret and scrolling ---------------------------------------------------
    void SetFocus();
    void KillFocus();
    int WMVScroll(int code, int thumb = 0);
    int WMHScroll(int code, int thumb = 0);
    void WMMouseWheel(int delta);
    void MoveVert(int delta);
    void MoveCaretLines(int32_t delta);
    void GoNextRowStart();
    void GoPrevRow();
    void UpdateSelectionAfterMove();
    int32_t ColFromX(std::string_view entry, int x);
    void KeepVisibleRight(int width, bool overTab);
    void KeepVisibleLeft(int width, bool overTab);
    void ScrollToLineEndX(int x);
    int32_t MaxTopLine() const noexcept { return maxTopLine_; }
    int MaxLineWidth() const noexcept { return maxLineWidth_; }
    int VScale() const noexcept { return vScale_; }
    int HScale() const noexcept { return hScale_; }
    int RepeatCount() const noexcept { return repeatCount_; }

    // ---- Keyboard -----------------------------------------------------------------
    /// Key codes follow the virtual-key numbering (VK_*).
    void KeyDown(int vk);
    void KeyUp(int vk);
    void CharTyped(unsigned char code);
    /// A committed input-method string in cp932: one insertion, one undo record.
    void ImeCommit(std::string_view cp932);
    void GoLineStart();
    void GoLineEnd();
    void MoveLeft(bool byWord);
    void MoveRight(bool byWord);
    void GoTop();
    void GoBottom();
    void PageScroll(int code);
    bool InKeyDown() const noexcept { return inKeyDown_; }

    // ---- Mouse and drag-and-drop --------------------------------------------------
    void SetCaretFromPoint(int x, int y);
    void MouseDown(MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(MouseButton button, int x, int y);
    void DblClick();
    void MouseSelectTo(int x, int y);
    void AutoScrollTimer();
    void StartTextDrag();
    /// The pointer moved during a text drag.
    void DragOver(int x, int y);
    /// The drop: moves, or with `copy` copies, the dragged text to the caret.
    void DoEndDrag(bool copy);
    /// Ends a text drag without a drop (a key was pressed during it).
    void CancelTextDrag();
    /// Ctrl pressed or released during a text drag switches the pointer shape.
    void DragModifierChanged(bool control);
    bool Dragging() const noexcept { return dragging_; }
    int AutoScroll() const noexcept { return autoScroll_; }
    DragCursorShape DragCursor() const noexcept { return dragCursor_; }

    /// Fired after the control acted on a key, a typed character, a double click.
    std::function<void(int vk)> OnKeyDown;
    std::function<void(unsigned char)> OnKeyPress;
    TVellEdit::TNotifyEvent OnDblclick;

  private:
    std::string RangeText(RowPos from, RowPos to);
    int32_t ResumeLinkScan(int32_t fromRow, LinkCarry& carry) const;
    void RememberLinkCarry(int32_t row, const LinkCarry& carry) const;
    TColor TextColorFor(std::string_view entry) const;
    void DottedLine(int x1, int y1, int x2, int y2, TColor color);
    void MarkLine(int x1, int y1, int x2, int y2, TColor color);
    void DrawArrow(int x, int y, TColor color);
    void FireUserDraw();
    void FinishRepaint();
    void DrawSelectedRow(int32_t row);
    bool FitNumberColumn();
    void SetScrollRects();
    void ScrollTextArea(int dx);
    bool InsideSelection(int32_t x, int32_t y) const;
    bool ShiftOrMouse() const;
    void BeginSelectionMove(bool shift);
    void EndSelectionMove(bool hadSelection);
    void DropText(bool copy);
    bool DraggedTextStillSelected();
    void SelectRowFromMargin();
    void FollowPointer(int x);

    TVellEdit& ed_;
    TSelection& sel_;
    TViewport& vp_;
    const ITextMetrics& metrics_;
    ISurface& surface_;
    ICaret& caret_;
    IScrollBar& vbar_;
    IScrollBar& hbar_;
    IKeyboardState& keyboard_;
    IWindowHost& host_;
    std::unique_ptr<ITimer> timer_;

    // Geometry beyond the engine's.
    /// TextLeft as the number column's digits give it; it only grows past it.
    int textLeftBase_ = 10;
    int lineNoWidth_ = 0;  ///< the number column with its gap; 0 without numbers
    int digitWidth_ = 8;
    /// The line-end arrow runs from a fifth to four fifths of the cell height.
    int crMarkTop_ = 3, crMarkBottom_ = 13;
    int zspcWidth_ = 16, zspcHeight_ = 16;  ///< the box of a full-width space
    int maxColumn_ = 2047;                  ///< the ruler's last column without word wrap
    /// The dotted-line drawer: where it is in its dot-gap rhythm and the dot
    /// it holds back.
    int dotCounter_ = 0;
    int dotX_ = 0, dotY_ = 0;
    /// The pixels a sideways scroll moves.
    PixelRect scrollRect_;

    // Scrolling.
    int32_t maxTopLine_ = 0;
    int maxLineWidth_ = 0;  ///< the widest visible row: the sideways range
    /// The last long row measured for the sideways range, held so that its
    /// bytes (which never change) cannot be freed and their address reused.
    Entry widthRow_;
    int widthTabs_ = 0;
    int64_t widthCells_ = 0;
    /// Rows and pixels per scroll-bar unit, so that the ranges fit 16 bits.
    int vScale_ = 1, hScale_ = 1;
    int32_t vScrollReq_ = 0;  ///< rows the last vertical scroll asked for
    int32_t vScrolled_ = 0;   ///< rows it really scrolled
    int hScrolled_ = 0;       ///< pixels the last sideways scroll really moved
    /// Edge scrolls in a row by Up (negative) or Down; from 5 on they go
    /// ScrollStep rows at a time.
    int repeatCount_ = 0;
    int wheelRest_ = 0;  ///< wheel units short of a whole notch
    bool inVScroll_ = false;
    bool scrollMovesCaret_ = true;  ///< cleared for one scroll the caret stays out of
    /// The goal column's pixel x, measured for goalXCached_ on the row the
    /// caret left at (lastVertX_, lastVertY_).
    int goalPixelX_ = 0;
    int32_t goalXCached_ = -1;
    int32_t lastVertX_ = -1, lastVertY_ = -1;
    bool hasFocus_ = false;

    // Keyboard.
    bool inKeyDown_ = false;

    // Mouse and drag.
    /// The left button went down in the text and is held (also during a drag).
    bool mouseSelecting_ = false;
    bool dragging_ = false;
    /// Where the pointer held outside the text asks the timer to go: -1 up,
    /// 1 down, 2 right, -2 left, 0 nowhere.
    int autoScroll_ = 0;
    bool dblClicked_ = false;  ///< the press that comes with a double click does nothing
    DragCursorShape dragCursor_ = DragCursorShape::Move;
    /// The dragged bytes, kept here so the drop never depends on the clipboard.
    std::string dragText_;
    RowPos dragFrom_, dragTo_;
    /// The row a click in the margin selected, while the button is held.
    int32_t marginRow_ = -1;

    // Links: the carry-over at the start of rows of long wrapped lines, so
    // that a repaint in the middle of one does not scan it from its start.
    static constexpr int32_t kLinkMarkSpacing = 256;
    static constexpr size_t kMaxLinkMarks = 4096;
    mutable std::map<int32_t, LinkCarry> linkMarks_;
    mutable int64_t linkRowsScanned_ = 0;
};

}  // namespace tw
