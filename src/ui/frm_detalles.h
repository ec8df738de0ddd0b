#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QWidget>
#include <optional>

#include "encounter/details.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableView;

namespace morvane {

// The rival's records of the generation beside their partners' records: the studied row red, the
// records the search used bold on yellow.
class DetailsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static QColor usedColour() { return QColor(255, 255, 0); }
    static QColor redColour() { return QColor(255, 0, 0); }

    void setExplanation(const InteractionExplanation& e);
    void clear();
    // Column 6's header: "Coop R" or "Success R", italic while the switch waits to be committed.
    void setIndexHeader(const QString& text, bool italic);
    void setFont(const QFont& font) { font_ = font; }
    QString text(int row, int column) const;  // row from 0: grid row 1

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::optional<InteractionExplanation> explanation_;
    QString indexHeader_ = QStringLiteral("Coop R");
    bool indexItalic_ = false;
    QFont font_;
};

// "Interactions details": how one player's history search saw a rival's records in one encounter
// of the generation just played.
class frmDetalles : public QWidget {
    Q_OBJECT
  public:
    explicit frmDetalles(QWidget* parent = nullptr);

    // Shows the one details window (made on first use, deleted when closed).
    static frmDetalles* open();

    // Explains the search `searcher` made of `rival`'s records in the rival's record `current`,
    // with the first index named as results header (1, 1) reads ("Ci R": cooperation).
    void ExplicarPartida(int rival, int searcher, int current, bool cooperation, bool italic);

    QTableView* fxgDetalles;
    QGroupBox* fraComoSeVe;
    QLabel *lblComo, *lblNumSubRival, *lblValoro, *lblNumRival;
    QLabel *lblProf, *lblMediaIc, *lblMediaIa, *lblEquidadReal, *lblEquidadEstimada;
    QLabel *lblExitoReal, *lblExitoEstimado;
    QLineEdit *txtProf, *txtMediaIc, *txtMediaIa, *txtEquidadReal, *txtEquidadEstimada;
    QLineEdit *txtExitoReal, *txtExitoEstimado;
    QGroupBox* frmFilaRoja;
    QPlainTextEdit* txtExplicacion;
    QLabel* statusLabel;  // why nothing is explained, or the replay's note
    DetailsModel& rows() { return model_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void showNothing(const QString& why);
    void paintNumber(QLabel* label, int cell, const std::array<std::uint8_t, 6>& colours);

    DetailsModel model_;
    int searcher_ = 0, rival_ = 0;
};

}  // namespace morvane
