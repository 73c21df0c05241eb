/** @file TVellEdit, the editor control's engine: text, layout, caret, edits, undo. */
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/EditorView.h"
#include "editor/FindWalk.h"
#include "editor/LineCutter.h"
#include "editor/LineIndex.h"
#include "editor/RowPos.h"
#include "editor/Selection.h"
#include "editor/UndoRecord.h"
#include "editor/Viewport.h"
#include "platform/Clipboard.h"
#include "platform/Color.h"
#include "platform/MessageBox.h"
#include "platform/TextMetrics.h"
#include "textstore/LineStore.h"

namespace tw {

/// Font style bits, in the order of the settings' style byte.
enum TFontStyle : uint8_t {
    fsBold = 0x01,
    fsItalic = 0x02,
    fsUnderline = 0x04,
    fsStrikeOut = 0x08
};

struct TVellFont {
    std::string Name = "FixedSys";
    int Size = 14;
    TColor Color = 0x000000;
    uint8_t Style = 0;  ///< TFontStyle bits
    /// The character height as a font record gives it: negative pixels.
    int Height() const;
};

/// How far a caret move scrolls vertically to show the caret's row.
enum class ScrollMode {
    IfNeeded,  ///< only a row off screen, keeping a fifth of the page around it
    Center,    ///< the row in the middle of the page
    NearTop,   ///< the row a fifth of the page below the top, where search hits show
};

/// The platform the engine talks to. Metrics, clipboard and messages are
/// required; without a view nothing is painted.
struct EditorServices {
    const ITextMetrics* metrics = nullptr;
    IClipboard* clipboard = nullptr;
    IMessageBox* messages = nullptr;
    IEditorView* view = nullptr;
};

/// The whole state of one editor control and every operation on its text that
/// needs no screen. A logical line is stored as one row per display row; the
/// caret never stands on a trail byte or a terminator.
class TVellEdit {
  public:
    using TNotifyEvent = std::function<void(TVellEdit& Sender)>;
    using TFlagEvent = std::function<void(TVellEdit& Sender, bool value)>;
    using TFindEvent =
        std::function<void(TVellEdit& Sender, std::string_view Str, std::string_view findchr,
                           int32_t index, int32_t& x, int32_t& len)>;
    using TFindHitEvent = std::function<void(TVellEdit& Sender, std::string_view findchr, int32_t x,
                                             int32_t y, int32_t len, int32_t Count)>;
    using TFindNoHitEvent = std::function<void(TVellEdit& Sender, std::string_view findchr)>;
    using TFindCandidateEvent = std::function<int32_t(TVellEdit& Sender, std::string_view findchr,
                                                      int32_t From, int32_t Last)>;
    using TFindChangeEvent = std::function<void(TVellEdit& Sender, TFindChange& Change)>;
    using TUserDrawEvent = std::function<void(TVellEdit& Sender, int c1, int c2, int x1, int x2)>;

    explicit TVellEdit(const EditorServices& services);
    TVellEdit(const TVellEdit&) = delete;
    TVellEdit& operator=(const TVellEdit&) = delete;
    ~TVellEdit();

    /// The window that shows the control from now on (none: nullptr); the
    /// one that showed it until now, to be put back.
    IEditorView* SetView(IEditorView* view) noexcept;

    // ---- State, properties and the whole text ----------------------------
    void InitDefaults();
    void ResetState();
    std::string GetAllText() const { return FLines.GetText(); }
    /// Replaces the whole document and forgets caret, selection and history.
    /// The text ends where its trailing NUL bytes start (one that starts with
    /// NUL is empty); lone CRs become line breaks, other NULs are dropped.
    void SetAllText(std::string_view S);
    /// The same for a text that arrives in pieces (a file as DocumentReader
    /// reads it), never held whole: NextPiece gives the next piece, empty at
    /// the end; it may be called on another thread, one call at a time. A
    /// piece ends its last line; CR LF is added where it lacks one.
    /// `ExpectedBytes` is what the pieces will add up to, about. A
    /// FileIoError thrown by NextPiece comes through, the document as it was.
    void SetAllText(const std::function<std::string_view()>& NextPiece, size_t ExpectedBytes);
    /// False when anything went wrong; the document is left as it was.
    bool SaveToFile(const std::string& FileName) const;

