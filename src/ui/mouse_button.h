#pragma once

#include <QPushButton>

namespace morvane {

// A command button that acts when a mouse button goes down on it, not on the click, and tells
// which button it was: 1 left, 2 right, 4 middle (other buttons by their Qt value). A double
// click counts as a second press. The right button never opens a context menu here, so it is free
// to choose an action. The space bar presses it as the left button does, for the keyboard.
class MouseButton : public QPushButton {
    Q_OBJECT
  public:
    explicit MouseButton(const QString& text, QWidget* parent = nullptr);

  signals:
    // Hides QAbstractButton::pressed(): connect to &MouseButton::pressed for the button number.
    void pressed(int button);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace morvane
