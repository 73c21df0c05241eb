// Creation, defaults, reset, the published properties and the whole text.
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "editor/VellEdit.h"
#include "textstore/EntryArena.h"
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
    SetAllText(S, nullptr);
}

void TVellEdit::SetAllText(std::string_view S, const std::function<void(size_t)>& consumed) {
    ResetState();
    try {
        LoadRows(S, consumed);
    } catch (const ListIndexError&) {
        // More rows than a store can hold: the text stays as it was.
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

/// Fills the rows from a whole text, already cut when word wrap is on, so a
/// big text is copied once and never held twice. The rows are filled aside
/// and take the place of the old ones only when the whole text is in.
void TVellEdit::LoadRows(std::string_view S, const std::function<void(size_t)>& consumed) {
    // An empty text, or one that starts with NUL, is the empty document; the
    // NUL bytes at the end are where the caller's text stops.
    std::string_view body = S.empty() || S[0] == '\0' ? std::string_view() : S;
    while (!body.empty() && body.back() == '\0')
        body.remove_suffix(1);
    std::string normalized;
    if (NeedsNormalizing(body)) body = normalized = NormalizeBreaks(body);

    TVellStrings rows;
    rows.SetCapacity(static_cast<int32_t>(std::min<size_t>(
        body.size() / TVellStrings::kBytesPerLineEstimate + 1, TVellStrings::kMaxCapacity)));
    EntryArena arena(body.size());
    const CutRule rule = MakeCutRule();
    LineIndex index;
    index.Reset(0);
    auto addLine = [&](std::string_view line) {
        if (!FWordWrap) {
            rows.Add(arena.Make({line}));
            return index.Append(true);
        }
        CutLine(line, rule, CutTest::FullWrap, [&](std::string_view piece) {
            rows.Add(arena.Make({piece}));
            index.Append(piece.data() + piece.size() == line.data() + line.size());
        });
    };
    // Only the caller's own text can be given back, not a normalized copy.
    const bool report = consumed && body.data() == S.data();
    constexpr size_t kReportStep = size_t{8} << 20;
    size_t pos = 0, reported = 0;
    for (size_t cr; (cr = body.find('\r', pos)) != std::string_view::npos; pos = cr + 2) {
        addLine(body.substr(pos, cr + 2 - pos));
        if (report && pos - reported >= kReportStep) consumed(reported = pos);
    }
    addLine(std::string(body.substr(pos)).append(kEndMarker));
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
