// The start-up window "Main": entrepreneur layout, "Start", "Open", closing, the about box and the
// command line.
#include "ui/frm_principal.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "base/rng.h"
#include "core/startup.h"
#include "games/payoff.h"
#include "io/scenario_file.h"
#include "support/world_window_fixture.h"
#include "ui/frm_about.h"
#include "ui/frm_rangos.h"
#include "ui/session.h"

using namespace morvane;

namespace {

// The upper arrow of a start-up bar raises its number; Home takes it to the top, End to the bottom.
void arrow(UpwardBar* bar, bool upper, int times = 1) {
    testing_ui::clickBar(bar, upper ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine,
                         times);
}

// Opens a menu of the menu bar with the mouse and clicks one of its entries (or the bar's own).
void clickMenu(QMainWindow* window, QMenu* menu, QAction* entry) {
    QMenuBar* bar = window->menuBar();
    QAction* top = menu ? menu->menuAction() : entry;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
    if (!menu) return;
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const std::string& text) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(text.data(), static_cast<qint64>(text.size()));
    return f.fileName();
}

}  // namespace

class FrmPrincipalTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        dialogs = &testing_ui::installFakeDialogs();
        window = std::make_unique<frmPrincipal>();
        made = 0;
        window->setWorldWindowFactory([this] {
            ++made;
            return new QWidget;
        });
        QVERIFY(testing_ui::showActive(window.get()));
    }
    void cleanup() { window.reset(); }

    void verticalBarsShowTheirLargestValueAtTheTop();
    void entrepreneurBarsFitTheWorldAndLayItOut();
    void startCreatesTheWorldTheBarsShow();
    void openLoadsAScenarioOrReportsWhyNot();
    void closingMainClosesEveryWindow();
    void commandLineNeedsNoDisplay();
    void aboutBoxSystemInfoShowsWhatTheProgramKnowsAndKeepsTheBoxOpen();
    void aboutBoxScreenshotShowsTitleAndVersion();
    void screenshot();

  private:
    testing_ui::FakeDialogs* dialogs = nullptr;
    std::unique_ptr<frmPrincipal> window;
    int made = 0;
};

void FrmPrincipalTest::verticalBarsShowTheirLargestValueAtTheTop() {
    UpwardBar* rows = window->vsbFilas;
    arrow(rows, true, 3);
    arrow(rows, false);
    QCOMPARE(window->txtFilas->text(), QStringLiteral("42"));
    QTest::keyClick(rows, Qt::Key_Home);
    QCOMPARE(window->txtFilas->text(), QStringLiteral("50"));
    // At its largest number the thumb touches the upper arrow: clicking just below the arrow
    // hits the thumb, which moves nothing.
    const int belowArrow = rows->width() + 2;
    QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(rows->width() / 2, belowArrow));
    QCOMPARE(rows->number(), 50);
    QTest::mouseClick(rows, Qt::LeftButton, {},
                      QPoint(rows->width() / 2, rows->height() - belowArrow));
    QCOMPARE(rows->number(), 49);  // the track below the thumb lowers it
}

