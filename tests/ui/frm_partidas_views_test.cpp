// The board's keys and "Selection only", the inspector's tooltips and the clicks that lead nowhere
// yet, on the real world window, offscreen.
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include "base/shown_number.h"
#include "support/world_window_fixture.h"
#include "ui/inspector.h"
#include "ui/mouse_button.h"
#include "ui/results_table.h"

using namespace morvane;
using namespace morvane::testing;

namespace {

QString tooltipOf(QWidget* w) {
    QToolTip::hideText();
    QHelpEvent help(QEvent::ToolTip, QPoint(3, 3), w->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(w, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QColor shownBack(BoardWidget* board, int cell) {
    const QImage image = board->grab().toImage();
    return image.pixelColor(board->cellRect(board->gridPositionOf(cell)).topLeft() + QPoint(1, 1));
}

}  // namespace

class FrmPartidasViewsTest : public QObject {
    Q_OBJECT

  private slots:
    void boardKeysMoveSelectPickUpAndPutDown();
    void selectionOnlyHoldsTheRestOfTheBoardStill();
    void savedViewWordSetsTheMenusWhenTheWindowOpens();
    void inspectorTooltipsAreWorkedOutWhenAsked();
    void strategyAverageCountsEachShownCellOnce();
    void genomeBoxesFollowTheSensibilityMask();
    void shiftPressesAndRivalPressesOpenTheirViewsAndChangeNothing();
};

void FrmPartidasViewsTest::boardKeysMoveSelectPickUpAndPutDown() {
    auto win = openWorldWindow(6, 5, nullptr);
    QVERIFY(QTest::qWaitForWindowActive(win.get()));
    World& w = theWorld();
    BoardWidget* board = win->fxgTablero;
    QTest::mouseClick(board, Qt::LeftButton, {}, cellCentre(*board, 1, 1));  // cell 8
    QVERIFY(board->hasFocus());
    QTest::keyClick(board, Qt::Key_Right);
    QCOMPARE(int(w.CasillaSel), 9);
    QTest::keyClick(board, Qt::Key_Up);
    QTest::keyClick(board, Qt::Key_Up);  // stops at the top row
    QCOMPARE(int(w.CasillaSel), 3);
    w.genoma(kActual, 3) = listStrategy(w, "UD");
    QTest::keyClick(board, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.genoma(kActual, 0), w.genoma(kActual, 3));

    QTest::keyClick(board, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(board, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(board->selectionCells(), (QList<int>{3, 4, 9, 10}));
    QTest::keyClick(board, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    for (int cell : {3, 4, 9, 10}) QCOMPARE(w.genoma(kActual, cell), w.genoma(kActual, 3));
    QVERIFY(!sameStrategy(w.genoma(kActual, 2), listStrategy(w, "UD")));

    QTest::keyClick(board, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    for (int cell = 1; cell <= w.NumJugadores; ++cell)
        QVERIFY(sameStrategy(w.genoma(kActual, cell), listStrategy(w, "UD")));
}

void FrmPartidasViewsTest::selectionOnlyHoldsTheRestOfTheBoardStill() {
    auto win = openWorldWindow(4, 4, nullptr);
    QVERIFY(QTest::qWaitForWindowActive(win.get()));
    World& w = theWorld();
    BoardWidget* board = win->fxgTablero;
    QTest::mouseClick(board, Qt::LeftButton, {}, cellCentre(*board, 0, 0));
    QTest::keyClick(board, Qt::Key_Right, Qt::ShiftModifier);  // cells 1 and 2
    const QColor before = shownBack(board, 16);
    win->mnuSoloSelec->trigger();
    QVERIFY(w.options.mnuSoloSelec);
    QVERIFY(win->mnuSoloSelec->isChecked());

    w.genoma(kActual, 2).Colores = {255, 0, 0, 0, 0, 255};
    w.genoma(kActual, 16).Colores = {0, 255, 0, 0, 0, 0};
    win->DibujarMapa(true);  // as every generation does while the item is ticked
    QCOMPARE(shownBack(board, 2), QColor(255, 0, 0));
    QCOMPARE(shownBack(board, 16), before);

    win->mnuSoloSelec->trigger();
    QCOMPARE(shownBack(board, 16), QColor(0, 255, 0));
}

void FrmPartidasViewsTest::savedViewWordSetsTheMenusWhenTheWindowOpens() {
    Session& s = Session::instance();
    s.reset();
    World& w = s.world();
    w.NumColumnas = 5;
    w.NumFilas = 4;
    startWorld(w, s.rng());
    w.Vista = 449.0f;  // every rule bit and no rounds fraction
    frmPartidas win;
    QCOMPARE(int(w.options.Regla), 3);
    for (int k = 0; k < 4; ++k) QCOMPARE(win.mnuRegla[k]->isChecked(), k < 3);
    QCOMPARE(win.hsbIter->value(), 4);
    QCOMPARE(win.txtIter->text(), QStringLiteral("4"));
    QVERIFY(win.mnuVerMutaciones->isChecked());
    QCOMPARE(w.CasillaSel, 5);
}

void FrmPartidasViewsTest::inspectorTooltipsAreWorkedOutWhenAsked() {
    auto win = openWorldWindow(6, 6, nullptr);
    QVERIFY(QTest::qWaitForWindowActive(win.get()));
    World& w = theWorld();
    clickOpcion(w, 0);  // no mutation: every cell keeps the one strategy
    w.genoma(kActual, 0) = listStrategy(w, "UC");
    QTest::mousePress(win->cmdSelTodo, Qt::LeftButton);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    Inspector* insp = win->fraVecindario;
    const int sel = w.CasillaSel;
    const GenerationReport& rep = Session::instance().report();

    const int east = insp->labelCell(2);
    QCOMPARE(tooltipOf(insp->txtJugador[2]),
             QStringLiteral("Points: %1 | Has copied the player (strategy): %2")
                 .arg(QString::fromStdString(shownNumber(rep.PagoTotal[east], 3)))
                 .arg(w.Padres[east][0]));
    // Every one of the 25 distinct cells carries the strategy.
    double sum = 0;
    for (int j = 0; j < 24; ++j) sum += rep.PagoTotal[w.vecino(sel, j)];
    sum += rep.PagoTotal[sel];
    QCOMPARE(tooltipOf(insp->lblJugador[7]),
             QString::fromStdString(shownNumber(sum, 3) + " / 25 = " + shownNumber(sum / 25, 3)));
    QVERIFY(tooltipOf(insp->lblAdHoc).startsWith("Ojo: si cambiamos este valor"));
    insp->hsbAdHoc->setValue(3);
    QCOMPARE(insp->lblAdHoc->text(), QStringLiteral("3"));
    QCOMPARE(w.options.hsbAdHoc, 3);
}

void FrmPartidasViewsTest::strategyAverageCountsEachShownCellOnce() {
    auto win = openWorldWindow(4, 1, nullptr);
    World& w = theWorld();
    const Genoma uc = listStrategy(w, "UC"), ud = listStrategy(w, "UD");
    for (int cell = 1; cell <= 4; ++cell) w.genoma(kPrevio, cell) = cell == 4 ? ud : uc;
    GenerationReport rep;
    rep.PagoTotal = {0, 1.0f, 2.0f, 0.5f, 9.0f};
    struct Row {
        const char* name;
        int cell;
        std::vector<int> shown;
        std::string expected;
    };
    const Row rows[] = {
        {"repeats_count_once", 1, {1, 2, 2, 3, 1}, "3.5 / 3 = 1.167"},
        {"other_strategy_left_out", 2, {1, 4, 2}, "3 / 2 = 1.5"},
        {"not_in_the_picture", 4, {1, 2, 3}, "Esta estrategia no participó en la selección."},
    };
    for (const Row& row : rows) {
        qInfo("%s", row.name);
        QCOMPARE(strategyAverageText(w, rep, row.cell, row.shown), row.expected);
    }
}

void FrmPartidasViewsTest::genomeBoxesFollowTheSensibilityMask() {
    Genoma g;
    g.parte[0].SenIC = 50;
    g.parte[0].SenIA = 128 + 25;  // the high bit is not part of the value
    g.parte[0].SenIP = 25;
    g.parte[0].Y3 = 80;
    struct Row {
        int mask;
        const char* expected;
    };
    for (const Row& row : {Row{0, "Cte. = 80"}, Row{1, "SenIc = 1"}, Row{2, "SenIa = 1"},
                           Row{4, "SenIp = 1"}, Row{3, "SenIc = 0.5"}, Row{5, "SenIc = 0.5"},
                           Row{6, "SenIa = 0.25"}, Row{7, "0.5   0.25   0.25"}}) {
        std::string text;
        QVERIFY(genomeBoxText(g, row.mask, text));
        QCOMPARE(text, std::string(row.expected));
    }
    std::string kept = "as it was";
    QVERIFY(!genomeBoxText(g, 8, kept));
    QCOMPARE(kept, std::string("as it was"));
}

void FrmPartidasViewsTest::shiftPressesAndRivalPressesOpenTheirViewsAndChangeNothing() {
    auto win = openWorldWindow(6, 5, nullptr);
    QVERIFY(QTest::qWaitForWindowActive(win.get()));
    press(win->cmdEmpezarJuego, Qt::RightButton);
    const World before = theWorld();
    const int windows = QApplication::topLevelWidgets().size();
    Inspector* insp = win->fraVecindario;
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        // Shift-presses open the transitions view, rival presses the details; neither changes
        // the world.
        for (Qt::KeyboardModifiers m : {Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
            QTest::mouseClick(insp->txtJugador[3], b, m);
            QTest::mouseClick(insp->txtJugador[24], b, m);
            QTest::mouseClick(insp->txtGenoma, b, m);
            QTest::mouseClick(insp->txtGenomaPrev, b, m);
            QTest::mouseClick(insp->txtSeleccionada, b, m);
        }
        ResultsModel& model = win->fxgResultados->results();
        const QRect r = win->fxgResultados->visualRect(model.index(2, 4));
        QVERIFY(!model.text(2, 4).isEmpty());
        QTest::mouseClick(win->fxgResultados->viewport(), b, {}, r.center());
    }
    QCOMPARE(QApplication::topLevelWidgets().size(), windows + 2);
    QCOMPARE(theWorld().CasillaSel, before.CasillaSel);
    QCOMPARE(theWorld().genomes, before.genomes);
}

QTEST_MAIN(FrmPartidasViewsTest)
#include "frm_partidas_views_test.moc"
