// Removing a range under the undo kind of the key that removed it.
#include "editor/VellEdit.h"

namespace tw {

void TVellEdit::RemoveRange(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, UndoKind Kind,
                            bool Redraw) {
    if (X1 == X2 && Y1 == Y2) return;
    FSelAnchorX = X1, FSelAnchorY = Y1;
    FCaretX = X2, FCaretY = Y2;
    FSelected = FAllSelected = false;
    DeleteSelection(Redraw);
    // A record that did not fit emptied the whole list, so a front record
    // here is the one just made.
    if (!FUndoing && !FUndoList.empty() && FUndoList.front().Kind == UndoKind::Delete)
        FUndoList.front().Kind = Kind;
}

}  // namespace tw
