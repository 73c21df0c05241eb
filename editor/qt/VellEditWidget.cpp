#include "editor/qt/VellEditWidget.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>
#include <array>
#include <utility>

#include "platform/codec/Cp932Codec.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

/// Qt keys the control's key table acts on, as virtual-key codes.
constexpr std::array<std::pair<int, int>, 20> kKeyMap{{
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},  // Shift+Tab is still the Tab key
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Less, VK_OEM_COMMA},  // the same keys with Shift on a US layout
    {Qt::Key_Greater, VK_OEM_PERIOD},
}};

int VirtualKeyOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // 'A'..'Z' share their codes
    for (auto [q, vk] : kKeyMap)
        if (q == qtKey) return vk;
    return 0;
}

QString FromCp932(std::string_view bytes) {
    const std::u16string u = cp932::Decode(bytes);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

std::string ToCp932(const QString& s) {
    return cp932::Encode(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                             static_cast<size_t>(s.size())));
}

}  // namespace

// ---- The widget ----------------------------------------------------------------------

VellEditWidget::VellEditWidget(QWidget* parent)
    : QWidget(parent),
      messages_(this),
      surface_(image_, [this](const QRect& r) { update(r); }),
      vbar_(new QScrollBar(Qt::Vertical, this)),
      hbar_(new QScrollBar(Qt::Horizontal, this)),
      vbarAdapter_(vbar_),
      hbarAdapter_(hbar_) {
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setMouseTracking(false);
    const TVellFont initial{kDefaultFontFamily, 14, 0x000000};
    metrics_ = std::make_unique<QtTextMetrics>(font());
    SelectFont({initial.Name, -initial.Height(), initial.Style});
    edit_ = std::make_unique<TVellEdit>(
        EditorServices{metrics_.get(), &clipboard_, &messages_, nullptr});
    edit_->SetFont(initial);
    view_ = std::make_unique<TVellView>(
        *edit_, ViewServices{metrics_.get(), &surface_, this, &vbarAdapter_, &hbarAdapter_, this,
                             this, &timers_});
    edit_->OnChangeModify = [this](TVellEdit&, bool m) { emit modifiedChanged(m); };
    connect(vbar_, &QScrollBar::actionTriggered, this, [this](int a) { ScrollAction(true, a); });
    connect(hbar_, &QScrollBar::actionTriggered, this, [this](int a) { ScrollAction(false, a); });
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    connect(&blink_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        update(CaretRect());
    });
    if (flash > 0) blink_.start(flash / 2);
    resize(400, 300);
}

VellEditWidget::~VellEditWidget() {
    // The view talks to this window until it is gone.
    view_.reset();
}

/// The named font when it is installed, else the Japanese monospace
/// default, at the size and in the style asked for. The cell grid comes from
/// the font's own "0".
void VellEditWidget::SelectFont(const FontRequest& request) {
    QFont f(InstalledFontFamily(request.name));
    f.setStyleHint(QFont::TypeWriter);
    f.setPixelSize(std::max(1, request.pixelHeight));
    f.setKerning(false);
    f.setBold(request.style & fsBold);
    f.setItalic(request.style & fsItalic);
    f.setUnderline(request.style & fsUnderline);
    f.setStrikeOut(request.style & fsStrikeOut);
    font_ = f;
    metrics_->SetFont(f);
    surface_.SetFont(CellFont::From(f, QString::fromLatin1(kDefaultFontFamily)));
}

void VellEditWidget::LayoutClient() {
    const int vw = edit_->VertScrollBar() ? vbar_->sizeHint().width() : 0;
    const int hh = edit_->HorzScrollBar() ? hbar_->sizeHint().height() : 0;
    vbar_->setVisible(vw > 0);
    hbar_->setVisible(hh > 0);
    const int w = std::max(1, width() - vw), h = std::max(1, height() - hh);
    vbar_->setGeometry(w, 0, vw, h);
    hbar_->setGeometry(0, h, w, hh);
    if (image_.size() != QSize(w, h)) {
        image_ = QImage(w, h, QImage::Format_RGB32);
        image_.fill(ToQColor(edit_->Color()));
    }
    if (!created_) {
        created_ = true;
        view_->CreateView(w, h);
    } else {
        view_->WMSize(w, h);
    }
    view_->DrawAll();
    edit_->UpdateCaret();
    // Thumb sizes only; the control itself decides what a page scrolls.
    vbar_->setPageStep(std::max(1, edit_->Viewport().PageLines / std::max(1, view_->VScale())));
    hbar_->setPageStep(std::max(1, edit_->Viewport().TextWidth / std::max(1, view_->HScale())));
}

