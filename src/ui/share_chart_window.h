#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QPushButton;

namespace morvane {

struct ShareChartData;
struct ShareChartGeometry;

// The drawing surface of the share chart. It draws the session's statistics as they stand when it
// paints; a click on a legend entry hides or shows that line, and the pointer over the plot reads
// out the generation under it.
class ShareChartPicture : public QWidget {
    Q_OBJECT
  public:
    explicit ShareChartPicture(QWidget* parent = nullptr);
    ~ShareChartPicture() override;

    // The chart as it would be painted now at `size`.
    ShareChartGeometry chartFor(QSizeF size) const;
    // The chart as last painted (or as it would be painted now, before the first paint).
    const ShareChartGeometry& chart() const;
    const std::vector<bool>& hidden() const { return hidden_; }
    // The read-out under the pointer, a line per entry; empty when the pointer is off the plot.
    QStringList readout() const;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

  private:
    ShareChartData currentData() const;

    std::unique_ptr<ShareChartGeometry> chart_;
    std::vector<bool> hidden_;
    std::optional<double> pointerX_;
};

// "Strategy shares": the share of each named strategy, and of the cells of none, generation by
// generation since the world was made, opened or refilled. It follows a run live, redrawn at most
// twenty times a second however fast the generations come.
class StrategySharesWindow : public QWidget {
    Q_OBJECT
  public:
    explicit StrategySharesWindow(QWidget* parent = nullptr);

    // Shows the one chart window (made on first use, deleted when closed).
    static StrategySharesWindow* open();

    ShareChartPicture* picture;
    QPushButton* savePictureButton;  // "Save as PNG..."
    QPushButton* saveCsvButton;      // "Save as CSV..."

    // Asks for a file and a size and saves the chart as it is drawn now.
    bool savePicture();
    // Asks for a file and saves the statistics as the command line's CSV.
    bool saveCsv();
    // Redraws now, and names the generation shown.
    void refresh();

  private:
    void generationPlayed();

    QTimer refreshTimer_;
};

}  // namespace morvane
