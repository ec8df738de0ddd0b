#include "ui/inspector.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "base/copies.h"
#include "base/shown_number.h"
#include "core/transition.h"
#include "ui/readable_text.h"
#include "world/neighbourhood.h"

namespace morvane {

namespace {

constexpr int kPlainPt = 8, kBoldPt = 10;

std::string sens(std::uint8_t v) {
    return shownNumber((v & 127) / 100.0, 2);
}

QColor rgb(const std::array<std::uint8_t, 6>& c, int from) {
    return QColor(c[from], c[from + 1], c[from + 2]);
}

void setColours(QLineEdit* box, QColor back, QColor fore) {
    QPalette pal = box->palette();
    if (pal.color(QPalette::Base) == back && pal.color(QPalette::Text) == fore) return;
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Text, fore);
    box->setPalette(pal);
}

void setStruck(QLineEdit* box, bool struck) {
    if (box->font().strikeOut() == struck) return;
    QFont f = box->font();
    f.setStrikeOut(struck);
    box->setFont(f);
}

}  // namespace

bool genomeBoxText(const Genoma& g, int senMask, std::string& text) {
    const GenomePart& p = g.parte[0];
    switch (senMask) {
        case 0:
            text = "Cte. = " + std::to_string(p.Y3);
            return true;
        case 1:
            text = "SenIc = 1";
            return true;
        case 2:
            text = "SenIa = 1";
            return true;
        case 4:
            text = "SenIp = 1";
            return true;
        case 3:
        case 5:
            text = "SenIc = " + sens(p.SenIC);
            return true;
        case 6:
            text = "SenIa = " + sens(p.SenIA);
            return true;
        case 7:
            text = sens(p.SenIC) + "   " + sens(p.SenIA) + "   " + sens(p.SenIP);
            return true;
        default:
            return false;
    }
}

std::string strategyAverageText(const World& w, const GenerationReport& report, int cell,
                                const std::vector<int>& shownCells) {
    std::vector<int> distinct;
    for (int c : shownCells)
        if (c > 0 && std::find(distinct.begin(), distinct.end(), c) == distinct.end())
            distinct.push_back(c);
    double sum = 0;
    int count = 0;
    // The pay-offs were earned by the genomes now in the snapshot.
    for (int c : distinct) {
        if (MismoGenoma(w, c, cell, kPrevio) != 0) continue;
        sum += report.PagoTotal[c];
        ++count;
    }
    if (count == 0) return "Esta estrategia no participó en la selección.";
    return shownNumber(sum, 3) + " / " + std::to_string(count) + " = " +
           shownNumber(sum / count, 3);
}

Inspector::Inspector(const World& world, const GenerationReport& report, QWidget* parent)
    : QGroupBox(parent), world_(world), report_(report) {
    setObjectName(QStringLiteral("fraVecindario"));
    buildLayout();
}

void Inspector::buildLayout() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(3);
    const auto& off = positionOffsets();
    for (int j = 0; j < 25; ++j) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("lblJugador%1").arg(j));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Fixed sizes: new numbers after every generation never make the window lay out again.
        label->setFixedSize(38, 22);
        label->installEventFilter(this);
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtJugador%1").arg(j));
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setFixedSize(50, 22);
        box->setAlignment(Qt::AlignCenter);
        box->installEventFilter(this);
        lblJugador[j] = label;
        txtJugador[j] = box;
        const int r = j == kCentre ? 2 : 2 + off[j].dr, c = j == kCentre ? 2 : 2 + off[j].dc;
        grid->addWidget(label, r, 2 * c);
        grid->addWidget(box, r, 2 * c + 1);
        setLabelWeight(j, false);
    }
    auto makeBox = [this](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->installEventFilter(this);
        return box;
    };
    txtGenoma = makeBox("txtGenoma");
    txtGenomaPrev = makeBox("txtGenomaPrev");
    txtSeleccionada = makeBox("txtSeleccionada");
    hsbAdHoc = new QScrollBar(Qt::Horizontal, this);
    hsbAdHoc->setObjectName(QStringLiteral("hsbAdHoc"));
    hsbAdHoc->setRange(0, 8);
    hsbAdHoc->setPageStep(1);
    lblAdHoc = new QLabel(QStringLiteral("0"), this);
    lblAdHoc->setObjectName(QStringLiteral("lblAdHoc"));
    lblAdHoc->setMinimumWidth(16);
    lblAdHoc->installEventFilter(this);
    connect(hsbAdHoc, &QScrollBar::valueChanged, lblAdHoc,
            [this](int v) { lblAdHoc->setText(QString::number(v)); });

    auto* boxes = new QGridLayout;
    boxes->addWidget(new QLabel(tr("Current central strategy"), this), 0, 0);
    boxes->addWidget(txtGenoma, 0, 1);
    boxes->addWidget(new QLabel(tr("Previous central strat."), this), 1, 0);
    boxes->addWidget(txtGenomaPrev, 1, 1);
    boxes->addWidget(new QLabel(tr("Selected strategy"), this), 2, 0);
    boxes->addWidget(txtSeleccionada, 2, 1);
    auto* adHoc = new QHBoxLayout;
    adHoc->addWidget(hsbAdHoc, 1);
    adHoc->addWidget(lblAdHoc);
    boxes->addLayout(adHoc, 3, 1);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(boxes);
}

