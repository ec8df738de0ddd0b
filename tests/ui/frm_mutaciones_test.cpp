// The mutations view: every mutation of the generation in its own column, the marks and colours,
// the comparison with the present genome, the editor from row 0, and a run that keeps going while
// the view is fed.
#include "ui/frm_mutaciones.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLabel>
#include <QTableView>
#include <QTest>

#include "support/world_window_fixture.h"
#include "ui/frm_fun_dibujadas.h"
#include "ui/mouse_button.h"

using namespace morvane;
using morvane::testing::press;
using morvane::testing::theWorld;

namespace {

// A world where every bug mutates each generation, with the view ticked from the menu.
std::unique_ptr<frmPartidas> mutatingWorld(int columns, int rows) {
    auto win = testing::openWorldWindow(columns, rows, nullptr);
    if (!QTest::qWaitForWindowActive(win.get())) qWarning("the world window is not active");
    World& w = theWorld();
    w.FrecMutacion = 1;
    w.options.Opciones[kActual] |= 1;
    win->mnuVerMutaciones->trigger();
    return win;
}

void clickCell(QTableView* view, int row, int column) {
    view->scrollTo(view->model()->index(row, column));
    const QRect r = view->visualRect(view->model()->index(row, column));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
}

QStringList columnTexts(const MutationsModel& m, int column) {
    QStringList t;
    for (int row = 0; row < m.rowCount(); ++row) t << m.text(row, column);
    return t;
}

}  // namespace

class FrmMutacionesTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { testing_ui::deleteWindowsOf<frmMutaciones, frmFunDibujadas>(); }

    void showsEveryMutationWithItsMarksAndColours();
    void columnClicksCompareWithThePresentGenome();
    void rowZeroOpensTheEditorOnTheMutatedPart();
    void aRunWithTheViewTickedKeepsRunning();
    void closingUnticksAndANewWorldEmptiesIt();
    void screenshot();
};

void FrmMutacionesTest::showsEveryMutationWithItsMarksAndColours() {
    auto win = mutatingWorld(10, 8);
    QVERIFY(theWorld().options.mnuVerMutaciones);
    press(win->cmdEmpezarJuego, Qt::RightButton);  // one generation
    frmMutaciones* view = win->openMutationsView();
    QVERIFY(view != nullptr && view->isVisible());
    MutationsModel& m = view->mutations();
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto& records = Session::instance().report().mutationRecords;
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
}

void FrmMutacionesTest::columnClicksCompareWithThePresentGenome() {
    auto win = mutatingWorld(6, 5);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    frmMutaciones* view = win->openMutationsView();
    MutationsModel& m = view->mutations();
    const MutationRecord r = m.record(2);
    const QStringList recorded = columnTexts(m, 2);
    // The user changes the cell after the generation; the comparison shows it as it is now.
    theWorld().genoma(kActual, r.cell).parte[r.parte].Irregular = 77;
    clickCell(view->fxgMutaciones, 20, 2);  // "Irregular"
    QVERIFY(m.showsPresent(2));
    QCOMPARE(m.text(20, 2), QStringLiteral("77"));
    QCOMPARE(m.text(0, 2), recorded[0]);
    QVERIFY(m.data(m.index(5, 2), Qt::FontRole).value<QFont>().italic());
    QVERIFY(!m.data(m.index(5, 1), Qt::FontRole).value<QFont>().italic());
    clickCell(view->fxgMutaciones, 5, 2);
    QVERIFY(!m.showsPresent(2));
    QCOMPARE(columnTexts(m, 2), recorded);
    // The title column does nothing.
    clickCell(view->fxgMutaciones, 3, 0);
    clickCell(view->fxgMutaciones, 0, 0);
    QCOMPARE(columnTexts(m, 2), recorded);
    QVERIFY(frmFunDibujadas::current() == nullptr);
}

void FrmMutacionesTest::rowZeroOpensTheEditorOnTheMutatedPart() {
    auto win = mutatingWorld(6, 5);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    frmMutaciones* view = win->openMutationsView();
    MutationsModel& m = view->mutations();
    int column = 1;
    while (column < m.mutationCount() && m.record(column).parte != 1) ++column;
    const MutationRecord r = m.record(column);
    clickCell(view->fxgMutaciones, 0, column);
    frmFunDibujadas* editor = frmFunDibujadas::current();
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->ParteActual(), static_cast<int>(r.parte));
    QCOMPARE(m.showsPresent(column), false);
}

void FrmMutacionesTest::aRunWithTheViewTickedKeepsRunning() {
    auto win = mutatingWorld(8, 6);
    frmMutaciones* view = win->openMutationsView();  // ticking shows it
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
}

void FrmMutacionesTest::closingUnticksAndANewWorldEmptiesIt() {
    auto win = mutatingWorld(6, 5);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    QPointer<frmMutaciones> view = win->openMutationsView();
    QVERIFY(view->mutations().mutationCount() > 0);
    win->newWorldPressed(1);
    QCOMPARE(view->mutations().mutationCount(), 0);
    QCOMPARE(view->statusLabel->text(), QStringLiteral("No generation played yet"));
    view->close();
    QTRY_VERIFY(view.isNull());
    QVERIFY(!win->mnuVerMutaciones->isChecked());
    QVERIFY(!theWorld().options.mnuVerMutaciones);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    QVERIFY(win->openMutationsView() == nullptr);  // unticked: not shown again
}

void FrmMutacionesTest::screenshot() {
    auto win = mutatingWorld(6, 5);
    theWorld().FrecMutacion = 0.3f;
    for (int g = 0; g < 3; ++g) press(win->cmdEmpezarJuego, Qt::RightButton);
    frmMutaciones* view = win->openMutationsView();
    QVERIFY(testing_ui::saveScreenshot(view, QStringLiteral("frm_mutaciones")));
}

QTEST_MAIN(FrmMutacionesTest)
#include "frm_mutaciones_test.moc"
