// The world window as a newcomer meets it on a 1600 x 1000 screen: where it opens and what fits,
// boxes that show nothing before the first generation, readable numbers, the world's file and
// the question before a changed world is set aside. The start-up window "Main": its bars, boxes
// and entrepreneur layout, "Start", "Open", closing, the about box and the command line.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "core/startup.h"
#include "games/payoff.h"
#include "io/scenario_file.h"
#include "support/world_window_fixture.h"
#include "ui/board_widget.h"
#include "ui/frm_about.h"
#include "ui/frm_partidas.h"
#include "ui/frm_principal.h"
#include "ui/frm_rangos.h"
#include "ui/inspector.h"
#include "ui/mouse_button.h"
#include "ui/readable_text.h"
#include "ui/refused_value.h"
#include "ui/results_table.h"

using namespace morvane;
using Unsaved = Dialogs::Unsaved;
using testing::theWorld;

namespace {

// A scenario of a seeded world, written as "Save" writes it.
QString writeScenario(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    return GuardarEscenario(testing::seededWorld(7, 6, 31), QFile::encodeName(path).toStdString())
                   .ok
               ? path
               : QString();
}

// A box showing nothing in the window's own colours.
bool neutral(const QLineEdit* box) {
    const QPalette window = QApplication::palette(box);
    return box->text().isEmpty() &&
           box->palette().color(QPalette::Base) == window.color(QPalette::Base) &&
           box->palette().color(QPalette::Text) == window.color(QPalette::Text);
}

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

class WorldWindowScreenTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        dialogs = &testing_ui::installFakeDialogs();
        principal = std::make_unique<frmPrincipal>();
        principal->setWorldWindowFactory([] { return new frmPartidas; });
        QVERIFY(testing_ui::showActive(principal.get()));
    }
    void cleanup() {
        dialogs->unsavedAnswers = {Unsaved::Discard, Unsaved::Discard};
        principal.reset();
    }

    void startOpensTheWholeBoardInsideTheScreen();
    void largerWorldsAndRememberedPlaces();
    void boxesAreNeutralUntilTheFirstGeneration();
    void readableTextAndHeadersOfANewWorld();
    void scenarioDialogsAddTheSuffixAndKeepTheFilter();
    void saveWritesToTheWorldsFileAndTheTitleSaysSo();
    void changedWorldAsksBeforeItIsSetAside_data();
    void changedWorldAsksBeforeItIsSetAside();
    void mainBarsAndBoxesTakeNumbers();
    void entrepreneurBarsFitTheWorldAndLayItOut();
    void openLoadsAScenarioOrReportsWhyNot();
    void commandLineNeedsNoDisplay();
    void aboutBoxAndClosingMain();

  private:
    frmPartidas* start() {
        QTest::mouseClick(principal->cmdVerPartidas, Qt::LeftButton);
        auto* win = qobject_cast<frmPartidas*>(principal->worldWindow());
        if (win != nullptr && !QTest::qWaitForWindowExposed(win)) return nullptr;
        return win;
    }
    // Every cell of the board inside the scroll area's view, with no scroll bar shown.
    static bool wholeBoardShows(frmPartidas* win) {
        const World& w = theWorld();
        const BoardWidget* board = win->fxgTablero;
        const QRect last = board->cellRect(QPoint(w.NumColumnas + 1, w.NumFilas + 1));
        const QRect first = board->cellRect(QPoint(2, 2));
        const QRect inView(board->mapTo(win->scrTablero->viewport(), first.topLeft()),
                           board->mapTo(win->scrTablero->viewport(), last.bottomRight()));
        const QSize least = BoardWidget::minimumSizeFor(w.NumFilas, w.NumColumnas);
        return !win->scrTablero->horizontalScrollBar()->isVisible() &&
               !win->scrTablero->verticalScrollBar()->isVisible() &&
               win->scrTablero->viewport()->rect().contains(inView) &&
               first.width() * w.NumColumnas >= least.width() &&
               first.height() * w.NumFilas >= least.height();
    }

    testing_ui::FakeDialogs* dialogs = nullptr;
    std::unique_ptr<frmPrincipal> principal;
};

