#include "ui/frm_fun_dibujadas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "base/copies.h"
#include "core/selected_fill.h"
#include "io/strategy_file.h"
#include "strategy/behaviour.h"
#include "strategy/strategy_editing.h"
#include "ui/frm_distribuir.h"
#include "ui/frm_rangos.h"
#include "ui/function_picture.h"
#include "ui/mouse_button.h"
#include "ui/session.h"
#include "ui/world_fill.h"

namespace morvane {

namespace {

constexpr int kFillProbability = 0;
constexpr int kIncerIC = 7, kIncerIA = 8, kTriggerMin = 9, kTriggerMax = 10, kTriggerResp = 11;

QPointer<frmFunDibujadas>& theWindow() {
    static QPointer<frmFunDibujadas> window;
    return window;
}

// A 0..100 value as its box shows it: divided by 100 ("0" for 0, "0.335" for a file's 33.5).
QString hundredths(double v) {
    return QString::number(v / 100.0, 'g', 7);
}

QString strategyFilter() {
    return QStringLiteral("Strategy files (*.est)");
}

// Where box i of the 24 neighbour boxes stands in the 5 x 5 square (row, column).
constexpr std::array<std::array<int, 2>, 24> kVecinoPlace = {{
    {1, 2}, {1, 3}, {2, 3}, {3, 3}, {0, 2}, {0, 3}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {4, 3},
    {3, 2}, {3, 1}, {2, 1}, {1, 1}, {4, 2}, {4, 1}, {4, 0}, {3, 0}, {2, 0}, {1, 0}, {0, 0}, {0, 1},
}};

QScrollBar* bar(Qt::Orientation o, int lo, int hi, const QString& name) {
    auto* b = new QScrollBar(o);
    b->setObjectName(name);
    b->setRange(lo, hi);
    b->setPageStep(o == Qt::Horizontal ? 10 : 1);
    if (o == Qt::Horizontal) b->setMinimumWidth(140);
    return b;
}

QLineEdit* box(const QString& name, int width) {
    auto* b = new QLineEdit;
    b->setObjectName(name);
    b->setFixedWidth(width);
    return b;
}

}  // namespace

frmFunDibujadas::frmFunDibujadas(QWidget* parent)
    : QMainWindow(parent), session_(Session::instance()) {
    setObjectName(QStringLiteral("frmFunDibujadas"));
    setWindowTitle(QStringLiteral("Cooperation and coordination functions"));
    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    columns->addWidget(buildCurveColumn(), 3);
    columns->addWidget(buildParameterColumn(), 2);
    columns->addWidget(buildListColumn(), 2);
    setCentralWidget(central);
    buildMenus();

    // A new world brings its own list and limits: the editor shows them, never the old ones.
    for (auto signal : {&Session::worldReplaced, &Session::strategiesReplaced})
        connect(&session_, signal, this, [this] {
            rebuildCombo();
            cmbEstrategias->setCurrentIndex(-1);
            clearHistory();
            show0();
        });
}

frmFunDibujadas* frmFunDibujadas::current() {
    return theWindow();
}

frmFunDibujadas* frmFunDibujadas::FunCoop(int copia, int cell, int pestana) {
    QPointer<frmFunDibujadas>& window = theWindow();
    if (!window) {
        window = new frmFunDibujadas;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    World& w = Session::instance().world();
    w.ListaEstrategias[kSlotFromBoard].genoma = toListForm(w.genoma(copia, cell));
    window->rebuildCombo();
    window->parteActual_ = pestana != 0 ? pestana - 1 : 0;
    window->loadItem(0);
    window->clearHistory();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

World& frmFunDibujadas::world() {
    return session_.world();
}
ListGenoma& frmFunDibujadas::working() {
    return world().ListaEstrategias[kSlotWorkingCopy].genoma;
}
ListGenomePart& frmFunDibujadas::part() {
    return working().parte[parteActual_];
}

// ---------------------------------------------------------------- building

QWidget* frmFunDibujadas::buildCurveColumn() {
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);
    auto* parts = new QHBoxLayout;
    const QString captions[2] = {QStringLiteral("Function 0 = cooperation"),
                                 QStringLiteral("Function 1 = coordination")};
    for (int p = 0; p < 2; ++p) {
        optCaso[p] = new QRadioButton(captions[p]);
        optCaso[p]->setObjectName(QStringLiteral("optCaso%1").arg(p));
        parts->addWidget(optCaso[p]);
        connect(optCaso[p], &QRadioButton::toggled, this, [this, p](bool on) {
            if (!on || loading_) return;
            parteActual_ = p;
            show0();
        });
    }
    v->addLayout(parts);
    pcbFuncion = new FunctionPicture;
    v->addWidget(pcbFuncion, 1);
    curveFormula = new QLabel;
    curveFormula->setObjectName(QStringLiteral("curveFormula"));
    curveFormula->setTextInteractionFlags(Qt::TextSelectableByMouse);
    curveFormula->setMinimumHeight(2 * curveFormula->fontMetrics().lineSpacing() + 4);
    v->addWidget(curveFormula);
    connect(pcbFuncion, &FunctionPicture::hovered, this, &frmFunDibujadas::showFormula);
    connect(pcbFuncion, &FunctionPicture::hoverLeft, this, [this] { showFormula(qQNaN()); });
    connect(pcbFuncion, &FunctionPicture::nudged, this, [this](int dx, int dy) {
        edit([&] { nudgeCurvePoint(part(), lastMoved_, dx, dy); });
        redraw();
    });
    connect(pcbFuncion, &FunctionPicture::pointPicked, this, &frmFunDibujadas::picked);
    connect(pcbFuncion, &FunctionPicture::dragStarted, this, [this] {
        dragging_ = true;
        dragBefore_ = working();
    });
    connect(pcbFuncion, &FunctionPicture::dragFinished, this, [this] {
        dragging_ = false;
        if (working() == dragBefore_) return;
        undo_.push_back(dragBefore_);
        redo_.clear();
        refreshHistoryActions();
    });
    auto* checks = new QHBoxLayout;
    chkVeruckt = new QCheckBox(QStringLiteral("Irregular"));
    chkVeruckt->setObjectName(QStringLiteral("chkVeruckt"));
    checks->addWidget(chkVeruckt);
    connect(chkVeruckt, &QCheckBox::toggled, this, [this](bool on) {
        if (loading_) return;
        edit([&] { part().Irregular = static_cast<std::uint8_t>((part().Irregular & ~1) | on); });
        redraw();
    });
    const QString lines[3] = {QStringLiteral("Line points 0 - 1"),
                              QStringLiteral("Line points 1 - 2"),
                              QStringLiteral("Line points 2 - 3")};
    for (int i = 0; i < 3; ++i) {
        chkLinea[i] = new QCheckBox(lines[i]);
        chkLinea[i]->setEnabled(false);
        chkLinea[i]->setToolTip(QStringLiteral("Not in use: the curve is always the cubic."));
        checks->addWidget(chkLinea[i]);
    }
    v->addLayout(checks);

    auto* fill = new QGroupBox(QStringLiteral("Fill probability (left button of \"Fill\")"));
    auto* g = new QGridLayout(fill);
    addCeroCien(kFillProbability, QString(), fill, g, 0);
    hsbCeroCien[kFillProbability]->setValue(100);  // every cell, until the user says less
    v->addWidget(fill);
    return column;
}

void frmFunDibujadas::addCeroCien(int i, const QString& caption, QWidget*, QGridLayout* grid,
                                  int row) {
    hsbCeroCien[i] = bar(Qt::Horizontal, 0, 100, QStringLiteral("hsbCeroCien%1").arg(i));
    txtCeroCien[i] = box(QStringLiteral("txtCeroCien%1").arg(i), 64);
    if (!caption.isEmpty()) grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(hsbCeroCien[i], row, 1);
    grid->addWidget(txtCeroCien[i], row, 2);
    connect(hsbCeroCien[i], &QScrollBar::valueChanged, this, [this, i](int v) {
        if (loading_) return;
        applyCeroCien(i, v);
    });
    connect(txtCeroCien[i], &QLineEdit::editingFinished, this,
            [this, i] { boxLeft(txtCeroCien[i]); });
}

QWidget* frmFunDibujadas::buildParameterColumn() {
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);

    auto* sens = new QGroupBox(QStringLiteral("Sensibilities and valuations"));
    auto* sg = new QGridLayout(sens);
    const QString names[7] = {{},
                              QStringLiteral("Ci (Scs) sensibility"),
                              QStringLiteral("Ei sensibility"),
                              QStringLiteral("Si sensibility"),
                              QStringLiteral("Ci (Scs) valuation"),
                              QStringLiteral("Ei valuation"),
                              QStringLiteral("Si valuation")};
    for (int i = 1; i <= 3; ++i) addCeroCien(i, names[i], sens, sg, i - 1);
    txtTotal = box(QStringLiteral("txtTotal"), 64);
    txtTotal->setReadOnly(true);
    sg->addWidget(new QLabel(QStringLiteral("Total")), 3, 1, Qt::AlignRight);
    sg->addWidget(txtTotal, 3, 2);
    for (int i = 4; i <= 6; ++i) addCeroCien(i, names[i], sens, sg, i);
    v->addWidget(sens);

    auto* search = new QGroupBox(QStringLiteral("Search type"));
    auto* sh = new QGridLayout(search);
    vsbTipoHistorial = bar(Qt::Vertical, 0, 2, QStringLiteral("vsbTipoHistorial"));
    vsbProf = bar(Qt::Vertical, 1, 15, QStringLiteral("vsbProf"));
    vsbTipo = bar(Qt::Vertical, 0, 4, QStringLiteral("vsbTipo"));
    txtProf = box(QStringLiteral("txtProf"), 130);
    txtProf->setReadOnly(true);
    sh->addWidget(new QLabel(QStringLiteral("History")), 0, 0);
    sh->addWidget(new QLabel(QStringLiteral("Depth")), 0, 1);
    sh->addWidget(new QLabel(QStringLiteral("Type")), 0, 2);
    sh->addWidget(vsbTipoHistorial, 1, 0);
    sh->addWidget(vsbProf, 1, 1);
    sh->addWidget(vsbTipo, 1, 2);
    sh->addWidget(txtProf, 1, 3);
    for (QScrollBar* b : {vsbTipoHistorial, vsbProf, vsbTipo}) b->setFixedHeight(80);
    connect(vsbTipoHistorial, &QScrollBar::valueChanged, this, [this](int h) {
        if (loading_) return;
        edit([&] { part().Busqueda = packed::withHistorial(part().Busqueda, h); });
        showSearch();
    });
    connect(vsbProf, &QScrollBar::valueChanged, this, [this](int d) {
        if (loading_) return;
        edit([&] { part().Busqueda = packed::withProf(part().Busqueda, d); });
        showSearch();
    });
    connect(vsbTipo, &QScrollBar::valueChanged, this, [this](int t) {
        if (loading_) return;
        edit([&] { part().Busqueda = packed::withTipo(part().Busqueda, 8 * t); });
        showSearch();
    });
    v->addWidget(search);

    auto* other = new QGroupBox(QStringLiteral("Other parameters"));
    auto* og = new QGridLayout(other);
    addCeroCien(kIncerIC, QStringLiteral("Ci (Success) without data"), other, og, 0);
    addCeroCien(kIncerIA, QStringLiteral("Ei without data"), other, og, 1);
    chkCopia = new QCheckBox(QStringLiteral("Copy how the bug looks like"));
    chkCopia->setObjectName(QStringLiteral("chkCopia"));
    og->addWidget(chkCopia, 2, 0, 1, 3);
    connect(chkCopia, &QCheckBox::toggled, this, [this](bool on) {
        if (loading_) return;
        edit([&] {
            part().Incertidumbre = packed::withCopia(static_cast<int>(part().Incertidumbre), on);
        });
    });
    v->addWidget(other);

    auto* trigger = new QGroupBox(QStringLiteral("Trigger"));
    auto* tg = new QGridLayout(trigger);
    addCeroCien(kTriggerMin, QStringLiteral("Min."), trigger, tg, 0);
    addCeroCien(kTriggerMax, QStringLiteral("Max."), trigger, tg, 1);
    addCeroCien(kTriggerResp, QStringLiteral("Response"), trigger, tg, 2);
    vsbAquien = bar(Qt::Horizontal, 0, 1, QStringLiteral("vsbAquien"));
    vsbCuando = bar(Qt::Horizontal, 0, 2, QStringLiteral("vsbCuando"));
    for (QScrollBar* b : {vsbAquien, vsbCuando}) {
        b->setPageStep(1);
        b->setMinimumWidth(60);
    }
    txtAquienCuando = box(QStringLiteral("txtAquienCuando"), 64);
    txtAquienCuando->setReadOnly(true);
    auto* whom = new QHBoxLayout;
    whom->addWidget(new QLabel(QStringLiteral("Whom -> When")));
    whom->addWidget(vsbAquien);
    whom->addWidget(vsbCuando);
    whom->addWidget(txtAquienCuando);
    tg->addLayout(whom, 3, 0, 1, 3);
    auto* aquien = new QLabel(
        QStringLiteral("A quién: 0 = sólo a este mismo jugador, 1 = a cualquier jugador"));
    auto* cuando = new QLabel(QStringLiteral(
        "Cuándo: 0 = jugando este mismo rol,   1 = jugando el rol inverso, 2 = siempre"));
    for (QLabel* l : {aquien, cuando}) {
        // Two lines each, always: a wrapped label is otherwise given the height of one.
        l->setWordWrap(true);
        l->setMinimumHeight(2 * l->fontMetrics().lineSpacing() + 4);
    }
    tg->addWidget(aquien, 4, 0, 1, 3);
    tg->addWidget(cuando, 5, 0, 1, 3);
    connect(vsbAquien, &QScrollBar::valueChanged, this, [this](int a) {
        if (loading_) return;
        edit([&] { part().Trigger = packed::withAquien(part().Trigger, a); });
        showTrigger();
    });
    connect(vsbCuando, &QScrollBar::valueChanged, this, [this](int c) {
        if (loading_) return;
        edit([&] { part().Trigger = packed::withCuando(part().Trigger, c); });
        showTrigger();
    });
    v->addWidget(trigger);
    v->addStretch();
    return column;
}

QWidget* frmFunDibujadas::buildListColumn() {
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);

