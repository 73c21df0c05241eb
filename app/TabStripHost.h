/** @file What the document tab strip asks of the frame. */
#pragma once

#include <string>

namespace tw {

/// What the tab strip asks of the frame that owns the documents. Numbers are
/// document numbers 1..N (tab i belongs to document i + 1).
class ITabStripHost {
  public:
    virtual ~ITabStripHost() = default;
    /// ChildIndex, 0 when none.
    virtual int ActiveDocument() const = 0;
    /// Its activation redraws the tabs.
    virtual void BringDocumentToFront(int number) = 0;
    /// Exchanges the slots and Tags of windows a and b.
    virtual void SwapDocuments(int a, int b) = 0;
    /// Window `from` takes slot `to`; those between shift one place towards
    /// from's old slot; Tags follow slots.
    virtual void MoveDocument(int from, int to) = 0;
    /// Ctrl-drop: a new text ("NONAME" + count) with the whole text of window
    /// `number`; may create nothing (limits).
    virtual void CopyDocument(int number) = 0;
    /// Status panel 5 of the active document; "" empties it.
    virtual void ShowDragHint(const std::string& text) = 0;
    /// The setting UseTab.
    virtual bool UseTab() const = 0;
};

}  // namespace tw
