// Creation, defaults, reset, the published properties and the whole text.
#include <algorithm>
#include <cmath>
#include <future>
#include <stdexcept>

#include "editor/RowMaker.h"
#include "editor/VellEdit.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

constexpr const char* kCaption = "Tarnwick Editor";

int CeilDiv5(int v) {
    return v <= 0 ? 0 : (v + 4) / 5;
}

}  // namespace

int TVellFont::Height() const {
    return -static_cast<int>(std::nearbyint(Size * 96.0 / 72.0));
}

TVellEdit::TVellEdit(const EditorServices& services)
    : FMetrics(services.metrics),
      FClipboard(services.clipboard),
      FMessages(services.messages),
      FView(services.view ? services.view : &FNoView) {
    if (!FMetrics || !FClipboard || !FMessages)
        throw std::invalid_argument("TVellEdit needs text metrics, a clipboard and a message box");
    InitDefaults();
    FLines.Add(Entry(kEndMarker));
    FLineIndex.Reset(1);
    CalcFontMetrics();
    FViewport.TextLeft = FLeftMargin;
    ResizeTextArea(185, 89);
    ResetState();
}

TVellEdit::~TVellEdit() = default;

IEditorView* TVellEdit::SetView(IEditorView* view) noexcept {
    IEditorView* const before = FView;
    FView = view ? view : &FNoView;
    return before;
}

void TVellEdit::InitDefaults() {
    FTopMargin = 4;
    FLeftMargin = 10;
    ScrollStep = 2;
    FCurSetMode = true;
    FSelColor = 0x000000;
    CREOFcolor = 0x808000;
    FTabCount = 6;
    FEofDraw = FCRDraw = FZspcDraw = true;
    UndoBuf = 0xF8000;
    FGyokan = 0;
    UlineF = false;
    FColor = 0xFFFFFF;
    FFont = TVellFont();
    ReadOnly = false;
    FHorzScrollBar = false;
    FVertScrollBar = true;
    FWordWrap = true;
    AutoWrap = false;
    FColumn = 72;
    Inyostr = ">";
    ColorPrintF = true;
    URLColor = 0xFF0000;
    InyoColor = 0x808080;
    UlineColor = 0x000000;
    FShowLineNumber = false;
    FLineNoColumn = 5;
}

void TVellEdit::ResetState() {
    FInsertMode = true;
    FSelection.Caret = FSelection.Reported = {0, 0};
    FSelection.CollapseToCaret();
    FSelection.GoalX = 0;
    FSelection.PixelX = 0;
    FViewport.TopLine = 0;
    FViewport.ScrollX = 0;
    FSelection.Selected = FSelection.AllSelected = false;
    FUndoing = false;
    ClearUndoList();
    ClearRedoList();
    FUndoLost = false;
    FFindWalk.DropHit();
    FModified = false;
    View().ResetState();
    if (OnChangeModify) OnChangeModify(*this, false);
    RaiseRedoMode(false);
}

void TVellEdit::RaiseModify(bool Value) {
    if (OnChangeModify) OnChangeModify(*this, Value);
}

/// The redo state is only tracked for an owner that listens to it.
void TVellEdit::RaiseRedoMode(bool Value) {
    if (!OnChangeRedoMode) return;
    FRedoEnabled = Value;
    OnChangeRedoMode(*this, Value);
}

void TVellEdit::ShowError(const std::string& Code) const {
    FMessages->Show(Code, kCaption, MessageButtons::Ok, MessageIcon::None);
}

int TVellEdit::TextWidth(std::string_view Bytes) const {
    return FMetrics->TextWidth(Bytes);
}

// ---- Whole text ---------------------------------------------------------------

bool NeedsNormalizing(std::string_view Text) noexcept {
    if (Text.find('\0') != std::string_view::npos) return true;
    for (size_t p = Text.find('\r'); p != std::string_view::npos; p = Text.find('\r', p + 1))
        if (p + 1 >= Text.size() || Text[p + 1] != '\n') return true;
    return false;
}

