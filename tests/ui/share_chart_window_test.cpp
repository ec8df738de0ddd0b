// The two charts. The strategy-share chart: its geometry as a pure function, the window following
// a run, and its two exports, the CSV being the batch run's own file. The cooperation history
// chart: its geometry, and the window driven from the world window, which the run does not redraw.
#include "ui/share_chart_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "cli/batch_run.h"
#include "state/statistics.h"
#include "support/world_window_fixture.h"
#include "ui/coop_chart.h"
#include "ui/frm_coop_glob.h"
#include "ui/frm_pagos.h"
#include "ui/frm_principal.h"
#include "ui/mouse_button.h"
#include "ui/share_chart.h"

using namespace morvane;
using morvane::testing::theWorld;

namespace {

// Two lines over `rows` rows of 200 cells: "Up" climbing from 0 to 200, "Late" at 50 from row 4.
struct Synthetic {
    std::vector<std::int32_t> up, late;
    ShareChartData data;
};

Synthetic synthetic(std::size_t rows) {
    Synthetic s;
    for (std::size_t r = 0; r < rows; ++r)
        s.up.push_back(static_cast<std::int32_t>(200 * r / (rows - 1)));
    s.late.assign(rows - 4, 50);
    s.data.firstGeneration = 11;
    s.data.rows = rows;
    s.data.cells = 200;
    s.data.lines = {{"Up", Qt::red, 0, s.up}, {"Late", Qt::white, 4, s.late}};
    return s;
}

using History = std::array<std::array<float, 2>, 101>;

// Role 1 cooperates k % 4 / 4 of the time at sample k, role 2 always half.
History sampleHistory() {
    History h{};
    for (std::size_t k = 1; k <= 100; ++k) h[k] = {static_cast<float>(k % 4) / 4.0f, 0.5f};
    return h;
}

template <class Geometry>
QStringList labelTexts(const Geometry& c) {
    QStringList t;
    for (const auto& l : c.labels) t << l.text;
    return t;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Plays the world window's run until generation n, then pauses it, all through the run button.
void runUntil(frmPartidas* window, int n) {
    auto stopAtN =
        QObject::connect(&Session::instance(), &Session::generationDone, window, [window, n] {
            if (theWorld().Generacion == n) testing::press(window->cmdEmpezarJuego, Qt::LeftButton);
        });
    testing::press(window->cmdEmpezarJuego, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(theWorld().Generacion, n, 60000);
    QObject::disconnect(stopAtN);
    QVERIFY(!window->running());
}

}  // namespace

class ShareChartWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        Session::instance().setFileWriter(nullptr);
        testing_ui::deleteWindowsOf<StrategySharesWindow, frmCoopGlob, frmPagos>();
    }

    void geometryOfAFewAndOfManyGenerations();
    void followsTheRunAndStartsAgainWithANewWorld();
    void csvIsTheBatchRunsFile();
    void picturesAreSavedAtTheChosenSizeAndAFailedExportSaysWhy();
    void coopGeometry_data();
    void coopGeometry();
    void coopChartRedrawsOnABoxAndClearsOnANewStepOrWorld();
};

