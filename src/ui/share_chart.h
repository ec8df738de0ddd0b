#pragma once

#include <QColor>
#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class QPainter;

namespace morvane {

class StatisticsHistory;

// One line of the share chart: a series' counts, the first of them at row `firstRow`.
struct ShareLine {
    QString name;
    QColor colour;
    std::size_t firstRow = 0;
    std::span<const std::int32_t> counts;
};

// What the chart draws: rows are consecutive generations from `firstGeneration`, each counting
// `cells` cells, and a line per named-slot series plus one for the cells of no named slot.
struct ShareChartData {
    std::int32_t firstGeneration = 0;
    std::size_t rows = 0;
    int cells = 0;
    std::vector<ShareLine> lines;
};

// The cells of no named slot, drawn in a grey of their own.
inline const QColor kOtherColour{128, 128, 128};

// The history's series as lines (spans into the history: it must outlive the data).
ShareChartData shareChartData(const StatisticsHistory& history);

// The chart in pixels for a picture of `size`: a plot on the left with the share axis from 0 % at
// the bottom to 100 % at the top and the generations across, a legend on the right.
struct ShareChartGeometry {
    struct Label {
        QRectF box;
        QString text;
        int flags;  // Qt alignment flags within the box
    };
    struct Curve {
        std::size_t line;  // index into the data's lines
        QColor colour;
        QPolygonF points;
    };
    struct LegendEntry {
        QRectF swatch;  // filled with the line's colour, outlined
        QRectF hit;     // swatch and name: a click here hides or shows the line
        QString text;
        QColor colour;
        bool hidden;
    };

    QRectF plot;
    std::vector<QLineF> grid;  // every 10 % across, and the generation ticks
    std::vector<Label> labels;
    // The lines not hidden, each reduced to at most four points per pixel column: the first, the
    // lowest, the highest and the last value of the rows that fall in it, so a spike of one
    // generation in a hundred thousand still shows.
    std::vector<Curve> curves;
    std::vector<LegendEntry> legend;
    QString emptyText;  // said in the plot before the first generation
};

// `hidden[k]` hides line k (missing entries are shown).
ShareChartGeometry shareChartGeometry(const ShareChartData& data, QSizeF size,
                                      const std::vector<bool>& hidden);

// The row whose generation lies under pixel column x of the plot; none outside it or with no rows.
std::optional<std::size_t> shareRowAt(const ShareChartGeometry& chart, const ShareChartData& data,
                                      double x);

// The read-out of a row: its generation, then each shown line that has a count there, with its
// share in percent and its count ("UD: 12.5 % (25)").
QStringList shareReadout(const ShareChartData& data, std::size_t row,
                         const std::vector<bool>& hidden);

// Paints the chart on a white background; `target` is the picture the geometry was made for.
void paintShareChart(QPainter& painter, const QRectF& target, const ShareChartGeometry& chart);

}  // namespace morvane
