// The cooperation history chart: its geometry as a pure function, and the window driven from the
// world window, which the run does not redraw.
#include "ui/frm_coop_glob.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "io/atomic_writer.h"
#include "support/world_window_fixture.h"
#include "ui/coop_chart.h"
#include "ui/frm_pagos.h"
#include "ui/frm_partidas.h"
#include "ui/frm_principal.h"

using namespace morvane;
using morvane::testing::theWorld;

namespace {

using History = std::array<std::array<float, 2>, 101>;

// Role 1 cooperates k % 4 / 4 of the time at sample k, role 2 always half.
History sampleHistory() {
    History h{};
    for (std::size_t k = 1; k <= 100; ++k) h[k] = {static_cast<float>(k % 4) / 4.0f, 0.5f};
    return h;
}

QStringList labelTexts(const CoopChartGeometry& c) {
    QStringList t;
    for (const auto& l : c.labels) t << l.text;
    return t;
}

}  // namespace

class FrmCoopGlobTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { testing_ui::deleteWindowsOf<frmCoopGlob, frmPagos>(); }

    void geometry_data();
    void geometry();
    void openingOrABoxShowsTheNewerSamples();
    void aNewStepOrANewWorldClearsTheHistory();
    void anOpenChartShowsTheWorldAStartMade();
    void savesThePictureAtTheChosenSize();
    void aPictureThatCannotBeWrittenSaysWhy();
    void screenshot();
};

void FrmCoopGlobTest::geometry_data() {
    QTest::addColumn<int>("generation");
    QTest::addColumn<bool>("history");
    QTest::addColumn<bool>("average");
    QTest::addColumn<int>("points");  // curve points, (0, 0) included
    QTest::addColumn<double>("lastX");
    QTest::addColumn<QString>("green");
    QTest::addColumn<QString>("red");
    // Samples 1..3 of role 1: 0.25, 0.5, 0.75 (average 0.5); samples 1..100 average 0.375.
    QTest::addRow("generation_7_nothing_drawn")
        << 7 << true << true << 0 << 0.0 << "Average Green = "
        << "Average Red = ";
    QTest::addRow("generation_35_three_samples")
        << 35 << true << true << 4 << 30.0 << "Average Green = 0.5"
        << "Average Red = 0.5";
    QTest::addRow("generation_1000_all_samples")
        << 1000 << true << true << 101 << 1000.0 << "Average Green = 0.375"
        << "Average Red = 0.5";
    QTest::addRow("generation_1001_first_hundred")
        << 1001 << true << true << 101 << 1000.0 << "Average Green = 0.375"
        << "Average Red = 0.5";
    QTest::addRow("generation_90000_first_hundred")
        << 90000 << true << false << 101 << 1000.0 << "Average Green = 0.375"
        << "Average Red = 0.5";
    QTest::addRow("history_unticked_keeps_averages")
        << 35 << false << true << 0 << 30.0 << "Average Green = 0.5"
        << "Average Red = 0.5";
}

void FrmCoopGlobTest::geometry() {
    QFETCH(int, generation);
    QFETCH(bool, history);
    QFETCH(bool, average);
    QFETCH(int, points);
    QFETCH(double, lastX);
    QFETCH(QString, green);
    QFETCH(QString, red);
    const History h = sampleHistory();
    const CoopChartGeometry c = coopChartGeometry(h, 10, generation, history, average);
    QCOMPARE(c.averageGreen, green);
    QCOMPARE(c.averageRed, red);
    for (int role = 0; role < 2; ++role) {
        const QPolygonF& curve = c.curves[static_cast<std::size_t>(role)];
        QCOMPARE(curve.size(), points);
        if (points > 0) {
            QCOMPARE(curve.front(), QPointF(0, 0));
            QCOMPARE(curve.back().x(), lastX);
            QCOMPARE(curve[1].y(), 100.0 * h[1][static_cast<std::size_t>(role)]);
        }
        const auto& line = c.averages[static_cast<std::size_t>(role)];
        const bool drawn = average && generation >= 10;
        QCOMPARE(line.has_value(), drawn);
        if (drawn) {
            QCOMPARE(line->x1(), 0.0);
            QCOMPARE(line->x2(), lastX);
            QCOMPARE(line->y1(), line->y2());
        }
    }
    if (generation == 35) QCOMPARE(c.averages[0]->y1(), 50.0);
    // The x axis is labelled every 10 P generations, the y axis at 0, a half and 1.
    QCOMPARE(labelTexts(c), QStringList({"0", "100", "200", "300", "400", "500", "600", "700",
                                         "800", "900", "1000", "0", "0.5", "1"}));
}

