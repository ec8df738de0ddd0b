#include "ui/frm_pagos.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "base/numeric.h"
#include "games/decimal_text.h"
#include "games/payoff.h"
#include "ui/mouse_button.h"
#include "ui/session.h"

namespace morvane {

namespace {

constexpr int kNumPayoffs = 8;
constexpr int kPasoCoop = 13;
constexpr int kFrecMutacion = 12;
// The boxes "OK" stores, in the order it reads them.
constexpr std::array<int, 13> kStoredBoxes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13};

// Bar units per box unit: hundredths for pay-offs and thresholds, thousandths for the mutation
// frequency, whole generations for the chart period.
double barScale(int i) {
    if (i == kFrecMutacion) return 1000.0;
    if (i == kPasoCoop) return 1.0;
    return 100.0;
}

// A box holds a number when its text reads as a finite 32-bit float.
std::optional<float> readNumber(const QString& text) {
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > FLT_MAX) return std::nullopt;
    return static_cast<float>(d);
}

QString boxText(float v) {
    return QString::fromStdString(decimalText(v));
}

// A value on a bar's scale, multiplied in 32-bit floats as the values are held: 2.345 gives
// exactly 234.5, which rounds to the even 234.
double onBarScale(float value, double scale) {
    return static_cast<double>(value * static_cast<float>(scale));
}

// The bar position for a value on the bar's scale, or nothing when it lies outside the bar.
std::optional<int> barPosition(const QScrollBar* bar, double value) {
    const double r = roundHalfEven(value);
    if (!(r >= bar->minimum() && r <= bar->maximum())) return std::nullopt;
    return static_cast<int>(r);
}

void setBarQuietly(QScrollBar* bar, double value) {
    const double r =
        std::clamp(roundHalfEven(value), double(bar->minimum()), double(bar->maximum()));
    const QSignalBlocker quiet(bar);
    bar->setValue(static_cast<int>(r));
}

QLineEdit* shownBox() {
    auto* box = new QLineEdit;
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setMinimumWidth(110);
    return box;
}

QScrollBar* horizontalBar(int min, int max) {
    auto* bar = new QScrollBar(Qt::Horizontal);
    bar->setRange(min, max);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setMinimumWidth(120);
    return bar;
}

QPointer<frmPagos>& theWindow() {
    static QPointer<frmPagos> window;
    return window;
}

}  // namespace

