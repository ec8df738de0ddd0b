// The world window driven through real events on its real controls, offscreen: the run button
// (a command button that acts on the mouse button pressed on it), menus, board, keys, inspector
// and results table.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include "base/shown_number.h"
#include "core/neighbourhood_setup.h"
#include "encounter/history.h"
#include "support/world_window_fixture.h"
#include "ui/inspector.h"
#include "ui/mouse_button.h"
#include "ui/refused_value.h"
#include "ui/results_table.h"

using namespace morvane;
using namespace morvane::testing;

namespace {

// Clicks a menu entry the way a user does: open the menu, click the entry.
void clickMenuItem(QMenu* menu, QAction* item) {
    menu->popup(menu->parentWidget()->mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    QTRY_VERIFY(!menu->isVisible());
}

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

class FrmPartidasTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        open(6, 5);
        QVERIFY(QTest::qWaitForWindowActive(win.get()));
    }
    void cleanup() { win.reset(); }

    void mouseButtonTellsWhichButtonWentDown();
    void runButtonByMouseButton_data();
    void runButtonByMouseButton();
    void focusLeavingTheRunButtonPausesUnlessForAMenuOrWindow();
    void newFillsByMouseButton_data();
    void newFillsByMouseButton();
    void menuItemsTickTheWorld_data();
    void menuItemsTickTheWorld();
    void dragPaintsTheRectangleAndFillTheBoardButBlankSquares();
    void buttonsAndKeysPickUpAndPutDown();
    void leftPressInspectsUnlessTheNeighbourhoodChanged();
    void keysRunPauseStepAndRefill();
    void iterationsBoxTakesOnlyOneToTen();
    void captionsAndMenusShowTheWorldsSettings();
    void resultsTableShowsTheSelectedCellsEncounters();
    void selectionOnlyHoldsTheRestOfTheBoardStill();
    void inspectorTooltipsAreWorkedOutWhenAsked();
    void inspectorTextsOfAveragesAndGenomeBoxes();
    void shiftPressesAndRivalPressesOpenTheirViewsAndChangeNothing();
    void screenshot();

  private:
    // A fresh world window on a `columns` x `rows` world, the old one closed first.
    void open(int columns, int rows) {
        win.reset();
        win = openWorldWindow(columns, rows, &dialogs);
    }

    std::unique_ptr<frmPartidas> win;
    FakeDialogs* dialogs = nullptr;
};

// The command button that acts on the mouse button pressed on it, alone in a window (which button
// does what is the run, "New" and "Invert" tests'): only the left button clicks, a double click is
// a second press of its button, the space bar presses as the left button, and the right button
// opens no context menu.
void FrmPartidasTest::mouseButtonTellsWhichButtonWentDown() {
    QWidget parent;
    parent.setContextMenuPolicy(Qt::CustomContextMenu);
    auto* layout = new QVBoxLayout(&parent);
    auto* button = new MouseButton(QStringLiteral("Invert"));
    layout->addWidget(button);
    QVERIFY(testing_ui::showActive(&parent));
    QSignalSpy pressed(button, &MouseButton::pressed);
    QSignalSpy clicked(button, &QPushButton::clicked);
    QSignalSpy menu(&parent, &QWidget::customContextMenuRequested);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mousePress(button, Qt::MiddleButton);
    QCOMPARE(pressed.count(), 2);  // the action comes with the press, before any release
    QTest::mouseRelease(button, Qt::MiddleButton);
    QTest::mousePress(button, Qt::RightButton);
    QTest::mouseRelease(button, Qt::RightButton);
    QTest::mouseDClick(button, Qt::RightButton);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3),
                            button->mapToGlobal(QPoint(3, 3)));
    QCoreApplication::sendEvent(button, &event);
    QTest::keyClick(button, Qt::Key_Space);
    QList<int> numbers;
    for (const QList<QVariant>& args : pressed) numbers << args.at(0).toInt();
    QCOMPARE(numbers, (QList<int>{1, 4, 2, 2, 1}));
    QCOMPARE(clicked.count(), 1);  // the left button's
    QCOMPARE(menu.count(), 0);
}

