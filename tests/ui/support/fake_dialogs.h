#pragma once

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QStyle>

#include "ui/session.h"

class QAbstractItemView;
class QLineEdit;
class QScrollBar;
class QWidget;

namespace morvane::testing_ui {

// Answers the file dialogs from a list and records every "Info" box instead of showing it.
class FakeDialogs : public Dialogs {
  public:
    QStringList openAnswers;  // taken in order; none left means the user cancelled
    QStringList saveAnswers;
    QStringList filters;              // the filter of every file dialog asked for
    QStringList titles;               // the title of every file dialog asked for
    QStringList suffixes;             // the default suffix of every save dialog
    QStringList infos;                // the text of every "Info" box
    QList<Unsaved> unsavedAnswers;    // taken in order; none left means "Cancel"
    QStringList unsavedAsked;         // the world named by every save-or-discard question
    QList<ImageChoice> imageAnswers;  // taken in order; none left means the user cancelled
    QList<QSize> imageProposed;       // the size every picture dialog proposed

    QString openFileName(QWidget* parent, const QString& filter, const QString& title) override;
    QString saveFileName(QWidget* parent, const QString& filter, const QString& title,
                         const QString& defaultSuffix) override;
    ImageChoice saveImage(QWidget* parent, const QString& title, QSize proposed) override;
    void info(QWidget* parent, const QString& text) override;
    Unsaved askSaveChanges(QWidget* parent, const QString& name) override;
};

// Puts a fresh fake into the session (which owns it) and returns it. Settings go to Qt's test
// location, emptied, so a test never reads or writes the user's.
FakeDialogs& installFakeDialogs();

// Saves the widget as MORVANE_SCREENSHOTS/<name>.png and says whether it was written.
bool saveScreenshot(QWidget* widget, const QString& name);

// Clicks a part of a scroll bar with the mouse: SC_ScrollBarSubLine / AddLine are its arrows,
// SC_ScrollBarSubPage / AddPage the track before and after the thumb.
void clickBar(QScrollBar* bar, QStyle::SubControl part, int times = 1);

// Clicks the middle of a view's cell, scrolled into sight, with the button and keys given.
void clickItem(QAbstractItemView* view, int row, int column,
               Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {});

// Shows a window and waits until the platform has exposed it and made it active.
bool showActive(QWidget* window);

// Clicks into a box and replaces its text by typing, as a user would; the box keeps the focus.
void typeInto(QLineEdit* box, const QString& text);

// Types into a box, then presses Return and lets the window answer.
void enterInto(QLineEdit* box, const QString& text);

// The visible top-level window of type W, if one is open.
template <class W>
W* visibleWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<W*>(w); found != nullptr && found->isVisible()) return found;
    return nullptr;
}

// Deletes every top-level window of the types given. Deleting one may delete others with it, so
// they are held by guarded pointers.
template <class... W>
void deleteWindowsOf() {
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if ((qobject_cast<W*>(w) || ...)) windows << w;
    for (const auto& w : windows) delete w.data();
}

}  // namespace morvane::testing_ui