void ShareChartWindowTest::geometryOfAFewAndOfManyGenerations() {
    const Synthetic s = synthetic(9);  // generations 11..19
    const ShareChartGeometry c = shareChartGeometry(s.data, QSizeF(800, 400), {});
    const QRectF& plot = c.plot;
    // The share axis from 0 % at the bottom to 100 % at the top, a label every 10 %.
    QCOMPARE(labelTexts(c).mid(0, 11), QStringList({"0 %", "10 %", "20 %", "30 %", "40 %", "50 %",
                                                    "60 %", "70 %", "80 %", "90 %", "100 %"}));
    QCOMPARE(c.grid[0], QLineF(plot.left(), plot.bottom(), plot.right(), plot.bottom()));
    QCOMPARE(c.grid[10], QLineF(plot.left(), plot.top(), plot.right(), plot.top()));
    // Generations across: the first at the left edge, the last at the right; labels at whole steps.
    QCOMPARE(labelTexts(c).mid(11), QStringList({"12", "14", "16", "18"}));
    QVERIFY(c.emptyText.isEmpty());

    // Few rows: every row is a point, at its generation and share.
    QCOMPARE(c.curves.size(), std::size_t{2});
    const QPolygonF& up = c.curves[0].points;
    QCOMPARE(up.size(), 9);
    QCOMPARE(up.front(), QPointF(plot.left(), plot.bottom()));
    QCOMPARE(up.back(), QPointF(plot.right(), plot.top()));
    QCOMPARE(up[4], QPointF(plot.center().x(), plot.center().y()));
    const QPolygonF& late = c.curves[1].points;
    QCOMPARE(late.size(), 5);
    QCOMPARE(late.front(), QPointF(plot.center().x(), plot.bottom() - plot.height() / 4));

    // The legend: an outlined swatch per line; a hidden line loses its curve (how a click hides
    // it, and the read-out leaves it out, is the window's test below).
    QCOMPARE(c.legend.size(), std::size_t{2});
    QCOMPARE(c.legend[1].text, QStringLiteral("Late"));
    QVERIFY(c.legend[1].swatch.left() > plot.right());
    const ShareChartGeometry hidden = shareChartGeometry(s.data, QSizeF(800, 400), {true});
    QCOMPARE(hidden.curves.at(0).line, std::size_t{1});

    // The read-out: the generation under the pointer, and each shown line's share and count.
    QCOMPARE(shareRowAt(c, s.data, plot.center().x()), std::optional<std::size_t>(4));
    QVERIFY(!shareRowAt(c, s.data, plot.left() - 10));
    QCOMPARE(shareReadout(s.data, 4, {}),
             QStringList({"Generation 15", "Up: 50.0 % (100)", "Late: 25.0 % (50)"}));
    QCOMPARE(shareReadout(s.data, 2, {}), QStringList({"Generation 13", "Up: 25.0 % (50)"}));

    // Before the first generation: the axes, a word in the plot, no lines and no "nan".
    const ShareChartGeometry empty = shareChartGeometry(ShareChartData{}, QSizeF(800, 400), {});
    QCOMPARE(empty.emptyText, QStringLiteral("No generation played yet"));
    QVERIFY(empty.curves.empty());
    QCOMPARE(labelTexts(empty).size(), 11);

    // Many rows: at most four points a pixel column, and every column's extremes.
    constexpr std::size_t kRows = 100000;
    constexpr std::size_t kSpike = 54321, kDip = 77777;
    std::vector<std::int32_t> counts(kRows);
    for (std::size_t r = 0; r < kRows; ++r)
        counts[r] = 100 + static_cast<std::int32_t>(40 * std::sin(static_cast<double>(r) / 900));
    counts[kSpike] = 200;  // one generation of everybody
    counts[kDip] = 0;      // and one of nobody
    ShareChartData data;
    data.rows = kRows;
    data.cells = 200;
    data.firstGeneration = 1;
    data.lines = {{"Wave", Qt::blue, 0, counts}};
    const ShareChartGeometry wave = shareChartGeometry(data, QSizeF(1000, 500), {});
    const QRectF& area = wave.plot;
    const QPolygonF& points = wave.curves.at(0).points;
    const int columns = static_cast<int>(area.width());
    QVERIFY2(points.size() <= 4 * columns, qPrintable(QString::number(points.size())));
    QVERIFY(points.size() >= columns);

    // The one-generation spike and dip still show, each at its own generation's column.
    auto at = [&](std::size_t row) {
        return QPointF(area.left() + area.width() * static_cast<double>(row) / (kRows - 1),
                       area.bottom() - area.height() * counts[row] / 200.0);
    };
    QVERIFY(points.contains(at(kSpike)));
    QVERIFY(points.contains(at(kDip)));
    QCOMPARE(points.front(), at(0));
    QCOMPARE(points.back(), at(kRows - 1));
    // In order across, and every column's highest value drawn: a column's points span its range.
    for (int i = 1; i < points.size(); ++i) QVERIFY(points[i].x() >= points[i - 1].x());
    double highest = area.bottom();
    for (const QPointF& p : points) highest = std::min(highest, p.y());
    QCOMPARE(highest, area.top());
}