void FrmPartidasTest::runButtonByMouseButton_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("runs");
    QTest::addRow("left_runs") << Qt::LeftButton << true;
    QTest::addRow("right_steps") << Qt::RightButton << false;
    QTest::addRow("middle_steps") << Qt::MiddleButton << false;
}

// While idle the left button runs and the others play one generation; during a run any button
// pauses. The run's timer plays one generation per tick and each is announced and shown.
void FrmPartidasTest::runButtonByMouseButton() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, runs);
    QSignalSpy done(&Session::instance(), &Session::generationDone);
    QTest::mousePress(win->cmdEmpezarJuego, button);
    // The press alone decides: a step is over before the button comes back up.
    QCOMPARE(win->running(), runs);
    QCOMPARE(theWorld().Generacion, runs ? 0 : 1);
    QTest::mouseRelease(win->cmdEmpezarJuego, button);
    if (!runs) {
        QCOMPARE(win->lblGeneracion->text(), QStringLiteral("1"));
        QCOMPARE(theWorld().Generacion, 1);
        press(win->cmdEmpezarJuego, Qt::LeftButton);
    }
    QVERIFY(win->running());
    QTRY_VERIFY(theWorld().Generacion >= 3);
    QTest::mousePress(win->cmdEmpezarJuego, button);
    QVERIFY(!win->running());
    const int stopped = theWorld().Generacion;
    QTest::mouseRelease(win->cmdEmpezarJuego, button);
    QTest::qWait(30);
    QCOMPARE(theWorld().Generacion, stopped);  // a pause plays nothing more
    QCOMPARE(done.count(), stopped);
    QCOMPARE(win->lblGeneracion->text(), QString::number(stopped));
    bool ok = false;
    const double seconds = win->lblTimer->text().toDouble(&ok);
    QVERIFY(ok && seconds >= 0 && seconds < 5);
}

void FrmPartidasTest::focusLeavingTheRunButtonPausesUnlessForAMenuOrWindow() {
    press(win->cmdEmpezarJuego, Qt::LeftButton);
    QVERIFY(win->cmdEmpezarJuego->hasFocus());

    // A menu opened while running keeps the run going.
    win->mnuOpciones->popup(win->mapToGlobal(QPoint(20, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(win->mnuOpciones));
    QTest::qWait(20);
    QVERIFY(win->running());
    win->mnuOpciones->hide();
    QTRY_VERIFY(win->cmdEmpezarJuego->hasFocus());
    QVERIFY(win->running());

    // So does another window coming to the front.
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(win->running());
    win->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(win.get()));
    QVERIFY(win->running());

    // The "Pay offs" button opens its window without taking the focus.
    QTest::mouseClick(win->cmdPagos, Qt::LeftButton);
    QWidget* payoffsWindow = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == QStringLiteral("Pay offs")) payoffsWindow = w;
    QVERIFY(payoffsWindow != nullptr);
    QVERIFY(QTest::qWaitForWindowActive(payoffsWindow));
    QVERIFY(win->running());
    payoffsWindow->close();
    win->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(win.get()));
    QVERIFY(win->running());

    // A click on another control of the window takes the focus and pauses.
    QTest::mouseClick(win->txtIter, Qt::LeftButton);
    QVERIFY(win->txtIter->hasFocus());
    QVERIFY(!win->running());

    // So does a modal box.
    press(win->cmdEmpezarJuego, Qt::LeftButton);
    QVERIFY(win->running());
    Session::instance().info(nullptr, QStringLiteral("hello"));
    QVERIFY(!win->running());
    QCOMPARE(dialogs->infos, QStringList{QStringLiteral("hello")});
}

