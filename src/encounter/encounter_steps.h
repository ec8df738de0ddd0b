#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

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

// What an encounter of two classes of constant outputs leaves (ClassTable): the values the shared
// steps commit.
struct ClassOutcome {
    std::array<float, 2> payoffs{}, coopShare{}, f{};
    std::array<std::int32_t, 2> recordBits{};  // each record's own bits (moveRecord::ownBits)
    std::array<std::uint8_t, 2> recordA{}, equality{};
};

// The sums of the encounters, added straight into the report.
class SumsInReport {
  public:
    explicit SumsInReport(GenerationReport& r) : r_(r) {}
    void add(int k, float f, bool chartSample) {
        if (chartSample) {
            r_.SumaCoop[k] += f;
            r_.CuentaCoop[k] += 1;
        }
        r_.statCoopSum[k] += f;
        r_.statCoopCount[k] += 1;
    }

  private:
    GenerationReport& r_;
};

// The sums of the encounters, held here and given back to the report by finish(): the loop of a
// generation whose encounters decide by constants holds them through a round.
class HeldSums {
  public:
    explicit HeldSums(const GenerationReport& r) { resume(r); }
    void add(int k, float f, bool chartSample) {
        if (chartSample) {
            sumaCoop_[k] += f;
            cuentaCoop_[k] += 1;
        }
        statCoopSum_[k] += f;
        statCoopCount_[k] += 1;
    }
    // Takes the report's sums up again, after another hand added to them.
    void resume(const GenerationReport& r) {
        sumaCoop_ = r.SumaCoop;
        cuentaCoop_ = r.CuentaCoop;
        statCoopSum_ = r.statCoopSum;
        statCoopCount_ = r.statCoopCount;
    }
    // Gives the sums back to the report.
    void finish(GenerationReport& r) const {
        r.SumaCoop = sumaCoop_;
        r.CuentaCoop = cuentaCoop_;
        r.statCoopSum = statCoopSum_;
        r.statCoopCount = statCoopCount_;
    }

  private:
    std::array<float, 2> sumaCoop_{};
    std::array<std::int32_t, 2> cuentaCoop_{};
    std::array<double, 2> statCoopSum_{};
    std::array<std::int64_t, 2> statCoopCount_{};
};

// Where played encounters leave their scores, records and sums (kept by `Sums`), read from the
// world and the report once: a byte store into the records may alias anything, and the steps
// would otherwise read them again after each one.
template <typename Sums>
class EncounterCommit {
  public:
    EncounterCommit(const World& w, GenerationReport& r, const EncounterSettings& settings)
        : sums(r),
          pagoTotal_(r.PagoTotal.data()),
          coopTotal_(r.CoopTotal.data()),
          jugadas_(r.Jugadas.data()),
          movA_(r.MovA.data()),
          movB_(r.MovB.data()),
          slotsPerCell_(r.slotsPerCell),
          cellCount_(r.cellCount),
          movPosibles_(w.MovPosibles),
          umbralHoy_(w.UmbralHoy),
          chartSample_(settings.chartSample) {}

    Sums sums;

    // Scores, records and sums of a played encounter (and the records' entries in the index when
    // `places` are given); the survive-today bits.
    std::uint8_t commit(const EncounterValues& v, RecordIndex* ix,
                        const std::array<PartnerPlace, 2>* places) {
        const std::array<int, 2> cells = {v.jug1, v.jug2};
        addScores(cells, v.payoffs, v.coopShare);
        const std::array<int, 2> slot = {v.prev1 + 1, v.prev2 + 1};
        if (hasRoom(slot)) {
            std::array<std::int32_t, 2> records{};
            for (int k = 0; k < 2; ++k) {
                const EncounterSide& p = v.players[k];
                records[k] = moveRecord::make(cells[1 - k], k, slot[1 - k], p.fired, p.half);
            }
            writeRecords(cells, slot, records, v.recordA, v.equality);
            if (places != nullptr) {
                // Written out for each player, so that each addition knows its role.
                addToIndex(*ix, cells[0], slot[0], cells[1], 0, v.players[0].fired, v.recordA[0],
                           v.equality[0], (*places)[0]);
                addToIndex(*ix, cells[1], slot[1], cells[0], 1, v.players[1].fired, v.recordA[1],
                           v.equality[1], (*places)[1]);
            }
        }
        for (int k = 0; k < 2; ++k) sums.add(k, v.players[k].f, chartSample_);
        return survivalBits(v.payoffs);
    }

