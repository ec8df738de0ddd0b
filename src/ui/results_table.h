#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QTableView>
#include <array>
#include <string>
#include <vector>

#include "state/encounter_rows.h"
#include "state/world.h"

namespace morvane {

// The results table as data: rows 0 and 1 are the table's own headers (cell (0, 0) holds the
// inspected cell), rows 2 and below one encounter of the inspected cell each. The encounter rows
// are the engine's; this model only formats them.
class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kColumns = 8;
    static constexpr const char* kSaludo = "Saludos de parte de...";

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // MovPosibles + 2 rows: room for every encounter a cell can play.
    void setRowCount(int rows);
    // The inspected cell and its encounters; the colours are those of cell (0, 0).
    void setRows(int cell, QColor back, QColor fore, std::vector<ResultRow> rows);

    // Headers (1, 1) and (1, 5), as the engine words them, italic while the first-index switch
    // waits for the next start or step.
    void setIndexHeaders(const QString& ciR, const QString& ciP, bool italic);
    // Headers (1, 3) and (1, 7): "Disp" shows each side's output f, "Mov" its disposition.
    bool showsMoves() const { return showsMoves_; }
    void setShowsMoves(bool moves);

    // The corner and the "Num" cells in black or white by their back colour.
    void setReadableText(bool on);

    QString text(int row, int column) const;
    // Whether headers (1, 1) and (1, 5) are shown in italics (the switch waits to be committed).
    bool indexHeadersItalic() const { return italic_; }
    int inspectedCell() const { return cell_; }
    const std::vector<ResultRow>& rows() const { return rows_; }

  private:
    QString headerText(int column) const;
    QString valueText(const ResultRow& f, int column) const;
    const ResultRow* rowAt(int row) const;

    int rowCount_ = 2;
    int cell_ = 0;
    QColor back_ = Qt::white, fore_ = Qt::black;
    std::vector<ResultRow> rows_;
    QString ciR_ = QStringLiteral("Ci R"), ciP_ = QStringLiteral("Ci P");
    bool italic_ = false, showsMoves_ = false, readable_ = false;
};

// fxgResultados: the view over the model. Presses act on the button Qt reports.
class ResultsTable : public QTableView {
    Q_OBJECT
  public:
    explicit ResultsTable(QWidget* parent = nullptr);
    ResultsModel& results() { return model_; }

  signals:
    // A press on the rival number of an encounter row (column 4 of a row beyond 1).
    void rivalPressed(int row, int button);
    void indexToggleRequested();  // header (1, 1)
    void dispToggled();           // header (1, 3): headers switched, rows to rebuild

  protected:
    void mousePressEvent(QMouseEvent* e) override;

  private:
    ResultsModel model_;
};

}  // namespace morvane
