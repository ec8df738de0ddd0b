#pragma once

#include <algorithm>
#include <limits>

#include "strategy/genome.h"

namespace morvane {

// The behaviour function of a genome half: the cubic through (0, Y0), (X1, Y1), (X2, Y2),
// (100, Y3) in Newton form, brought back into range by clipping (regular) or folding once at each
// edge (Irregular bit 0 set).
//
// The engine evaluates it on the 0..1 scale, the editor on 0..100; each computes in 32-bit floats
// on its own scale. When two inputs coincide (X1 = 0, X1 = X2, X2 = 100, ...) the cubic does not
// exist: the points are sorted by input, an end point wins over an inner point and point 1 over
// point 2 at the same input, and the function is the straight lines between the remaining points.
float evalBehaviour01(const GenomePart& g, float x);
float evalBehaviour100(const GenomePart& g, float x);

// The value before it is brought back into range (on the 0..1 scale), and the range rule itself:
// below 0 the value is clipped to 0 or, irregular, mirrored (and held at the bound); above the
// bound it is clipped to it or, irregular, mirrored back (and held at 0). Written without branches,
// since curves leave the range at random.
float behaviourRaw01(const GenomePart& g, float x);
inline float foldIntoRange(float f, float bound, bool irregular) {
    // Irregular, the value is mirrored at the edge it crossed; then either is held within 0..bound.
    // Only max and min, each a > b ? a : b or a < b ? a : b and so one instruction, which keeps a
    // -0 as it is. Irregular, max(-f, f) is -f below 0 and f itself from -0 up, and
    // min(2 bound - f, that) is 2 bound - f exactly where f lies above the bound (which is 1 or
    // 100, never below 0); regular, the factor 1 and the added +inf leave f as it is. The 0 of the
    // clamp comes from the table too: against a literal 0 the compiler makes that max a branch.
    struct FoldTerms {
        float factor, beyond, floor;  // f is multiplied by factor; beyond is added to 2 bound - f
    };
    static constexpr FoldTerms kTerms[2] = {{1.0f, std::numeric_limits<float>::infinity(), 0.0f},
                                            {-1.0f, 0.0f, 0.0f}};
    const FoldTerms& t = kTerms[irregular];
    const float flipped = f * t.factor;
    const float folded = flipped > f ? flipped : f;
    const float mirroredTop = 2.0f * bound - f + t.beyond;
    const float mirrored = mirroredTop < folded ? mirroredTop : folded;
    // The same as std::max(mirrored, 0) and then std::min(that, bound).
    const float aboveZero = t.floor > mirrored ? t.floor : mirrored;
    return bound < aboveZero ? bound : aboveZero;
}

// The cubic's Newton coefficients on the 0..1 scale, which depend on the genome alone: a run works
// them out once per generation and evaluates the curve for every meeting. `cubic` is false when
// two inputs coincide; the curve is then evalBehaviour01 of the genome.
struct NewtonCurve {
    float y0 = 0, a1 = 0, a2 = 0, a3 = 0, x1 = 0, x2 = 0;
    bool cubic = false;
    bool irregular = false;  // folded back into range rather than clipped (Irregular bit 0)
};
NewtonCurve newtonCurve01(const GenomePart& g);
// The cubic in Newton form at x.
inline float newtonCubic(const NewtonCurve& c, float x) {
    return c.y0 + c.a1 * x + c.a2 * x * (x - c.x1) + c.a3 * x * (x - c.x1) * (x - c.x2);
}
// evalBehaviour01 of the genome the coefficients came from, to the last bit.
inline float evalNewtonCurve01(const NewtonCurve& c, const GenomePart& g, float x) {
    if (!c.cubic) return evalBehaviour01(g, x);
    return foldIntoRange(newtonCubic(c, x), 1.0f, c.irregular);
}

}  // namespace morvane
