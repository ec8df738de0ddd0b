#pragma once

#include <QString>

class QLineEdit;

namespace morvane {

// A box that refuses what was typed says so where the user looks: a red frame, and a tooltip
// naming what it takes. The text stays as typed, so the user sees what was refused.
void showRefused(QLineEdit* box, const QString& takes);
void clearRefused(QLineEdit* box);
bool isRefused(const QLineEdit* box);

// A whole number typed into a box (blanks around it allowed), or nothing.
bool readWholeNumber(const QString& text, int& value);

}  // namespace morvane
