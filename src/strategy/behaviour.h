#pragma once

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

// The value before it is brought back into range (on the 0..1 scale), and the range rule itself.
float behaviourRaw01(const GenomePart& g, float x);
float foldIntoRange(float f, float bound, bool irregular);

// The cubic's Newton coefficients on the 0..1 scale, which depend on the genome alone: a run works
// them out once per generation and evaluates the curve for every meeting. `cubica` is false when
// two inputs coincide; the curve is then evalBehaviour01 of the genome.
struct CurvaNewton {
    float y0 = 0, a1 = 0, a2 = 0, a3 = 0, x1 = 0, x2 = 0;
    bool cubica = false;
};
CurvaNewton curvaNewton01(const GenomePart& g);
// evalBehaviour01 of the genome the coefficients came from, to the last bit.
float evalCurvaNewton01(const CurvaNewton& c, const GenomePart& g, float x);

}  // namespace morvane