void WorldWindowScreenTest::startOpensTheWholeBoardInsideTheScreen() {
    // What leads to windows not built yet is there but cannot be used.
    for (QAction* a :
         {principal->mnuGuardar, principal->mnuGuardarComo, principal->mnuEditorEstrategias})
        QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
    // "Strat. limits" opens the limits window before any world exists.
    QTest::mouseClick(principal->cmdRangos, Qt::LeftButton);
    QPointer<frmRangos> limits = frmRangos::current();
    QVERIFY(limits && limits->isVisible());
    QCOMPARE(limits->windowTitle(), QStringLiteral("Strategies limits"));
    limits->close();

    QScreen* screen = principal->screen();
    QCOMPARE(screen->geometry(), QRect(0, 0, 1600, 1000));
    QSignalSpy replaced(&Session::instance(), &Session::worldReplaced);
    QPointer<frmPartidas> win = start();
    QVERIFY(win != nullptr);
    QCOMPARE(theWorld().NumJugadores, 1000);
    QCOMPARE(theWorld().NumFilas, 40);
    QCOMPARE(replaced.count(), 1);
    QCOMPARE(screen->availableGeometry().intersected(win->frameGeometry()), win->frameGeometry());
    QVERIFY(wholeBoardShows(win));
    QVERIFY(testing_ui::saveScreenshot(win, QStringLiteral("world_window_after_start")));
    QCOMPARE(win->windowTitle(), QStringLiteral("World[*]"));
    QVERIFY(!win->isWindowModified());
    const World& w = theWorld();
    QCOMPARE(win->fxgTablero->cellNumberAt(1, 1), 1000);  // the corner wraps round the torus
    QCOMPARE(win->fxgTablero->cellNumberAt(w.NumFilas + 2, w.NumColumnas + 3), 2);
    QCOMPARE(win->fraVecindario->lblJugador[24]->text(), QStringLiteral("5"));

    // The bars leave the world alone until the next "Start", which makes a new world window.
    QTest::keyClick(principal->vsbFilas, Qt::Key_End);
    QTest::keyClick(principal->vsbColumnas, Qt::Key_End);
    QCOMPARE(theWorld().NumJugadores, 1000);
    theWorld().Generacion = 12;
    QTest::mouseClick(principal->cmdVerPartidas, Qt::LeftButton);
    QCOMPARE(theWorld().NumJugadores, 25);
    QCOMPARE(theWorld().genomes[kActual].size(), std::size_t(26));
    QCOMPARE(theWorld().Generacion, 0);
    QVERIFY(win.isNull() && principal->worldWindow()->isVisible());
}

void WorldWindowScreenTest::largerWorldsAndRememberedPlaces() {
    const QRect avail = principal->screen()->availableGeometry();
    QTest::keyClick(principal->vsbFilas, Qt::Key_Home);
    QTest::keyClick(principal->vsbColumnas, Qt::Key_Home);
    QCOMPARE(principal->lblTamano->text(),
             QStringLiteral("Cols 40, Rows 50"));  // before "Start"
    frmPartidas* win = start();
    QVERIFY(win != nullptr);
    QCOMPARE(theWorld().NumJugadores, 2000);
    QVERIFY(avail.contains(win->frameGeometry()));
    // The largest world scrolls only what does not fit on this screen.
    const bool atScreenSize = win->frameGeometry().width() == avail.width() ||
                              win->frameGeometry().height() >= avail.height() - 48;
    QVERIFY(wholeBoardShows(win) || atScreenSize);
    const QRect byRule = win->geometry();

    // A remembered place is taken only when it is on the screen and shows the start-up board.
    struct Row {
        QRect place;
        bool taken;
    };
    for (const Row& row : {Row{QRect(40, 30, 700, 450), false}, Row{QRect(30, 20, 1500, 930), true},
                           Row{QRect(900, 500, 1500, 930), false}}) {
        win->setGeometry(row.place);
        win->hide();
        win = start();
        QVERIFY(win != nullptr);
        QCOMPARE(win->geometry(), row.taken ? row.place : byRule);
    }
}

