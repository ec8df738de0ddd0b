// The settings windows "Main" opens. The pay-offs: catalogue, "Random", "Invert", "Restore", boxes
// and bars, the test panel, and what "OK" stores. The neighbourhoods: choosing a type, what the
// picture shows, the code it stores, the reservation bar and the share of the population.
#include "ui/frm_pagos.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "base/rng.h"
#include "core/startup.h"
#include "games/payoff.h"
#include "support/world_window_fixture.h"
#include "ui/frm_tipos_vecindario.h"
#include "ui/mouse_button.h"
#include "ui/session.h"

using namespace morvane;
using testing::theWorld;
using testing_ui::typeInto;

namespace {

PayoffCopy payoffs() {
    return payoffCopy(theWorld().payoffs);
}

QStringList texts(const std::vector<QLineEdit*>& boxes) {
    QStringList t;
    for (const QLineEdit* b : boxes) t << b->text();
    return t;
}

QStringList payoffTexts(const frmPagos& f) {
    return texts({f.txtParametro.begin(), f.txtParametro.begin() + 8});
}

// Leaves the focused box with the Tab key and lets the window answer.
void leaveBox(QWidget* box) {
    QTest::keyClick(box, Qt::Key_Tab);
    QCoreApplication::processEvents();
}

// Chooses a game with the keyboard; Home then Down and Up so that the first game is chosen too.
void chooseGame(frmPagos& f, int i) {
    QTest::keyClick(f.cmbJuegos, Qt::Key_Home);
    QTest::keyClick(f.cmbJuegos, Qt::Key_Down);
    QTest::keyClick(f.cmbJuegos, Qt::Key_Up);
    for (int k = 0; k < i; ++k) QTest::keyClick(f.cmbJuegos, Qt::Key_Down);
}

void makeWorld(int columns, int rows) {
    World& w = theWorld();
    w.NumColumnas = static_cast<std::int16_t>(columns);
    w.NumFilas = static_cast<std::int16_t>(rows);
    Rng rng(11);
    startWorld(w, rng);
}

// The picture's texts for positions 0..23: every position of `numbers` shows its number, every
// position of `random` a "?", the rest nothing.
QStringList picture(const std::vector<int>& numbers, const std::vector<int>& random) {
    QStringList texts;
    for (int j = 0; j < kNumPositions; ++j) texts << QString();
    for (int j : numbers) texts[j] = QString::number(j);
    for (int j : random) texts[j] = QStringLiteral("?");
    return texts;
}

QStringList shown(const frmTiposVecindario& f) {
    QStringList texts;
    for (int j = 0; j < kNumPositions; ++j) texts << f.txtJugador[j]->text();
    return texts;
}

// A radio button answers clicks on its circle and caption, not on the empty rest of its row.
void clickOption(QRadioButton* option) {
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
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
    void cleanup() {
        window.reset();
        hoods.reset();
    }

    void fillsFromTheSettingsKeepingEveryDigit();
    void gamesInvertRandomAndRestore();
    void payoffEditsActAtOnceOtherSettingsOnOk();
    void boxesAndBarsFollowEachOther();
    void refusedTextKeepsTheLastValueAndOkRefuses();
    void testPanelPlaysOneMove();
    void choosingANeighbourhoodStoresItAndShowsItsPicture();
    void optionSevenIsKeptReopeningSelectsTheTypeAndTheShareIsShown();

  private:
    // The neighbourhoods window on a 5 x 5 world, shown over the pay-offs window.
    bool openNeighbourhoods() {
        makeWorld(5, 5);
        hoods = std::make_unique<frmTiposVecindario>();
        hoods->refill();
        return testing_ui::showActive(hoods.get());
    }

    std::unique_ptr<frmPagos> window;
    std::unique_ptr<frmTiposVecindario> hoods;
};

void FrmPagosTest::fillsFromTheSettingsKeepingEveryDigit() {
    World& w = theWorld();
    setPayoffs(w.payoffs, {3.14159f, 4, 2.005f, 3, 1, 1, 0, -0.25f});
    w.UmbralReproduccion = 60.5f;  // beyond its bar
    w.UmbralHoy = 0.333f;
    w.FrecMutacion = 0.0126f;
    w.PasoCoop = 7;
    window->EmpezarPorAqui();
    const frmPagos& f = *window;
    QCOMPARE(payoffTexts(f), (QStringList{"3.14159", "4", "2.005", "3", "1", "1", "0", "-0.25"}));
    QCOMPARE(texts({f.txtParametro[9], f.txtParametro[10], f.txtParametro[12], f.txtParametro[13]}),
             (QStringList{"60.5", "0.333", "0.0126", "7"}));
    // Bars hold value x scale as a 32-bit float, halves to even: 2.005 is held as 2.0050001.
    const std::vector<std::pair<int, int>> bars{{0, 314}, {2, 201}, {7, 0}, {9, 5000},
                                                {10, 33}, {12, 13}, {13, 7}};
    for (const auto& [i, bar] : bars)
        QVERIFY2(f.hsbParametro[i]->value() == bar, qPrintable(QString::number(i)));
    QCOMPARE(w.restorePayoffs, payoffs());
    QVERIFY(f.optSimult->isChecked() && f.hsbParametro[11] == nullptr);
}

void FrmPagosTest::gamesInvertRandomAndRestore() {
    struct Row {
        int game;
        QString boxes;  // T 1, T 2, R 1, R 2, P 1, P 2, S 1, S 2
        QString prob1, prob2, move1;
    };
    const std::vector<Row> games{
        {2, "2 3 4 1 3 2 1 4", "0 / 0.5 / 1", "0 / 0.5 / 1", "Player 1 -> 0"},  // Brian y Jane
        {3, "9 0 1 9 0 0 0 1", "0 / 0 / 1", "0 / 1 / 1", "Player 1 -> 1"},      // Ultimatum
        {0, "4 4 3 3 1 1 0 0", "0 / 0 / 1", "0 / 0 / 1", "Player 1 -> 1"},      // first in the list
    };
    for (const Row& row : games) {
        chooseGame(*window, row.game);
        QCOMPARE(payoffTexts(*window).join(' '), row.boxes);
        QCOMPARE(texts({window->txtProb[1], window->txtProb[2]}),
                 (QStringList{row.prob1, row.prob2}));
        QCOMPARE(window->lblJugador1_C->text(), row.move1);
        QCOMPARE(theWorld().payoffs.GameIndex, std::int16_t(row.game));
    }

    // "Invert" passes the pressed button on (what each button exchanges is the pay-off command
    // tests'): Brian y Jane with its roles exchanged.
    chooseGame(*window, 2);
    QTest::mousePress(window->cmdInvertir, Qt::LeftButton);
    QTest::mouseRelease(window->cmdInvertir, Qt::LeftButton);
    QCOMPARE(payoffTexts(*window).join(' '), QStringLiteral("2 4 4 2 3 1 1 3"));
    QCOMPARE(window->txtParametro[0]->text().toFloat(), payoffs()[0]);

    // "Random" shows every digit of its draw; "Restore" returns to the pay-offs at opening.
    Session::instance().seed(5);
    const int gameIndex = theWorld().payoffs.GameIndex;
    QTest::mouseClick(window->cmdAzar, Qt::LeftButton);
    // Pay-offs no game of the catalogue has show "Custom"; the game index stays.
    QCOMPARE(window->cmbJuegos->currentText(), QStringLiteral("Custom"));
    QCOMPARE(int(theWorld().payoffs.GameIndex), gameIndex);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(window->txtParametro[i]->text().toFloat(), payoffs()[i]);
        QCOMPARE(window->hsbParametro[i]->value(), int(std::nearbyint(payoffs()[i] * 100.0f)));
    }
    QTest::mouseClick(window->cmdRestaurar, Qt::LeftButton);
    QCOMPARE(payoffTexts(*window).join(' '), QStringLiteral("4 4 3 3 1 1 0 0"));
    QCOMPARE(payoffs(), theWorld().restorePayoffs);
    QCOMPARE(window->cmbJuegos->currentText(), QString::fromUtf8(gameCatalogue()[0].name));
    QCOMPARE(window->cmbJuegos->count(), int(gameCatalogue().size()));
    // Swapping the moves of the prisoner's dilemma is no game of the catalogue either.
    QTest::mousePress(window->cmdInvertir, Qt::RightButton);
    QTest::mouseRelease(window->cmdInvertir, Qt::RightButton);
    QCOMPARE(payoffTexts(*window).join(' '), QStringLiteral("0 0 1 1 3 3 4 4"));
    QCOMPARE(window->cmbJuegos->currentText(), QStringLiteral("Custom"));
}

