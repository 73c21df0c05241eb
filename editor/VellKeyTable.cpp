// The control's fixed key table, typed characters and input-method text.
#include <array>
#include <string>

#include "editor/VellView.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

/// Which modifier state a row of the table answers to.
enum class When { Ctrl, NoCtrl, Shift, Neither, Any };

struct KeyBinding {
    int vk;
    When when;
    void (*run)(TVellView&);
};

// The groups run in this order and one press may hit several of them, so
// Ctrl+Shift+Insert copies and then pastes.
constexpr std::array kKeyTable{
    KeyBinding{VK_BACK, When::Ctrl, [](TVellView& v) { v.DeleteWordLeft(); }},
    KeyBinding{VK_END, When::Ctrl, [](TVellView& v) { v.GoBottom(); }},
    KeyBinding{VK_HOME, When::Ctrl, [](TVellView& v) { v.GoTop(); }},
    KeyBinding{VK_LEFT, When::Ctrl, [](TVellView& v) { v.MoveLeft(true); }},
    KeyBinding{VK_RIGHT, When::Ctrl, [](TVellView& v) { v.MoveRight(true); }},
    KeyBinding{VK_INSERT, When::Ctrl, [](TVellView& v) { v.Edit().CopyToClipboard(); }},
    KeyBinding{'C', When::Ctrl, [](TVellView& v) { v.Edit().CopyToClipboard(); }},
    KeyBinding{VK_DELETE, When::Ctrl, [](TVellView& v) { v.DeleteWordRight(); }},
    KeyBinding{'A', When::Ctrl, [](TVellView& v) { v.Edit().SelectAll(); }},
    KeyBinding{'V', When::Ctrl, [](TVellView& v) { v.Edit().PasteFromClipboard(); }},
    KeyBinding{'X', When::Ctrl, [](TVellView& v) { v.Edit().CutToClipboard(); }},
    KeyBinding{'Z', When::Ctrl, [](TVellView& v) { v.Edit().Undo(); }},
    KeyBinding{VK_OEM_COMMA, When::Ctrl, [](TVellView& v) { v.GoLineStart(); }},
    KeyBinding{VK_OEM_PERIOD, When::Ctrl, [](TVellView& v) { v.GoLineEnd(); }},
    KeyBinding{VK_BACK, When::NoCtrl, [](TVellView& v) { v.BackSpace(); }},
    KeyBinding{VK_END, When::NoCtrl, [](TVellView& v) { v.GoLineEnd(); }},
    KeyBinding{VK_HOME, When::NoCtrl, [](TVellView& v) { v.GoLineStart(); }},
    KeyBinding{VK_LEFT, When::NoCtrl, [](TVellView& v) { v.MoveLeft(false); }},
    KeyBinding{VK_RIGHT, When::NoCtrl, [](TVellView& v) { v.MoveRight(false); }},
    KeyBinding{VK_INSERT, When::Shift, [](TVellView& v) { v.Edit().PasteFromClipboard(); }},
    KeyBinding{VK_DELETE, When::Shift, [](TVellView& v) { v.Edit().CutToClipboard(); }},
    KeyBinding{VK_INSERT, When::Neither, [](TVellView& v) { v.ToggleInsertMode(); }},
    KeyBinding{VK_DELETE, When::Neither, [](TVellView& v) { v.DeleteChar(); }},
    KeyBinding{VK_TAB, When::Any, [](TVellView& v) { v.InsertTab(); }},
    KeyBinding{VK_RETURN, When::Any, [](TVellView& v) { v.NewLine(); }},
    KeyBinding{VK_ESCAPE, When::Any, [](TVellView& v) { v.Edit().ClearHit(); }},
    KeyBinding{VK_PRIOR, When::Any, [](TVellView& v) { v.PageScroll(SB_PAGEUP); }},
    KeyBinding{VK_NEXT, When::Any, [](TVellView& v) { v.PageScroll(SB_PAGEDOWN); }},
    KeyBinding{VK_UP, When::Any, [](TVellView& v) { v.MoveVert(-1); }},
    KeyBinding{VK_DOWN, When::Any, [](TVellView& v) { v.MoveVert(1); }},
};

