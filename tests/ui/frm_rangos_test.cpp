// The limits window: rows and bounds, the scrolls pushing back, and what is refused.
#include "ui/frm_rangos.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "strategy/limits.h"
#include "support/fake_dialogs.h"
#include "ui/session.h"

using namespace morvane;
using testing_ui::typeInto;

namespace {

Rangos& rangos() {
    return Session::instance().world().Rangos;
}

}  // namespace

class FrmRangosTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        Session::instance().reset();
        dialogs = &testing_ui::installFakeDialogs();
        window = frmRangos::open();
        QVERIFY(testing_ui::showActive(window));
    }
    void cleanup() {
        if (window) window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void showsTheRowsOfEachPart();
    void scrollsTakeTheRowsBoundsAndPushBack();
    void refusesWhatIsNotALimitAndKeepsThePrevious();
    void aFilesLimitOutsideItsBoundsIsShownAndKept();
    void screenshot();

  private:
    QPointer<frmRangos> window;
    testing_ui::FakeDialogs* dialogs = nullptr;
};

void FrmRangosTest::showsTheRowsOfEachPart() {
    QCOMPARE(window->windowTitle(), QStringLiteral("Strategies limits"));
    QCOMPARE(window->lblParametro[7]->text(), QStringLiteral("Search Depth (x 64)"));
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
}

void FrmRangosTest::scrollsTakeTheRowsBoundsAndPushBack() {
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

void FrmRangosTest::refusesWhatIsNotALimitAndKeepsThePrevious() {
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
}

void FrmRangosTest::aFilesLimitOutsideItsBoundsIsShownAndKept() {
    rangos().limits[7][0] = {0, 20};  // as a file may hold it
    rangos().limits[12][0] = {60, 40};
    window->fill();
    QVERIFY(window->txtMin[7]->styleSheet().contains(QStringLiteral("background")));
    QCOMPARE(window->txtMin[7]->toolTip(),
             QStringLiteral("0 lies outside 1..15, as the file stored it; it is kept until you "
                            "type another limit."));
    typeInto(window->txtMin[9], QStringLiteral("10"));
    QTest::mouseClick(window->cmdAceptar, Qt::LeftButton);
    QCOMPARE(rangos().limits[7][0], (std::array<std::int32_t, 2>{0, 20}));
    QCOMPARE(rangos().limits[12][0], (std::array<std::int32_t, 2>{60, 40}));
    QCOMPARE(rangos().limits[9][0], (std::array<std::int32_t, 2>{10, 100}));
}

void FrmRangosTest::screenshot() {
    rangos().limits[7][0] = {0, 20};
    window->fill();
    typeInto(window->txtMin[9], QStringLiteral("20"));
    typeInto(window->txtMax[9], QStringLiteral("x"));
    window->resize(window->sizeHint());
    QVERIFY(testing_ui::saveScreenshot(window, QStringLiteral("frm_rangos")));
}

QTEST_MAIN(FrmRangosTest)
#include "frm_rangos_test.moc"