void FrmPagosTest::payoffEditsActAtOnceOtherSettingsOnOk() {
    World& w = theWorld();
    Rng rng(3);
    startWorld(w, rng);
    QSignalSpy thresholds(&Session::instance(), &Session::thresholdsChanged);
    typeInto(window->txtParametro[0], QStringLiteral("5.5"));
    QCOMPARE(w.payoffs.PayoffMax[1], 5.5f);  // live before any "OK"
    typeInto(window->txtParametro[8], QStringLiteral("2.5"));
    typeInto(window->txtParametro[12], QStringLiteral("0.02"));
    typeInto(window->txtParametro[13], QStringLiteral("150"));
    QVERIFY(w.UmbralSupervivencia == 0.0f && w.FrecMutacion == 0.005f && w.PasoCoop == 10);
    QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
    QVERIFY(w.UmbralSupervivencia == 2.5f && w.FrecMutacion == 0.02f && w.PasoCoop == 150);
    QCOMPARE(thresholds.count(), 1);
    QVERIFY(!window->isVisible());

    // Closed any other way, the window keeps the live pay-offs and drops the rest.
    window->EmpezarPorAqui();
    QVERIFY(testing_ui::showActive(window.get()));
    typeInto(window->txtParametro[1], QStringLiteral("6"));
    typeInto(window->txtParametro[9], QStringLiteral("3"));
    window->close();
    QVERIFY(w.payoffs.T[2] == 6.0f && w.UmbralReproduccion == 0.0f);

    // Without a world there are no threshold captions to refresh.
    Session::instance().reset();
    window->EmpezarPorAqui();
    QVERIFY(testing_ui::showActive(window.get()));
    QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
    QCOMPARE(thresholds.count(), 1);
}

