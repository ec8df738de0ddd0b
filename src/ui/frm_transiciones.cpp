#include "ui/frm_transiciones.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/readable_text.h"
#include "ui/session.h"
#include "world/neighbourhood.h"

namespace morvane {

namespace {

constexpr std::array<int, kNumTransitionColumns> kColumnTwips = {800,  800,  1000, 2000, 1400,
                                                                 1000, 1000, 1000, 1000, 1000};

QPointer<frmTransiciones>& theWindow() {
    static QPointer<frmTransiciones> window;
    return window;
}

// One 5 x 5 picture of the positions, boxes first .. first + 23, the centre left empty.
QGroupBox* positionPicture(QWidget* parent, std::array<QCheckBox*, 48>& boxes, int first) {
    auto* frame = new QGroupBox(parent);
    auto* grid = new QGridLayout(frame);
    grid->setSpacing(1);
    const auto& off = positionOffsets();
    for (int j = 0; j < kNumPositions; ++j) {
        auto* box = new QCheckBox(frame);
        box->setObjectName(QStringLiteral("chkVecino%1").arg(first + j));
        // The pictures show what the rule searched; they are not settings.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        boxes[static_cast<std::size_t>(first + j)] = box;
        grid->addWidget(box, 2 + off[static_cast<std::size_t>(j)].dr,
                        2 + off[static_cast<std::size_t>(j)].dc);
    }
    auto* centre = new QLabel(QStringLiteral("X"), frame);
    centre->setAlignment(Qt::AlignCenter);
    grid->addWidget(centre, 2, 2);
    return frame;
}

}  // namespace

// ---------------------------------------------------------------- model

void TransitionsModel::setExplanation(const TransitionExplanation& e,
                                      const std::array<Colours, 25>& colours) {
    beginResetModel();
    explanation_ = e;
    colours_ = colours;
    endResetModel();
}

void TransitionsModel::clear() {
    beginResetModel();
    explanation_.reset();
    endResetModel();
}

QString TransitionsModel::text(int row, int column) const {
    if (!explanation_) return {};
    return QString::fromStdString(
        explanation_->rows[static_cast<std::size_t>(row)].text[static_cast<std::size_t>(column)]);
}

int TransitionsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !explanation_ ? 0 : kNumPositions + 1;
}

int TransitionsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kNumTransitionColumns;
}

QVariant TransitionsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !explanation_) return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return text(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return QVariant(Qt::AlignCenter);
        case Qt::FontRole:
            if (explanation_->rows[row].qualifies) {
                QFont f = font_;
                f.setBold(true);
                return f;
            }
            return {};
        case Qt::BackgroundRole:
            if (index.column() == 0 && explanation_->rows[row].cell > 0) return colours_[row].back;
            return {};
        case Qt::ForegroundRole:
            if (index.column() == 0 && explanation_->rows[row].cell > 0) return colours_[row].text;
            return {};
        default:
            return {};
    }
}

QVariant TransitionsModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kNumTransitionColumns)
        return QAbstractTableModel::headerData(section, o, role);
    return QString::fromUtf8(transitionColumnHeaders()[static_cast<std::size_t>(section)]);
}

// Nothing is selectable: a highlight would hide the colours.
Qt::ItemFlags TransitionsModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

// ---------------------------------------------------------------- window

