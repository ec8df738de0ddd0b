#include "ui/session.h"

#include <QFileDialog>
#include <QMessageBox>

#include "core/startup.h"

namespace morvane {

QString Dialogs::openFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, {}, {}, filter);
}

QString Dialogs::saveFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, {}, {}, filter);
}

void Dialogs::info(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Info"), text);
}

Session& Session::instance() {
    static Session session;
    return session;
}

Session::Session()
    : world_(std::make_unique<World>()),
      rng_(std::make_unique<Rng>()),
      dialogs_(std::make_unique<Dialogs>()) {
    applyStartupDefaults(*world_);
}

void Session::seed(std::uint64_t s) {
    rng_ = std::make_unique<Rng>(s);
}

void Session::reset() {
    applyStartupDefaults(*world_);
    replayRng_ = Rng(0x5EED);
}

QString Session::openFileName(QWidget* parent, const QString& filter) {
    emit aboutToShowModal();
    return dialogs_->openFileName(parent, filter);
}

QString Session::saveFileName(QWidget* parent, const QString& filter) {
    emit aboutToShowModal();
    return dialogs_->saveFileName(parent, filter);
}

void Session::info(QWidget* parent, const QString& text) {
    emit aboutToShowModal();
    dialogs_->info(parent, text);
}

}  // namespace morvane
