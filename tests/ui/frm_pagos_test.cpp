// The pay-offs window: catalogue, "Random", "Invert", "Restore", boxes and bars, the test panel,
// and what "OK" stores.
#include "ui/frm_pagos.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "core/rng.h"
#include "core/startup.h"
#include "games/decimal_text.h"
#include "games/payoff.h"
#include "support/fake_dialogs.h"
#include "ui/mouse_button.h"
#include "ui/session.h"

using namespace morvane;

namespace {

World& world() {
    return Session::instance().world();
}

QStringList payoffTexts(const frmPagos& f) {
    QStringList texts;
    for (int i = 0; i < 8; ++i) texts << f.txtParametro[i]->text();
    return texts;
}

PayoffCopy payoffs() {
    return payoffCopy(world().pagos);
}

// Clicks into a box and replaces its text by typing, as a user would.
void typeInto(QLineEdit* box, const QString& text) {
    QTest::mouseClick(box, Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

// Leaves the focused box with the Tab key and lets the window answer.
void leaveBox(QWidget* box) {
    QTest::keyClick(box, Qt::Key_Tab);
    QCoreApplication::processEvents();
}

void chooseGame(frmPagos& f, int i) {
    QTest::keyClick(f.cmbJuegos, Qt::Key_Home);
    for (int k = 0; k < i; ++k) QTest::keyClick(f.cmbJuegos, Qt::Key_Down);
    if (i == 0) {
        // Home on the first item changes nothing: go down and back up to choose it again.
        QTest::keyClick(f.cmbJuegos, Qt::Key_Down);
        QTest::keyClick(f.cmbJuegos, Qt::Key_Up);
    }
}

void pressInvert(frmPagos& f, Qt::MouseButton button) {
    QTest::mousePress(f.cmdInvertir, button);
    QTest::mouseRelease(f.cmdInvertir, button);
}

}  // namespace

class FrmPagosTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        Session::instance().reset();
        testing_ui::installFakeDialogs();
        window = std::make_unique<frmPagos>();
        window->EmpezarPorAqui();
        QVERIFY(testing_ui::showActive(window.get()));
    }
    void cleanup() { window.reset(); }

    void fillsFromTheSettingsKeepingEveryDigit();
    void choosingAGameSetsTheBoxes();
    void invertFollowsTheMouseButton();
    void randomAndRestore();
    void payoffEditsActAtOnceOtherSettingsOnOk();
    void boxesTakeNumbersOverWhenLeft();
    void invalidTextKeepsTheLastValueAndOkRefuses();
    void testPanelPlaysOneMove();
    void cutPointOfParallelLinesIsEmpty();
    void screenshot();

  private:
    std::unique_ptr<frmPagos> window;
};

void FrmPagosTest::fillsFromTheSettingsKeepingEveryDigit() {
    World& w = world();
    setPayoffs(w.pagos, {3.14159f, 4, 2.005f, 3, 1, 1, 0, -0.25f});
    w.UmbralSupervivencia = 1.25f;
    w.UmbralReproduccion = 60.5f;  // beyond its bar
    w.UmbralHoy = 0.333f;
    w.FrecMutacion = 0.0126f;
    w.PasoCoop = 7;
    window->EmpezarPorAqui();
    const frmPagos& f = *window;
    QCOMPARE(f.windowTitle(), QStringLiteral("Pay offs"));
    QCOMPARE(payoffTexts(f), (QStringList{"3.14159", "4", "2.005", "3", "1", "1", "0", "-0.25"}));
    struct Row {
        int i;
        QString text;
        int bar;
    };
    // Bars take the value times their scale as a 32-bit float, rounded half to even: 2.005 is
    // held as 2.0050001, so 201.
    const std::vector<Row> rows{{0, "3.14159", 314}, {2, "2.005", 201}, {7, "-0.25", 0},
                                {8, "1.25", 125},    {9, "60.5", 5000}, {10, "0.333", 33},
                                {12, "0.0126", 13},  {13, "7", 7}};
    for (const Row& row : rows) {
        QCOMPARE(f.txtParametro[row.i]->text(), row.text);
        QVERIFY2(f.hsbParametro[row.i]->value() == row.bar, qPrintable(QString::number(row.i)));
    }
    QCOMPARE(w.pagosRestaurar, (PayoffCopy{3.14159f, 4, 2.005f, 3, 1, 1, 0, -0.25f}));
    QVERIFY(f.optSimult->isChecked());
    QCOMPARE(f.txtIrracional[1]->text(), QStringLiteral("0"));
    QCOMPARE(f.lblParametro[10]->text(), QStringLiteral("Min. to surive \"today\" (after a move)"));
    QVERIFY(f.lblParametro[11] == nullptr && f.hsbParametro[11] == nullptr);
    QCOMPARE(f.cmbJuegos->itemText(3), QStringLiteral(" Ultimátum"));
    QCOMPARE(f.hsbParametro[0]->maximum(), 1000);
    QCOMPARE(f.hsbParametro[8]->maximum(), 5000);
    QCOMPARE(f.hsbParametro[12]->maximum(), 1000);
    QCOMPARE(f.hsbParametro[13]->minimum(), 1);
    QCOMPARE(f.hsbParametro[13]->maximum(), 100);
}

