/** @file The platform interfaces over Qt. */
#pragma once

#include <QFont>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <string_view>

#include "platform/Clipboard.h"
#include "platform/KeyboardState.h"
#include "platform/MessageBox.h"
#include "platform/TextMetrics.h"
#include "platform/Timer.h"

class QKeyEvent;
class QMenu;
class QWidget;

namespace tw {

/// The MIME type that carries the raw cp932 bytes beside the Unicode text.
inline constexpr const char* kCp932Mime = "application/x-tarnwick-cp932";

/// The program's Japanese monospace font, used when a stored one is missing.
inline constexpr const char* kDefaultFontFamily = "IPAGothic";

/// The family a stored font name (cp932) stands for: the named one when it
/// is installed, else the default.
QString InstalledFontFamily(std::string_view cp932Name);

class QtMessageBox : public IMessageBox {
  public:
    explicit QtMessageBox(QWidget* parent) : parent_(parent) {}
    MessageAnswer Show(const std::string& text, const std::string& caption, MessageButtons buttons,
                       MessageIcon icon) override;
    void Beep() override;

  private:
    QPointer<QWidget> parent_;
};

class QtClipboard : public IClipboard {
  public:
    void SetText(std::string_view cp932) override;
    std::optional<std::string> GetText() override;
};

/// The cell grid of a font: a half-width cell is the advance of "0", a
/// full-width character two cells, whatever the glyphs' own advances.
class QtTextMetrics : public ITextMetrics {
  public:
    explicit QtTextMetrics(const QFont& font) { SetFont(font); }
    void SetFont(const QFont& font);
    FontMetrics Metrics() const override { return metrics_; }
    int TextWidth(std::string_view cp932) const override;

  private:
    FontMetrics metrics_;
};

class QtTimer : public ITimer {
  public:
    QtTimer();
    void Start(int intervalMs, std::function<void()> tick) override;
    void Stop() override { timer_.stop(); }
    bool Active() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
    std::function<void()> tick_;
};

class QtTimerFactory : public ITimerFactory {
  public:
    std::unique_ptr<ITimer> CreateTimer() override { return std::make_unique<QtTimer>(); }
};

/// The Menu key or Shift+F10: the keys that open a pop-up menu from the keyboard.
bool IsMenuKey(const QKeyEvent& event);

/// Up and Down in `menu` and its submenus (present ones) stop on disabled
/// entries too, as the menus of Windows do, so that the number of presses
/// that leads to an entry does not depend on what is enabled at the moment.
void LetKeysStepOnDisabledEntries(QMenu& menu);

class QtKeyboardState : public IKeyboardState {
  public:
    bool ShiftDown() const override;
    bool ControlDown() const override;
    bool AltDown() const override;
};

}  // namespace tw
