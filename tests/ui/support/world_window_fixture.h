#pragma once

#include <QPointer>
#include <QTest>
#include <memory>
#include <string_view>

#include "base/rng.h"
#include "core/startup.h"
#include "state/world.h"
#include "support/fake_dialogs.h"
#include "support/worlds.h"
#include "ui/board_widget.h"
#include "ui/frm_partidas.h"
#include "ui/frm_principal.h"
#include "ui/session.h"

namespace morvane::testing {

// A fresh session with a seeded `columns` x `rows` world made as "Start" makes it, the fake
// dialogs in place, and the world window open on it.
using testing_ui::FakeDialogs;
inline std::unique_ptr<frmPartidas> openWorldWindow(int columns, int rows,
                                                    testing_ui::FakeDialogs** dialogs,
                                                    std::uint64_t seed = 12345) {
    Session& s = Session::instance();
    s.reset();
    s.seed(seed);
    testing_ui::FakeDialogs& fake = testing_ui::installFakeDialogs();
    if (dialogs != nullptr) *dialogs = &fake;
    World& w = s.world();
    w.NumColumnas = static_cast<std::int16_t>(columns);
    w.NumFilas = static_cast<std::int16_t>(rows);
    startWorld(w, s.rng());
    auto window = std::make_unique<frmPartidas>();
    window->resize(1280, 800);
    window->show();
    return window;
}

// The start-up window, shown and active (null if it could not be); its "Start" opens the world
// window into `world`.
inline std::unique_ptr<frmPrincipal> startUpWindow(QPointer<frmPartidas>& world) {
    auto start = std::make_unique<frmPrincipal>();
    start->setWorldWindowFactory([&world]() -> QWidget* {
        world = new frmPartidas;
        return world.data();
    });
    if (!testing_ui::showActive(start.get())) return nullptr;
    return start;
}

// A seeded `columns` x `rows` world as "Start" makes it and the world window takes it, for files.
inline World seededWorld(int columns, int rows, std::uint64_t seed) {
    World w;
    applyStartupDefaults(w);
    w.NumColumnas = static_cast<std::int16_t>(columns);
    w.NumFilas = static_cast<std::int16_t>(rows);
    Rng rng(seed);
    startWorld(w, rng);
    worldWindowLoad(w);
    return w;
}

// The world every window shares.
inline World& theWorld() {
    return Session::instance().world();
}

// A press and release of a mouse button on a widget.
inline void press(QWidget* w, Qt::MouseButton b, QPoint at = {}) {
    QTest::mousePress(w, b, {}, at);
    QTest::mouseRelease(w, b, {}, at);
}

// The centre of a world cell on the board (world row and column from 0).
inline QPoint cellCentre(const BoardWidget& board, int row, int column) {
    return board.cellRect(QPoint(column + 2, row + 2)).center();
}

}  // namespace morvane::testing
