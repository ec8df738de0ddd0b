// The strategy windows. The editor: opened from the inspector's genome boxes, its controls, the
// curve under the mouse, storing the working copy, the list, "Fill", undo and redo, and strategy
// files. The limits: rows and bounds, the scrolls pushing back, and what is refused. The
// distribution: rows at start-up, equal shares, normalising, and "Fill world".

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "base/copies.h"
#include "core/seeding.h"
#include "core/selected_fill.h"
#include "io/strategy_file.h"
#include "strategy/distribution.h"
#include "support/world_window_fixture.h"
#include "ui/frm_distribuir.h"
#include "ui/frm_fun_dibujadas.h"
#include "ui/frm_rangos.h"
#include "ui/function_picture.h"
#include "ui/inspector.h"
#include "ui/mouse_button.h"

using namespace morvane;
using namespace morvane::testing;
using testing_ui::enterInto;
using testing_ui::typeInto;

namespace {

StrategyList& list() {
    return theWorld().ListaEstrategias;
}

Rangos& rangos() {
    return theWorld().Rangos;
}

void activate(frmDistribuir* window, int n) {
    for (int i = 0; i < kDistributionRows; ++i) window->chkActivo[i]->setChecked(i < n);
}

// A mouse event at picture coordinates (x, y): the middle of the unit the point truncates into.
QPoint at(const frmFunDibujadas& e, int x, int y) {
    return e.pcbFuncion->pixelAt(x + (x < 0 ? -0.5 : 0.5), y + (y < 0 ? -0.5 : 0.5));
}

void clickCurve(frmFunDibujadas& e, int x, int y) {
    QTest::mouseClick(e.pcbFuncion, Qt::LeftButton, {}, at(e, x, y));
}

// Chooses combo item `item` with the keyboard, as the user's own choice.
void chooseItem(frmFunDibujadas& e, int item) {
    QTest::keyClick(e.cmbEstrategias, Qt::Key_Home);
    for (int k = 0; k < item; ++k) QTest::keyClick(e.cmbEstrategias, Qt::Key_Down);
    if (item == 0) {  // Home on item 0 chooses nothing new: choose it again explicitly
        QTest::keyClick(e.cmbEstrategias, Qt::Key_Down);
        QTest::keyClick(e.cmbEstrategias, Qt::Key_Up);
    }
}

std::string fileBytes(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Points {
    int Y0, X1, Y1, X2, Y2, Y3;
    bool operator==(const Points&) const = default;
};
Points points(const ListGenomePart& p) {
    return {p.Y0, p.X1, p.Y1, p.X2, p.Y2, p.Y3};
}

}  // namespace

class StrategyWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        win = openWorldWindow(6, 5, &dialogs);
        QVERIFY(QTest::qWaitForWindowExposed(win.get()));
    }
    void cleanup() {
        testing_ui::deleteWindowsOf<frmFunDibujadas, frmRangos, frmDistribuir>();
        win.reset();
    }

    void opensFromEveryGenomeBoxAndShowingWritesNothingBack();
    void clicksAndDragsMoveThePointsOneUndoStepEach();
    void storingChecksBothPartsAndEachFillLeavesBlankSquares();
    void replaceOverwritesAndNamesFillTheList();
    void strategyFilesAndReplacedWorldsRefillTheWindows();
    void limitsShowEachPartAndTheScrollsPushBack();
    void limitsRefuseWhatIsNotALimitAndKeepAFilesAsStored();
    void distributionRowsSharesNormalizingAndFilling();

  private:
    frmFunDibujadas* openOnCentre() {
        QTest::mouseClick(win->fraVecindario->txtGenoma, Qt::LeftButton);
        frmFunDibujadas* e = frmFunDibujadas::current();
        if (e != nullptr && !QTest::qWaitForWindowActive(e)) return nullptr;
        return e;
    }
    frmRangos* openLimits() {
        frmRangos* window = frmRangos::open();
        return testing_ui::showActive(window) ? window : nullptr;
    }
    frmDistribuir* openDistribution() {
        frmDistribuir* window = frmDistribuir::open();
        return QTest::qWaitForWindowExposed(window) ? window : nullptr;
    }

    std::unique_ptr<frmPartidas> win;
    FakeDialogs* dialogs = nullptr;
};