void FrmPartidasTest::newFillsByMouseButton_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("refills");
    QTest::addRow("left_at_random") << Qt::LeftButton << true;
    QTest::addRow("right_by_distribution") << Qt::RightButton << true;
    QTest::addRow("middle_fills_nothing") << Qt::MiddleButton << false;
}

void FrmPartidasTest::newFillsByMouseButton() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, refills);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    QCOMPARE(theWorld().Generacion, 2);
    const auto before = theWorld().genomes[kActual];

    press(win->cmdNuevo, button);
    QCOMPARE(theWorld().Generacion, 0);
    QVERIFY(win->lblGeneracion->text().isEmpty());
    QCOMPARE(theWorld().genomes[kActual] != before, refills);
    QCOMPARE(Session::instance().report().jugadas(theWorld().CasillaSel, 0),
             0);  // records re-created
    press(win->cmdEmpezarJuego, Qt::RightButton);
    QCOMPARE(theWorld().Generacion, 1);  // after "New" the next generation is number 1
}

void FrmPartidasTest::menuItemsTickTheWorld_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("regla");
    QTest::addColumn<int>("modoSuma");
    QTest::addRow("option_8_with_0") << "opcion" << QList<int>{8} << 257 << 2 << 2;
    QTest::addRow("option_0_off_again") << "opcion" << QList<int>{0} << 0 << 2 << 2;
    QTest::addRow("option_3_and_9") << "opcion" << QList<int>{3, 9} << 1 + 8 + 512 << 2 << 2;
    QTest::addRow("rule_maxi_min") << "regla" << QList<int>{3} << 1 << 4 << 2;
    QTest::addRow("ticked_rule_stays") << "regla" << QList<int>{1} << 1 << 2 << 2;
    QTest::addRow("sum_total") << "suma" << QList<int>{0} << 1 << 2 << 1;
}

void FrmPartidasTest::menuItemsTickTheWorld() {
    QFETCH(QString, menu);
    QFETCH(QList<int>, clicks);
    QFETCH(int, options);
    QFETCH(int, regla);
    QFETCH(int, modoSuma);
    for (int k : clicks) {
        if (menu == "opcion") clickMenuItem(win->mnuOpciones, win->mnuOpcion[k]);
        if (menu == "regla") clickMenuItem(win->mnuReglas, win->mnuRegla[k]);
        if (menu == "suma") clickMenuItem(win->mnuSumaPagos, win->mnuSuma[k]);
    }
    const World& w = theWorld();
    QCOMPARE(int(w.options.Opciones[kActual]), options);
    QCOMPARE(int(w.options.Regla), regla);
    QCOMPARE(int(w.options.ModoSuma), modoSuma);
    // The ticks shown are the world's.
    for (int k = 0; k < 10; ++k) QCOMPARE(win->mnuOpcion[k]->isChecked(), w.options.mnuOpcion[k]);
    for (int k = 0; k < 4; ++k) QCOMPARE(win->mnuRegla[k]->isChecked(), k == regla - 1);
    for (int k = 0; k < 3; ++k) QCOMPARE(win->mnuSuma[k]->isChecked(), k == modoSuma - 1);
}

