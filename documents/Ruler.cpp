#include "documents/Ruler.h"

namespace tw {

namespace {
constexpr int kBaseY = 10;
constexpr int kShortTickTop = 4;
}  // namespace

RulerDrawing LayOutRuler(const RulerGeometry& g) {
    RulerDrawing d;
    auto columnX = [&](int k) { return g.textOrigin - g.scrollX + (k - 1) * g.charWidth; };
    for (int k = g.firstColumn; k <= g.lastColumn; ++k) {
        const int x = columnX(k);
        if (x >= g.textLeft) d.lines.push_back({x, kBaseY, x, kShortTickTop});
    }
    for (int k = g.firstColumn; k <= g.lastColumn; ++k) {
        const int x = columnX(k);
        if (k % 10 != 0 || x < g.textLeft) continue;
        d.labels.push_back({x + 1, 1, k});
        d.lines.push_back({x, kBaseY, x, 0});
    }
    const int lastX = g.firstColumn > g.lastColumn ? 0 : columnX(g.lastColumn);
    d.lines.push_back({g.textLeft, kBaseY, lastX + 1, kBaseY});
    return d;
}

}  // namespace tw
