// The about box: its texts, "&System Info" and "OK".
#include "ui/frm_about.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "support/fake_dialogs.h"

using namespace morvane;

class FrmAboutTest : public QObject {
    Q_OBJECT
  private slots:
    void systemInfoShowsWhatTheProgramKnowsAndKeepsTheBoxOpen() {
        frmAbout about;
        QVERIFY(testing_ui::showActive(&about));
        QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
        QMessageBox* box = about.sysInfoBox();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowTitle(), QStringLiteral("System Info"));
        const QString text = box->text();
        for (const QString& part : {QStringLiteral("System: "), QStringLiteral("Kernel: "),
                                    QStringLiteral("Processor: "), QStringLiteral("Qt: 6.")})
            QVERIFY2(text.contains(part), qPrintable(text));
        QVERIFY(text.contains(QSysInfo::kernelVersion()));
        QVERIFY(text.contains(QSysInfo::currentCpuArchitecture()));
        QVERIFY(about.isVisible());
        QVERIFY(testing_ui::saveScreenshot(box, QStringLiteral("frmAbout_sysinfo")));

        QTest::mouseClick(about.cmdOK, Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    void screenshotShowsTitleAndVersion() {
        frmAbout about;
        QCOMPARE(about.windowTitle(), QStringLiteral("Acerca de Morvane"));
        QCOMPARE(about.lblTitle->text(), QStringLiteral("Morvane"));
        QCOMPARE(about.lblVersion->text(), QStringLiteral("Versión 10.25.1"));
        QCOMPARE(about.lblDescription->text(), QStringLiteral("Ya veremos qué escribimos aquí..."));
        QVERIFY(!about.lblDisclaimer->text().isEmpty());
        QCOMPARE(about.cmdSysInfo->text(), QStringLiteral("&System Info"));
        QVERIFY(!about.picIcon->pixmap().isNull());
        QVERIFY(testing_ui::showActive(&about));
        QVERIFY(testing_ui::saveScreenshot(&about, QStringLiteral("frmAbout")));
    }
};

QTEST_MAIN(FrmAboutTest)
#include "frm_about_test.moc"
