#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "games/test_panel.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace morvane {

class MouseButton;

// The "Pay offs" window: the game catalogue and the eight pay-offs, the thresholds, the mutation
// frequency, the chart period and a test panel that plays one move between two hypothetical
// players. Pay-off edits go into the live matrix at once; the other settings wait for "OK".
class frmPagos : public QWidget {
    Q_OBJECT
  public:
    // Box indices: 0..7 pay-offs (T 1, T 2, R 1, R 2, P 1, P 2, S 1, S 2), 8..10 thresholds,
    // 12 mutation frequency, 13 chart period. There is no index 11.
    static constexpr int kNumParametros = 14;

    explicit frmPagos(QWidget* parent = nullptr);

    // Shows the one pay-offs window (made on first use, deleted when closed), modeless and without
    // an owner, and fills it from the current settings.
    static frmPagos* open();

    // Fills the window from the current settings and takes the copy "Restore" returns to.
    void EmpezarPorAqui();

    std::array<QScrollBar*, kNumParametros> hsbParametro{};
    std::array<QLineEdit*, kNumParametros> txtParametro{};
    // The chart period's caption is lblTest, with its box set into the caption's gap.
    std::array<QLabel*, kNumParametros> lblParametro{};
    QLabel* lblTest;

    QComboBox* cmbJuegos;
    QPushButton* cmdAzar;
    MouseButton* cmdInvertir;
    QPushButton* cmdRestaurar;
    QPushButton* cmdAceptar;

    // Test panel; per-player arrays are indexed by player 1 and 2.
    QGroupBox* fraTest;
    std::array<QLineEdit*, 3> txtProb{}, txtIrracional{}, txtMov{}, txtExito{}, txtIa{}, txtPago{};
    std::array<QScrollBar*, 3> hsbIrracional{};
    QLabel *lblJugador1_C, *lblJugador1_D, *lblJugador2_C, *lblJugador2_D;
    QRadioButton *optYo1, *optSimult, *optEl1;
    QLineEdit* txtPuntoCorte;

    // The value a box stands for: its text when that is a valid number, else the last valid one.
    float parametro(int i) const { return values_[i]; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildPayoffs();
    QWidget* buildSettings();
    QWidget* buildTestPanel();
    void addParametro(int i, double max, double scale);

    void barChanged(int i, int value);
    void boxEdited(int i);
    void boxLeft(int i);
    void barFollowsBox(int i);
    void dispositionBarChanged(int k, int value);
    void dispositionEdited(int k);
    void dispositionLeft(int k);

    void refreshPayoffs();
    void showMatchingGame();
    void RecomputeTestPanel();
    void cmdAceptar_Click();

    std::optional<float> validBox(int i) const;
    std::optional<float> validDisposition(int k) const;
    // Shows why a pay-off box's number is refused (beyond the matrix's bound) in its tooltip, and
    // clears the tooltip otherwise.
    void explainRefusal(int i);
    // Puts the focus back into a box whose text cannot be taken.
    void keepFocus(QLineEdit* box);
    int indexOfBox(const QObject* box) const;

    std::array<float, kNumParametros> values_{};
    std::array<float, 3> dispositions_{};
    bool llenando_ = false;  // set while the window fills itself: the test panel waits
};

}  // namespace morvane
