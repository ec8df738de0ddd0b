// The start-up window "Main": entrepreneur layout, "Start", "Open", closing, and the command line.
#include "ui/frm_principal.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "core/rng.h"
#include "core/startup.h"
#include "io/scenario_file.h"
#include "support/fake_dialogs.h"
#include "ui/session.h"

using namespace morvane;
using morvane::testing_ui::FakeDialogs;

namespace {

// Presses one of the bar's arrow buttons with the mouse.
void pressArrow(UpwardBar* bar, bool upper, int times = 1) {
    testing_ui::clickBar(bar, upper ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine,
                         times);
}

// Home takes a bar to the top (its largest number), End to the bottom.
void toTop(UpwardBar* bar) {
    QTest::keyClick(bar, Qt::Key_Home);
}
void toBottom(UpwardBar* bar) {
    QTest::keyClick(bar, Qt::Key_End);
}

// Opens a menu of the menu bar with the mouse and clicks one of its entries.
void clickMenu(QMainWindow* window, QMenu* menu, QAction* entry) {
    QMenuBar* bar = window->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

void clickMenuBarEntry(QMainWindow* window, QAction* entry) {
    QMenuBar* bar = window->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(entry).center());
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const std::string& text) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

// A scenario of a 6 x 4 world with random cells and the Gallina pay-offs.
World scenarioWorld() {
    World w;
    applyStartupDefaults(w);
    w.NumColumnas = 6;
    w.NumFilas = 4;
    Rng rng(77);
    startWorld(w, rng);
    worldWindowLoad(w);
    w.pagos.T = {0, 4, 4};
    w.pagos.P = {0, 0, 0};
    w.pagos.S = {0, 1, 1};
    return w;
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
            auto* w = new QWidget;
            w->setWindowTitle(QStringLiteral("World"));
            return w;
        });
        QVERIFY(testing_ui::showActive(window.get()));
    }
    void cleanup() { window.reset(); }

    void showsItsCaptionsAndKeepsUnbuiltCommandsDisabled();
    void verticalBarsShowTheirLargestValueAtTheTop();
    void entrepreneurBarsFitTheWorldAndLayItOut();
    void startCreatesTheWorldTheBarsShow();
    void openLoadsAScenarioOrReportsWhyNot();
    void closingMainClosesEveryWindow();
    void helpNeedsNoDisplay();
    void screenshot();

  private:
    FakeDialogs* dialogs = nullptr;
    std::unique_ptr<frmPrincipal> window;
    int made = 0;
};

void FrmPrincipalTest::showsItsCaptionsAndKeepsUnbuiltCommandsDisabled() {
    QCOMPARE(window->windowTitle(), QStringLiteral("Main"));
    QCOMPARE(window->cmdVerPartidas->text(), QStringLiteral("Start"));
    QCOMPARE(window->cmdRangos->text(), QStringLiteral("Strat. limits"));
    QCOMPARE(window->mnuArchivo->title(), QStringLiteral("File"));
    QCOMPARE(window->mnuAbrir->text(), QStringLiteral("Open"));
    QCOMPARE(window->mnuPagos->text(), QStringLiteral("Pay offs"));
    QCOMPARE(window->mnuAbout->text(), QStringLiteral("About..."));
    QCOMPARE(window->txtFilas->text(), QStringLiteral("40"));
    QCOMPARE(window->txtColumnas->text(), QStringLiteral("25"));
    // Commands that lead nowhere yet are there but cannot be used.
    for (QAction* a : {window->mnuGuardar, window->mnuGuardarComo, window->mnuEditorEstrategias})
        QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
    QVERIFY(!window->cmdRangos->isEnabled());
    QTest::mouseClick(window->cmdRangos, Qt::LeftButton);
    clickMenuBarEntry(window.get(), window->mnuEditorEstrategias);
    QCOMPARE(made, 0);
    // The load set the program's defaults: no world yet, the prisoner's dilemma.
    const World& w = Session::instance().world();
    QCOMPARE(w.NumJugadores, std::int16_t(0));
    QCOMPARE(w.pagos.T[1], 4.0f);
    QCOMPARE(w.vecindad.CodVecin[1], std::uint8_t(2));
}