    // The same for an encounter whose values a class table gives (ClassTable): no trigger
    // fired and no index is kept.
    std::uint8_t commit(const ClassOutcome& o, int jug1, int jug2, int prev1, int prev2) {
        const std::array<int, 2> cells = {jug1, jug2};
        addScores(cells, o.payoffs, o.coopShare);
        const std::array<int, 2> slot = {prev1 + 1, prev2 + 1};
        if (hasRoom(slot)) {
            const std::array<std::int32_t, 2> records = {
                o.recordBits[0] | moveRecord::partnerBits(jug2, slot[1]),
                o.recordBits[1] | moveRecord::partnerBits(jug1, slot[0])};
            writeRecords(cells, slot, records, o.recordA, o.equality);
        }
        for (int k = 0; k < 2; ++k) sums.add(k, o.f[k], chartSample_);
        return survivalBits(o.payoffs);
    }

  private:
    void addScores(const std::array<int, 2>& cells, const std::array<float, 2>& payoffs,
                   const std::array<float, 2>& coopShare) {
        for (int k = 0; k < 2; ++k) {
            pagoTotal_[cells[k]] += payoffs[k];
            coopTotal_[cells[k]] += coopShare[k];
        }
    }

    std::uint8_t survivalBits(const std::array<float, 2>& payoffs) const {
        std::uint8_t result = 0;
        if (payoffs[0] < umbralHoy_) result |= 1;
        if (payoffs[1] < umbralHoy_) result |= 2;
        return result;
    }

    // A generation that gave a cell more moves than MovPosibles would write past its list; such an
    // encounter still pays but leaves no record.
    bool hasRoom(const std::array<int, 2>& slot) const {
        if (slot[0] > movPosibles_ || slot[1] > movPosibles_) return false;
        return static_cast<std::size_t>(std::max(slot[0], slot[1])) < slotsPerCell_;
    }

    // The two records of the encounter, at the slots after each player's last.
    void writeRecords(const std::array<int, 2>& cells, const std::array<int, 2>& slot,
                      const std::array<std::int32_t, 2>& records,
                      const std::array<std::uint8_t, 2>& recordA,
                      const std::array<std::uint8_t, 2>& equality) {
        for (int k = 0; k < 2; ++k) {
            const std::size_t at = recordPlace(cellCount_, cells[k], slot[k]);
            jugadas_[recordPlace(cellCount_, cells[k], 0)] = slot[k];
            jugadas_[at] = records[k];
            movA_[at] = recordA[k];
            movB_[at] = equality[k];
        }
    }

    float* pagoTotal_;
    float* coopTotal_;
    std::int32_t* jugadas_;
    std::uint8_t* movA_;
    std::uint8_t* movB_;
    std::size_t slotsPerCell_;
    std::size_t cellCount_;
    int movPosibles_;
    float umbralHoy_;
    bool chartSample_;
};

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

// The encounters of a round that decidesByConstants(), by classes of outputs: a cell brings to
// such an encounter only its two halves' constant outputs, so two cells of the same class
// (GenerationCards::outputClass) decide alike, and every encounter of the same two classes has the
// same pay-offs, records' bytes and sums. Each is worked out by the same decision and pay-off steps
// the first time its two classes meet in the round (the game and settings are the round's).
class ClassTable {
  public:
    explicit ClassTable(const GenerationCards& cards)
        : side_(static_cast<std::size_t>(cards.outputClasses)),
          table_(side_ * side_),
          filled_(side_ * side_) {}

    const encounterSteps::ClassOutcome& outcome(const GenerationCards& cards, int jug1, int jug2) {
        const std::size_t at =
            static_cast<std::size_t>(cards.outputClass[jug1]) * side_ + cards.outputClass[jug2];
        if (!filled_[at]) {
            EncounterValues v;
            v.jug1 = jug1;
            v.jug2 = jug2;
            encounterSteps::decideBothConstant(cards.settings, cards, v);
            cards.game.computePayoffs(v);
            encounterSteps::ClassOutcome& o = table_[at];
            o.payoffs = v.payoffs;
            o.coopShare = v.coopShare;
            o.recordA = v.recordA;
            o.equality = v.equality;
            for (int k = 0; k < 2; ++k) {
                o.f[k] = v.players[k].f;
                o.recordBits[k] = moveRecord::ownBits(k, false, v.players[k].half);
            }
            filled_[at] = true;
        }
        return table_[at];
    }

  private:
    std::size_t side_;
    std::vector<encounterSteps::ClassOutcome> table_;
    std::vector<std::uint8_t> filled_;
};

// An unobserved live encounter of a generation that decidesByConstants(), with the results
// JugarPartida on the cards gives it: the two constant outputs, then the shared steps.
inline std::uint8_t playConstantEncounter(
    const GenerationCards& cards, encounterSteps::EncounterCommit<encounterSteps::HeldSums>& commit,
    EncounterValues& v, int jug1, int jug2, int prev1, int prev2) {
    v.jug1 = jug1;
    v.jug2 = jug2;
    v.prev1 = prev1;
    v.prev2 = prev2;
    encounterSteps::decideBothConstant(cards.settings, cards, v);
    cards.game.computePayoffs(v);
    return v.result = commit.commit(v, nullptr, nullptr);
}

}  // namespace morvane
