#include "ui/readable_text.h"

#include <cmath>

namespace morvane {

namespace {

double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double relativeLuminance(QColor back) {
    return 0.2126 * linear(back.red()) + 0.7152 * linear(back.green()) +
           0.0722 * linear(back.blue());
}

QColor readableTextOn(QColor back) {
    return relativeLuminance(back) < 0.179 ? QColor(Qt::white) : QColor(Qt::black);
}

}  // namespace morvane
