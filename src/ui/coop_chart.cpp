#include "ui/coop_chart.h"

#include <QPainter>
#include <QTransform>

#include "base/shown_number.h"

namespace morvane {

namespace {

constexpr int kSamples = 100;

void addFrame(CoopChartGeometry& c, double p) {
    c.frame.push_back({QLineF(0, 0, kSamples * p, 0), 2});
    c.frame.push_back({QLineF(0, -7, 0, 100), 2});
    for (int y = 10; y <= 100; y += 10) c.frame.push_back({QLineF(0, y, kSamples * p, y), 1});
    // Tick marks below the axis: long every tenth step, medium every second.
    for (int k = 1; k <= kSamples; ++k) {
        const double from = k % 10 == 0 ? -7 : k % 2 == 0 ? -5 : 0;
        c.frame.push_back({QLineF(k * p, from, k * p, 100), 1});
    }
}

void addLabels(CoopChartGeometry& c, double p) {
    for (int k = 0; k <= kSamples; k += 10) {
        const double x = k * p;
        c.labels.push_back({QPointF(x - p, -8), QString::number(k * static_cast<qint64>(p))});
    }
    c.labels.push_back({QPointF(-2 * p, 2), QStringLiteral("0")});
    c.labels.push_back({QPointF(-3.5 * p, 52), QStringLiteral("0.5")});
    c.labels.push_back({QPointF(-2 * p, 103), QStringLiteral("1")});
}

QString averageText(const char* caption, std::optional<double> percent) {
    QString text = QString::fromLatin1(caption) + QStringLiteral(" = ");
    if (percent) text += QString::fromStdString(shownNumber(*percent / 100.0, 3));
    return text;
}

}  // namespace

CoopChartGeometry coopChartGeometry(const std::array<std::array<float, 2>, 101>& history, int step,
                                    int generation, bool viewHistory, bool viewAverage) {
    CoopChartGeometry c;
    const double p = step < 1 ? 1 : step;
    c.extent = QRectF(QPointF(-4 * p, -20), QPointF(104 * p, 115));
    addFrame(c, p);
    addLabels(c, p);

    const int n = generation > kSamples * p ? kSamples : static_cast<int>(generation / p);
    std::array<std::optional<double>, 2> average;
    if (n > 0) {
        for (int role = 0; role < 2; ++role) {
            double sum = 0;
            QPolygonF curve{QPointF(0, 0)};
            for (int k = 1; k <= n; ++k) {
                const double y = 100.0 * history[static_cast<std::size_t>(k)][role];
                curve << QPointF(k * p, y);
                sum += y;
            }
            average[role] = sum / n;
            if (viewHistory) c.curves[role] = curve;
            if (viewAverage) c.averages[role] = QLineF(0, *average[role], n * p, *average[role]);
        }
    }
    c.averageGreen = averageText("Average Green", average[0]);
    c.averageRed = averageText("Average Red", average[1]);
    return c;
}

void paintCoopChart(QPainter& painter, const QRectF& target, const CoopChartGeometry& chart) {
    painter.save();
    painter.fillRect(target, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF& e = chart.extent;
    // Chart coordinates to pixels: x left to right, y upwards.
    const double sx = target.width() / e.width(), sy = target.height() / e.height();
    const QTransform toPixels(sx, 0, 0, -sy, target.left() - e.left() * sx,
                              target.top() + e.bottom() * sy);
    auto pen = [](const QColor& colour, int width) {
        QPen p(colour, width);
        p.setCapStyle(Qt::FlatCap);
        return p;
    };
    for (const auto& l : chart.frame) {
        painter.setPen(pen(Qt::black, l.width));
        painter.drawLine(toPixels.map(l.line));
    }
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setPixelSize(qBound(9, static_cast<int>(target.height() / 40), 16));
    painter.setFont(font);
    for (const auto& label : chart.labels)
        painter.drawText(toPixels.map(label.at) + QPointF(0, painter.fontMetrics().ascent()),
                         label.text);
    const std::array<QColor, 2> colours{kCoopGreen, kCoopRed};
    for (int role = 0; role < 2; ++role) {
        painter.setPen(pen(colours[role], 2));
        if (!chart.curves[role].isEmpty()) painter.drawPolyline(toPixels.map(chart.curves[role]));
        if (chart.averages[role]) painter.drawLine(toPixels.map(*chart.averages[role]));
    }
    painter.restore();
}

}  // namespace morvane