void FrmPrincipalTest::verticalBarsShowTheirLargestValueAtTheTop() {
    UpwardBar* rows = window->vsbFilas;
    pressArrow(rows, true, 3);
    QCOMPARE(rows->number(), 43);
    QCOMPARE(window->txtFilas->text(), QStringLiteral("43"));
    pressArrow(rows, false);
    QCOMPARE(window->txtFilas->text(), QStringLiteral("42"));
    // At its largest number the thumb sits against the upper arrow.
    toTop(rows);
    QCOMPARE(rows->number(), 50);
    QStyleOptionSlider opt;
    opt.initFrom(rows);
    opt.orientation = Qt::Vertical;
    opt.minimum = rows->minimum();
    opt.maximum = rows->maximum();
    opt.sliderPosition = rows->sliderPosition();
    opt.sliderValue = rows->value();
    opt.pageStep = rows->pageStep();
    const QRect up = rows->style()->subControlRect(QStyle::CC_ScrollBar, &opt,
                                                   QStyle::SC_ScrollBarSubLine, rows);
    const QRect thumb =
        rows->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, rows);
    QVERIFY2(thumb.top() <= up.bottom() + 2,
             qPrintable(QStringLiteral("thumb at %1").arg(thumb.top())));
}

void FrmPrincipalTest::entrepreneurBarsFitTheWorldAndLayItOut() {
    struct Row {
        const char* name;
        std::function<void(frmPrincipal&)> act;
        int colEmp, distCol, filEmp, distFil;
        int cols, rows;
        std::vector<int> redCols, redRows;
    };
    const std::vector<Row> table{
        {"three by three at distance two",
         [](frmPrincipal& f) {
             pressArrow(f.vsbColEmp, true);
             pressArrow(f.vsbColEmp, false);
         },
         3,
         2,
         3,
         2,
         9,
         9,
         {1, 4, 7},
         {1, 4, 7}},
        {"nineteen per row fit at distance one, thirteen at distance two",
         [](frmPrincipal& f) {
             pressArrow(f.vsbDistCol, false);
             toTop(f.vsbColEmp);
             QCOMPARE(f.fxgTablero->grid().Cols, 38);
             pressArrow(f.vsbDistCol, true);
         },
         13,
         2,
         3,
         2,
         39,
         9,
         {1, 4, 7, 10, 13, 16, 19, 22, 25, 28, 31, 34, 37},
         {1, 4, 7}},
        {"twenty-four per column fit at distance one, sixteen at distance two",
         [](frmPrincipal& f) {
             pressArrow(f.vsbDistFil, false);
             toTop(f.vsbFilEmp);
             QCOMPARE(f.fxgTablero->grid().Rows, 48);
             pressArrow(f.vsbDistFil, true);
         },
         3,
         2,
         16,
         2,
         9,
         48,
         {1, 4, 7},
         {1, 4, 7, 10, 13, 16, 19, 22, 25, 28, 31, 34, 37, 40, 43, 46}},
        {"distance four allows eight per row",
         [](frmPrincipal& f) {
             toTop(f.vsbColEmp);
             toTop(f.vsbDistCol);
         },
         8,
         4,
         3,
         2,
         40,
         9,
         {3, 8, 13, 18, 23, 28, 33, 38},
         {1, 4, 7}},
    };
    for (const Row& row : table) {
        window = std::make_unique<frmPrincipal>();
        QVERIFY(testing_ui::showActive(window.get()));
        row.act(*window);
        const frmPrincipal& f = *window;
        const auto check = [&](UpwardBar* bar, QLineEdit* box, int expected, const char* what) {
            QVERIFY2(
                bar->number() == expected,
                qPrintable(QStringLiteral("%1: %2 bar %3").arg(row.name, what).arg(bar->number())));
            QCOMPARE(box->text(), QString::number(expected));
        };
        check(f.vsbColEmp, f.txtColEmp, row.colEmp, "in Col");
        check(f.vsbDistCol, f.txtDistCol, row.distCol, "Distance X");
        check(f.vsbFilEmp, f.txtFilEmp, row.filEmp, "in Row");
        check(f.vsbDistFil, f.txtDistFil, row.distFil, "Distance Y");
        // The world bars take the layout's size.
        check(f.vsbColumnas, f.txtColumnas, row.cols, "Columns");
        check(f.vsbFilas, f.txtFilas, row.rows, "Rows");
        const EntrepreneurGrid& g = f.fxgTablero->grid();
        QCOMPARE(g.Cols, row.cols);
        QCOMPARE(g.Rows, row.rows);
        for (int r = 0; r < g.Rows; ++r)
            for (int c = 0; c < g.Cols; ++c) {
                const bool red = std::count(row.redRows.begin(), row.redRows.end(), r) &&
                                 std::count(row.redCols.begin(), row.redCols.end(), c);
                QVERIFY2(
                    f.fxgTablero->cellColour(r, c) == (red ? QColor(255, 0, 0) : QColor(Qt::white)),
                    qPrintable(QStringLiteral("%1: cell %2,%3").arg(row.name).arg(r).arg(c)));
            }
    }
}