    /// Pixels above the first row, where the owner may draw a ruler (0..30).
    int TopMargin() const noexcept { return FTopMargin; }
    void SetTopMargin(int Value);
    /// Pixels left of the line numbers, or of the text without them (0..30).
    int LeftMargin() const noexcept { return FLeftMargin; }
    void SetLeftMargin(int Value);
    /// Following the caret to the right leaves 10 pixels right of it, not a fifth of the width.
    bool CurSetMode() const noexcept { return FCurSetMode; }
    void SetCurSetMode(bool Value);
    /// Background of selected text.
    TColor SelColor() const noexcept { return FSelColor; }
    void SetSelColor(TColor Value);
    /// A tab stop every TabCount byte columns (1..8).
    int TabCount() const noexcept { return FTabCount; }
    void SetTabCount(int Value);
    /// Mark the end of the text with "[EOF]".
    bool EofDraw() const noexcept { return FEofDraw; }
    void SetEofDraw(bool Value);
    /// Mark each line break with an arrow.
    bool CRDraw() const noexcept { return FCRDraw; }
    void SetCRDraw(bool Value);
    /// Mark full-width spaces with a dotted box.
    bool ZspcDraw() const noexcept { return FZspcDraw; }
    void SetZspcDraw(bool Value);
    /// Extra line spacing in percent of the character height (0..100).
    int Gyokan() const noexcept { return FGyokan; }
    void SetGyokan(int Value);
    /// Background of the whole control.
    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor Value);
    const TVellFont& Font() const noexcept { return FFont; }
    void SetFont(const TVellFont& Value);
    bool HorzScrollBar() const noexcept { return FHorzScrollBar; }
    void SetHorzScrollBar(bool Value);
    bool VertScrollBar() const noexcept { return FVertScrollBar; }
    void SetVertScrollBar(bool Value);
    bool WordWrap() const noexcept { return FWordWrap; }
    void SetWordWrap(bool Value);
    /// The word-wrap column in bytes (at least 10).
    int32_t Column() const noexcept { return FColumn; }
    void SetColumn(int32_t Value);
    bool ShowLineNumber() const noexcept { return FShowLineNumber; }
    void SetShowLineNumber(bool Value);
    /// Digits the line-number column makes room for at first (1..5).
    int LineNoColumn() const noexcept { return FLineNoColumn; }
    void SetLineNoColumn(int Value);

    // Plain published fields.
    /// Rows per line scroll once the view has been scrolled at its edge four
    /// times in a row (a held arrow key or mouse button).
    uint8_t ScrollStep = 2;
    /// Colour of the line-break, end-of-text and full-width-space marks and
    /// of the line numbers.
    TColor CREOFcolor = 0x808000;
    /// The most bytes of text the undo list holds.
    int32_t UndoBuf = 0xF8000;
    /// Underline the caret row.
    bool UlineF = false;
    /// Every edit, undo and redo does nothing; moving and copying still work.
    bool ReadOnly = false;
    /// With word wrap, wrap also at the window's width.
    bool AutoWrap = false;
    /// The quotation marks: a row whose first character is one of them is
    /// painted in InyoColor.
    std::string Inyostr = ">";
    /// Colour links and quoted rows.
    bool ColorPrintF = true;
    /// Text colour of links.
    TColor URLColor = 0xFF0000;
    /// Text colour of quoted rows.
    TColor InyoColor = 0x808080;
    /// Colour of the caret-row underline.
    TColor UlineColor = 0x000000;

    // Events, raised only when assigned.
    /// After every recorded edit and every undo or redo step.
    TNotifyEvent OnChange;
    /// The modified state changed.
    TFlagEvent OnChangeModify;
    /// Redo became possible or impossible.
    TFlagEvent OnChangeRedoMode;
    /// The search asks for the owner's first match in Str: x its 1-based
    /// position or 0, len its length when not that of findchr; `index` is the row.
    TFindEvent OnFind;
    /// Optional: the first row from From to Last whose search window may hold
    /// a match OnFind would accept, or a row past Last when none may. The walk
    /// forward asks OnFind only about such rows (and always about the last),
    /// so the owner can scan the rows in place instead of answering millions
    /// of questions; its answer must never pass a row OnFind would accept.
    TFindCandidateEvent OnFindCandidate;
    /// A search hit of `len` bytes at (x, y), the Count-th of the walk.
    TFindHitEvent OnFindHit;
    /// The search reached the end of the text without a hit.
    TFindNoHitEvent OnFindNoHit;
    /// The replace mode asks before one replacement.
    TFindChangeEvent OnFindChange;
    /// The caret moved, or a selection was made or dropped.
    TNotifyEvent OnSelectionChange;
    /// Insert (true) or overwrite mode was switched on.
    TFlagEvent OnChangeInsMode;
    /// The strip above the rows was cleared for the owner's ruler: columns
    /// c1 to x2 are visible, the text starts at pixel x1, c2 is the width.
    TUserDrawEvent OnUserDraw;
    /// After a repaint, for marks the owner puts over the text.
    TNotifyEvent OnPaint;