    auto* imitation = new QGroupBox(QStringLiteral("Imitation Neighbourhood"));
    auto* ig = new QGridLayout(imitation);
    for (int i = 0; i < 24; ++i) {
        chkVecino[i] = new QCheckBox;
        chkVecino[i]->setObjectName(QStringLiteral("chkVecino%1").arg(i));
        chkVecino[i]->setToolTip(QStringLiteral("Neighbour position %1").arg(i));
        ig->addWidget(chkVecino[i], kVecinoPlace[i][0], kVecinoPlace[i][1]);
        connect(chkVecino[i], &QCheckBox::toggled, this, [this, i](bool on) {
            if (loading_) return;
            // Both parts share the mask; bits above 23, which a file may hold, are kept.
            edit([&] {
                const std::int32_t bit = std::int32_t{1} << i;
                working().VecinosImitacion =
                    on ? (working().VecinosImitacion | bit) : (working().VecinosImitacion & ~bit);
            });
        });
    }
    ig->addWidget(new QLabel(QStringLiteral("·")), 2, 2, Qt::AlignCenter);
    v->addWidget(imitation);

    const QString frames[2] = {QStringLiteral("RGB back color (function)"),
                               QStringLiteral("RGB font color (bug)")};
    for (int half = 0; half < 2; ++half) {
        auto* frame = new QGroupBox(frames[half]);
        auto* cg = new QGridLayout(frame);
        for (int k = 0; k < 3; ++k) {
            const int i = 3 * half + k;
            hsbColor[i] = bar(Qt::Horizontal, 1, 255, QStringLiteral("hsbColor%1").arg(i));
            txtColor[i] = box(QStringLiteral("txtColor%1").arg(i), 48);
            cg->addWidget(new QLabel(QStringLiteral("RGB").mid(k, 1)), k, 0);
            cg->addWidget(hsbColor[i], k, 1);
            cg->addWidget(txtColor[i], k, 2);
            connect(hsbColor[i], &QScrollBar::valueChanged, this, [this, i](int value) {
                if (loading_) return;
                edit([&] { working().Colores[i] = static_cast<std::int16_t>(value); });
                txtColor[i]->setText(QString::number(value));
                showColours();
                if (i < 3) redraw();
            });
            connect(txtColor[i], &QLineEdit::editingFinished, this,
                    [this, i] { boxLeft(txtColor[i]); });
        }
        v->addWidget(frame);
    }