std::string NormalizeBreaks(std::string_view Text) {
    std::string out;
    out.reserve(Text.size() + 16);
    for (size_t i = 0; i < Text.size(); ++i) {
        char c = Text[i];
        if (c == '\0') continue;
        out.push_back(c);
        if (c != '\r') continue;
        out.push_back('\n');
        if (i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    }
    return out;
}

void TVellEdit::SetAllText(std::string_view S) {
    // An empty text, or one that starts with NUL, is the empty document; the
    // NUL bytes at the end are where the caller's text stops.
    std::string_view body = S.empty() || S[0] == '\0' ? std::string_view() : S;
    while (!body.empty() && body.back() == '\0')
        body.remove_suffix(1);
    // The text goes in as pieces that end after a line break, as a file
    // does; what follows the last break is the last line.
    size_t lines = body.rfind('\r');
    lines = lines == std::string_view::npos ? 0 : lines + 1;
    if (lines < body.size() && lines > 0 && body[lines] == '\n') ++lines;
    std::string_view rest = body.substr(0, lines);
    const std::string_view last = body.substr(lines);
    LoadAllText(
        [&rest] {
            const size_t cr = rest.size() > kLoadPiece ? rest.find('\r', kLoadPiece) : rest.npos;
            size_t n = cr == rest.npos ? rest.size() : cr + 1;
            if (n < rest.size() && rest[n] == '\n') ++n;
            const std::string_view piece = rest.substr(0, n);
            rest.remove_prefix(n);
            return piece;
        },
        body.size(), last);
}

void TVellEdit::SetAllText(const std::function<std::string_view()>& NextPiece,
                           size_t ExpectedBytes) {
    LoadAllText(NextPiece, ExpectedBytes, {});
}

void TVellEdit::LoadAllText(const std::function<std::string_view()>& NextPiece,
                            size_t ExpectedBytes, std::string_view LastLine) {
    ResetState();
    try {
        LoadRows(NextPiece, ExpectedBytes, LastLine);
    } catch (const ListIndexError&) {
        // More rows than a store can hold: the text stays as it was.
        AfterLayoutRedraw(true);
        throw;
    } catch (const FileIoError&) {
        // The text could not be read: the caller says so.
        AfterLayoutRedraw(true);
        throw;
    } catch (const std::exception&) {
        AfterLayoutRedraw(true);
        if (!FWordWrap) throw;
        ShowError("Error:OC004_0");
        return;
    }
    AfterLayoutRedraw(true);
}

namespace {

/// Where a big piece is shared between two threads: after the first line
/// break past its middle, 0 when it is not worth it or there is none.
size_t SplitPoint(std::string_view piece) {
    constexpr size_t kWorthSharing = size_t{1} << 20;
    if (piece.size() < kWorthSharing) return 0;
    const size_t cr = piece.find('\r', piece.size() / 2);
    if (cr == std::string_view::npos) return 0;
    const size_t split = cr + 1 + (cr + 1 < piece.size() && piece[cr + 1] == '\n');
    return split < piece.size() ? split : 0;
}

/// The rows of a run of lines whose last line ends at the end of the run,
/// break or not.
void CutRun(RowMaker& maker, std::string_view run, RowBatch& out) {
    const size_t done = maker.Cut(run, out);
    if (done < run.size()) maker.CutLast(run.substr(done), kCrLf, out);
}

}  // namespace

/// Fills the rows piece by piece, so a big text is copied once and never
/// held whole beside its rows. A big piece is cut by two threads, each half
/// into rows of its own arena; the rows join the store in order. The rows
/// are filled aside and take the place of the old ones only when the whole
/// text is in.
void TVellEdit::LoadRows(const std::function<std::string_view()>& NextPiece, size_t ExpectedBytes,
                         std::string_view LastLine) {
    TVellStrings rows;
    rows.SetCapacity(static_cast<int32_t>(std::min<size_t>(
        ExpectedBytes / TVellStrings::kBytesPerLineEstimate + 1, TVellStrings::kMaxCapacity)));
    LineIndex index;
    index.Reset(0);
    const CutRule rule = MakeCutRule();
    // Measuring pixel widths needs the metrics, which belong to this thread.
    const bool share = !(FWordWrap && rule.autoWrap);
    RowMaker mine(rule, FWordWrap, ExpectedBytes), theirs(rule, FWordWrap, ExpectedBytes);
    RowBatch first, second;
    auto take = [&](RowBatch& batch) {
        for (size_t i = 0; i < batch.rows.size(); ++i) {
            rows.Add(std::move(batch.rows[i]));
            index.Append(batch.endsLine[i]);
        }
        batch.Clear();
    };
    for (std::string_view piece = NextPiece(); !piece.empty();) {
        const size_t split = share ? SplitPoint(piece) : 0;
        if (split == 0) {
            CutRun(mine, piece, first);
            take(first);
            piece = NextPiece();
            continue;
        }
        auto helper =
            std::async(std::launch::async, [&] { CutRun(theirs, piece.substr(split), second); });
        mine.Cut(piece.substr(0, split), first);
        helper.get();
        // The rows are made: the next piece is read while they join the store.
        auto reading = std::async(std::launch::async, NextPiece);
        take(first);
        take(second);
        piece = reading.get();
    }
    mine.CutLast(LastLine, kEndMarker, first);
    take(first);
    rows.SetCapacity(rows.Count());
    FLines.Swap(rows);
    FLineIndex = std::move(index);
    RowsChangedFrom(0);
}

/// The end of a re-layout: the caret's pixel position anew, then either the
/// caret scrolled into view (which repaints) or everything repainted.
void TVellEdit::AfterLayoutRedraw(bool Redraw) {
    FSelection.End = FSelection.PrevCaret = FSelection.Caret;
    FViewport.ScrollX = 0;
    FSelection.PixelX = RowPrefixWidth(FSelection.Caret.Y, FSelection.Caret.X);
    if (!Redraw) return;
    if (MoveCaret(-1, -1, ScrollMode::IfNeeded, false)) return;
    View().HideCaret();
    View().UpdateVertScrollBar(true);
    View().DrawAll();
    UpdateCaret();
    View().ShowCaret();
}

bool TVellEdit::SaveToFile(const std::string& FileName) const {
    try {
        FLines.SaveToFile(FileName);
        return true;
    } catch (...) {
        return false;
    }
}

// ---- Properties ---------------------------------------------------------------

void TVellEdit::SetTopMargin(int Value) {
    FTopMargin = std::clamp(Value, 0, 30);
}

void TVellEdit::SetLeftMargin(int Value) {
    FLeftMargin = std::clamp(Value, 0, 30);
}

void TVellEdit::SetCurSetMode(bool Value) {
    FCurSetMode = Value;
    FViewport.CaretMargin = Value ? 10 : FViewport.HStep;
}

void TVellEdit::SetSelColor(TColor Value) {
    FSelColor = Value;
}

void TVellEdit::SetTabCount(int Value) {
    FTabCount = std::clamp(Value, 1, 8);
}

void TVellEdit::SetEofDraw(bool Value) {
    FEofDraw = Value;
}

void TVellEdit::SetCRDraw(bool Value) {
    FCRDraw = Value;
}

void TVellEdit::SetZspcDraw(bool Value) {
    FZspcDraw = Value;
}

void TVellEdit::SetGyokan(int Value) {
    FGyokan = std::clamp(Value, 0, 100);
    // Rounded to nearest, ties to even: 9.5 extra pixels make 10.
    FViewport.RowHeight = FViewport.CharHeight +
                          static_cast<int>(std::nearbyint(FViewport.CharHeight * FGyokan / 100.0));
    if (FViewport.RowHeight <= 0) return;
    FViewport.PageLines = std::max(FViewport.TextHeight, 0) / FViewport.RowHeight;
    FViewport.VMargin = CeilDiv5(FViewport.PageLines);
}

void TVellEdit::SetColor(TColor Value) {
    FColor = Value;
    View().DrawAll();
}

void TVellEdit::SetFont(const TVellFont& Value) {
    FFont = Value;
}

void TVellEdit::SetHorzScrollBar(bool Value) {
    if (Value == FHorzScrollBar) return;
    FHorzScrollBar = Value;
    View().UpdateHorzScrollBar(false);
}

void TVellEdit::SetVertScrollBar(bool Value) {
    if (Value == FVertScrollBar) return;
    FVertScrollBar = Value;
    View().UpdateVertScrollBar(false);
}

void TVellEdit::SetShowLineNumber(bool Value) {
    FShowLineNumber = Value;
}

void TVellEdit::SetLineNoColumn(int Value) {
    FLineNoColumn = std::clamp(Value, 1, 5);
}

// ---- Geometry -----------------------------------------------------------------

void TVellEdit::CalcFontMetrics() {
    FontMetrics m = FMetrics->Metrics();
    FViewport.CharWidth = m.aveCharWidth;
    FViewport.CharHeight = m.height;
    SetGyokan(FGyokan);
}

void TVellEdit::ResizeTextArea(int Width, int Height) {
    FViewport.Width = Width;
    FViewport.Height = Height;
    FViewport.TextWidth = Width - FViewport.TextLeft;
    FViewport.TextHeight = Height - FTopMargin;
    FViewport.PageLines =
        FViewport.RowHeight > 0 ? std::max(FViewport.TextHeight, 0) / FViewport.RowHeight : 0;
    FViewport.VMargin = CeilDiv5(FViewport.PageLines);
    FViewport.HStep = CeilDiv5(FViewport.TextWidth);
    SetCurSetMode(FCurSetMode);
}

}  // namespace tw
