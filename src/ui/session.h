#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/rng.h"
#include "core/simulation.h"
#include "io/atomic_writer.h"
#include "state/world.h"

class QFileDialog;
class QWidget;

namespace morvane {

// File dialogs and message boxes go through this seam, so tests answer them without a window.
class Dialogs {
  public:
    enum class Unsaved { Save, Discard, Cancel };

    virtual ~Dialogs() = default;
    // Empty when the user cancelled. An empty title leaves the dialog's own; a save dialog gives a
    // typed name without a suffix the default suffix.
    virtual QString openFileName(QWidget* parent, const QString& filter, const QString& title);
    virtual QString saveFileName(QWidget* parent, const QString& filter, const QString& title,
                                 const QString& defaultSuffix);
    // A PNG file and the picture's size in pixels, `proposed` to start with; an empty path when
    // the user cancelled.
    struct ImageChoice {
        QString path;
        QSize size;
    };
    virtual ImageChoice saveImage(QWidget* parent, const QString& title, QSize proposed);
    // A message box titled "Info".
    virtual void info(QWidget* parent, const QString& text);
    // Whether to save the changed world `name` before it is set aside.
    virtual Unsaved askSaveChanges(QWidget* parent, const QString& name);

    // The scenario dialogs the two file methods show: not the platform's own, so the filter and
    // the ".dpt" a typed name receives are the same everywhere.
    static std::unique_ptr<QFileDialog> scenarioDialog(QWidget* parent, const QString& filter,
                                                       bool save, const QString& title = {},
                                                       const QString& defaultSuffix = {});
};

// The application's one world and everything the windows share. Windows read and change the
// world through the engine and tell each other what happened through these signals.
class Session : public QObject {
    Q_OBJECT
  public:
    static Session& instance();

    // The filter of every scenario dialog.
    static QString scenarioFilter();

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
    QString openFileName(QWidget* parent, const QString& filter, const QString& title = {});
    QString saveFileName(QWidget* parent, const QString& filter, const QString& title = {},
                         const QString& defaultSuffix = QStringLiteral("dpt"));
    Dialogs::ImageChoice saveImage(QWidget* parent, const QString& title, QSize proposed);
    void info(QWidget* parent, const QString& text);

    // The files the windows export go through here: the one writer, or a test's stand-in that
    // fails the way a full disk would (an empty writer puts the one writer back).
    using FileWriter = std::function<WriteOutcome(const std::string&, std::string_view)>;
    WriteOutcome writeFile(const std::string& path, std::string_view bytes);
    void setFileWriter(FileWriter writer) { fileWriter_ = std::move(writer); }

    // Back to the state of a fresh program start (tests).
    void reset();

    // ---- the world's file
    // The scenario file the world was opened from or last saved to (empty for a new world).
    QString scenarioPath() const { return scenarioPath_; }
    // Whether the world changed since it was made, opened or saved: a generation, an edit, a fill.
    bool worldModified() const { return modified_; }
    void setWorldModified(bool on);
    // A world that "Start" made (empty path) or "Open" read: nothing of it is changed yet.
    void worldTaken(const QString& path);
    // Saves the world to its file, or asks for one first when it has none or `askName` is set.
    // False when the user cancelled or the file could not be written (said in an "Info" box).
    bool saveWorld(QWidget* parent, bool askName);
    // Before a changed world is set aside: save, discard or cancel. True when it may go.
    bool maySetWorldAside(QWidget* parent);

    // Whether cells were painted or refilled since the last generation: the copies and cut points
    // that explanations of that generation read were rewritten.
    bool worldChangedSinceGeneration() const { return changedSinceGeneration_; }

    // ---- remembered between runs of the program
    QStringList recentFiles() const;
    bool readableText() const;
    void setReadableText(bool on);

  signals:
    void aboutToShowModal();
    void worldReplaced();        // "Start" or "Open" made a new world
    void generationDone();       // a generation was played
    void genomesChanged();       // cells were painted or refilled outside a generation
    void strategiesReplaced();   // a strategy file replaced the list, the limits and the shares
    void limitsChanged();        // the limits window stored the limits
    void thresholdsChanged();    // the pay-offs window was accepted
    void neighbourhoodChosen();  // a new type was chosen (takes effect at the next start or step)
    void fileStateChanged();     // the world's file or its changed mark
    void recentFilesChanged();
    void readableTextChanged(bool on);

  private:
    Session();
    void addRecentFile(const QString& path);

    std::unique_ptr<Simulation> simulation_;
    std::unique_ptr<Dialogs> dialogs_;
    FileWriter fileWriter_;
    QString scenarioPath_;
    bool modified_ = false;
    bool changedSinceGeneration_ = false;
};

}  // namespace morvane