    auto* list = new QGroupBox(QStringLiteral("Strategy list"));
    auto* lg = new QGridLayout(list);
    cmbEstrategias = new QComboBox;
    cmbEstrategias->setObjectName(QStringLiteral("cmbEstrategias"));
    txtNombre = new QLineEdit;
    txtNombre->setObjectName(QStringLiteral("txtNombre"));
    txtNombre->setPlaceholderText(QStringLiteral("Write the strategy's name here"));
    cmdAgregar = new QPushButton(QStringLiteral("Add to list"));
    replaceButton = new QPushButton(QStringLiteral("Replace"));
    replaceButton->setToolTip(
        QStringLiteral("Overwrite the strategy chosen in the list with the edited one"));
    cmdSeleccionar = new QPushButton(QStringLiteral("Select"));
    cmdLlenar = new MouseButton(QStringLiteral("Fill"));
    cmdLlenar->setToolTip(QStringLiteral(
        "Left button: paint the selected strategy on every cell with the fill probability\n"
        "Right button: fill the world from the distribution"));
    cmdDistribuir = new QPushButton(QStringLiteral("Distribute %"));
    cmdRangos = new QPushButton(QStringLiteral("Strat. limits"));
    cmdRestaurar = new QPushButton(QStringLiteral("Restore"));
    cmdRestaurar->setEnabled(false);
    cmdRestaurar->setToolTip(QStringLiteral("Not in use: use Undo (Ctrl+Z)"));
    cmdAceptar = new QPushButton(QStringLiteral("OK"));
    lg->addWidget(cmbEstrategias, 0, 0, 1, 2);
    lg->addWidget(txtNombre, 1, 0, 1, 2);
    lg->addWidget(cmdAgregar, 2, 0);
    lg->addWidget(replaceButton, 2, 1);
    lg->addWidget(cmdSeleccionar, 3, 0);
    lg->addWidget(cmdLlenar, 3, 1);
    lg->addWidget(cmdDistribuir, 4, 0);
    lg->addWidget(cmdRangos, 4, 1);
    lg->addWidget(cmdRestaurar, 5, 0);
    lg->addWidget(cmdAceptar, 5, 1);
    v->addWidget(list);
    v->addStretch();

