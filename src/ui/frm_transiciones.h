#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QWidget>
#include <array>
#include <optional>

#include "core/transition_view.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QTableView;

namespace morvane {

// The rows of one transition explanation: row 0 the cell itself, row j + 1 position j; column 0
// in the cell's previous-copy colours, the positions the rule searched in bold.
class TransitionsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    struct Colours {
        QColor back, text;
    };
    void setExplanation(const TransitionExplanation& e, const std::array<Colours, 25>& colours);
    void clear();
    // The grid's font, which the bold rows take in bold.
    void setFont(const QFont& font) { font_ = font; }
    bool empty() const { return !explanation_.has_value(); }
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::optional<TransitionExplanation> explanation_;
    std::array<Colours, 25> colours_{};
    QFont font_;
};

// "Transitions": how the last transition rule treated one cell, from what that generation left.
class frmTransiciones : public QWidget {
    Q_OBJECT
  public:
    explicit frmTransiciones(QWidget* parent = nullptr);

    // Shows the one transitions window (made on first use, deleted when closed).
    static frmTransiciones* open();

    // Explains the last transition of `cell`; a cell outside the world explains nothing.
    void Inicio(int cell);
    int cell() const { return cell_; }

    QTableView* fxgTransiciones;
    QLabel* lblCorte;
    QLabel* statusLabel;  // why nothing is explained, when nothing is
    std::array<QCheckBox*, 48> chkVecino{};
    std::array<QRadioButton*, 2> optRealTest{};
    TransitionsModel& rows() { return model_; }

  private:
    void refresh();
    void showNothing(const QString& why);

    TransitionsModel model_;
    int cell_ = 0;
};

}  // namespace morvane