frmPagos::frmPagos(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Pay offs"));
    auto* top = new QHBoxLayout;
    top->addWidget(buildPayoffs());
    top->addWidget(buildTestPanel());
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(buildSettings());
    cmdAceptar = new QPushButton(QStringLiteral("OK"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdAceptar);
    main->addLayout(bottom);

    World& w = Session::instance().world();
    connect(cmbJuegos, &QComboBox::activated, this, [this, &w](int i) {
        if (i >= int(gameCatalogue().size())) return;  // "Custom" is no game to choose
        SelectGame(w.payoffs, i);
        showMatchingGame();
        refreshPayoffs();
        RecomputeTestPanel();
    });
    connect(cmdAzar, &QPushButton::clicked, this, [this, &w] {
        randomPayoffs(w.payoffs, Session::instance().rng());
        showMatchingGame();
        refreshPayoffs();
        RecomputeTestPanel();
    });
    connect(cmdInvertir, &MouseButton::pressed, this, [this, &w](int button) {
        invertPayoffs(w.payoffs, button);
        showMatchingGame();
        refreshPayoffs();
        RecomputeTestPanel();
    });
    connect(cmdRestaurar, &QPushButton::clicked, this, [this, &w] {
        setPayoffs(w.payoffs, w.restorePayoffs);
        showMatchingGame();
        refreshPayoffs();
        RecomputeTestPanel();
    });
    connect(cmdAceptar, &QPushButton::clicked, this, &frmPagos::cmdAceptar_Click);
    // A scenario brings pay-offs of its own: the window shows them rather than writing its old
    // boxes back over them at the next edit.
    connect(&Session::instance(), &Session::worldReplaced, this, [this] {
        if (isVisible()) EmpezarPorAqui();
    });
}

frmPagos* frmPagos::open() {
    QPointer<frmPagos>& window = theWindow();
    if (!window) {
        window = new frmPagos;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->EmpezarPorAqui();
    return window;
}

// ---------------------------------------------------------------- building

void frmPagos::addParametro(int i, double max, double scale) {
    const int min = i == kPasoCoop ? 1 : 0;
    hsbParametro[i] = horizontalBar(min, static_cast<int>(max * scale));
    txtParametro[i] = new QLineEdit;
    // Wide enough for every digit a float can need ("7.3456783").
    txtParametro[i]->setMinimumWidth(80);
    txtParametro[i]->setMaximumWidth(100);
    txtParametro[i]->installEventFilter(this);
    connect(hsbParametro[i], &QScrollBar::valueChanged, this,
            [this, i](int v) { barChanged(i, v); });
    connect(txtParametro[i], &QLineEdit::textEdited, this, [this, i] { boxEdited(i); });
}

QWidget* frmPagos::buildPayoffs() {
    auto* frame = new QWidget;
    auto* v = new QVBoxLayout(frame);
    v->setContentsMargins(0, 0, 0, 0);
    cmbJuegos = new QComboBox;
    for (const CatalogueGame& g : gameCatalogue()) cmbJuegos->addItem(QString::fromUtf8(g.name));
    v->addWidget(cmbJuegos);

    static const std::array<const char*, kNumPayoffs> captions{"T 1", "T 2", "R 1", "R 2",
                                                               "P 1", "P 2", "S 1", "S 2"};
    auto* grid = new QGridLayout;
    for (int i = 0; i < kNumPayoffs; ++i) {
        addParametro(i, 10.0, 100.0);
        lblParametro[i] = new QLabel(QString::fromLatin1(captions[i]));
        // Player 1's pay-off on the left, player 2's beside it.
        const int row = i / 2, col = (i % 2) * 3;
        grid->addWidget(lblParametro[i], row, col);
        grid->addWidget(txtParametro[i], row, col + 1);
        grid->addWidget(hsbParametro[i], row, col + 2);
    }
    v->addLayout(grid);

    cmdAzar = new QPushButton(QStringLiteral("Random"));
    cmdInvertir = new MouseButton(QStringLiteral("Invert"));
    cmdInvertir->setToolTip(
        QStringLiteral("Left button: exchange the players. Right button: "
                       "exchange the moves."));
    cmdRestaurar = new QPushButton(QStringLiteral("Restore"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAzar);
    buttons->addWidget(cmdInvertir);
    buttons->addWidget(cmdRestaurar);
    v->addLayout(buttons);
    v->addStretch();
    return frame;
}

QWidget* frmPagos::buildSettings() {
    auto* frame = new QWidget;
    auto* v = new QVBoxLayout(frame);
    v->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    const std::array<std::pair<int, const char*>, 4> rows{{
        {8, "Min. to survive after a generation"},
        {9, "Min. to reproduce after a generation"},
        {10, "Min. to surive \"today\" (after a move)"},
        {kFrecMutacion, " Frecuencia de mutaciones "},
    }};
    int row = 0;
    for (const auto& [i, caption] : rows) {
        addParametro(i, i == kFrecMutacion ? 1.0 : 50.0, barScale(i));
        lblParametro[i] = new QLabel(QString::fromLatin1(caption));
        grid->addWidget(lblParametro[i], row, 0);
        grid->addWidget(txtParametro[i], row, 1);
        grid->addWidget(hsbParametro[i], row, 2);
        ++row;
    }
    grid->setColumnStretch(2, 1);
    v->addLayout(grid);

    // The chart period's box sits in the first gap of its caption.
    addParametro(kPasoCoop, 100.0, 1.0);
    const QString before = QStringLiteral("Check global cooperation every ");
    const QString gap(15, QLatin1Char(' '));
    lblTest = new QLabel(before + gap + QStringLiteral("generations              generaciones."));
    QLineEdit* box = txtParametro[kPasoCoop];
    box->setParent(lblTest);
    box->setMinimumWidth(0);
    const QFontMetrics metrics = lblTest->fontMetrics();
    const int gapStart = metrics.horizontalAdvance(before);
    const int gapWidth = metrics.horizontalAdvance(gap);
    box->setGeometry(gapStart + 2, 0, std::max(gapWidth - 4, 36), box->sizeHint().height());
    lblTest->setMinimumHeight(box->height());
    auto* period = new QHBoxLayout;
    period->addWidget(lblTest);
    period->addWidget(hsbParametro[kPasoCoop], 1);
    v->addLayout(period);
    return frame;
}

QWidget* frmPagos::buildTestPanel() {
    fraTest = new QGroupBox(QStringLiteral(" Test Player 1 vs. Player 2 "));
    auto* grid = new QGridLayout(fraTest);
    lblJugador1_C = new QLabel(QStringLiteral("Player 1 -> 1"));
    lblJugador1_D = new QLabel(QStringLiteral("Player 1 -> 0"));
    lblJugador2_C = new QLabel(QStringLiteral("Player 2 -> 1"));
    lblJugador2_D = new QLabel(QStringLiteral("Player 2 -> 0"));
    // Above each player's column: the other move at the left end of the disposition bar, the
    // absolute move at its right end.
    const std::array<std::pair<QLabel*, QLabel*>, 2> headers{
        {{lblJugador1_D, lblJugador1_C}, {lblJugador2_D, lblJugador2_C}}};
    for (int k = 1; k <= 2; ++k) {
        auto* h = new QHBoxLayout;
        h->addWidget(headers[k - 1].first);
        h->addStretch();
        h->addWidget(headers[k - 1].second);
        grid->addLayout(h, 0, k);
    }

    // Row captions; the note under the move's caption says in which terms the moves are given.
    const std::array<std::pair<int, const char*>, 7> rowCaptions{{{1, "Punish / Ego / Altruism :"},
                                                                  {2, "Disposition (Coop):"},
                                                                  {3, "\"Absolute\" move :"},
                                                                  {4, "(absolute moves)"},
                                                                  {5, "Success :"},
                                                                  {6, "Equality :"},
                                                                  {7, "Pay offs :"}}};
    for (const auto& [row, caption] : rowCaptions)
        grid->addWidget(new QLabel(QString::fromLatin1(caption)), row, 0);

    for (int k = 1; k <= 2; ++k) {
        txtProb[k] = shownBox();
        txtIrracional[k] = new QLineEdit(QStringLiteral("0"));
        txtIrracional[k]->setMaximumWidth(50);
        txtIrracional[k]->installEventFilter(this);
        hsbIrracional[k] = horizontalBar(0, 100);
        auto* disposition = new QHBoxLayout;
        disposition->addWidget(txtIrracional[k]);
        disposition->addWidget(hsbIrracional[k]);
        txtMov[k] = shownBox();
        txtExito[k] = shownBox();
        txtIa[k] = shownBox();
        txtPago[k] = shownBox();
        grid->addWidget(txtProb[k], 1, k);
        grid->addLayout(disposition, 2, k);
        grid->addWidget(txtMov[k], 3, k);
        grid->addWidget(txtExito[k], 5, k);
        grid->addWidget(txtIa[k], 6, k);
        grid->addWidget(txtPago[k], 7, k);
        connect(hsbIrracional[k], &QScrollBar::valueChanged, this,
                [this, k](int v) { dispositionBarChanged(k, v); });
        connect(txtIrracional[k], &QLineEdit::textEdited, this,
                [this, k] { dispositionEdited(k); });
    }

    auto* lblOrden = new QLabel(QStringLiteral("     Me 1st  -  Simult.  -  She 1st"));
    optYo1 = new QRadioButton;
    optSimult = new QRadioButton;
    optEl1 = new QRadioButton;
    optYo1->setToolTip(QStringLiteral("Me 1st"));
    optSimult->setToolTip(QStringLiteral("Simult."));
    optEl1->setToolTip(QStringLiteral("She 1st"));
    optSimult->setChecked(true);
    auto* order = new QHBoxLayout;
    order->addSpacing(lblOrden->fontMetrics().horizontalAdvance(QStringLiteral("     Me")));
    for (QRadioButton* o : {optYo1, optSimult, optEl1}) {
        order->addWidget(o);
        if (o != optEl1) order->addSpacing(30);
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on) RecomputeTestPanel();
        });
    }
    order->addStretch();
    grid->addWidget(lblOrden, 8, 0, 1, 2);
    grid->addLayout(order, 9, 0, 1, 2);

    txtPuntoCorte = shownBox();
    txtPuntoCorte->setToolTip(
        QStringLiteral("Where the line from T 1 to R 1 meets the line from "
                       "S 2 to R 2"));
    grid->addWidget(txtPuntoCorte, 9, 2);
    grid->setRowStretch(10, 1);
    return fraTest;
}