void FrmPartidasTest::dragPaintsTheRectangleAndFillTheBoardButBlankSquares() {
    World& w = theWorld();
    BoardWidget* board = win->fxgTablero;
    w.genoma(kActual, 0) = genomeOf(w, "UC");
    // Bottom-right to top-left of the 3 x 3 block of rows 1..3, columns 2..4.
    QTest::mousePress(board, Qt::LeftButton, {}, cellCentre(*board, 3, 4));
    QTest::mouseMove(board, cellCentre(*board, 2, 3));
    QTest::mouseMove(board, cellCentre(*board, 1, 2));
    QTest::mouseRelease(board, Qt::LeftButton, {}, cellCentre(*board, 1, 2));
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 6; ++c) {
            const bool inside = r >= 1 && r <= 3 && c >= 2 && c <= 4;
            QCOMPARE(sameStrategy(w.genoma(kActual, w.cellAt(r, c)), genomeOf(w, "UC")), inside);
        }
    }
    // A drag past the edge stops at the world's last row and column.
    QTest::mousePress(board, Qt::LeftButton, {}, cellCentre(*board, 3, 4));
    QTest::mouseMove(board, QPoint(board->width() - 1, board->height() - 1));
    QCOMPARE(board->selectionEnd(), QPoint(5 + 2, 4 + 2));  // grid column, row
    QTest::mouseRelease(board, Qt::LeftButton, {}, QPoint(board->width() - 1, board->height() - 1));
    QVERIFY(sameStrategy(w.genoma(kActual, w.NumJugadores), genomeOf(w, "UC")));

    // "Fill" paints the whole board but its blank squares.
    const Genoma blank = genomeOf(w, "Cuadro en blanco");
    for (int cell : {3, 11}) w.genoma(kActual, cell) = blank;
    w.genoma(kActual, 0) = genomeOf(w, "UD");
    press(win->cmdSelTodo, Qt::LeftButton);
    for (int cell = 1; cell <= w.NumJugadores; ++cell) {
        const bool isBlank = cell == 3 || cell == 11;
        QCOMPARE(w.genoma(kActual, cell) == blank, isBlank);
        QCOMPARE(sameStrategy(w.genoma(kActual, cell), genomeOf(w, "UD")), !isBlank);
    }
}