void ShareChartWindowTest::followsTheRunAndStartsAgainWithANewWorld() {
    auto world = testing::openWorldWindow(12, 10, nullptr);
    world->sharesAction->trigger();
    StrategySharesWindow* shares = StrategySharesWindow::open();
    QVERIFY(QTest::qWaitForWindowExposed(shares));
    QCOMPARE(shares->windowTitle(), QStringLiteral("Strategy shares"));

    runUntil(world.get(), 6);
    QTRY_COMPARE(shares->windowTitle(), QStringLiteral("Strategy shares - generation 6"));
    ShareChartPicture* picture = shares->picture;
    QTRY_VERIFY(!picture->chart().curves.empty());

    // One legend entry per slot the batch run counts, then "other".
    QStringList names;
    for (int slot : countedSlots(theWorld()))
        names << QString::fromStdString(theWorld().ListaEstrategias[slot].name);
    names << QStringLiteral("other");
    QStringList legend;
    for (const auto& entry : picture->chart().legend) legend << entry.text;
    QCOMPARE(legend, names);

    // The pointer over the plot reads the generation out; the counts add up to every cell.
    const QRectF plot = picture->chart().plot;
    // (A move with no button held is sent as the window system would: the offscreen platform does
    // not turn QTest's cursor moves into events.)
    const QPointF near = plot.topRight() + QPointF(-1, 5);
    QMouseEvent move(QEvent::MouseMove, near, picture->mapToGlobal(near), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &move);
    const QStringList readout = picture->readout();
    QCOMPARE(readout.value(0), QStringLiteral("Generation 6"));
    int cells = 0;
    for (const QString& line : readout.mid(1)) cells += line.section('(', -1).chopped(1).toInt();
    QCOMPARE(cells, theWorld().NumJugadores);

    // A click on a swatch hides its line and leaves it out of the read-out.
    const std::size_t curves = picture->chart().curves.size();
    const ShareChartGeometry::LegendEntry first = picture->chart().legend.front();
    QTest::mouseClick(picture, Qt::LeftButton, {}, first.swatch.center().toPoint());
    QVERIFY(picture->chart().legend.front().hidden);
    QCOMPARE(picture->chart().curves.size(), curves - 1);
    QVERIFY(!picture->readout().join('\n').contains(first.text + ':'));

    // "New" starts the statistics again, shown at once, every line back.
    world->newWorldPressed(1);
    QCOMPARE(shares->windowTitle(), QStringLiteral("Strategy shares"));
    QVERIFY(Session::instance().simulation().statistics().empty());
    picture->repaint();
    QCOMPARE(picture->chart().emptyText, QStringLiteral("No generation played yet"));
    QVERIFY(picture->chart().legend.empty());
    QVERIFY(picture->hidden().empty());
}

