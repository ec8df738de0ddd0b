// The "Neighbourhoods" window: choosing a type, what the picture shows, the code and partner count
// it stores, the reservation bar and the share of the population.
#include "ui/frm_tipos_vecindario.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "base/rng.h"
#include "core/startup.h"
#include "support/fake_dialogs.h"
#include "ui/session.h"

using namespace morvane;

namespace {

World& world() {
    return Session::instance().world();
}

void makeWorld(int columns, int rows) {
    World& w = world();
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

class FrmTiposVecindarioTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        Session::instance().reset();
        testing_ui::installFakeDialogs();
        makeWorld(5, 5);
        window = std::make_unique<frmTiposVecindario>();
        window->refill();
        QVERIFY(testing_ui::showActive(window.get()));
    }
    void cleanup() { window.reset(); }

    void choosingATypeStoresItAndShowsItsPositions();
    void picturesLieRoundTheCell();
    void optionSevenIsKeptAndReopeningSelectsTheType();
    void reservationStaysWithinThePartners();
    void percentageOfThePopulation();
    void screenshot();

  private:
    std::unique_ptr<frmTiposVecindario> window;
};

void FrmTiposVecindarioTest::choosingATypeStoresItAndShowsItsPositions() {
    struct Row {
        int type;
        int code, repes, mask, reservation;
        QStringList boxes;
    };
    const std::vector<Row> rows{
        {0, 1, 4, 20485, 1, picture({0, 2, 12, 14}, {})},
        {4, 24, 8, 61455, 8, picture({1, 3, 13, 15}, {0, 2, 12, 14})},  // positions 0..3, 12..15
        {6, 31, 8, 0x550550, 8, picture({}, {4, 6, 8, 10, 16, 18, 20, 22})},
    };
    QSignalSpy chosen(&Session::instance(), &Session::neighbourhoodChosen);
    for (const Row& row : rows) {
        const QString name = window->optTipoVecindario[row.type]->text();
        clickOption(window->optTipoVecindario[row.type]);
        const Neighbourhood& v = world().neighbourhood;
        QVERIFY2(v.CodVecin[kActual] == row.code, qPrintable(name));
        QVERIFY2(v.CodVecin[kPrevio] == 2, qPrintable(name));  // in force only at the next step
        QVERIFY2(v.Repes == row.repes, qPrintable(name));
        QVERIFY2(v.MascaraVecinos[kActual] == row.mask, qPrintable(name));
        QVERIFY2(shown(*window) == row.boxes, qPrintable(name + ": " + shown(*window).join(',')));
        QCOMPARE(window->lineCodVecin->text(), QStringLiteral("CodVecin: %1").arg(row.code));
        QCOMPARE(window->lineVecinosFijos->text(),
                 QStringLiteral("Vecinos fijos: %1").arg(row.mask));
        QCOMPARE(window->hsbReservar->value(), row.reservation);
        QCOMPARE(window->txtReservar->text(), QString::number(row.reservation));
    }
    QCOMPARE(chosen.count(), int(rows.size()));
    // Choosing the type in force again changes nothing and says nothing.
    clickOption(window->optTipoVecindario[6]);
    QCOMPARE(chosen.count(), int(rows.size()));
}

void FrmTiposVecindarioTest::picturesLieRoundTheCell() {
    clickOption(window->optTipoVecindario[12]);
    // Rows of the 5 x 5 picture, top first, read off the boxes' places on the screen.
    const std::vector<QStringList> expected{{"22", "23", "4", "5", "6"},
                                            {"21", "15", "0", "1", "7"},
                                            {"20", "14", "", "2", "8"},
                                            {"19", "13", "12", "3", "9"},
                                            {"18", "17", "16", "11", "10"}};
    std::map<int, std::map<int, QString>> byPlace;
    for (int j = 0; j <= kNumPositions; ++j) {
        const QPoint p = window->txtJugador[j]->mapTo(window.get(), QPoint(0, 0));
        byPlace[p.y()][p.x()] = window->txtJugador[j]->text();
    }
    QCOMPARE(byPlace.size(), std::size_t(5));
    int r = 0;
    for (const auto& [y, row] : byPlace) {
        QStringList texts;
        for (const auto& [x, text] : row) texts << text;
        QCOMPARE(texts, expected[r++]);
    }
}

void FrmTiposVecindarioTest::optionSevenIsKeptAndReopeningSelectsTheType() {
    world().options.mnuOpcion[7] = true;
    clickOption(window->optTipoVecindario[12]);
    QCOMPARE(world().neighbourhood.CodVecin[kActual], std::uint8_t(34));
    window = std::make_unique<frmTiposVecindario>();
    window->refill();
    QVERIFY(window->optTipoVecindario[12]->isChecked());
    QCOMPARE(world().neighbourhood.CodVecin[kActual], std::uint8_t(34));

    // A code no type has (an edited file) opens on type 0.
    world().neighbourhood.CodVecin[kActual] = 5;
    world().options.mnuOpcion[7] = false;
    auto* opened = frmTiposVecindario::open();
    QVERIFY(opened->optTipoVecindario[0]->isChecked());
    QCOMPARE(world().neighbourhood.CodVecin[kActual], std::uint8_t(1));
    QCOMPARE(frmTiposVecindario::open(), opened);  // one window, refilled
    QPointer<frmTiposVecindario> alive = opened;
    opened->close();
    QTRY_VERIFY(alive.isNull());
}

void FrmTiposVecindarioTest::reservationStaysWithinThePartners() {
    clickOption(window->optTipoVecindario[3]);  // 8 random partners
    QCOMPARE(window->hsbReservar->value(), 8);
    testing_ui::clickBar(window->hsbReservar, QStyle::SC_ScrollBarSubLine);
    QCOMPARE(window->txtReservar->text(), QStringLiteral("7"));
    testing_ui::clickBar(window->hsbReservar, QStyle::SC_ScrollBarAddPage, 3);
    QCOMPARE(window->hsbReservar->value(), 8);
    QCOMPARE(window->txtReservar->text(), QStringLiteral("8"));
    testing_ui::clickBar(window->hsbReservar, QStyle::SC_ScrollBarSubPage, 10);
    QCOMPARE(window->txtReservar->text(), QStringLiteral("1"));
}

void FrmTiposVecindarioTest::percentageOfThePopulation() {
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
        window->refill();
        clickOption(window->optTipoVecindario[row.type]);
        QCOMPARE(window->lblPorcentaje->text(), row.line);
    }
}

void FrmTiposVecindarioTest::screenshot() {
    clickOption(window->optTipoVecindario[4]);
    QVERIFY(testing_ui::saveScreenshot(window.get(), QStringLiteral("frmTiposVecindario")));
}

QTEST_MAIN(FrmTiposVecindarioTest)
#include "frm_tipos_vecindario_test.moc"