int Inspector::labelCell(int i) const {
    return lblJugador[i]->text().toInt();
}

void Inspector::setLabelWeight(int j, bool bold) {
    QFont f = lblJugador[j]->font();
    if (f.bold() == bold && f.pointSize() == (bold ? kBoldPt : kPlainPt)) return;
    f.setBold(bold);
    f.setPointSize(bold ? kBoldPt : kPlainPt);
    lblJugador[j]->setFont(f);
}

void Inspector::ShowNeighbourhood() {
    const int sel = world_.CasillaSel;
    if (world_.NumJugadores < 1 || sel < 1 || sel > world_.NumJugadores) return;
    const std::uint8_t code = world_.neighbourhood.CodVecin[kPrevio];
    std::array<bool, kNumPositions> marked{};
    const WalkedPositions walk = walkedPositions(code);
    for (int k = walk.first; k <= walk.last; k += walk.step) marked[k] = marked[k + 12] = true;
    for (int j = 0; j < kNumPositions; ++j) {
        const int n = world_.vecino(sel, j);
        lblJugador[j]->setText(n > 0 ? QString::number(n) : QString());
        QPalette pal = lblJugador[j]->palette();
        // Positions outside the type in force fade; the exact shade only has to tell them apart.
        pal.setColor(QPalette::WindowText, marked[j] ? Qt::black : QColor(0x9A, 0x9A, 0x9A));
        lblJugador[j]->setPalette(pal);
        setLabelWeight(j, marked[j] && code != 0);
    }
    lblJugador[kCentre]->setText(QString::number(sel));
    setLabelWeight(kCentre, true);
    RefreshNeighbourBoxes();
}

void Inspector::paintBox(QLineEdit* box, QColor back, QColor bug) const {
    setColours(box, back, textColourOn(back, bug, readable_));
}

void Inspector::showNeutral(QLineEdit* box) const {
    box->clear();
    const QPalette window = QApplication::palette(box);
    setColours(box, window.color(QPalette::Base), window.color(QPalette::Text));
    setStruck(box, false);
}

void Inspector::setReadableText(bool on) {
    if (readable_ == on) return;
    readable_ = on;
    ShowNeighbourhood();
    MostrarGenoma(world_.CasillaSel);
    showSelected(0);
}

void Inspector::fillBox(int j, int cell) {
    QLineEdit* box = txtJugador[j];
    if (cell < 1 || cell > world_.NumJugadores || world_.Generacion == 0) {
        showNeutral(box);
        return;
    }
    const float payoff = report_.PagoTotal[cell];
    box->setText(QString::fromStdString(shownNumber(payoff, 3)));
    const auto& col = world_.genoma(kPrevio, cell).Colores;
    paintBox(box, rgb(col, 0), rgb(col, 3));
    setStruck(box, payoff < world_.UmbralSupervivencia);
}

void Inspector::RefreshNeighbourBoxes() {
    const int sel = world_.CasillaSel;
    if (world_.NumJugadores < 1 || sel < 1 || sel > world_.NumJugadores) return;
    if (report_.PagoTotal.size() <= static_cast<std::size_t>(world_.NumJugadores)) return;
    for (int j = 0; j < kNumPositions; ++j) fillBox(j, labelCell(j));
    if ((world_.neighbourhood.CodVecin[kPrevio] & 32) == 0) {
        const std::int32_t mask = world_.genoma(kPrevio, sel).VecinosImitacion;
        for (int j = 0; j < kNumPositions; ++j) setLabelWeight(j, (mask >> j) & 1);
    }
    fillBox(kCentre, sel);
}

