#include "ui/share_chart.h"

#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>

#include "state/statistics_history.h"

namespace morvane {

namespace {

constexpr double kLeft = 52, kTop = 12, kBottom = 30, kGap = 12;
constexpr double kLegendWidth = 190, kLegendRow = 20, kSwatch = 14;
constexpr double kTickSpacing = 90;  // pixels wanted between two generation labels
const QColor kCasing{40, 40, 40};
const QColor kGrid{225, 225, 225};

// The mapping from rows and counts to pixels.
struct Scale {
    QRectF plot;
    std::size_t rows;
    int cells;

    double x(std::size_t row) const {
        if (rows < 2) return plot.left();
        return plot.left() +
               plot.width() * static_cast<double>(row) / static_cast<double>(rows - 1);
    }
    double y(double count) const { return plot.bottom() - plot.height() * count / cells; }
    int column(std::size_t row) const {
        const int width = std::max(1, static_cast<int>(plot.width()));
        return std::clamp(static_cast<int>(x(row) - plot.left()), 0, width - 1);
    }
};

// The smallest of 1, 2 and 5 times a power of ten that is at least `raw`.
std::int64_t niceStep(double raw) {
    std::int64_t power = 1;
    while (true) {
        for (std::int64_t m : {1, 2, 5})
            if (static_cast<double>(m * power) >= raw) return m * power;
        power *= 10;
    }
}

void addShareAxis(ShareChartGeometry& c) {
    for (int percent = 0; percent <= 100; percent += 10) {
        const double y = c.plot.bottom() - c.plot.height() * percent / 100.0;
        c.grid.emplace_back(c.plot.left(), y, c.plot.right(), y);
        c.labels.push_back({QRectF(0, y - 8, kLeft - 6, 16), QStringLiteral("%1 %").arg(percent),
                            Qt::AlignRight | Qt::AlignVCenter});
    }
}

void addGenerationAxis(ShareChartGeometry& c, const ShareChartData& data, const Scale& scale) {
    if (data.rows == 0) return;
    const std::int64_t first = data.firstGeneration;
    const std::int64_t last = first + static_cast<std::int64_t>(data.rows) - 1;
    const double ticks = std::max(1.0, c.plot.width() / kTickSpacing);
    const std::int64_t step =
        niceStep(std::max<double>(1, static_cast<double>(last - first)) / ticks);
    for (std::int64_t g = (first + step - 1) / step * step; g <= last; g += step) {
        const double x = scale.x(static_cast<std::size_t>(g - first));
        c.grid.emplace_back(x, c.plot.top(), x, c.plot.bottom());
        c.labels.push_back({QRectF(x - 40, c.plot.bottom() + 4, 80, 16), QString::number(g),
                            Qt::AlignHCenter | Qt::AlignTop});
    }
}

// The line's points, at most four per pixel column.
QPolygonF decimated(const ShareLine& line, const Scale& scale) {
    QPolygonF points;
    const std::size_t n = line.counts.size();
    auto point = [&](std::size_t k) {
        return QPointF(scale.x(line.firstRow + k), scale.y(line.counts[k]));
    };
    std::size_t k = 0;
    while (k < n) {
        const int column = scale.column(line.firstRow + k);
        std::size_t low = k, high = k, end = k + 1;
        for (; end < n && scale.column(line.firstRow + end) == column; ++end) {
            if (line.counts[end] < line.counts[low]) low = end;
            if (line.counts[end] > line.counts[high]) high = end;
        }
        std::array<std::size_t, 4> kept{k, std::min(low, high), std::max(low, high), end - 1};
        for (std::size_t i = 0; i < kept.size(); ++i)
            if (i == 0 || kept[i] != kept[i - 1]) points << point(kept[i]);
        k = end;
    }
    if (points.size() == 1) points << points.front();  // one generation: a dot
    return points;
}

bool isHidden(const std::vector<bool>& hidden, std::size_t k) {
    return k < hidden.size() && hidden[k];
}

}  // namespace

ShareChartData shareChartData(const StatisticsHistory& history) {
    ShareChartData data;
    data.rows = history.size();
    if (data.rows == 0) return data;  // no lines yet, so no legend either
    data.firstGeneration = history.generationOf(0);
    data.cells = history.cellsOf(0);
    for (const auto& s : history.series()) {
        const auto& c = s.genoma.Colores;
        data.lines.push_back(
            {QString::fromStdString(s.name), QColor(c[0], c[1], c[2]), s.firstRow, s.counts});
    }
    data.lines.push_back({QStringLiteral("other"), kOtherColour, 0, history.other()});
    return data;
}

ShareChartGeometry shareChartGeometry(const ShareChartData& data, QSizeF size,
                                      const std::vector<bool>& hidden) {
    ShareChartGeometry c;
    const double right = size.width() - kLegendWidth - kGap;
    c.plot = QRectF(QPointF(kLeft, kTop), QPointF(std::max(kLeft + 1, right),
                                                  std::max(kTop + 1, size.height() - kBottom)));
    const Scale scale{c.plot, data.rows, data.cells};
    addShareAxis(c);
    addGenerationAxis(c, data, scale);
    if (data.rows == 0) c.emptyText = QStringLiteral("No generation played yet");

    for (std::size_t k = 0; k < data.lines.size(); ++k) {
        const ShareLine& line = data.lines[k];
        const double top = kTop + static_cast<double>(k) * kLegendRow;
        const QRectF swatch(c.plot.right() + kGap + 4, top + 2, kSwatch, kSwatch);
        c.legend.push_back({swatch, QRectF(swatch.left() - 2, top, kLegendWidth - 4, kLegendRow),
                            line.name, line.colour, isHidden(hidden, k)});
        if (isHidden(hidden, k) || line.counts.empty() || data.cells < 1) continue;
        c.curves.push_back({k, line.colour, decimated(line, scale)});
    }
    return c;
}

std::optional<std::size_t> shareRowAt(const ShareChartGeometry& chart, const ShareChartData& data,
                                      double x) {
    if (data.rows == 0 || x < chart.plot.left() - 0.5 || x > chart.plot.right() + 0.5)
        return std::nullopt;
    if (data.rows == 1) return 0;
    const double along = std::clamp((x - chart.plot.left()) / chart.plot.width(), 0.0, 1.0);
    return static_cast<std::size_t>(std::lround(along * static_cast<double>(data.rows - 1)));
}

QStringList shareReadout(const ShareChartData& data, std::size_t row,
                         const std::vector<bool>& hidden) {
    QStringList lines{
        QStringLiteral("Generation %1").arg(data.firstGeneration + static_cast<std::int64_t>(row))};
    for (std::size_t k = 0; k < data.lines.size(); ++k) {
        const ShareLine& line = data.lines[k];
        if (isHidden(hidden, k) || row < line.firstRow || row - line.firstRow >= line.counts.size())
            continue;
        const int count = line.counts[row - line.firstRow];
        const double percent = data.cells > 0 ? 100.0 * count / data.cells : 0.0;
        lines << QStringLiteral("%1: %2 % (%3)")
                     .arg(line.name, QString::number(percent, 'f', 1), QString::number(count));
    }
    return lines;
}

void paintShareChart(QPainter& painter, const QRectF& target, const ShareChartGeometry& chart) {
    painter.save();
    painter.fillRect(target, Qt::white);
    painter.translate(target.topLeft());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kGrid, 1));
    for (const QLineF& l : chart.grid) painter.drawLine(l);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(chart.plot.bottomLeft(), chart.plot.bottomRight());
    painter.drawLine(chart.plot.bottomLeft(), chart.plot.topLeft());
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    for (const auto& label : chart.labels) painter.drawText(label.box, label.flags, label.text);
    if (!chart.emptyText.isEmpty()) painter.drawText(chart.plot, Qt::AlignCenter, chart.emptyText);

    // A dark casing under each line keeps the white and pale colours visible on white.
    painter.setClipRect(chart.plot.adjusted(-3, -3, 3, 3));
    // Wide lines are stroked piece by piece: one stroke of thousands of points that cross back
    // and forth (a noisy run, decimated) costs the stroker far more than many short ones.
    constexpr qsizetype kPiece = 32;
    auto stroke = [&painter](const QPolygonF& points, const QPen& pen) {
        painter.setPen(pen);
        for (qsizetype from = 0; from + 1 < points.size(); from += kPiece)
            painter.drawPolyline(points.constData() + from,
                                 static_cast<int>(std::min(kPiece + 1, points.size() - from)));
    };
    for (const auto& curve : chart.curves) {
        // A line with more points than the plot has columns gains nothing from smoothing its
        // edges, and smoothing wide strokes that double back is slow.
        const bool dense = curve.points.size() > chart.plot.width();
        painter.setRenderHint(QPainter::Antialiasing, !dense);
        const Qt::PenCapStyle cap = dense ? Qt::FlatCap : Qt::RoundCap;
        const Qt::PenJoinStyle join = dense ? Qt::BevelJoin : Qt::RoundJoin;
        stroke(curve.points, QPen(kCasing, 4, Qt::SolidLine, cap, join));
        stroke(curve.points, QPen(curve.colour, 2, Qt::SolidLine, cap, join));
    }
    painter.setClipping(false);

    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const auto& entry : chart.legend) {
        // A hidden line's swatch is struck through: slots 2 and 3 are white when shown, too.
        painter.setPen(QPen(entry.hidden ? QColor(150, 150, 150) : kCasing, 1));
        painter.setBrush(entry.hidden ? QBrush(Qt::white) : QBrush(entry.colour));
        painter.drawRect(entry.swatch);
        if (entry.hidden) painter.drawLine(entry.swatch.bottomLeft(), entry.swatch.topRight());
        painter.setPen(entry.hidden ? QColor(150, 150, 150) : QColor(Qt::black));
        const QRectF text(entry.swatch.right() + 6, entry.hit.top(),
                          entry.hit.right() - entry.swatch.right() - 6, entry.hit.height());
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(entry.text, Qt::ElideRight,
                                                          static_cast<int>(text.width())));
    }
    painter.restore();
}

}  // namespace morvane