    // ---- The rows ---------------------------------------------------------
    const TVellStrings& Lines() const noexcept { return FLines; }
    /// Logical lines in the text (rows that end with a line break or the end marker).
    int32_t LogicalLineCount() const noexcept { return FLineIndex.LineEnds(); }
    /// The lowest row changed since the last call, INT32_MAX when none: what
    /// the view found in the rows above it still holds.
    int32_t TakeChangedFrom() noexcept { return std::exchange(FChangedFrom, INT32_MAX); }
    /// The largest caret X on a row: before its terminator, or its full
    /// length for a wrapped piece.
    int32_t MaxCaretX(int32_t Row) const;
    /// Pixel width of the first `Bytes` bytes of a row, tabs expanded.
    int RowPrefixWidth(int32_t Row, int32_t Bytes) const;
    /// The same in columns.
    int64_t RowPrefixColumns(int32_t Row, int32_t Bytes) const;

    // ---- Layout and word wrap ----------------------------------------------
    /// Cuts every logical line into rows of the wrap column (Wrap), or joins
    /// them back into one row each; the caret keeps its byte.
    void ApplyWordWrap(bool Wrap, bool Redraw);
    /// S := the rows of the logical line from row Y on, joined; LastY its last row.
    void JoinLogicalLine(int32_t Y, int32_t& LastY, std::string& S) const;
    /// (X, Y) from a logical line and an offset in it to a row and an offset
    /// in the row. Undo records keep logical positions.
    void LogicalToEntry(int32_t& X, int32_t& Y);
    /// (X, Y) from a row and an offset in it to a logical line and an offset in the line.
    void EntryToLogical(int32_t& X, int32_t& Y);

    // ---- Positions and selection -------------------------------------------
    bool SelectionExists() const noexcept { return FSelection.Exists(); }
    /// The painted selection, the earlier end first (a select-all: the whole
    /// text); both ends at the caret when nothing is selected. The result
    /// is SelectionExists().
    bool GetSelectionRange(int32_t& X1, int32_t& Y1, int32_t& Y2, int32_t& X2) const;
    /// The selected text; a select-all is turned into a range from the start
    /// to the caret at the end of the text.
    std::string ReadSelText();
    /// The selected text, anchor and caret left where they were.
    std::string GetSelText();
    void SelectAll();
    /// The caret to (X, Y), clamped onto the text and off trail bytes, with
    /// no selection left; true when the view scrolled.
    bool GotoXY(int32_t X, int32_t Y, ScrollMode Mode = ScrollMode::IfNeeded);
    /// The caret to (X, Y), clamped to its row, or left where it is for a
    /// negative X, and scrolled into view; true when the view scrolled.
    bool MoveCaret(int32_t X, int32_t Y, ScrollMode Mode, bool ResetAnchor);
    /// Moves the top row and the sideways scroll so that pixel x PixelX of
    /// row Y shows, Margin pixels inside the edges; true when either moved.
    bool ScrollIntoView(int PixelX, int32_t Y, ScrollMode Mode, int Margin);
    /// Y := the first row of the logical line holding row Y, LastY its last.
    void GetLogicalLineRange(int32_t& Y, int32_t& LastY) const;
    /// S := the logical line holding row Y without its line break; an empty
    /// last line leaves S as it was.
    void GetLogicalLine(int32_t Y, std::string& S) const;
    /// Removes any selection, repaints it and collapses the anchor to the caret.
    void ClearSelection();
    /// Forgets a highlighted search hit; the next search starts at the caret.
    void ClearHit();
    /// Places the caret through the view and reports a moved caret.
    void UpdateCaret();