// ---------------------------------------------------------------- filling

void frmPagos::EmpezarPorAqui() {
    World& w = Session::instance().world();
    llenando_ = true;
    refreshPayoffs();
    w.restorePayoffs = payoffCopy(w.payoffs);
    const std::array<std::pair<int, float>, 4> settings{{{8, w.UmbralSupervivencia},
                                                         {9, w.UmbralReproduccion},
                                                         {10, w.UmbralHoy},
                                                         {kFrecMutacion, w.FrecMutacion}}};
    for (const auto& [i, v] : settings) {
        values_[i] = v;
        txtParametro[i]->setText(boxText(v));
        setBarQuietly(hsbParametro[i], onBarScale(v, barScale(i)));
    }
    values_[kPasoCoop] = w.PasoCoop;
    txtParametro[kPasoCoop]->setText(QString::number(w.PasoCoop));
    setBarQuietly(hsbParametro[kPasoCoop], w.PasoCoop);
    for (int k = 1; k <= 2; ++k)
        if (auto d = validDisposition(k)) dispositions_[k] = *d;
    RecomputeTestPanel();
    llenando_ = false;
}

// The game box names the catalogue game the pay-offs are, or "Custom" when they are none of
// them; GameIndex keeps the game last chosen.
void frmPagos::showMatchingGame() {
    const PayoffCopy c = payoffCopy(Session::instance().world().payoffs);
    const auto& games = gameCatalogue();
    int match = -1;
    for (int i = 0; i < int(games.size()) && match < 0; ++i) {
        const CatalogueGame& g = games[i];
        if (PayoffCopy{g.T1, g.T2, g.R1, g.R2, g.P1, g.P2, g.S1, g.S2} == c) match = i;
    }
    const int custom = int(games.size());
    if (match < 0 && cmbJuegos->count() == custom) cmbJuegos->addItem(QStringLiteral("Custom"));
    cmbJuegos->setCurrentIndex(match < 0 ? custom : match);
    if (match >= 0 && cmbJuegos->count() > custom) cmbJuegos->removeItem(custom);
}