void WorldWindowScreenTest::boxesAreNeutralUntilTheFirstGeneration() {
    QTemporaryDir dir;
    const QString path = writeScenario(dir, QStringLiteral("seeded.dpt"));
    QVERIFY(!path.isEmpty());
    dialogs->unsavedAnswers = {Unsaved::Discard, Unsaved::Discard, Unsaved::Discard};
    for (const char* how : {"Open", "Start", "New"}) {
        frmPartidas* win = qobject_cast<frmPartidas*>(principal->worldWindow());
        if (QLatin1String(how) == QLatin1String("Open")) {
            dialogs->openAnswers << path;
            principal->mnuAbrir->trigger();
            win = qobject_cast<frmPartidas*>(principal->worldWindow());
            QVERIFY(win != nullptr && QTest::qWaitForWindowExposed(win));
        } else if (QLatin1String(how) == QLatin1String("Start")) {
            win = start();
        } else {
            win->newWorldPressed(1);
        }
        QVERIFY2(win != nullptr, how);
        QVERIFY2(wholeBoardShows(win), how);
        const Inspector* in = win->fraVecindario;
        const ResultsModel& results = win->fxgResultados->results();
        for (QLineEdit* box : in->txtJugador) QVERIFY2(neutral(box), how);
        QVERIFY2(neutral(in->txtGenomaPrev), how);
        QVERIFY2(!in->txtGenoma->text().isEmpty(), how);
        QCOMPARE(results.text(0, 0), QString::number(theWorld().CasillaSel));
        QCOMPARE(results.data(results.index(0, 0), Qt::BackgroundRole).value<QColor>(),
                 win->fxgResultados->palette().color(QPalette::Base));
        if (QLatin1String(how) == QLatin1String("Open"))
            QVERIFY(testing_ui::saveScreenshot(win, QStringLiteral("world_window_after_open")));

        // The first generation gives the boxes the previous copy's colours and values.
        win->runButtonPressed(2);
        const int sel = theWorld().CasillaSel;
        const auto& col = theWorld().genoma(kPrevio, sel).Colores;
        QVERIFY(!in->txtJugador[Inspector::kCentre]->text().isEmpty());
        QCOMPARE(in->txtJugador[Inspector::kCentre]->palette().color(QPalette::Base),
                 QColor(col[0], col[1], col[2]));
        QVERIFY(!in->txtGenomaPrev->text().isEmpty());
    }
}

void WorldWindowScreenTest::readableTextAndHeadersOfANewWorld() {
    const struct {
        QColor back, text;
    } table[] = {{QColor(100, 100, 100), Qt::white},
                 {QColor(128, 128, 128), Qt::black},
                 {QColor(0, 0, 0), Qt::white},
                 {QColor(255, 255, 255), Qt::black}};
    for (const auto& row : table) QCOMPARE(readableTextOn(row.back), row.text);

    frmPartidas* win = start();
    QVERIFY(win != nullptr);
    Genoma& g = theWorld().genoma(kActual, theWorld().CasillaSel);
    g.Colores = {100, 100, 100, 90, 90, 90};
    win->fraVecindario->MostrarGenoma(theWorld().CasillaSel);
    const QLineEdit* box = win->fraVecindario->txtGenoma;
    QCOMPARE(box->palette().color(QPalette::Text), QColor(90, 90, 90));  // the bug colour
    QVERIFY(!win->readableTextAction->isChecked());
    win->readableTextAction->trigger();
    QCOMPARE(box->palette().color(QPalette::Text), QColor(Qt::white));
    // Success as the first index, committed by a step, does not outlive its world.
    emit win->fxgResultados->indexToggleRequested();
    QCOMPARE(win->fxgResultados->results().text(1, 1), QStringLiteral("Sc R"));
    win->runButtonPressed(2);
    QCOMPARE(int(theWorld().options.CiEsExito), 1);

    // The next world window starts with readable text, remembered, and cooperation headers.
    QVERIFY(QSettings().value(QStringLiteral("view/readableText")).toBool());
    dialogs->unsavedAnswers = {Unsaved::Discard};
    win = start();
    QVERIFY(win->readableTextAction->isChecked());
    QCOMPARE(int(theWorld().options.CiEsExito), 0);
    QCOMPARE(int(theWorld().options.CiEsExitoMenu), 0);
    QCOMPARE(win->fxgResultados->results().text(1, 1), QStringLiteral("Ci R"));
    QCOMPARE(win->fxgResultados->results().text(1, 5), QStringLiteral("Ci P"));
    QCOMPARE(win->fxgResultados->results().text(1, 3), QStringLiteral("Disp"));
}