void FrmPagosTest::boxesAndBarsFollowEachOther() {
    // A box is taken over by its bar when it is left; a number beyond the bar leaves it alone.
    const std::vector<std::tuple<int, QString, int>> typed{
        {12, "0.01", 10}, {13, "150", 10}, {2, "2.345", 234}, {0, "12", 400}, {10, "49.5", 4950}};
    for (const auto& [i, text, bar] : typed) {
        window->EmpezarPorAqui();
        typeInto(window->txtParametro[i], text);
        leaveBox(window->txtParametro[i]);
        QVERIFY2(window->hsbParametro[i]->value() == bar && window->txtParametro[i]->text() == text,
                 qPrintable(text));
    }
    // A bar writes its box on its own scale.
    window->EmpezarPorAqui();
    const std::vector<std::tuple<int, QStyle::SubControl, QString>> moved{
        {12, QStyle::SC_ScrollBarAddPage, "0.015"},
        {4, QStyle::SC_ScrollBarAddLine, "1.01"},
        {13, QStyle::SC_ScrollBarSubLine, "9"}};
    for (const auto& [i, part, text] : moved) {
        testing_ui::clickBar(window->hsbParametro[i], part);
        QCOMPARE(window->txtParametro[i]->text(), text);
    }
    QCOMPARE(theWorld().payoffs.P[1], 1.01f);
}

