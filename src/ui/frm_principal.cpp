#include "ui/frm_principal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/startup.h"
#include "io/scenario_file.h"
#include "ui/frm_about.h"
#include "ui/frm_pagos.h"
#include "ui/frm_partidas.h"
#include "ui/frm_rangos.h"
#include "ui/refused_value.h"
#include "ui/session.h"

namespace morvane {

// ---------------------------------------------------------------- UpwardBar

UpwardBar::UpwardBar(const BarRange& range, QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    // Negated values put the largest number at the top; the upper arrow then raises it.
    setRange(-range.max, -range.min);
    setValue(-range.start);
    setSingleStep(1);
    setPageStep(1);
    // The up key raises the number as the upper arrow does.
    setInvertedControls(true);
    setMinimumHeight(120);
    connect(this, &QScrollBar::valueChanged, this, [this](int v) { emit numberChanged(-v); });
}

void UpwardBar::setNumberQuietly(int n) {
    const QSignalBlocker quiet(this);
    setValue(-n);
}

// ---------------------------------------------------------------- EntrepreneurPreview

namespace {
constexpr int kPreviewCell = 8;  // pixels per cell at the largest layout
const QColor kEntrepreneur(255, 0, 0);
}  // namespace

EntrepreneurPreview::EntrepreneurPreview(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize EntrepreneurPreview::sizeHint() const {
    return {kColumnasBar.max * kPreviewCell + 1, kFilasBar.max * kPreviewCell + 1};
}

void EntrepreneurPreview::setGrid(const EntrepreneurGrid& g) {
    grid_ = g;
    update();
}

QColor EntrepreneurPreview::cellColour(int row, int column) const {
    const bool redRow =
        std::find(grid_.redRows.begin(), grid_.redRows.end(), row) != grid_.redRows.end();
    const bool redCol =
        std::find(grid_.redCols.begin(), grid_.redCols.end(), column) != grid_.redCols.end();
    return redRow && redCol ? kEntrepreneur : QColor(Qt::white);
}

void EntrepreneurPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (grid_.Rows <= 0 || grid_.Cols <= 0) return;
    for (int r = 0; r < grid_.Rows; ++r)
        for (int c = 0; c < grid_.Cols; ++c)
            p.fillRect(c * kPreviewCell, r * kPreviewCell, kPreviewCell, kPreviewCell,
                       cellColour(r, c));
    p.setPen(QColor(192, 192, 192));
    for (int r = 0; r <= grid_.Rows; ++r)
        p.drawLine(0, r * kPreviewCell, grid_.Cols * kPreviewCell, r * kPreviewCell);
    for (int c = 0; c <= grid_.Cols; ++c)
        p.drawLine(c * kPreviewCell, 0, c * kPreviewCell, grid_.Rows * kPreviewCell);
}

// ---------------------------------------------------------------- frmPrincipal

namespace {

QLineEdit* numberBox(int value) {
    auto* box = new QLineEdit(QString::number(value));
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(40);
    return box;
}

// A caption, the bar's box and the bar, stacked in one column of a frame.
void addBarColumn(QGridLayout* grid, int column, const QString& caption, QLineEdit* box,
                  UpwardBar* bar) {
    auto* label = new QLabel(caption);
    label->setAlignment(Qt::AlignCenter);
    grid->addWidget(label, 0, column, Qt::AlignHCenter);
    grid->addWidget(box, 1, column, Qt::AlignHCenter);
    grid->addWidget(bar, 2, column, Qt::AlignHCenter);
    grid->setRowStretch(2, 1);
}

QString refusalText(const QString& path, const LoadResult& r) {
    const QString name = QFileInfo(path).fileName();
    if (r.line <= 0) return QStringLiteral("%1\n%2").arg(name, QString::fromStdString(r.reason));
    return QStringLiteral("%1\nLine %2: %3")
        .arg(name)
        .arg(r.line)
        .arg(QString::fromStdString(r.reason));
}

}  // namespace

frmPrincipal::frmPrincipal(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Main"));
    // The window's load sets every process-wide default.
    Session::instance().reset();

    buildMenus();
    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    auto* left = new QVBoxLayout;
    auto* frames = new QHBoxLayout;
    frames->addWidget(buildWorldFrame());
    frames->addWidget(buildEntrepreneurFrame());
    left->addLayout(frames, 1);
    cmdRangos = new QPushButton(QStringLiteral("Strat. limits"));
    connect(cmdRangos, &QPushButton::clicked, this, [] { frmRangos::open(); });
    cmdVerPartidas = new QPushButton(QStringLiteral("Start"));
    cmdVerPartidas->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdRangos);
    buttons->addStretch();
    buttons->addWidget(cmdVerPartidas);
    left->addLayout(buttons);
    columns->addLayout(left);