// The scenario dialogs are Qt's own, set up so that a typed "world_a" is saved (and asked about)
// as "world_a.dpt", and "Open" lists scenarios only; adding the suffix, asking before an
// overwrite and keeping the filter in another folder are Qt's.
void WorldWindowScreenTest::scenarioDialogsAddTheSuffixAndKeepTheFilter() {
    const QString filter = Session::scenarioFilter();
    QCOMPARE(filter, QStringLiteral("Scenario files (*.dpt)"));
    const auto save = Dialogs::scenarioDialog(nullptr, filter, true);
    QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(save->defaultSuffix(), QStringLiteral("dpt"));
    QCOMPARE(save->nameFilters(), QStringList{filter});
    QVERIFY(!save->testOption(QFileDialog::DontConfirmOverwrite));
    const auto open = Dialogs::scenarioDialog(nullptr, filter, false);
    QCOMPARE(open->acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(open->fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(open->nameFilters(), QStringList{filter});
}

void WorldWindowScreenTest::saveWritesToTheWorldsFileAndTheTitleSaysSo() {
    QTemporaryDir dir;
    const QString path = writeScenario(dir, QStringLiteral("seeded.dpt"));
    dialogs->openAnswers << path;
    principal->mnuAbrir->trigger();
    auto* win = qobject_cast<frmPartidas*>(principal->worldWindow());
    QVERIFY(win != nullptr);
    QCOMPARE(win->windowTitle(), QStringLiteral("World - seeded.dpt[*]"));
    QVERIFY(!win->isWindowModified());
    // A generation, an edit and a fill each mark the world changed; "Save" clears the mark.
    const std::vector<std::function<void()>> changes{
        [win] { win->runButtonPressed(2); },
        [win] { win->mnuOpcion[3]->trigger(); },
        [win] { QTest::mouseClick(win->cmdSelTodo, Qt::LeftButton); },
    };
    for (const auto& change : changes) {
        change();
        QVERIFY(win->isWindowModified());
        win->mnuGuardar->trigger();
        QVERIFY(dialogs->filters.size() == 1 && dialogs->infos.isEmpty());  // the Open only
        QVERIFY(!win->isWindowModified());
        World saved;
        QVERIFY(CargarEscenario(saved, QFile::encodeName(path).toStdString()).ok);
        QVERIFY(saved.genomes[kActual] == theWorld().genomes[kActual]);
        QCOMPARE(saved.options.Opciones[1], theWorld().options.Opciones[1]);
    }
    // "Save as" asks, and the world's file becomes the new one.
    dialogs->saveAnswers << dir.filePath(QStringLiteral("other.dpt"));
    win->mnuGuardarComo->trigger();
    QCOMPARE(dialogs->filters.size(), 2);
    QCOMPARE(win->windowTitle(), QStringLiteral("World - other.dpt[*]"));
    QCOMPARE(dialogs->filters.last(), QStringLiteral("Scenario files (*.dpt)"));
    // Both files are the recent ones in "Main", the last first.
    const QList<QAction*> recent = principal->mnuRecientes->actions();
    QCOMPARE(recent.size(), 2);
    QCOMPARE(recent[0]->text(), QStringLiteral("&1 other.dpt"));
    QCOMPARE(recent[1]->text(), QStringLiteral("&2 seeded.dpt"));
    QVERIFY(!win->mnuAbrir->isEnabled());  // scenarios are opened from "Main"
    // A save that fails says which file and why; a cancelled one says nothing and writes nothing.
    const QString missing = dir.filePath(QStringLiteral("missing/world.dpt"));
    dialogs->saveAnswers << missing;
    win->mnuGuardarComo->trigger();
    const SaveResult expected =
        GuardarEscenario(theWorld(), QFile::encodeName(missing).toStdString());
    QVERIFY(!expected.ok);
    QCOMPARE(dialogs->infos,
             QStringList{QStringLiteral("world.dpt\n") + QString::fromStdString(expected.reason)});
    win->mnuGuardarComo->trigger();
    QCOMPARE(dialogs->infos.size(), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("other.dpt"), QStringLiteral("seeded.dpt")}));
}

