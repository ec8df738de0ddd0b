#pragma once

#include <string>

#include "strategy/strategy_list.h"

namespace morvane {

// The editor's mouse on the curve picture, at whole picture coordinates (x, y), truncated toward
// zero: left of the picture sets Y0, right of it Y3, and inside 0..100 the nearer inner point
// moves, point 1 kept at input 2 or more and point 2 at 98 or less. Points in their usual order are
// told apart at X1 + (X2 - X1) / 2; with point 2 left of point 1 the nearer point moves as well
// (an 8-bit midpoint there would move point 1 on every click, and point 2 could never be reached).
// Nothing changes when y lies outside 0..100 or when the move would put both inner points on one
// input, where the curve does not exist. Returns the point moved: 0 (Y0), 1, 2, 3 (Y3), or
// kNoPoint when nothing changed.
constexpr int kNoPoint = -1;
int moveCurvePoint(ListGenomePart& p, int x, int y);

// Moves point `point` (0..3) by (dx, dy) within the clamps and refusals of the mouse: Y0 and Y3
// only up and down, point 1 at input 2..100 and point 2 at 0..98, values 0..100, and never both
// inner points on one input. Returns whether anything changed.
bool nudgeCurvePoint(ListGenomePart& p, int point, int dx, int dy);

// The whole-number sensibilities of part p as a cell stores them (33.5 becomes 34).
int cellSensibilitySum(const ListGenoma& g, int p);
// Whether both parts' sensibilities add up to 100 in cell form: what the editor may store.
bool sensibilitiesStorable(const ListGenoma& g);

// "Normalize to 100": the active rows' portions scaled to exactly 1000 tenths, each the floor of
// its share and the tenths left over given to the largest remainders (the upper row first on a
// tie). Inactive rows keep theirs. False, and nothing changes, when every active portion is 0.
bool normalizeDistribution(StrategyList& list);

}  // namespace morvane