    auto* right = new QVBoxLayout;
    lblTamano = new QLabel;
    fxgTablero = new EntrepreneurPreview;
    right->addWidget(lblTamano);
    right->addWidget(fxgTablero);
    right->addStretch();
    columns->addLayout(right);
    setCentralWidget(central);

    connect(cmdVerPartidas, &QPushButton::clicked, this, &frmPrincipal::cmdVerPartidas_Click);
}

frmPrincipal::~frmPrincipal() {
    delete worldWindow_;
    delete about_;
}

void frmPrincipal::buildMenus() {
    mnuArchivo = menuBar()->addMenu(QStringLiteral("File"));
    mnuAbrir = mnuArchivo->addAction(QStringLiteral("Open"));
    // Scenarios are saved from the world window; here there is no world to save.
    mnuGuardar = mnuArchivo->addAction(QStringLiteral("Save"));
    mnuGuardarComo = mnuArchivo->addAction(QStringLiteral("Save as"));
    mnuGuardar->setEnabled(false);
    mnuGuardarComo->setEnabled(false);
    mnuArchivo->addSeparator();
    mnuRecientes = mnuArchivo->addMenu(QStringLiteral("Recent files"));
    fillRecentFiles();
    connect(&Session::instance(), &Session::recentFilesChanged, this,
            &frmPrincipal::fillRecentFiles);
    mnuPagos = menuBar()->addAction(QStringLiteral("Pay offs"));
    mnuEditorEstrategias = menuBar()->addAction(QStringLiteral("Edit strategies"));
    mnuEditorEstrategias->setEnabled(false);  // the editor is reached from a cell of the world
    mnuAbout = menuBar()->addAction(QStringLiteral("About..."));

    connect(mnuAbrir, &QAction::triggered, this, &frmPrincipal::mnuAbrir_Click);
    connect(mnuPagos, &QAction::triggered, this, [] { frmPagos::open(); });
    connect(mnuAbout, &QAction::triggered, this, &frmPrincipal::mnuAbout_Click);
}

void frmPrincipal::fillRecentFiles() {
    mnuRecientes->clear();
    const QStringList files = Session::instance().recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* a = mnuRecientes->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setToolTip(path);
        connect(a, &QAction::triggered, this, [this, path] { openScenario(path); });
    }
    mnuRecientes->setToolTipsVisible(true);
    mnuRecientes->setEnabled(!files.isEmpty());
}

QWidget* frmPrincipal::buildWorldFrame() {
    auto* frame = new QGroupBox(QStringLiteral("World"));
    frame->setObjectName(QStringLiteral("fraMapa"));
    auto* grid = new QGridLayout(frame);
    vsbFilas = new UpwardBar(kFilasBar);
    txtFilas = numberBox(kFilasBar.start);
    vsbColumnas = new UpwardBar(kColumnasBar);
    txtColumnas = numberBox(kColumnasBar.start);
    addBarColumn(grid, 0, QStringLiteral("Rows"), txtFilas, vsbFilas);
    addBarColumn(grid, 1, QStringLiteral("Columns"), txtColumnas, vsbColumnas);
    // The bars only hold the size: a world that exists keeps its own until the next "Start".
    connect(vsbFilas, &UpwardBar::numberChanged, this, [this](int n) {
        txtFilas->setText(QString::number(n));
        clearRefused(txtFilas);
        showPreview();
    });
    connect(vsbColumnas, &UpwardBar::numberChanged, this, [this](int n) {
        txtColumnas->setText(QString::number(n));
        clearRefused(txtColumnas);
        showPreview();
    });
    connectTypedBox(txtFilas, vsbFilas, kFilasBar);
    connectTypedBox(txtColumnas, vsbColumnas, kColumnasBar);
    return frame;
}