frmTransiciones::frmTransiciones(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmTransiciones"));
    setWindowTitle(tr("Transitions"));
    fxgTransiciones = new QTableView(this);
    fxgTransiciones->setObjectName(QStringLiteral("fxgTransiciones"));
    fxgTransiciones->setModel(&model_);
    fxgTransiciones->verticalHeader()->hide();
    fxgTransiciones->setSelectionMode(QAbstractItemView::NoSelection);
    fxgTransiciones->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fxgTransiciones->setFocusPolicy(Qt::NoFocus);  // no focus frame over the colours either
    fxgTransiciones->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    fxgTransiciones->horizontalHeader()->setMinimumSectionSize(8);
    // The grid in 8 points, as its widths were made for.
    QFont small = fxgTransiciones->font();
    small.setPointSize(8);
    fxgTransiciones->setFont(small);
    model_.setFont(small);
    fxgTransiciones->horizontalHeader()->setFont(small);
    fxgTransiciones->verticalHeader()->setDefaultSectionSize(QFontMetrics(small).height() + 4);
    // The grid's widths, in twips; a column too narrow for its header or a bold mark is widened
    // to show it whole.
    QFont bold = small;
    bold.setBold(true);
    const QFontMetrics marks(bold);
    for (int c = 0; c < kNumTransitionColumns; ++c) {
        const QString header =
            QString::fromUtf8(transitionColumnHeaders()[static_cast<std::size_t>(c)]);
        int width = kColumnTwips[static_cast<std::size_t>(c)] * logicalDpiX() / 1440;
        width = std::max(width, marks.horizontalAdvance(header) + 12);
        if (c >= kColReplicator) width = std::max(width, marks.horizontalAdvance("0 = padre") + 12);
        fxgTransiciones->setColumnWidth(c, width);
    }
    lblCorte = new QLabel(this);
    lblCorte->setObjectName(QStringLiteral("lblCorte"));
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    optRealTest[0] = new QRadioButton(tr("Real"), this);
    optRealTest[1] = new QRadioButton(tr("Test"), this);
    optRealTest[0]->setChecked(true);

    auto* side = new QVBoxLayout;
    side->addWidget(positionPicture(this, chkVecino, 0));
    side->addWidget(positionPicture(this, chkVecino, kNumPositions));
    side->addWidget(optRealTest[0]);
    side->addWidget(optRealTest[1]);
    side->addStretch(1);
    auto* main = new QVBoxLayout;
    main->addWidget(lblCorte);
    main->addWidget(statusLabel);
    main->addWidget(fxgTransiciones, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(main, 1);
    layout->addLayout(side);
    resize(1080, 620);

    // A generation explains the same cell again; a new world or a fill makes the rows wrong.
    Session& s = Session::instance();
    for (auto signal :
         {&Session::generationDone, &Session::genomesChanged, &Session::worldReplaced})
        connect(&s, signal, this, &frmTransiciones::refresh);
}

frmTransiciones* frmTransiciones::open() {
    QPointer<frmTransiciones>& window = theWindow();
    if (!window) {
        window = new frmTransiciones;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    return window;
}

void frmTransiciones::Inicio(int cell) {
    cell_ = cell;
    refresh();
}

void frmTransiciones::showNothing(const QString& why) {
    model_.clear();
    lblCorte->clear();
    for (QCheckBox* box : chkVecino) box->setChecked(false);
    statusLabel->setText(why);
    statusLabel->show();
}

void frmTransiciones::refresh() {
    Session& s = Session::instance();
    const World& w = s.world();
    const GenerationReport& report = s.report();
    if (cell_ < 1 || cell_ > w.NumJugadores) {
        setWindowTitle(tr("Transitions"));
        showNothing(tr("No cell to explain"));
        return;
    }
    if (w.Generacion == 0 || !report.transition.ran() ||
        report.transition.generation != w.Generacion) {
        setWindowTitle(tr("Transitions - cell %1").arg(cell_));
        showNothing(tr("No generation played yet"));
        return;
    }
    setWindowTitle(tr("Transitions - cell %1, generation %2").arg(cell_).arg(w.Generacion));
    if (s.worldChangedSinceGeneration()) {
        showNothing(tr("The world changed since generation %1; play a generation to explain it "
                       "again")
                        .arg(w.Generacion));
        return;
    }
    const TransitionExplanation e = explainTransition(w, report, cell_);
    std::array<TransitionsModel::Colours, 25> colours{};
    for (std::size_t row = 0; row < colours.size(); ++row) {
        const int c = e.rows[row].cell;
        if (c < 1 || c > w.NumJugadores) continue;
        const auto& k = w.genoma(kPrevio, c).Colores;
        const QColor back(k[0], k[1], k[2]);
        colours[row] = {back, textColourOn(back, QColor(k[3], k[4], k[5]), s.readableText())};
    }
    model_.setExplanation(e, colours);
    lblCorte->setText(QString::fromStdString(e.cutText));
    for (std::size_t i = 0; i < chkVecino.size(); ++i) chkVecino[i]->setChecked(e.positionBoxes[i]);
    statusLabel->clear();
    statusLabel->hide();
}

}  // namespace morvane
