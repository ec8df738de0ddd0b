#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "core/rng.h"
#include "core/simulation.h"
#include "core/world.h"

class QWidget;

namespace morvane {

// File dialogs and message boxes go through this seam, so tests answer them without a window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Empty when the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& filter);
    virtual QString saveFileName(QWidget* parent, const QString& filter);
    // A message box titled "Info".
    virtual void info(QWidget* parent, const QString& text);
};

// The application's one world and everything the windows share. Windows read and change the
// world through the engine and tell each other what happened through these signals.
class Session : public QObject {
    Q_OBJECT
public:
    static Session& instance();

    Simulation& simulation() { return *simulation_; }
    World& world() { return simulation_->state(); }
    GenerationReport& report() { return simulation_->report(); }
    Rng& rng() { return simulation_->rng(); }
    // Replays of past encounters draw from a generator of their own: looking never changes a run.
    Rng& replayRng() { return simulation_->replayRng(); }
    bool hasWorld() const { return simulation_->state().NumJugadores > 0; }

    // Seeds the run generator (command line --seed, tests).
    void seed(std::uint64_t s);

    Dialogs& dialogs() { return *dialogs_; }
    void setDialogs(std::unique_ptr<Dialogs> d) { dialogs_ = std::move(d); }

    // Every modal dialog or message box is announced first, so a running world pauses.
    QString openFileName(QWidget* parent, const QString& filter);
    QString saveFileName(QWidget* parent, const QString& filter);
    void info(QWidget* parent, const QString& text);

    // Back to the state of a fresh program start (tests).
    void reset();

signals:
    void aboutToShowModal();
    void worldReplaced();       // "Start" or "Open" made a new world
    void generationDone();      // a generation was played
    void genomesChanged();      // cells were painted or refilled outside a generation
    void thresholdsChanged();   // the pay-offs window was accepted
    void neighbourhoodChosen(); // a new type was chosen (takes effect at the next start or step)

private:
    Session();
    std::unique_ptr<Simulation> simulation_;
    std::unique_ptr<Dialogs> dialogs_;
};

}  // namespace morvane