    // ---- Editing and the clipboard -------------------------------------------
    /// The primitive under every insertion: records nothing; the caret ends
    /// after S and no selection is left. S should have CR LF breaks only.
    void InsertAtCaret(std::string_view S, bool Redraw);
    /// The primitive under every deletion: removes the selected text (a
    /// select-all included) and records it, unless an undo is replaying.
    void DeleteSelection(bool Redraw);
    /// Replaces the selection by S, or inserts S at the caret.
    void SetSelText(std::string_view S);
    /// ReplaceRangeEx, repainting.
    void ReplaceRange(std::string_view Text, int32_t StartX, int32_t EndY, int32_t EndX,
                      int32_t StartY);
    /// Replaces (StartX, StartY)..(EndX, EndY). A negative start keeps that
    /// coordinate of the anchor; EndY < 0 inserts at the anchor instead. With
    /// word wrap an EndX past its row counts on through the following pieces.
    void ReplaceRangeEx(std::string_view Text, int32_t StartX, bool Redraw, int32_t EndY,
                        int32_t EndX, int32_t StartY);
    /// Replaces rows FromY..ToY, their breaks included. On return ToY is the
    /// last row the caller has to repaint.
    void ReplaceLines(std::string_view Text, int32_t& FromY, int32_t& ToY);
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    // ---- The editing keys ------------------------------------------------------
    // Each is one undo step; none does anything while ReadOnly.
    /// Typed text or a committed input-method string. It replaces a selection;
    /// in overwrite mode it replaces as many bytes of its line as it has.
    void InsertTyped(std::string_view S);
    /// Enter: splits the line at the caret, no indentation carried over.
    void NewLine();
    void InsertTab();
    /// The character at the caret, a line break included; a selection instead.
    void DeleteChar();
    /// The character before the caret; a selection instead.
    void BackSpace();
    /// To the next or previous change of word class on the caret's row.
    void DeleteWordRight();
    void DeleteWordLeft();
    /// True: typing inserts; false: it overwrites.
    bool InsertMode() const noexcept { return FInsertMode; }
    void ToggleInsertMode();
    /// A range from Anchor to the caret at Caret, as a Shift move leaves it.
    void Select(RowPos Anchor, RowPos Caret);

    // ---- Undo and redo ---------------------------------------------------------
    /// Records an edit at (X, Y) in rows (X = -1: the selection start) and
    /// drops the redo list. False when the text alone exceeds UndoBuf: then
    /// nothing is kept, all history goes and the document stays modified.
    bool RecordUndo(UndoKind Kind, std::string_view Text, int32_t Y, int32_t X);
    void Undo();
    void Redo();
    /// Forgets all history: unmodified, nothing to undo or redo.
    void ResetModified();
    const std::deque<UndoRecord>& UndoList() const noexcept { return FUndoList; }
    const std::deque<UndoRecord>& RedoList() const noexcept { return FRedoList; }
    int64_t UndoSize() const noexcept { return FUndoSize; }
    int64_t RedoSize() const noexcept { return FRedoSize; }
    /// Some history was dropped, so undoing everything no longer makes the
    /// text unmodified.
    bool UndoLost() const noexcept { return FUndoLost; }

    // ---- Geometry the engine needs from the font and the window ----------------
    /// Character size and row height from the font the metrics measure.
    void CalcFontMetrics();
    /// The text area, page rows and scroll steps for a client size.
    void ResizeTextArea(int Width, int Height);
    /// The highest top row: the view may scroll a margin less one row past
    /// the last row.
    int32_t MaxTopLine() const noexcept {
        return std::max(0, FLines.Count() + FViewport.VMargin - FViewport.PageLines - 1);
    }

    // ---- The parts the view shares --------------------------------------------------
    TSelection& Selection() noexcept { return FSelection; }
    const TSelection& Selection() const noexcept { return FSelection; }
    TViewport& Viewport() noexcept { return FViewport; }
    const TViewport& Viewport() const noexcept { return FViewport; }
    TFindWalk& FindWalk() noexcept { return FFindWalk; }
    const TFindWalk& FindWalk() const noexcept { return FFindWalk; }
    int32_t CaretX() const noexcept { return FSelection.Caret.X; }
    int32_t CaretY() const noexcept { return FSelection.Caret.Y; }
    int32_t TopLine() const noexcept { return FViewport.TopLine; }
    /// The text differs from its last load or save.
    bool Modified() const noexcept { return FModified; }
    /// What OnChangeRedoMode last reported.
    bool RedoEnabled() const noexcept { return FRedoEnabled; }

