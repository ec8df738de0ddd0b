#include "ui/results_table.h"

#include <QFont>
#include <QHeaderView>
#include <QMouseEvent>

#include "base/shown_number.h"
#include "encounter/results_table.h"
#include "ui/readable_text.h"

namespace morvane {

namespace {

constexpr int kColumnWidth = 36;  // 425 twips, widened to hold "0.25" in the system font
constexpr int kRowHeight = 18;

}  // namespace

// ---------------------------------------------------------------- model

int ResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int ResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

void ResultsModel::setRowCount(int rows) {
    rows = std::max(rows, 2);
    if (rows == rowCount_) return;
    beginResetModel();
    rowCount_ = rows;
    endResetModel();
}

void ResultsModel::setRows(int cell, QColor back, QColor fore, std::vector<ResultRow> rows) {
    beginResetModel();
    cell_ = cell;
    back_ = back;
    fore_ = fore;
    rows_ = std::move(rows);
    rowCount_ = std::max<int>(rowCount_, static_cast<int>(rows_.size()) + 2);
    endResetModel();
}

void ResultsModel::setIndexHeaders(const QString& ciR, const QString& ciP, bool italic) {
    ciR_ = ciR;
    ciP_ = ciP;
    italic_ = italic;
    emit dataChanged(index(1, 0), index(1, kColumns - 1));
}

void ResultsModel::setReadableText(bool on) {
    if (readable_ == on) return;
    beginResetModel();
    readable_ = on;
    endResetModel();
}

void ResultsModel::setShowsMoves(bool moves) {
    beginResetModel();
    showsMoves_ = moves;
    endResetModel();
}

const ResultRow* ResultsModel::rowAt(int row) const {
    const int k = row - 2;
    if (k < 0 || k >= static_cast<int>(rows_.size())) return nullptr;
    return &rows_[k];
}

QString ResultsModel::headerText(int column) const {
    switch (column) {
        case 0:
            return QStringLiteral("Si");
        case 1:
            return ciR_;
        case 2:
            return QStringLiteral("Ei R");
        case 4:
            return QStringLiteral("Num");
        case 5:
            return ciP_;
        case 6:
            return QStringLiteral("Ei P");
        default:  // 3 and 7
            return showsMoves_ ? QStringLiteral("Mov") : QStringLiteral("Disp");
    }
}

QString ResultsModel::valueText(const ResultRow& f, int column) const {
    auto num = [](float x) { return QString::fromStdString(shownNumber(x, 2)); };
    switch (column) {
        case 0:
            return num(f.Si);
        case 1:
            return num(f.own.Ci);
        case 2:
            return num(f.own.Ei);
        case 3:
            return num(showsMoves_ ? f.own.disp : f.own.f);
        case 4:
            return QString::number(f.rival.cell);
        case 5:
            return num(f.rival.Ci);
        case 6:
            return num(f.rival.Ei);
        default:
            return num(showsMoves_ ? f.rival.disp : f.rival.f);
    }
}

QString ResultsModel::text(int row, int column) const {
    if (row == 0) return column == 0 && cell_ > 0 ? QString::number(cell_) : QString();
    if (row == 1) return headerText(column);
    const ResultRow* f = rowAt(row);
    return f != nullptr ? valueText(*f, column) : QString();
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row(), col = index.column();
    const ResultRow* f = rowAt(row);
    auto colour = [](const std::array<std::uint8_t, 6>& c, int from) {
        return QColor(c[from], c[from + 1], c[from + 2]);
    };
    switch (role) {
        case Qt::DisplayRole:
            return text(row, col);
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::BackgroundRole:
            if (row == 0 && col == 0 && cell_ > 0) return back_;
            if (row < 2) return QColor(0xE0, 0xE0, 0xE0);
            if (f != nullptr && col == 4) return colour(f->rival.colours, 0);
            return QColor(Qt::white);
        case Qt::ForegroundRole:
            if (row == 0 && col == 0) return textColourOn(back_, fore_, readable_ && cell_ > 0);
            if (f != nullptr && col == 4)
                return textColourOn(colour(f->rival.colours, 0), colour(f->rival.colours, 3),
                                    readable_);
            return QColor(Qt::black);
        case Qt::FontRole: {
            QFont font;
            if (row == 1 && (col == 1 || col == 5)) font.setItalic(italic_);
            if (f != nullptr && col == 3) font.setBold(f->own.fired);
            if (f != nullptr && col == 7) font.setBold(f->rival.fired);
            return font;
        }
        case Qt::ToolTipRole:
            // Worked out only when the mouse rests on a value.
            if (f != nullptr && (col == 3 || col == 7))
                return QString::fromStdString(TextoFormula(*f, col == 7));
            return QString::fromLatin1(kSaludo);
        default:
            return {};
    }
}

// ---------------------------------------------------------------- view

ResultsTable::ResultsTable(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("fxgResultados"));
    setModel(&model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    // The columns share whatever width the window gives the table, never less than their own.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    horizontalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(8);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMinimumWidth(kColumnWidth * ResultsModel::kColumns + 20);
}

void ResultsTable::mousePressEvent(QMouseEvent* e) {
    QTableView::mousePressEvent(e);
    const QModelIndex idx = indexAt(e->position().toPoint());
    if (!idx.isValid()) return;
    const int row = idx.row(), col = idx.column();
    const int button = e->button() == Qt::LeftButton ? 1 : e->button() == Qt::RightButton ? 2 : 4;
    if (row > 1 && col == 4) {
        if (!model_.text(row, col).isEmpty()) emit rivalPressed(row, button);
    } else if (row == 1 && col == 1) {
        emit indexToggleRequested();
    } else if (row == 1 && col == 3) {
        model_.setShowsMoves(!model_.showsMoves());
        emit dispToggled();
    }
}

}  // namespace morvane
