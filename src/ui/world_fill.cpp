#include "ui/world_fill.h"

#include "core/seeding.h"
#include "strategy/distribution.h"
#include "ui/session.h"

namespace morvane {

QString distributionRefusal() {
    const World& w = Session::instance().world();
    if (canFillWorld(w.ListaEstrategias)) return {};
    const double total = distributionTotal(w.ListaEstrategias);
    if (total == 0.0)
        return QStringLiteral(
            "No active row has a portion: tick a strategy in \"Distribute %\" and give it a "
            "portion before filling the world.");
    return QStringLiteral(
               "The active rows of the distribution add up to %1 %, not 100: the world is not "
               "filled. Change the portions or press \"Normalize to 100\".")
        .arg(total, 0, 'f', 1);
}

bool fillWorldByDistribution(QWidget* parent) {
    Session& s = Session::instance();
    const QString why = distributionRefusal();
    if (!why.isEmpty()) {
        s.info(parent, why);
        return false;
    }
    s.simulation().refill(kFillByDistribution);
    emit s.genomesChanged();
    return true;
}

}  // namespace morvane