void FrmPartidasTest::buttonsAndKeysPickUpAndPutDown() {
    World& w = theWorld();
    BoardWidget* board = win->fxgTablero;
    w.genoma(kActual, 9) = genomeOf(w, "Tit For Tat");
    QTest::mousePress(board, Qt::LeftButton, {}, cellCentre(*board, 0, 0));
    QTest::mouseMove(board, cellCentre(*board, 2, 2));
    // The right button picks up from the cell under it and collapses the selection there.
    QTest::mousePress(board, Qt::RightButton, {}, cellCentre(*board, 1, 2));  // cell 9
    QTest::mouseRelease(board, Qt::RightButton, {}, cellCentre(*board, 1, 2));
    QCOMPARE(w.genoma(kActual, 0), w.genoma(kActual, 9));
    QCOMPARE(board->selectionEnd(), board->currentCell());
    QCOMPARE(win->fraVecindario->txtSeleccionada->text(), QStringLiteral("   1   0   0"));
    QCOMPARE(sameStrategy(w.genoma(kActual, 1), w.genoma(kActual, 9)), false);

    // A double click puts the strategy down on that one cell, blank square or not.
    w.genoma(kActual, 30) = genomeOf(w, "Cuadro en blanco");
    QTest::mouseDClick(board, Qt::LeftButton, {}, cellCentre(*board, 4, 5));  // cell 30
    QVERIFY(sameStrategy(w.genoma(kActual, 30), w.genoma(kActual, 9)));
    int painted = 0;
    for (int cell = 1; cell <= w.NumJugadores; ++cell)
        painted += sameStrategy(w.genoma(kActual, cell), w.genoma(kActual, 9));
    QCOMPARE(painted, 2);

    // The keys move, select, pick up, put down and fill.
    QTest::mouseClick(board, Qt::LeftButton, {}, cellCentre(*board, 1, 1));  // cell 8
    QVERIFY(board->hasFocus());
    QTest::keyClick(board, Qt::Key_Right);
    QCOMPARE(int(w.CasillaSel), 9);
    QTest::keyClick(board, Qt::Key_Up);
    QTest::keyClick(board, Qt::Key_Up);  // stops at the top row
    QCOMPARE(int(w.CasillaSel), 3);
    w.genoma(kActual, 3) = genomeOf(w, "UD");
    QTest::keyClick(board, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.genoma(kActual, 0), w.genoma(kActual, 3));

    QTest::keyClick(board, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(board, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(board->selectionCells(), (QList<int>{3, 4, 9, 10}));
    QTest::keyClick(board, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    for (int cell : {3, 4, 9, 10}) QCOMPARE(w.genoma(kActual, cell), w.genoma(kActual, 3));
    QVERIFY(!sameStrategy(w.genoma(kActual, 2), genomeOf(w, "UD")));

    QTest::keyClick(board, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    for (int cell = 1; cell <= w.NumJugadores; ++cell)
        QVERIFY(sameStrategy(w.genoma(kActual, cell), genomeOf(w, "UD")));
}

void FrmPartidasTest::leftPressInspectsUnlessTheNeighbourhoodChanged() {
    World& w = theWorld();
    BoardWidget* board = win->fxgTablero;
    QCOMPARE(w.CasillaSel, 5);
    QCOMPARE(win->fraVecindario->lblJugador[24]->text(), QStringLiteral("5"));

    QTest::mouseClick(board, Qt::LeftButton, {}, cellCentre(*board, 2, 3));  // cell 16
    QCOMPARE(w.CasillaSel, 16);
    QCOMPARE(win->fraVecindario->lblJugador[24]->text(), QStringLiteral("16"));
    QCOMPARE(win->fraVecindario->lblJugador[0]->text(), QString::number(w.vecino(16, 0)));
    QVERIFY(dialogs->infos.isEmpty());

    ChooseNeighbourhood(w, 0);  // a new type, not yet in force
    QTest::mouseClick(board, Qt::LeftButton, {}, cellCentre(*board, 0, 0));
    QCOMPARE(w.CasillaSel, 16);
    QCOMPARE(dialogs->infos,
             QStringList{QStringLiteral("Neighbourhoods can't be shown after changing options.")});
    QTest::mouseClick(win->fraVecindario->lblJugador[2], Qt::LeftButton);
    QCOMPARE(w.CasillaSel, 16);
    QCOMPARE(dialogs->infos.size(), 2);

    press(win->cmdEmpezarJuego, Qt::RightButton);  // the step puts the type in force
    const int east = w.vecino(16, 2);
    QTest::mouseClick(win->fraVecindario->lblJugador[2], Qt::LeftButton);
    QCOMPARE(int(w.CasillaSel), east);
}

void FrmPartidasTest::keysRunPauseStepAndRefill() {
    win->txtIter->setFocus();
    QTest::keyClick(win.get(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(theWorld().Generacion, 1);
    QVERIFY(!win->running());

    QTest::keyClick(win.get(), Qt::Key_Return);
    QVERIFY(win->running());
    QVERIFY(win->cmdEmpezarJuego->hasFocus());
    QTRY_VERIFY(theWorld().Generacion >= 3);
    QTest::keyClick(win.get(), Qt::Key_Return);
    QVERIFY(!win->running());

    QTest::keyClick(win.get(), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(theWorld().Generacion, 0);
    const auto before = theWorld().genomes[kActual];
    QTest::keyClick(win.get(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(theWorld().genomes[kActual] != before);
    // Every key is named in its entry's tooltip.
    for (QAction* a : win->runMenu->actions())
        if (!a->isSeparator())
            QVERIFY2(a->toolTip().contains(a->shortcut().toString(QKeySequence::NativeText)),
                     qPrintable(a->toolTip()));
}

void FrmPartidasTest::iterationsBoxTakesOnlyOneToTen() {
    QCOMPARE(win->hsbIter->value(), 4);  // decoded from the start-up view word
    // What is typed is taken when the box is left; a value outside 1..10 stays in the box, framed
    // in red and refused, and the world keeps its value. An empty box shows the value again.
    struct Row {
        const char* typed;
        int iterations;
        const char* shown;
    };
    for (const Row& row : {Row{"7", 7, "7"}, Row{"0", 7, "0"}, Row{"99", 7, "99"}, Row{"x", 7, "x"},
                           Row{"10", 10, "10"}, Row{"", 10, "10"}}) {
        testing_ui::typeInto(win->txtIter, QString::fromLatin1(row.typed));
        QVERIFY(win->txtIter->hasFocus());
        QTest::keyClick(win->txtIter, Qt::Key_Tab);
        QCOMPARE(int(theWorld().Iteraciones), row.iterations);
        QCOMPARE(win->hsbIter->value(), row.iterations);
        QCOMPARE(win->txtIter->text(), QString::fromLatin1(row.shown));
        const bool refused = QString::fromLatin1(row.shown) != QString::number(row.iterations);
        QCOMPARE(isRefused(win->txtIter), refused);
        QCOMPARE(win->txtIter->toolTip().contains(QStringLiteral("1..10")), refused);
    }
}

void FrmPartidasTest::captionsAndMenusShowTheWorldsSettings() {
    QCOMPARE(win->lblVida->text(), QStringLiteral("survive: 0"));
    World& w = theWorld();
    w.UmbralSupervivencia = 1.5f;
    w.UmbralReproduccion = 2.25f;
    w.UmbralHoy = 0.1f;
    emit Session::instance().thresholdsChanged();
    QCOMPARE(win->lblVida->text(), QStringLiteral("survive: 1.5"));
    QCOMPARE(win->lblReproduccion->text(), QStringLiteral("reproduce: 2.25"));
    QCOMPARE(win->lblVivirHoy->text(), QStringLiteral("surv. today: 0.1"));

    // A window opened on a saved view word shows what it decodes to (the decoding is the view
    // word tests').
    win.reset();
    theWorld().Vista = 449.0f;  // every rule bit and no rounds fraction
    frmPartidas second;
    QCOMPARE(int(theWorld().options.Regla), 3);
    for (int k = 0; k < 4; ++k) QCOMPARE(second.mnuRegla[k]->isChecked(), k < 3);
    QVERIFY(second.mnuVerMutaciones->isChecked());
}

void FrmPartidasTest::resultsTableShowsTheSelectedCellsEncounters() {
    ResultsModel& model = win->fxgResultados->results();
    QAbstractItemModelTester tester(&model);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    const World& w = theWorld();
    const GenerationReport& rep = Session::instance().report();
    const int sel = w.CasillaSel;
    const int played = rep.jugadas(sel, 0);
    QVERIFY(played > 0);
    QCOMPARE(model.rowCount(), w.MovPosibles + 2);
    QCOMPARE(model.text(0, 0), QString::number(sel));
    QCOMPARE(model.text(played + 1, 4),
             QString::number(moveRecord::partner(rep.jugadas(sel, played))));
    QVERIFY(model.text(played + 2, 4).isEmpty());

    const QString f = model.text(2, 3);
    testing_ui::clickItem(win->fxgResultados, 1, 3);
    QCOMPARE(model.text(1, 3), QStringLiteral("Mov"));
    QCOMPARE(model.text(1, 7), QStringLiteral("Mov"));
    testing_ui::clickItem(win->fxgResultados, 1, 3);
    QCOMPARE(model.text(1, 3), QStringLiteral("Disp"));
    QCOMPARE(model.text(2, 3), f);

    testing_ui::clickItem(win->fxgResultados, 1, 1);
    QCOMPARE(model.text(1, 1), QStringLiteral("Sc R"));
    QVERIFY(model.data(model.index(1, 1), Qt::FontRole).value<QFont>().italic());
    press(win->cmdEmpezarJuego, Qt::RightButton);
    QVERIFY(!model.data(model.index(1, 1), Qt::FontRole).value<QFont>().italic());
    QCOMPARE(model.data(model.index(5, 0), Qt::ToolTipRole).toString(),
             QStringLiteral("Saludos de parte de..."));
    QVERIFY(model.data(model.index(2, 3), Qt::ToolTipRole).toString().startsWith("Function "));
}

void FrmPartidasTest::selectionOnlyHoldsTheRestOfTheBoardStill() {
    open(4, 4);
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

// The word's decoding is the view word tests'; the window opened on it shows what it decodes to.
void FrmPartidasTest::inspectorTooltipsAreWorkedOutWhenAsked() {
    open(6, 6);
    QVERIFY(QTest::qWaitForWindowActive(win.get()));
    World& w = theWorld();
    clickOpcion(w, 0);  // no mutation: every cell keeps the one strategy
    w.genoma(kActual, 0) = genomeOf(w, "UC");
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

// The inspector's texts: a strategy's average counts each shown cell once.
void FrmPartidasTest::inspectorTextsOfAveragesAndGenomeBoxes() {
    open(4, 1);
    World& w = theWorld();
    const Genoma uc = genomeOf(w, "UC"), ud = genomeOf(w, "UD");
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

    // The genome boxes follow the sensibility mask.
    Genoma g;
    g.parte[0].SenIC = 50;
    g.parte[0].SenIA = 128 + 25;  // the high bit is not part of the value
    g.parte[0].SenIP = 25;
    g.parte[0].Y3 = 80;
    const std::pair<int, const char*> masks[] = {
        {0, "Cte. = 80"},   {1, "SenIc = 1"},   {2, "SenIa = 1"},    {4, "SenIp = 1"},
        {3, "SenIc = 0.5"}, {5, "SenIc = 0.5"}, {6, "SenIa = 0.25"}, {7, "0.5   0.25   0.25"}};
    for (const auto& [mask, expected] : masks) {
        std::string text;
        QVERIFY(genomeBoxText(g, mask, text));
        QCOMPARE(text, std::string(expected));
    }
    std::string kept = "as it was";
    QVERIFY(!genomeBoxText(g, 8, kept));
    QCOMPARE(kept, std::string("as it was"));
}

void FrmPartidasTest::shiftPressesAndRivalPressesOpenTheirViewsAndChangeNothing() {
    press(win->cmdEmpezarJuego, Qt::RightButton);
    const World before = theWorld();
    const int windows = QApplication::topLevelWidgets().size();
    Inspector* insp = win->fraVecindario;
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        // Shift-presses open the transitions view, rival presses the details; neither changes
        // the world.
        for (QWidget* box : std::initializer_list<QWidget*>{
                 insp->txtJugador[3], insp->txtJugador[24], insp->txtGenoma, insp->txtGenomaPrev,
                 insp->txtSeleccionada})
            QTest::mouseClick(box, b, Qt::ShiftModifier);
        ResultsModel& model = win->fxgResultados->results();
        QVERIFY(!model.text(2, 4).isEmpty());
        testing_ui::clickItem(win->fxgResultados, 2, 4, b);
    }
    QCOMPARE(QApplication::topLevelWidgets().size(), windows + 2);
    QCOMPARE(theWorld().CasillaSel, before.CasillaSel);
    QCOMPARE(theWorld().genomes, before.genomes);
}

// The start-up world after a few generations with a selection on the board, to look at; the
// smallest and the largest world play in the window as any other does.
void FrmPartidasTest::screenshot() {
    for (const QSize size : {QSize(1, 1), QSize(63, 65), QSize(25, 40)}) {
        open(size.width(), size.height());
        QVERIFY(QTest::qWaitForWindowExposed(win.get()));
        for (int g = 0; g < 5; ++g) press(win->cmdEmpezarJuego, Qt::RightButton);
        QCOMPARE(theWorld().Generacion, 5);
    }
    BoardWidget* board = win->fxgTablero;
    QTest::mousePress(board, Qt::LeftButton, {}, cellCentre(*board, 3, 3));
    QTest::mouseMove(board, cellCentre(*board, 5, 6));
    QTest::qWait(50);
    QVERIFY(testing_ui::saveScreenshot(win.get(), QStringLiteral("frmPartidas")));
    QTest::mouseRelease(board, Qt::LeftButton, {}, cellCentre(*board, 3, 3));
}

QTEST_MAIN(FrmPartidasTest)
#include "frm_partidas_test.moc"