    // Choosing an item loads it, the item already shown included.
    connect(cmbEstrategias, qOverload<int>(&QComboBox::activated), this, [this](int item) {
        loadItem(item);
        clearHistory();
    });
    connect(cmdAgregar, &QPushButton::clicked, this, &frmFunDibujadas::addToList);
    connect(replaceButton, &QPushButton::clicked, this, &frmFunDibujadas::replaceChosen);
    connect(cmdSeleccionar, &QPushButton::clicked, this, &frmFunDibujadas::select);
    connect(cmdLlenar, qOverload<int>(&MouseButton::pressed), this, &frmFunDibujadas::fill);
    connect(cmdDistribuir, &QPushButton::clicked, this, [] { frmDistribuir::open(); });
    connect(cmdRangos, &QPushButton::clicked, this, [] { frmRangos::open(); });
    connect(cmdAceptar, &QPushButton::clicked, this, &QWidget::close);
    return column;
}

void frmFunDibujadas::buildMenus() {
    mnuArchivo = menuBar()->addMenu(QStringLiteral("File"));
    mnuAbrir = mnuArchivo->addAction(QStringLiteral("Open"));
    mnuGuardarComo = mnuArchivo->addAction(QStringLiteral("Save as"));
    connect(mnuAbrir, &QAction::triggered, this, &frmFunDibujadas::openFile);
    connect(mnuGuardarComo, &QAction::triggered, this, &frmFunDibujadas::saveAs);

    QMenu* edits = menuBar()->addMenu(QStringLiteral("Edit"));
    undoAction = edits->addAction(QStringLiteral("Undo"));
    undoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    redoAction = edits->addAction(QStringLiteral("Redo"));
    redoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    connect(undoAction, &QAction::triggered, this, &frmFunDibujadas::undo);
    connect(redoAction, &QAction::triggered, this, &frmFunDibujadas::redo);
    edits->addSeparator();
    // The keyboard's way to both buttons of "Fill".
    fillSelectedAction = edits->addAction(QStringLiteral("Fill with the selected strategy"));
    fillSelectedAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    fillByDistributionAction = edits->addAction(QStringLiteral("Fill from the distribution"));
    fillByDistributionAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    connect(fillSelectedAction, &QAction::triggered, this, [this] { fill(1); });
    connect(fillByDistributionAction, &QAction::triggered, this, [this] { fill(2); });
    refreshHistoryActions();
}