void VellEditWidget::resizeEvent(QResizeEvent*) {
    LayoutClient();
}

/// The caret bar; during a composition, at the input method's cursor in it.
QRect VellEditWidget::CaretRect() const {
    const int dx = preedit_.Empty() ? 0 : preedit_.CursorCells() * edit_->Viewport().CharWidth;
    return QRect(caretPos_ + QPoint(dx, 0), QSize(caretW_, caretH_));
}

QPoint VellEditWidget::CaretPos() const {
    return CaretVisible() ? CaretRect().topLeft() : QPoint(-1, -1);
}

QRect VellEditWidget::CaretRowRect() const {
    return QRect(0, imePos_.y(), width(), edit_->Viewport().RowHeight);
}

PreeditText::Row VellEditWidget::PreeditRow() const {
    PreeditText::Row row;
    row.x = imePos_.x();
    row.y = imePos_.y();
    row.height = edit_->Viewport().RowHeight;
    row.left = edit_->Viewport().TextLeft;
    row.right = image_.width();
    row.text = ToQColor(edit_->Font().Color);
    row.back = ToQColor(edit_->Color());
    return row;
}

void VellEditWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), image_, event->rect());
    preedit_.Paint(p, image_, surface_.Font(), PreeditRow());
    if (CaretVisible() && blinkOn_ && hasFocus())
        p.fillRect(CaretRect(), ToQColor(edit_->Font().Color));
}

// ---- Caret -----------------------------------------------------------------------------

void VellEditWidget::Create(int width, int height) {
    caretExists_ = true;
    caretHidden_ = 1;
    caretW_ = width;
    caretH_ = height;
}

void VellEditWidget::Destroy() {
    caretExists_ = false;
    update(CaretRect());
}

void VellEditWidget::SetPos(int x, int y) {
    update(CaretRect());
    caretPos_ = QPoint(x, y);
    blinkOn_ = true;
    update(CaretRect());
}

void VellEditWidget::Hide() {
    ++caretHidden_;
    update(CaretRect());
}

void VellEditWidget::Show() {
    caretHidden_ = std::max(0, caretHidden_ - 1);
    update(CaretRect());
}

void VellEditWidget::ImePositionChanged(int x, int y) {
    imePos_ = QPoint(x, y);
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImCursorPosition |
                                               Qt::ImSurroundingText);
}

void VellEditWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    view_->SetFocus();
}

void VellEditWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    QGuiApplication::inputMethod()->commit();
    view_->KillFocus();
}

bool VellEditWidget::focusNextPrevChild(bool) {
    return false;  // Tab is a character here
}

// ---- Keyboard and input method -----------------------------------------------------------

Qt::KeyboardModifiers VellEditWidget::Modifiers() const {
    return eventModifiers_ ? *eventModifiers_ : QGuiApplication::queryKeyboardModifiers();
}

void VellEditWidget::keyPressEvent(QKeyEvent* event) {
    if (IsMenuKey(*event)) {
        emit contextMenuRequested(MenuPosAtCaret());
        return event->accept();
    }
    // Alt combinations belong to the menus: the window that holds them gets
    // the event.
    if (event->modifiers() & Qt::AltModifier) return event->ignore();
    const EventModifiers scope(*this, event->modifiers());
    if (event->key() == Qt::Key_Control) view_->DragModifierChanged(true);
    if (const int vk = VirtualKeyOf(event->key())) view_->KeyDown(vk);
    const QString text = event->text();
    if (!text.isEmpty()) {
        const std::string bytes = ToCp932(text);
        if (bytes.size() == 1)
            view_->CharTyped(static_cast<unsigned char>(bytes[0]));
        else if (!(event->modifiers() & Qt::ControlModifier))
            view_->ImeCommit(bytes);
    }
    event->accept();
}

void VellEditWidget::contextMenuEvent(QContextMenuEvent* event) {
    // The right button reaches the control as a press, the menu keys as key
    // presses; the windowing system's own report of either is not needed.
    event->accept();
}

QPoint VellEditWidget::MenuPosAtCaret() const {
    const QPoint below = caretPos_ + QPoint(0, caretH_);
    return mapToGlobal(
        QPoint(std::clamp(below.x(), 0, width() - 1), std::clamp(below.y(), 0, height() - 1)));
}

void VellEditWidget::keyReleaseEvent(QKeyEvent* event) {
    const EventModifiers scope(*this, event->modifiers());
    // X11 sends a release before every repeated press of a held key; only
    // the real release ends the held key's acceleration.
    if (event->isAutoRepeat()) return event->accept();
    if (event->key() == Qt::Key_Control) view_->DragModifierChanged(false);
    if (const int vk = VirtualKeyOf(event->key())) view_->KeyUp(vk);
    event->accept();
}