void FrmPrincipalTest::startCreatesTheWorldTheBarsShow() {
    Session& s = Session::instance();
    QSignalSpy replaced(&s, &Session::worldReplaced);
    toTop(window->vsbFilas);
    toTop(window->vsbColumnas);
    QTest::mouseClick(window->cmdVerPartidas, Qt::LeftButton);
    QCOMPARE(s.world().NumFilas, std::int16_t(50));
    QCOMPARE(s.world().NumColumnas, std::int16_t(40));
    QCOMPARE(s.world().NumJugadores, std::int16_t(2000));
    QCOMPARE(replaced.count(), 1);
    QCOMPARE(made, 1);
    QPointer<QWidget> first = window->worldWindow();
    QVERIFY(first && first->isVisible());

    // Moving the bars leaves the world alone until the next "Start", which rebuilds the window.
    toBottom(window->vsbFilas);
    toBottom(window->vsbColumnas);
    QCOMPARE(s.world().NumJugadores, std::int16_t(2000));
    QCOMPARE(s.world().NumFilas, std::int16_t(50));
    s.world().Generacion = 12;
    QTest::mouseClick(window->cmdVerPartidas, Qt::LeftButton);
    QCOMPARE(s.world().NumJugadores, std::int16_t(25));
    QCOMPARE(s.world().genomas[kActual].size(), std::size_t(26));
    QCOMPARE(s.world().Generacion, 0);
    QVERIFY(first.isNull());
    QCOMPARE(made, 2);
    QVERIFY(window->worldWindow()->isVisible());
}

void FrmPrincipalTest::openLoadsAScenarioOrReportsWhyNot() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const World source = scenarioWorld();
    const QString good = writeFile(dir, QStringLiteral("gallina.dpt"), scenarioText(source));
    const QString empty = writeFile(dir, QStringLiteral("empty.dpt"), "");
    std::string text = scenarioText(source);
    // Line 2 holds the eight pay-offs.
    const auto lineTwo = text.find("\r\n") + 2;
    text.replace(lineTwo, text.find("\r\n", lineTwo) - lineTwo, " 4 3 x 0 4 3 1 0");
    const QString bad = writeFile(dir, QStringLiteral("bad.dpt"), text);
    const QString missing = dir.filePath(QStringLiteral("missing.dpt"));
    World probe = World{};
    applyStartupDefaults(probe);
    const std::string badReason = readScenarioText(probe, text).reason;
    QVERIFY(!badReason.empty());

    Session& s = Session::instance();
    // A world of the start-up size to protect.
    QTest::mouseClick(window->cmdVerPartidas, Qt::LeftButton);
    QCOMPARE(made, 1);
    const World before = s.world();
    QPointer<QWidget> worldWindow = window->worldWindow();

    struct Row {
        const char* name;
        QString answer;  // empty: the dialog is cancelled
        QString info;    // the "Info" box, empty when none
    };
    const std::vector<Row> refused{
        {"cancelled", QString(), QString()},
        {"empty file", empty, QStringLiteral("empty.dpt\nLine 1: the file is empty")},
        {"bad pay-off", bad,
         QStringLiteral("bad.dpt\nLine 2: ") + QString::fromStdString(badReason)},
        {"missing file", missing,
         QStringLiteral("missing.dpt\ncannot open ") + missing +
             QStringLiteral(": No such file or directory")},
    };
    for (const Row& row : refused) {
        dialogs->infos.clear();
        dialogs->filters.clear();
        if (!row.answer.isEmpty()) dialogs->openAnswers << row.answer;
        clickMenu(window.get(), window->mnuArchivo, window->mnuAbrir);
        QCOMPARE(dialogs->filters, QStringList{QStringLiteral("*.dpt")});
        if (row.info.isEmpty())
            QVERIFY2(dialogs->infos.isEmpty(), row.name);
        else
            QCOMPARE(dialogs->infos, QStringList{row.info});
        // The world and its window stay as they were.
        QVERIFY2(s.world().NumJugadores == before.NumJugadores, row.name);
        QVERIFY2(s.world().genomas == before.genomas, row.name);
        QVERIFY2(s.world().pagos.T == before.pagos.T, row.name);
        QVERIFY2(worldWindow && window->worldWindow() == worldWindow, row.name);
        QCOMPARE(made, 1);
    }

    dialogs->infos.clear();
    dialogs->openAnswers << good;
    clickMenu(window.get(), window->mnuArchivo, window->mnuAbrir);
    QVERIFY(dialogs->infos.isEmpty());
    QCOMPARE(s.world().NumColumnas, std::int16_t(6));
    QCOMPARE(s.world().NumFilas, std::int16_t(4));
    QCOMPARE(s.world().NumJugadores, std::int16_t(24));
    for (int c = 1; c <= 24; ++c)
        QVERIFY(s.world().genoma(kActual, c) == source.genoma(kActual, c));
    QCOMPARE(s.world().pagos.P[1], 0.0f);
    QCOMPARE(s.world().pagos.S[2], 1.0f);
    // The old world window went; a new one opened on the loaded world.
    QVERIFY(worldWindow.isNull());
    QCOMPARE(made, 2);
    QVERIFY(window->worldWindow()->isVisible());
}