// Text that is no number for its box, or a pay-off whose scores could overflow, is refused.
void FrmPagosTest::refusedTextKeepsTheLastValueAndOkRefuses() {
    const QString beyond =
        QStringLiteral("lies beyond -1.33444e+36..1.33444e+36, where scores would overflow");
    struct Row {
        int i;  // box index; negative for a player's disposition
        QString typed;
        float kept;     // the last number the typing went through, else the box's first value
        bool accepted;  // leaving and "OK" take it
        QString why;    // the box's tooltip once refused, where it is checked
    };
    const std::vector<Row> rows{
        {0, "", 4, false, {}},
        {1, "abc", 4, false, {}},
        {2, "-", 3, false, {}},
        {3, "1e39", 1000, false, {}},  // via "1e3"
        {4, "nan", 1, false, {}},
        {5, "inf", 1, false, {}},
        {13, "0", 10, false, {}},
        {13, "40000", 4000, false, {}},
        {9, "", 0, false, {}},
        {-1, "1.5", 1, false, {}},
        {-2, "-0.1", 0, false, {}},
        {0, "1.334e36", 1.334e36f, true, {}},
        {7, "-1.334e36", -1.334e36f, true, {}},
        {3, "2e36", 2000, false, beyond},      // via "2e3"
        {6, "-1.4e36", -1400, false, beyond},  // via "-1.4e3"
    };
    for (const Row& row : rows) {
        const QByteArray bytes = row.typed.toUtf8();
        const char* name = bytes.constData();
        window = std::make_unique<frmPagos>();
        window->EmpezarPorAqui();
        QVERIFY(testing_ui::showActive(window.get()));
        QLineEdit* box = row.i >= 0 ? window->txtParametro[row.i] : window->txtIrracional[-row.i];
        typeInto(box, row.typed);
        if (row.i >= 0) QVERIFY2(window->parametro(row.i) == row.kept, name);
        if (row.i >= 0 && row.i < 8) QVERIFY2(payoffs()[row.i] == row.kept, name);
        if (row.i < 0)
            QCOMPARE(window->txtMov[-row.i]->text(), QStringLiteral("[%1]").arg(row.kept));
        leaveBox(box);
        if (row.accepted) {
            QTRY_VERIFY2(!box->hasFocus(), name);
            QVERIFY2(box->toolTip().isEmpty(), name);
            QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
            QCoreApplication::processEvents();
            QVERIFY2(!window->isVisible() && payoffs()[row.i] == row.kept, name);
            continue;
        }
        // Leaving is refused: the focus comes back, the text stays.
        QTRY_VERIFY2(box->hasFocus(), name);
        QVERIFY2(box->text() == row.typed, name);
        if (!row.why.isEmpty()) QVERIFY2(box->toolTip() == row.why, name);
        if (row.i < 0) continue;
        // "OK" stores nothing, keeps the window open and puts the focus in the box.
        QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY2(window->isVisible() && box->hasFocus(), name);
        QVERIFY2(theWorld().PasoCoop == 10 && theWorld().UmbralReproduccion == 0.0f, name);
        if (row.i < 8) QVERIFY2(payoffs()[row.i] == row.kept, name);
    }
}

