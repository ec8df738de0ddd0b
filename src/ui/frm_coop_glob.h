#pragma once

#include <QWidget>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;

namespace morvane {

struct CoopChartGeometry;

// The drawing surface of the cooperation chart: it paints the last geometry it was given.
class CoopChartPicture : public QWidget {
    Q_OBJECT
  public:
    explicit CoopChartPicture(QWidget* parent = nullptr);
    ~CoopChartPicture() override;
    void setChart(const CoopChartGeometry& chart);
    const CoopChartGeometry& chart() const;

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    std::unique_ptr<CoopChartGeometry> chart_;
};

// "Cooperation History": the world's average cooperation per role, sampled every PasoCoop
// generations. The run does not redraw it; opening it or clicking a box shows the newer samples.
class frmCoopGlob : public QWidget {
    Q_OBJECT
  public:
    explicit frmCoopGlob(QWidget* parent = nullptr);

    // Shows the one chart window (made on first use, deleted when closed) and redraws it.
    static frmCoopGlob* open();

    // Clears and redraws the chart from the world's history as it stands.
    void DrawHistory();

    CoopChartPicture* pcbFuncion;
    QCheckBox* chkViewHistory;
    QCheckBox* chkViewAverage;
    QLabel* lblAverageGreen;
    QLabel* lblAverageRed;
    QPushButton* savePictureButton;  // "Save as PNG..."

    // Asks for a file and a size and saves the chart as it is drawn now.
    bool savePicture();
};

}  // namespace morvane
