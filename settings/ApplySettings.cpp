// The settings a new document window, or the options dialog, gives an editor.
#include "settings/ApplySettings.h"

#include <algorithm>

// tw_app_core is built without the editor's include folder; the header's own
// includes resolve beside it.
#include "editor/VellEdit.h"

namespace tw {

namespace {

constexpr uint8_t kFontStyleBits = kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut;
static_assert(kFontBold == fsBold && kFontItalic == fsItalic && kFontUnderline == fsUnderline &&
                  kFontStrikeOut == fsStrikeOut,
              "the settings' style byte is the editor's font style");
constexpr const char* kDefaultFontName = "FixedSys";

void ApplyMarksAndQuoting(TVellEdit& ed, const EditorSettings& s) {
    ed.SetShowLineNumber(s.ShowLineNumber);
    ed.SetEofDraw(s.EofDraw);
    ed.SetCRDraw(s.CRDraw);
    ed.SetZspcDraw(s.ZspcDraw);
    ed.Inyostr = s.Inyostr;
    ed.InyoColor = s.InyoColor;
}

void ApplyLayout(TVellEdit& ed, const EditorSettings& s) {
    ed.SetWordWrap(s.WordWrap);
    ed.SetColumn(s.Column);
    ed.SetGyokan(s.Gyokan);
    ed.SetTabCount(s.TabCount);
    ed.ScrollStep = s.ScrollStep;
    ed.UlineF = s.UlineF;
}

void ApplyFontAndColours(TVellEdit& ed, const EditorSettings& s) {
    TVellFont font = ed.Font();
    font.Size = s.FontSize;
    font.Name = s.FontName;
    font.Color = s.FontColor;
    font.Style = s.FontStyle;
    ed.SetFont(font);
    ed.SetColor(s.EditorColor);
    ed.SetSelColor(s.SelColor);
    ed.URLColor = s.URLColor;
    ed.CREOFcolor = s.CREOFcolor;
    ed.UlineColor = s.UlineColor;
}

}  // namespace

// Tab width and column both shape the cut, so the rows are cut anew even
// when the column stayed.
void RelayOutEngine(TVellEdit& ed) {
    if (ed.WordWrap()) {
        ed.ApplyWordWrap(false, false);
        ed.ApplyWordWrap(true, true);
    }
    if (ed.SelectionExists()) ed.ClearSelection();
    ed.CalcFontMetrics();
    ed.MoveCaret(ed.CaretX(), ed.CaretY(), ScrollMode::IfNeeded, true);
}

uint32_t SaneColor(uint32_t color) noexcept {
    if ((color & 0xFF000000u) == 0) return color;
    if ((color & 0xFFFFFF00u) == 0x80000000u && (color & 0xFFu) <= kMaxSystemColor) return color;
    return color & 0x00FFFFFFu;
}

EditorSettings EditorSettingsFrom(const OptionData& o) {
    EditorSettings s;
    s.ShowLineNumber = o.ShowLineNumber;
    s.EofDraw = o.EofDraw;
    s.CRDraw = o.CRDraw;
    s.ZspcDraw = o.ZspcDraw;
    s.Inyostr = FitShortString(o.Inyostr);
    s.FontColor = SaneColor(o.FontColor);
    s.InyoColor = o.InyoEnabled ? SaneColor(o.InyoColor) : s.FontColor;
    s.WordWrap = o.WordWrap;
    s.Column = std::clamp(o.Column, kMinColumn, kMaxColumn);
    s.Gyokan = std::clamp(o.Gyokan, kMinGyokan, kMaxGyokan);
    s.TabCount = std::clamp(o.TabCount, kMinTabCount, kMaxTabCount);
    s.ScrollStep = static_cast<uint8_t>(std::clamp(o.ScrollStep, kMinScrollStep, kMaxScrollStep));
    s.UlineF = o.UlineF;
    s.FontSize = std::clamp(o.FontSize, kMinFontSize, kMaxFontSize);
    s.FontName = o.FontName.empty() ? kDefaultFontName : FitShortString(o.FontName);
    s.FontStyle = o.FontStyle & kFontStyleBits;
    s.EditorColor = SaneColor(o.EditorColor);
    s.SelColor = SaneColor(o.SelColor);
    s.URLColor = SaneColor(o.URLColor);
    s.CREOFcolor = SaneColor(o.CREOFcolor);
    s.UlineColor = SaneColor(o.UlineColor);
    return s;
}

ScreenRect SaneFramePlacement(const OptionData& o, const ScreenRect& available) {
    ScreenRect r;
    const int32_t maxWidth = std::max(available.Width, kMinFrameWidth);
    const int32_t maxHeight = std::max(available.Height, kMinFrameHeight);
    r.Width = std::clamp(o.WindowWidth, kMinFrameWidth, maxWidth);
    r.Height = std::clamp(o.WindowHeight, kMinFrameHeight, maxHeight);
    // 64-bit so that a stored INT_MAX position cannot overflow the sum.
    const int64_t right = int64_t{available.Left} + available.Width - r.Width;
    const int64_t bottom = int64_t{available.Top} + available.Height - r.Height;
    r.Left = static_cast<int32_t>(std::clamp<int64_t>(o.WindowLeft, available.Left,
                                                      std::max<int64_t>(right, available.Left)));
    r.Top = static_cast<int32_t>(
        std::clamp<int64_t>(o.WindowTop, available.Top, std::max<int64_t>(bottom, available.Top)));
    return r;
}

int32_t SaneTabWidth(const OptionData& o) noexcept {
    return std::clamp(o.TabWidth, kMinTabWidth, kMaxTabWidth);
}

int32_t BackupTimerInterval(const OptionData& o) noexcept {
    return o.AutoSave ? std::max(o.AutoSaveInterval, 0) : 0;
}

int32_t SaneBackupDays(const OptionData& o) noexcept {
    return std::max(o.BackupDays, 0);
}

void ApplySettings(TVellEdit& editor, const OptionData& options, const RelayOut& relayout) {
    const EditorSettings s = EditorSettingsFrom(options);
    ApplyMarksAndQuoting(editor, s);
    ApplyLayout(editor, s);
    ApplyFontAndColours(editor, s);
    if (relayout) relayout(editor);
}

}  // namespace tw
