#pragma once

#include <QString>
#include <QStringList>
#include <QStyle>

#include "ui/session.h"

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

// Shows a window and waits until the platform has exposed it and made it active.
bool showActive(QWidget* window);

}  // namespace morvane::testing_ui
