#pragma once

#include <QString>

class QWidget;

namespace morvane {

// Why the world cannot be filled from the distribution (its total is not 100, or no active row
// has a portion), or an empty text when it can.
QString distributionRefusal();

// The editor's right-button "Fill" and the distribution window's "Fill world": one rule for both.
// Fills the world from the distribution when the total is exactly 100 and tells every window;
// otherwise says why in an "Info" box and fills nothing. Returns whether it filled.
bool fillWorldByDistribution(QWidget* parent);

}  // namespace morvane
