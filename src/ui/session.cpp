#include "ui/session.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QSpinBox>

#include "io/scenario_file.h"
#include "state/vista.h"

namespace morvane {

namespace {

constexpr int kRecentFiles = 5;
const QString kRecentKey = QStringLiteral("recentFiles");
const QString kReadableKey = QStringLiteral("view/readableText");

QString chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::unique_ptr<QFileDialog> Dialogs::scenarioDialog(QWidget* parent, const QString& filter,
                                                     bool save, const QString& title,
                                                     const QString& defaultSuffix) {
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setNameFilter(filter);
    if (!title.isEmpty()) dialog->setWindowTitle(title);
    if (save) {
        // A typed "world_a" becomes "world_a.dpt" before the dialog asks about overwriting it,
        // so the file is found again by the Open dialog's filter.
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setDefaultSuffix(defaultSuffix.isEmpty() ? QStringLiteral("dpt") : defaultSuffix);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    return dialog;
}

QString Dialogs::openFileName(QWidget* parent, const QString& filter, const QString& title) {
    return chosenFile(*scenarioDialog(parent, filter, false, title));
}

QString Dialogs::saveFileName(QWidget* parent, const QString& filter, const QString& title,
                              const QString& defaultSuffix) {
    return chosenFile(*scenarioDialog(parent, filter, true, title, defaultSuffix));
}

// The save dialog with two more boxes, width and height, in a row of its own.
Dialogs::ImageChoice Dialogs::saveImage(QWidget* parent, const QString& title, QSize proposed) {
    QFileDialog dialog(parent, title, QString(), QStringLiteral("PNG pictures (*.png)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    auto* width = new QSpinBox(&dialog);
    auto* height = new QSpinBox(&dialog);
    for (QSpinBox* box : {width, height}) box->setRange(16, 8000);
    width->setValue(proposed.width());
    height->setValue(proposed.height());
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("Width:"), &dialog));
        row->addWidget(width);
        row->addWidget(new QLabel(QStringLiteral("Height:"), &dialog));
        row->addWidget(height);
        row->addStretch(1);
        grid->addLayout(row, grid->rowCount(), 0, 1, grid->columnCount());
    }
    const QString path = chosenFile(dialog);
    return {path, QSize(width->value(), height->value())};
}

void Dialogs::info(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Info"), text);
}

Dialogs::Unsaved Dialogs::askSaveChanges(QWidget* parent, const QString& name) {
    const auto answer = QMessageBox::question(
        parent, QStringLiteral("Info"),
        QStringLiteral("The world %1 has changed. Save it first?").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return Unsaved::Save;
    if (answer == QMessageBox::Discard) return Unsaved::Discard;
    return Unsaved::Cancel;
}

Session& Session::instance() {
    static Session session;
    return session;
}

QString Session::scenarioFilter() {
    return QStringLiteral("Scenario files (*.dpt)");
}

Session::Session()
    : simulation_(std::make_unique<Simulation>()), dialogs_(std::make_unique<Dialogs>()) {
    // Whatever changes the world outside a file marks it changed.
    for (auto signal :
         {&Session::generationDone, &Session::genomesChanged, &Session::thresholdsChanged,
          &Session::neighbourhoodChosen, &Session::limitsChanged, &Session::strategiesReplaced})
        connect(this, signal, this, [this] { setWorldModified(true); });
    connect(this, &Session::genomesChanged, this, [this] { changedSinceGeneration_ = true; });
    for (auto signal : {&Session::generationDone, &Session::worldReplaced})
        connect(this, signal, this, [this] { changedSinceGeneration_ = false; });
}

void Session::seed(std::uint64_t s) {
    simulation_->rng() = Rng(s);
}

WriteOutcome Session::writeFile(const std::string& path, std::string_view bytes) {
    return fileWriter_ ? fileWriter_(path, bytes) : writeFileAtomically(path, bytes);
}

void Session::reset() {
    simulation_->applyStartupDefaults();
    fileWriter_ = nullptr;
    changedSinceGeneration_ = false;
    worldTaken(QString());
}

QString Session::openFileName(QWidget* parent, const QString& filter, const QString& title) {
    emit aboutToShowModal();
    return dialogs_->openFileName(parent, filter, title);
}

QString Session::saveFileName(QWidget* parent, const QString& filter, const QString& title,
                              const QString& defaultSuffix) {
    emit aboutToShowModal();
    return dialogs_->saveFileName(parent, filter, title, defaultSuffix);
}

Dialogs::ImageChoice Session::saveImage(QWidget* parent, const QString& title, QSize proposed) {
    emit aboutToShowModal();
    return dialogs_->saveImage(parent, title, proposed);
}

void Session::info(QWidget* parent, const QString& text) {
    emit aboutToShowModal();
    dialogs_->info(parent, text);
}

// ---------------------------------------------------------------- the world's file

void Session::setWorldModified(bool on) {
    if (modified_ == on) return;
    modified_ = on;
    emit fileStateChanged();
}

void Session::worldTaken(const QString& path) {
    scenarioPath_ = path;
    modified_ = false;
    if (!path.isEmpty()) addRecentFile(path);
    emit fileStateChanged();
}

bool Session::saveWorld(QWidget* parent, bool askName) {
    World& w = world();
    w.Vista = encodeVista(w);
    QString path = scenarioPath_;
    if (askName || path.isEmpty()) path = saveFileName(parent, scenarioFilter());
    if (path.isEmpty()) return false;  // cancelled
    const SaveResult r = GuardarEscenario(w, QFile::encodeName(path).toStdString());
    if (!r.ok) {
        info(parent, QStringLiteral("%1\n%2").arg(QFileInfo(path).fileName(),
                                                  QString::fromStdString(r.reason)));
        return false;
    }
    worldTaken(path);
    return true;
}

bool Session::maySetWorldAside(QWidget* parent) {
    if (!modified_ || !hasWorld()) return true;
    emit aboutToShowModal();
    const QString name = scenarioPath_.isEmpty() ? QStringLiteral("(not saved yet)")
                                                 : QFileInfo(scenarioPath_).fileName();
    switch (dialogs_->askSaveChanges(parent, name)) {
        case Dialogs::Unsaved::Save:
            return saveWorld(parent, false);
        case Dialogs::Unsaved::Discard:
            setWorldModified(false);
            return true;
        case Dialogs::Unsaved::Cancel:
            break;
    }
    return false;
}

// ---------------------------------------------------------------- remembered settings

QStringList Session::recentFiles() const {
    return QSettings().value(kRecentKey).toStringList();
}

void Session::addRecentFile(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(full);
    files.prepend(full);
    while (files.size() > kRecentFiles) files.removeLast();
    QSettings().setValue(kRecentKey, files);
    emit recentFilesChanged();
}

bool Session::readableText() const {
    return QSettings().value(kReadableKey, false).toBool();
}

void Session::setReadableText(bool on) {
    if (readableText() == on) return;
    QSettings().setValue(kReadableKey, on);
    emit readableTextChanged(on);
}

}  // namespace morvane
