#include "ui/mouse_button.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace morvane {

MouseButton::MouseButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void MouseButton::mousePressEvent(QMouseEvent* event) {
    // Qt numbers the left, right and middle buttons 1, 2 and 4, as the commands expect.
    const int button = static_cast<int>(event->button());
    // The left button also shows the button going down, as any push button does.
    if (event->button() == Qt::LeftButton)
        QPushButton::mousePressEvent(event);
    else
        event->accept();
    emit pressed(button);
}

void MouseButton::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void MouseButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat()) emit pressed(static_cast<int>(Qt::LeftButton));
}

}  // namespace morvane
