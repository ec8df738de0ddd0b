// Pictures of the world window to look at, and the run's speed on the largest worlds when asked
// for.
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include "core/generation.h"
#include "support/world_window_fixture.h"
#include "ui/mouse_button.h"

using namespace morvane;
using namespace morvane::testing;

namespace {

void steps(frmPartidas& win, int n) {
    for (int i = 0; i < n; ++i) {
        QTest::mousePress(win.cmdEmpezarJuego, Qt::RightButton);
        QTest::mouseRelease(win.cmdEmpezarJuego, Qt::RightButton);
    }
}

}  // namespace

class FrmPartidasScreenshotTest : public QObject {
    Q_OBJECT

  private slots:
    void startUpWorldAfterAFewGenerations();
    void oneCellWorld();
    void largestWorld();
    void largestWorlds_data();
    void largestWorlds();
};

void FrmPartidasScreenshotTest::startUpWorldAfterAFewGenerations() {
    auto win = openWorldWindow(25, 40, nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(win.get()));
    steps(*win, 5);
    QCOMPARE(Session::instance().world().Generacion, 5);
    // A selection on the board, so its frame shows too.
    BoardWidget* board = win->fxgTablero;
    QTest::mousePress(board, Qt::LeftButton, {}, cellCentre(*board, 3, 3));
    QTest::mouseMove(board, cellCentre(*board, 5, 6));
    QTest::qWait(50);
    QVERIFY(testing_ui::saveScreenshot(win.get(), QStringLiteral("frmPartidas_25x40")));
    QTest::mouseRelease(board, Qt::LeftButton, {}, cellCentre(*board, 3, 3));
}

void FrmPartidasScreenshotTest::oneCellWorld() {
    auto win = openWorldWindow(1, 1, nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(win.get()));
    steps(*win, 2);
    QCOMPARE(Session::instance().world().Generacion, 2);
    QTest::qWait(50);
    QVERIFY(testing_ui::saveScreenshot(win.get(), QStringLiteral("frmPartidas_1x1")));
}

void FrmPartidasScreenshotTest::largestWorld() {
    auto win = openWorldWindow(63, 65, nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(win.get()));
    steps(*win, 1);
    QTest::qWait(50);
    QVERIFY(testing_ui::saveScreenshot(win.get(), QStringLiteral("frmPartidas_63x65")));
}

// Generations per second of the running window. Figures, not a test: set MORVANE_MEASURE_SECONDS.
void FrmPartidasScreenshotTest::largestWorlds_data() {
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addRow("25x40_start_up_world") << 25 << 40;  // type 12, 4 rounds, as "Start" makes it
    QTest::addRow("40x50_type12_10_rounds") << 40 << 50;
    QTest::addRow("63x65_type12_10_rounds") << 63 << 65;
}

void FrmPartidasScreenshotTest::largestWorlds() {
    const int seconds = qEnvironmentVariableIntValue("MORVANE_MEASURE_SECONDS");
    if (seconds <= 0) QSKIP("set MORVANE_MEASURE_SECONDS to measure");
    QFETCH(int, columns);
    QFETCH(int, rows);
    Session& s = Session::instance();
    s.reset();
    s.seed(99);
    if (columns == 25)
        makeStartupWorld(s.world(), s.rng());
    else
        makeBusyWorld(s.world(), s.rng(), columns, rows, 12, 10);
    frmPartidas win;
    win.resize(1280, 800);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    QTest::mousePress(win.cmdEmpezarJuego, Qt::LeftButton);
    QTest::mouseRelease(win.cmdEmpezarJuego, Qt::LeftButton);
    QVERIFY(win.running());
    QElapsedTimer clock;
    clock.start();
    const int from = s.world().Generacion;
    QTest::qWait(seconds * 1000);
    win.pause();
    const double elapsed = clock.nsecsElapsed() / 1e9;
    const int played = s.world().Generacion - from;
    qInfo("%d x %d: %d generations in %.2f s = %.2f generations/s (last one %s s)", columns, rows,
          played, elapsed, played / elapsed, qPrintable(win.lblTimer->text()));
    // One full repaint of the board and of the whole window.
    QElapsedTimer paint;
    paint.start();
    for (int i = 0; i < 20; ++i) win.fxgTablero->repaint();
    const double boardMs = paint.nsecsElapsed() / 1e6 / 20;
    paint.restart();
    for (int i = 0; i < 20; ++i) win.repaint();
    qInfo("board repaint %.2f ms, window repaint %.2f ms", boardMs,
          paint.nsecsElapsed() / 1e6 / 20);
    // The engine alone, for comparison.
    QElapsedTimer engine;
    engine.start();
    for (int i = 0; i < 20; ++i) UnaGeneracion(s.world(), s.rng());
    qInfo("engine alone: %.2f generations/s", 20 / (engine.nsecsElapsed() / 1e9));
}

QTEST_MAIN(FrmPartidasScreenshotTest)
#include "frm_partidas_screenshot_test.moc"
