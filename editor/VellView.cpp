// The view's life: creation, geometry, settings and the caret seam.
#include "editor/VellView.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tw {

namespace {

/// Pieces a control cannot work without: a missing one is a wiring fault.
template <class T>
T& Required(T* p, const char* what) {
    if (!p) throw std::invalid_argument(std::string("TVellView needs ") + what);
    return *p;
}

}  // namespace

TVellView::TVellView(TVellEdit& edit, const ViewServices& s)
    : ed_(edit),
      sel_(edit.Selection()),
      vp_(edit.Viewport()),
      metrics_(Required(s.metrics, "text metrics")),
      surface_(Required(s.surface, "a surface")),
      caret_(Required(s.caret, "a caret")),
      vbar_(Required(s.vbar, "a vertical scroll bar")),
      hbar_(Required(s.hbar, "a horizontal scroll bar")),
      keyboard_(Required(s.keyboard, "keyboard state")),
      host_(Required(s.host, "a window host")) {
    if (s.timers) {
        timer_ = s.timers->CreateTimer();
        timer_->Start(40, [this] { AutoScrollTimer(); });
    }
    ed_.SetView(this);
}

TVellView::~TVellView() {
    if (timer_) timer_->Stop();
    ed_.SetView(nullptr);
}

void TVellView::HideCaret() {
    caret_.Hide();
}

void TVellView::ShowCaret() {
    caret_.Show();
}

void TVellView::UpdateCaret() {
    const int y = sel_.PixelY + ed_.TopMargin();
    const int x = sel_.PixelX >= 0 ? sel_.PixelX + vp_.TextLeft : -5;
    host_.ImePositionChanged(sel_.PixelX + vp_.TextLeft, y);
    caret_.SetPos(x, y);
}

void TVellView::ResetState() {
    mouseSelecting_ = dragging_ = false;
    autoScroll_ = 0;
    repeatCount_ = 0;
    wheelRest_ = 0;
    dblClicked_ = false;
    dragText_.clear();
    goalXCached_ = -1;
    scrollMovesCaret_ = true;
}

void TVellView::CalcFontMetrics() {
    ed_.CalcFontMetrics();
    const int h = vp_.CharHeight;
    crMarkTop_ = static_cast<int>(std::nearbyint(0.2 * h));
    crMarkBottom_ = static_cast<int>(std::nearbyint(0.8 * h));
    maxColumn_ = (32767 / std::max(1, vp_.CharWidth)) / 2;
    zspcWidth_ = metrics_.TextWidth("\x81\x40");
    zspcHeight_ = h;
    dotCounter_ = 0;
}

void TVellView::CalcLineNumberWidth() {
    if (ed_.ShowLineNumber()) {
        digitWidth_ = metrics_.TextWidth("0");
        lineNoWidth_ = std::min(100, digitWidth_ * ed_.LineNoColumn()) + 7;
    } else {
        lineNoWidth_ = 0;
    }
    vp_.TextLeft = textLeftBase_ = ed_.LeftMargin() + lineNoWidth_;
}

void TVellView::CreateView(int width, int height) {
    const TVellFont& font = ed_.Font();
    host_.SelectFont({font.Name, -font.Height(), font.Style});
    CalcFontMetrics();
    if (hasFocus_) {
        // The caret takes the height of the new font.
        caret_.Destroy();
        caret_.Create(2, vp_.CharHeight);
        caret_.Show();
    }
    host_.ImePositionChanged(vp_.TextLeft, ed_.TopMargin());
    vbar_.Show(ed_.VertScrollBar());
    hbar_.Show(ed_.HorzScrollBar());
    vbar_.SetPos(0, false);
    hbar_.SetPos(0, false);
    CalcLineNumberWidth();
    WMSize(width, height);
}

void TVellView::SetScrollRects() {
    const int bottom = ed_.TopMargin() + vp_.PageLines * vp_.RowHeight;
    scrollRect_ = {vp_.TextLeft, 0, vp_.Width, bottom};
    if (ed_.ShowLineNumber()) scrollRect_ = {vp_.TextLeft, ed_.TopMargin(), vp_.Width, vp_.Height};
}

void TVellView::WMSize(int width, int height) {
    ed_.ResizeTextArea(width, height);
    SetScrollRects();
    if (ed_.WordWrap() && ed_.AutoWrap) Rewrap();
    UpdateVertScrollBar(true);
    UpdateHorzScrollBar(true);
}

void TVellView::Rewrap() {
    if (!ed_.WordWrap()) return;
    ed_.ApplyWordWrap(false, false);
    ed_.ApplyWordWrap(true, true);
}

void TVellView::RefreshView() {
    if (ed_.WordWrap()) return Rewrap();
    Redraw();
}

void TVellView::Redraw() {
    HideCaret();
    UpdateVertScrollBar(true);
    UpdateHorzScrollBar(true);
    DrawAll();
    ed_.UpdateCaret();
    ShowCaret();
}

void TVellView::RecreateView() {
    if (ed_.SelectionExists()) ed_.ClearSelection();
    CreateView(vp_.Width, vp_.Height);
    ed_.MoveCaret(sel_.Caret.X, sel_.Caret.Y, ScrollMode::IfNeeded, true);
    vbar_.SetPos((vp_.TopLine + vScale_ - 1) / vScale_, true);
    DrawAll();
    ed_.UpdateCaret();
}

void TVellView::SetFocus() {
    hasFocus_ = true;
    host_.ImePositionChanged(vp_.TextLeft + sel_.PixelX, ed_.TopMargin() + sel_.PixelY);
    caret_.Create(2, vp_.CharHeight);
    UpdateCaret();
    caret_.Show();
}

void TVellView::KillFocus() {
    hasFocus_ = false;
    caret_.Hide();
    caret_.Destroy();
}

}  // namespace tw