void VellEditWidget::inputMethodEvent(QInputMethodEvent* event) {
    update(CaretRowRect());
    if (!event->commitString().isEmpty()) view_->ImeCommit(ToCp932(event->commitString()));
    preedit_.Set(*event);
    update(CaretRowRect());
    event->accept();
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

std::string VellEditWidget::CaretRowText() const {
    return std::string(StripTerminator(edit_->Lines().View(edit_->CaretY())));
}

QVariant VellEditWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            return true;
        case Qt::ImCursorRectangle: {
            // Beside the composition's cursor, where the candidates belong.
            const int dx = preedit_.CursorCells() * edit_->Viewport().CharWidth;
            return QRect(imePos_ + QPoint(dx, 0), QSize(caretW_, caretH_));
        }
        case Qt::ImFont:
            return font_;
        case Qt::ImCursorPosition: {
            const std::string row = CaretRowText();
            return FromCp932(std::string_view(row).substr(
                                 0, std::min<size_t>(row.size(), edit_->CaretX())))
                .size();
        }
        case Qt::ImSurroundingText:
            return FromCp932(CaretRowText());
        case Qt::ImAnchorPosition:
            return inputMethodQuery(Qt::ImCursorPosition);
        default:
            return QWidget::inputMethodQuery(query);
    }
}

// ---- Mouse ---------------------------------------------------------------------------

namespace {

MouseButton ButtonOf(Qt::MouseButton b) {
    return b == Qt::LeftButton    ? MouseButton::Left
           : b == Qt::RightButton ? MouseButton::Right
                                  : MouseButton::Middle;
}

}  // namespace

void VellEditWidget::mousePressEvent(QMouseEvent* event) {
    const EventModifiers scope(*this, event->modifiers());
    QGuiApplication::inputMethod()->commit();
    const QPoint p = event->position().toPoint();
    view_->MouseDown(ButtonOf(event->button()), p.x(), p.y());
}

void VellEditWidget::mouseMoveEvent(QMouseEvent* event) {
    const EventModifiers scope(*this, event->modifiers());
    const QPoint p = event->position().toPoint();
    if (view_->Dragging())
        view_->DragOver(p.x(), p.y());
    else
        view_->MouseMove(p.x(), p.y());
}

void VellEditWidget::mouseReleaseEvent(QMouseEvent* event) {
    {
        const EventModifiers scope(*this, event->modifiers());
        const QPoint p = event->position().toPoint();
        view_->MouseUp(ButtonOf(event->button()), p.x(), p.y());
    }
    emit mouseReleased();
}

void VellEditWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    const EventModifiers scope(*this, event->modifiers());
    view_->DblClick();
    const QPoint p = event->position().toPoint();
    view_->MouseDown(ButtonOf(event->button()), p.x(), p.y());  // consumed by the double click
}

void VellEditWidget::wheelEvent(QWheelEvent* event) {
    const EventModifiers scope(*this, event->modifiers());
    view_->WMMouseWheel(event->angleDelta().y());
    event->accept();
}

void VellEditWidget::SetDragCursor(DragCursorShape shape) {
    setCursor(shape == DragCursorShape::Copy ? Qt::DragCopyCursor : Qt::DragMoveCursor);
}

void VellEditWidget::BeginTextDrag() {
    setCursor(ControlDown() ? Qt::DragCopyCursor : Qt::DragMoveCursor);
}

void VellEditWidget::ScrollAction(bool vertical, int action) {
    QScrollBar* bar = vertical ? vbar_ : hbar_;
    int code = -1;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            code = SB_LINEDOWN;
            break;
        case QAbstractSlider::SliderSingleStepSub:
            code = SB_LINEUP;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = SB_PAGEDOWN;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = SB_PAGEUP;
            break;
        case QAbstractSlider::SliderToMinimum:
            code = SB_TOP;
            break;
        case QAbstractSlider::SliderToMaximum:
            code = SB_BOTTOM;
            break;
        case QAbstractSlider::SliderMove:
            code = SB_THUMBTRACK;
            break;
        default:
            break;
    }
    if (code < 0) return;
    const int thumb = bar->sliderPosition();
    if (vertical)
        view_->WMVScroll(code, thumb);
    else
        view_->WMHScroll(code, thumb);
    // The control decides where the bar stands.
    bar->setSliderPosition((vertical ? vbarAdapter_ : hbarAdapter_).Pos());
}

}  // namespace tw
