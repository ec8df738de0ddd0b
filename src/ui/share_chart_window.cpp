#include "ui/share_chart_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "io/statistics_csv.h"
#include "ui/picture_export.h"
#include "ui/session.h"
#include "ui/share_chart.h"

namespace morvane {

namespace {

// The shortest time between two redraws of a running chart: at most twenty a second.
constexpr int kRefreshMs = 50;

const StatisticsHistory& history() {
    return Session::instance().simulation().statistics();
}

// The read-out's box beside the pointer, kept inside the plot.
void paintReadout(QPainter& p, const QRectF& plot, double x, const QStringList& lines) {
    p.save();
    p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
    p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    const QFontMetrics fm = p.fontMetrics();
    double width = 0;
    for (const QString& line : lines) width = std::max<double>(width, fm.horizontalAdvance(line));
    QRectF box(x + 10, plot.top() + 6, width + 12, fm.height() * lines.size() + 8);
    if (box.right() > plot.right()) box.moveRight(x - 10);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(255, 255, 240));
    p.drawRect(box);
    p.setPen(Qt::black);
    p.drawText(box.adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop, lines.join('\n'));
    p.restore();
}

}  // namespace

ShareChartPicture::ShareChartPicture(QWidget* parent)
    : QWidget(parent), chart_(std::make_unique<ShareChartGeometry>()) {
    setObjectName(QStringLiteral("shareChart"));
    setMinimumSize(520, 300);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
}

ShareChartPicture::~ShareChartPicture() = default;

ShareChartData ShareChartPicture::currentData() const {
    return shareChartData(history());
}

ShareChartGeometry ShareChartPicture::chartFor(QSizeF size) const {
    return shareChartGeometry(currentData(), size, hidden_);
}

const ShareChartGeometry& ShareChartPicture::chart() const {
    return *chart_;
}

QStringList ShareChartPicture::readout() const {
    if (!pointerX_) return {};
    const ShareChartData data = currentData();
    const auto row = shareRowAt(*chart_, data, *pointerX_);
    if (!row) return {};
    return shareReadout(data, *row, hidden_);
}

void ShareChartPicture::paintEvent(QPaintEvent*) {
    // A new world starts with every line shown.
    if (history().empty()) hidden_.clear();
    *chart_ = chartFor(size());
    QPainter painter(this);
    paintShareChart(painter, rect(), *chart_);
    const QStringList lines = readout();
    if (!lines.isEmpty()) paintReadout(painter, chart_->plot, *pointerX_, lines);
}

void ShareChartPicture::resizeEvent(QResizeEvent* e) {
    *chart_ = chartFor(size());
    QWidget::resizeEvent(e);
}

void ShareChartPicture::mousePressEvent(QMouseEvent* e) {
    const auto& legend = chart_->legend;
    for (std::size_t k = 0; k < legend.size(); ++k) {
        if (!legend[k].hit.contains(e->position())) continue;
        if (hidden_.size() <= k) hidden_.resize(k + 1, false);
        hidden_[k] = !hidden_[k];
        *chart_ = chartFor(size());
        update();
        return;
    }
    QWidget::mousePressEvent(e);
}

void ShareChartPicture::mouseMoveEvent(QMouseEvent* e) {
    const bool over = chart_->plot.contains(e->position());
    if (over || pointerX_) {
        pointerX_ = over ? std::optional<double>(e->position().x()) : std::nullopt;
        update();
    }
    QWidget::mouseMoveEvent(e);
}

void ShareChartPicture::leaveEvent(QEvent* e) {
    if (pointerX_) {
        pointerX_.reset();
        update();
    }
    QWidget::leaveEvent(e);
}

// ---------------------------------------------------------------- the window

namespace {

QPointer<StrategySharesWindow>& theWindow() {
    static QPointer<StrategySharesWindow> window;
    return window;
}

}  // namespace

StrategySharesWindow::StrategySharesWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("strategyShares"));
    picture = new ShareChartPicture(this);
    savePictureButton = new QPushButton(tr("Save as PNG..."), this);
    savePictureButton->setObjectName(QStringLiteral("savePictureButton"));
    saveCsvButton = new QPushButton(tr("Save as CSV..."), this);
    saveCsvButton->setObjectName(QStringLiteral("saveCsvButton"));
    auto* below = new QHBoxLayout;
    below->addStretch(1);
    below->addWidget(savePictureButton);
    below->addWidget(saveCsvButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 1);
    layout->addLayout(below);
    resize(900, 520);

    refreshTimer_.setSingleShot(true);
    refreshTimer_.setInterval(kRefreshMs);
    connect(&refreshTimer_, &QTimer::timeout, this, &StrategySharesWindow::refresh);
    connect(savePictureButton, &QPushButton::clicked, this, &StrategySharesWindow::savePicture);
    connect(saveCsvButton, &QPushButton::clicked, this, &StrategySharesWindow::saveCsv);
    Session& s = Session::instance();
    connect(&s, &Session::generationDone, this, &StrategySharesWindow::generationPlayed);
    // A refilled world starts its statistics again: shown at once. A new one is announced before
    // its window loads it (which is when its statistics start again), so it is shown after that.
    connect(&s, &Session::genomesChanged, this, &StrategySharesWindow::refresh);
    connect(&s, &Session::worldReplaced, this, &StrategySharesWindow::refresh,
            Qt::QueuedConnection);
    refresh();
}

StrategySharesWindow* StrategySharesWindow::open() {
    QPointer<StrategySharesWindow>& window = theWindow();
    if (!window) {
        window = new StrategySharesWindow;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->refresh();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void StrategySharesWindow::generationPlayed() {
    // However many generations come, the next redraw waits for the interval since the first.
    if (!refreshTimer_.isActive()) refreshTimer_.start();
}

void StrategySharesWindow::refresh() {
    refreshTimer_.stop();
    const StatisticsHistory& h = history();
    setWindowTitle(h.empty()
                       ? tr("Strategy shares")
                       : tr("Strategy shares - generation %1").arg(h.generationOf(h.size() - 1)));
    picture->update();
}

bool StrategySharesWindow::savePicture() {
    const ShareChartPicture* chart = picture;
    return exportPicture(this, tr("Save the strategy shares"), picture->size(),
                         [chart](QPainter& p, const QRectF& r) {
                             paintShareChart(p, r, chart->chartFor(r.size()));
                         });
}

bool StrategySharesWindow::saveCsv() {
    Session& s = Session::instance();
    const QString path = s.saveFileName(this, QStringLiteral("CSV files (*.csv)"),
                                        tr("Save the strategy shares"), QStringLiteral("csv"));
    if (path.isEmpty()) return false;
    const WriteOutcome written =
        s.writeFile(QFile::encodeName(path).toStdString(), historyCsv(history()));
    if (!written.ok) s.info(this, QString::fromStdString(written.reason));
    return written.ok;
}

}  // namespace morvane
