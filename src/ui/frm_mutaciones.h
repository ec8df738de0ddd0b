#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/mutation_view.h"
#include "state/generation_report.h"

class QLabel;
class QTableView;

namespace morvane {

class MouseButton;
struct World;

// The mutations of one generation, one column each after the column of row titles. A column shows
// the recorded genome, or (after a click) the cell's present one in italics.
class MutationsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The one colour that marks the fields a mutation changed.
    static QColor markColour();

    void setRecords(std::vector<MutationRecord> records, bool readableText);
    const MutationRecord& record(int column) const { return records_[column - 1].record; }
    int mutationCount() const { return static_cast<int>(records_.size()); }
    bool showsPresent(int column) const { return records_[column - 1].present.has_value(); }
    // Between the recorded values and the cell's present ones (live genome, same part).
    void togglePresent(int column, const World& w);
    QString text(int row, int column) const;
    // The grid's font, which the present values take in italics.
    void setFont(const QFont& font) { font_ = font; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    using Texts = std::array<std::string, kMutationViewRows>;
    struct Column {
        MutationRecord record;
        Texts recorded;
        std::optional<Texts> present;
    };
    QVariant colour(const Column& c, int row, bool back) const;

    std::vector<Column> records_;
    bool readableText_ = false;
    QFont font_;
};

// "Mutations": every mutation of the last generation, fed while View > "Mutations" is ticked.
class frmMutaciones : public QWidget {
    Q_OBJECT
  public:
    explicit frmMutaciones(QWidget* parent = nullptr);

    // Shows the mutations of the report's last generation (none when they belong to another).
    void showGeneration(const World& w, const GenerationReport& report);

    QLabel* lblExplicacion;
    std::array<QLabel*, 3> lblInfo{};
    QLabel* lblTest;
    QLabel* statusLabel;  // which generation the columns explain
    QTableView* fxgMutaciones;
    MouseButton* cmdEmpezarJuego;
    MutationsModel& mutations() { return model_; }

  signals:
    // The twin start button, by mouse button as the world window's run button takes it.
    void runButtonPressed(int button);
    void closed();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void cellClicked(const QModelIndex& index);

    MutationsModel model_;
};

}  // namespace morvane