void FrmPagosTest::choosingAGameSetsTheBoxes() {
    struct Row {
        int game;
        QStringList boxes;  // T 1, T 2, R 1, R 2, P 1, P 2, S 1, S 2
        QString prob1, prob2, move1;
    };
    const std::vector<Row> rows{
        {0, {"4", "4", "3", "3", "1", "1", "0", "0"}, "0 / 0 / 1", "0 / 0 / 1", "Player 1 -> 1"},
        {1,
         {"4", "4", "3", "3", "0", "0", "1", "1"},
         "0 / 0.5 / 1",
         "0 / 0.5 / 1",
         "Player 1 -> 1"},
        {2,
         {"2", "3", "4", "1", "3", "2", "1", "4"},
         "0 / 0.5 / 1",
         "0 / 0.5 / 1",
         "Player 1 -> 0"},
        {3, {"9", "0", "1", "9", "0", "0", "0", "1"}, "0 / 0 / 1", "0 / 1 / 1", "Player 1 -> 1"},
        {5,
         {"9", "9", "0", "0", "0", "0", "1", "1"},
         "0 / 0.1 / 1",
         "0 / 0.1 / 1",
         "Player 1 -> 1"},
        {6, {"3", "3", "4", "4", "1", "1", "0", "0"}, "0 / 1 / 1", "0 / 1 / 1", "Player 1 -> 1"},
    };
    for (const Row& row : rows) {
        chooseGame(*window, row.game);
        const QString name = window->cmbJuegos->itemText(row.game);
        QCOMPARE(window->cmbJuegos->currentIndex(), row.game);
        QVERIFY2(payoffTexts(*window) == row.boxes, qPrintable(name));
        QCOMPARE(window->txtProb[1]->text(), row.prob1);
        QCOMPARE(window->txtProb[2]->text(), row.prob2);
        QCOMPARE(window->lblJugador1_C->text(), row.move1);
        QCOMPARE(world().pagos.GameIndex, std::int16_t(row.game));
        // The live matrix holds the game at once.
        const auto& g = gameCatalogue()[row.game];
        QCOMPARE(payoffs(), (PayoffCopy{g.T1, g.T2, g.R1, g.R2, g.P1, g.P2, g.S1, g.S2}));
    }
}

