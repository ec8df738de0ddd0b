#pragma once

#include <QColor>
#include <QTransform>
#include <QWidget>

#include "strategy/genome.h"

namespace morvane {

// pcbFuncion: the behaviour curve of one genome part on the picture's own coordinates, x from -15
// (left) to 115 (right) and y from -20 (bottom) to 115 (top), through one transform. Lines keep
// their width in pixels at every size, and labels stand upright. A held mouse button reports the
// point under it, truncated toward zero, on every press and move.
class FunctionPicture : public QWidget {
    Q_OBJECT
  public:
    explicit FunctionPicture(QWidget* parent = nullptr);

    void showPart(const GenomePart& part, QColor userColour);
    const GenomePart& part() const { return part_; }

    // Picture coordinates to pixels, and back.
    QTransform toPixels() const;
    QPoint pixelAt(double x, double y) const;
    QSize sizeHint() const override { return {460, 400}; }

  signals:
    void pointPicked(int x, int y);
    void dragStarted();
    void dragFinished();
    // The mouse over the picture without a button, at picture input x; left the picture.
    void hovered(double x);
    void hoverLeft();
    // An arrow key: one unit left, right, down or up.
    void nudged(int dx, int dy);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void pick(QPointF pixel);

    GenomePart part_;
    QColor userColour_ = Qt::black;
    bool dragging_ = false;
};

}  // namespace morvane
