/** @file One record of the undo and redo lists. */
#pragma once

#include <cstdint>
#include <string>

namespace tw {

/// What an edit did, and so what replaying its record does.
enum class UndoKind : uint8_t {
    Insert = 0,     ///< inserted text: undo removes it
    Delete = 1,     ///< a removed selection: undo puts it back, the caret after it
    BackSpace = 2,  ///< removed by BackSpace: undone as Delete
    DeleteKey = 3,  ///< removed by the Delete key: put back, the caret before it
    NewLine = 4,    ///< the CR LF of Enter: undo joins the two rows
    Overwrite = 5,  ///< bytes typed over, put back with the undo of their Insert
};

/// One edit, as undo replays it. X and Y are logical coordinates while word
/// wrap is on (the same as row coordinates while it is off), so records stay
/// valid when the text is wrapped or unwrapped between the edit and its undo.
struct UndoRecord {
    UndoKind Kind = UndoKind::Insert;
    int32_t X = 0;
    int32_t Y = 0;
    std::string Text;
};

}  // namespace tw
