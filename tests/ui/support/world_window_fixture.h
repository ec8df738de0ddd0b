#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QString>
#include <QStringList>
#include <QTest>
#include <memory>
#include <string_view>

#include "core/rng.h"
#include "core/startup.h"
#include "core/world.h"
#include "ui/board_widget.h"
#include "ui/frm_partidas.h"
#include "ui/session.h"

namespace morvane::testing {

// Answers the file dialogs with a fixed name and keeps the "Info" messages instead of showing them.
class FakeDialogs : public Dialogs {
  public:
    QString nextFileName;
    QStringList infos;
    int saveAsked = 0;

    QString openFileName(QWidget*, const QString&) override { return nextFileName; }
    QString saveFileName(QWidget*, const QString& filter) override {
        ++saveAsked;
        lastFilter = filter;
        return nextFileName;
    }
    void info(QWidget*, const QString& text) override { infos.append(text); }
    QString lastFilter;
};

// A fresh session with a seeded `columns` x `rows` world made as "Start" makes it, the fake
// dialogs in place, and the world window open on it.
inline std::unique_ptr<frmPartidas> openWorldWindow(int columns, int rows, FakeDialogs** dialogs,
                                                    std::uint64_t seed = 12345) {
    Session& s = Session::instance();
    s.reset();
    s.seed(seed);
    auto fake = std::make_unique<FakeDialogs>();
    if (dialogs != nullptr) *dialogs = fake.get();
    s.setDialogs(std::move(fake));
    World& w = s.world();
    w.NumColumnas = static_cast<std::int16_t>(columns);
    w.NumFilas = static_cast<std::int16_t>(rows);
    startWorld(w, s.rng());
    auto window = std::make_unique<frmPartidas>();
    window->resize(1280, 800);
    window->show();
    return window;
}

// The centre of a world cell on the board (world row and column from 0).
inline QPoint cellCentre(const BoardWidget& board, int row, int column) {
    return board.cellRect(QPoint(column + 2, row + 2)).center();
}

// The cell form of the list strategy with that name.
inline Genoma listStrategy(const World& w, std::string_view name) {
    for (const auto& slot : w.estrategias)
        if (slot.nombre == name) return toCellForm(slot.genoma);
    return {};
}

}  // namespace morvane::testing
