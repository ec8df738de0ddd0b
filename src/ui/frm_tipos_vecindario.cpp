#include "ui/frm_tipos_vecindario.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "core/neighbourhood_setup.h"
#include "ui/session.h"

namespace morvane {

namespace {

constexpr int kCentre = kNumPositions;  // box 24, the cell itself

QPointer<frmTiposVecindario>& theWindow() {
    static QPointer<frmTiposVecindario> window;
    return window;
}

}  // namespace

frmTiposVecindario::frmTiposVecindario(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Neighbourhoods"));
    auto* columns = new QHBoxLayout;
    columns->addWidget(buildTypes());
    auto* right = new QVBoxLayout;
    lineCodVecin = new QLabel;
    lineVecinosFijos = new QLabel;
    right->addWidget(lineCodVecin);
    right->addWidget(new QLabel(QStringLiteral("Probabilidades de cascar")));
    right->addWidget(buildPicture());
    right->addWidget(lineVecinosFijos);
    right->addStretch();
    columns->addLayout(right);

    auto* main = new QVBoxLayout(this);
    main->addLayout(columns);
    main->addWidget(buildReservation());
    lblPorcentaje = new QLabel(QStringLiteral("% Vecindario / (XnYn - 1)"));
    main->addWidget(lblPorcentaje);

    // A scenario brings a type of its own.
    connect(&Session::instance(), &Session::worldReplaced, this, [this] {
        if (isVisible()) refill();
    });
}

frmTiposVecindario* frmTiposVecindario::open() {
    QPointer<frmTiposVecindario>& window = theWindow();
    if (!window) {
        window = new frmTiposVecindario;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->refill();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QWidget* frmTiposVecindario::buildTypes() {
    auto* frame = new QWidget;
    auto* v = new QVBoxLayout(frame);
    v->setContentsMargins(0, 0, 0, 0);
    const auto& captions = neighbourhoodCaptions();
    for (int i = 0; i < kNumNeighbourhoodTypes; ++i) {
        optTipoVecindario[i] = new QRadioButton(QString::fromStdString(captions[i]));
        v->addWidget(optTipoVecindario[i]);
        connect(optTipoVecindario[i], &QRadioButton::clicked, this, [this, i] { choose(i); });
    }
    v->addStretch();
    return frame;
}

QWidget* frmTiposVecindario::buildPicture() {
    auto* frame = new QWidget;
    auto* grid = new QGridLayout(frame);
    grid->setSpacing(2);
    grid->setContentsMargins(0, 0, 0, 0);
    // Each position sits at its offset from the centre of a 5 x 5 picture.
    const auto& offsets = positionOffsets();
    for (int j = 0; j <= kCentre; ++j) {
        auto* box = new QLineEdit;
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(34);
        txtJugador[j] = box;
        const int dc = j == kCentre ? 0 : offsets[j].dc;
        const int dr = j == kCentre ? 0 : offsets[j].dr;
        grid->addWidget(box, 2 + dr, 2 + dc);
    }
    QPalette centre = txtJugador[kCentre]->palette();
    centre.setColor(QPalette::Base, QColor(224, 224, 224));
    txtJugador[kCentre]->setPalette(centre);
    return frame;
}

QWidget* frmTiposVecindario::buildReservation() {
    auto* frame = new QWidget;
    auto* h = new QHBoxLayout(frame);
    h->setContentsMargins(0, 0, 0, 0);
    hsbReservar = new QScrollBar(Qt::Horizontal);
    hsbReservar->setRange(1, kNumPositions);
    hsbReservar->setPageStep(1);
    hsbReservar->setMinimumWidth(100);
    txtReservar = new QLineEdit(QStringLiteral("1"));
    txtReservar->setReadOnly(true);
    txtReservar->setFixedWidth(34);
    txtReservar->setAlignment(Qt::AlignCenter);
    h->addWidget(new QLabel(QStringLiteral("Reserve memory for")));
    h->addWidget(txtReservar);
    h->addWidget(hsbReservar);
    h->addWidget(
        new QLabel(QStringLiteral("\"meetings\" with the same player during a generation.")));
    h->addWidget(new QLabel(QStringLiteral("\"Repes\"")));
    h->addStretch();
    connect(hsbReservar, &QScrollBar::valueChanged, this, &frmTiposVecindario::reservarChanged);
    return frame;
}

void frmTiposVecindario::refill() {
    const int i = neighbourhoodTypeOf(Session::instance().world().neighbourhood.CodVecin[kActual]);
    optTipoVecindario[i]->setChecked(true);
    choose(i);
}

void frmTiposVecindario::choose(int i) {
    Session& s = Session::instance();
    Neighbourhood& v = s.world().neighbourhood;
    const Neighbourhood before = v;
    ChooseNeighbourhood(s.world(), i);
    showDisplay();
    if (v.CodVecin[kActual] != before.CodVecin[kActual] || v.Repes != before.Repes ||
        v.MascaraVecinos[kActual] != before.MascaraVecinos[kActual])
        emit s.neighbourhoodChosen();
}

void frmTiposVecindario::showDisplay() {
    const World& w = Session::instance().world();
    const std::uint8_t code = w.neighbourhood.CodVecin[kActual];
    const NeighbourhoodDisplay d =
        neighbourhoodDisplay(code, w.neighbourhood.Repes, w.NumJugadores);
    lineCodVecin->setText(QString::fromStdString(d.lineCodVecin));
    for (int j = 0; j < kNumPositions; ++j)
        txtJugador[j]->setText(QString::fromStdString(d.txtJugador[j]));
    lineVecinosFijos->setText(QString::fromStdString(d.lineVecinosFijos));
    lblPorcentaje->setText(QString::fromStdString(d.lblPorcentaje));
    {
        const QSignalBlocker quiet(hsbReservar);
        hsbReservar->setValue(d.hsbReservar);
    }
    txtReservar->setText(QString::number(d.hsbReservar));
}

void frmTiposVecindario::reservarChanged(int value) {
    // No more meetings can be reserved than the type has partners.
    const int repes = Session::instance().world().neighbourhood.Repes;
    if (value > repes) {
        const QSignalBlocker quiet(hsbReservar);
        hsbReservar->setValue(repes);
        value = repes;
    }
    txtReservar->setText(QString::number(value));
}

}  // namespace morvane
