#include "ui/board_widget.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>
#include <algorithm>

#include "ui/readable_text.h"

namespace morvane {

namespace {

// The cell the board was designed around: 330 x 175 twips.
constexpr int kDesignWidth = 22, kDesignHeight = 12;
// Larger cells help nobody: a small world is drawn big enough to read and centred.
constexpr int kMaxWidth = 96, kMaxHeight = 48;
constexpr int kMinFontPx = 7, kMaxFontPx = 22;

QFont numberFont(int px) {
    QFont f;
    f.setPixelSize(px);
    return f;
}

int step(int from, int to) {
    return to >= from ? 1 : -1;
}

}  // namespace

BoardWidget::BoardWidget(const World& world, QWidget* parent) : QWidget(parent), world_(world) {
    setObjectName(QStringLiteral("fxgTablero"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip(
        tr("Left button: inspect a cell; drag: put the selected strategy on a rectangle; "
           "double click: put it on one cell; right or middle button: pick a strategy up.\n"
           "Keys: arrows move and inspect, Shift+arrows stretch the selection, "
           "Ctrl+Shift+C picks up, Ctrl+Shift+V puts down."));
    rebuild(1);
}

void BoardWidget::rebuild(int cell) {
    shown_.assign(static_cast<std::size_t>(std::max<int>(world_.NumJugadores, 0)) + 1, {});
    solo_ = false;
    const QPoint pos = world_.NumJugadores > 0 ? gridPositionOf(cell) : QPoint(2, 2);
    current_ = selEnd_ = pos;
    computeMetrics();
    updateGeometry();
    update();
}

int BoardWidget::cellNumberAt(int gridRow, int gridColumn) const {
    const int rows = world_.NumFilas, cols = world_.NumColumnas;
    if (rows < 1 || cols < 1) return 0;
    const int r = ((gridRow - 2) % rows + rows) % rows;
    const int c = ((gridColumn - 2) % cols + cols) % cols;
    return world_.cellAt(r, c);
}

QPoint BoardWidget::gridPositionOf(int cell) const {
    const int cols = std::max<int>(world_.NumColumnas, 1);
    const int i = std::clamp(cell, 1, std::max<int>(world_.NumJugadores, 1)) - 1;
    return {i % cols + 2, i / cols + 2};
}

QPoint BoardWidget::clampToWorld(QPoint g) const {
    return {std::clamp(g.x(), 2, std::max(2, world_.NumColumnas + 1)),
            std::clamp(g.y(), 2, std::max(2, world_.NumFilas + 1))};
}

void BoardWidget::setCurrentCell(QPoint gridPos) {
    current_ = selEnd_ = clampToWorld(gridPos);
    update();
}

void BoardWidget::setSelectionEnd(QPoint gridPos) {
    const QPoint end = clampToWorld(gridPos);
    if (end == selEnd_) return;
    selEnd_ = end;
    update();
}

QList<int> BoardWidget::selectionCells() const {
    QList<int> cells;
    const int sr = step(current_.y(), selEnd_.y()), sc = step(current_.x(), selEnd_.x());
    for (int r = current_.y();; r += sr) {
        for (int c = current_.x();; c += sc) {
            cells.append(cellNumberAt(r, c));
            if (c == selEnd_.x()) break;
        }
        if (r == selEnd_.y()) break;
    }
    return cells;
}

QList<int> BoardWidget::worldCells() const {
    QList<int> cells;
    for (int cell = 1; cell <= world_.NumJugadores; ++cell) cells.append(cell);
    return cells;
}

void BoardWidget::DibujarMapa(bool soloSeleccion) {
    if (soloSeleccion) {
        // A world of another size that nobody announced starts its still picture afresh.
        if (shown_.size() != static_cast<std::size_t>(world_.NumJugadores) + 1) {
            shown_.assign(static_cast<std::size_t>(world_.NumJugadores) + 1, {});
            solo_ = false;
        }
        if (!solo_) {
            // The board showed the live genomes until now; that picture is what stays still.
            for (int cell = 1; cell <= world_.NumJugadores; ++cell)
                shown_[cell] = world_.genoma(kActual, cell).Colores;
        }
        for (int cell : selectionCells()) shown_[cell] = world_.genoma(kActual, cell).Colores;
    }
    solo_ = soloSeleccion;
    setUpdatesEnabled(true);
    update();
}

void BoardWidget::showCells(const QList<int>& cells) {
    if (solo_ && shown_.size() == static_cast<std::size_t>(world_.NumJugadores) + 1)
        for (int cell : cells) shown_[cell] = world_.genoma(kActual, cell).Colores;
    update();
}

const std::array<std::uint8_t, 6>& BoardWidget::coloursShown(int cell) const {
    if (solo_ && static_cast<std::size_t>(cell) < shown_.size()) return shown_[cell];
    return world_.genoma(kActual, cell).Colores;
}

// ---------------------------------------------------------------- geometry

namespace {
int digitsOf(int players) {
    int n = std::max(players, 1), d = 0;
    for (; n > 0; n /= 10) ++d;
    return d;
}
}  // namespace

int BoardWidget::digits() const {
    return digitsOf(world_.NumJugadores);
}

QSize BoardWidget::minimumCellFor(int players) {
    const QFontMetrics fm(numberFont(kMinFontPx + 1));
    const int w = fm.horizontalAdvance(QString(digitsOf(players), QLatin1Char('8'))) + 4;
    return {std::max(w, 10), std::max(fm.height(), 11)};
}

QSize BoardWidget::minimumCell() const {
    return minimumCellFor(world_.NumJugadores);
}

QSize BoardWidget::minimumSizeFor(int rows, int columns) {
    const QSize cell = minimumCellFor(rows * columns);
    return {std::max(columns, 1) * cell.width(), std::max(rows, 1) * cell.height()};
}

void BoardWidget::setReadableText(bool on) {
    if (readable_ == on) return;
    readable_ = on;
    update();
}

QSize BoardWidget::minimumSizeHint() const {
    const QSize cell = minimumCell();
    return {std::max<int>(world_.NumColumnas, 1) * cell.width(),
            std::max<int>(world_.NumFilas, 1) * cell.height()};
}

QSize BoardWidget::sizeHint() const {
    const QSize cell = minimumCell();
    return {std::max<int>(world_.NumColumnas, 1) * std::max(kDesignWidth, cell.width()),
            std::max<int>(world_.NumFilas, 1) * std::max(kDesignHeight, cell.height())};
}

void BoardWidget::computeMetrics() {
    const int cols = std::max<int>(world_.NumColumnas, 1), rows = std::max<int>(world_.NumFilas, 1);
    const QSize minCell = minimumCell();
    int cw = std::clamp(width() / cols, minCell.width(), std::max(kMaxWidth, minCell.width()));
    int ch = std::clamp(height() / rows, minCell.height(), std::max(kMaxHeight, minCell.height()));
    // Keep cells roughly the shape of the design: never taller than wide, at most four times wider.
    ch = std::max(std::min(ch, cw), minCell.height());
    cw = std::max(std::min(cw, 4 * ch), minCell.width());
    m_.cw = cw;
    m_.ch = ch;
    m_.x0 = std::max(0, (width() - cols * cw) / 2);
    m_.y0 = std::max(0, (height() - rows * ch) / 2);
    int px = std::clamp(ch * 3 / 4, kMinFontPx, kMaxFontPx);
    while (px > kMinFontPx &&
           QFontMetrics(numberFont(px)).horizontalAdvance(QString(digits(), QLatin1Char('8'))) >
               cw - 2)
        --px;
    m_.fontPx = px;
}

void BoardWidget::resizeEvent(QResizeEvent*) {
    computeMetrics();
}

QRect BoardWidget::cellRect(QPoint g) const {
    const int r = g.y() - 2, c = g.x() - 2;
    if (r < 0 || c < 0 || r >= world_.NumFilas || c >= world_.NumColumnas) return {};
    return {m_.x0 + c * m_.cw, m_.y0 + r * m_.ch, m_.cw, m_.ch};
}

QPoint BoardWidget::positionAt(QPoint p, bool clamp) const {
    const int c = (p.x() - m_.x0) >= 0 ? (p.x() - m_.x0) / m_.cw : -1;
    const int r = (p.y() - m_.y0) >= 0 ? (p.y() - m_.y0) / m_.ch : -1;
    const QPoint g(c + 2, r + 2);
    if (clamp) return clampToWorld(g);
    if (r < 0 || c < 0 || r >= world_.NumFilas || c >= world_.NumColumnas) return {-1, -1};
    return g;
}

// ---------------------------------------------------------------- painting

// The numbers are laid out once per font, not once per cell and paint.
void BoardWidget::prepareNumbers(const QFont& font) {
    const std::size_t count = static_cast<std::size_t>(world_.NumJugadores) + 1;
    if (numbersFontPx_ == m_.fontPx && numbers_.size() == count) return;
    numbers_.assign(count, QStaticText());
    for (std::size_t cell = 1; cell < count; ++cell) {
        numbers_[cell].setText(QString::number(cell));
        numbers_[cell].setTextFormat(Qt::PlainText);
        numbers_[cell].prepare(QTransform(), font);
    }
    numbersFontPx_ = m_.fontPx;
}

void BoardWidget::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.fillRect(e->rect(), palette().color(QPalette::Window));
    if (world_.NumJugadores < 1 || world_.genomes[kActual].size() <= 1) return;
    const QRect area = e->rect();
    const int c0 = std::max(0, (area.left() - m_.x0) / m_.cw);
    const int c1 = std::min<int>(world_.NumColumnas - 1, (area.right() - m_.x0) / m_.cw);
    const int r0 = std::max(0, (area.top() - m_.y0) / m_.ch);
    const int r1 = std::min<int>(world_.NumFilas - 1, (area.bottom() - m_.y0) / m_.ch);
    p.setFont(numberFont(m_.fontPx));
    prepareNumbers(p.font());
    for (int r = r0; r <= r1; ++r) {
        for (int c = c0; c <= c1; ++c) {
            const int cell = world_.cellAt(r, c);
            const auto& col = coloursShown(cell);
            const int x = m_.x0 + c * m_.cw, y = m_.y0 + r * m_.ch;
            const QColor back(col[0], col[1], col[2]);
            p.fillRect(x, y, m_.cw, m_.ch, back);
            p.setPen(textColourOn(back, QColor(col[3], col[4], col[5]), readable_));
            const QStaticText& number = numbers_[cell];
            const QSizeF size = number.size();
            p.drawStaticText(
                QPointF(x + (m_.cw - size.width()) / 2, y + (m_.ch - size.height()) / 2), number);
        }
    }
    paintOverlays(p);
}

void BoardWidget::paintOverlays(QPainter& p) const {
    const QRect a = cellRect(current_), b = cellRect(selEnd_);
    if (a.isEmpty() || b.isEmpty()) return;
    const QRect sel = a.united(b).adjusted(0, 0, -1, -1);
    p.setBrush(Qt::NoBrush);
    // Black inside white, so the frame shows on every strategy colour.
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(sel.adjusted(-1, -1, 1, 1));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(sel);
    if (selectionSpansMoreThanOneCell()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(a.adjusted(2, 2, -3, -3));
    }
}

// ---------------------------------------------------------------- mouse and keys

void BoardWidget::mousePressEvent(QMouseEvent* e) {
    const QPoint g = positionAt(e->position().toPoint(), false);
    if (g.x() < 0) return;
    pressed_ = true;
    setCurrentCell(g);
    const int cell = cellNumberAt(g.y(), g.x());
    if (e->button() == Qt::LeftButton) {
        dragging_ = true;
        emit inspectRequested(cell);
    } else if (e->button() == Qt::RightButton || e->button() == Qt::MiddleButton) {
        emit pickUpRequested(cell);
    }
}

void BoardWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return;
    setSelectionEnd(positionAt(e->position().toPoint(), true));
}

void BoardWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) dragging_ = false;
    // Only a press on a cell starts something a release can finish.
    const bool pressedHere = pressed_;
    pressed_ = false;
    if (pressedHere && selectionSpansMoreThanOneCell()) emit putDownRectRequested(selectionCells());
}

void BoardWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        mousePressEvent(e);
        return;
    }
    const QPoint g = positionAt(e->position().toPoint(), false);
    if (g.x() < 0) return;
    // The second press of a double click lands where the first one made the current cell.
    setCurrentCell(g);
    emit putDownRequested(cellNumberAt(g.y(), g.x()));
}

void BoardWidget::keyPressEvent(QKeyEvent* e) {
    QPoint d;
    switch (e->key()) {
        case Qt::Key_Left:
            d = {-1, 0};
            break;
        case Qt::Key_Right:
            d = {1, 0};
            break;
        case Qt::Key_Up:
            d = {0, -1};
            break;
        case Qt::Key_Down:
            d = {0, 1};
            break;
        default:
            QWidget::keyPressEvent(e);
            return;
    }
    if (e->modifiers() & Qt::ShiftModifier) {
        setSelectionEnd(selEnd_ + d);
    } else {
        setCurrentCell(current_ + d);
        emit inspectRequested(cellNumberAt(current_.y(), current_.x()));
    }
}

}  // namespace morvane
