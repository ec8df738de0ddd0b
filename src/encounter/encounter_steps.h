#pragma once

#include <algorithm>
#include <array>
#include <bit>
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
          movPosibles_(w.MovPosibles),
          umbralHoy_(w.UmbralHoy),
          chartSample_(settings.chartSample) {}

    Sums sums;

    // Scores, records and sums of a played encounter (and the records' entries in the index when
    // `places` are given); the survive-today bits.
    std::uint8_t commit(const EncounterValues& v, RecordIndex* ix,
                        const std::array<PartnerPlace, 2>* places) {
        const std::array<int, 2> cells = {v.jug1, v.jug2};
        for (int k = 0; k < 2; ++k) {
            pagoTotal_[cells[k]] += v.payoffs[k];
            coopTotal_[cells[k]] += v.coopShare[k];
        }
        writeRecords(v, ix, places);
        for (int k = 0; k < 2; ++k) sums.add(k, v.players[k].f, chartSample_);
        std::uint8_t result = 0;
        if (v.payoffs[0] < umbralHoy_) result |= 1;
        if (v.payoffs[1] < umbralHoy_) result |= 2;
        return result;
    }

  private:
    // The two records of the encounter, and their entries in the record index when `places` (where
    // each player keeps its memory of the other) are given. A generation that gave a cell more
    // moves than MovPosibles would write past its list; such an encounter still pays but leaves no
    // record.
    void writeRecords(const EncounterValues& v, RecordIndex* ix,
                      const std::array<PartnerPlace, 2>* places) {
        const std::array<int, 2> cells = {v.jug1, v.jug2};
        const std::array<int, 2> slot = {v.prev1 + 1, v.prev2 + 1};
        if (slot[0] > movPosibles_ || slot[1] > movPosibles_) return;
        if (static_cast<std::size_t>(std::max(slot[0], slot[1])) >= slotsPerCell_) return;
        const std::array<std::size_t, 2> row = {static_cast<std::size_t>(cells[0]) * slotsPerCell_,
                                                static_cast<std::size_t>(cells[1]) * slotsPerCell_};
        std::array<std::int32_t, 2> records{};
        for (int k = 0; k < 2; ++k) {
            const EncounterSide& p = v.players[k];
            records[k] = moveRecord::make(cells[1 - k], k, slot[1 - k], p.fired, p.half);
        }
        for (int k = 0; k < 2; ++k) {
            jugadas_[row[k]] = slot[k];
            jugadas_[row[k] + slot[k]] = records[k];
            movA_[row[k] + slot[k]] = v.recordA[k];
            movB_[row[k] + slot[k]] = v.equality[k];
        }
        if (places == nullptr) return;
        for (int k = 0; k < 2; ++k)
            addToIndex(*ix, cells[k], slot[k], records[k], v.recordA[k], v.equality[k],
                       (*places)[k]);
    }

    float* pagoTotal_;
    float* coopTotal_;
    std::int32_t* jugadas_;
    std::uint8_t* movA_;
    std::uint8_t* movB_;
    std::size_t slotsPerCell_;
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

// The pay-offs (and what follows from them) of the last two players met again. In a generation that
// decides by constants few distinct pairs of outputs meet, and an encounter's pay-offs, successes
// and equalities follow from the two outputs and dispositions alone (the game is the round's), so a
// pair whose four values have the bits of the last pair's takes the last pair's.
class PayoffMemo {
  public:
    void computePayoffs(const EncounterGame& game, EncounterValues& v) {
        const std::array<std::uint32_t, 4> key = {std::bit_cast<std::uint32_t>(v.players[0].f),
                                                  std::bit_cast<std::uint32_t>(v.players[1].f),
                                                  std::bit_cast<std::uint32_t>(v.players[0].disp),
                                                  std::bit_cast<std::uint32_t>(v.players[1].disp)};
        if (filled_ && key == key_) {
            v.payoffs = payoffs_;
            v.success = success_;
            v.equality = equality_;
            v.coopShare = coopShare_;
            v.recordA = recordA_;
            return;
        }
        game.computePayoffs(v);
        key_ = key;
        payoffs_ = v.payoffs;
        success_ = v.success;
        equality_ = v.equality;
        coopShare_ = v.coopShare;
        recordA_ = v.recordA;
        filled_ = true;
    }

  private:
    bool filled_ = false;
    std::array<std::uint32_t, 4> key_{};
    std::array<float, 2> payoffs_{}, success_{}, coopShare_{};
    std::array<std::uint8_t, 2> equality_{}, recordA_{};
};

// An unobserved live encounter of a generation that decidesByConstants(), with the results
// JugarPartida on the cards gives it: the two constant outputs, then the shared steps.
inline std::uint8_t playConstantEncounter(
    const GenerationCards& cards, const EncounterGame& game, PayoffMemo& memo,
    encounterSteps::EncounterCommit<encounterSteps::HeldSums>& commit, EncounterValues& v, int jug1,
    int jug2, int prev1, int prev2) {
    v.jug1 = jug1;
    v.jug2 = jug2;
    v.prev1 = prev1;
    v.prev2 = prev2;
    encounterSteps::decideBothConstant(cards.settings, cards, v);
    memo.computePayoffs(game, v);
    return v.result = commit.commit(v, nullptr, nullptr);
}

}  // namespace morvane