void ShareChartWindowTest::csvIsTheBatchRunsFile() {
    constexpr std::uint64_t kSeed = 4242;
    constexpr int kGenerations = 25;
    Session& s = Session::instance();
    s.reset();
    s.seed(kSeed);
    testing::FakeDialogs& dialogs = testing_ui::installFakeDialogs();

    // "Start" on the start-up window, as a user would, then the run and the chart's CSV.
    QPointer<frmPartidas> world;
    const auto start = testing::startUpWindow(world);
    QVERIFY(start);
    QTest::mouseClick(start->cmdVerPartidas, Qt::LeftButton);
    QVERIFY(world);
    world->sharesAction->trigger();
    runUntil(world, kGenerations);
    QTemporaryDir dir;
    const QString fromWindow = dir.filePath(QStringLiteral("window.csv"));
    dialogs.saveAnswers << fromWindow;
    StrategySharesWindow* shares = StrategySharesWindow::open();
    QTest::mouseClick(shares->saveCsvButton, Qt::LeftButton);
    QCOMPARE(dialogs.suffixes.value(0), QStringLiteral("csv"));
    QVERIFY(dialogs.infos.isEmpty());

    BatchOptions batch;
    batch.seed = kSeed;
    batch.generations = kGenerations;
    batch.csvPath = dir.filePath(QStringLiteral("batch.csv")).toStdString();
    batch.quiet = true;
    const BatchOutcome ran = runBatch(batch);
    QCOMPARE(ran.exitCode, 0);

    const QByteArray expected = fileBytes(QString::fromStdString(*batch.csvPath));
    QCOMPARE(expected.count('\n'), kGenerations + 1);
    QCOMPARE(fileBytes(fromWindow), expected);

    // Another "Start" empties both open charts: "Start" announces the new world before its window
    // loads it and clears its statistics and cooperation history, so the charts must redraw
    // after the load, not show the samples and generation of the old world.
    frmCoopGlob* coop = frmCoopGlob::open();
    QCOMPARE(coop->windowTitle(), QStringLiteral("Cooperation History - generation 25"));
    QVERIFY(!coop->pcbFuncion->chart().curves[0].isEmpty());
    dialogs.unsavedAnswers << Dialogs::Unsaved::Discard;
    QTest::mouseClick(start->cmdVerPartidas, Qt::LeftButton);
    QTRY_COMPARE(shares->windowTitle(), QStringLiteral("Strategy shares"));
    QTRY_COMPARE(coop->windowTitle(), QStringLiteral("Cooperation History"));
    QVERIFY(coop->pcbFuncion->chart().curves[0].isEmpty());
    delete world.data();
}

void ShareChartWindowTest::picturesAreSavedAtTheChosenSizeAndAFailedExportSaysWhy() {
    testing::FakeDialogs* dialogs = nullptr;
    auto world = testing::openWorldWindow(20, 15, &dialogs);
    theWorld().PasoCoop = 2;
    Session::instance().simulation().run(60);
    StrategySharesWindow* shares = StrategySharesWindow::open();
    QVERIFY(testing_ui::saveScreenshot(shares, QStringLiteral("strategy_shares")));
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("shares.png"));
    dialogs->imageAnswers << Dialogs::ImageChoice{png, QSize(1200, 700)};
    QTest::mouseClick(shares->savePictureButton, Qt::LeftButton);
    QCOMPARE(dialogs->imageProposed, QList<QSize>{shares->picture->size()});
    QVERIFY(dialogs->infos.isEmpty());
    // Painted at the chosen size, not grabbed from the window: the axes where that size puts them.
    const QImage saved(png);
    QCOMPARE(saved.size(), QSize(1200, 700));
    const ShareChartGeometry::LegendEntry entry =
        shares->picture->chartFor(QSizeF(1200, 700)).legend.back();
    QCOMPARE(saved.pixelColor(entry.swatch.topLeft().toPoint()), QColor(40, 40, 40));
    QCOMPARE(saved.pixelColor(entry.swatch.center().toPoint()), entry.colour);

    // The cooperation chart likewise: the x axis runs at y = 0, 115 / 135 of the height down,
    // from x = 0 (40 / 1080 across); the same chart painted again gives the same picture.
    frmCoopGlob* chart = frmCoopGlob::open();
    QVERIFY(testing_ui::saveScreenshot(chart, QStringLiteral("frm_coop_glob")));
    const QString path = dir.filePath(QStringLiteral("chart.png"));
    dialogs->imageAnswers << Dialogs::ImageChoice{path, QSize(900, 450)};
    QTest::mouseClick(chart->savePictureButton, Qt::LeftButton);
    QCOMPARE(dialogs->imageProposed.last(), chart->pcbFuncion->size());
    QVERIFY(dialogs->infos.isEmpty());
    const QImage coop(path);
    QCOMPARE(coop.pixelColor(450, 383), QColor(Qt::black));
    QCOMPARE(coop.pixelColor(10, 10), QColor(Qt::white));
    chart->close();
    QImage again(QSize(900, 450), QImage::Format_ARGB32_Premultiplied);
    again.fill(Qt::white);
    {
        QPainter p(&again);
        paintCoopChart(p, QRectF(0, 0, 900, 450),
                       coopChartGeometry(theWorld().HistoriaCoop, theWorld().PasoCoop,
                                         theWorld().Generacion, true, true));
    }
    QCOMPARE(coop.convertToFormat(again.format()), again);
    // A cancelled dialog writes nothing.
    QVERIFY(!frmCoopGlob::open()->savePicture());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"chart.png", "shares.png"}));

    // A writer that fails as a full disk does: nothing is written, and the user is told why.
    QStringList asked;
    Session::instance().setFileWriter([&asked](const std::string& path, std::string_view) {
        asked << QString::fromStdString(path);
        return WriteOutcome{false, "cannot write " + path + ": No space left on device"};
    });
    const QString csv = dir.filePath(QStringLiteral("shares.csv"));
    const QString png2 = dir.filePath(QStringLiteral("again.png"));
    dialogs->saveAnswers << csv;
    dialogs->imageAnswers << Dialogs::ImageChoice{png2, QSize(300, 200)};
    QVERIFY(!shares->saveCsv());
    QVERIFY(!shares->savePicture());
    QCOMPARE(asked, QStringList({csv, png2}));
    QCOMPARE(dialogs->infos, QStringList({"cannot write " + csv + ": No space left on device",
                                          "cannot write " + png2 + ": No space left on device"}));
    QVERIFY(!QFile::exists(csv) && !QFile::exists(png2));
}

