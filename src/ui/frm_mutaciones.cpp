#include "ui/frm_mutaciones.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "state/world.h"
#include "ui/frm_fun_dibujadas.h"
#include "ui/mouse_button.h"
#include "ui/readable_text.h"
#include "ui/session.h"

namespace morvane {

namespace {

constexpr int kFirstColourRow = 1, kLastColourRow = 6;

const char* const kExplanation =
    "Color in the six upper rows is the current color (after MUTATION, that is, after COPYING a "
    "strategy). Color in the rest of rows is the color previous to mutation, but AFTER COPYING: it "
    "is NOT the color of the previous strategy. Back color is the strategy's color FOR THE USER "
    "(bugs don't see this). Font color is the bug's color: the one recognized BY BUGS when they "
    "pay attention to how others look like. Back (user) color changes always, every time a "
    "mutation takes place, except when the mutated parameter is the bug color. In \"Options\" you "
    "can select the option, so that user color changes when bug color mutates as well.";

int twipsToPixels(const QWidget* w, int twips) {
    return twips * w->logicalDpiX() / 1440;
}

}  // namespace

// ---------------------------------------------------------------- model

QColor MutationsModel::markColour() {
    return QColor(255, 255, 0);
}

void MutationsModel::setRecords(std::vector<MutationRecord> records, bool readableText) {
    beginResetModel();
    readableText_ = readableText;
    records_.clear();
    records_.reserve(records.size());
    for (auto& r : records)
        records_.push_back({r, mutationColumnTexts(r.cell, r.parte, r.before), std::nullopt});
    endResetModel();
}

void MutationsModel::togglePresent(int column, const World& w) {
    Column& c = records_[static_cast<std::size_t>(column - 1)];
    if (c.present) {
        c.present.reset();
    } else {
        const int cell = c.record.cell;
        if (cell < 1 || cell > w.NumJugadores) return;  // a cell of another world
        c.present = mutationColumnTexts(cell, c.record.parte, w.genoma(kActual, cell));
    }
    emit dataChanged(index(1, column), index(kMutationViewRows - 1, column));
}

QString MutationsModel::text(int row, int column) const {
    if (column == 0) return QString::fromUtf8(mutationRowTitles()[static_cast<std::size_t>(row)]);
    const Column& c = records_[static_cast<std::size_t>(column - 1)];
    const Texts& t = c.present && row > 0 ? *c.present : c.recorded;
    return QString::fromStdString(t[static_cast<std::size_t>(row)]);
}

int MutationsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kMutationViewRows;
}

int MutationsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1 + mutationCount();
}

// The six colour rows and the cell's number take the colours after the mutation; the other rows
// the colours before it. A changed field is marked instead.
QVariant MutationsModel::colour(const Column& c, int row, bool back) const {
    const bool marked = row > 0 && (c.record.changedRows >> row & 1U) != 0;
    if (marked) return back ? markColour() : QColor(Qt::black);
    const bool after = row <= kLastColourRow;
    const auto& k = after ? c.record.coloursAfter : c.record.before.Colores;
    const QColor user(k[0], k[1], k[2]), bug(k[3], k[4], k[5]);
    return back ? user : textColourOn(user, bug, readableText_);
}

QVariant MutationsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row(), column = index.column();
    if (role == Qt::DisplayRole) return text(row, column);
    if (role == Qt::TextAlignmentRole)
        return column == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    if (column == 0) {
        if (role == Qt::BackgroundRole) return QColor(224, 224, 224);
        return {};
    }
    const Column& c = records_[static_cast<std::size_t>(column - 1)];
    if (role == Qt::BackgroundRole) return colour(c, row, true);
    if (role == Qt::ForegroundRole) return colour(c, row, false);
    if (role == Qt::FontRole && c.present && row > 0) {
        QFont f = font_;
        f.setItalic(true);
        return f;
    }
    if (role == Qt::ToolTipRole && row == 0)
        return tr("Generation %1: click to open the strategy editor on cell %2, part %3")
            .arg(c.record.generation)
            .arg(c.record.cell)
            .arg(c.record.parte);
    return {};
}

// Nothing is selectable: a highlight would hide the colours and the marks.
Qt::ItemFlags MutationsModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

// ---------------------------------------------------------------- window

