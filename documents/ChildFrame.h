/** @file What a document window asks of the frame that owns it. */
#pragma once

#include <string>

namespace tw {

class IMessageBox;
class TMDIChild;
struct FindOptions;
struct OptionData;
struct ReplaceState;
enum class CommandEnabled;

/// How a find or replace command opens its dialog.
enum class FindShow { Plain, Up, Down, Selected };

class IChildFrame {
  public:
    virtual ~IChildFrame() = default;
    /// The window became the active document: number, tabs.
    virtual void ChildActivated(TMDIChild& child) = 0;
    /// The frame's save command on this window; false when nothing was
    /// written (a failure, or a Save dialog the user cancelled).
    virtual bool SaveChild(TMDIChild& child) = 0;
    /// The window is going: close the gap in the table, drop its tab.
    virtual void ChildClosing(TMDIChild& child) = 0;
    /// The window's state behind `rule` (its selection, undo or redo)
    /// changed; the frame's commands of that rule follow it.
    virtual void FollowDocumentState(CommandEnabled rule, bool enabled) = 0;
    /// Cut and copy feed the clipboard history (cp932 bytes).
    virtual void AddClipHistory(const std::string& text) = 0;
    /// The file to insert, from the frame's Open dialog; empty when cancelled.
    virtual std::string ChooseInsertFile() = 0;
    virtual OptionData& Settings() = 0;
    /// Where the program keeps its own files, the backups among them.
    virtual const std::string& ProgramDirectory() const = 0;
    virtual IMessageBox& Messages() = 0;
    /// The search flags the dialogs write and the windows' handlers read.
    virtual FindOptions& SearchOptions() = 0;
    virtual ReplaceState& Replacing() = 0;
    /// Hits are replaced, not only shown, while the replace dialog shows.
    virtual bool ReplaceShowing() const = 0;
    /// `selected` (cp932) goes into the search box for FindShow::Selected.
    virtual void ShowFindDialog(FindShow how, const std::string& selected) = 0;
    virtual void ShowReplaceDialog(FindShow how, const std::string& selected) = 0;
    /// A search hit brings its window to the front.
    virtual void BringToFront(TMDIChild& child) = 0;
    /// True while a multi-document close or the program's end runs.
    virtual bool Closing() const = 0;
};

}  // namespace tw
