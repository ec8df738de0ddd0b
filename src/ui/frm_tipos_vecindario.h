#pragma once

#include <QWidget>
#include <array>

#include "state/world.h"
#include "world/neighbourhood_types.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace morvane {

// The "Neighbourhoods" window: the fifteen neighbourhood types, the positions the chosen type
// plays in the 5 x 5 picture round a cell, and the share of the population a bug meets. A new
// type takes effect at the next start or step of the run.
class frmTiposVecindario : public QWidget {
    Q_OBJECT
  public:
    explicit frmTiposVecindario(QWidget* parent = nullptr);

    // Shows the one neighbourhoods window (made on first use, deleted when closed), modeless, and
    // refills it from the current settings.
    static frmTiposVecindario* open();

    // Selects the type of the stored code (type 0 for a code no type has) and shows it.
    void refill();

    std::array<QRadioButton*, kNumNeighbourhoodTypes> optTipoVecindario{};
    // Boxes of positions 0..23 laid out as round a cell; box 24 is the cell itself.
    std::array<QLineEdit*, kNumPositions + 1> txtJugador{};
    QLabel* lblPorcentaje;
    QScrollBar* hsbReservar;
    QLineEdit* txtReservar;
    // The two lines the window prints on its surface: the code and the mask of the pattern.
    QLabel* lineCodVecin;
    QLabel* lineVecinosFijos;

  private:
    QWidget* buildTypes();
    QWidget* buildPicture();
    QWidget* buildReservation();
    void choose(int i);
    void showDisplay();
    void reservarChanged(int value);
};

}  // namespace morvane