void Inspector::MostrarGenoma(int cell) {
    if (cell < 1 || cell > world_.NumJugadores) return;
    const int mask = world_.options.SenMask;
    std::string text;
    if (world_.Generacion == 0) {
        showNeutral(txtGenomaPrev);
    } else {
        if (genomeBoxText(world_.genoma(kPrevio, cell), mask, text))
            txtGenomaPrev->setText(QString::fromStdString(text));
        const QPalette centre = txtJugador[kCentre]->palette();
        setColours(txtGenomaPrev, centre.color(QPalette::Base), centre.color(QPalette::Text));
    }
    if (genomeBoxText(world_.genoma(kActual, cell), mask, text))
        txtGenoma->setText(QString::fromStdString(text));
    const auto& col = world_.genoma(kActual, cell).Colores;
    paintBox(txtGenoma, rgb(col, 0), rgb(col, 3));
}

void Inspector::showSelected(int cell) {
    const Genoma& g = world_.genoma(kActual, cell);
    const GenomePart& p = g.parte[0];
    txtSeleccionada->setText(QString::fromStdString("   " + sens(p.SenIC) + "   " + sens(p.SenIA) +
                                                    "   " + sens(p.SenIP)));
    paintBox(txtSeleccionada, rgb(g.Colores, 0), rgb(g.Colores, 3));
}

// ---------------------------------------------------------------- tooltips and presses

QString Inspector::boxTooltip(int i) const {
    const int cell = i == kCentre ? world_.CasillaSel : labelCell(i);
    if (cell < 1 || cell > world_.NumJugadores || txtJugador[i]->text().isEmpty()) return {};
    return QStringLiteral("Points: %1 | Has copied the player (strategy): %2")
        .arg(txtJugador[i]->text())
        .arg(world_.Padres[cell][0]);
}

QString Inspector::labelTooltip(int i) const {
    const int cell = labelCell(i);
    if (cell < 1 || cell > world_.NumJugadores) return {};
    std::vector<int> shown = {world_.CasillaSel};
    for (int j = 0; j < kNumPositions; ++j)
        if (lblJugador[j]->font().bold()) shown.push_back(labelCell(j));
    return QString::fromStdString(strategyAverageText(world_, report_, cell, shown));
}

bool Inspector::eventFilter(QObject* watched, QEvent* e) {
    const auto label = std::find(lblJugador.begin(), lblJugador.end(), watched);
    const auto box = std::find(txtJugador.begin(), txtJugador.end(), watched);
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        QString text;
        if (label != lblJugador.end())
            text = labelTooltip(int(label - lblJugador.begin()));
        else if (box != txtJugador.end())
            text = boxTooltip(int(box - txtJugador.begin()));
        else if (watched == lblAdHoc)
            text = QStringLiteral(
                "Ojo: si cambiamos este valor y pinchamos un vecindario, los resultados "
                "'virtuales' saldrán mal. Y si el valor es 4, saldrán mal de todos modos.");
        else
            return QGroupBox::eventFilter(watched, e);
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, static_cast<QWidget*>(watched));
        return true;
    }
    if (e->type() == QEvent::MouseButtonPress &&
        (static_cast<QMouseEvent*>(e)->modifiers() & Qt::ShiftModifier)) {
        int cell = -1;
        if (box != txtJugador.end())
            cell = labelCell(int(box - txtJugador.begin()));
        else if (watched == txtGenomaPrev)
            cell = world_.CasillaSel;
        if (cell >= 1 && cell <= world_.NumJugadores) {
            emit transitionBoxPressed(cell);
            return true;
        }
    }
    if (e->type() == QEvent::MouseButtonPress &&
        !(static_cast<QMouseEvent*>(e)->modifiers() & Qt::ShiftModifier)) {
        int copia = kPrevio, cell = -1;
        if (box != txtJugador.end()) {
            cell = labelCell(int(box - txtJugador.begin()));
            if (cell < 1) cell = -1;  // a box that shows no cell
        } else if (watched == txtGenomaPrev) {
            cell = world_.CasillaSel;
        } else if (watched == txtGenoma) {
            copia = kActual, cell = world_.CasillaSel;
        } else if (watched == txtSeleccionada) {
            copia = kActual, cell = 0;
        }
        if (cell == 0 || (cell >= 1 && cell <= world_.NumJugadores)) {
            emit genomeBoxPressed(copia, cell);
            return true;
        }
    }
    if (e->type() == QEvent::MouseButtonPress && label != lblJugador.end()) {
        emit labelPressed(labelCell(int(label - lblJugador.begin())));
        return true;
    }
    return QGroupBox::eventFilter(watched, e);
}

}  // namespace morvane