void FrmPagosTest::invertFollowsTheMouseButton() {
    chooseGame(*window, 2);  // Brian y Jane: T 2 3, R 4 1, P 3 2, S 1 4
    const PayoffCopy start = payoffs();
    struct Row {
        const char* name;
        Qt::MouseButton button;
        PayoffCopy after;  // T1, T2, R1, R2, P1, P2, S1, S2
    };
    const std::vector<Row> rows{
        // Roles exchanged: T1 = P2, R1 = S2, P1 = T2, S1 = R2, T2 = R1, R2 = T1, P2 = S1, S2 = P1.
        {"left", Qt::LeftButton, {2, 4, 4, 2, 3, 1, 1, 3}},
        // Moves exchanged: T = S, R = P, P = R, S = T.
        {"right", Qt::RightButton, {1, 4, 3, 2, 4, 1, 2, 3}},
        {"middle", Qt::MiddleButton, {2, 3, 4, 1, 3, 2, 1, 4}},
    };
    for (const Row& row : rows) {
        setPayoffs(world().pagos, start);
        window->EmpezarPorAqui();
        pressInvert(*window, row.button);
        QVERIFY2(payoffs() == row.after, row.name);
        QStringList texts;
        for (float v : row.after) texts << QString::fromStdString(decimalText(v));
        QVERIFY2(payoffTexts(*window) == texts, row.name);
    }
    // Two right presses, or four left ones, give the game back.
    setPayoffs(world().pagos, start);
    window->EmpezarPorAqui();
    for (int i = 0; i < 2; ++i) pressInvert(*window, Qt::RightButton);
    QCOMPARE(payoffs(), start);
    for (int i = 0; i < 3; ++i) pressInvert(*window, Qt::LeftButton);
    QVERIFY(payoffs() != start);
    pressInvert(*window, Qt::LeftButton);
    QCOMPARE(payoffs(), start);
}

void FrmPagosTest::randomAndRestore() {
    Session::instance().seed(5);
    const PayoffCopy opened = payoffs();
    QTest::mouseClick(window->cmdAzar, Qt::LeftButton);
    const PayoffCopy drawn = payoffs();
    QVERIFY(drawn != opened);
    for (int i = 0; i < 8; ++i) {
        // Every digit of the draw reaches the box, and the box reads back as the same float.
        QVERIFY(drawn[i] >= 0.0f && drawn[i] < 10.0f);
        QCOMPARE(window->txtParametro[i]->text().toFloat(), drawn[i]);
        QCOMPARE(window->hsbParametro[i]->value(), int(std::nearbyint(drawn[i] * 100.0)));
    }
    typeInto(window->txtParametro[0], QStringLiteral("7"));
    chooseGame(*window, 6);
    QTest::mouseClick(window->cmdRestaurar, Qt::LeftButton);
    QCOMPARE(payoffs(), opened);
    QCOMPARE(payoffTexts(*window), (QStringList{"4", "4", "3", "3", "1", "1", "0", "0"}));
}

void FrmPagosTest::payoffEditsActAtOnceOtherSettingsOnOk() {
    World& w = world();
    Rng rng(3);
    startWorld(w, rng);
    QSignalSpy thresholds(&Session::instance(), &Session::thresholdsChanged);

    typeInto(window->txtParametro[0], QStringLiteral("5.5"));
    QCOMPARE(w.pagos.T[1], 5.5f);  // before any "OK"
    QCOMPARE(w.pagos.PayoffMax[1], 5.5f);
    typeInto(window->txtParametro[8], QStringLiteral("2.5"));
    typeInto(window->txtParametro[12], QStringLiteral("0.02"));
    typeInto(window->txtParametro[13], QStringLiteral("150"));
    QCOMPARE(w.UmbralSupervivencia, 0.0f);
    QCOMPARE(w.FrecMutacion, 0.005f);
    QCOMPARE(w.PasoCoop, std::int16_t(10));
    QCOMPARE(thresholds.count(), 0);

    QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
    QCOMPARE(w.UmbralSupervivencia, 2.5f);
    QCOMPARE(w.FrecMutacion, 0.02f);
    QCOMPARE(w.PasoCoop, std::int16_t(150));
    QCOMPARE(w.pagos.T[1], 5.5f);
    QCOMPARE(thresholds.count(), 1);
    QVERIFY(!window->isVisible());

    // Closed any other way, the window keeps the live pay-offs and drops the rest.
    window->EmpezarPorAqui();
    QVERIFY(testing_ui::showActive(window.get()));
    typeInto(window->txtParametro[1], QStringLiteral("6"));
    typeInto(window->txtParametro[9], QStringLiteral("3"));
    window->close();
    QCOMPARE(w.pagos.T[2], 6.0f);
    QCOMPARE(w.UmbralReproduccion, 0.0f);
    QCOMPARE(thresholds.count(), 1);

    // Without a world there are no threshold captions to refresh.
    Session::instance().reset();
    window->EmpezarPorAqui();
    QVERIFY(testing_ui::showActive(window.get()));
    QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
    QCOMPARE(thresholds.count(), 1);
}