void FrmPrincipalTest::closingMainClosesEveryWindow() {
    clickMenuBarEntry(window.get(), window->mnuPagos);
    clickMenuBarEntry(window.get(), window->mnuAbout);
    QTest::mouseClick(window->cmdVerPartidas, Qt::LeftButton);
    QPointer<QWidget> worldWindow = window->worldWindow();
    QPointer<QWidget> about = window->aboutBox();
    QVERIFY(worldWindow && about && about->isVisible());
    QWidget* pagos = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == QStringLiteral("Pay offs") && w->isVisible()) pagos = w;
    QVERIFY(pagos);
    QPointer<QWidget> pagosAlive = pagos;

    window->close();
    QVERIFY(worldWindow.isNull());
    QVERIFY(about.isNull() || !about->isVisible());
    QVERIFY(pagosAlive.isNull() || !pagosAlive->isVisible());
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
}

void FrmPrincipalTest::helpNeedsNoDisplay() {
    const QString program =
        QDir(QStringLiteral(MORVANE_SCREENSHOTS "/..")).filePath(QStringLiteral("src/ui/morvane"));
    if (!QFile::exists(program)) QSKIP("the morvane program was not built");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    struct Row {
        QStringList args;
        int exitCode;
        QString out, err;
    };
    const std::vector<Row> table{
        {{QStringLiteral("--help")},
         0,
         QStringLiteral("Usage: morvane [--seed S] [SCENARIO.dpt]"),
         {}},
        {{QStringLiteral("--seed"), QStringLiteral("x1")},
         2,
         {},
         QStringLiteral("morvane: --seed needs a whole number, not 'x1'")},
        {{QStringLiteral("--seed"), QStringLiteral("42"), QStringLiteral("--help")},
         0,
         QStringLiteral("Usage: morvane"),
         {}},
        {{QStringLiteral("--frobnicate")},
         2,
         {},
         QStringLiteral("morvane: unknown option '--frobnicate'")},
        {{QStringLiteral("a.dpt"), QStringLiteral("b.dpt")},
         2,
         {},
         QStringLiteral("morvane: only one scenario can be opened")},
    };
    for (const Row& row : table) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, row.args);
        QVERIFY(p.waitForFinished(10000));
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QCOMPARE(p.exitCode(), row.exitCode);
        if (!row.out.isEmpty()) QVERIFY2(out.startsWith(row.out), qPrintable(out));
        if (!row.err.isEmpty()) QVERIFY2(err.startsWith(row.err), qPrintable(err));
    }
}

void FrmPrincipalTest::screenshot() {
    pressArrow(window->vsbColEmp, true, 2);
    pressArrow(window->vsbFilEmp, true, 3);
    QVERIFY(testing_ui::saveScreenshot(window.get(), QStringLiteral("frmPrincipal")));
}

QTEST_MAIN(FrmPrincipalTest)
#include "frm_principal_test.moc"