// ---------------------------------------------------------------- showing

void frmFunDibujadas::rebuildCombo() {
    cmbEstrategias->clear();
    for (const std::string& name : listedStrategies(world().ListaEstrategias))
        cmbEstrategias->addItem(QString::fromStdString(name));
}

void frmFunDibujadas::loadItem(int item) {
    if (item < 0 || item >= cmbEstrategias->count()) return;
    cmbEstrategias->setCurrentIndex(item);
    auto& list = world().ListaEstrategias;
    list[kSlotWorkingCopy].genoma = list[item + 1].genoma;
    show0();
}

void frmFunDibujadas::show0() {
    loading_ = true;
    const ListGenomePart& p = part();
    optCaso[parteActual_]->setChecked(true);
    chkVeruckt->setChecked(p.Irregular & 1);
    const float floats[7] = {0, p.SenIC, p.SenIA, p.SenIP, p.ValIC, p.ValIA, p.ValIP};
    for (int i = 1; i <= 6; ++i) {
        hsbCeroCien[i]->setValue(static_cast<int>(std::lround(floats[i])));
        txtCeroCien[i]->setText(hundredths(floats[i]));
    }
    const int incer = static_cast<int>(p.Incertidumbre);
    const int ints[5] = {packed::incerIC(incer), packed::incerIA(incer), p.TriggerMin, p.TriggerMax,
                         packed::triggerResp(p.Trigger)};
    for (int i = kIncerIC; i <= kTriggerResp; ++i) {
        hsbCeroCien[i]->setValue(ints[i - kIncerIC]);
        txtCeroCien[i]->setText(hundredths(ints[i - kIncerIC]));
    }
    txtCeroCien[kFillProbability]->setText(hundredths(hsbCeroCien[kFillProbability]->value()));
    chkCopia->setChecked(packed::copia(incer));
    vsbTipoHistorial->setValue(packed::historial(p.Busqueda));
    vsbProf->setValue(packed::prof(p.Busqueda));
    vsbTipo->setValue(packed::tipo(p.Busqueda) / 8);
    vsbAquien->setValue(packed::aquien(p.Trigger));
    vsbCuando->setValue(packed::cuando(p.Trigger));
    for (int i = 0; i < 24; ++i) chkVecino[i]->setChecked((working().VecinosImitacion >> i) & 1);
    for (int i = 0; i < 6; ++i) {
        hsbColor[i]->setValue(working().Colores[i]);
        txtColor[i]->setText(QString::number(working().Colores[i]));
    }
    showTotal();
    showSearch();
    showTrigger();
    showColours();
    loading_ = false;
    redraw();
}