void StrategyWindowsTest::opensFromEveryGenomeBoxAndShowingWritesNothingBack() {
    World& w = theWorld();
    Inspector* insp = win->fraVecindario;
    const int sel = w.CasillaSel;
    const int neighbour = insp->labelCell(3);
    QVERIFY(neighbour >= 1);
    // Give the copies apart genomes, so the test sees which one was taken.
    w.genoma(kPrevio, neighbour) = toCellForm(list()[4].genoma);  // "UD"
    w.genoma(kPrevio, sel) = toCellForm(list()[5].genoma);        // "UC"
    w.genoma(kActual, 0) = toCellForm(list()[7].genoma);          // "Fairman"
    const struct {
        QLineEdit* box;
        int copia, cell;
    } rows[] = {{insp->txtJugador[3], kPrevio, neighbour},
                {insp->txtGenomaPrev, kPrevio, sel},
                {insp->txtGenoma, kActual, sel},
                {insp->txtSeleccionada, kActual, 0}};
    for (const auto& row : rows) {
        QTest::mouseClick(row.box, Qt::LeftButton);
        frmFunDibujadas* e = frmFunDibujadas::current();
        QVERIFY2(e && e->isVisible(), qPrintable(row.box->objectName()));
        QCOMPARE(e->windowTitle(), QStringLiteral("Cooperation and coordination functions"));
        QCOMPARE(list()[1].genoma, toListForm(w.genoma(row.copia, row.cell)));
        QCOMPARE(list()[0].genoma, list()[1].genoma);
        QCOMPARE(e->cmbEstrategias->currentText(), QStringLiteral("Del mapa!"));
        QCOMPARE(e->cmbEstrategias->count(), 7);
        QCOMPARE(e->ParteActual(), 0);
        QVERIFY(e->optCaso[0]->isChecked());
    }

    // Showing a strategy writes nothing back; typed numbers outside the scroll are ignored.
    ListGenoma odd = list()[6].genoma;  // "Tit For Tat" with what only a file gives
    odd.parte[0].Busqueda = packed::withTipo(packed::withProf(odd.parte[0].Busqueda, 0), 40);
    odd.parte[0].SenIC = 33.5f, odd.parte[0].SenIA = 33.5f, odd.parte[0].SenIP = 33;
    list()[8].genoma = odd;
    list()[8].name = "Odd";
    frmFunDibujadas* e = openOnCentre();
    chooseItem(*e, 7);
    QCOMPARE(e->cmbEstrategias->currentText(), QStringLiteral("Odd"));
    QCOMPARE(list()[0].genoma, odd);
    QCOMPARE(e->txtProf->text(), QStringLiteral("0  -> 0  -> 40"));
    QCOMPARE(e->txtCeroCien[1]->text(), QStringLiteral("0.335"));
    QCOMPARE(e->txtTotal->text(), QStringLiteral("1"));
    QTest::mouseClick(e->optCaso[1], Qt::LeftButton);
    QTest::mouseClick(e->optCaso[0], Qt::LeftButton);
    QCOMPARE(list()[0].genoma, odd);  // showing either part wrote nothing back
    // Passing through a box without typing writes nothing either.
    e->txtCeroCien[1]->setFocus();
    QTest::keyClick(e->txtCeroCien[1], Qt::Key_Tab);
    QTest::keyClick(e->txtCeroCien[2], Qt::Key_Return);
    QCOMPARE(list()[0].genoma, odd);

    // 1.5 is beyond the scroll (0..1): ignored, and the box shows the scroll again.
    enterInto(e->txtCeroCien[2], QStringLiteral("1.5"));
    QCOMPARE(e->txtCeroCien[2]->text(), QStringLiteral("0.34"));
    QCOMPARE(list()[0].genoma.parte[0].SenIA, 33.5f);
    enterInto(e->txtCeroCien[2], QStringLiteral("abc"));
    QCOMPARE(e->txtCeroCien[2]->text(), QStringLiteral("0.34"));
    // The scroll already shows 34: the field takes it all the same.
    enterInto(e->txtCeroCien[2], QStringLiteral("0.34"));
    QCOMPARE(list()[0].genoma.parte[0].SenIA, 34.0f);
    enterInto(e->txtCeroCien[7], QStringLiteral("0.25"));  // IncerIC keeps IncerIA and Copia
    QCOMPARE(packed::incerIC(int(list()[0].genoma.parte[0].Incertidumbre)), 25);
    QCOMPARE(packed::incerIA(int(list()[0].genoma.parte[0].Incertidumbre)), 100);
    enterInto(e->txtColor[0], QStringLiteral("300"));
    QCOMPARE(list()[0].genoma.Colores[0], odd.Colores[0]);
    QCOMPARE(list()[0].genoma.parte[0].Busqueda, odd.parte[0].Busqueda);  // never touched
}