void FrmPrincipalTest::entrepreneurBarsFitTheWorldAndLayItOut() {
    // What the bars and boxes show (in Col, Distance X, in Row, Distance Y, Columns, Rows) and
    // the picture: each entrepreneur followed by its distance in empty rows and columns.
    auto expectLayout = [this](std::array<int, 6> expected, int firstRedCol) {
        const frmPrincipal& f = *window;
        const std::array<std::pair<UpwardBar*, QLineEdit*>, 6> shown{
            {{f.vsbColEmp, f.txtColEmp},
             {f.vsbDistCol, f.txtDistCol},
             {f.vsbFilEmp, f.txtFilEmp},
             {f.vsbDistFil, f.txtDistFil},
             {f.vsbColumnas, f.txtColumnas},
             {f.vsbFilas, f.txtFilas}}};
        for (std::size_t i = 0; i < shown.size(); ++i) {
            QCOMPARE(shown[i].first->number(), expected[i]);
            QCOMPARE(shown[i].second->text(), QString::number(expected[i]));
        }
        QCOMPARE(f.fxgTablero->grid().Cols, expected[4]);
        QCOMPARE(f.fxgTablero->grid().Rows, expected[5]);
        for (int r = 0; r < expected[5]; ++r)
            for (int c = 0; c < expected[4]; ++c) {
                const bool red = c % (expected[1] + 1) == firstRedCol && r % 3 == 1;
                QVERIFY2(f.fxgTablero->cellColour(r, c) == (red ? QColor(255, 0, 0) : Qt::white),
                         qPrintable(QStringLiteral("%1,%2").arg(r).arg(c)));
            }
    };
    arrow(window->vsbColEmp, true);  // any move of a bar lays the world out
    arrow(window->vsbColEmp, false);
    expectLayout({3, 2, 3, 2, 9, 9}, 1);  // entrepreneurs at 1, 4, 7
    // 19 per row fit at distance 1; back at distance 2 they are lowered to 13.
    arrow(window->vsbDistCol, false);
    QTest::keyClick(window->vsbColEmp, Qt::Key_Home);
    QCOMPARE(window->fxgTablero->grid().Cols, 38);
    arrow(window->vsbDistCol, true);
    expectLayout({13, 2, 3, 2, 39, 9}, 1);
    QTest::keyClick(window->vsbDistCol, Qt::Key_Home);
    expectLayout({8, 4, 3, 2, 40, 9}, 3);  // distance 4 leaves room for 8
}

void FrmPrincipalTest::startCreatesTheWorldTheBarsShow() {
    // What leads to windows not built yet is there but cannot be used.
    for (QAction* a : {window->mnuGuardar, window->mnuGuardarComo, window->mnuEditorEstrategias})
        QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
    // "Strat. limits" opens the limits window before any world exists.
    QTest::mouseClick(window->cmdRangos, Qt::LeftButton);
    QPointer<frmRangos> limits = frmRangos::current();
    QVERIFY(limits && limits->isVisible());
    QCOMPARE(limits->windowTitle(), QStringLiteral("Strategies limits"));
    limits->close();

    Session& s = Session::instance();
    QSignalSpy replaced(&s, &Session::worldReplaced);
    QTest::keyClick(window->vsbFilas, Qt::Key_Home);
    QTest::keyClick(window->vsbColumnas, Qt::Key_Home);
    QTest::mouseClick(window->cmdVerPartidas, Qt::LeftButton);
    QCOMPARE(s.world().NumJugadores, std::int16_t(2000));
    QCOMPARE(s.world().NumFilas, std::int16_t(50));
    QCOMPARE(replaced.count(), 1);
    QPointer<QWidget> first = window->worldWindow();
    QVERIFY(made == 1 && first && first->isVisible());

    // The bars leave the world alone until the next "Start", which makes a new world window.
    QTest::keyClick(window->vsbFilas, Qt::Key_End);
    QTest::keyClick(window->vsbColumnas, Qt::Key_End);
    QCOMPARE(s.world().NumJugadores, std::int16_t(2000));
    s.world().Generacion = 12;
    QTest::mouseClick(window->cmdVerPartidas, Qt::LeftButton);
    QCOMPARE(s.world().NumJugadores, std::int16_t(25));
    QCOMPARE(s.world().genomes[kActual].size(), std::size_t(26));
    QCOMPARE(s.world().Generacion, 0);
    QVERIFY(first.isNull() && made == 2 && window->worldWindow()->isVisible());
}