void ShareChartWindowTest::coopGeometry_data() {
    QTest::addColumn<int>("generation");
    QTest::addColumn<bool>("history");
    QTest::addColumn<bool>("average");
    QTest::addColumn<int>("points");  // curve points, (0, 0) included
    QTest::addColumn<double>("lastX");
    QTest::addColumn<QString>("green");
    // Samples 1..3 of role 1: 0.25, 0.5, 0.75 (average 0.5); samples 1..100 average 0.375.
    QTest::addRow("generation_7_nothing_drawn") << 7 << true << true << 0 << 0.0 << "";
    QTest::addRow("generation_35_three_samples") << 35 << true << true << 4 << 30.0 << "0.5";
    QTest::addRow("generation_1000_all_samples")
        << 1000 << true << true << 101 << 1000.0 << "0.375";
    QTest::addRow("generation_1001_first_hundred_no_average")
        << 1001 << true << false << 101 << 1000.0 << "0.375";
    QTest::addRow("history_unticked_keeps_averages") << 35 << false << true << 0 << 30.0 << "0.5";
}

void ShareChartWindowTest::coopGeometry() {
    QFETCH(int, generation);
    QFETCH(bool, history);
    QFETCH(bool, average);
    QFETCH(int, points);
    QFETCH(double, lastX);
    QFETCH(QString, green);
    const History h = sampleHistory();
    const CoopChartGeometry c = coopChartGeometry(h, 10, generation, history, average);
    QCOMPARE(c.averageGreen, "Average Green = " + green);
    QCOMPARE(c.averageRed,
             green.isEmpty() ? "Average Red = " : "Average Red = 0.5");  // always half
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

// The run does not redraw the cooperation chart; opening it or a box does. A new step or a new
// world clears the history, and the open chart shows it.
void ShareChartWindowTest::coopChartRedrawsOnABoxAndClearsOnANewStepOrWorld() {
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
    QTest::mouseClick(chart->chkViewHistory, Qt::LeftButton);
    World& w = theWorld();
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
    QTest::mouseClick(chart->chkViewAverage, Qt::LeftButton);
    QVERIFY(!chart->pcbFuncion->chart().curves[0].isEmpty());
    world->newWorldPressed(1);
    QCOMPARE(w.HistoriaCoop, History{});
    QVERIFY(chart->pcbFuncion->chart().curves[0].isEmpty());
    QCOMPARE(chart->lblAverageGreen->text(), QStringLiteral("Average Green = "));
    QCOMPARE(chart->windowTitle(), QStringLiteral("Cooperation History"));
}

QTEST_MAIN(ShareChartWindowTest)
#include "share_chart_window_test.moc"
