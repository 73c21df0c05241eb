/** @file The Qt window that hosts one editor control. */
#pragma once

#include <QFont>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "editor/VellEdit.h"
#include "editor/VellView.h"
#include "platform/qt/PreeditText.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtScrollBar.h"
#include "platform/qt/QtSurface.h"

namespace tw {

/// Keeps a persistent image of its client area that the control paints into
/// at once; a paint event only copies the image and puts the caret and the
/// input method's preedit text on top.
class VellEditWidget : public QWidget, private ICaret, private IWindowHost, private IKeyboardState {
    Q_OBJECT
  public:
    explicit VellEditWidget(QWidget* parent = nullptr);
    ~VellEditWidget() override;

    TVellEdit& Edit() { return *edit_; }
    TVellView& View() { return *view_; }
    const QImage& Image() const { return image_; }
    /// The client position of the caret bar, or (-1, -1) while it is not
    /// shown. During a composition it stands where the input method puts it.
    QPoint CaretPos() const;
    bool CaretVisible() const {
        return caretExists_ && caretHidden_ == 0 && (preedit_.Empty() || preedit_.CursorVisible());
    }
    QString Preedit() const { return preedit_.Text(); }
    /// The client image, for owners that draw into the control's margins
    /// (the ruler); call ImageChanged for what they drew.
    QImage& Canvas() { return image_; }
    void ImageChanged(const QRect& r) { update(r); }
    IClipboard& Clipboard() { return clipboard_; }

  signals:
    void modifiedChanged(bool modified);
    /// The right button, the Menu key or Shift+F10 asks for the owner's menu
    /// at this global position (from the keyboard: below the caret).
    void contextMenuRequested(const QPoint& globalPos);
    void mouseReleased();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    // ICaret
    void Create(int width, int height) override;
    void Destroy() override;
    void SetPos(int x, int y) override;
    void Hide() override;
    void Show() override;
    // IWindowHost
    void TakeFocus() override { setFocus(Qt::MouseFocusReason); }
    void SelectFont(const FontRequest& font) override;
    void SetDragCursor(DragCursorShape shape) override;
    void BeginTextDrag() override;
    void EndTextDrag() override { setCursor(Qt::IBeamCursor); }
    void ImePositionChanged(int x, int y) override;
    void ShowContextMenu(int x, int y) override {
        emit contextMenuRequested(mapToGlobal(QPoint(x, y)));
    }
    // IKeyboardState: while an input event is handled, the modifiers it
    // carries; otherwise (a scroll-bar step, a timer) the keyboard as it is
    // now, since a key may have been released over another window.
    bool ShiftDown() const override { return Modifiers() & Qt::ShiftModifier; }
    bool ControlDown() const override { return Modifiers() & Qt::ControlModifier; }
    bool AltDown() const override { return Modifiers() & Qt::AltModifier; }
    Qt::KeyboardModifiers Modifiers() const;

    /// Holds the modifiers of the input event being handled.
    class EventModifiers {
      public:
        EventModifiers(VellEditWidget& w, Qt::KeyboardModifiers m) : w_(w) {
            w_.eventModifiers_ = m;
        }
        ~EventModifiers() { w_.eventModifiers_.reset(); }
        EventModifiers(const EventModifiers&) = delete;
        EventModifiers& operator=(const EventModifiers&) = delete;

      private:
        VellEditWidget& w_;
    };

    void LayoutClient();
    QRect CaretRect() const;
    QRect CaretRowRect() const;
    PreeditText::Row PreeditRow() const;
    void ScrollAction(bool vertical, int action);
    std::string CaretRowText() const;
    /// Below the caret, where a menu opened from the keyboard goes.
    QPoint MenuPosAtCaret() const;

    QFont font_;
    std::unique_ptr<QtTextMetrics> metrics_;
    QtClipboard clipboard_;
    QtMessageBox messages_;
    QtTimerFactory timers_;
    /// One pixel until the first layout: drawing may come before it (a
    /// preview set up while hidden), and a null image refuses painters.
    QImage image_{1, 1, QImage::Format_RGB32};
    QtImageSurface surface_;
    QScrollBar* vbar_;
    QScrollBar* hbar_;
    QtScrollBar vbarAdapter_, hbarAdapter_;
    std::unique_ptr<TVellEdit> edit_;
    std::unique_ptr<TVellView> view_;
    bool created_ = false;

    QTimer blink_;
    bool blinkOn_ = true;
    bool caretExists_ = false;
    int caretHidden_ = 1;
    int caretW_ = 2, caretH_ = 16;
    QPoint caretPos_;
    QPoint imePos_;
    std::optional<Qt::KeyboardModifiers> eventModifiers_;
    PreeditText preedit_;
};

}  // namespace tw