void frmFunDibujadas::showTotal() {
    const ListGenomePart& p = part();
    txtTotal->setText(hundredths(double(p.SenIC) + double(p.SenIA) + double(p.SenIP)));
}

// The fields themselves, so a file's depth 0 or type 40 shows as it is.
void frmFunDibujadas::showSearch() {
    const std::int16_t w = part().Busqueda;
    txtProf->setText(QStringLiteral("%1  -> %2  -> %3")
                         .arg(packed::historial(w))
                         .arg(packed::prof(w))
                         .arg(packed::tipo(w)));
}

void frmFunDibujadas::showTrigger() {
    const std::int16_t t = part().Trigger;
    txtAquienCuando->setText(
        QStringLiteral("%1 -> %2").arg(packed::aquien(t)).arg(packed::cuando(t)));
}

void frmFunDibujadas::showColours() {
    const auto& c = working().Colores;
    const QColor back(c[0] & 255, c[1] & 255, c[2] & 255), fore(c[3] & 255, c[4] & 255, c[5] & 255);
    for (QLineEdit* b : txtColor) {
        QPalette pal = b->palette();
        pal.setColor(QPalette::Base, back);
        pal.setColor(QPalette::Text, fore);
        b->setPalette(pal);
    }
}

void frmFunDibujadas::redraw() {
    const auto& c = working().Colores;
    pcbFuncion->showPart(toCellForm(working()).parte[parteActual_],
                         QColor(c[0] & 255, c[1] & 255, c[2] & 255));
    showFormula(qQNaN());
}

// ---------------------------------------------------------------- editing

template <typename Change>
void frmFunDibujadas::edit(Change change) {
    const ListGenoma before = working();
    change();
    // A drag is one step, taken when the button is released.
    if (dragging_ || working() == before) return;
    undo_.push_back(before);
    redo_.clear();
    refreshHistoryActions();
}

void frmFunDibujadas::applyCeroCien(int i, int v) {
    txtCeroCien[i]->setText(hundredths(v));
    if (i == kFillProbability) return;
    edit([&] {
        ListGenomePart& p = part();
        const int incer = static_cast<int>(p.Incertidumbre);
        switch (i) {
            case 1:
                p.SenIC = float(v);
                break;
            case 2:
                p.SenIA = float(v);
                break;
            case 3:
                p.SenIP = float(v);
                break;
            case 4:
                p.ValIC = float(v);
                break;
            case 5:
                p.ValIA = float(v);
                break;
            case 6:
                p.ValIP = float(v);
                break;
            case kIncerIC:
                p.Incertidumbre = packed::withIncerIC(incer, v);
                break;
            case kIncerIA:
                p.Incertidumbre = packed::withIncerIA(incer, v);
                break;
            case kTriggerMin:
                p.TriggerMin = static_cast<std::uint8_t>(v);
                break;
            case kTriggerMax:
                p.TriggerMax = static_cast<std::uint8_t>(v);
                break;
            case kTriggerResp:
                p.Trigger = packed::withTriggerResp(p.Trigger, v);
                break;
            default:
                break;
        }
    });
    if (i <= 3) showTotal();
}

// A typed number is taken when the box is left: the scroll takes it (times 100 for the 0..100
// boxes), and the field follows. A number the scroll cannot hold, or text that is no number, is
// ignored and the box shows the scroll's value again; an empty box keeps the focus.
void frmFunDibujadas::boxLeft(QLineEdit* b) {
    // A box passed through without typing keeps its field: a file's 33.5 shows as 0.335, and
    // reading it back through the scroll would store 34.
    if (loading_ || !b->isModified()) return;
    const auto colour = std::find(txtColor.begin(), txtColor.end(), b);
    const bool isColour = colour != txtColor.end();
    QScrollBar* scroll = isColour
                             ? hsbColor[colour - txtColor.begin()]
                             : hsbCeroCien[std::find(txtCeroCien.begin(), txtCeroCien.end(), b) -
                                           txtCeroCien.begin()];
    const QString text = b->text().trimmed();
    if (text.isEmpty()) {
        QTimer::singleShot(0, b, [b] { b->setFocus(); });
        return;
    }
    b->setModified(false);
    bool ok = false;
    const double typed = text.toDouble(&ok);
    const double scaled = isColour ? typed : typed * 100.0;
    const long v = ok && std::isfinite(scaled) ? std::lround(scaled) : -1;
    if (!ok || v < scroll->minimum() || v > scroll->maximum()) {
        b->setText(isColour ? QString::number(scroll->value()) : hundredths(scroll->value()));
        return;
    }
    if (scroll->value() != v) {
        scroll->setValue(static_cast<int>(v));  // the scroll's own handler writes the field
        return;
    }
    // The scroll already stands there (a file's 33.5 shows as 34): the field still takes it.
    if (isColour) {
        const int i = static_cast<int>(colour - txtColor.begin());
        edit([&] { working().Colores[i] = static_cast<std::int16_t>(v); });
        b->setText(QString::number(v));
        showColours();
        if (i < 3) redraw();
    } else {
        applyCeroCien(static_cast<int>(std::find(txtCeroCien.begin(), txtCeroCien.end(), b) -
                                       txtCeroCien.begin()),
                      static_cast<int>(v));
    }
}

