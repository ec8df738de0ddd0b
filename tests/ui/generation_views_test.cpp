// The views of the last generation, fed by the world window: the interaction details a rival's
// press in the results table lays out, the transitions view the inspector's Shift-press opens,
// and the mutations view with every mutation in its own column. Each explains the generation as
// it was played, and says so when the world changed since.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>

#include "core/transition_view.h"
#include "games/payoff.h"
#include "support/world_window_fixture.h"
#include "ui/frm_detalles.h"
#include "ui/frm_fun_dibujadas.h"
#include "ui/frm_mutaciones.h"
#include "ui/frm_transiciones.h"
#include "ui/inspector.h"
#include "ui/mouse_button.h"
#include "ui/results_table.h"

using namespace morvane;
using morvane::testing::press;
using morvane::testing::theWorld;
using testing_ui::visibleWindow;

namespace {

const GenerationReport& report() {
    return Session::instance().report();
}

void pressRival(frmPartidas& win, int row, Qt::MouseButton b) {
    testing_ui::clickItem(win.fxgResultados, row, 4, b);
}

QStringList gridTexts(const DetailsModel& m) {
    QStringList t;
    for (int row = 0; row < m.rowCount(); ++row)
        for (int c = 0; c < m.columnCount(); ++c) t << m.text(row, c);
    return t;
}

// A seeded `columns` x `rows` world `generations` steps on; with `mutating`, every bug mutates each
// generation and the mutations view is ticked from the menu.
std::unique_ptr<frmPartidas> playedWorld(int columns, int rows, int generations,
                                         bool mutating = false) {
    auto win = testing::openWorldWindow(columns, rows, nullptr);
    if (!QTest::qWaitForWindowActive(win.get())) qWarning("the world window is not active");
    if (mutating) {
        theWorld().FrecMutacion = 1;
        theWorld().options.Opciones[kActual] |= 1;
        win->mnuVerMutaciones->trigger();
    }
    for (int g = 0; g < generations; ++g) press(win->cmdEmpezarJuego, Qt::RightButton);
    return win;
}

QStringList columnTexts(const MutationsModel& m, int column) {
    QStringList t;
    for (int row = 0; row < m.rowCount(); ++row) t << m.text(row, column);
    return t;
}

}  // namespace

class GenerationViewsTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        testing_ui::deleteWindowsOf<frmDetalles, frmTransiciones, frmMutaciones, frmFunDibujadas>();
    }

    void aRivalRowShowsTheSearchAsTheGenerationPlayedIt();
    void transitionsShowTheEnginesExplanation();
    void aFillOrNewLeavesNothingStaleExplained();
    void showsEveryMutationWithItsMarksAndColours();
    void theMutationsViewKeepsARunGoingEmptiesAndUnticks();
};

