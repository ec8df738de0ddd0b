#include "ui/function_picture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "strategy/behaviour.h"

namespace morvane {

namespace {

constexpr double kLeft = -15, kRight = 115, kBottom = -20, kTop = 115;

QPen pixelPen(QColor colour, int width) {
    QPen pen(colour, width);
    pen.setCosmetic(true);  // the width is in pixels, whatever the transform
    return pen;
}

}  // namespace

FunctionPicture::FunctionPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pcbFuncion"));
    setMinimumSize(300, 260);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void FunctionPicture::showPart(const GenomePart& part, QColor userColour) {
    part_ = part;
    userColour_ = userColour;
    update();
}

QTransform FunctionPicture::toPixels() const {
    const double sx = width() / (kRight - kLeft);
    const double sy = height() / (kTop - kBottom);
    return QTransform(sx, 0, 0, -sy, -kLeft * sx, kTop * sy);
}

QPoint FunctionPicture::pixelAt(double x, double y) const {
    return toPixels().map(QPointF(x, y)).toPoint();
}

void FunctionPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QTransform t = toPixels();
    p.setTransform(t);
    p.setPen(pixelPen(Qt::black, 2));
    p.drawLine(QPointF(-4, 0), QPointF(100, 0));
    p.drawLine(QPointF(0, -5), QPointF(0, 100));
    p.setPen(pixelPen(QColor(200, 200, 200), 1));
    for (int v = 10; v <= 100; v += 10) {
        p.drawLine(QPointF(v, 0), QPointF(v, 100));
        p.drawLine(QPointF(0, v), QPointF(100, v));
    }
    // The curve as the engine evaluates it, degenerate points included.
    p.setPen(pixelPen(userColour_, 2));
    QPointF last(0, evalBehaviour100(part_, 0));
    for (int x = 1; x <= 100; ++x) {
        const QPointF next(x, evalBehaviour100(part_, static_cast<float>(x)));
        p.drawLine(last, next);
        last = next;
    }
    p.setPen(pixelPen(Qt::black, 6));
    p.drawPoint(QPointF(part_.X1, part_.Y1));
    p.drawPoint(QPointF(part_.X2, part_.Y2));

    // Labels upright: placed through the transform, drawn without it.
    p.resetTransform();
    p.setPen(Qt::black);
    QFont small = p.font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    p.setFont(small);
    auto label = [&](double x, double y, const QString& text) {
        p.drawText(t.map(QPointF(x, y)), text);
    };
    label(0, -9, QStringLiteral("0"));
    label(47.5, -9, QStringLiteral(".5"));
    label(99, -9, QStringLiteral("1"));
    // The y axis's numbers stand just left of it, clear of "y0 = " further left.
    label(-4, 6 - 4, QStringLiteral("0"));
    label(-5, 53 - 4, QStringLiteral(".5"));
    label(-4, 103 - 4, QStringLiteral("1"));
    label(part_.X1 - 5, -12.5 - 3, QStringLiteral("x1 = %1").arg(part_.X1));
    label(part_.X1 - 5, -7.5 + 1, QStringLiteral("y1 = %1").arg(part_.Y1));
    label(part_.X2 - 5, 107.5 - 2, QStringLiteral("x2 = %1").arg(part_.X2));
    label(part_.X2 - 5, 112.5, QStringLiteral("y2 = %1").arg(part_.Y2));
    label(-15, part_.Y0 + 2.5, QStringLiteral("y0 = %1").arg(part_.Y0));
    label(101.25, part_.Y3 + 2.5, QStringLiteral("y3 = %1").arg(part_.Y3));
}

void FunctionPicture::pick(QPointF pixel) {
    const QPointF at = toPixels().inverted().map(pixel);
    // Truncated toward zero, as the picture's coordinates are read.
    emit pointPicked(static_cast<int>(std::trunc(at.x())), static_cast<int>(std::trunc(at.y())));
}

void FunctionPicture::mousePressEvent(QMouseEvent* e) {
    if (!dragging_) {
        dragging_ = true;
        emit dragStarted();
    }
    pick(e->position());
}

void FunctionPicture::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() != Qt::NoButton)
        pick(e->position());
    else
        emit hovered(toPixels().inverted().map(e->position()).x());
}

void FunctionPicture::leaveEvent(QEvent* e) {
    emit hoverLeft();
    QWidget::leaveEvent(e);
}

void FunctionPicture::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Left:
            emit nudged(-1, 0);
            break;
        case Qt::Key_Right:
            emit nudged(1, 0);
            break;
        case Qt::Key_Down:
            emit nudged(0, -1);
            break;
        case Qt::Key_Up:
            emit nudged(0, 1);
            break;
        default:
            QWidget::keyPressEvent(e);
            return;
    }
    e->accept();
}

void FunctionPicture::mouseReleaseEvent(QMouseEvent* e) {
    if (e->buttons() != Qt::NoButton || !dragging_) return;
    dragging_ = false;
    emit dragFinished();
}

}  // namespace morvane