void WorldWindowScreenTest::changedWorldAsksBeforeItIsSetAside_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("setAside");
    QTest::addColumn<bool>("saved");
    QTest::addRow("cancel keeps the world") << int(Unsaved::Cancel) << false << false;
    QTest::addRow("discard lets it go") << int(Unsaved::Discard) << true << false;
    QTest::addRow("save writes it first") << int(Unsaved::Save) << true << true;
}

void WorldWindowScreenTest::changedWorldAsksBeforeItIsSetAside() {
    QFETCH(int, answer);
    QFETCH(bool, setAside);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("kept.dpt"));
    // "Start", "Open" and closing either window each set the world aside.
    const std::vector<std::function<void(frmPartidas*)>> asides{
        [this](frmPartidas*) { QTest::mouseClick(principal->cmdVerPartidas, Qt::LeftButton); },
        [this, &dir](frmPartidas*) {
            dialogs->openAnswers << writeScenario(dir, QStringLiteral("other.dpt"));
            principal->mnuAbrir->trigger();
        },
        [](frmPartidas* win) { win->close(); },
        [this](frmPartidas*) { principal->close(); },
    };
    for (const auto& aside : asides) {
        dialogs->unsavedAnswers = {Unsaved::Discard};  // what the last round left, if anything
        QPointer<frmPartidas> win = start();
        QVERIFY(win);
        win->runButtonPressed(2);
        dialogs->unsavedAsked.clear();
        dialogs->unsavedAnswers = {Unsaved(answer)};
        dialogs->saveAnswers = {target};
        QFile::remove(target);
        aside(win);
        QCOMPARE(dialogs->unsavedAsked, QStringList{QStringLiteral("(not saved yet)")});
        QCOMPARE(QFile::exists(target), saved);
        const bool stillShown = win && win->isVisible() && theWorld().Generacion == 1;
        QCOMPARE(stillShown, !setAside);
    }
}

