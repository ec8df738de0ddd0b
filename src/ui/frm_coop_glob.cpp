#include "ui/frm_coop_glob.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/coop_chart.h"
#include "ui/picture_export.h"
#include "ui/session.h"

namespace morvane {

CoopChartPicture::CoopChartPicture(QWidget* parent)
    : QWidget(parent), chart_(std::make_unique<CoopChartGeometry>()) {
    setObjectName(QStringLiteral("pcbFuncion"));
    setMinimumSize(480, 300);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

CoopChartPicture::~CoopChartPicture() = default;

void CoopChartPicture::setChart(const CoopChartGeometry& chart) {
    *chart_ = chart;
    update();
}

const CoopChartGeometry& CoopChartPicture::chart() const {
    return *chart_;
}

void CoopChartPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintCoopChart(painter, rect(), *chart_);
}

namespace {

QPointer<frmCoopGlob>& theWindow() {
    static QPointer<frmCoopGlob> window;
    return window;
}

}  // namespace

frmCoopGlob::frmCoopGlob(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmCoopGlob"));
    setWindowTitle(tr("Cooperation History"));
    pcbFuncion = new CoopChartPicture(this);
    chkViewHistory = new QCheckBox(tr("View History"), this);
    chkViewHistory->setObjectName(QStringLiteral("chkViewHistory"));
    chkViewHistory->setChecked(true);
    chkViewAverage = new QCheckBox(tr("View Average"), this);
    chkViewAverage->setObjectName(QStringLiteral("chkViewAverage"));
    chkViewAverage->setChecked(true);
    lblAverageGreen = new QLabel(this);
    lblAverageGreen->setObjectName(QStringLiteral("lblAverageGreen"));
    lblAverageRed = new QLabel(this);
    lblAverageRed->setObjectName(QStringLiteral("lblAverageRed"));
    // The labels speak in the curves' colours, darkened enough to read on the window.
    lblAverageGreen->setStyleSheet(QStringLiteral("color: rgb(0, 128, 0);"));
    lblAverageRed->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0);"));

    auto* below = new QHBoxLayout;
    below->addWidget(chkViewHistory);
    below->addWidget(chkViewAverage);
    below->addSpacing(24);
    below->addWidget(lblAverageGreen);
    below->addSpacing(24);
    below->addWidget(lblAverageRed);
    below->addStretch(1);
    savePictureButton = new QPushButton(tr("Save as PNG..."), this);
    savePictureButton->setObjectName(QStringLiteral("savePictureButton"));
    below->addWidget(savePictureButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcbFuncion, 1);
    layout->addLayout(below);
    resize(760, 520);

    connect(savePictureButton, &QPushButton::clicked, this, &frmCoopGlob::savePicture);
    for (QCheckBox* box : {chkViewHistory, chkViewAverage})
        connect(box, &QCheckBox::clicked, this, &frmCoopGlob::DrawHistory);
    // A refilled world starts its history again: shown at once. A new one is announced before
    // its window loads it (which is when its history and generation start again), so it is shown
    // after that.
    connect(&Session::instance(), &Session::genomesChanged, this, &frmCoopGlob::DrawHistory);
    connect(&Session::instance(), &Session::worldReplaced, this, &frmCoopGlob::DrawHistory,
            Qt::QueuedConnection);
}

frmCoopGlob* frmCoopGlob::open() {
    QPointer<frmCoopGlob>& window = theWindow();
    if (!window) {
        window = new frmCoopGlob;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->DrawHistory();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void frmCoopGlob::DrawHistory() {
    const World& w = Session::instance().world();
    const CoopChartGeometry chart =
        coopChartGeometry(w.HistoriaCoop, w.PasoCoop, w.Generacion, chkViewHistory->isChecked(),
                          chkViewAverage->isChecked());
    pcbFuncion->setChart(chart);
    setWindowTitle(w.Generacion == 0 ? tr("Cooperation History")
                                     : tr("Cooperation History - generation %1").arg(w.Generacion));
    lblAverageGreen->setText(chart.averageGreen);
    lblAverageRed->setText(chart.averageRed);
}

bool frmCoopGlob::savePicture() {
    const CoopChartGeometry chart = pcbFuncion->chart();
    return exportPicture(this, tr("Save the cooperation history"), pcbFuncion->size(),
                         [&chart](QPainter& p, const QRectF& r) { paintCoopChart(p, r, chart); });
}

}  // namespace morvane