// The panel shows what the engine's test panel gives (its games, orders and dispositions are the
// test panel tests'): chicken, player 1 first.
void FrmPagosTest::testPanelPlaysOneMove() {
    QCOMPARE(window->txtPuntoCorte->text(), QStringLiteral("1"));  // prisoner's dilemma
    const frmPagos& f = *window;
    chooseGame(*window, 1);
    typeInto(window->txtIrracional[1], QStringLiteral("0.5"));
    typeInto(window->txtIrracional[2], QStringLiteral("0.5"));
    QTest::mouseClick(window->optYo1, Qt::LeftButton);
    // x(1) = 0.5 = p(1), so player 2 answers 0: U1 = 0.5, U2 = 2 one after the other.
    QCOMPARE(
        texts({f.txtMov[1], f.txtMov[2], f.txtExito[1], f.txtExito[2], f.txtIa[1], f.txtIa[2],
               f.txtPago[1], f.txtPago[2]})
            .join(' '),
        QStringLiteral("[0.5] [0.5] (0.125) 0.5 (0.5) 0.5 (0.688) 0.5 (0.312) 0.5 (0.5) 2 (2) 2"));
    // "Player 2 first" mirrors it in this symmetric game.
    const QString firstPays = f.txtPago[2]->text();
    QTest::mouseClick(window->optEl1, Qt::LeftButton);
    QCOMPARE(f.txtPago[1]->text(), firstPays);
    QVERIFY(testing_ui::saveScreenshot(window.get(), QStringLiteral("frmPagos")));
    // Eight equal pay-offs: the two lines of the cut point coincide, so it has no value to show;
    // it is worked out again at every change.
    for (int i = 0; i < 8; ++i) typeInto(window->txtParametro[i], QStringLiteral("2"));
    QCOMPARE(window->txtPuntoCorte->text(), QString());
    typeInto(window->txtParametro[7], QStringLiteral("1"));  // S 2
    typeInto(window->txtParametro[3], QStringLiteral("3"));  // R 2: y = 1 + 2x meets y = 2
    QCOMPARE(window->txtPuntoCorte->text(), QStringLiteral("0.5"));

    // The disposition bar moves its box.
    typeInto(window->txtIrracional[1], QStringLiteral("0"));
    leaveBox(window->txtIrracional[1]);
    testing_ui::clickBar(window->hsbIrracional[1], QStyle::SC_ScrollBarAddPage);
    QCOMPARE(window->txtIrracional[1]->text(), QStringLiteral("0.1"));
}

void FrmPagosTest::choosingANeighbourhoodStoresItAndShowsItsPicture() {
    QVERIFY(openNeighbourhoods());
    struct Row {
        int type;
        int code, repes, mask, reservation;
        QStringList boxes;
    };
    const std::vector<Row> rows{
        {0, 1, 4, 20485, 1, picture({0, 2, 12, 14}, {})},
        {6, 31, 8, 0x550550, 8, picture({}, {4, 6, 8, 10, 16, 18, 20, 22})},
        {4, 24, 8, 61455, 8, picture({1, 3, 13, 15}, {0, 2, 12, 14})},  // positions 0..3, 12..15
    };
    QSignalSpy chosen(&Session::instance(), &Session::neighbourhoodChosen);
    for (const Row& row : rows) {
        const QString name = hoods->optTipoVecindario[row.type]->text();
        clickOption(hoods->optTipoVecindario[row.type]);
        const Neighbourhood& v = theWorld().neighbourhood;
        QVERIFY2(v.CodVecin[kActual] == row.code, qPrintable(name));
        QVERIFY2(v.CodVecin[kPrevio] == 2, qPrintable(name));  // in force only at the next step
        QVERIFY2(v.Repes == row.repes, qPrintable(name));
        QVERIFY2(shown(*hoods) == row.boxes, qPrintable(name + ": " + shown(*hoods).join(',')));
        QCOMPARE(hoods->lineCodVecin->text(), QStringLiteral("CodVecin: %1").arg(row.code));
        QCOMPARE(hoods->lineVecinosFijos->text(),
                 QStringLiteral("Vecinos fijos: %1").arg(row.mask));
        QCOMPARE(hoods->hsbReservar->value(), row.reservation);
        QCOMPARE(hoods->txtReservar->text(), QString::number(row.reservation));
    }
    QCOMPARE(chosen.count(), int(rows.size()));
    // Choosing the type in force again changes nothing and says nothing.
    clickOption(hoods->optTipoVecindario[4]);
    QCOMPARE(chosen.count(), int(rows.size()));
    QVERIFY(testing_ui::saveScreenshot(hoods.get(), QStringLiteral("frmTiposVecindario")));

    clickOption(hoods->optTipoVecindario[12]);
    // Rows of the 5 x 5 picture, top first, read off the boxes' places on the screen.
    const std::vector<QStringList> expected{{"22", "23", "4", "5", "6"},
                                            {"21", "15", "0", "1", "7"},
                                            {"20", "14", "", "2", "8"},
                                            {"19", "13", "12", "3", "9"},
                                            {"18", "17", "16", "11", "10"}};
    std::map<int, std::map<int, QString>> byPlace;
    for (int j = 0; j <= kNumPositions; ++j) {
        const QPoint p = hoods->txtJugador[j]->mapTo(hoods.get(), QPoint(0, 0));
        byPlace[p.y()][p.x()] = hoods->txtJugador[j]->text();
    }
    QCOMPARE(byPlace.size(), std::size_t(5));
    int r = 0;
    for (const auto& [y, row] : byPlace) {
        QStringList texts;
        for (const auto& [x, text] : row) texts << text;
        QCOMPARE(texts, expected[r++]);
    }

    // The reservation bar stays within the partners of the type.
    clickOption(hoods->optTipoVecindario[3]);  // 8 random partners
    QCOMPARE(hoods->hsbReservar->value(), 8);
    testing_ui::clickBar(hoods->hsbReservar, QStyle::SC_ScrollBarSubLine);
    QCOMPARE(hoods->txtReservar->text(), QStringLiteral("7"));
    testing_ui::clickBar(hoods->hsbReservar, QStyle::SC_ScrollBarAddPage, 3);
    QCOMPARE(hoods->hsbReservar->value(), 8);
    QCOMPARE(hoods->txtReservar->text(), QStringLiteral("8"));
}

