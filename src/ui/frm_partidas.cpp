#include "ui/frm_partidas.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QTime>
#include <QTimer>

#include "base/rng.h"
#include "core/generation.h"
#include "core/seeding.h"
#include "core/startup.h"
#include "core/transition.h"
#include "encounter/encounter.h"
#include "encounter/move_record.h"
#include "encounter/results_table.h"
#include "games/decimal_text.h"
#include "ui/board_widget.h"
#include "ui/frm_coop_glob.h"
#include "ui/frm_detalles.h"
#include "ui/frm_fun_dibujadas.h"
#include "ui/frm_mutaciones.h"
#include "ui/frm_pagos.h"
#include "ui/frm_tipos_vecindario.h"
#include "ui/frm_transiciones.h"
#include "ui/inspector.h"
#include "ui/mouse_button.h"
#include "ui/refused_value.h"
#include "ui/results_table.h"
#include "ui/session.h"
#include "world/dimensions.h"

namespace morvane {

namespace {

constexpr int kTimerMs = 3;
const QString kGeometryKey = QStringLiteral("worldWindow/geometry");
// Room left for a window manager's frame and title bar while the window has none yet.
constexpr QSize kFrameAllowance(16, 48);

double secondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

frmPartidas::frmPartidas(QWidget* parent) : QMainWindow(parent), session_(Session::instance()) {
    setObjectName(QStringLiteral("frmPartidas"));
    buildControls();
    buildLayout();
    buildMenus();
    connectControls();
    load();
    applyReadableText(session_.readableText());
    updateTitle();
}

frmPartidas::~frmPartidas() {
    if (isVisible()) rememberPlace();
}

World& frmPartidas::world() {
    return session_.world();
}
Rng& frmPartidas::rng() {
    return session_.rng();
}

bool frmPartidas::running() const {
    return tmrCheca->isActive();
}

// ---------------------------------------------------------------- controls

void frmPartidas::buildControls() {
    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    cmdEmpezarJuego = new MouseButton(QString(), this);
    named(cmdEmpezarJuego, "cmdEmpezarJuego");
    cmdEmpezarJuego->setIconSize(QSize(20, 20));
    cmdEmpezarJuego->setMinimumWidth(48);
    cmdEmpezarJuego->setToolTip(
        tr("Left button: run, or pause a run (Return).\n"
           "Right or middle button: play one generation (Ctrl+Return).\n"
           "Any button pauses a run."));
    cmdEmpezarJuego->installEventFilter(this);
    tmrCheca = new QTimer(this);
    tmrCheca->setObjectName(QStringLiteral("tmrCheca"));
    tmrCheca->setInterval(kTimerMs);

    cmdNuevo = new MouseButton(tr("New"), this);
    named(cmdNuevo, "cmdNuevo");
    cmdNuevo->setToolTip(
        tr("Left button: a new world at random (Ctrl+N).\n"
           "Right button: a new world by the strategy distribution "
           "(Ctrl+Shift+N).\n"
           "Middle button: back to generation 0 without filling (Ctrl+Alt+N)."));
    lblIterations = new QLabel(tr("Iterations"), this);
    named(lblIterations, "lblIterations");
    hsbIter = new QScrollBar(Qt::Horizontal, this);
    named(hsbIter, "hsbIter");
    hsbIter->setRange(1, 10);
    hsbIter->setPageStep(1);
    hsbIter->setValue(4);
    hsbIter->setMinimumWidth(90);
    txtIter = new QLineEdit(QStringLiteral("4"), this);
    named(txtIter, "txtIter");
    txtIter->setFixedWidth(36);
    txtIter->setAlignment(Qt::AlignCenter);
    txtIter->installEventFilter(this);
    lblGeneracion = new QLabel(this);
    named(lblGeneracion, "lblGeneracion");
    // Fixed sizes: the texts change every generation and must not lay the window out again.
    lblGeneracion->setFixedSize(70, lblGeneracion->sizeHint().height());
    lblTimer = new QLabel(this);
    named(lblTimer, "lblTimer");
    lblTimer->setFixedSize(90, lblTimer->sizeHint().height());
    lblTimer->setToolTip(tr("Seconds the last generation of the run took"));

    const char* sen[3] = {"Ci Sen", "Ei Sen", "Si Sen"};
    for (int i = 0; i < 3; ++i) {
        chkSen[i] = new QCheckBox(QString::fromLatin1(sen[i]), this);
        chkSen[i]->setObjectName(QStringLiteral("chkSen%1").arg(i));
    }
    chkPartirTarta = new QCheckBox(QStringLiteral("Partir tarta"), this);
    named(chkPartirTarta, "chkPartirTarta");
    frmUmbrales = new QGroupBox(QStringLiteral(" Minimal to... "), this);
    named(frmUmbrales, "frmUmbrales");
    lblVida = new QLabel(frmUmbrales);
    named(lblVida, "lblVida");
    lblReproduccion = new QLabel(frmUmbrales);
    named(lblReproduccion, "lblReproduccion");
    lblVivirHoy = new QLabel(frmUmbrales);
    named(lblVivirHoy, "lblVivirHoy");

    cmdPagos = new QPushButton(tr("Pay offs"), this);
    named(cmdPagos, "cmdPagos");
    cmdTiposVecindario = new QPushButton(tr("Neighb."), this);
    named(cmdTiposVecindario, "cmdTiposVecindario");
    cmdCoopGlob = new QPushButton(tr("Coop."), this);
    named(cmdCoopGlob, "cmdCoopGlob");
    // Buttons that only open another window leave the focus where it is, so opening one keeps a
    // run going, as opening it from the menu does.
    for (QPushButton* b : {cmdPagos, cmdTiposVecindario, cmdCoopGlob})
        b->setFocusPolicy(Qt::TabFocus);
    cmdSelTodo = new MouseButton(tr("Fill"), this);
    named(cmdSelTodo, "cmdSelTodo");
    cmdSelTodo->setToolTip(
        tr("Put the selected strategy on every cell but the blank squares (Ctrl+Shift+F)"));

    fxgTablero = new BoardWidget(world(), this);
    scrTablero = new QScrollArea(this);
    named(scrTablero, "scrTablero");
    scrTablero->setWidget(fxgTablero);
    scrTablero->setWidgetResizable(true);
    scrTablero->setFrameShape(QFrame::NoFrame);
    fraVecindario = new Inspector(world(), session_.report(), this);
    fxgResultados = new ResultsTable(this);
}

void frmPartidas::buildLayout() {
    auto* top = new QHBoxLayout;
    top->addWidget(cmdEmpezarJuego);
    top->addWidget(cmdNuevo);
    top->addSpacing(8);
    top->addWidget(lblIterations);
    top->addWidget(hsbIter);
    top->addWidget(txtIter);
    top->addSpacing(8);
    top->addWidget(new QLabel(tr("Generation:"), this));
    top->addWidget(lblGeneracion);
    top->addWidget(new QLabel(tr("Seconds:"), this));
    top->addWidget(lblTimer);
    top->addStretch(1);
    top->addWidget(cmdSelTodo);
    top->addWidget(cmdPagos);
    top->addWidget(cmdTiposVecindario);
    top->addWidget(cmdCoopGlob);

    auto* umbrales = new QVBoxLayout(frmUmbrales);
    umbrales->setContentsMargins(6, 2, 6, 4);
    umbrales->setSpacing(1);
    umbrales->addWidget(lblVida);
    umbrales->addWidget(lblReproduccion);
    umbrales->addWidget(lblVivirHoy);
    auto* checks = new QVBoxLayout;
    for (QCheckBox* c : chkSen) checks->addWidget(c);
    checks->addWidget(chkPartirTarta);
    auto* settings = new QHBoxLayout;
    settings->addLayout(checks);
    settings->addWidget(frmUmbrales, 1);

    auto* side = new QVBoxLayout;
    side->addLayout(settings);
    side->addWidget(fraVecindario);
    side->addWidget(fxgResultados, 1);

    auto* body = new QHBoxLayout;
    body->addWidget(scrTablero, 1);
    body->addLayout(side);

    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 4, 6, 6);
    outer->addLayout(top);
    outer->addLayout(body, 1);
    setCentralWidget(central);
}

void frmPartidas::connectControls() {
    connect(cmdEmpezarJuego, qOverload<int>(&MouseButton::pressed), this,
            &frmPartidas::runButtonPressed);
    connect(cmdNuevo, qOverload<int>(&MouseButton::pressed), this, &frmPartidas::newWorldPressed);
    connect(cmdSelTodo, qOverload<int>(&MouseButton::pressed), this,
            [this](int) { putDown(fxgTablero->worldCells(), true); });
    connect(tmrCheca, &QTimer::timeout, this, &frmPartidas::tick);
    connect(hsbIter, &QScrollBar::valueChanged, this, [this](int v) {
        txtIter->setText(QString::number(v));
        clearRefused(txtIter);
        world().Iteraciones = static_cast<std::uint8_t>(v);
        settingEdited();
    });
    // What is typed is taken when the box is left or the run starts; a value outside 1..10 is
    // refused as soon as it is typed.
    connect(txtIter, &QLineEdit::textEdited, this, [this](const QString& typed) {
        int n = 0;
        if (typed.trimmed().isEmpty() || (readWholeNumber(typed, n) && n >= 1 && n <= 10))
            clearRefused(txtIter);
        else
            showRefused(txtIter, QStringLiteral("1..10"));
    });
    for (int i = 0; i < 3; ++i)
        connect(chkSen[i], &QCheckBox::toggled, this, [this, i](bool on) {
            world().options.chkSen[i] = on;
            settingEdited();
        });
    connect(chkPartirTarta, &QCheckBox::toggled, this, [this](bool on) {
        world().options.chkPartirTarta = on;
        settingEdited();
    });
    connect(fraVecindario->hsbAdHoc, &QScrollBar::valueChanged, this,
            [this](int v) { world().options.hsbAdHoc = v; });
    connect(cmdPagos, &QPushButton::clicked, this, &frmPartidas::showPagos);
    connect(cmdCoopGlob, &QPushButton::clicked, this, [] { frmCoopGlob::open(); });
    connect(cmdTiposVecindario, &QPushButton::clicked, this, &frmPartidas::showTiposVecindario);

    connect(fxgTablero, &BoardWidget::inspectRequested, this, &frmPartidas::inspect);
    connect(fxgTablero, &BoardWidget::pickUpRequested, this, &frmPartidas::pickUp);
    connect(fxgTablero, &BoardWidget::putDownRequested, this,
            [this](int cell) { putDown({cell}, false); });
    connect(fxgTablero, &BoardWidget::putDownRectRequested, this,
            [this](const QList<int>& cells) { putDown(cells, true); });
    connect(fraVecindario, &Inspector::labelPressed, this, [this](int cell) {
        if (!neighbourhoodsShown() || cell < 1) return;
        world().CasillaSel = static_cast<std::int16_t>(cell);
        showNeighbourhood(false);
        fraVecindario->MostrarGenoma(cell);
    });
    connect(fraVecindario, &Inspector::transitionBoxPressed, this, &frmPartidas::showTransitions);
    connect(fraVecindario, &Inspector::genomeBoxPressed, this,
            [](int copia, int cell) { frmFunDibujadas::FunCoop(copia, cell, 0); });
    connect(fxgResultados, &ResultsTable::rivalPressed, this, &frmPartidas::explainRivalRow);
    connect(fxgResultados, &ResultsTable::indexToggleRequested, this, &frmPartidas::cambiarIndice);
    connect(fxgResultados, &ResultsTable::dispToggled, this,
            [this] { mostrarPartidas(world().CasillaSel); });

    connect(&session_, &Session::aboutToShowModal, this, &frmPartidas::pause);
    connect(&session_, &Session::worldReplaced, this, [this] {
        pause();
        load();
    });
    connect(&session_, &Session::genomesChanged, this, [this] {
        if (announcing_) return;
        // Another window refilled the world: its count starts again.
        if (world().Generacion == 0) lblGeneracion->clear();
        DibujarMapa(world().options.mnuSoloSelec);
        fraVecindario->ShowNeighbourhood();
        fraVecindario->MostrarGenoma(world().CasillaSel);
        fraVecindario->showSelected(0);
    });
    connect(&session_, &Session::thresholdsChanged, this, &frmPartidas::refreshThresholds);
    connect(&session_, &Session::fileStateChanged, this, &frmPartidas::updateTitle);
    connect(&session_, &Session::readableTextChanged, this, &frmPartidas::applyReadableText);
}

void frmPartidas::settingEdited() {
    if (!loading_) session_.setWorldModified(true);
}

void frmPartidas::updateTitle() {
    const QString path = session_.scenarioPath();
    setWindowTitle(path.isEmpty()
                       ? QStringLiteral("World[*]")
                       : QStringLiteral("World - %1[*]").arg(QFileInfo(path).fileName()));
    setWindowModified(session_.worldModified());
}

void frmPartidas::applyReadableText(bool on) {
    readableTextAction->setChecked(on);
    fxgTablero->setReadableText(on);
    fraVecindario->setReadableText(on);
    fxgResultados->results().setReadableText(on);
}

void frmPartidas::takeIterations() {
    const QString typed = txtIter->text();
    int n = 0;
    if (typed.trimmed().isEmpty()) {
        // A box left empty shows the value in force again.
        txtIter->setText(QString::number(hsbIter->value()));
        clearRefused(txtIter);
    } else if (readWholeNumber(typed, n) && n >= 1 && n <= 10) {
        hsbIter->setValue(n);
        txtIter->setText(QString::number(n));
        clearRefused(txtIter);
    } else {
        showRefused(txtIter, QStringLiteral("1..10"));
    }
}

// ---------------------------------------------------------------- size and place

// The window's size with the board's scroll area asked to hold `board` whole.
QSize frmPartidas::sizeShowingBoard(QSize board) {
    // Every layout keeps its hints until told otherwise, the nested ones included.
    auto forgetHints = [this] {
        for (QLayout* l : centralWidget()->findChildren<QLayout*>()) l->invalidate();
        centralWidget()->updateGeometry();
        layout()->invalidate();
    };
    const QSize before = scrTablero->minimumSize();
    scrTablero->setMinimumSize(board);
    forgetHints();
    const QSize size = layout()->totalSizeHint().expandedTo(layout()->totalMinimumSize());
    scrTablero->setMinimumSize(before);
    forgetHints();
    return size;
}

void frmPartidas::placeOnScreen(QScreen* screen) {
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || placeRemembered()) return;
    const QRect avail = screen->availableGeometry();
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : kFrameAllowance;
    // The board at its designed cell size when that fits, else as much as the screen allows:
    // the scroll bars then take only what does not fit.
    const QSize size = sizeShowingBoard(fxgTablero->sizeHint()).boundedTo(avail.size() - frame);
    resize(size);
    const QSize outer = size + frame;
    move(avail.x() + std::max(0, (avail.width() - outer.width()) / 2),
         avail.y() + std::max(0, (avail.height() - outer.height()) / 2));
}