// Which point a click moves is the engine's rule; here the picture's transform takes clicks
// inside, left of, above and right of the plot to it.
void StrategyWindowsTest::clicksAndDragsMoveThePointsOneUndoStepEach() {
    frmFunDibujadas* e = openOnCentre();
    chooseItem(*e, 5);  // "Tit For Tat": (0, 0), (25, 25), (75, 75), (100, 100)
    const struct {
        int x, y;
        Points after;
    } clicks[] = {
        {30, 60, {0, 30, 60, 75, 75, 100}},
        {-3, 80, {80, 30, 60, 75, 75, 100}},
        {50, 105, {80, 30, 60, 75, 75, 100}},
        {110, 7, {80, 30, 60, 75, 75, 7}},
    };
    for (const auto& c : clicks) {
        clickCurve(*e, c.x, c.y);
        QVERIFY2(points(list()[0].genoma.parte[0]) == c.after, qPrintable(QString::number(c.x)));
    }
    e->resize(e->sizeHint());
    QVERIFY(testing_ui::saveScreenshot(e, QStringLiteral("frm_fun_dibujadas")));

    // A drag is one undo step.
    chooseItem(*e, 5);
    const ListGenoma before = list()[0].genoma;
    QTest::mousePress(e->pcbFuncion, Qt::LeftButton, {}, at(*e, 30, 60));
    for (int k = 1; k <= 5; ++k) QTest::mouseMove(e->pcbFuncion, at(*e, 30 + k, 60 + k));
    QTest::mouseRelease(e->pcbFuncion, Qt::LeftButton, {}, at(*e, 35, 65));
    const ListGenoma dragged = list()[0].genoma;
    QVERIFY((points(dragged.parte[0]) == Points{0, 35, 65, 75, 75, 100}));
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(list()[0].genoma, before);
    QVERIFY(!e->undoAction->isEnabled());
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(list()[0].genoma, dragged);
    QCOMPARE(e->txtCeroCien[1]->text(), QStringLiteral("1"));
    // The arrow keys nudge the point moved last, one undo step each.
    QTest::keyClick(e->pcbFuncion, Qt::Key_Right);
    QTest::keyClick(e->pcbFuncion, Qt::Key_Up);
    QVERIFY((points(list()[0].genoma.parte[0]) == Points{0, 36, 66, 75, 75, 100}));
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY((points(list()[0].genoma.parte[0]) == Points{0, 36, 65, 75, 75, 100}));

    chooseItem(*e, 5);  // loading an item starts the history afresh
    QVERIFY(!e->undoAction->isEnabled() && !e->redoAction->isEnabled());
    // Under the mouse, the identity's value is its input.
    const QPoint over = e->pcbFuncion->pixelAt(50, 20);
    QMouseEvent move(QEvent::MouseMove, over, e->pcbFuncion->mapToGlobal(over), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(e->pcbFuncion, &move);
    const QStringList lines = e->curveFormula->text().split('\n');
    QCOMPARE(lines.value(0),
             QStringLiteral("f(x) = 0 + 1 x + 0 x (x - 25) + 0 x (x - 25) (x - 75), clipped"));
    const QRegularExpressionMatch value =
        QRegularExpression(QStringLiteral("^f\\(([0-9.]+)\\) = ([0-9.]+)$")).match(lines.value(1));
    QVERIFY2(value.hasMatch(), qPrintable(lines.value(1)));
    QVERIFY(std::abs(value.captured(1).toDouble() - 50) < 1);
    QVERIFY(std::abs(value.captured(1).toDouble() - value.captured(2).toDouble()) < 0.06);
}

void StrategyWindowsTest::storingChecksBothPartsAndEachFillLeavesBlankSquares() {
    frmFunDibujadas* e = openOnCentre();
    const Genoma cellZero = theWorld().genoma(kActual, 0);
    QSignalSpy changed(&Session::instance(), &Session::genomesChanged);
    // Both buttons refuse a working copy a cell cannot hold, 33.5 + 33.5 + 33 being 101 there
    // (which sums a cell holds is the storing check's test), and store nothing.
    ListGenoma g = list()[6].genoma;
    g.parte[0].SenIC = 33.5f, g.parte[0].SenIA = 33.5f, g.parte[0].SenIP = 33;
    g.parte[1].SenIC = 100, g.parte[1].SenIA = 0, g.parte[1].SenIP = 0;
    for (QPushButton* b : {e->cmdSeleccionar, static_cast<QPushButton*>(e->cmdLlenar)}) {
        list()[0].genoma = g;
        dialogs->infos.clear();
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY2(dialogs->infos == QStringList{"SenIC + SenIA + SenIP has to be = 1"},
                 qPrintable(b->text()));
        QCOMPARE(theWorld().genoma(kActual, 0), cellZero);
        QCOMPARE(changed.count(), 0);
    }
    // One that adds up is stored in cell 0 and announced.
    g.parte[0].SenIC = 50, g.parte[0].SenIA = 30, g.parte[0].SenIP = 20;
    list()[0].genoma = g;
    dialogs->infos.clear();
    QTest::mouseClick(e->cmdSeleccionar, Qt::LeftButton);
    QVERIFY(dialogs->infos.isEmpty());
    QCOMPARE(theWorld().genoma(kActual, 0), toCellForm(g));
    QVERIFY(changed.count() >= 1);
    // The world window's "Selected strategy" box shows cell 0 in its own form.
    QCOMPARE(win->fraVecindario->txtSeleccionada->text(), QStringLiteral("   0.5   0.3   0.2"));

    // "Fill" by each button leaves blank squares.
    World& w = theWorld();
    const Genoma blank = toCellForm(list()[3].genoma);
    for (int cell : {1, 7, 30}) w.genoma(kActual, cell) = blank;
    chooseItem(*e, 4);  // "UC"
    QCOMPARE(e->txtCeroCien[0]->text(), QStringLiteral("1"));
    enterInto(e->txtCeroCien[0], QStringLiteral("0.5"));
    QCOMPARE(e->hsbCeroCien[0]->value(), 50);

    // Left button: the same draws as the engine's fill with the same seed.
    World expected = w;
    expected.genoma(kActual, 0) = toCellForm(list()[5].genoma);
    Session::instance().seed(99);
    Rng rng(99);
    const int painted = fillWithSelected(expected, rng, 0.5f);
    QVERIFY(painted > 5 && painted < 25);
    press(e->cmdLlenar, Qt::LeftButton);
    QCOMPARE(w.genomes, expected.genomes);
    for (int cell : {1, 7, 30}) QCOMPARE(w.genoma(kActual, cell), blank);

    // Right button and its keyboard twin: the distribution fill, only at a total of 100.
    Session::instance().seed(5);
    Rng rng2(5);
    expected = w;
    LlenarMundo(expected, rng2, kFillByDistribution);
    press(e->cmdLlenar, Qt::RightButton);
    QCOMPARE(w.genomes[kActual], expected.genomes[kActual]);
    equalDistribution(list());
    list()[2].Reparto = 1024 + 100;  // 10 + 20 * 4 = 90 %
    const World before = w;
    dialogs->infos.clear();
    e->fillByDistributionAction->trigger();
    QCOMPARE(dialogs->infos,
             QStringList{"The active rows of the distribution add up to 90.0 %, not 100: the "
                         "world is not filled. Change the portions or press \"Normalize to "
                         "100\"."});
    QCOMPARE(w.genomes, before.genomes);
}

// "Replace" overwrites the chosen item; "Add" checks the name and fills the list.
void StrategyWindowsTest::replaceOverwritesAndNamesFillTheList() {
    frmFunDibujadas* e = openOnCentre();
    chooseItem(*e, 4);  // "UC", slot 5
    clickCurve(*e, -3, 40);
    QTest::mouseClick(e->replaceButton, Qt::LeftButton);
    QCOMPARE(list()[5].genoma.parte[0].Y0, std::uint8_t(40));
    QCOMPARE(list()[5].name, std::string("UC"));
    // The same item chosen again loads it again, edits and all.
    clickCurve(*e, -3, 90);
    chooseItem(*e, 4);
    QCOMPARE(list()[0].genoma.parte[0].Y0, std::uint8_t(40));
    chooseItem(*e, 0);
    QTest::mouseClick(e->replaceButton, Qt::LeftButton);
    QVERIFY(dialogs->infos.last().startsWith(QStringLiteral("Choose the strategy to replace")));

    chooseItem(*e, 3);  // "UD"
    // A refused name says why in an "Info" box (every reason is the strategy list test's).
    dialogs->infos.clear();
    e->txtNombre->setText(QStringLiteral("UC"));
    QTest::mouseClick(e->cmdAgregar, Qt::LeftButton);
    QCOMPARE(dialogs->infos,
             QStringList{"Slot 5 is already named \"UC\": two strategies of one name could not be "
                         "told apart in the statistics and the chart."});
    QCOMPARE(list()[8].name, std::string());
    dialogs->infos.clear();
    for (int slot = 8; slot <= 20; ++slot) {
        e->txtNombre->setText(QStringLiteral("s%1").arg(slot));
        QTest::mouseClick(e->cmdAgregar, Qt::LeftButton);
        QCOMPARE(list()[slot].name, "s" + std::to_string(slot));
        QCOMPARE(list()[slot].genoma, list()[4].genoma);
    }
    QCOMPARE(e->cmbEstrategias->count(), 20);
    QCOMPARE(dialogs->infos,
             QStringList{"\"s20\" went into slot 20, the last one: the distribution treats that "
                         "row as \"Random\", so a fill seeds random genomes there, not this "
                         "strategy."});
    e->txtNombre->setText(QStringLiteral("one too many"));
    QTest::mouseClick(e->cmdAgregar, Qt::LeftButton);
    QCOMPARE(dialogs->infos.last(),
             QStringLiteral("The strategy list is full: slots 2 to 20 all hold a strategy. "
                            "\"Replace\" overwrites the one chosen."));
}

void StrategyWindowsTest::strategyFilesAndReplacedWorldsRefillTheWindows() {
    QTemporaryDir folder;
    const QString dir = folder.path();
    frmFunDibujadas* e = openOnCentre();
    list()[8].name = "Mine";
    list()[8].genoma = list()[0].genoma;
    theWorld().Rangos.limits[9][0] = {10, 90};

    dialogs->saveAnswers << dir + QStringLiteral("/list");
    e->mnuGuardarComo->trigger();
    QCOMPARE(dialogs->titles.last(), QStringLiteral("Save strategy list and limits"));
    QCOMPARE(dialogs->filters.last(), QStringLiteral("Strategy files (*.est)"));
    QCOMPARE(dialogs->suffixes.last(), QStringLiteral("est"));
    const std::string saved = fileBytes(dir + QStringLiteral("/list.est"));
    QCOMPARE(saved, strategyFileText(theWorld().Rangos, list()));
    QCOMPARE(dialogs->infos.last(), QStringLiteral("list.est holds the strategy list and the "
                                                   "limits. The edited strategy is in it as "
                                                   "\"Mine\"."));

    // A refused file changes nothing and says its line and why (the reader's refusals are the
    // strategy file test's).
    const World before = theWorld();
    const QString refusedFile = dir + QStringLiteral("/other.est");
    std::ofstream(refusedFile.toStdString(), std::ios::binary)
        << std::string(saved).replace(saved.find("[Estrategias]"), 13, "[Otras]");
    dialogs->openAnswers << refusedFile;
    e->mnuAbrir->trigger();
    QCOMPARE(dialogs->infos.last(),
             QStringLiteral("other.est was not read, nothing changed.\nline 36: expected the "
                            "header [Estrategias], found \"[Otras]\""));
    QCOMPARE(theWorld().ListaEstrategias, before.ListaEstrategias);
    QCOMPARE(theWorld().Rangos.limits, before.Rangos.limits);

    // A scenario's sections replace the list, the limits and the shares; slot 0 stays.
    World other = theWorld();
    other.ListaEstrategias[8].name = "From a world";
    other.ListaEstrategias[4].Reparto = 1024 + 400;
    other.Rangos.limits[9][0] = {20, 30};
    const QString dpt = dir + QStringLiteral("/other.dpt");
    QVERIFY(GuardarEscenario(other, dpt.toStdString()).ok);
    list()[0].genoma.parte[0].Y0 = 77;
    frmRangos* limits = frmRangos::open();
    dialogs->openAnswers << dpt;
    e->mnuAbrir->trigger();
    QCOMPARE(dialogs->infos.last(), QStringLiteral("The strategy list, the limits and the "
                                                   "distribution now come from other.dpt."));
    QCOMPARE(list()[4].Reparto, std::int16_t(1024 + 400));
    QCOMPARE(theWorld().Rangos.limits[9][0], (std::array<std::int32_t, 2>{20, 30}));
    QCOMPARE(list()[0].genoma.parte[0].Y0, std::uint8_t(77));
    QCOMPARE(e->cmbEstrategias->itemText(7), QStringLiteral("From a world"));  // the list's name
    QCOMPARE(limits->txtMin[9]->text(), QStringLiteral("20"));  // an open window refills

    // The file holds slots 2..20: it is written even when the working copy's sums fail.
    list()[0].genoma.parte[1].SenIC = 70;
    const Genoma selected = theWorld().genoma(kActual, 0);
    dialogs->saveAnswers << dir + QStringLiteral("/unsummed.EST");
    e->mnuGuardarComo->trigger();
    QCOMPARE(fileBytes(dir + QStringLiteral("/unsummed.EST")),
             strategyFileText(theWorld().Rangos, list()));
    QCOMPARE(theWorld().genoma(kActual, 0), selected);  // nor was it selected
    QCOMPARE(dialogs->infos.last(),
             QStringLiteral("unsummed.EST holds the strategy list and the limits. The edited "
                            "strategy is not in it: a file holds only the strategies added to the "
                            "list."));

    // A write that fails says which file and why (that it leaves an old file as it was is the
    // strategy file tests').
    dialogs->saveAnswers << dir + QStringLiteral("/none/list.est");
    e->mnuGuardarComo->trigger();
    QVERIFY2(dialogs->infos.last().startsWith(QStringLiteral("list.est\ncannot write")),
             qPrintable(dialogs->infos.last()));

    // "Open" read a world whose list and limits differ: every strategy window refills.
    frmDistribuir* shares = frmDistribuir::open();
    Session& s = Session::instance();
    s.world().ListaEstrategias[8].name = "New world's";
    s.world().ListaEstrategias[8].Reparto = 1024 + 55;
    s.world().Rangos.limits[10][0] = {3, 4};
    emit s.worldReplaced();
    QCOMPARE(e->cmbEstrategias->count(), 8);
    QCOMPARE(e->cmbEstrategias->itemText(7), QStringLiteral("New world's"));
    QCOMPARE(limits->txtMin[10]->text(), QStringLiteral("3"));
    QCOMPARE(shares->txtEstrategia[7]->text(), QStringLiteral("New world's"));
    QCOMPARE(shares->txtPorcion[7]->text(), QStringLiteral("5.5"));
    QVERIFY(shares->chkActivo[7]->isChecked());
}

void StrategyWindowsTest::limitsShowEachPartAndTheScrollsPushBack() {
    frmRangos* window = openLimits();
    QVERIFY(window != nullptr);
    QCOMPARE(window->txtMin[7]->text(), QStringLiteral("1"));
    QCOMPARE(window->txtMax[7]->text(), QStringLiteral("15"));
    QCOMPARE(window->txtMin[18]->text(), QStringLiteral("100"));
    for (int k : {0, 5, 25}) QVERIFY(window->lblParametro[k]->toolTip().startsWith("No draw"));
    QVERIFY(window->lblParametro[6]->toolTip().isEmpty());
    rangos().limits[9][1] = {5, 6};
    QTest::mouseClick(window->optFuncion[1], Qt::LeftButton);
    QCOMPARE(window->shownPart(), 1);
    QCOMPARE(window->txtMin[9]->text(), QStringLiteral("5"));
    // A part change stores the boxes of the part left.
    typeInto(window->txtMax[9], QStringLiteral("60"));
    QTest::mouseClick(window->optFuncion[0], Qt::LeftButton);
    QCOMPARE(rangos().limits[9][1], (std::array<std::int32_t, 2>{5, 60}));
    QCOMPARE(rangos().limits[9][0], (std::array<std::int32_t, 2>{0, 100}));

    // The scrolls take the rows' bounds and push back.
    typeInto(window->txtMin[9], QStringLiteral("40"));
    typeInto(window->txtMax[9], QStringLiteral("60"));
    QTest::mouseClick(window->txtMin[9], Qt::LeftButton);
    QCOMPARE(window->hsbMinMax[0]->maximum(), 100);
    QCOMPARE(window->hsbMinMax[0]->value(), 40);
    QCOMPARE(window->hsbMinMax[1]->value(), 60);
    // The Max scroll dragged below Min stops at Min; Min pushed above Max stops at Max.
    window->hsbMinMax[1]->setSliderPosition(10);
    QCOMPARE(window->hsbMinMax[1]->value(), 40);
    QCOMPARE(window->txtMax[9]->text(), QStringLiteral("40"));
    window->hsbMinMax[0]->setSliderPosition(90);
    QCOMPARE(window->hsbMinMax[0]->value(), 40);
    QTest::mouseClick(window->txtMax[30], Qt::LeftButton);
    QCOMPARE(window->hsbMinMax[1]->maximum(), 2);
    QTest::keyClick(window->hsbMinMax[0], Qt::Key_End);
    QCOMPARE(window->txtMin[30]->text(), QStringLiteral("2"));
    QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
    QCOMPARE(rangos().limits[9][0], (std::array<std::int32_t, 2>{40, 40}));
    QCOMPARE(rangos().limits[30][0], (std::array<std::int32_t, 2>{2, 2}));
    QVERIFY(!window->isVisible());  // "OK" closed it
}

void StrategyWindowsTest::limitsRefuseWhatIsNotALimitAndKeepAFilesAsStored() {
    QPointer<frmRangos> window = openLimits();
    QVERIFY(window != nullptr);
    const struct {
        int row;
        bool max;
        QString typed, info;
    } rows[] = {
        {7, false, "0",
         "\"Search Depth (x 64)\": Min must be a whole number within 1..15, not \"0\"."},
        {7, true, "1.5",
         "\"Search Depth (x 64)\": Max must be a whole number within 1..15, not "
         "\"1.5\"."},
        {9, false, "abc", "\"y0\": Min must be a whole number within 0..100, not \"abc\"."},
    };
    const Rangos before = rangos();
    for (const auto& r : rows) {
        QLineEdit* box = r.max ? window->txtMax[r.row] : window->txtMin[r.row];
        const QString old = box->text();
        typeInto(box, r.typed);
        QVERIFY(box->styleSheet().contains(QStringLiteral("#d00000")));  // refused as typed
        dialogs->infos.clear();
        QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
        QCOMPARE(dialogs->infos, QStringList{r.info});
        QVERIFY(window && window->isVisible());
        QCOMPARE(QApplication::focusWidget(), box);
        QTest::mouseClick(window->optFuncion[1], Qt::LeftButton);
        QCOMPARE(window->shownPart(), 0);  // the part stays
        QCOMPARE(rangos().limits, before.limits);
        typeInto(box, old);
    }
    typeInto(window->txtMin[12], QStringLiteral("70"));
    typeInto(window->txtMax[12], QStringLiteral("30"));
    dialogs->infos.clear();
    QTest::mouseClick(window->optFuncion[1], Qt::LeftButton);
    QCOMPARE(dialogs->infos, QStringList{"\"x2\": Min 70 is above Max 30."});
    QCOMPARE(rangos().limits, before.limits);

    // A file's limit outside its bounds is shown and kept.
    rangos().limits[7][0] = {0, 20};  // as a file may hold it
    rangos().limits[12][0] = {60, 40};
    window->fill();
    QVERIFY(window->txtMin[7]->styleSheet().contains(QStringLiteral("background")));
    QCOMPARE(window->txtMin[7]->toolTip(),
             QStringLiteral("0 lies outside 1..15, as the file stored it; it is kept until you "
                            "type another limit."));
    typeInto(window->txtMin[9], QStringLiteral("10"));
    window->resize(window->sizeHint());
    QVERIFY(testing_ui::saveScreenshot(window, QStringLiteral("frm_rangos")));
    QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
    QCOMPARE(rangos().limits[7][0], (std::array<std::int32_t, 2>{0, 20}));
    QCOMPARE(rangos().limits[12][0], (std::array<std::int32_t, 2>{60, 40}));
    QCOMPARE(rangos().limits[9][0], (std::array<std::int32_t, 2>{10, 100}));
}

void StrategyWindowsTest::distributionRowsSharesNormalizingAndFilling() {
    frmDistribuir* window = openDistribution();
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QStringLiteral("Distribute strategies"));
    QCOMPARE(window->chkActivo[0]->text(), QStringLiteral("  1   ( 1 )"));
    QCOMPARE(window->chkActivo[19]->text(), QStringLiteral("20   ( 524288 )"));
    const char* names[] = {"",   "Cuadro muerto", "Cuadro en blanco", "UD",
                           "UC", "Tit For Tat",   "Fairman"};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(window->txtEstrategia[i]->text(), QString::fromLatin1(names[i]));
        const bool active = i >= 1 && i != 5 && i <= 6;
        QCOMPARE(window->chkActivo[i]->isChecked(), active);
        QCOMPARE(window->txtPorcion[i]->text(),
                 active ? QStringLiteral("20") : QStringLiteral("0"));
    }
    theWorld().ListaEstrategias[20].name = "Last";
    window->fill();
    QCOMPARE(window->txtEstrategia[19]->text(), QStringLiteral("Random"));
    QCOMPARE(window->txtTotal->text(), QStringLiteral("100"));
    QVERIFY(window->cmdRepartir->isEnabled());
    window->resize(window->sizeHint());
    QVERIFY(testing_ui::saveScreenshot(window, QStringLiteral("frm_distribuir")));

    // "Equal distribution" shares among the active rows (the shares are the distribution tests');
    // "Fill world" waits for a total of 100 and says why.
    activate(window, 3);
    QTest::mouseClick(window->cmdIgualar, Qt::LeftButton);
    QCOMPARE(window->txtPorcion[0]->text(), QStringLiteral("33.3"));
    QCOMPARE(window->txtTotal->text(), QStringLiteral("99.9"));
    QVERIFY(!window->cmdRepartir->isEnabled());
    QCOMPARE(window->cmdRepartir->toolTip(),
             QStringLiteral("The active rows of the distribution add up to 99.9 %, not 100: the "
                            "world is not filled. Change the portions or press \"Normalize to "
                            "100\"."));
    activate(window, 0);
    QTest::mouseClick(window->cmdIgualar, Qt::LeftButton);
    QCOMPARE(window->txtPorcion[0]->text(), QStringLiteral("33.3"));
    QCOMPARE(window->txtTotal->text(), QStringLiteral("0"));
    QVERIFY(!window->cmdRepartir->isEnabled());
    // No active row: the portions stay, nothing to normalise, and "Fill world" says why.
    QVERIFY(!window->normalizeButton->isEnabled());
    QCOMPARE(window->cmdRepartir->toolTip(),
             QStringLiteral("No active row has a portion: tick a strategy in \"Distribute %\" and "
                            "give it a portion before filling the world."));

    // "Normalize to 100", typed portions, and "Fill world".
    activate(window, 3);
    QTest::mouseClick(window->cmdIgualar, Qt::LeftButton);
    QTest::mouseClick(window->normalizeButton, Qt::LeftButton);
    QCOMPARE(window->txtPorcion[0]->text(), QStringLiteral("33.4"));
    QCOMPARE(window->txtTotal->text(), QStringLiteral("100"));
    QCOMPARE(theWorld().ListaEstrategias[1].Reparto, std::int16_t(1024 + 334));
    QVERIFY(window->cmdRepartir->isEnabled());
    // A typed percentage outside 0..100 is ignored.
    testing_ui::enterInto(window->txtPorcion[2], QStringLiteral("150"));
    QCOMPARE(window->txtPorcion[2]->text(), QStringLiteral("33.3"));
    testing_ui::enterInto(window->txtPorcion[2], QStringLiteral("33.35"));
    QCOMPARE(window->hsbPorcion[2]->value(), 334);  // 333.5 to the even 334
    QCOMPARE(window->txtPorcion[2]->text(), QStringLiteral("33.4"));
    window->hsbPorcion[2]->setValue(333);

    // Rows 1 and 2 ("Cuadro muerto", "Cuadro en blanco") and slot 1: every cell but blank
    // squares gets one of them.
    World& w = theWorld();
    const Genoma blank = toCellForm(w.ListaEstrategias[3].genoma);
    w.genoma(kActual, 4) = blank;
    QTest::mouseClick(window->cmdRepartir, Qt::LeftButton);
    QCOMPARE(w.genoma(kActual, 4), blank);
    QCOMPARE(w.Generacion, 0);
}

QTEST_MAIN(StrategyWindowsTest)
#include "strategy_windows_test.moc"
