#include "ui/frm_rangos.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "strategy/limits.h"
#include "ui/refused_value.h"
#include "ui/session.h"

namespace morvane {

namespace {

QPointer<frmRangos>& theWindow() {
    static QPointer<frmRangos> window;
    return window;
}

// Colours and the imitation mask are drawn over their whole ranges: their rows are kept for files.
bool unread(int k) {
    return k <= 5 || k == kLimVecinos;
}

const char* const kStoredOutside = "storedOutsideBounds";

}  // namespace

frmRangos::frmRangos(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmRangos"));
    setWindowTitle(QStringLiteral("Strategies limits"));
    auto* v = new QVBoxLayout(this);
    auto* parts = new QHBoxLayout;
    const QString captions[2] = {QStringLiteral("Function 0 (move 1st)"),
                                 QStringLiteral("Function 1 (move 2nd)")};
    for (int p = 0; p < 2; ++p) {
        optFuncion[p] = new QRadioButton(captions[p]);
        optFuncion[p]->setObjectName(QStringLiteral("optFuncion%1").arg(p));
        parts->addWidget(optFuncion[p]);
        connect(optFuncion[p], &QRadioButton::toggled, this, [this, p](bool on) {
            if (!on || filling_ || p == part_) return;
            if (!store()) {
                const QSignalBlocker block(optFuncion[part_]);
                optFuncion[part_]->setChecked(true);
                return;
            }
            part_ = p;
            fill();
        });
    }
    v->addLayout(parts);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(1);
    grid->addWidget(new QLabel(QStringLiteral("Min                         Max")), 0, 1, 1, 2);
    for (int k = 0; k < kNumLimits; ++k) {
        lblParametro[k] =
            new QLabel(QString::fromUtf8(limitCaption(k).data(), int(limitCaption(k).size())));
        txtMin[k] = new QLineEdit;
        txtMax[k] = new QLineEdit;
        txtMin[k]->setObjectName(QStringLiteral("txtMin%1").arg(k));
        txtMax[k]->setObjectName(QStringLiteral("txtMax%1").arg(k));
        for (QLineEdit* b : {txtMin[k], txtMax[k]}) {
            b->setFixedWidth(80);
            b->installEventFilter(this);
            connect(b, &QLineEdit::textEdited, this, [this, k, b] { boxEdited(k, b); });
        }
        if (unread(k)) {
            const QString tip = QStringLiteral(
                "No draw reads this limit: random and mutated colours and imitation "
                "neighbourhoods are drawn over their whole range. It is kept in files.");
            lblParametro[k]->setToolTip(tip);
            txtMin[k]->setToolTip(tip);
            txtMax[k]->setToolTip(tip);
        }
        grid->addWidget(lblParametro[k], k + 1, 0);
        grid->addWidget(txtMin[k], k + 1, 1);
        grid->addWidget(txtMax[k], k + 1, 2);
    }
    v->addLayout(grid);

    auto* bars = new QGridLayout;
    const QString barCaptions[2] = {QStringLiteral("Min Value"), QStringLiteral("Max Value")};
    for (int i = 0; i < 2; ++i) {
        hsbMinMax[i] = new QScrollBar(Qt::Horizontal);
        hsbMinMax[i]->setObjectName(QStringLiteral("hsbMinMax%1").arg(i));
        hsbMinMax[i]->setMinimumWidth(200);
        hsbMinMax[i]->setEnabled(false);
        bars->addWidget(new QLabel(barCaptions[i]), i, 0);
        bars->addWidget(hsbMinMax[i], i, 1);
        connect(hsbMinMax[i], &QScrollBar::valueChanged, this, [this, i] { barMoved(i); });
    }
    v->addLayout(bars);
    cmdAceptar = new QPushButton(QStringLiteral("OK"));
    v->addWidget(cmdAceptar, 0, Qt::AlignRight);
    connect(cmdAceptar, &QPushButton::clicked, this, [this] {
        if (store()) close();
    });
    for (auto signal : {&Session::worldReplaced, &Session::strategiesReplaced})
        connect(&Session::instance(), signal, this, [this] { fill(); });
}

frmRangos* frmRangos::open() {
    QPointer<frmRangos>& window = theWindow();
    if (!window) {
        window = new frmRangos;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->part_ = 0;
        window->fill();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frmRangos* frmRangos::current() {
    return theWindow();
}

Rangos& frmRangos::rangos() {
    return Session::instance().world().Rangos;
}

void frmRangos::showBox(int k, QLineEdit* box, std::int32_t value) {
    clearRefused(box);
    box->setText(QString::number(value));
    const auto& b = rangos().bounds[k][part_];
    const bool outside = value < b[0] || value > b[1];
    box->setProperty(kStoredOutside, outside);
    if (outside) {
        box->setStyleSheet(QStringLiteral("QLineEdit { background: #ffd27f; }"));
        box->setToolTip(QStringLiteral("%1 lies outside %2..%3, as the file stored it; it is kept "
                                       "until you type another limit.")
                            .arg(value)
                            .arg(b[0])
                            .arg(b[1]));
    } else {
        box->setStyleSheet(QString());
        if (!unread(k)) box->setToolTip(QString());
    }
}

void frmRangos::fill() {
    filling_ = true;
    optFuncion[part_]->setChecked(true);
    for (int k = 0; k < kNumLimits; ++k) {
        const auto& lim = rangos().limits[k][part_];
        showBox(k, txtMin[k], lim[0]);
        showBox(k, txtMax[k], lim[1]);
    }
    row_ = -1;
    for (QScrollBar* b : hsbMinMax) b->setEnabled(false);
    filling_ = false;
}

bool frmRangos::boxValue(int k, int side, std::int32_t& value) const {
    const QLineEdit* box = side == 0 ? txtMin[k] : txtMax[k];
    const std::int32_t stored = Session::instance().world().Rangos.limits[k][part_][side];
    if (box->text().trimmed() == QString::number(stored)) {
        value = stored;
        return true;
    }
    const auto& b = Session::instance().world().Rangos.bounds[k][part_];
    int typed = 0;
    if (!readWholeNumber(box->text(), typed) || typed < b[0] || typed > b[1]) return false;
    value = typed;
    return true;
}

void frmRangos::boxEdited(int k, QLineEdit* box) {
    const int side = box == txtMin[k] ? 0 : 1;
    std::int32_t v = 0;
    const auto& b = rangos().bounds[k][part_];
    if (boxValue(k, side, v)) {
        clearRefused(box);
        if (k == row_) {
            const QSignalBlocker block(hsbMinMax[side]);
            hsbMinMax[side]->setValue(v);
        }
    } else {
        box->setStyleSheet(QString());
        showRefused(box, QStringLiteral("within %1..%2").arg(b[0]).arg(b[1]));
    }
}

bool frmRangos::store() {
    Rangos& r = rangos();
    auto refuse = [this](QLineEdit* box, const QString& why) {
        Session::instance().info(this, why);
        box->setFocus();
        box->selectAll();
        return false;
    };
    std::array<std::array<std::int32_t, 2>, kNumLimits> taken{};
    for (int k = 0; k < kNumLimits; ++k) {
        const QString row = lblParametro[k]->text();
        const auto& b = r.bounds[k][part_];
        for (int side = 0; side < 2; ++side) {
            QLineEdit* box = side == 0 ? txtMin[k] : txtMax[k];
            if (!boxValue(k, side, taken[k][side]))
                return refuse(
                    box, QStringLiteral("\"%1\": %2 must be a whole number within "
                                        "%3..%4, not \"%5\".")
                             .arg(row, side == 0 ? QStringLiteral("Min") : QStringLiteral("Max"))
                             .arg(b[0])
                             .arg(b[1])
                             .arg(box->text()));
        }
        const bool edited = taken[k] != r.limits[k][part_];
        if (edited && taken[k][0] > taken[k][1])
            return refuse(txtMin[k], QStringLiteral("\"%1\": Min %2 is above Max %3.")
                                         .arg(row)
                                         .arg(taken[k][0])
                                         .arg(taken[k][1]));
    }
    for (int k = 0; k < kNumLimits; ++k) r.limits[k][part_] = taken[k];
    emit Session::instance().limitsChanged();
    return true;
}

bool frmRangos::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusIn) {
        for (int k = 0; k < kNumLimits; ++k) {
            if (watched != txtMin[k] && watched != txtMax[k]) continue;
            enterRow(k);
            static_cast<QLineEdit*>(watched)->selectAll();
        }
    }
    return QWidget::eventFilter(watched, e);
}

// The scrolls take the row's bounds and the boxes' numbers, without acting on it.
void frmRangos::enterRow(int k) {
    row_ = k;
    const auto& b = rangos().bounds[k][part_];
    for (int side = 0; side < 2; ++side) {
        const QSignalBlocker block(hsbMinMax[side]);
        hsbMinMax[side]->setEnabled(true);
        hsbMinMax[side]->setRange(b[0], b[1]);
        hsbMinMax[side]->setPageStep(std::max(1, (b[1] - b[0]) / 10));
        std::int32_t v = 0;
        if (!boxValue(k, side, v)) v = rangos().limits[k][part_][side];
        hsbMinMax[side]->setValue(v);
    }
}

// Min never passes Max, nor Max Min: the scroll that moved is pushed back to the other.
void frmRangos::barMoved(int which) {
    if (row_ < 0 || filling_) return;
    if (hsbMinMax[1]->value() < hsbMinMax[0]->value()) {
        const QSignalBlocker block(hsbMinMax[which]);
        hsbMinMax[which]->setValue(hsbMinMax[1 - which]->value());
    }
    for (int side = 0; side < 2; ++side) {
        QLineEdit* box = side == 0 ? txtMin[row_] : txtMax[row_];
        showBox(row_, box, hsbMinMax[side]->value());
    }
}

}  // namespace morvane
