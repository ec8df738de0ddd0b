#pragma once

#include <QWidget>
#include <array>

#include "strategy/distribution.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace morvane {

// "Distribute strategies": the share of the world each listed strategy takes in a fill from the
// distribution. Row i is slot i + 1; the last row always seeds random genomes. Every change is
// written into the distribution words at once.
class frmDistribuir : public QWidget {
    Q_OBJECT
  public:
    explicit frmDistribuir(QWidget* parent = nullptr);

    // Shows the one distribution window (made on first use, deleted when closed), filled.
    static frmDistribuir* open();
    static frmDistribuir* current();

    std::array<QCheckBox*, kDistributionRows> chkActivo{};
    std::array<QLineEdit*, kDistributionRows> txtEstrategia{};
    std::array<QScrollBar*, kDistributionRows> hsbPorcion{};
    std::array<QLineEdit*, kDistributionRows> txtPorcion{};
    QLineEdit* txtTotal = nullptr;
    QPushButton* cmdIgualar = nullptr;
    QPushButton* normalizeButton = nullptr;  // "Normalize to 100"
    QPushButton* cmdRepartir = nullptr;
    QPushButton* cmdAceptar = nullptr;

    // The rows from the list's words.
    void fill();

  private:
    void recompute();
    void boxLeft(int i);

    bool filling_ = false;
};

}  // namespace morvane