void FrmPagosTest::optionSevenIsKeptReopeningSelectsTheTypeAndTheShareIsShown() {
    QVERIFY(openNeighbourhoods());
    theWorld().options.mnuOpcion[7] = true;
    clickOption(hoods->optTipoVecindario[12]);
    QCOMPARE(theWorld().neighbourhood.CodVecin[kActual], std::uint8_t(34));
    hoods = std::make_unique<frmTiposVecindario>();
    hoods->refill();
    QVERIFY(hoods->optTipoVecindario[12]->isChecked());
    QCOMPARE(theWorld().neighbourhood.CodVecin[kActual], std::uint8_t(34));

    // A code no type has (an edited file) opens on type 0.
    theWorld().neighbourhood.CodVecin[kActual] = 5;
    theWorld().options.mnuOpcion[7] = false;
    auto* opened = frmTiposVecindario::open();
    QVERIFY(opened->optTipoVecindario[0]->isChecked());
    QCOMPARE(theWorld().neighbourhood.CodVecin[kActual], std::uint8_t(1));
    QCOMPARE(frmTiposVecindario::open(), opened);  // one window, refilled
    QPointer<frmTiposVecindario> alive = opened;
    opened->close();
    QTRY_VERIFY(alive.isNull());

    // The share of the population a cell plays against.
    struct Row {
        int columns, rows, type;
        QString line;
    };
    const QString prefix = QStringLiteral("Porcentaje de la población contra la que juega: ");
    const std::vector<Row> table{
        {40, 50, 12, prefix + QStringLiteral("24 / 1999 = 1.2 % ")},
        {5, 5, 0, prefix + QStringLiteral("4 / 24 = 16.67 % ")},
        // A one-cell world has nobody to meet: no quotient.
        {1, 1, 12, prefix + QStringLiteral("24 / 0")},
    };
    for (const Row& row : table) {
        makeWorld(row.columns, row.rows);
        hoods->refill();
        clickOption(hoods->optTipoVecindario[row.type]);
        QCOMPARE(hoods->lblPorcentaje->text(), row.line);
    }
}

QTEST_MAIN(FrmPagosTest)
#include "frm_pagos_test.moc"
