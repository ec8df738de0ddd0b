#pragma once

#include <QGroupBox>
#include <array>
#include <string>
#include <vector>

#include "state/generation_report.h"
#include "state/world.h"

class QLabel;
class QLineEdit;
class QScrollBar;

namespace morvane {

// The texts of the genome boxes for a genome under a sensibility mask; nothing for a mask the
// boxes do not know (the boxes then keep their texts).
bool genomeBoxText(const Genoma& g, int senMask, std::string& text);

// The tooltip of lblJugador(i): the average pay-off, in the shown neighbourhood, of the strategy of
// `cell`, over the shown cells (the centre and the bold labels), each cell counted once.
std::string strategyAverageText(const World& w, const GenerationReport& report, int cell,
                                const std::vector<int>& shownCells);

// fraVecindario: the 5 x 5 picture of the inspected cell's neighbourhood, its genome boxes and the
// selected-strategy swatch. Index 24 is the centre; index j < 24 sits at position j's offset.
class Inspector : public QGroupBox {
    Q_OBJECT
  public:
    static constexpr int kCentre = 24;

    Inspector(const World& world, const GenerationReport& report, QWidget* parent = nullptr);

    std::array<QLabel*, 25> lblJugador{};
    std::array<QLineEdit*, 25> txtJugador{};
    QLineEdit* txtGenoma = nullptr;
    QLineEdit* txtGenomaPrev = nullptr;
    QLineEdit* txtSeleccionada = nullptr;
    QScrollBar* hsbAdHoc = nullptr;
    QLabel* lblAdHoc = nullptr;

    // Labels, marks and boxes for CasillaSel (the encounter rows are the window's).
    void ShowNeighbourhood();
    // The 24 boxes and the centre: pay-offs, colours, strike-through; label weights from the
    // inspected cell's imitation mask.
    void RefreshNeighbourBoxes();
    // The two genome boxes, for `cell`.
    void MostrarGenoma(int cell);
    // The selected-strategy swatch: the three sensibilities of `cell`'s live genome on its colours.
    void showSelected(int cell);

    // The cell a label shows (0 when it shows none).
    int labelCell(int i) const;

    // Numbers in black or white by the back colour instead of the bug colour; the boxes are
    // painted again at once.
    void setReadableText(bool on);

  signals:
    void labelPressed(int cell);  // a label showing a cell number was pressed
    // A genome box was pressed without Shift: the genome of `cell` in copy `copia` is to be
    // edited (a neighbour's box and the previous box: the previous copy; the current box: the
    // inspected cell's live genome; the selected-strategy box: cell 0).
    void genomeBoxPressed(int copia, int cell);
    // A neighbour's box or the previous genome box was pressed with Shift: the last transition of
    // `cell` is to be explained.
    void transitionBoxPressed(int cell);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void buildLayout();
    void setLabelWeight(int j, bool bold);
    void fillBox(int j, int cell);
    // Colours and fonts are set only when they change: every change of a box's font or palette
    // makes the window lay itself out again, and the boxes are refreshed after every generation.
    void paintBox(QLineEdit* box, QColor back, QColor bug) const;
    // Before the first generation there is no previous copy to show: window colours, no value.
    void showNeutral(QLineEdit* box) const;
    QString boxTooltip(int i) const;
    QString labelTooltip(int i) const;

    const World& world_;
    const GenerationReport& report_;
    bool readable_ = false;
};

}  // namespace morvane