bool Applies(When when, bool ctrl, bool shift) {
    switch (when) {
        case When::Ctrl:
            return ctrl;
        case When::NoCtrl:
            return !ctrl;
        case When::Shift:
            return shift;
        case When::Neither:
            return !ctrl && !shift;
        case When::Any:
            return true;
    }
    return false;
}

bool Typable(unsigned char code) {
    return (code >= 0x20 && code <= 0x7E) || (code >= 0xA0 && code <= 0xDF);
}

}  // namespace

void TVellView::KeyDown(int vk) {
    CancelTextDrag();
    const bool ctrl = keyboard_.ControlDown(), shift = keyboard_.ShiftDown();
    {
        // Also when a key's command fails (a full store).
        struct InKey {
            bool& flag;
            ~InKey() { flag = false; }
        } inKey{inKeyDown_ = true};
        for (const KeyBinding& k : kKeyTable)
            if (k.vk == vk && Applies(k.when, ctrl, shift)) k.run(*this);
    }
    if (OnKeyDown) OnKeyDown(vk);
}

void TVellView::KeyUp(int) {
    repeatCount_ = 0;
}

void TVellView::CharTyped(unsigned char code) {
    CancelTextDrag();
    if (!ed_.ReadOnly && !keyboard_.ControlDown() && Typable(code))
        InsertTyped(std::string(1, static_cast<char>(code)));
    // Every character is reported, also the control codes of Enter and
    // Backspace, so that the owner sees each change of the text.
    if (OnKeyPress) OnKeyPress(code);
}

void TVellView::ImeCommit(std::string_view cp932) {
    if (ed_.ReadOnly || cp932.empty()) return;
    CancelTextDrag();
    InsertTyped(cp932);
}

/// Overwrite counts bytes and never cuts a double-byte character in half: a
/// character left half covered is replaced whole and a space keeps the width.
void TVellView::OverwriteAtCaret(std::string_view s, std::string& line, std::string& pad) {
    int32_t lastY = ed_.FCaretY;
    ed_.JoinLogicalLine(ed_.FCaretY, lastY, line);
    const std::string_view body = StripTerminator(line);
    const int32_t x = ed_.FCaretX;
    const auto rest = static_cast<int32_t>(body.size()) - x;
    const auto n = static_cast<int32_t>(s.size());
    int32_t count = std::min(rest, n);
    if (x + n <= static_cast<int32_t>(body.size()) && ByteTypeAt(body, x + n) == kLeadByte) {
        count = std::min(rest, n + 1);
        pad = " ";
    }
    if (count <= 0) return;
    // The end of the overwritten bytes, walked through the pieces of the line.
    int32_t ex = x + count, ey = ed_.FCaretY;
    while (ey < lastY && ex > static_cast<int32_t>(ed_.Lines().View(ey).size()))
        ex -= static_cast<int32_t>(ed_.Lines().View(ey++).size());
    ed_.RemoveRange(x, ed_.FCaretY, ex, ey, UndoKind::Overwrite, true);
}

void TVellView::InsertTyped(std::string_view s) {
    // Typing over a selection replaces just the selection, in either mode.
    const bool replacing = ed_.SelectionExists();
    if (replacing) ed_.DeleteSelection(true);
    ed_.FGoalX = 0;
    HideCaret();
    const std::string_view entry = ed_.Lines().View(ed_.FCaretY);
    const bool piece = !HasTerminator(entry);
    std::string line, pad;
    if (!replacing && !ed_.FInsertMode &&
        (ed_.FCaretX < static_cast<int32_t>(entry.size()) - 2 || piece))
        OverwriteAtCaret(s, line, pad);
    const std::string text = std::string(s) + pad;
    ed_.RecordUndo(UndoKind::Insert, text, ed_.FCaretY, ed_.FCaretX);
    ed_.InsertAtCaret(text, true);
    if (!pad.empty()) {
        // The caret stays after the typed text, before the padding space.
        int32_t x = ed_.FCaretX - 1, y = ed_.FCaretY;
        if (x < 0 && y > 0) x = static_cast<int32_t>(ed_.Lines().View(--y).size()) - 1;
        ed_.MoveCaret(x, y, ScrollMode::IfNeeded, true);
    }
    if (!ed_.WordWrap()) UpdateHorzScrollBar(true);
    ed_.FGoalX = ed_.FCaretX;
    ed_.UpdateCaret();
    ShowCaret();
}

}  // namespace tw