bool frmPartidas::placeRemembered() {
    const QByteArray saved = QSettings().value(kGeometryKey).toByteArray();
    if (saved.isEmpty()) return false;
    const QRect before = geometry();
    if (!restoreGeometry(saved)) return false;
    bool onScreen = false;
    for (const QScreen* s : QGuiApplication::screens())
        onScreen = onScreen || s->availableGeometry().contains(frameGeometry());
    const QSize startUp =
        sizeShowingBoard(BoardWidget::minimumSizeFor(kFilasBar.start, kColumnasBar.start));
    if (onScreen && size().width() >= startUp.width() && size().height() >= startUp.height())
        return true;
    setGeometry(before);
    return false;
}

void frmPartidas::rememberPlace() {
    QSettings().setValue(kGeometryKey, saveGeometry());
}

// ---------------------------------------------------------------- load

void frmPartidas::load() {
    loading_ = true;
    World& w = world();
    if (w.NumJugadores < 1) startWorld(w, rng());
    session_.simulation().worldLoaded();
    const QSignalBlocker blockIter(hsbIter);
    hsbIter->setValue(std::clamp<int>(w.Iteraciones, 1, 10));
    txtIter->setText(QString::number(hsbIter->value()));
    w.Iteraciones = static_cast<std::uint8_t>(hsbIter->value());
    for (int i = 0; i < 3; ++i) chkSen[i]->setChecked(w.options.chkSen[i]);
    chkPartirTarta->setChecked(w.options.chkPartirTarta);
    fraVecindario->hsbAdHoc->setValue(w.options.hsbAdHoc);
    syncMenus();

    lblGeneracion->setText(w.Generacion > 0 ? QString::number(w.Generacion) : QString());
    lblTimer->clear();
    fxgResultados->results().setShowsMoves(false);
    fxgResultados->results().setRowCount(w.MovPosibles + 2);
    refreshIndexHeaders();
    fxgTablero->rebuild(w.CasillaSel);
    DibujarMapa(w.options.mnuSoloSelec);
    showNeighbourhood(false);
    fraVecindario->MostrarGenoma(w.CasillaSel);
    fraVecindario->showSelected(0);
    refreshThresholds();
    setRunning(false);
    loading_ = false;
}