    // ---- Search and replace -------------------------------------------------------
    // The owner matches through OnFind and hears of hits through OnFindHit and
    // OnFindNoHit; the control only walks the rows and moves the caret.
    /// What the next walks look for; they start afresh from the caret.
    void SetFindText(std::string_view S);
    /// One hit forward from the first row.
    void FindFirst();
    /// One hit forward from the caret, or after the last hit.
    void FindNext();
    /// One hit backward from the caret, or before the last hit.
    void FindPrev();
    /// Replaces the next hit from the walk's row on, or every hit down to the
    /// last row, asking through OnFindChange while confirming.
    void FindForward(bool ReplaceAll);
    /// Shows the current hit in `Color`, its text in the inverse colour.
    void PaintHit(TColor Color);
    /// Paints Len bytes from (X, Y) on, across rows: normally (Restore) or as
    /// FontColor text on BackColor. The selection itself is left alone.
    void PaintRange(int32_t X, int32_t Y, bool Restore, TColor BackColor, TColor FontColor,
                    int32_t Len);

    /// From (X, Y), `Length` bytes on through the rows, terminators counted.
    void WalkToEnd(int32_t Length, int32_t& X, int32_t& Y) const;

  private:
    void PaintRangeAsSelection(int32_t X, int32_t Y, int32_t EndX, int32_t EndY, TColor BackColor,
                               TColor FontColor);

    IEditorView& View() const noexcept { return *FView; }
    void ShowError(const std::string& Code) const;
    int TextWidth(std::string_view Bytes) const;
    void RaiseModify(bool Value);
    void RaiseRedoMode(bool Value);

    // The rows.
    /// Every change of the rows goes through these, so that logical line
    /// numbers stay known without counting from the top.
    void PutLine(int32_t Index, Entry S);
    void InsertLine(int32_t Index, Entry S);
    void DeleteLines(int32_t Index, int32_t Count);
    /// Inserts `Text` split at its line breaks; returns the last row inserted.
    int32_t InsertLines(int32_t Index, std::string_view Text);
    /// Row Y becomes Before + Text + After, Text holding at least one line
    /// break, split into rows; returns the last of them.
    int32_t SpliceRow(int32_t Y, std::string_view Before, std::string_view Text,
                      std::string_view After);

    // Whole text and layout.
    /// After an edit: re-cuts the logical lines from row FromY, one per row up
    /// to ToY as they stood after the edit, keeping the caret on its byte
    /// (the caret X may run past its row). PixelX is where repainting starts.
    void RewrapRange(int PixelX, int32_t FromY, bool Redraw, bool Force, int32_t ToY);
    /// How the current settings cut a line into rows.
    CutRule MakeCutRule() const;
    void LoadAllText(const std::function<std::string_view()>& NextPiece, size_t ExpectedBytes,
                     std::string_view LastLine);
    void LoadRows(const std::function<std::string_view()>& NextPiece, size_t ExpectedBytes,
                  std::string_view LastLine);
    /// How much of a whole text SetAllText hands to the rows at a time.
    static constexpr size_t kLoadPiece = size_t{4} << 20;
    void AfterLayoutRedraw(bool Redraw);
    void WrapInto(std::vector<Entry>& List, LineIndex& Index) const;
    void UnwrapInto(std::vector<Entry>& List, LineIndex& Index) const;
    void AssignRows(const std::vector<Entry>& List, LineIndex& Index);
    int32_t RewrapLine(int32_t& W, const CutRule& Rule, bool CaretPass, int32_t& C, int32_t& NewRow,
                       bool ToLineEnd);
    void KeepRestIfFull(int32_t W, const std::string& Rest);
    void RewrapRepaint(int PixelX, int32_t FromY, int32_t LastRow, bool Full);

    // Editing.
    std::string OverwriteAtCaret(std::string_view S);
    /// Removes (X1, Y1)..(X2, Y2), rows in order, as one edit recorded under
    /// `Kind`, so that its undo puts the caret where that key expects it.
    void RemoveRange(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, UndoKind Kind, bool Redraw);
    void RemoveAtCaret(UndoKind Kind);
    void StepOffPieceEnd();
    void PlaceAfterRowEdit(bool Redraw, int32_t Row, int FromPixelX);
    void RepaintFromRow(int32_t Row, int FromPixelX);
    bool ClampPosition(int32_t& X, int32_t& Y) const;
    void FindRangeEnd(int32_t EndX, int32_t EndY);
    bool CopySelection();
    void DeleteSameRow(const std::string& Removed, bool Redraw);
    bool ReplaceWithinRow(std::string_view Text, bool Redraw);
    void DeleteAcrossRows(int32_t Xa, int32_t Ya, int32_t Xb, int32_t Yb, bool Redraw);

