// The interaction details: a rival's press in the results table lays out the search the engine
// re-enacts for that encounter, as the generation played it.
#include "ui/frm_detalles.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>

#include "base/shown_number.h"
#include "games/payoff.h"
#include "support/world_window_fixture.h"
#include "ui/frm_fun_dibujadas.h"
#include "ui/mouse_button.h"
#include "ui/results_table.h"

using namespace morvane;
using morvane::testing::press;
using morvane::testing::theWorld;

namespace {

void pressRival(frmPartidas& win, int row, Qt::MouseButton b) {
    ResultsTable* t = win.fxgResultados;
    const QRect r = t->visualRect(t->results().index(row, 4));
    QTest::mousePress(t->viewport(), b, {}, r.center());
    QTest::mouseRelease(t->viewport(), b, {}, r.center());
}

QStringList gridTexts(const DetailsModel& m) {
    QStringList t;
    for (int row = 0; row < m.rowCount(); ++row)
        for (int c = 0; c < m.columnCount(); ++c) t << m.text(row, c);
    return t;
}

// A seeded start-up world three generations on.
std::unique_ptr<frmPartidas> playedWorld() {
    auto win = testing::openWorldWindow(8, 6, nullptr);
    for (int g = 0; g < 3; ++g) press(win->cmdEmpezarJuego, Qt::RightButton);
    return win;
}

}  // namespace

class FrmDetallesTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { testing_ui::deleteWindowsOf<frmDetalles, frmFunDibujadas>(); }

    void aRivalRowShowsTheSearchAsTheGenerationPlayedIt();
    void theOtherButtonAndTheKeyboardExplainTheOtherSide();
    void aChangeOfPayoffsLeavesTheExplanationAsPlayed();
    void aFillMarksTheViewStale();
    void screenshot();
};

void FrmDetallesTest::aRivalRowShowsTheSearchAsTheGenerationPlayedIt() {
    auto win = playedWorld();
    const int cell = theWorld().CasillaSel;
    const QString rival = win->fxgResultados->results().text(2, 4);
    QVERIFY(!rival.isEmpty());
    pressRival(*win, 2, Qt::LeftButton);
    frmDetalles* d = testing_ui::visibleWindow<frmDetalles>();
    QVERIFY(d != nullptr);
    QCOMPARE(d->windowTitle(), QStringLiteral("Interactions details - generation 3"));
    QCOMPARE(d->lblNumRival->text(), rival);
    QCOMPARE(d->lblNumSubRival->text(), QString::number(cell));
    QCOMPARE(d->lblMediaIc->text(), QStringLiteral("Average Coop R"));
    QCOMPARE(d->rows().headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Coop R"));
    QVERIFY(d->fxgDetalles->isColumnHidden(8));
    QVERIFY(d->fxgDetalles->columnWidth(0) >= 1150 * d->logicalDpiX() / 1440);

    // One red row, the move under study; the used records bold on yellow, and the averages theirs.
    const DetailsModel& m = d->rows();
    int red = 0, used = 0;
    double sumIc = 0;
    for (int row = 0; row < m.rowCount(); ++row) {
        const QModelIndex i6 = m.index(row, 6);
        if (m.data(m.index(row, 5), Qt::BackgroundRole).value<QColor>() ==
            DetailsModel::redColour())
            ++red;
        if (m.data(i6, Qt::BackgroundRole).value<QColor>() == DetailsModel::usedColour()) {
            QVERIFY(m.data(i6, Qt::FontRole).value<QFont>().bold());
            ++used;
            sumIc += m.text(row, 6).toDouble();
        }
    }
    QCOMPARE(red, 1);
    const bool withoutData = d->txtMediaIc->font().italic();
    QCOMPARE(withoutData, used == 0);
    if (used > 0)
        QCOMPARE(d->txtMediaIc->text(), QString::fromStdString(shownNumber(sumIc / used, 3)));
    QVERIFY(!d->txtProf->text().isEmpty());
    QVERIFY(!d->txtExplicacion->toPlainText().isEmpty());

    // The number label opens the editor on the genome that played.
    QTest::mouseClick(d->lblNumRival, Qt::LeftButton);
    QVERIFY(frmFunDibujadas::current() != nullptr);
}

void FrmDetallesTest::theOtherButtonAndTheKeyboardExplainTheOtherSide() {
    auto win = playedWorld();
    const int cell = theWorld().CasillaSel;
    const QString rival = win->fxgResultados->results().text(3, 4);
    pressRival(*win, 3, Qt::RightButton);
    frmDetalles* d = testing_ui::visibleWindow<frmDetalles>();
    QVERIFY(d != nullptr);
    QCOMPARE(d->lblNumRival->text(), QString::number(cell));
    QCOMPARE(d->lblNumSubRival->text(), rival);
    const QStringList rightPress = gridTexts(d->rows());

    pressRival(*win, 3, Qt::LeftButton);
    QCOMPARE(d->lblNumRival->text(), rival);
    win->fxgResultados->setCurrentIndex(win->fxgResultados->results().index(3, 4));
    win->detailsRightAction->trigger();
    QCOMPARE(gridTexts(d->rows()), rightPress);
}

void FrmDetallesTest::aChangeOfPayoffsLeavesTheExplanationAsPlayed() {
    auto win = playedWorld();
    pressRival(*win, 2, Qt::LeftButton);
    frmDetalles* d = testing_ui::visibleWindow<frmDetalles>();
    const QStringList played = gridTexts(d->rows());
    QVERIFY(!played.isEmpty());
    // The pay-offs window changes the live matrix at once; the generation played on the other.
    PayoffCopy c = payoffCopy(theWorld().payoffs);
    for (float& v : c) v += 3;
    setPayoffs(theWorld().payoffs, c);
    pressRival(*win, 2, Qt::LeftButton);
    QCOMPARE(gridTexts(d->rows()), played);
}

void FrmDetallesTest::aFillMarksTheViewStale() {
    auto win = playedWorld();
    pressRival(*win, 2, Qt::LeftButton);
    frmDetalles* d = testing_ui::visibleWindow<frmDetalles>();
    QVERIFY(d->rows().rowCount() > 0);
    win->fillAction->trigger();
    QCOMPARE(d->rows().rowCount(), 0);
    QCOMPARE(d->statusLabel->text(),
             QStringLiteral(
                 "The world changed since generation 3; play a generation to explain it again"));
    pressRival(*win, 2, Qt::LeftButton);
    QCOMPARE(d->rows().rowCount(), 0);
    QVERIFY(!d->txtMediaIc->font().italic());
    QVERIFY(d->lblMediaIc->isVisibleTo(d));
}

void FrmDetallesTest::screenshot() {
    auto win = playedWorld();
    pressRival(*win, 2, Qt::LeftButton);
    QVERIFY(testing_ui::saveScreenshot(testing_ui::visibleWindow<frmDetalles>(),
                                       QStringLiteral("frm_detalles")));
}

QTEST_MAIN(FrmDetallesTest)
#include "frm_detalles_test.moc"