void FrmPagosTest::boxesTakeNumbersOverWhenLeft() {
    struct Row {
        const char* name;
        int i;
        QString typed;
        int bar;  // after leaving
    };
    const std::vector<Row> rows{
        {"mutation 0.01", 12, "0.01", 10},
        {"chart period beyond the bar", 13, "150", 10},
        {"pay-off in hundredths, half to even", 2, "2.345", 234},
        {"pay-off beyond the bar", 0, "12", 400},
        {"threshold", 10, "49.5", 4950},
    };
    for (const Row& row : rows) {
        window->EmpezarPorAqui();
        typeInto(window->txtParametro[row.i], row.typed);
        leaveBox(window->txtParametro[row.i]);
        QVERIFY2(window->hsbParametro[row.i]->value() == row.bar,
                 qPrintable(QStringLiteral("%1: bar %2")
                                .arg(row.name)
                                .arg(window->hsbParametro[row.i]->value())));
        QVERIFY2(window->txtParametro[row.i]->text() == row.typed, row.name);
        QVERIFY2(!window->txtParametro[row.i]->hasFocus(), row.name);
    }
    // A bar writes its box on its own scale.
    window->EmpezarPorAqui();
    testing_ui::clickBar(window->hsbParametro[12], QStyle::SC_ScrollBarAddPage);
    QCOMPARE(window->txtParametro[12]->text(), QStringLiteral("0.015"));
    testing_ui::clickBar(window->hsbParametro[4], QStyle::SC_ScrollBarAddLine);
    QCOMPARE(window->txtParametro[4]->text(), QStringLiteral("1.01"));
    QCOMPARE(world().pagos.P[1], 1.01f);
    testing_ui::clickBar(window->hsbParametro[13], QStyle::SC_ScrollBarSubLine);
    QCOMPARE(window->txtParametro[13]->text(), QStringLiteral("9"));
}

void FrmPagosTest::invalidTextKeepsTheLastValueAndOkRefuses() {
    struct Row {
        const char* name;
        int i;  // box index; negative for a player's disposition
        QString typed;
        float kept;  // the last number the typing went through, else the box's first value
    };
    const std::vector<Row> rows{
        {"empty pay-off", 0, "", 4},
        {"letters", 1, "abc", 4},
        {"lone minus", 2, "-", 3},
        {"too large for a float", 3, "1e39", 1000},  // "1e3" was a number on the way
        {"not a number", 4, "nan", 1},
        {"infinite", 5, "inf", 1},
        {"chart period zero", 13, "0", 10},
        {"chart period beyond 16 bits", 13, "40000", 4000},
        {"empty threshold", 9, "", 0},
        {"disposition above one", -1, "1.5", 1},
        {"negative disposition", -2, "-0.1", 0},
    };
    World& w = world();
    for (const Row& row : rows) {
        window = std::make_unique<frmPagos>();
        window->EmpezarPorAqui();
        QVERIFY(testing_ui::showActive(window.get()));
        QLineEdit* box = row.i >= 0 ? window->txtParametro[row.i] : window->txtIrracional[-row.i];
        typeInto(box, row.typed);
        if (row.i >= 0) QVERIFY2(window->parametro(row.i) == row.kept, row.name);
        if (row.i >= 0 && row.i < 8) QVERIFY2(payoffs()[row.i] == row.kept, row.name);
        if (row.i < 0) {
            // The test panel plays the last valid disposition.
            const QString mov = QStringLiteral("[%1]").arg(double(row.kept));
            QVERIFY2(window->txtMov[-row.i]->text() == mov, row.name);
        }
        // Leaving is refused: the focus comes back.
        leaveBox(box);
        QTRY_VERIFY2(box->hasFocus(), row.name);
        QVERIFY2(box->text() == row.typed, row.name);
        if (row.i < 0) continue;
        // "OK" stores nothing, keeps the window open and puts the focus in the box.
        QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY2(window->isVisible(), row.name);
        QVERIFY2(box->hasFocus(), row.name);
        QVERIFY2(w.PasoCoop == 10 && w.UmbralReproduccion == 0.0f, row.name);
    }
}