    // Undo.
    void ClearUndoList();
    void ClearRedoList();
    /// The shared step of Undo and Redo: replays the front record of `List`.
    void ReplayRecord(std::deque<UndoRecord>& List, bool IsUndo);
    /// Moves the front record of one list to the other under a new kind.
    void MoveUndoRecord(UndoKind Kind, bool ToRedo);
    void ToRowPosition(int32_t& X, int32_t& Y);
    void ReplayRemoval(std::deque<UndoRecord>& List, const UndoRecord& R, bool IsUndo);
    bool ReplayGroupPartner(std::deque<UndoRecord>& List, bool IsUndo);
    void ReplayReinsertBefore(const UndoRecord& R, bool IsUndo);
    void ReplayJoinBreak(const UndoRecord& R, bool IsUndo);
    void InsertKeepingCaret(std::string_view Text, bool Redraw);
    void ForgetRecordOf(std::string_view Text);

    /// The last column counted in a long row. The caret's column there is
    /// asked for several times a keystroke, each time a little further on;
    /// the row is held so its bytes (which never change) stay where they are.
    struct PrefixMemo {
        Entry row;
        int32_t bytes = 0;
        int64_t column = 0;
        int tabs = 0;
    };
    mutable PrefixMemo FPrefixMemo;
    /// Row `Row` starts with `Bytes` bytes that reach column `Column`.
    void RememberPrefix(int32_t Row, int32_t Bytes, int64_t Column) const;

    const ITextMetrics* FMetrics;
    IClipboard* FClipboard;
    IMessageBox* FMessages;
    IEditorView* FView;
    /// What FView points at while no window shows the control.
    NullEditorView FNoView;

    TVellStrings FLines;
    /// Which rows end logical lines, to find a line's rows without counting.
    LineIndex FLineIndex;
    /// The lowest row changed since TakeChangedFrom.
    int32_t FChangedFrom = 0;
    /// The bytes of its logical line before a row, known while no row above
    /// it changes.
    struct LineOffset {
        int32_t row = -1, bytes = 0;
    } FLineOffset;
    void RowsChangedFrom(int32_t Row) noexcept {
        FChangedFrom = std::min(FChangedFrom, Row);
        if (Row < FLineOffset.row) FLineOffset.row = -1;
    }
    TSelection FSelection;
    TViewport FViewport;
    TFindWalk FFindWalk{*this};
    /// Typing inserts; false: it overwrites.
    bool FInsertMode = true;

    /// The newest record first; the undo list is capped at UndoBuf bytes of text.
    std::deque<UndoRecord> FUndoList, FRedoList;
    /// Bytes of text held by each list.
    int64_t FUndoSize = 0, FRedoSize = 0;
    /// Records fell off the undo list: undoing all no longer gives the saved text.
    bool FUndoLost = false;
    /// A replay is deleting or inserting: the primitives record nothing.
    bool FUndoing = false;
    /// The text differs from the one loaded or last saved.
    bool FModified = false;
    /// The last OnChangeRedoMode told the owner that redo is possible.
    bool FRedoEnabled = false;

    int FTopMargin = 4, FLeftMargin = 10;
    bool FCurSetMode = true;
    TColor FSelColor = 0x000000;
    int FTabCount = 6;
    bool FEofDraw = true, FCRDraw = true, FZspcDraw = true;
    int FGyokan = 0;
    TColor FColor = 0xFFFFFF;
    TVellFont FFont;
    bool FHorzScrollBar = false, FVertScrollBar = true;
    bool FWordWrap = true;
    int32_t FColumn = 72;
    bool FShowLineNumber = false;
    int FLineNoColumn = 5;
};

/// Makes a text safe to put into the rows: a CR without its LF becomes CR LF
/// and NUL bytes are dropped, since either would otherwise end a row in the
/// middle of a line. Texts with CR LF breaks only come back unchanged.
std::string NormalizeBreaks(std::string_view Text);
bool NeedsNormalizing(std::string_view Text) noexcept;

}  // namespace tw