void frmFunDibujadas::picked(int x, int y) {
    edit([&] {
        if (const int moved = moveCurvePoint(part(), x, y); moved != kNoPoint) lastMoved_ = moved;
    });
    redraw();
}

// The curve's formula in Newton form on the editor's scale, and its value under the mouse as the
// engine evaluates it (clipped or folded back into 0..100).
void frmFunDibujadas::showFormula(double hoverX) {
    const GenomePart g = pcbFuncion->part();
    QString text;
    const bool distinct = g.X1 != 0 && g.X2 != 100 && g.X1 != g.X2 && g.X1 != 100 && g.X2 != 0;
    if (distinct) {
        const float y0 = g.Y0, x1 = g.X1, x2 = g.X2;
        const float a1 = (g.Y1 - y0) / x1;
        const float a2 = ((g.Y2 - y0) - a1 * x2) / ((x2 - x1) * x2);
        const float a3 =
            ((g.Y3 - y0) - a1 * 100 - a2 * 100 * (100 - x1)) / ((100 - x2) * (100 - x1) * 100);
        text = QStringLiteral("f(x) = %1 + %2 x + %3 x (x - %4) + %5 x (x - %4) (x - %6), %7")
                   .arg(g.Y0)
                   .arg(double(a1), 0, 'g', 4)
                   .arg(double(a2), 0, 'g', 4)
                   .arg(g.X1)
                   .arg(double(a3), 0, 'g', 4)
                   .arg(g.X2)
                   .arg((g.Irregular & 1) ? QStringLiteral("folded") : QStringLiteral("clipped"));
    } else {
        text = QStringLiteral("Two inputs coincide: f is the straight lines between the points.");
    }
    if (!std::isnan(hoverX) && hoverX >= 0 && hoverX <= 100) {
        const float x = static_cast<float>(hoverX);
        text += QStringLiteral("\nf(%1) = %2")
                    .arg(double(x), 0, 'f', 1)
                    .arg(double(evalBehaviour100(g, x)), 0, 'f', 2);
    }
    curveFormula->setText(text);
}

void frmFunDibujadas::clearHistory() {
    undo_.clear();
    redo_.clear();
    refreshHistoryActions();
}

void frmFunDibujadas::refreshHistoryActions() {
    if (undoAction) undoAction->setEnabled(!undo_.empty());
    if (redoAction) redoAction->setEnabled(!redo_.empty());
}

void frmFunDibujadas::undo() {
    if (undo_.empty()) return;
    redo_.push_back(working());
    working() = undo_.back();
    undo_.pop_back();
    refreshHistoryActions();
    show0();
}

void frmFunDibujadas::redo() {
    if (redo_.empty()) return;
    undo_.push_back(working());
    working() = redo_.back();
    redo_.pop_back();
    refreshHistoryActions();
    show0();
}

// ---------------------------------------------------------------- storing

bool frmFunDibujadas::sumsRefused() {
    if (sensibilitiesStorable(working())) return false;
    session_.info(this, QStringLiteral("SenIC + SenIA + SenIP has to be = 1"));
    return true;
}

// The working copy becomes the selected strategy, cell 0, as a cell holds it.
void frmFunDibujadas::storeWorkingCopy() {
    world().genoma(kActual, 0) = toCellForm(working());
}

bool frmFunDibujadas::select() {
    if (sumsRefused()) return false;
    storeWorkingCopy();
    emit session_.genomesChanged();
    return true;
}

