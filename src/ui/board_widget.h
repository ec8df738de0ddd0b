#pragma once

#include <QList>
#include <QPoint>
#include <QStaticText>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "state/world.h"

namespace morvane {

// The board: one widget painted straight from the genome store, laid out as a grid of
// NumFilas + 4 rows and NumColumnas + 4 columns. The two border rows and columns on each side have
// no size; their numbers repeat the opposite edges of the torus, so a grid position always names a
// real cell. A grid position is (row, column) with the world block at rows 2..NumFilas + 1 and
// columns 2..NumColumnas + 1.
//
// The board only knows where things are; what a press, a drag or a double click does to the world
// is the window's business, told through the signals.
class BoardWidget : public QWidget {
    Q_OBJECT
  public:
    explicit BoardWidget(const World& world, QWidget* parent = nullptr);

    // A world of a new size (or a new world): the grid is laid out again and the current cell
    // becomes the position of `cell`.
    void rebuild(int cell);

    // Repaint from the live genomes. With soloSeleccion only the cells of the selection are
    // brought up to date; the others keep the colours they showed. Switches updates back on.
    void DibujarMapa(bool soloSeleccion);
    // Cells the window has just changed (a put-down): shown at once, in either mode.
    void showCells(const QList<int>& cells);

    int gridRows() const { return world_.NumFilas + 4; }
    int gridColumns() const { return world_.NumColumnas + 4; }
    // The cell number a grid position shows; border positions wrap round the torus.
    int cellNumberAt(int gridRow, int gridColumn) const;
    // The grid position of a cell inside the world block.
    QPoint gridPositionOf(int cell) const;  // x = column, y = row

    QPoint currentCell() const { return current_; }
    QPoint selectionEnd() const { return selEnd_; }
    // Moves the current cell (clamped to the world block) and collapses the selection onto it.
    void setCurrentCell(QPoint gridPos);
    // Moves the far corner of the selection, clamped to the world block.
    void setSelectionEnd(QPoint gridPos);
    bool selectionSpansMoreThanOneCell() const { return current_ != selEnd_; }
    // The cells of the selection walked from the current cell towards the selection end, row by
    // row, in whichever direction each runs.
    QList<int> selectionCells() const;
    // Every world cell, in the same walk from the top-left to the bottom-right corner.
    QList<int> worldCells() const;

    // Where a grid position is drawn, in widget coordinates (empty for border positions).
    QRect cellRect(QPoint gridPos) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The smallest board that still shows every cell number of a rows x columns world.
    static QSize minimumSizeFor(int rows, int columns);

    // Cell numbers in black or white by the back colour instead of the bug colour.
    void setReadableText(bool on);

  signals:
    void inspectRequested(int cell);  // left button pressed on a cell, or keyboard move
    void pickUpRequested(int cell);   // right or middle button pressed on a cell
    void putDownRequested(int cell);  // left double click
    void putDownRectRequested(const QList<int>& cells);  // a drag ended on another cell

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    struct Metrics {
        int cw = 1, ch = 1, x0 = 0, y0 = 0, fontPx = 8;
    };
    void computeMetrics();
    int digits() const;
    QSize minimumCell() const;
    static QSize minimumCellFor(int players);
    // The world-block position under a point, clamped into the block when `clamp` is set;
    // (-1, -1) for a point outside the block otherwise.
    QPoint positionAt(QPoint p, bool clamp) const;
    QPoint clampToWorld(QPoint gridPos) const;
    const std::array<std::uint8_t, 6>& coloursShown(int cell) const;
    void paintOverlays(class QPainter& p) const;
    void prepareNumbers(const QFont& font);

    const World& world_;
    Metrics m_;
    QPoint current_{2, 2}, selEnd_{2, 2};
    bool dragging_ = false;
    bool pressed_ = false;
    bool solo_ = false;
    bool readable_ = false;
    // What the board shows while "Selection only" holds the rest of it still.
    std::vector<std::array<std::uint8_t, 6>> shown_;
    std::vector<QStaticText> numbers_;  // [cell]
    int numbersFontPx_ = 0;
};

}  // namespace morvane