void FrmCoopGlobTest::openingOrABoxShowsTheNewerSamples() {
    auto world = testing::openWorldWindow(12, 10, nullptr);
    theWorld().PasoCoop = 10;
    Session::instance().simulation().run(35);
    QTest::mouseClick(world->cmdCoopGlob, Qt::LeftButton);
    frmCoopGlob* chart = frmCoopGlob::open();
    QVERIFY(chart->isVisible());
    QCOMPARE(chart->windowTitle(), QStringLiteral("Cooperation History - generation 35"));
    QCOMPARE(chart->pcbFuncion->chart().curves[0].size(), 4);
    const QString green = chart->lblAverageGreen->text();
    QVERIFY(green.startsWith("Average Green = ") && green.size() > 16);
    QVERIFY(!green.contains("nan", Qt::CaseInsensitive));

    // The run does not redraw it; a box click does, with the samples taken since.
    Session::instance().simulation().run(20);
    emit Session::instance().generationDone();
    QCOMPARE(chart->pcbFuncion->chart().curves[0].size(), 4);
    QTest::mouseClick(chart->chkViewAverage, Qt::LeftButton);
    QCOMPARE(chart->pcbFuncion->chart().curves[0].size(), 6);
    QVERIFY(!chart->pcbFuncion->chart().averages[0].has_value());
    QTest::mouseClick(chart->chkViewHistory, Qt::LeftButton);
    QVERIFY(chart->pcbFuncion->chart().curves[0].isEmpty());
    QVERIFY(chart->lblAverageGreen->text().size() > 16);  // the averages stay
}

void FrmCoopGlobTest::aNewStepOrANewWorldClearsTheHistory() {
    auto world = testing::openWorldWindow(12, 10, nullptr);
    World& w = theWorld();
    w.PasoCoop = 10;
    Session::instance().simulation().run(30);
    QVERIFY(w.HistoriaCoop[1] != (std::array<float, 2>{}));

    // Another step in the pay-offs window: the old samples would sit at the wrong generations.
    frmPagos* pagos = frmPagos::open();
    QLineEdit* box = pagos->txtParametro[13];
    box->setText(QStringLiteral("5"));
    QTest::mouseClick(pagos->cmdAceptar, Qt::LeftButton);
    QCOMPARE(w.PasoCoop, std::int16_t{5});
    QCOMPARE(w.HistoriaCoop, History{});

    // The same step again keeps what is there.
    Session::instance().simulation().run(10);
    const History kept = w.HistoriaCoop;
    pagos = frmPagos::open();
    QTest::mouseClick(pagos->cmdAceptar, Qt::LeftButton);
    QCOMPARE(w.HistoriaCoop, kept);

    // "New" starts the history again, and an open chart shows it empty at once.
    frmCoopGlob* chart = frmCoopGlob::open();
    QVERIFY(!chart->pcbFuncion->chart().curves[0].isEmpty());
    world->newWorldPressed(1);
    QCOMPARE(w.HistoriaCoop, History{});
    QVERIFY(chart->pcbFuncion->chart().curves[0].isEmpty());
    QCOMPARE(chart->lblAverageGreen->text(), QStringLiteral("Average Green = "));
    QCOMPARE(chart->windowTitle(), QStringLiteral("Cooperation History"));
}

