#pragma once

#include <QColor>

namespace morvane {

// Text on strategy colours is drawn in the bug colour by default, often dark on dark. With
// "Readable text" it is drawn in black or white instead, whichever stands out from the back
// colour by its relative luminance (the WCAG formula: white when the luminance is below 0.179).
double relativeLuminance(QColor back);
QColor readableTextOn(QColor back);

// The text colour to draw on `back`: the bug colour, or black or white when readable text is on.
inline QColor textColourOn(QColor back, QColor bug, bool readable) {
    return readable ? readableTextOn(back) : bug;
}

}  // namespace morvane
