// The world window's menus: the option, rule and sum-mode ticks mirror World::options and are
// changed only through the engine's handlers; the Run menu gives every mouse-only action a key.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "ui/board_widget.h"
#include "ui/frm_partidas.h"
#include "ui/mouse_button.h"
#include "ui/results_table.h"
#include "ui/session.h"
#include "ui/share_chart_window.h"

namespace morvane {

namespace {

const char* const kOpciones[10] = {
    "Mutations On [0]",
    "Complete mutation (no gradual) [1]",
    "Mutate FONT color always [2]",
    "Don't divide pay offs [3]",
    "Sucesive moves [4]",
    "DON'T change back color WHEN only the font color mutates [5]",
    "Copy how the bug looks like [6]",
    "Search always same neighbours when copying [7]",
    "Imitation (On) / Crossover (Off) [8]",
    "Equality = 1 (On) / = 0.5 (Off) [9]",
};
const char* const kReglas[4] = {"Maxi Max", "Replicator Dynamics", "Best Strategy", "Maxi Min"};
const char* const kSumas[3] = {"Total", "Total / moves actually played",
                               "Total / all potential moves"};

QAction* checkItem(QMenu* menu, const char* caption) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setCheckable(true);
    return a;
}

// A menu entry with its keys; the first key is named in the entry's tooltip.
QAction* keyed(QMenu* menu, const QString& caption, QList<QKeySequence> keys) {
    QAction* a = menu->addAction(caption);
    a->setShortcuts(keys);
    a->setToolTip(caption + QStringLiteral(" (") + keys.front().toString(QKeySequence::NativeText) +
                  QStringLiteral(")"));
    return a;
}

}  // namespace

void frmPartidas::buildMenus() {
    QMenuBar* bar = menuBar();
    mnuArchivo = bar->addMenu(tr("File"));
    mnuAbrir = mnuArchivo->addAction(tr("Open"));
    mnuAbrir->setEnabled(false);  // scenarios are opened from the start-up window
    mnuGuardar = mnuArchivo->addAction(tr("Save"));
    mnuGuardarComo = mnuArchivo->addAction(tr("Save as"));
    connect(mnuGuardar, &QAction::triggered, this, &frmPartidas::guardar);
    connect(mnuGuardarComo, &QAction::triggered, this, &frmPartidas::guardarComo);

    buildRunMenu();

    mnuOpciones = bar->addMenu(tr("Options"));
    for (int k = 0; k < 10; ++k) {
        mnuOpcion[k] = checkItem(mnuOpciones, kOpciones[k]);
        connect(mnuOpcion[k], &QAction::triggered, this, [this, k] {
            clickOpcion(world(), k);
            syncMenus();
            settingEdited();
        });
    }
    mnuReglas = bar->addMenu(tr("Transition rules"));
    for (int k = 0; k < 4; ++k) {
        mnuRegla[k] = checkItem(mnuReglas, kReglas[k]);
        connect(mnuRegla[k], &QAction::triggered, this, [this, k] {
            clickRegla(world(), k);
            syncMenus();
            settingEdited();
        });
    }
    mnuSumaPagos = bar->addMenu(tr("Total Pay offs"));
    for (int k = 0; k < 3; ++k) {
        mnuSuma[k] = checkItem(mnuSumaPagos, kSumas[k]);
        connect(mnuSuma[k], &QAction::triggered, this, [this, k] {
            clickSuma(world(), k);
            syncMenus();
            settingEdited();
        });
    }

    viewMenu = bar->addMenu(tr("View"));
    mnuVerMutaciones = checkItem(viewMenu, "Mutations");
    connect(mnuVerMutaciones, &QAction::triggered, this,
            [this] { setMutationsTicked(!world().options.mnuVerMutaciones); });
    mnuSoloSelec = checkItem(viewMenu, "Selection only");
    connect(mnuSoloSelec, &QAction::triggered, this, [this] {
        bool& solo = world().options.mnuSoloSelec;
        solo = !solo;
        syncMenus();
        settingEdited();
        fxgTablero->setUpdatesEnabled(false);
        DibujarMapa(solo);
    });
    transitionsAction = keyed(viewMenu, tr("Transitions of the inspected cell"),
                              {QKeySequence(tr("Ctrl+Shift+T"))});
    connect(transitionsAction, &QAction::triggered, this,
            [this] { showTransitions(world().CasillaSel); });
    detailsLeftAction = keyed(viewMenu, tr("Details: how the inspected cell saw the rival"),
                              {QKeySequence(tr("Ctrl+Shift+R"))});
    connect(detailsLeftAction, &QAction::triggered, this,
            [this] { explainRivalRow(fxgResultados->currentIndex().row(), 1); });
    detailsRightAction = keyed(viewMenu, tr("Details: how the rival saw the inspected cell"),
                               {QKeySequence(tr("Ctrl+Alt+R"))});
    connect(detailsRightAction, &QAction::triggered, this,
            [this] { explainRivalRow(fxgResultados->currentIndex().row(), 2); });
    viewMenu->addSeparator();
    indexSwitchAction = keyed(viewMenu, tr("Results: cooperation / success (Ci R / Sc R)"),
                              {QKeySequence(tr("Ctrl+Shift+I"))});
    connect(indexSwitchAction, &QAction::triggered, this, &frmPartidas::cambiarIndice);
    dispositionMoveAction = keyed(viewMenu, tr("Results: output / disposition (Disp / Mov)"),
                                  {QKeySequence(tr("Ctrl+Shift+D"))});
    connect(dispositionMoveAction, &QAction::triggered, this, [this] {
        auto& results = fxgResultados->results();
        results.setShowsMoves(!results.showsMoves());
        mostrarPartidas(world().CasillaSel);
    });
    sharesAction = keyed(viewMenu, tr("Strategy shares"), {QKeySequence(tr("Ctrl+Shift+G"))});
    connect(sharesAction, &QAction::triggered, this, [] { StrategySharesWindow::open(); });
    viewMenu->addSeparator();
    readableTextAction = checkItem(viewMenu, "Readable text");
    readableTextAction->setToolTip(
        tr("Numbers on strategy colours in black or white, whichever stands out"));
    connect(readableTextAction, &QAction::triggered, this,
            [this](bool on) { session_.setReadableText(on); });
    viewMenu->setToolTipsVisible(true);

    mnuPagos = bar->addAction(tr("Pay offs"));
    connect(mnuPagos, &QAction::triggered, this, &frmPartidas::showPagos);
    // Shortcuts of menu entries work wherever the focus is in this window.
    for (QMenu* m : {mnuArchivo, runMenu, viewMenu}) addActions(m->actions());
}