void FrmPagosTest::testPanelPlaysOneMove() {
    struct Row {
        const char* name;
        int game;
        QString d1, d2;
        QRadioButton* frmPagos::*order;
        QString mov1, mov2, exito1, exito2, ia1, ia2, pago1, pago2;
    };
    const std::vector<Row> rows{
        {"prisoner's dilemma, selfish, together", 0, "0", "0", &frmPagos::optSimult, "[0]", "[0]",
         "0.25", "0.25", "0.5", "0.5", "1", "1"},
        // x(1) = 0.5 = p(1), so player 2 answers 0: U1 = 0.5, U2 = 2 one after the other.
        {"chicken, halfway, me first", 1, "0.5", "0.5", &frmPagos::optYo1, "[0.5]", "[0.5]",
         "(0.125) 0.5", "(0.5) 0.5", "(0.688) 0.5", "(0.312) 0.5", "(0.5) 2", "(2) 2"},
        // Stag hunt's reference is 1 for both, so a disposition is the probability itself.
        {"stag hunt, trusting, she first", 6, "1", "0.75", &frmPagos::optEl1, "[1]", "[0.75]",
         "(0.75) 0.75", "(0.938) 0.938", "(0.594) 0.594", "(0.406) 0.406", "(3) 3", "(3.75) 3.75"},
    };
    for (const Row& row : rows) {
        chooseGame(*window, row.game);
        typeInto(window->txtIrracional[1], row.d1);
        typeInto(window->txtIrracional[2], row.d2);
        QTest::mouseClick((*window).*row.order, Qt::LeftButton);
        const QStringList shown{window->txtMov[1]->text(),   window->txtMov[2]->text(),
                                window->txtExito[1]->text(), window->txtExito[2]->text(),
                                window->txtIa[1]->text(),    window->txtIa[2]->text(),
                                window->txtPago[1]->text(),  window->txtPago[2]->text()};
        const QStringList expected{row.mov1, row.mov2, row.exito1, row.exito2,
                                   row.ia1,  row.ia2,  row.pago1,  row.pago2};
        QVERIFY2(shown == expected,
                 qPrintable(QString::fromLatin1(row.name) + ": " + shown.join(" | ")));
    }
    // Eight equal pay-offs: both players fully successful whatever they do.
    for (int i = 0; i < 8; ++i) typeInto(window->txtParametro[i], QStringLiteral("2"));
    QCOMPARE(window->txtExito[1]->text(), QStringLiteral("(1) 1"));
    QCOMPARE(window->txtExito[2]->text(), QStringLiteral("(1) 1"));
    // The disposition bar moves its box.
    QTest::mouseClick(window->optSimult, Qt::LeftButton);
    typeInto(window->txtIrracional[1], QStringLiteral("0"));
    leaveBox(window->txtIrracional[1]);
    testing_ui::clickBar(window->hsbIrracional[1], QStyle::SC_ScrollBarAddPage);
    QCOMPARE(window->txtIrracional[1]->text(), QStringLiteral("0.1"));
}

void FrmPagosTest::cutPointOfParallelLinesIsEmpty() {
    QCOMPARE(window->txtPuntoCorte->text(), QStringLiteral("1"));  // prisoner's dilemma
    // R 1 - T 1 = -1 = R 2 - S 2: the lines never meet.
    typeInto(window->txtParametro[7], QStringLiteral("1"));
    typeInto(window->txtParametro[3], QStringLiteral("0"));
    leaveBox(window->txtParametro[3]);
    QCOMPARE(window->txtPuntoCorte->text(), QString());
    typeInto(window->txtParametro[3], QStringLiteral("2"));
    QCOMPARE(window->txtPuntoCorte->text(), QStringLiteral("1.5"));
}

void FrmPagosTest::screenshot() {
    chooseGame(*window, 1);
    typeInto(window->txtIrracional[1], QStringLiteral("0.5"));
    typeInto(window->txtIrracional[2], QStringLiteral("0.5"));
    QTest::mouseClick(window->optYo1, Qt::LeftButton);
    QVERIFY(testing_ui::saveScreenshot(window.get(), QStringLiteral("frmPagos")));
}

QTEST_MAIN(FrmPagosTest)
#include "frm_pagos_test.moc"