// "Main"'s bars show their largest value at the top; its boxes take typed numbers.
void WorldWindowScreenTest::mainBarsAndBoxesTakeNumbers() {
    UpwardBar* rows = principal->vsbFilas;
    arrow(rows, true, 3);
    arrow(rows, false);
    QCOMPARE(principal->txtFilas->text(), QStringLiteral("42"));
    QTest::keyClick(rows, Qt::Key_Home);
    QCOMPARE(principal->txtFilas->text(), QStringLiteral("50"));
    // At its largest number the thumb touches the upper arrow: clicking just below the arrow
    // hits the thumb, which moves nothing.
    const int belowArrow = rows->width() + 2;
    QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(rows->width() / 2, belowArrow));
    QCOMPARE(rows->number(), 50);
    QTest::mouseClick(rows, Qt::LeftButton, {},
                      QPoint(rows->width() / 2, rows->height() - belowArrow));
    QCOMPARE(rows->number(), 49);  // the track below the thumb lowers it

    frmPrincipal& m = *principal;
    const struct {
        QLineEdit* box;
        UpwardBar* bar;
        const char *typed, *shown;
        int number;
        bool refused;
    } table[] = {
        {m.txtColEmp, m.vsbColEmp, "19", "13", 13, false},  // the fit check at Distance X 2
        {m.txtFilas, m.vsbFilas, "45", "45", 45, false},
        {m.txtFilas, m.vsbFilas, "60", "60", 45, true},  // beyond the bar: refused
        {m.txtDistCol, m.vsbDistCol, "two", "two", 2, true},
        {m.txtDistCol, m.vsbDistCol, " 1 ", "1", 1, false},
    };
    for (const auto& row : table) {
        testing_ui::enterInto(row.box, QString::fromLatin1(row.typed));
        QCOMPARE(row.box->text(), QString::fromLatin1(row.shown));
        QCOMPARE(row.bar->number(), row.number);
        QCOMPARE(isRefused(row.box), row.refused);
    }
    QCOMPARE(m.txtColumnas->text(), QStringLiteral("26"));  // 13 at distance 1
    QVERIFY(m.txtFilas->toolTip().contains(QStringLiteral("5..50")));
    QVERIFY(!isRefused(m.txtDistCol));
}