void frmPagos::refreshPayoffs() {
    // Box and bar are written together with the bar's signal blocked, so the box keeps every
    // digit of the value instead of the bar's hundredths.
    const PayoffCopy c = payoffCopy(Session::instance().world().payoffs);
    for (int i = 0; i < kNumPayoffs; ++i) {
        values_[i] = c[i];
        txtParametro[i]->setText(boxText(c[i]));
        setBarQuietly(hsbParametro[i], onBarScale(c[i], 100.0));
    }
}

// ---------------------------------------------------------------- boxes and bars

std::optional<float> frmPagos::validBox(int i) const {
    const auto v = readNumber(txtParametro[i]->text());
    if (!v) return std::nullopt;
    // A pay-off beyond the matrix's bound would let scores overflow.
    if (i < kNumPayoffs && !payoffWithinBound(*v)) return std::nullopt;
    if (i == kPasoCoop) {
        const double n = roundHalfEven(*v);
        if (n < 1 || n > 32767) return std::nullopt;
        return static_cast<float>(n);
    }
    return v;
}

std::optional<float> frmPagos::validDisposition(int k) const {
    const auto v = readNumber(txtIrracional[k]->text());
    if (!v || *v < 0.0f || *v > 1.0f) return std::nullopt;
    return v;
}

void frmPagos::barChanged(int i, int value) {
    const float v = i == kPasoCoop ? float(value) : float(value / barScale(i));
    values_[i] = v;
    txtParametro[i]->setText(i == kPasoCoop ? QString::number(value) : boxText(v));
    if (!llenando_) RecomputeTestPanel();
}

void frmPagos::boxEdited(int i) {
    const auto v = validBox(i);
    if (!v) return;  // partial text: the box keeps standing for its last number
    values_[i] = *v;
    // A pay-off acts on the live matrix at once; the other settings wait for "OK".
    if (i < kNumPayoffs) RecomputeTestPanel();
}

void frmPagos::boxLeft(int i) {
    const auto v = validBox(i);
    explainRefusal(i);
    if (!v) {
        keepFocus(txtParametro[i]);
        return;
    }
    values_[i] = *v;
    barFollowsBox(i);
    RecomputeTestPanel();
}

void frmPagos::barFollowsBox(int i) {
    // A number beyond the bar leaves the bar where it was; the box keeps it for "OK".
    if (const auto pos = barPosition(hsbParametro[i], onBarScale(values_[i], barScale(i)))) {
        const QSignalBlocker quiet(hsbParametro[i]);
        hsbParametro[i]->setValue(*pos);
    }
}

void frmPagos::dispositionBarChanged(int k, int value) {
    dispositions_[k] = float(value / 100.0);
    txtIrracional[k]->setText(boxText(dispositions_[k]));
    RecomputeTestPanel();
}

void frmPagos::dispositionEdited(int k) {
    const auto v = validDisposition(k);
    if (!v) return;
    dispositions_[k] = *v;
    RecomputeTestPanel();
}

