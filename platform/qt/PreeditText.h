/** @file The input method's composition, drawn inline at the caret until it is committed. */
#pragma once

#include <QColor>
#include <QInputMethodEvent>
#include <QString>
#include <QTextCharFormat>
#include <string>
#include <vector>

#include "platform/qt/QtSurface.h"

class QPainter;

namespace tw {

/// What the input method is composing: its text on the editor's cell grid,
/// its clauses as the input method formats them (the active one highlighted,
/// the others underlined) and the cursor the input method places in it.
/// Nothing of it is in the document before the commit.
class PreeditText {
  public:
    /// Takes the preedit string and the TextFormat and Cursor attributes.
    void Set(const QInputMethodEvent& event);
    void Clear() { *this = PreeditText(); }
    bool Empty() const noexcept { return text_.isEmpty(); }
    const QString& Text() const noexcept { return text_; }

    /// Cells the composition takes: one per single-byte and two per
    /// double-byte character, as the committed text will.
    int Cells() const noexcept { return cellAt_.empty() ? 0 : cellAt_.back(); }
    /// Cells before the input method's cursor.
    int CursorCells() const;
    bool CursorVisible() const noexcept { return cursorVisible_; }

    /// Where the row is drawn and in which colours.
    struct Row {
        int x = 0, y = 0;  ///< the caret's client position: the composition starts here
        int height = 16;   ///< the row height
        int left = 0;      ///< the text area, outside which nothing is drawn
        int right = 0;
        QColor text, back;  ///< the editor's colours
    };

    /// Draws the row as if the composition were inserted at the caret: what
    /// `image` shows right of the caret moves right by the composition's
    /// width, and the composition fills the gap.
    void Paint(QPainter& p, const QImage& image, const CellFont& font, const Row& row) const;

  private:
    struct Span {
        int from = 0, to = 0;  ///< UTF-16 positions in the text
        QTextCharFormat format;
    };

    void PaintSpan(QPainter& p, const CellFont& font, const Row& row, int from, int to,
                   const QTextCharFormat* format) const;

    QString text_;
    std::vector<int> cellAt_;  ///< cells before each UTF-16 position, and the total
    std::vector<Span> spans_;
    int cursor_ = 0;
    bool cursorVisible_ = true;
};

}  // namespace tw