void WorldWindowScreenTest::entrepreneurBarsFitTheWorldAndLayItOut() {
    // What the bars and boxes show (in Col, Distance X, in Row, Distance Y, Columns, Rows) and
    // the picture: each entrepreneur followed by its distance in empty rows and columns.
    auto expectLayout = [this](std::array<int, 6> expected, int firstRedCol) {
        const frmPrincipal& f = *principal;
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
    arrow(principal->vsbColEmp, true);  // any move of a bar lays the world out
    arrow(principal->vsbColEmp, false);
    expectLayout({3, 2, 3, 2, 9, 9}, 1);  // entrepreneurs at 1, 4, 7
    // 19 per row fit at distance 1; back at distance 2 they are lowered to 13.
    arrow(principal->vsbDistCol, false);
    QTest::keyClick(principal->vsbColEmp, Qt::Key_Home);
    QCOMPARE(principal->fxgTablero->grid().Cols, 38);
    arrow(principal->vsbDistCol, true);
    expectLayout({13, 2, 3, 2, 39, 9}, 1);
    QTest::keyClick(principal->vsbDistCol, Qt::Key_Home);
    expectLayout({8, 4, 3, 2, 40, 9}, 3);  // distance 4 leaves room for 8
    QVERIFY(testing_ui::saveScreenshot(principal.get(), QStringLiteral("frmPrincipal")));
}

void WorldWindowScreenTest::openLoadsAScenarioOrReportsWhyNot() {
    QTemporaryDir dir;
    World source = testing::seededWorld(6, 4, 77);
    SelectGame(source.payoffs, 1);
    std::string text = scenarioText(source);
    const QString good = writeFile(dir, QStringLiteral("gallina.dpt"), text);
    const auto two = text.find("\r\n") + 2;  // line 2: the eight pay-offs
    text.replace(two, text.find("\r\n", two) - two, " 4 3 x 0 4 3 1 0");
    const QString bad = writeFile(dir, QStringLiteral("bad.dpt"), text);
    const QString missing = dir.filePath(QStringLiteral("missing.dpt"));
    World probe;
    const LoadResult badLoad = readScenarioText(probe, text);
    QCOMPARE(badLoad.line, 2);

    Session& s = Session::instance();
    QTest::mouseClick(principal->cmdVerPartidas, Qt::LeftButton);
    const World before = s.world();
    QPointer<QWidget> worldWindow = principal->worldWindow();
    // Cancelled: silent; refused: the file's name, then the reader's line, if any, and reason
    // (every reason the reader gives is the scenario file tests').
    const std::vector<std::pair<QString, QString>> refused{
        {QString(), QString()},
        {bad, QStringLiteral("bad.dpt\nLine 2: ") + QString::fromStdString(badLoad.reason)},
        {missing,
         QStringLiteral("missing.dpt\ncannot open %1: No such file or directory").arg(missing)},
    };
    for (const auto& [answer, info] : refused) {
        dialogs->infos.clear();
        dialogs->filters.clear();
        if (!answer.isEmpty()) dialogs->openAnswers << answer;
        clickMenu(principal.get(), principal->mnuArchivo, principal->mnuAbrir);
        QCOMPARE(dialogs->filters, QStringList{QStringLiteral("Scenario files (*.dpt)")});
        QCOMPARE(dialogs->infos, info.isEmpty() ? QStringList() : QStringList{info});
        // The world and its window stay as they were.
        QVERIFY(s.world().genomes == before.genomes && s.world().payoffs.P == before.payoffs.P);
        QVERIFY(worldWindow && principal->worldWindow() == worldWindow);
    }

    dialogs->infos.clear();
    dialogs->openAnswers << good;
    clickMenu(principal.get(), principal->mnuArchivo, principal->mnuAbrir);
    QVERIFY(dialogs->infos.isEmpty());
    QCOMPARE(s.world().NumJugadores, std::int16_t(24));
    QVERIFY(s.world().genomes[kActual] == source.genomes[kActual]);
    QCOMPARE(s.world().payoffs.P[1], 0.0f);  // Gallina
    QVERIFY(worldWindow.isNull() && principal->worldWindow()->isVisible());
}

void WorldWindowScreenTest::commandLineNeedsNoDisplay() {
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

// The about box shows the program's version; "System Info" shows what the program knows of the
// machine and keeps the box open; Escape closes the info, then the box. Closing "Main" closes
// every window.
void WorldWindowScreenTest::aboutBoxAndClosingMain() {
    clickMenu(principal.get(), nullptr, principal->mnuAbout);
    frmAbout* about = principal->aboutBox();
    QVERIFY(testing_ui::showActive(about));
    QCOMPARE(about->windowTitle(), QStringLiteral("Acerca de Morvane"));
    QCOMPARE(about->lblVersion->text(), QStringLiteral("Versión 10.25.1"));
    QVERIFY(testing_ui::saveScreenshot(about, QStringLiteral("frmAbout")));
    QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
    QPointer<QMessageBox> info = about->sysInfoBox();
    QVERIFY(testing_ui::showActive(info));
    QCOMPARE(info->windowTitle(), QStringLiteral("System Info"));
    const QString text = info->text();
    for (const QString& part : {QStringLiteral("System: "), QStringLiteral("Kernel: "),
                                QStringLiteral("Processor: "), QStringLiteral("Qt: 6.")})
        QVERIFY2(text.contains(part), qPrintable(text));
    QVERIFY(text.contains(QSysInfo::kernelVersion()));
    QVERIFY(text.contains(QSysInfo::currentCpuArchitecture()));
    QVERIFY(testing_ui::saveScreenshot(info, QStringLiteral("frmAbout_sysinfo")));
    QTest::keyClick(info, Qt::Key_Escape);
    QTRY_VERIFY(!info || !info->isVisible());
    QVERIFY(testing_ui::showActive(about));
    QTest::keyClick(about, Qt::Key_Escape);
    QTRY_VERIFY(!principal->aboutBox() || !principal->aboutBox()->isVisible());

    // Closing "Main" closes every window.
    clickMenu(principal.get(), nullptr, principal->mnuPagos);
    clickMenu(principal.get(), nullptr, principal->mnuAbout);
    QTest::mouseClick(principal->cmdVerPartidas, Qt::LeftButton);
    QPointer<QWidget> worldWindow = principal->worldWindow();
    QVERIFY(worldWindow && principal->aboutBox() && principal->aboutBox()->isVisible());
    QStringList open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) open << w->windowTitle();
    QVERIFY2(open.contains(QStringLiteral("Pay offs")), qPrintable(open.join(',')));

    principal->close();
    QVERIFY(worldWindow.isNull());
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
}

QTEST_MAIN(WorldWindowScreenTest)
#include "world_window_screen_test.moc"