void GenerationViewsTest::aRivalRowShowsTheSearchAsTheGenerationPlayedIt() {
    auto win = playedWorld(8, 6, 3);
    const int cell = theWorld().CasillaSel;
    const QString rival = win->fxgResultados->results().text(2, 4);
    QVERIFY(!rival.isEmpty());
    pressRival(*win, 2, Qt::LeftButton);
    frmDetalles* d = visibleWindow<frmDetalles>();
    QVERIFY(d != nullptr);
    QVERIFY(testing_ui::saveScreenshot(d, QStringLiteral("frm_detalles")));
    QCOMPARE(d->windowTitle(), QStringLiteral("Interactions details - generation 3"));
    QCOMPARE(d->lblNumRival->text(), rival);
    QCOMPARE(d->lblNumSubRival->text(), QString::number(cell));
    QCOMPARE(d->lblMediaIc->text(), QStringLiteral("Average Coop R"));
    QCOMPARE(d->rows().headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Coop R"));
    QVERIFY(d->fxgDetalles->isColumnHidden(8));
    QVERIFY(d->fxgDetalles->columnWidth(0) >= 1150 * d->logicalDpiX() / 1440);

    // One red row, the move under study; the used records bold on yellow (that the averages are
    // theirs is the explanation's tests'), the averages italic only without any.
    const DetailsModel& m = d->rows();
    int red = 0, used = 0;
    for (int row = 0; row < m.rowCount(); ++row) {
        const QModelIndex i6 = m.index(row, 6);
        if (m.data(m.index(row, 5), Qt::BackgroundRole).value<QColor>() ==
            DetailsModel::redColour())
            ++red;
        if (m.data(i6, Qt::BackgroundRole).value<QColor>() == DetailsModel::usedColour()) {
            QVERIFY(m.data(i6, Qt::FontRole).value<QFont>().bold());
            ++used;
        }
    }
    QCOMPARE(red, 1);
    const bool withoutData = d->txtMediaIc->font().italic();
    QCOMPARE(withoutData, used == 0);
    QVERIFY(!d->txtProf->text().isEmpty());
    QVERIFY(!d->txtExplicacion->toPlainText().isEmpty());

    // The number label opens the editor on the genome that played.
    QTest::mouseClick(d->lblNumRival, Qt::LeftButton);
    QVERIFY(frmFunDibujadas::current() != nullptr);

    // The other button and the keyboard explain the other side; a change of pay-offs since
    // leaves the explanation as played.
    const QString other = win->fxgResultados->results().text(3, 4);
    pressRival(*win, 3, Qt::RightButton);
    QCOMPARE(d->lblNumRival->text(), QString::number(cell));
    QCOMPARE(d->lblNumSubRival->text(), other);
    const QStringList rightPress = gridTexts(d->rows());

    pressRival(*win, 3, Qt::LeftButton);
    QCOMPARE(d->lblNumRival->text(), other);
    win->fxgResultados->setCurrentIndex(win->fxgResultados->results().index(3, 4));
    win->detailsRightAction->trigger();
    QCOMPARE(gridTexts(d->rows()), rightPress);
    // The pay-offs window changes the live matrix at once; the generation played on the other.
    PayoffCopy c = payoffCopy(theWorld().payoffs);
    for (float& v : c) v += 3;
    setPayoffs(theWorld().payoffs, c);
    pressRival(*win, 3, Qt::RightButton);
    QCOMPARE(gridTexts(d->rows()), rightPress);
}

// How each rule marks the parents it chose is the transition view tests'; the window shows that
// explanation whole, under a rule other than the start-up one.
void GenerationViewsTest::transitionsShowTheEnginesExplanation() {
    auto win = playedWorld(12, 10, 0);
    win->mnuRegla[2]->trigger();
    press(win->cmdEmpezarJuego, Qt::RightButton);
    press(win->cmdEmpezarJuego, Qt::RightButton);

    // Shift on a neighbour's box explains that neighbour.
    const int neighbour = win->fraVecindario->labelCell(7);
    QVERIFY(neighbour >= 1);
    QTest::mouseClick(win->fraVecindario->txtJugador[7], Qt::LeftButton, Qt::ShiftModifier);
    frmTransiciones* view = visibleWindow<frmTransiciones>();
    QVERIFY(view != nullptr);
    QVERIFY(testing_ui::saveScreenshot(view, QStringLiteral("frm_transiciones")));
    QCOMPARE(view->cell(), neighbour);
    QCOMPARE(view->windowTitle(),
             QStringLiteral("Transitions - cell %1, generation 2").arg(neighbour));
    TransitionsModel& rows = view->rows();
    QCOMPARE(rows.rowCount(), kNumPositions + 1);
    QCOMPARE(rows.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Total estrategia / media"));

    // Every row's texts and bold, both pictures, the cut.
    const TransitionExplanation e = explainTransition(theWorld(), report(), neighbour);
    for (int row = 0; row <= kNumPositions; ++row) {
        const TransitionRow& r = e.rows[static_cast<std::size_t>(row)];
        for (int c = 0; c < kNumTransitionColumns; ++c)
            QCOMPARE(rows.text(row, c),
                     QString::fromStdString(r.text[static_cast<std::size_t>(c)]));
        QCOMPARE(rows.data(rows.index(row, 1), Qt::FontRole).value<QFont>().bold(), r.qualifies);
    }
    for (std::size_t j = 0; j < e.positionBoxes.size(); ++j)
        QCOMPARE(view->chkVecino[j]->isChecked(), e.positionBoxes[j]);
    QCOMPARE(view->lblCorte->text(), QString::fromStdString(e.cutText));
}

// A fill rewrites the copies the views would read: they empty and say so until the next
// generation; "New" leaves no generation to explain.
void GenerationViewsTest::aFillOrNewLeavesNothingStaleExplained() {
    auto win = playedWorld(8, 6, 0);
    // The key opens the transitions view on the inspected cell; generations played under it
    // explain that cell.
    QTest::keyClick(win.get(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    frmTransiciones* view = visibleWindow<frmTransiciones>();
    QVERIFY(view != nullptr);
    QCOMPARE(view->cell(), theWorld().CasillaSel);
    QCOMPARE(view->rows().rowCount(), 0);  // before any generation there is nothing to explain
    QCOMPARE(view->statusLabel->text(), QStringLiteral("No generation played yet"));
    press(win->cmdEmpezarJuego, Qt::RightButton);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    QCOMPARE(view->rows().rowCount(), kNumPositions + 1);
    QCOMPARE(view->rows().text(0, 0), QString::number(theWorld().CasillaSel));
    pressRival(*win, 2, Qt::LeftButton);
    frmDetalles* d = visibleWindow<frmDetalles>();
    QVERIFY(d->rows().rowCount() > 0);

    win->fillAction->trigger();
    const QString stale = QStringLiteral(
        "The world changed since generation 2; play a generation to explain it again");
    QCOMPARE(view->rows().rowCount(), 0);
    QCOMPARE(view->statusLabel->text(), stale);
    QVERIFY(view->lblCorte->text().isEmpty());
    QCOMPARE(d->rows().rowCount(), 0);
    QCOMPARE(d->statusLabel->text(), stale);
    // Opening either again says the same.
    pressRival(*win, 2, Qt::LeftButton);
    QCOMPARE(d->rows().rowCount(), 0);
    QVERIFY(!d->txtMediaIc->font().italic());
    QVERIFY(d->lblMediaIc->isVisibleTo(d));
    win->transitionsAction->trigger();
    QCOMPARE(view->rows().rowCount(), 0);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    QCOMPARE(view->rows().rowCount(), kNumPositions + 1);
    QVERIFY(view->statusLabel->text().isEmpty());

    win->newWorldPressed(1);
    QCOMPARE(view->statusLabel->text(), QStringLiteral("No generation played yet"));
}

void GenerationViewsTest::showsEveryMutationWithItsMarksAndColours() {
    auto win = playedWorld(10, 8, 1, true);
    QVERIFY(theWorld().options.mnuVerMutaciones);
    frmMutaciones* view = win->openMutationsView();
    QVERIFY(view != nullptr && view->isVisible());
    QVERIFY(testing_ui::saveScreenshot(view, QStringLiteral("frm_mutaciones")));
    MutationsModel& m = view->mutations();
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto& records = report().mutationRecords;
    // Far beyond the 51 columns a fixed grid held; every one is shown.
    QVERIFY(records.size() > 51);
    QCOMPARE(m.mutationCount(), static_cast<int>(records.size()));
    QCOMPARE(m.columnCount(), m.mutationCount() + 1);
    QCOMPARE(view->windowTitle(), QStringLiteral("Mutations - generation 1"));
    QCOMPARE(m.text(0, 0), QStringLiteral("Player"));
    QCOMPARE(m.text(24, 0), QStringLiteral("Whom-When"));
    QCOMPARE(view->lblInfo[0]->palette().color(QPalette::Window), MutationsModel::markColour());

    for (int column : {1, 52, m.mutationCount()}) {
        const MutationRecord& r = records[static_cast<std::size_t>(column - 1)];
        QCOMPARE(m.text(0, column), QStringLiteral("%1 (%2)").arg(r.cell).arg(r.parte));
        QVERIFY(r.changedRows != 0);
        for (int row = 1; row < kMutationViewRows; ++row) {
            const QColor back = m.data(m.index(row, column), Qt::BackgroundRole).value<QColor>();
            const bool marked = (r.changedRows >> row & 1U) != 0;
            const auto& k = row <= 6 ? r.coloursAfter : r.before.Colores;
            QCOMPARE(back, marked ? MutationsModel::markColour() : QColor(k[0], k[1], k[2]));
        }
    }
    // Nothing is selectable, so no highlight covers the colours.
    QCOMPARE(view->fxgMutaciones->selectionMode(), QAbstractItemView::NoSelection);
    QVERIFY(!(m.flags(m.index(3, 1)) & Qt::ItemIsSelectable));

    // A click compares a column with the present genome; row 0 opens the editor.
    const MutationRecord r = m.record(2);
    const QStringList recorded = columnTexts(m, 2);
    // The user changes the cell after the generation; the comparison shows it as it is now.
    theWorld().genoma(kActual, r.cell).parte[r.parte].Irregular = 77;
    testing_ui::clickItem(view->fxgMutaciones, 20, 2);  // "Irregular"
    QVERIFY(m.showsPresent(2));
    QCOMPARE(m.text(20, 2), QStringLiteral("77"));
    QCOMPARE(m.text(0, 2), recorded[0]);
    QVERIFY(m.data(m.index(5, 2), Qt::FontRole).value<QFont>().italic());
    QVERIFY(!m.data(m.index(5, 1), Qt::FontRole).value<QFont>().italic());
    testing_ui::clickItem(view->fxgMutaciones, 5, 2);
    QVERIFY(!m.showsPresent(2));
    QCOMPARE(columnTexts(m, 2), recorded);
    // The title column does nothing.
    testing_ui::clickItem(view->fxgMutaciones, 3, 0);
    testing_ui::clickItem(view->fxgMutaciones, 0, 0);
    QCOMPARE(columnTexts(m, 2), recorded);
    QVERIFY(frmFunDibujadas::current() == nullptr);

    // Row 0 opens the editor on the part that mutated.
    int column = 1;
    while (column < m.mutationCount() && m.record(column).parte != 1) ++column;
    testing_ui::clickItem(view->fxgMutaciones, 0, column);
    frmFunDibujadas* editor = frmFunDibujadas::current();
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->ParteActual(), static_cast<int>(m.record(column).parte));
    QCOMPARE(m.showsPresent(column), false);
}

void GenerationViewsTest::theMutationsViewKeepsARunGoingEmptiesAndUnticks() {
    auto win = playedWorld(8, 6, 0, true);
    QPointer<frmMutaciones> view = win->openMutationsView();  // ticking shows it
    // The twin start button runs the world as the world window's own does.
    press(view->cmdEmpezarJuego, Qt::LeftButton);
    QVERIFY(win->running());
    QTRY_VERIFY_WITH_TIMEOUT(theWorld().Generacion >= 8, 20000);
    QVERIFY(win->running());
    QVERIFY(view->isVisible());
    QCOMPARE(view->windowTitle(),
             QStringLiteral("Mutations - generation %1").arg(theWorld().Generacion));
    press(view->cmdEmpezarJuego, Qt::LeftButton);
    QVERIFY(!win->running());

    // A new world empties it; closing it unticks the item, and it is not shown again.
    QVERIFY(view->mutations().mutationCount() > 0);
    win->newWorldPressed(1);
    QCOMPARE(view->mutations().mutationCount(), 0);
    QCOMPARE(view->statusLabel->text(), QStringLiteral("No generation played yet"));
    view->close();
    QTRY_VERIFY(view.isNull());
    QVERIFY(!win->mnuVerMutaciones->isChecked());
    QVERIFY(!theWorld().options.mnuVerMutaciones);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    QVERIFY(win->openMutationsView() == nullptr);
}

QTEST_MAIN(GenerationViewsTest)
#include "generation_views_test.moc"
