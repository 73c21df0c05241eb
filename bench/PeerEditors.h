/** @file The editors the peers benchmark puts side by side, behind one face. */
#pragma once

#include <memory>
#include <string>
#include <string_view>

class QWidget;

namespace tw::bench {

/// What every editor under test can be asked to do. Each call ends with the
/// work done that a user would wait for (the text shown, the hit selected).
class PeerEditor {
  public:
    virtual ~PeerEditor() = default;
    /// What comes before the timed open: the window made and shown, and in
    /// `utf8` runs the text read and decoded already. `wrapped`: wrapping at
    /// 72 cells.
    virtual void Prepare(const std::string& file, bool utf8, bool wrapped) = 0;
    /// Opens the prepared file up to its first paint; when wrapped, waits
    /// until the whole text is wrapped where the editor wraps ahead of need.
    virtual void Open() = 0;
    /// Rows on screen the whole text takes (its lines when not wrapped).
    virtual long Rows() = 0;
    /// The caret a few characters into the middle line, on screen.
    virtual void CaretToMiddle() = 0;
    /// The widget that gets the keystrokes.
    virtual QWidget* KeyTarget() = 0;
    /// A paint of the visible page, done before it returns.
    virtual void Repaint() = 0;
    virtual void Undo() = 0;
    /// The middle line's text, to see that undo brought it back.
    virtual std::string MiddleLine() = 0;
    /// Hits of an ASCII string from the top to the end.
    virtual int CountHits(std::string_view ascii, bool matchCase) = 0;
    /// Replaces every hit of an ASCII string (letter case kept) the way the
    /// editor's replace-all does; the number of replacements. The peers stop
    /// after ten seconds, which some need for a few hundred hits.
    virtual int ReplaceAll(std::string_view ascii, std::string_view with) = 0;
    virtual void CaretToTop() = 0;
    /// The middle line brought into view with the caret on it.
    virtual void JumpToMiddle() = 0;
    /// The document closed and its memory handed back.
    virtual void Close() = 0;
};

/// The program's own document window, opened through the frame.
std::unique_ptr<PeerEditor> MakeOwnEditor(const std::string& scratch);
std::unique_ptr<PeerEditor> MakePlainTextEditor();
/// Null when the benchmark was built without QScintilla.
std::unique_ptr<PeerEditor> MakeScintillaEditor();

/// The same face and size for every editor.
void UseBenchFont(QWidget& widget);
/// The widget's width that holds 72 cells of its font beside its margins.
int WidthFor72Cells(const QWidget& widget, int margins);
/// A file's bytes.
std::string ReadBytes(const std::string& file);
/// Shift-JIS bytes decoded as every peer gets them.
std::u16string DecodeSjis(std::string_view bytes);

}  // namespace tw::bench
