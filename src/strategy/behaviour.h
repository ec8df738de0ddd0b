#pragma once

#include <algorithm>
#include <limits>
#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

#include "base/numeric.h"
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
// bound it is clipped to it or, irregular, mirrored back (and held at 0). Written as selections
// rather than branches, since curves leave the range at random.
float behaviourRaw01(const GenomePart& g, float x);
inline float foldIntoRange(float f, float bound, bool irregular) {
    // Irregular, the value is mirrored at the edge it crossed; then either is held within 0..bound.
    // Each selection keeps f itself, so a -0 inside the range stays -0.
#if defined(__SSE2__)
    // The same with max and min and no comparison. Irregular, max(-f, f) is -f below 0 and f
    // itself from -0 up, and min(2 bound - f, that) is 2 bound - f exactly where f lies above the
    // bound; regular, the sign flip is a +0 and the term added is +inf, so both leave f as it is.
    // _mm_max_ss(a, b) and _mm_min_ss(a, b) give b unless a lies strictly beyond it, so in this
    // operand order a -0 and a NaN come out as the selections gave them.
    struct FoldTerms {
        float sign, beyond;  // xor-ed into f; added to 2 bound - f
    };
    static constexpr FoldTerms kTerms[2] = {{0.0f, std::numeric_limits<float>::infinity()},
                                            {-0.0f, 0.0f}};
    const FoldTerms& t = kTerms[irregular];
    const __m128 v = _mm_set_ss(f);
    const __m128 top = _mm_set_ss(bound);
    const __m128 folded = _mm_max_ss(_mm_xor_ps(v, _mm_set_ss(t.sign)), v);
    const __m128 mirroredTop =
        _mm_add_ss(_mm_sub_ss(_mm_set_ss(2.0f * bound), v), _mm_set_ss(t.beyond));
    const __m128 mirrored = _mm_min_ss(mirroredTop, folded);
    // max(0, m) and min(bound, m) answer as std::max(m, 0) and std::min(m, bound) do.
    return _mm_cvtss_f32(_mm_min_ss(top, _mm_max_ss(_mm_setzero_ps(), mirrored)));
#else
    const float mirrored = selectBits(irregular & (f > bound), 2.0f * bound - f,
                                      selectBits(irregular & (f < 0.0f), -f, f));
    return std::min(std::max(mirrored, 0.0f), bound);
#endif
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