QWidget* frmPrincipal::buildEntrepreneurFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Empresarios"));
    auto* grid = new QGridLayout(frame);
    vsbColEmp = new UpwardBar(kColEmpBar);
    txtColEmp = numberBox(kColEmpBar.start);
    vsbDistCol = new UpwardBar(kDistColBar);
    txtDistCol = numberBox(kDistColBar.start);
    vsbFilEmp = new UpwardBar(kFilEmpBar);
    txtFilEmp = numberBox(kFilEmpBar.start);
    vsbDistFil = new UpwardBar(kDistFilBar);
    txtDistFil = numberBox(kDistFilBar.start);
    addBarColumn(grid, 0, QStringLiteral("in Col"), txtColEmp, vsbColEmp);
    addBarColumn(grid, 1, QStringLiteral("Distance X"), txtDistCol, vsbDistCol);
    addBarColumn(grid, 2, QStringLiteral("in Row"), txtFilEmp, vsbFilEmp);
    addBarColumn(grid, 3, QStringLiteral("Distance Y"), txtDistFil, vsbDistFil);

    const std::array<std::pair<UpwardBar*, EntrepreneurBar>, 4> bars{{
        {vsbColEmp, EntrepreneurBar::ColEmp},
        {vsbDistCol, EntrepreneurBar::DistCol},
        {vsbFilEmp, EntrepreneurBar::FilEmp},
        {vsbDistFil, EntrepreneurBar::DistFil},
    }};
    for (const auto& [bar, which] : bars)
        connect(bar, &UpwardBar::numberChanged, this,
                [this, which = which](int n) { entrepreneurChanged(which, n); });
    connectTypedBox(txtColEmp, vsbColEmp, kColEmpBar);
    connectTypedBox(txtDistCol, vsbDistCol, kDistColBar);
    connectTypedBox(txtFilEmp, vsbFilEmp, kFilEmpBar);
    connectTypedBox(txtDistFil, vsbDistFil, kDistFilBar);
    return frame;
}

void frmPrincipal::connectTypedBox(QLineEdit* box, UpwardBar* bar, const BarRange& range) {
    box->setToolTip(QStringLiteral("%1..%2: type a number and press Return, or use the bar")
                        .arg(range.min)
                        .arg(range.max));
    connect(box, &QLineEdit::editingFinished, this, [box, bar, range] {
        int n = 0;
        if (!readWholeNumber(box->text(), n) || n < range.min || n > range.max) {
            showRefused(box, QStringLiteral("%1..%2").arg(range.min).arg(range.max));
            return;
        }
        clearRefused(box);
        // The bar announces a change, which the fit check may lower; the box shows the outcome.
        bar->setValue(-n);
        box->setText(QString::number(bar->number()));
    });
}

void frmPrincipal::entrepreneurChanged(EntrepreneurBar bar, int value) {
    // The fit check may lower a count; its bar and box follow what the layout keeps.
    setEntrepreneurBar(layout_, bar, value);
    const std::array<std::tuple<UpwardBar*, QLineEdit*, int>, 4> shown{{
        {vsbColEmp, txtColEmp, layout_.ColEmp},
        {vsbDistCol, txtDistCol, layout_.DistCol},
        {vsbFilEmp, txtFilEmp, layout_.FilEmp},
        {vsbDistFil, txtDistFil, layout_.DistFil},
    }};
    for (const auto& [b, box, n] : shown) {
        b->setNumberQuietly(n);
        box->setText(QString::number(n));
        clearRefused(box);
    }
    showLayout();
}

