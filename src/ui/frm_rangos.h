#pragma once

#include <QWidget>
#include <array>

#include "strategy/strategy_types.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace morvane {

// "Strategies limits": the Min and Max that random genomes and mutations draw within, per
// parameter and part. Boxes are stored into the limits of the part shown on a part change and on
// "OK"; a box that is not a whole number within its row's bounds, or a Min above its Max, is
// refused with the row named and the previous limit kept. A limit outside its bounds, as a file may
// hold it, is shown as it is and kept until the user changes it.
class frmRangos : public QWidget {
    Q_OBJECT
  public:
    explicit frmRangos(QWidget* parent = nullptr);

    // Shows the one limits window (made on first use, deleted when closed), filled from part 0.
    static frmRangos* open();
    static frmRangos* current();

    std::array<QRadioButton*, 2> optFuncion{};
    std::array<QLabel*, kNumLimits> lblParametro{};
    std::array<QLineEdit*, kNumLimits> txtMin{}, txtMax{};
    std::array<QScrollBar*, 2> hsbMinMax{};
    QPushButton* cmdAceptar = nullptr;

    int shownPart() const { return part_; }
    // The boxes into the limits of the part shown; false, with an "Info" box, when one is refused.
    bool store();
    // The boxes from the limits of the part shown.
    void fill();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void enterRow(int k);
    void barMoved(int which);
    void boxEdited(int k, QLineEdit* box);
    void showBox(int k, QLineEdit* box, std::int32_t value);
    // What the box stands for: the stored value while its text is unchanged, else a whole number
    // within the bounds. False when the box is refused.
    bool boxValue(int k, int side, std::int32_t& value) const;
    Rangos& rangos();

    int part_ = 0;
    int row_ = -1;
    bool filling_ = false;
};

}  // namespace morvane
