#include "support/fake_dialogs.h"

#include <QAbstractItemView>
#include <QDir>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWidget>
#include <memory>

namespace morvane::testing_ui {

QString FakeDialogs::openFileName(QWidget*, const QString& filter, const QString& title) {
    filters << filter;
    titles << title;
    return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
}

QString FakeDialogs::saveFileName(QWidget*, const QString& filter, const QString& title,
                                  const QString& defaultSuffix) {
    filters << filter;
    titles << title;
    suffixes << defaultSuffix;
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

Dialogs::ImageChoice FakeDialogs::saveImage(QWidget*, const QString& title, QSize proposed) {
    titles << title;
    imageProposed << proposed;
    return imageAnswers.isEmpty() ? ImageChoice{} : imageAnswers.takeFirst();
}

void FakeDialogs::info(QWidget*, const QString& text) {
    infos << text;
}

Dialogs::Unsaved FakeDialogs::askSaveChanges(QWidget*, const QString& name) {
    unsavedAsked << name;
    return unsavedAnswers.isEmpty() ? Unsaved::Cancel : unsavedAnswers.takeFirst();
}

FakeDialogs& installFakeDialogs() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
    auto fake = std::make_unique<FakeDialogs>();
    FakeDialogs& ref = *fake;
    Session::instance().setDialogs(std::move(fake));
    return ref;
}

bool saveScreenshot(QWidget* widget, const QString& name) {
    const QString dir = QStringLiteral(MORVANE_SCREENSHOTS);
    if (!QDir().mkpath(dir)) return false;
    return widget->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void clickBar(QScrollBar* bar, QStyle::SubControl part, int times) {
    for (int i = 0; i < times; ++i) {
        QStyleOptionSlider opt;
        opt.initFrom(bar);
        opt.orientation = bar->orientation();
        opt.minimum = bar->minimum();
        opt.maximum = bar->maximum();
        opt.sliderPosition = bar->sliderPosition();
        opt.sliderValue = bar->value();
        opt.singleStep = bar->singleStep();
        opt.pageStep = bar->pageStep();
        opt.upsideDown = bar->invertedAppearance();
        const QRect r = bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
        QTest::mouseClick(bar, Qt::LeftButton, {}, r.center());
    }
}

void clickItem(QAbstractItemView* view, int row, int column, Qt::MouseButton button,
               Qt::KeyboardModifiers keys) {
    const QModelIndex index = view->model()->index(row, column);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), button, keys, view->visualRect(index).center());
}

bool showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowExposed(window) && QTest::qWaitForWindowActive(window);
}

void typeInto(QLineEdit* box, const QString& text) {
    QTest::mouseClick(box, Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

void enterInto(QLineEdit* box, const QString& text) {
    typeInto(box, text);
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
}

}  // namespace morvane::testing_ui