void frmPrincipal::showLayout() {
    const EntrepreneurGrid g = layEntrepreneurs(layout_);
    fxgTablero->setGrid(g);
    lblTamano->setText(QStringLiteral("Cols %1, Rows %2").arg(g.Cols).arg(g.Rows));
    // The world takes the layout's size, as if the rows and columns bars had been moved.
    vsbFilas->setValue(-kFilasBar.clamp(g.Rows));
    vsbColumnas->setValue(-kColumnasBar.clamp(g.Cols));
}

void frmPrincipal::showPreview() {
    EntrepreneurGrid g = layEntrepreneurs(layout_);
    g.Rows = vsbFilas->number();
    g.Cols = vsbColumnas->number();
    g.redRows.clear();
    g.redCols.clear();
    for (int r = layout_.DistFil - 1; r < g.Rows; r += layout_.DistFil + 1) g.redRows.push_back(r);
    for (int c = layout_.DistCol - 1; c < g.Cols; c += layout_.DistCol + 1) g.redCols.push_back(c);
    fxgTablero->setGrid(g);
    lblTamano->setText(QStringLiteral("Cols %1, Rows %2").arg(g.Cols).arg(g.Rows));
}

void frmPrincipal::cmdVerPartidas_Click() {
    Session& s = Session::instance();
    if (!s.maySetWorldAside(this)) return;
    closeWorldWindow();
    World& w = s.world();
    w.NumFilas = static_cast<std::int16_t>(vsbFilas->number());
    w.NumColumnas = static_cast<std::int16_t>(vsbColumnas->number());
    startWorld(w, s.rng());
    emit s.worldReplaced();
    openWorldWindow();
    s.worldTaken(QString());
}

void frmPrincipal::mnuAbrir_Click() {
    Session& s = Session::instance();
    if (!s.maySetWorldAside(this)) return;
    const QString path = s.openFileName(this, Session::scenarioFilter());
    if (path.isEmpty()) return;  // cancelled
    openScenario(path);
}

bool frmPrincipal::openScenario(const QString& path) {
    Session& s = Session::instance();
    if (!s.maySetWorldAside(this)) return false;
    // The file is read whole into a copy; the world and its window change only once it is taken.
    World loaded = s.world();
    const LoadResult r = CargarEscenario(loaded, QFile::encodeName(path).toStdString());
    if (!r.ok) {
        s.info(this, refusalText(path, r));
        return false;
    }
    closeWorldWindow();
    s.world() = std::move(loaded);
    emit s.worldReplaced();
    openWorldWindow();
    s.worldTaken(path);
    return true;
}

void frmPrincipal::closeWorldWindow() {
    // Deleting the window stops its run before the world under it changes.
    delete worldWindow_;
}

void frmPrincipal::openWorldWindow() {
    // The world is made ready for its window here, so it is whole even before a window exists.
    // A new world shows cooperation until the user asks for success: the switch is not kept.
    World& w = Session::instance().world();
    w.options.CiEsExito = w.options.CiEsExitoMenu = 0;
    Session::instance().simulation().worldLoaded();
    if (!worldWindowFactory_) return;
    worldWindow_ = worldWindowFactory_();
    if (!worldWindow_) return;
    // The world window sets its own size and place, on the screen this window is on.
    if (auto* partidas = qobject_cast<frmPartidas*>(worldWindow_.data()))
        partidas->placeOnScreen(screen());
    worldWindow_->show();
    worldWindow_->raise();
    worldWindow_->activateWindow();
}

void frmPrincipal::mnuAbout_Click() {
    if (!about_) {
        about_ = new frmAbout;
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void frmPrincipal::closeEvent(QCloseEvent* event) {
    if (worldWindow_ && !Session::instance().maySetWorldAside(this)) {
        event->ignore();
        return;
    }
    // The start-up window owns the program: every other window goes with it.
    delete worldWindow_;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->close();
    event->accept();
}

}  // namespace morvane
