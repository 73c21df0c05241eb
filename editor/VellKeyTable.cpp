// The control's fixed key table, typed characters and input-method text.
#include <array>
#include <string>

#include "editor/VellView.h"

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
    KeyBinding{VK_BACK, When::Ctrl, [](TVellView& v) { v.Edit().DeleteWordLeft(); }},
    KeyBinding{VK_END, When::Ctrl, [](TVellView& v) { v.GoBottom(); }},
    KeyBinding{VK_HOME, When::Ctrl, [](TVellView& v) { v.GoTop(); }},
    KeyBinding{VK_LEFT, When::Ctrl, [](TVellView& v) { v.MoveLeft(true); }},
    KeyBinding{VK_RIGHT, When::Ctrl, [](TVellView& v) { v.MoveRight(true); }},
    KeyBinding{VK_INSERT, When::Ctrl, [](TVellView& v) { v.Edit().CopyToClipboard(); }},
    KeyBinding{'C', When::Ctrl, [](TVellView& v) { v.Edit().CopyToClipboard(); }},
    KeyBinding{VK_DELETE, When::Ctrl, [](TVellView& v) { v.Edit().DeleteWordRight(); }},
    KeyBinding{'A', When::Ctrl, [](TVellView& v) { v.Edit().SelectAll(); }},
    KeyBinding{'V', When::Ctrl, [](TVellView& v) { v.Edit().PasteFromClipboard(); }},
    KeyBinding{'X', When::Ctrl, [](TVellView& v) { v.Edit().CutToClipboard(); }},
    KeyBinding{'Z', When::Ctrl, [](TVellView& v) { v.Edit().Undo(); }},
    KeyBinding{VK_OEM_COMMA, When::Ctrl, [](TVellView& v) { v.GoLineStart(); }},
    KeyBinding{VK_OEM_PERIOD, When::Ctrl, [](TVellView& v) { v.GoLineEnd(); }},
    KeyBinding{VK_BACK, When::NoCtrl, [](TVellView& v) { v.Edit().BackSpace(); }},
    KeyBinding{VK_END, When::NoCtrl, [](TVellView& v) { v.GoLineEnd(); }},
    KeyBinding{VK_HOME, When::NoCtrl, [](TVellView& v) { v.GoLineStart(); }},
    KeyBinding{VK_LEFT, When::NoCtrl, [](TVellView& v) { v.MoveLeft(false); }},
    KeyBinding{VK_RIGHT, When::NoCtrl, [](TVellView& v) { v.MoveRight(false); }},
    KeyBinding{VK_INSERT, When::Shift, [](TVellView& v) { v.Edit().PasteFromClipboard(); }},
    KeyBinding{VK_DELETE, When::Shift, [](TVellView& v) { v.Edit().CutToClipboard(); }},
    KeyBinding{VK_INSERT, When::Neither, [](TVellView& v) { v.Edit().ToggleInsertMode(); }},
    KeyBinding{VK_DELETE, When::Neither, [](TVellView& v) { v.Edit().DeleteChar(); }},
    KeyBinding{VK_TAB, When::Any, [](TVellView& v) { v.Edit().InsertTab(); }},
    KeyBinding{VK_RETURN, When::Any, [](TVellView& v) { v.Edit().NewLine(); }},
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
        ed_.InsertTyped(std::string(1, static_cast<char>(code)));
    // Every character is reported, also the control codes of Enter and
    // Backspace, so that the owner sees each change of the text.
    if (OnKeyPress) OnKeyPress(code);
}

void TVellView::ImeCommit(std::string_view cp932) {
    if (ed_.ReadOnly || cp932.empty()) return;
    CancelTextDrag();
    ed_.InsertTyped(cp932);
}

}  // namespace tw
