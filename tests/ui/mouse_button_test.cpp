// The command button that acts on the mouse button pressed on it.
#include "ui/mouse_button.h"

#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "support/fake_dialogs.h"

using namespace morvane;

class MouseButtonTest : public QObject {
    Q_OBJECT
  private slots:
    void tellsWhichButtonWentDown() {
        QWidget parent;
        parent.setContextMenuPolicy(Qt::CustomContextMenu);
        auto* layout = new QVBoxLayout(&parent);
        auto* button = new MouseButton(QStringLiteral("Invert"));
        layout->addWidget(button);
        QVERIFY(testing_ui::showActive(&parent));
        QSignalSpy pressed(button, &MouseButton::pressed);
        QSignalSpy clicked(button, &QPushButton::clicked);
        struct Row {
            Qt::MouseButton button;
            int number;
        };
        for (const Row& row :
             {Row{Qt::LeftButton, 1}, Row{Qt::RightButton, 2}, Row{Qt::MiddleButton, 4}}) {
            pressed.clear();
            // The action comes with the press, before any release.
            QTest::mousePress(button, row.button);
            QCOMPARE(pressed.count(), 1);
            QCOMPARE(pressed.at(0).at(0).toInt(), row.number);
            QTest::mouseRelease(button, row.button);
            QCOMPARE(pressed.count(), 1);
        }
        QCOMPARE(clicked.count(), 1);  // only the left button clicks

        // A double click arrives as a press and release, then the double-click event: a second
        // press of the same button.
        pressed.clear();
        QTest::mousePress(button, Qt::RightButton);
        QTest::mouseRelease(button, Qt::RightButton);
        QTest::mouseDClick(button, Qt::RightButton);
        QCOMPARE(pressed.count(), 2);
        QCOMPARE(pressed.at(1).at(0).toInt(), 2);

        // The space bar presses as the left button.
        pressed.clear();
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.at(0).at(0).toInt(), 1);

        // The right button opens no context menu.
        QSignalSpy menu(&parent, &QWidget::customContextMenuRequested);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3),
                                button->mapToGlobal(QPoint(3, 3)));
        QCoreApplication::sendEvent(button, &event);
        QCOMPARE(menu.count(), 0);
    }
};

QTEST_MAIN(MouseButtonTest)
#include "mouse_button_test.moc"