void frmPartidas::refreshThresholds() {
    const World& w = world();
    lblVida->setText(QStringLiteral("survive: ") + text(decimalText(w.UmbralSupervivencia)));
    lblReproduccion->setText(QStringLiteral("reproduce: ") +
                             text(decimalText(w.UmbralReproduccion)));
    lblVivirHoy->setText(QStringLiteral("surv. today: ") + text(decimalText(w.UmbralHoy)));
}

// ---------------------------------------------------------------- run

void frmPartidas::setRunning(bool on) {
    if (on)
        tmrCheca->start();
    else
        tmrCheca->stop();
    cmdEmpezarJuego->setIcon(
        style()->standardIcon(on ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    if (runAction != nullptr) runAction->setText(on ? tr("Pause") : tr("Run"));
}

void frmPartidas::pause() {
    setRunning(false);
}

void frmPartidas::runButtonPressed(int button) {
    if (running()) {
        pause();
        return;
    }
    takeIterations();
    prepare();
    if (button == 1) {
        setRunning(true);
        return;
    }
    rng().reseedFromClock();
    playGeneration();
}

// The run preparation commits the pending settings; the window shows what that changed.
void frmPartidas::prepare() {
    World& w = world();
    const std::uint8_t codeBefore = w.neighbourhood.CodVecin[kPrevio];
    const bool rebuildsTable =
        w.options.mnuOpcion[7] || codeBefore != w.neighbourhood.CodVecin[kActual];
    session_.simulation().prepare();
    fxgResultados->results().setRowCount(w.MovPosibles + 2);
    if (rebuildsTable) fraVecindario->ShowNeighbourhood();
    refreshIndexHeaders();
}

void frmPartidas::tick() {
    if (inGeneration_) return;
    clock_.start();
    session_.report().TiempoInicio = secondsSinceMidnight();
    rng().reseedFromClock();
    playGeneration();
    const double seconds = clock_.nsecsElapsed() / 1e9;
    session_.report().TiempoFin = session_.report().TiempoInicio + seconds;
    lblTimer->setText(text(decimalText(static_cast<float>(seconds))));
}

void frmPartidas::playGeneration() {
    if (inGeneration_) return;
    inGeneration_ = true;
    // Both big views stay still while the generation rewrites the world under them.
    fxgResultados->setUpdatesEnabled(false);
    fxgTablero->setUpdatesEnabled(false);
    session_.simulation().step();
    showGeneration();
    if (world().options.mnuVerMutaciones) {
        frmMutaciones* view = mutationsView();
        view->showGeneration(world(), session_.report());
        view->show();
    }
    inGeneration_ = false;
    emit session_.generationDone();
}

void frmPartidas::showGeneration() {
    const World& w = world();
    lblGeneracion->setText(QString::number(w.Generacion));
    showLiveRows();
    fxgResultados->setUpdatesEnabled(true);
    fraVecindario->RefreshNeighbourBoxes();
    fraVecindario->MostrarGenoma(w.CasillaSel);
    DibujarMapa(w.options.mnuSoloSelec);
}

void frmPartidas::newWorldPressed(int button) {
    lblGeneracion->clear();
    pause();
    session_.simulation().refill(button);
    fxgTablero->setUpdatesEnabled(false);
    DibujarMapa(world().options.mnuSoloSelec);
    showNeighbourhood(false);
    fraVecindario->MostrarGenoma(world().CasillaSel);
    announceGenomes();
}

void frmPartidas::DibujarMapa(bool soloSeleccion) {
    fxgTablero->DibujarMapa(soloSeleccion);
}

bool frmPartidas::eventFilter(QObject* watched, QEvent* e) {
    if (watched == txtIter && e->type() == QEvent::FocusOut) takeIterations();
    if (watched == cmdEmpezarJuego && e->type() == QEvent::FocusOut) {
        // Opening a menu or turning to another window keeps the run going; anything else that
        // takes the focus from the run button pauses it.
        const Qt::FocusReason why = static_cast<QFocusEvent*>(e)->reason();
        if (why != Qt::PopupFocusReason && why != Qt::ActiveWindowFocusReason &&
            why != Qt::MenuBarFocusReason)
            pause();
    }
    return QMainWindow::eventFilter(watched, e);
}

// A closed world window leaves the world as it is, paused; a changed one asks first.
void frmPartidas::closeEvent(QCloseEvent* e) {
    pause();
    if (!session_.maySetWorldAside(this)) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
}

void frmPartidas::hideEvent(QHideEvent* e) {
    pause();
    rememberPlace();
    QMainWindow::hideEvent(e);
}

// ---------------------------------------------------------------- inspector and results

bool frmPartidas::neighbourhoodsShown() {
    const auto& code = world().neighbourhood.CodVecin;
    if (code[kPrevio] == code[kActual]) return true;
    session_.info(this, QStringLiteral("Neighbourhoods can't be shown after changing options."));
    return false;
}

void frmPartidas::inspect(int cell) {
    if (!neighbourhoodsShown()) return;
    world().CasillaSel = static_cast<std::int16_t>(cell);
    showNeighbourhood(false);
    fraVecindario->MostrarGenoma(cell);
}

void frmPartidas::showNeighbourhood(bool keepRows) {
    fraVecindario->ShowNeighbourhood();
    if (!keepRows) mostrarPartidas(world().CasillaSel);
}

// The selected cell's rows as it played them, written by the encounters themselves.
void frmPartidas::showLiveRows() {
    const World& w = world();
    const int sel = w.CasillaSel;
    std::vector<ResultRow> rows;
    const GenerationReport& r = session_.report();
    if (r.selectedRowsCell == sel && sel >= 1 && sel <= w.NumJugadores) {
        const std::size_t played = static_cast<std::size_t>(std::max(0, r.jugadas(sel, 0)));
        rows.assign(r.selectedRows.begin(),
                    r.selectedRows.begin() + std::min(played, r.selectedRows.size()));
    }
    const QPalette pal = fraVecindario->txtGenoma->palette();
    fxgResultados->results().setRows(sel, pal.color(QPalette::Base), pal.color(QPalette::Text),
                                     std::move(rows));
}

// The rows of a cell replayed on the snapshot genomes and the committed settings, with the replay
// generator, so looking never changes the run.
void frmPartidas::mostrarPartidas(int cell) {
    World& w = world();
    if (cell < 1 || cell > w.NumJugadores) return;
    CellResults t = MostrarPartidas(w, session_.report(), cell, session_.replayRng());
    const auto& col = t.colours;
    QColor back(col[0], col[1], col[2]), fore(col[3], col[4], col[5]);
    if (w.Generacion == 0) {
        // No generation yet, so no previous copy to colour the corner from.
        const QPalette window = fxgResultados->palette();
        back = window.color(QPalette::Base);
        fore = window.color(QPalette::Text);
    }
    fxgResultados->results().setRows(t.cell, back, fore, std::move(t.rows));
}

void frmPartidas::refreshIndexHeaders() {
    const IndexHeaders h = indexHeaders(world());
    fxgResultados->results().setIndexHeaders(text(h.ciR), text(h.ciP), h.italic);
}

void frmPartidas::cambiarIndice() {
    const IndexHeaders h = CambiarIndice(world());
    fxgResultados->results().setIndexHeaders(text(h.ciR), text(h.ciP), h.italic);
}

// ---------------------------------------------------------------- picking up and putting down

void frmPartidas::pickUp(int cell) {
    CopiarGenoma(world(), rng(), 0, cell, cell, kActual, kActual, 0);
    fraVecindario->showSelected(cell);
}

void frmPartidas::putDown(const QList<int>& cells, bool skipBlank) {
    if (cells.isEmpty()) return;
    World& w = world();
    fxgTablero->setUpdatesEnabled(false);
    QList<int> changed;
    for (int cell : cells) {
        if (skipBlank && isBlankSquare(w.genoma(kActual, cell))) continue;
        CopiarGenoma(w, rng(), cell, 0, 0, kActual, kActual, 0);
        changed.append(cell);
    }
    fxgTablero->showCells(changed);
    fxgTablero->setUpdatesEnabled(true);
    // The genome boxes belong to the inspected cell, wherever the strategy was put down.
    fraVecindario->MostrarGenoma(w.CasillaSel);
    announceGenomes();
}

void frmPartidas::announceGenomes() {
    announcing_ = true;
    emit session_.genomesChanged();
    announcing_ = false;
}

// ---------------------------------------------------------------- other windows

frmMutaciones* frmPartidas::openMutationsView() const {
    return mutations_.data();
}

frmMutaciones* frmPartidas::mutationsView() {
    if (!mutations_) {
        mutations_ = new frmMutaciones;
        mutations_->setAttribute(Qt::WA_DeleteOnClose);
        // The twin start button prepares the run as this window's own does.
        connect(mutations_, &frmMutaciones::runButtonPressed, this, &frmPartidas::runButtonPressed);
        connect(mutations_, &frmMutaciones::closed, this, [this] { setMutationsTicked(false); });
        mutations_->showGeneration(world(), session_.report());
    }
    return mutations_;
}

// Ticking "Mutations" shows the view, unticking or closing it does the other: an open view is
// always fed.
void frmPartidas::setMutationsTicked(bool on) {
    bool& ticked = world().options.mnuVerMutaciones;
    if (ticked != on) {
        ticked = on;
        syncMenus();
        settingEdited();
    }
    if (on)
        mutationsView()->show();
    else if (mutations_ && mutations_->isVisible())
        mutations_->close();
}

// A rival's number in the results table: the left button explains how the inspected cell saw the
// rival in that encounter, any other how the rival saw the inspected cell.
void frmPartidas::explainRivalRow(int row, int button) {
    const World& w = world();
    const GenerationReport& rep = session_.report();
    const int cell = fxgResultados->results().inspectedCell();
    const int slot = row - 1;
    if (cell < 1 || cell > w.NumJugadores || !recordsReadable(w, rep) || slot < 1 ||
        slot > rep.jugadas(cell, 0))
        return;
    const std::int32_t record = rep.jugadas(cell, slot);
    const int rival = moveRecord::partner(record);
    const QString header = fxgResultados->results().text(1, 1);
    const bool cooperation = header == QStringLiteral("Ci R");
    const bool italic = fxgResultados->results().indexHeadersItalic();
    frmDetalles* details = frmDetalles::open();
    if (button == 1)
        details->ExplicarPartida(rival, cell, moveRecord::partnerSlot(record), cooperation, italic);
    else
        details->ExplicarPartida(cell, rival, slot, cooperation, italic);
}

void frmPartidas::showTransitions(int cell) {
    if (cell < 1 || cell > world().NumJugadores) return;
    frmTransiciones::open()->Inicio(cell);
}

void frmPartidas::showPagos() {
    frmPagos::open();
}
void frmPartidas::showTiposVecindario() {
    frmTiposVecindario::open();
}

}  // namespace morvane
