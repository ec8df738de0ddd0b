// The transitions view: opened from the inspector with Shift or from the View menu, it explains
// the last transition of a cell under each rule from what the generation recorded, and says so
// when there is nothing (or nothing true) to explain.
#include "ui/frm_transiciones.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "support/world_window_fixture.h"
#include "ui/inspector.h"
#include "ui/mouse_button.h"

using namespace morvane;
using morvane::testing::press;
using morvane::testing::theWorld;

namespace {

const GenerationReport& report() {
    return Session::instance().report();
}

}  // namespace

class FrmTransicionesTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { testing_ui::deleteWindowsOf<frmTransiciones>(); }

    void marksTheRecordedParentsUnderEachRule_data();
    void marksTheRecordedParentsUnderEachRule();
    void aFillMarksTheViewStaleUntilTheNextGeneration();
    void screenshot();
};

void FrmTransicionesTest::marksTheRecordedParentsUnderEachRule_data() {
    QTest::addColumn<int>("menuItem");
    QTest::addColumn<int>("column");
    QTest::addRow("maxi_max") << 0 << int(kColMaxiMax);
    QTest::addRow("replicator") << 1 << int(kColReplicator);
    QTest::addRow("best_strategy") << 2 << int(kColBestStrategy);
    QTest::addRow("maxi_min") << 3 << int(kColMaxiMin);
}

void FrmTransicionesTest::marksTheRecordedParentsUnderEachRule() {
    QFETCH(int, menuItem);
    QFETCH(int, column);
    auto win = testing::openWorldWindow(12, 10, nullptr);
    win->mnuRegla[static_cast<std::size_t>(menuItem)]->trigger();
    // Before any generation of this world there is nothing to explain.
    QTest::mouseClick(win->fraVecindario->txtGenomaPrev, Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(testing_ui::visibleWindow<frmTransiciones>() != nullptr);
    QCOMPARE(testing_ui::visibleWindow<frmTransiciones>()->statusLabel->text(),
             QStringLiteral("No generation played yet"));
    press(win->cmdEmpezarJuego, Qt::RightButton);
    press(win->cmdEmpezarJuego, Qt::RightButton);

    // Shift on a neighbour's box explains that neighbour.
    const int neighbour = win->fraVecindario->labelCell(7);
    QVERIFY(neighbour >= 1);
    QTest::mouseClick(win->fraVecindario->txtJugador[7], Qt::LeftButton, Qt::ShiftModifier);
    frmTransiciones* view = testing_ui::visibleWindow<frmTransiciones>();
    QVERIFY(view != nullptr);
    QCOMPARE(view->cell(), neighbour);
    QCOMPARE(view->windowTitle(),
             QStringLiteral("Transitions - cell %1, generation 2").arg(neighbour));
    TransitionsModel& rows = view->rows();
    QCOMPARE(rows.rowCount(), kNumPositions + 1);
    QCOMPARE(rows.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Total estrategia / media"));

    // The marks of the rule in force are the parents the rule chose, on every row showing them.
    const auto parents = report().transition.parents[static_cast<std::size_t>(neighbour)];
    const auto& trace = report().transitionTrace[static_cast<std::size_t>(neighbour)];
    int marks = 0;
    for (int row = 0; row <= kNumPositions; ++row) {
        const int shown = row == 0 ? neighbour : trace.found[static_cast<std::size_t>(row - 1)];
        const QString mark = rows.text(row, column);
        if (column == kColReplicator) {
            if (shown == parents[0]) QVERIFY2(mark.contains("0 = "), qPrintable(mark));
            if (!mark.isEmpty()) ++marks;
            continue;
        }
        QString expected;
        if (shown == parents[1] && parents[1] > 0) expected = QStringLiteral("1 = madre");
        if (shown == parents[0] && parents[0] > 0) expected = QStringLiteral("0 = padre");
        QCOMPARE(mark, expected);
        if (!mark.isEmpty()) ++marks;
        // The qualifying rows follow the mask the rule searched.
        if (row > 0) {
            const bool searched = (trace.mask >> (row - 1) & 1) != 0;
            QCOMPARE(rows.data(rows.index(row, 1), Qt::FontRole).value<QFont>().bold(), searched);
            QCOMPARE(view->chkVecino[static_cast<std::size_t>(row - 1)]->isChecked(), searched);
            QCOMPARE(view->chkVecino[static_cast<std::size_t>(row + 23)]->isChecked(), searched);
        }
    }
    QVERIFY(marks > 0 || parents[0] <= 0);
    QVERIFY(view->lblCorte->text().startsWith(
        QStringLiteral("Punto de corte: %1").arg(report().PuntoCorte[neighbour])));
}

// The key opens the view on the inspected cell; generations played under it explain that cell.
void FrmTransicionesTest::aFillMarksTheViewStaleUntilTheNextGeneration() {
    auto win = testing::openWorldWindow(8, 6, nullptr);
    QVERIFY(QTest::qWaitForWindowActive(win.get()));
    QTest::keyClick(win.get(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    frmTransiciones* view = testing_ui::visibleWindow<frmTransiciones>();
    QVERIFY(view != nullptr);
    QCOMPARE(view->cell(), theWorld().CasillaSel);
    QCOMPARE(view->rows().rowCount(), 0);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    QCOMPARE(view->rows().rowCount(), kNumPositions + 1);
    QCOMPARE(view->rows().text(0, 0), QString::number(theWorld().CasillaSel));
    win->fillAction->trigger();
    QCOMPARE(view->rows().rowCount(), 0);
    QCOMPARE(view->statusLabel->text(),
             QStringLiteral(
                 "The world changed since generation 2; play a generation to explain it again"));
    QVERIFY(view->lblCorte->text().isEmpty());
    // Opening it again says the same: the copies it would read were rewritten.
    win->transitionsAction->trigger();
    QCOMPARE(view->rows().rowCount(), 0);
    press(win->cmdEmpezarJuego, Qt::RightButton);
    QCOMPARE(view->rows().rowCount(), kNumPositions + 1);
    QVERIFY(view->statusLabel->text().isEmpty());
    // "New" leaves no generation to explain.
    win->newWorldPressed(1);
    QCOMPARE(view->statusLabel->text(), QStringLiteral("No generation played yet"));
}

void FrmTransicionesTest::screenshot() {
    auto win = testing::openWorldWindow(12, 10, nullptr);
    win->mnuRegla[2]->trigger();
    for (int g = 0; g < 4; ++g) press(win->cmdEmpezarJuego, Qt::RightButton);
    win->transitionsAction->trigger();
    QVERIFY(testing_ui::saveScreenshot(testing_ui::visibleWindow<frmTransiciones>(),
                                       QStringLiteral("frm_transiciones")));
}

QTEST_MAIN(FrmTransicionesTest)
#include "frm_transiciones_test.moc"