void frmFunDibujadas::addToList() {
    auto& list = world().ListaEstrategias;
    int slot = 0;
    for (int s = 2; s <= kMaxListed && slot == 0; ++s)
        if (list[s].name.empty()) slot = s;
    if (slot == 0) {
        session_.info(this, QStringLiteral("The strategy list is full: slots 2 to 20 all hold a "
                                           "strategy. \"Replace\" overwrites the one chosen."));
        return;
    }
    const std::string name = txtNombre->text().toStdString();
    if (const std::string why = strategyNameRefusal(list, name, slot); !why.empty()) {
        session_.info(this, QString::fromStdString(why));
        txtNombre->setFocus();
        return;
    }
    if (sumsRefused()) return;
    storeWorkingCopy();
    addStrategy(list, name);
    const int chosen = cmbEstrategias->currentIndex();
    rebuildCombo();
    cmbEstrategias->setCurrentIndex(chosen);
    emit session_.genomesChanged();
    if (slot == kSlotRandom)
        session_.info(this,
                      QStringLiteral("\"%1\" went into slot 20, the last one: the distribution "
                                     "treats that row as \"Random\", so a fill seeds random "
                                     "genomes there, not this strategy.")
                          .arg(txtNombre->text()));
}

void frmFunDibujadas::replaceChosen() {
    const int slot = cmbEstrategias->currentIndex() + 1;
    if (slot < 2) {
        session_.info(this, QStringLiteral("Choose the strategy to replace in the list: \"Del "
                                           "mapa!\" is the cell the editor was opened on."));
        return;
    }
    if (sumsRefused()) return;
    storeWorkingCopy();
    world().ListaEstrategias[slot].genoma = working();
    emit session_.genomesChanged();
}

void frmFunDibujadas::fill(int button) {
    if (sumsRefused()) return;
    storeWorkingCopy();
    if (button != 1) {
        // One refresh: the fill's own, or the selected strategy's when nothing was filled.
        if (!fillWorldByDistribution(this)) emit session_.genomesChanged();
        return;
    }
    const float probability = static_cast<float>(hsbCeroCien[kFillProbability]->value()) / 100.0f;
    fillWithSelected(world(), session_.rng(), probability);
    // One refresh of the board and the genome boxes, whatever was painted.
    emit session_.genomesChanged();
}

// ---------------------------------------------------------------- files

void frmFunDibujadas::saveAs() {
    // The file holds slots 2 to 20, so it is written whatever the working copy's sums.
    if (sensibilitiesStorable(working())) {
        storeWorkingCopy();
        emit session_.genomesChanged();
    }
    QString path = session_.saveFileName(this, strategyFilter(),
                                         QStringLiteral("Save strategy list and limits"),
                                         QStringLiteral("est"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".est"), Qt::CaseInsensitive)) path += QStringLiteral(".est");
    const World& w = world();
    const SaveResult saved =
        saveStrategyFile(QFile::encodeName(path).toStdString(), w.Rangos, w.ListaEstrategias);
    const QString file = QFileInfo(path).fileName();
    if (!saved.ok) {
        session_.info(this,
                      QStringLiteral("%1\n%2").arg(file, QString::fromStdString(saved.reason)));
        return;
    }
    int listed = 0;
    for (int s = 2; s <= kMaxListed && listed == 0; ++s)
        if (!w.ListaEstrategias[s].name.empty() && w.ListaEstrategias[s].genoma == working())
            listed = s;
    const QString edited =
        listed != 0 ? QStringLiteral("The edited strategy is in it as \"%1\".")
                          .arg(QString::fromStdString(w.ListaEstrategias[listed].name))
                    : QStringLiteral(
                          "The edited strategy is not in it: a file holds only the strategies "
                          "added to the list.");
    session_.info(
        this, QStringLiteral("%1 holds the strategy list and the limits. %2").arg(file, edited));
}

void frmFunDibujadas::openFile() {
    const QString path = session_.openFileName(
        this, strategyFilter() + QStringLiteral(";;") + Session::scenarioFilter(),
        QStringLiteral("Open strategy list and limits"));
    if (path.isEmpty()) return;
    World& w = world();
    StrategyFileContents read{w.Rangos, w.ListaEstrategias};
    const LoadResult loaded = loadStrategyFile(QFile::encodeName(path).toStdString(), read);
    const QString file = QFileInfo(path).fileName();
    if (!loaded.ok) {
        const QString where =
            loaded.line > 0 ? QStringLiteral("line %1: ").arg(loaded.line) : QString();
        session_.info(this, QStringLiteral("%1 was not read, nothing changed.\n%2%3")
                                .arg(file, where, QString::fromStdString(loaded.reason)));
        return;
    }
    w.Rangos.limits = read.limits.limits;
    for (int s = 2; s <= kSlotRandom; ++s) w.ListaEstrategias[s] = read.list[s];
    emit session_.strategiesReplaced();
    session_.info(this, QStringLiteral("The strategy list, the limits and the distribution now "
                                       "come from %1.")
                            .arg(file));
}

}  // namespace morvane