// Return and Ctrl+Return are keys no control of this window uses for itself; the "New" and board
// keys avoid the line edits' own editing keys (Ctrl+A, C, E, K, U, V, X, Z).
void frmPartidas::buildRunMenu() {
    runMenu = menuBar()->addMenu(tr("Run"));
    runMenu->setToolTipsVisible(true);
    runAction =
        keyed(runMenu, tr("Run"), {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    connect(runAction, &QAction::triggered, this, [this] {
        // A run started from the keyboard pauses by the same rule as one started by the mouse:
        // when the run button loses the focus.
        if (!running()) cmdEmpezarJuego->setFocus(Qt::ShortcutFocusReason);
        runButtonPressed(1);
    });
    stepAction =
        keyed(runMenu, tr("One generation"),
              {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    connect(stepAction, &QAction::triggered, this, [this] { runButtonPressed(2); });
    runMenu->addSeparator();
    newRandomAction = keyed(runMenu, tr("New at random"), {QKeySequence(tr("Ctrl+N"))});
    connect(newRandomAction, &QAction::triggered, this, [this] { newWorldPressed(1); });
    newDistributedAction =
        keyed(runMenu, tr("New by distribution"), {QKeySequence(tr("Ctrl+Shift+N"))});
    connect(newDistributedAction, &QAction::triggered, this, [this] { newWorldPressed(2); });
    newEmptyAction = keyed(runMenu, tr("New without filling"), {QKeySequence(tr("Ctrl+Alt+N"))});
    connect(newEmptyAction, &QAction::triggered, this, [this] { newWorldPressed(4); });
    runMenu->addSeparator();
    pickUpAction =
        keyed(runMenu, tr("Pick up the current cell"), {QKeySequence(tr("Ctrl+Shift+C"))});
    connect(pickUpAction, &QAction::triggered, this, [this] {
        const QPoint g = fxgTablero->currentCell();
        pickUp(fxgTablero->cellNumberAt(g.y(), g.x()));
    });
    putDownAction =
        keyed(runMenu, tr("Put down on the selection"), {QKeySequence(tr("Ctrl+Shift+V"))});
    connect(putDownAction, &QAction::triggered, this, [this] {
        if (fxgTablero->selectionSpansMoreThanOneCell()) {
            putDown(fxgTablero->selectionCells(), true);
        } else {
            const QPoint g = fxgTablero->currentCell();
            putDown({fxgTablero->cellNumberAt(g.y(), g.x())}, false);
        }
    });
    fillAction = keyed(runMenu, tr("Fill"), {QKeySequence(tr("Ctrl+Shift+F"))});
    connect(fillAction, &QAction::triggered, this,
            [this] { putDown(fxgTablero->worldCells(), true); });
}

void frmPartidas::syncMenus() {
    const RunOptions& o = world().options;
    for (int k = 0; k < 10; ++k) mnuOpcion[k]->setChecked(o.mnuOpcion[k]);
    for (int k = 0; k < 4; ++k) mnuRegla[k]->setChecked(o.mnuRegla[k]);
    for (int k = 0; k < 3; ++k) mnuSuma[k]->setChecked(o.mnuSuma[k]);
    mnuVerMutaciones->setChecked(o.mnuVerMutaciones);
    mnuSoloSelec->setChecked(o.mnuSoloSelec);
}

// "Save" writes to the file the world came from or was last saved to, and asks only for a world
// that has none; "Save as" always asks.
void frmPartidas::guardar() {
    session_.saveWorld(this, false);
}

void frmPartidas::guardarComo() {
    session_.saveWorld(this, true);
}

}  // namespace morvane
