#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "encounter/encounter.h"
#include "encounter/move_decision.h"
#include "encounter/move_record.h"
#include "encounter/record_index.h"
#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

// The steps every live encounter shares once both players have decided: the pay-offs, the
// records, the scores and the sums. Inline, so that the loop of a generation whose encounters
// decide by constants plays them in place.
namespace encounterSteps {

inline void computePayoffs(const World& w, const EncounterSettings& settings, EncounterValues& v) {
    const PayoffMatrix& m = w.payoffs;
    const float f1 = v.players[0].f, f2 = v.players[1].f;
    const float d1 = v.players[0].disp, d2 = v.players[1].disp;
    if (!settings.cakeCutting) {
        v.payoffs = {expectedPayoff(m, settings.copia, 1, d1, d2),
                     expectedPayoff(m, settings.copia, 2, d2, d1)};
    } else if ((1.0f - f1) + (1.0f - f2) <= 1.0f) {
        // Each player claims the share of the cake it does not give away.
        v.payoffs = {(1.0f - f1) * m.PayoffMax[1], (1.0f - f2) * m.PayoffMax[2]};
    } else {
        v.payoffs = {0.0f, 0.0f};
    }
    v.success = {success(m, 1, v.payoffs[0]), success(m, 2, v.payoffs[1])};
    const std::uint8_t e1 = player1Equality(v.success[0], v.success[1], settings.evenIsOne);
    v.equality = {e1, static_cast<std::uint8_t>(settings.evenIsOne ? e1 : 100 - e1)};
}

inline float clampToUnit(float x) {
    if (!(x >= 0.0f)) return 0.0f;  // a NaN counts as nothing
    return x > 1.0f ? 1.0f : x;
}

// The two records of the encounter, and when `places` are given (where each player keeps its
// memory of the other), their entries in the record index too. A generation that gave a cell
// more moves than MovPosibles would write past its list; such an encounter still pays but leaves
// no record.
inline void writeRecords(const World& w, GenerationReport& r, RecordIndex* ix,
                         const EncounterSettings& settings, const EncounterValues& v,
                         const std::array<PartnerPlace, 2>* places) {
    const std::array<int, 2> cells = {v.jug1, v.jug2};
    const std::array<int, 2> slot = {v.prev1 + 1, v.prev2 + 1};
    if (slot[0] > w.MovPosibles || slot[1] > w.MovPosibles) return;
    if (static_cast<std::size_t>(std::max(slot[0], slot[1])) >= r.slotsPerCell) return;
    // Positions worked out before the first byte is stored: a byte store may alias anything, and
    // the world's sizes would be read again after each one.
    const std::array<std::size_t, 2> row = {r.slotIndex(cells[0], 0), r.slotIndex(cells[1], 0)};
    std::int32_t* const jugadas = r.Jugadas.data();
    std::uint8_t* const movA = r.MovA.data();
    std::uint8_t* const movB = r.MovB.data();
    std::array<std::uint8_t, 2> bytesA{};
    std::array<std::int32_t, 2> records{};
    for (int k = 0; k < 2; ++k) {
        const EncounterSide& p = v.players[k];
        bytesA[k] = recordByte((settings.ciEsExito ? v.success[k] : p.f) * 100.0f);
        records[k] = moveRecord::make(cells[1 - k], k, slot[1 - k], p.fired, p.half);
    }
    for (int k = 0; k < 2; ++k) {
        jugadas[row[k]] = slot[k];
        jugadas[row[k] + slot[k]] = records[k];
        movA[row[k] + slot[k]] = bytesA[k];
        movB[row[k] + slot[k]] = v.equality[k];
    }
    if (places == nullptr) return;
    for (int k = 0; k < 2; ++k)
        addToIndex(*ix, cells[k], slot[k], records[k], bytesA[k], v.equality[k], (*places)[k]);
}

// Scores, records and sums of a played encounter; the survive-today bits.
inline std::uint8_t commit(const World& w, GenerationReport& r, RecordIndex* ix,
                           const EncounterSettings& settings, const EncounterValues& v,
                           const std::array<PartnerPlace, 2>* places) {
    const std::array<int, 2> cells = {v.jug1, v.jug2};
    for (int k = 0; k < 2; ++k) {
        r.PagoTotal[cells[k]] += v.payoffs[k];
        r.CoopTotal[cells[k]] += clampToUnit(settings.ciEsExito ? v.success[k] : v.players[k].f);
    }
    writeRecords(w, r, ix, settings, v, places);
    for (int k = 0; k < 2; ++k) {
        if (settings.chartSample) {
            r.SumaCoop[k] += v.players[k].f;
            r.CuentaCoop[k] += 1;
        }
        r.statCoopSum[k] += v.players[k].f;
        r.statCoopCount[k] += 1;
    }
    std::uint8_t result = 0;
    if (v.payoffs[0] < w.UmbralHoy) result |= 1;
    if (v.payoffs[1] < w.UmbralHoy) result |= 2;
    return result;
}

// Both decisions of a generation without ad-hoc settings in which no half reads the records: each
// half's output is the constant its flat curve gives for every input and its trigger never fires,
// so the decision is that constant and the disposition the role makes of it.
inline void decideBothConstant(const EncounterSettings& settings, const GenerationCards& cards,
                               EncounterValues& v) {
    auto& p1 = v.players[0];
    auto& p2 = v.players[1];
    const int h1 = player1Half(settings);
    p1.half = static_cast<std::uint8_t>(h1);
    p1.f = cards.constantOutputs[v.jug1][h1];
    p1.disp = DispositionToProb(settings.prob[1], p1.f);
    p1.fired = false;
    const int h2 = player2Half(settings, p1.disp);
    p2.half = static_cast<std::uint8_t>(h2);
    p2.f = cards.constantOutputs[v.jug2][h2];
    p2.disp = DispositionToProb(settings.prob[2], p2.f);
    p2.fired = false;
}

}  // namespace encounterSteps

// Whether the generation's unobserved encounters may decide by their halves' constant outputs: no
// playing half reads the records and no ad-hoc setting draws or replaces an output.
inline bool decidesByConstants(const GenerationCards& cards) {
    return !cards.anyReadsHistory && cards.settings.adHoc == 0;
}

// An unobserved live encounter of a generation that decidesByConstants(), with the results
// JugarPartida on the cards gives it: the two constant outputs, then the shared steps.
inline std::uint8_t playConstantEncounter(const World& w, GenerationCards& cards, int jug1,
                                          int jug2, int prev1, int prev2) {
    EncounterValues& v = cards.inPlay;
    v.jug1 = jug1;
    v.jug2 = jug2;
    v.prev1 = prev1;
    v.prev2 = prev2;
    encounterSteps::decideBothConstant(cards.settings, cards, v);
    encounterSteps::computePayoffs(w, cards.settings, v);
    return v.result = encounterSteps::commit(w, *cards.report, nullptr, cards.settings, v, nullptr);
}

}  // namespace morvane