void frmPagos::dispositionLeft(int k) {
    const auto v = validDisposition(k);
    if (!v) {
        keepFocus(txtIrracional[k]);
        return;
    }
    dispositions_[k] = *v;
    setBarQuietly(hsbIrracional[k], onBarScale(*v, 100.0));
    RecomputeTestPanel();
}

void frmPagos::explainRefusal(int i) {
    if (i >= kNumPayoffs) return;
    QLineEdit* box = txtParametro[i];
    const auto number = readNumber(box->text());
    if (!number || payoffWithinBound(*number)) {
        box->setToolTip({});
        return;
    }
    // The number reads well but is too large: say why, or the refusal would look like a fault.
    box->setToolTip(QString::fromStdString(payoffBeyondBoundReason()));
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), box->toolTip(), box);
}

void frmPagos::keepFocus(QLineEdit* box) {
    QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
}

int frmPagos::indexOfBox(const QObject* box) const {
    for (int i = 0; i < kNumParametros; ++i)
        if (txtParametro[i] == box) return i;
    for (int k = 1; k <= 2; ++k)
        if (txtIrracional[k] == box) return -k;
    return kNumParametros;
}

bool frmPagos::eventFilter(QObject* watched, QEvent* event) {
    const int i = indexOfBox(watched);
    if (i == kNumParametros) return QWidget::eventFilter(watched, event);
    auto* box = static_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::FocusIn) {
        // After the click that gave the focus has placed the cursor.
        QTimer::singleShot(0, box, [box] { box->setSelection(0, 5); });
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Only a move to another control of this window takes the text over.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (i >= 0)
                boxLeft(i);
            else
                dispositionLeft(-i);
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- test panel and OK

void frmPagos::RecomputeTestPanel() {
    World& w = Session::instance().world();
    // The panel reads the pay-off boxes into the live matrix, so a running world plays them now.
    PayoffCopy c{};
    for (int i = 0; i < kNumPayoffs; ++i) c[i] = values_[i];
    setPayoffs(w.payoffs, c);
    const MoveOrder order = optYo1->isChecked()   ? MoveOrder::MeFirst
                            : optEl1->isChecked() ? MoveOrder::SheFirst
                                                  : MoveOrder::Simultaneous;
    const TestPanel t =
        morvane::RecomputeTestPanel(w.payoffs, dispositions_[1], dispositions_[2], order);
    lblJugador1_C->setText(QString::fromStdString(t.lblJugador1_C));
    lblJugador1_D->setText(QString::fromStdString(t.lblJugador1_D));
    lblJugador2_C->setText(QString::fromStdString(t.lblJugador2_C));
    lblJugador2_D->setText(QString::fromStdString(t.lblJugador2_D));
    for (int k = 1; k <= 2; ++k) {
        const TestPanelPlayer& p = t.players[k];
        txtProb[k]->setText(QString::fromStdString(p.txtProb));
        txtMov[k]->setText(QString::fromStdString(p.txtMov));
        txtExito[k]->setText(QString::fromStdString(p.txtExito));
        txtIa[k]->setText(QString::fromStdString(p.txtIa));
        txtPago[k]->setText(QString::fromStdString(p.txtPago));
    }
    // Kept with the boxes at every change; parallel lines show an empty box.
    txtPuntoCorte->setText(QString::fromStdString(cutPointText(cutPoint(w.payoffs))));
}

void frmPagos::cmdAceptar_Click() {
    std::array<float, kNumParametros> v{};
    for (int i : kStoredBoxes) {
        const auto n = validBox(i);
        if (!n) {
            explainRefusal(i);
            txtParametro[i]->setFocus(Qt::OtherFocusReason);
            return;
        }
        v[i] = *n;
    }
    Session& s = Session::instance();
    World& w = s.world();
    PayoffCopy c{};
    for (int i = 0; i < kNumPayoffs; ++i) c[i] = v[i];
    setPayoffs(w.payoffs, c);
    w.UmbralSupervivencia = v[8];
    w.UmbralReproduccion = v[9];
    w.UmbralHoy = v[10];
    w.FrecMutacion = v[kFrecMutacion];
    // Samples sit at generation / PasoCoop: under another step the old ones would be misplaced.
    const auto step = static_cast<std::int16_t>(v[kPasoCoop]);
    if (step != w.PasoCoop) w.HistoriaCoop = {};
    w.PasoCoop = step;
    if (s.hasWorld()) emit s.thresholdsChanged();
    close();
}

}  // namespace morvane
