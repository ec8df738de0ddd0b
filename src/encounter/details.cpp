#include "encounter/details.h"

#include <algorithm>

#include "base/numeric.h"
#include "base/shown_number.h"
#include "encounter/encounter.h"
#include "encounter/history.h"
#include "encounter/move_decision.h"
#include "games/payoff.h"

namespace morvane {

namespace {

std::string t3(double x) {
    return shownNumber(x, 3);
}

// "i (r) -> k [h]": record i, played in role r, the k-th of the cell's records in that role, with
// genome half h.
std::string recordText(const GenerationReport& rep, int cell, int slot) {
    const std::int32_t r = rep.jugadas(cell, slot);
    const int role = moveRecord::role(r);
    int k = 0;
    for (int i = 1; i <= slot; ++i) k += moveRecord::role(rep.jugadas(cell, i)) == role ? 1 : 0;
    return std::to_string(slot) + " (" + std::to_string(role + 1) + ") -> " + std::to_string(k) +
           " [" + std::to_string(moveRecord::half(r)) + "]";
}

// Values of a row as shown: they also feed the averages of the search.
struct RowValues {
    double a = 0, b = 0, x = 0;
};

DetailRow detailRow(const World& w, const GenerationReport& rep, int rival, int i, RowValues& shown,
                    Rng& rng) {
    const PayoffMatrix& m = w.payoffs;
    const std::int32_t r = rep.jugadas(rival, i);
    const int partner = moveRecord::partner(r), s = moveRecord::partnerSlot(r);
    DetailRow f;
    f.rival = static_cast<std::int16_t>(rival);
    f.partner = static_cast<std::int16_t>(partner);
    f.rivalColours = w.genoma(kPrevio, rival).Colores;
    f.italic = moveRecord::fired(r);
    f.text[0] = recordText(rep, rival, i);
    f.text[1] = std::to_string(rival);
    f.text[2] = std::to_string(partner);
    const float a = rep.movA(rival, i) / 100.0f;
    const int rivalRole = moveRecord::role(r) + 1;
    const float x = DispositionToProb(m.EquilibriumAbsProb[kPrevio][rivalRole], a);
    shown = {roundDecimals(a, 3), roundDecimals(rep.movB(rival, i) / 100.0f, 3), x};
    f.text[6] = t3(a);
    f.text[7] = t3(rep.movB(rival, i) / 100.0f);
    if (!validSlot(w, rep, partner, s)) {
        f.text[4] = t3(a);
        f.text[5] = t3(x);
        return f;
    }
    f.partnerColours = w.genoma(kPrevio, partner).Colores;
    f.text[3] = recordText(rep, partner, s);
    const float b = rep.movA(partner, s) / 100.0f;
    const int partnerRole = moveRecord::role(rep.jugadas(partner, s)) + 1;
    const float y = DispositionToProb(m.EquilibriumAbsProb[kPrevio][partnerRole], b);
    f.text[4] = t3(a) + " - " + t3(b);
    // The dispositions and pay-offs as the encounter had them, from a replay on the snapshot
    // genomes and the committed settings: the record bytes cannot give them back when they hold
    // the success (CiEsExito) or when the pay-offs came from cutting the cake. A random output
    // cannot be drawn again; then they are worked out from the recorded outputs.
    float dispRival = x, dispPartner = y;
    float p = expectedPayoff(m, kPrevio, rivalRole, x, y);
    float q = expectedPayoff(m, kPrevio, 3 - rivalRole, y, x);
    if ((w.options.hsbAdHoc & 4) == 0) {
        const int k = rivalRole - 1;  // the rival's place in the encounter: 0 player 1
        EncounterValues v;
        if (k == 0)
            replayEncounter(w, rep, rival, partner, i - 1, s - 1, rng, v);
        else
            replayEncounter(w, rep, partner, rival, s - 1, i - 1, rng, v);
        dispRival = v.players[k].disp;
        dispPartner = v.players[1 - k].disp;
        p = v.payoffs[k];
        q = v.payoffs[1 - k];
    }
    f.text[5] = t3(dispRival) + " - " + t3(dispPartner);
    f.text[9] = t3(p) + " - " + t3(q);
    return f;
}

}  // namespace

InteractionExplanation ExplicarPartida(const World& w, const GenerationReport& rep, int rival,
                                       int searcher, int current, Rng& rng) {
    InteractionExplanation e;
    if (!recordsReadable(w, rep) || !validSlot(w, rep, rival, current)) return e;
    const std::int32_t studied = rep.jugadas(rival, current);
    const int s = moveRecord::partnerSlot(studied);
    if (moveRecord::partner(studied) != searcher || !validSlot(w, rep, searcher, s)) return e;
    e.valid = true;
    e.rival = static_cast<std::int16_t>(rival);
    e.searcher = static_cast<std::int16_t>(searcher);
    e.current = static_cast<std::int16_t>(current);
    e.rivalColours = w.genoma(kPrevio, rival).Colores;
    e.searcherColours = w.genoma(kPrevio, searcher).Colores;

    const std::int32_t own = rep.jugadas(searcher, s);
    const int searcherRole = moveRecord::role(own);
    const GenomePart& g = w.genoma(kPrevio, searcher).parte[moveRecord::half(own)];

    const int n = std::min<int>(rep.jugadas(rival, 0), static_cast<int>(rep.slotsPerCell) - 1);
    std::vector<RowValues> shown(n + 1);
    for (int i = 1; i <= n; ++i) e.rows.push_back(detailRow(w, rep, rival, i, shown[i], rng));

    DetailRow& studiedRow = e.rows[current - 1];
    studiedRow.red = true;
    // With successive moves player 2 weighed player 1's move before it was played out: the
    // preview it saw (player 1's output or provisional success, and the equality it would give)
    // stands in for the committed record.
    const bool preview = moveRecord::role(studied) == 0 && (w.options.Opciones[kPrevio] & 16) != 0;
    if (preview) {
        const SeenPreview seen = replayPreview(w, rep, rival, searcher, current - 1, s - 1, rng);
        const double a = seen.record.movA / 100.0, b = seen.record.movB / 100.0;
        e.estimatedEquality = t3(b);
        e.actualEquality = t3(rep.movB(rival, current) / 100.0f);
        studiedRow.text[6] = t3(a);
        studiedRow.text[7] = e.estimatedEquality;
        shown[current].a = roundDecimals(a, 3);
        shown[current].b = roundDecimals(b, 3);
        if (!seen.replayable)
            e.previewNote =
                "Player 1's output was drawn at random: the move player 2 weighed cannot be "
                "replayed, and this row shows another draw.";
    }

    const int upTo = preview ? current : current - 1;
    const std::vector<int> used =
        slotsUsed(recordList(rep, rival), searcher, upTo, searcherRole, g.Busqueda);
    double sumOfA = 0, sumOfB = 0;
    for (int i : used) {
        e.rows[i - 1].used = true;
        sumOfA += shown[i].a;
        sumOfB += shown[i].b;
    }
    if (!used.empty()) {
        e.averageIc = t3(sumOfA / used.size());
        e.averageIa = t3(sumOfB / used.size());
    } else {
        e.withoutData = true;
        e.averageIc = t3(packed::incerIC(g.Incertidumbre) / 100.0);
        e.averageIa = t3(packed::incerIA(g.Incertidumbre) / 100.0);
    }

    e.topRow = current < 33 ? 1 : current - 32;
    e.code = searchCodeText(g.Busqueda);
    e.explanation = TextoBusqueda(e.code, searcher, rival);
    return e;
}

}  // namespace morvane
