// The distribution window: rows at start-up, equal shares, normalising, and "Fill world".
#include "ui/frm_distribuir.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "support/world_window_fixture.h"

using namespace morvane;
using namespace morvane::testing;

class FrmDistribuirTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        win = openWorldWindow(6, 5, &dialogs);
        window = frmDistribuir::open();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() {
        if (window) window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        win.reset();
    }

    void startUpRows();
    void equalSharesAmongTheActiveRows();
    void normalizeAndFillWorld();
    void screenshot();

  private:
    void activate(int n) {
        for (int i = 0; i < kDistributionRows; ++i) window->chkActivo[i]->setChecked(i < n);
    }

    std::unique_ptr<frmPartidas> win;
    QPointer<frmDistribuir> window;
    FakeDialogs* dialogs = nullptr;
};

void FrmDistribuirTest::startUpRows() {
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
}

void FrmDistribuirTest::equalSharesAmongTheActiveRows() {
    const struct {
        int active;
        QString each, total;
        bool fills;
    } rows[] = {{3, "33.3", "99.9", false},
                {4, "25", "100", true},
                {6, "16.7", "100.2", false},
                {16, "6.2", "99.2", false},
                {0, "6.2", "0", false}};
    for (const auto& r : rows) {
        activate(r.active);
        QTest::mouseClick(window->cmdIgualar, Qt::LeftButton);
        QCOMPARE(window->txtPorcion[0]->text(), r.each);
        QCOMPARE(window->txtTotal->text(), r.total);
        QCOMPARE(window->cmdRepartir->isEnabled(), r.fills);
        if (!r.fills && r.active > 0)
            QCOMPARE(window->cmdRepartir->toolTip(),
                     QStringLiteral("The active rows of the distribution add up to %1 %, not 100: "
                                    "the world is not filled. Change the portions or press "
                                    "\"Normalize to 100\".")
                         .arg(r.total.contains('.') ? r.total : r.total + ".0"));
    }
    // No active row: the portions stay, nothing to normalise, and "Fill world" says why.
    QVERIFY(!window->normalizeButton->isEnabled());
    QCOMPARE(window->cmdRepartir->toolTip(),
             QStringLiteral("No active row has a portion: tick a strategy in \"Distribute %\" and "
                            "give it a portion before filling the world."));
}

void FrmDistribuirTest::normalizeAndFillWorld() {
    activate(3);
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

void FrmDistribuirTest::screenshot() {
    theWorld().ListaEstrategias[8].name = "Generous";
    theWorld().ListaEstrategias[8].genoma = theWorld().ListaEstrategias[6].genoma;
    window->fill();
    window->chkActivo[7]->setChecked(true);
    window->hsbPorcion[7]->setValue(150);
    window->resize(window->sizeHint());
    QVERIFY(testing_ui::saveScreenshot(window, QStringLiteral("frm_distribuir")));
}

QTEST_MAIN(FrmDistribuirTest)
#include "frm_distribuir_test.moc"
