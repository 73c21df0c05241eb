/** @file The view's platform without a screen: a recording surface over a small raster. */
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "HeadlessPlatform.h"
#include "platform/Surface.h"
#include "platform/ViewHost.h"

namespace tw::test {

/// Records every call and keeps a raster, so a test can assert the geometry
/// of single strokes and also compare two whole pictures. A text cell leaves
/// its colour and byte in the cell's top-left pixel, its background elsewhere.
class RecordingSurface : public ISurface {
  public:
    struct Op {
        std::string kind;  // "fill", "text", "line", "pixel", "scroll"
        PixelRect rect;    // fill and text: the rectangle; line: the two points
        std::string text;
        TColor fore = 0, back = 0;
        bool underline = false;
    };

    RecordingSurface(int w = 400, int h = 340)
        : width(w), height(h), pixels(size_t(w) * h, 0xDEAD) {}

    void FillRect(const PixelRect& r, TColor color) override {
        ops.push_back({"fill", r, {}, color, color});
        Fill(r, color);
    }
    void TextOut(int x, int y, const PixelRect& clip, std::string_view s, TColor fore, TColor back,
                 bool opaque) override {
        ops.push_back({"text", clip, std::string(s), fore, back, underline});
        origins.push_back({x, y});
        if (opaque) Fill(clip, back);
        for (size_t i = 0; i < s.size(); ++i) {
            const int cx = x + static_cast<int>(i) * 8;
            if (cx >= clip.left && cx < clip.right && y >= clip.top && y < clip.bottom)
                Set(cx, y,
                    (fore << 8) ^ static_cast<unsigned char>(s[i]) ^ (underline ? 1u << 31 : 0));
        }
        underline = false;
    }
    void Line(int x1, int y1, int x2, int y2, TColor color) override {
        ops.push_back({"line", {x1, y1, x2, y2}, {}, color, 0});
        const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
        for (int i = 0; i < steps; ++i)
            Set(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps, color);
    }
    void Pixel(int x, int y, TColor color) override {
        ops.push_back({"pixel", {x, y, x, y}, {}, color, 0});
        Set(x, y, color);
    }
    void ScrollRect(const PixelRect& r, int dx, int dy) override {
        ops.push_back({"scroll", r, {}, static_cast<TColor>(dx), static_cast<TColor>(dy)});
        const std::vector<TColor> before = pixels;
        for (int y = std::max(0, r.top); y < std::min(height, r.bottom); ++y)
            for (int x = std::max(0, r.left); x < std::min(width, r.right); ++x) {
                const int sx = x - dx, sy = y - dy;
                if (sx >= r.left && sx < r.right && sy >= r.top && sy < r.bottom)
                    pixels[size_t(y) * width + x] = before[size_t(sy) * width + sx];
            }
    }
    void SetXorMode(bool) override {}
    void SetUnderline(bool on) override { underline = on; }
    void SetClip(const PixelRect* c) override {
        clipped = c != nullptr;
        if (c) clip = *c;
    }

    std::vector<Op> Of(const std::string& kind) const {
        std::vector<Op> out;
        for (const Op& o : ops)
            if (o.kind == kind) out.push_back(o);
        return out;
    }
    /// Text calls whose clip starts on row y.
    std::vector<Op> TextsAt(int y) const {
        std::vector<Op> out;
        for (const Op& o : Of("text"))
            if (o.rect.top == y) out.push_back(o);
        return out;
    }
    TColor At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    void Clear() {
        ops.clear();
        origins.clear();
    }

    int width, height;
    std::vector<TColor> pixels;
    std::vector<Op> ops;
    std::vector<std::pair<int, int>> origins;
    bool underline = false;
    bool clipped = false;
    PixelRect clip;

  private:
    bool Inside(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height &&
               (!clipped || (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom));
    }
    void Set(int x, int y, TColor c) {
        if (Inside(x, y)) pixels[size_t(y) * width + x] = c;
    }
    void Fill(const PixelRect& r, TColor c) {
        for (int y = std::max(0, r.top); y < std::min(height, r.bottom); ++y)
            for (int x = std::max(0, r.left); x < std::min(width, r.right); ++x)
                Set(x, y, c);
    }
};

/// Draws nothing, for runs that check the text and the caret, not pixels.
class BlankSurface : public ISurface {
  public:
    void FillRect(const PixelRect&, TColor) override {}
    void TextOut(int, int, const PixelRect&, std::string_view, TColor, TColor, bool) override {}
    void Line(int, int, int, int, TColor) override {}
    void Pixel(int, int, TColor) override {}
    void ScrollRect(const PixelRect&, int, int) override {}
    void SetXorMode(bool) override {}
    void SetUnderline(bool) override {}
    void SetClip(const PixelRect*) override {}
};

class FakeCaret : public ICaret {
  public:
    void Create(int w, int h) override { exists = true, hidden = 1, width = w, height = h; }
    void Destroy() override { exists = false; }
    void SetPos(int px, int py) override { x = px, y = py; }
    void Hide() override { ++hidden; }
    void Show() override { hidden = std::max(0, hidden - 1); }
    bool exists = false;
    int hidden = 0, width = 0, height = 0, x = 0, y = 0;
};

class FakeScrollBar : public IScrollBar {
  public:
    void SetRange(int mn, int mx, bool) override { min = mn, max = mx; }
    void SetPos(int p, bool) override { pos = p; }
    int Pos() const override { return pos; }
    void Enable(bool on) override { enabled = on; }
    void Show(bool on) override { visible = on; }
    int min = 0, max = 0, pos = 0;
    bool enabled = false, visible = false;
};

class FakeWindowHost : public IWindowHost {
  public:
    void TakeFocus() override { ++focusRequests; }
    void SelectFont(const FontRequest& f) override { font = f; }
    void SetDragCursor(DragCursorShape s) override { cursors.push_back(s); }
    void BeginTextDrag() override { ++drags; }
    void EndTextDrag() override { ++dragEnds; }
    void ImePositionChanged(int x, int y) override { imeX = x, imeY = y; }
    void ShowContextMenu(int x, int y) override { menus.push_back({x, y}); }
    int focusRequests = 0, drags = 0, dragEnds = 0, imeX = 0, imeY = 0;
    std::vector<DragCursorShape> cursors;
    std::vector<std::pair<int, int>> menus;
    FontRequest font;
};

class ManualTimerFactory : public ITimerFactory {
  public:
    std::unique_ptr<ITimer> CreateTimer() override {
        auto t = std::make_unique<ManualTimer>();
        last = t.get();
        return t;
    }
    ManualTimer* last = nullptr;
};

}  // namespace tw::test
