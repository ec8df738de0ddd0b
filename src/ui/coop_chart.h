#pragma once

#include <QColor>
#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace morvane {

// The cooperation history chart in its own coordinates: x the generation, from -4P to 104P, and
// y the cooperation in percent, from -20 (bottom) to 115 (top), P being the chart's step.
struct CoopChartGeometry {
    struct Line {
        QLineF line;
        int width;  // pixels
    };
    struct Label {
        QPointF at;  // where the text's top-left corner sits
        QString text;
    };

    // x from left() = -4P to right() = 104P, y from top() = -20 to bottom() = 115: drawn upwards.
    QRectF extent;
    std::vector<Line> frame;  // axes (width 2) and grid (width 1), in black
    std::vector<Label> labels;
    // Role 1 in green, role 2 in red: the samples from (0, 0), empty when none is drawn.
    std::array<QPolygonF, 2> curves;
    // The horizontal average lines, at y = the average in percent from x = 0 to the last sample.
    std::array<std::optional<QLineF>, 2> averages;
    QString averageGreen, averageRed;  // the labels' texts
};

inline const QColor kCoopGreen{1, 255, 1};
inline const QColor kCoopRed{255, 1, 1};

// The chart of the samples `history[k][role]` (k = 1..100) at step `step` after `generation`
// generations, with the curves and the average lines when their boxes are ticked. Before the first
// sample it holds the axes, grid and labels and averages without a value.
CoopChartGeometry coopChartGeometry(const std::array<std::array<float, 2>, 101>& history, int step,
                                    int generation, bool viewHistory, bool viewAverage);

// Paints the chart onto `target` (white background), its coordinates stretched to fill it.
void paintCoopChart(QPainter& painter, const QRectF& target, const CoopChartGeometry& chart);

}  // namespace morvane
