#include "ui/frm_distribuir.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "strategy/strategy_editing.h"
#include "ui/session.h"
#include "ui/world_fill.h"

namespace morvane {

namespace {

QPointer<frmDistribuir>& theWindow() {
    static QPointer<frmDistribuir> window;
    return window;
}

StrategyList& theList() {
    return Session::instance().world().ListaEstrategias;
}

// "  1   ( 1 )" to "20   ( 524288 )": the slot number and the bit a fill once marked it with.
QString rowCaption(int i) {
    const QString n = QString::number(i + 1);
    return (i + 1 < 10 ? QStringLiteral("  ") : QString()) + n +
           QStringLiteral("   ( %1 )").arg(1 << i);
}

QString percentText(double tenths) {
    return QString::number(tenths / 10.0, 'f', 1)
        .remove(QRegularExpression(QStringLiteral("\\.0$")));
}

}  // namespace

frmDistribuir::frmDistribuir(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmDistribuir"));
    setWindowTitle(QStringLiteral("Distribute strategies"));
    auto* v = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    for (int i = 0; i < kDistributionRows; ++i) {
        chkActivo[i] = new QCheckBox(rowCaption(i));
        chkActivo[i]->setObjectName(QStringLiteral("chkActivo%1").arg(i));
        txtEstrategia[i] = new QLineEdit;
        txtEstrategia[i]->setReadOnly(true);
        txtEstrategia[i]->setFocusPolicy(Qt::NoFocus);
        txtEstrategia[i]->setFixedWidth(170);
        hsbPorcion[i] = new QScrollBar(Qt::Horizontal);
        hsbPorcion[i]->setObjectName(QStringLiteral("hsbPorcion%1").arg(i));
        hsbPorcion[i]->setRange(0, reparto::kMaxPortion);
        hsbPorcion[i]->setPageStep(50);
        hsbPorcion[i]->setMinimumWidth(220);
        txtPorcion[i] = new QLineEdit;
        txtPorcion[i]->setObjectName(QStringLiteral("txtPorcion%1").arg(i));
        txtPorcion[i]->setFixedWidth(60);
        grid->addWidget(chkActivo[i], i, 0);
        grid->addWidget(txtEstrategia[i], i, 1);
        grid->addWidget(hsbPorcion[i], i, 2);
        grid->addWidget(txtPorcion[i], i, 3);
        connect(chkActivo[i], &QCheckBox::toggled, this, [this] { recompute(); });
        connect(hsbPorcion[i], &QScrollBar::valueChanged, this, [this, i](int value) {
            txtPorcion[i]->setText(percentText(value));
            recompute();
        });
        connect(txtPorcion[i], &QLineEdit::editingFinished, this, [this, i] { boxLeft(i); });
    }
    v->addLayout(grid);
    auto* total = new QHBoxLayout;
    txtTotal = new QLineEdit;
    txtTotal->setObjectName(QStringLiteral("txtTotal"));
    txtTotal->setReadOnly(true);
    txtTotal->setFixedWidth(60);
    total->addStretch();
    total->addWidget(new QLabel(QStringLiteral("Total %")));
    total->addWidget(txtTotal);
    v->addLayout(total);
    auto* buttons = new QHBoxLayout;
    cmdIgualar = new QPushButton(QStringLiteral("Equal distribution"));
    normalizeButton = new QPushButton(QStringLiteral("Normalize to 100"));
    normalizeButton->setToolTip(QStringLiteral(
        "Scale the active portions so they add up to exactly 100 %, keeping their proportions"));
    cmdRepartir = new QPushButton(QStringLiteral("Fill world"));
    cmdAceptar = new QPushButton(QStringLiteral("OK"));
    for (QPushButton* b : {cmdIgualar, normalizeButton, cmdRepartir, cmdAceptar})
        buttons->addWidget(b);
    v->addLayout(buttons);

    connect(cmdIgualar, &QPushButton::clicked, this, [this] {
        if (equalDistribution(theList())) fill();
    });
    connect(normalizeButton, &QPushButton::clicked, this, [this] {
        if (normalizeDistribution(theList())) fill();
    });
    connect(cmdRepartir, &QPushButton::clicked, this, [this] { fillWorldByDistribution(this); });
    connect(cmdAceptar, &QPushButton::clicked, this, &QWidget::close);
    for (auto signal : {&Session::worldReplaced, &Session::strategiesReplaced})
        connect(&Session::instance(), signal, this, [this] { fill(); });
    // A list entry added or replaced in the editor shows its name and colours here.
    connect(&Session::instance(), &Session::genomesChanged, this, [this] {
        if (isVisible()) fill();
    });
}

frmDistribuir* frmDistribuir::open() {
    QPointer<frmDistribuir>& window = theWindow();
    if (!window) {
        window = new frmDistribuir;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->fill();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frmDistribuir* frmDistribuir::current() {
    return theWindow();
}

void frmDistribuir::fill() {
    filling_ = true;
    const StrategyList& list = theList();
    const DistributionRows rows = distributionRows(list);
    for (int i = 0; i < kDistributionRows; ++i) {
        txtPorcion[i]->setText(QStringLiteral("0"));
        chkActivo[i]->setChecked(rows[i].active);
        hsbPorcion[i]->setValue(rows[i].portion);
        txtPorcion[i]->setText(percentText(rows[i].portion));
        const StrategySlot& slot = list[slotOfRow(i)];
        txtEstrategia[i]->setText(QString::fromStdString(distributionRowName(list, i)));
        QPalette pal = txtEstrategia[i]->palette();
        pal.setColor(QPalette::Base, palette().color(QPalette::Base));
        pal.setColor(QPalette::Text, palette().color(QPalette::Text));
        if (!slot.name.empty() && i != kRandomRow) {
            const auto& c = slot.genoma.Colores;
            pal.setColor(QPalette::Base, QColor(c[0] & 255, c[1] & 255, c[2] & 255));
            pal.setColor(QPalette::Text, QColor(c[3] & 255, c[4] & 255, c[5] & 255));
        }
        txtEstrategia[i]->setPalette(pal);
    }
    filling_ = false;
    recompute();
}

void frmDistribuir::recompute() {
    if (filling_) return;
    DistributionRows rows{};
    bool anyPortion = false;
    for (int i = 0; i < kDistributionRows; ++i) {
        rows[i] = {hsbPorcion[i]->value(), chkActivo[i]->isChecked()};
        anyPortion |= rows[i].active && rows[i].portion > 0;
    }
    std::array<std::int16_t, kDistributionRows> before{};
    for (int i = 0; i < kDistributionRows; ++i) before[i] = theList()[slotOfRow(i)].Reparto;
    const double total = recomputeDistribution(theList(), rows);
    // The words travel in the scenario file: a changed share is a changed world.
    for (int i = 0; i < kDistributionRows; ++i)
        if (theList()[slotOfRow(i)].Reparto != before[i])
            Session::instance().setWorldModified(true);
    txtTotal->setText(percentText(std::round(total * 10.0)));
    const bool canFill = canFillWorld(theList());
    cmdRepartir->setEnabled(canFill);
    cmdRepartir->setToolTip(canFill ? QStringLiteral("Fill the world from the distribution")
                                    : distributionRefusal());
    normalizeButton->setEnabled(anyPortion);
}

// A typed percentage is taken when the box is left: the scroll takes round(percent x 10). An
// empty box keeps the focus; a number outside 0..100 or text that is no number is ignored.
void frmDistribuir::boxLeft(int i) {
    QLineEdit* box = txtPorcion[i];
    if (!box->isModified()) return;  // passed through without typing
    const QString text = box->text().trimmed();
    if (text.isEmpty()) {
        QTimer::singleShot(0, box, [box] { box->setFocus(); });
        return;
    }
    bool ok = false;
    const double percent = text.toDouble(&ok);
    if (!ok || !std::isfinite(percent) || percent < 0.0 || percent > 100.0) {
        box->setText(percentText(hsbPorcion[i]->value()));
        return;
    }
    hsbPorcion[i]->setValue(portionFromPercent(percent));
    box->setText(percentText(hsbPorcion[i]->value()));
}

}  // namespace morvane