// "Start" announces the new world before its window loads it and clears its history: the open
// chart must show the new world, not the samples and generation of the old one.
void FrmCoopGlobTest::anOpenChartShowsTheWorldAStartMade() {
    testing::FakeDialogs& dialogs = testing_ui::installFakeDialogs();
    QPointer<frmPartidas> world;
    const auto start = testing::startUpWindow(world);
    QVERIFY(start);
    QTest::mouseClick(start->cmdVerPartidas, Qt::LeftButton);
    QVERIFY(world);
    theWorld().PasoCoop = 10;
    Session::instance().simulation().run(30);
    frmCoopGlob* chart = frmCoopGlob::open();
    QCOMPARE(chart->windowTitle(), QStringLiteral("Cooperation History - generation 30"));
    QVERIFY(!chart->pcbFuncion->chart().curves[0].isEmpty());

    dialogs.unsavedAnswers << Dialogs::Unsaved::Discard;
    QTest::mouseClick(start->cmdVerPartidas, Qt::LeftButton);
    QTRY_COMPARE(chart->windowTitle(), QStringLiteral("Cooperation History"));
    QVERIFY(chart->pcbFuncion->chart().curves[0].isEmpty());
    delete world.data();
}

void FrmCoopGlobTest::savesThePictureAtTheChosenSize() {
    testing::FakeDialogs* dialogs = nullptr;
    auto world = testing::openWorldWindow(12, 10, &dialogs);
    theWorld().PasoCoop = 10;
    Session::instance().simulation().run(40);
    frmCoopGlob* chart = frmCoopGlob::open();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.png"));
    dialogs->imageAnswers << Dialogs::ImageChoice{path, QSize(900, 450)};
    QTest::mouseClick(chart->savePictureButton, Qt::LeftButton);
    QCOMPARE(dialogs->imageProposed, QList<QSize>{chart->pcbFuncion->size()});
    QVERIFY(dialogs->infos.isEmpty());
    const QImage saved(path);
    QCOMPARE(saved.size(), QSize(900, 450));
    // The x axis runs at y = 0, 115 / 135 of the height down, from x = 0 (40 / 1080 across).
    QCOMPARE(saved.pixelColor(450, 383), QColor(Qt::black));
    QCOMPARE(saved.pixelColor(10, 10), QColor(Qt::white));
    // The same chart painted again gives the same bytes' picture: nothing of the window is read.
    chart->close();
    QImage again(QSize(900, 450), QImage::Format_ARGB32_Premultiplied);
    again.fill(Qt::white);
    {
        QPainter p(&again);
        paintCoopChart(
            p, QRectF(0, 0, 900, 450),
            coopChartGeometry(theWorld().HistoriaCoop, 10, theWorld().Generacion, true, true));
    }
    QCOMPARE(saved.convertToFormat(again.format()), again);

    // A cancelled dialog writes nothing.
    QVERIFY(!frmCoopGlob::open()->savePicture());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"chart.png"});
}

void FrmCoopGlobTest::aPictureThatCannotBeWrittenSaysWhy() {
    testing::FakeDialogs* dialogs = nullptr;
    auto world = testing::openWorldWindow(8, 6, &dialogs);
    frmCoopGlob* chart = frmCoopGlob::open();
    QTemporaryDir dir;
    // A folder that does not exist fails even for root.
    const QString path = dir.filePath(QStringLiteral("missing/chart.png"));
    dialogs->imageAnswers << Dialogs::ImageChoice{path, QSize(300, 200)};
    QVERIFY(!chart->savePicture());
    const WriteOutcome expected = writeFileAtomically(path.toStdString(), "x");
    QVERIFY(!expected.ok);
    QCOMPARE(dialogs->infos, QStringList{QString::fromStdString(expected.reason)});
    QVERIFY(dialogs->infos.front().contains(path));
    QVERIFY(!QFile::exists(path));
}

void FrmCoopGlobTest::screenshot() {
    auto world = testing::openWorldWindow(20, 15, nullptr);
    theWorld().PasoCoop = 2;
    Session::instance().simulation().run(60);
    frmCoopGlob* chart = frmCoopGlob::open();
    QVERIFY(testing_ui::saveScreenshot(chart, QStringLiteral("frm_coop_glob")));
}

QTEST_MAIN(FrmCoopGlobTest)
#include "frm_coop_glob_test.moc"