void FrmPrincipalTest::openLoadsAScenarioOrReportsWhyNot() {
    QTemporaryDir dir;
    World source = testing::seededWorld(6, 4, 77);
    SelectGame(source.payoffs, 1);
    std::string text = scenarioText(source);
    const QString good = writeFile(dir, QStringLiteral("gallina.dpt"), text);
    const QString empty = writeFile(dir, QStringLiteral("empty.dpt"), "");
    const auto two = text.find("\r\n") + 2;  // line 2: the eight pay-offs
    text.replace(two, text.find("\r\n", two) - two, " 4 3 x 0 4 3 1 0");
    const QString bad = writeFile(dir, QStringLiteral("bad.dpt"), text);
    const QString missing = dir.filePath(QStringLiteral("missing.dpt"));
    World probe;
    const LoadResult badLoad = readScenarioText(probe, text);
    QCOMPARE(badLoad.line, 2);

    Session& s = Session::instance();
    QTest::mouseClick(window->cmdVerPartidas, Qt::LeftButton);
    const World before = s.world();
    QPointer<QWidget> worldWindow = window->worldWindow();
    const std::vector<std::pair<QString, QString>> refused{
        {QString(), QString()},  // cancelled: silent
        {empty, QStringLiteral("empty.dpt\nLine 1: the file is empty")},
        {bad, QStringLiteral("bad.dpt\nLine 2: ") + QString::fromStdString(badLoad.reason)},
        {missing,
         QStringLiteral("missing.dpt\ncannot open %1: No such file or directory").arg(missing)},
    };
    for (const auto& [answer, info] : refused) {
        dialogs->infos.clear();
        dialogs->filters.clear();
        if (!answer.isEmpty()) dialogs->openAnswers << answer;
        clickMenu(window.get(), window->mnuArchivo, window->mnuAbrir);
        QCOMPARE(dialogs->filters, QStringList{QStringLiteral("Scenario files (*.dpt)")});
        QCOMPARE(dialogs->infos, info.isEmpty() ? QStringList() : QStringList{info});
        // The world and its window stay as they were.
        QVERIFY(s.world().genomes == before.genomes && s.world().payoffs.P == before.payoffs.P);
        QVERIFY(worldWindow && window->worldWindow() == worldWindow && made == 1);
    }

    dialogs->infos.clear();
    dialogs->openAnswers << good;
    clickMenu(window.get(), window->mnuArchivo, window->mnuAbrir);
    QVERIFY(dialogs->infos.isEmpty());
    QCOMPARE(s.world().NumJugadores, std::int16_t(24));
    QVERIFY(s.world().genomes[kActual] == source.genomes[kActual]);
    QCOMPARE(s.world().payoffs.P[1], 0.0f);  // Gallina
    QVERIFY(worldWindow.isNull() && made == 2 && window->worldWindow()->isVisible());
}

void FrmPrincipalTest::closingMainClosesEveryWindow() {
    clickMenu(window.get(), nullptr, window->mnuPagos);
    clickMenu(window.get(), nullptr, window->mnuAbout);
    QTest::mouseClick(window->cmdVerPartidas, Qt::LeftButton);
    QPointer<QWidget> worldWindow = window->worldWindow();
    QVERIFY(worldWindow && window->aboutBox() && window->aboutBox()->isVisible());
    QStringList open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) open << w->windowTitle();
    QVERIFY2(open.contains(QStringLiteral("Pay offs")), qPrintable(open.join(',')));

    window->close();
    QVERIFY(worldWindow.isNull());
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
}

void FrmPrincipalTest::commandLineNeedsNoDisplay() {
    const QString program = QStringLiteral(MORVANE_SCREENSHOTS "/../src/ui/morvane");
    if (!QFile::exists(program)) QSKIP("the morvane program was not built");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    struct Row {
        QStringList args;
        int exitCode;
        QString start;  // of stdout on success, of stderr on failure
    };
    const std::vector<Row> table{
        {{"--seed", "42", "--help"}, 0, "Usage: morvane [--seed S] [SCENARIO.dpt]"},
        {{"--version"}, 0, "morvane 0.1 (revision "},
        {{"--seed", "x1"}, 2, "morvane: --seed needs a whole number, not 'x1'"},
        {{"--frobnicate"}, 2, "morvane: unknown option '--frobnicate'"},
        {{"a.dpt", "b.dpt"}, 2, "morvane: only one scenario can be opened"},
    };
    for (const Row& row : table) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, row.args);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), row.exitCode);
        const QString out = QString::fromLocal8Bit(row.exitCode == 0 ? p.readAllStandardOutput()
                                                                     : p.readAllStandardError());
        QVERIFY2(out.startsWith(row.start), qPrintable(out));
    }
}

void FrmPrincipalTest::aboutBoxSystemInfoShowsWhatTheProgramKnowsAndKeepsTheBoxOpen() {
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

void FrmPrincipalTest::aboutBoxScreenshotShowsTitleAndVersion() {
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

void FrmPrincipalTest::screenshot() {
    arrow(window->vsbColEmp, true, 2);
    arrow(window->vsbFilEmp, true, 3);
    QVERIFY(testing_ui::saveScreenshot(window.get(), QStringLiteral("frmPrincipal")));
}

QTEST_MAIN(FrmPrincipalTest)
#include "frm_principal_test.moc"
