#include "strategy/behaviour.h"

#include <algorithm>
#include <array>
#include <utility>

namespace morvane {

namespace {

struct Point {
    float x, y;
};

// Straight lines between the distinct points, for curves whose inputs coincide.
float polyline(const GenomePart& g, float div, float x) {
    // Priority order: end points first, then point 1, then point 2; a later point whose input is
    // already taken is dropped.
    const std::array<Point, 4> byPriority = {{{0.0f, g.Y0 / div},
                                              {100.0f / div, g.Y3 / div},
                                              {g.X1 / div, g.Y1 / div},
                                              {g.X2 / div, g.Y2 / div}}};
    std::array<Point, 4> kept{};
    int n = 0;
    for (const auto& p : byPriority) {
        const bool taken =
            std::any_of(kept.begin(), kept.begin() + n, [&](const Point& q) { return q.x == p.x; });
        if (!taken) kept[n++] = p;
    }
    for (int i = 1; i < n; ++i)  // at most four points: insertion sort by input
        for (int k = i; k > 0 && kept[k].x < kept[k - 1].x; --k) std::swap(kept[k], kept[k - 1]);
    if (x <= kept[0].x) return kept[0].y;
    for (int i = 1; i < n; ++i) {
        if (x <= kept[i].x) {
            const Point a = kept[i - 1], b = kept[i];
            return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
        }
    }
    return kept[n - 1].y;
}

// The Newton coefficients with every coordinate divided by `div` (100 for the engine, 1 for the
// editor).
NewtonCurve newton(const GenomePart& g, float div) {
    const float top = 100.0f / div;
    const float y0 = g.Y0 / div, x1 = g.X1 / div, y1 = g.Y1 / div;
    const float x2 = g.X2 / div, y2 = g.Y2 / div, y3 = g.Y3 / div;
    const bool distinct = x1 != 0.0f && x2 != 0.0f && x1 != top && x2 != top && x1 != x2;
    if (!distinct) return {};
    const float a1 = (y1 - y0) / x1;
    const float a2 = ((y2 - y0) - a1 * x2) / ((x2 - x1) * x2);
    const float a3 =
        ((y3 - y0) - a1 * top - a2 * top * (top - x1)) / ((top - x2) * (top - x1) * top);
    return {y0, a1, a2, a3, x1, x2, true};
}

float raw(const GenomePart& g, float div, float x) {
    const NewtonCurve c = newton(g, div);
    return c.cubic ? newtonCubic(c, x) : polyline(g, div, x);
}

}  // namespace

float behaviourRaw01(const GenomePart& g, float x) {
    return raw(g, 100.0f, x);
}

float evalBehaviour01(const GenomePart& g, float x) {
    return foldIntoRange(raw(g, 100.0f, x), 1.0f, (g.Irregular & 1) != 0);
}

NewtonCurve newtonCurve01(const GenomePart& g) {
    NewtonCurve c = newton(g, 100.0f);
    c.irregular = (g.Irregular & 1) != 0;
    return c;
}

float evalBehaviour100(const GenomePart& g, float x) {
    return foldIntoRange(raw(g, 1.0f, x), 100.0f, (g.Irregular & 1) != 0);
}

}  // namespace morvane
