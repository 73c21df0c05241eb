// Cut, copy and paste through the platform clipboard, which carries the raw
// Shift-JIS bytes, so that copy and paste inside the program are exact.
#include "editor/VellEdit.h"

namespace tw {

/// True when the selected text reached the clipboard.
bool TVellEdit::CopySelection() {
    if (!SelectionExists()) return false;
    std::string text;
    try {
        const RowPos caret = FSelection.Caret;
        text = ReadSelText();
        if (FSelection.AllSelected) FSelection.Caret = caret;
    } catch (const std::exception&) {
        ShowError("Error:OC003");
        return false;
    }
    try {
        FClipboard->SetText(text);
    } catch (const std::exception&) {
        ShowError("Error:OC002");
        return false;
    }
    return true;
}

void TVellEdit::CopyToClipboard() {
    CopySelection();
}

void TVellEdit::CutToClipboard() {
    if (ReadOnly || !SelectionExists()) return;
    // A text that did not reach the clipboard is not removed either.
    if (CopySelection()) DeleteSelection(true);
}

void TVellEdit::PasteFromClipboard() {
    if (ReadOnly) return;
    std::optional<std::string> text = FClipboard->GetText();
    if (!text) return;
    if (NeedsNormalizing(*text)) *text = NormalizeBreaks(*text);
    if (SelectionExists()) DeleteSelection(true);
    RecordUndo(UndoKind::Insert, *text, FSelection.Caret.Y, FSelection.Caret.X);
    InsertAtCaret(*text, true);
}

}  // namespace tw