frmMutaciones::frmMutaciones(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmMutaciones"));
    setWindowTitle(tr("Mutations"));
    // Shown by every generation of a run: it must not take the focus from the run button.
    setAttribute(Qt::WA_ShowWithoutActivating);

    lblExplicacion = new QLabel(QString::fromUtf8(kExplanation), this);
    lblExplicacion->setObjectName(QStringLiteral("lblExplicacion"));
    lblExplicacion->setWordWrap(true);
    const std::array<const char*, 3> legend = {"Variable that has \"mutated\"",
                                               "Current values, after mutation",
                                               "Previous values, before mutation"};
    for (int i = 0; i < 3; ++i) {
        lblInfo[i] = new QLabel(QString::fromUtf8(legend[i]), this);
        lblInfo[i]->setObjectName(QStringLiteral("lblInfo%1").arg(i));
        lblInfo[i]->setFrameShape(QFrame::Box);
        lblInfo[i]->setMargin(3);
    }
    lblInfo[0]->setAutoFillBackground(true);
    QPalette marked = lblInfo[0]->palette();
    marked.setColor(QPalette::Window, MutationsModel::markColour());
    marked.setColor(QPalette::WindowText, Qt::black);
    lblInfo[0]->setPalette(marked);
    lblTest = new QLabel(QStringLiteral("(Test) "), this);
    lblTest->setObjectName(QStringLiteral("lblTest"));
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    cmdEmpezarJuego = new MouseButton(tr("Start / Pause"), this);
    cmdEmpezarJuego->setObjectName(QStringLiteral("cmdEmpezarJuego"));
    cmdEmpezarJuego->setToolTip(
        tr("The run's start button: left starts or pauses the run, any other button starts it"));

    fxgMutaciones = new QTableView(this);
    fxgMutaciones->setObjectName(QStringLiteral("fxgMutaciones"));
    fxgMutaciones->setModel(&model_);
    fxgMutaciones->horizontalHeader()->hide();
    fxgMutaciones->verticalHeader()->hide();
    fxgMutaciones->setSelectionMode(QAbstractItemView::NoSelection);
    fxgMutaciones->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fxgMutaciones->setFocusPolicy(Qt::NoFocus);  // no focus frame over the colours either
    fxgMutaciones->horizontalHeader()->setMinimumSectionSize(8);
    // The widths are the grid's own, in twips; a font of 8 points fits the texts into them.
    QFont small = fxgMutaciones->font();
    small.setPointSize(8);
    fxgMutaciones->setFont(small);
    model_.setFont(small);
    fxgMutaciones->verticalHeader()->setDefaultSectionSize(QFontMetrics(small).height() + 4);

    auto* legendRow = new QHBoxLayout;
    for (QLabel* l : lblInfo) legendRow->addWidget(l);
    legendRow->addStretch(1);
    legendRow->addWidget(lblTest);
    legendRow->addWidget(cmdEmpezarJuego);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblExplicacion);
    layout->addWidget(statusLabel);
    layout->addWidget(fxgMutaciones, 1);
    layout->addLayout(legendRow);
    resize(1100, 760);

    connect(fxgMutaciones, &QTableView::clicked, this, &frmMutaciones::cellClicked);
    connect(cmdEmpezarJuego, &MouseButton::pressed, this, &frmMutaciones::runButtonPressed);
    // A new or refilled world has no mutations to explain.
    for (auto signal : {&Session::worldReplaced, &Session::genomesChanged})
        connect(&Session::instance(), signal, this, [this] {
            Session& s = Session::instance();
            if (s.world().Generacion == 0) showGeneration(s.world(), s.report());
        });
}

void frmMutaciones::showGeneration(const World& w, const GenerationReport& report) {
    std::vector<MutationRecord> records;
    for (const auto& r : report.mutationRecords)
        if (r.generation == w.Generacion) records.push_back(r);
    const int count = static_cast<int>(records.size());
    model_.setRecords(std::move(records), Session::instance().readableText());
    fxgMutaciones->setColumnWidth(0, twipsToPixels(this, 1500));
    for (int c = 1; c <= count; ++c) fxgMutaciones->setColumnWidth(c, twipsToPixels(this, 1200));
    if (w.Generacion == 0) {
        setWindowTitle(tr("Mutations"));
        statusLabel->setText(tr("No generation played yet"));
        return;
    }
    setWindowTitle(tr("Mutations - generation %1").arg(w.Generacion));
    statusLabel->setText(tr("%n mutation(s) in generation %1", nullptr, count).arg(w.Generacion));
}

void frmMutaciones::cellClicked(const QModelIndex& index) {
    const int column = index.column();
    if (column < 1 || column > model_.mutationCount()) return;
    if (index.row() == 0) {
        const MutationRecord& r = model_.record(column);
        if (r.cell >= 1 && r.cell <= Session::instance().world().NumJugadores)
            frmFunDibujadas::FunCoop(1, r.cell, r.parte + 1);
        return;
    }
    model_.togglePresent(column, Session::instance().world());
}

void frmMutaciones::closeEvent(QCloseEvent* e) {
    emit closed();
    QWidget::closeEvent(e);
}

}  // namespace morvane
