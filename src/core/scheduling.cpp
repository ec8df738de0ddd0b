#include "core/scheduling.h"

#include <algorithm>
#include <vector>

#include "base/rng.h"
#include "encounter/encounter.h"
#include "encounter/encounter_steps.h"
#include "world/neighbourhood.h"

namespace morvane {

std::vector<std::uint8_t> ordinaryBugs(const World& w) {
    std::vector<std::uint8_t> ordinary(static_cast<std::size_t>(w.NumJugadores) + 1);
    for (int c = 1; c <= w.NumJugadores; ++c) {
        const std::int16_t f = w.genoma(kActual, c).parte[0].Busqueda & 0xFF;
        ordinary[c] = !isBlankSquare(f) && !isDeadSquare(f);
    }
    return ordinary;
}

namespace {

// The partner of cell i at position k: a random start, then the next free cell that is not i.
int drawPartner(World& w, Rng& rng, std::vector<std::uint8_t>& tomado, int i, int k) {
    const int n = w.NumJugadores;
    int j = static_cast<int>(rng.integer(n, 1));
    if (j > n) j = n;
    while (tomado[j] == 1 || j == i) {
        j = j == n ? 1 : j + 1;
        if (i == n && tomado[i] == 0) {
            // Only the last cell is left undrawn and it may not meet itself: it takes the place
            // of the partner of the cell before it, and that partner is freed for it.
            const int m = n - 1;
            tomado[w.vecino(m, k)] = 0;
            w.vecino(m, k) = static_cast<std::int16_t>(n);
            w.vecino(n, k + 12) = static_cast<std::int16_t>(m);
        }
    }
    return j;
}

// What an encounter of a class round leaves, seen from the cell i whose row names the partner j:
// the class table's outcome for the roles the draw gave them, laid out so that the loop commits it
// without swapping.
struct alignas(64) PairOutcome {
    float payoffI, payoffJ, coopI, coopJ;
    float f1, f2;     // the sums' values, of role 1 and role 2
    double f1d, f2d;  // the same, as the statistics' sums add them
    std::int32_t ownBitsI, ownBitsJ;
    std::uint8_t recordAI, recordAJ, equalityI, equalityJ;
    std::uint8_t deadI, deadJ;  // what muertoHoy takes: 1 or 2 by role, 0 when surviving
    bool anyDead;               // either is not 0
    bool filled;
};

// A round whose encounters decide by classes of outputs, written for them alone: the same walk,
// checks, draws and commit as JugarIteracion with ClassTable outcomes, with the sums held in
// locals, the role draws taken in blocks and the two role orders of each pair of classes looked up
// rather than swapped. The pairs the selected cell watches, a cell met at its own position and a
// pair without room for records are played apart, as the shared loop plays them.
class ClassRound {
  public:
    // Marks a round puts on the dropped-out bytes: a cell that is no ordinary bug, the selected
    // cell.
    static constexpr std::uint8_t kNotOrdinary = 0x80, kWatched = 0x40;

    ClassRound(const World& w, GenerationReport& r, GenerationCards& cards)
        : w_(w),
          r_(r),
          cards_(cards),
          table_(cards),
          pairs_(static_cast<std::size_t>(cards.outputClasses) *
                 GenerationCards::kMaxOutputClasses * 2),
          apart_(w, r, cards.settings) {}

    [[gnu::noinline]] void play(std::vector<std::uint8_t>& muertoHoyList, Rng& rng);

  private:
    // Where the outcome of i meeting j is kept, i in role 1 (swap 0) or role 2 (swap 1): a row of
    // the largest number of classes for each class the round has, so the place is found by shifts.
    static std::size_t pairAt(const std::uint8_t* outputClass, int i, int j, int swap) {
        return (static_cast<std::size_t>(outputClass[i]) * GenerationCards::kMaxOutputClasses +
                outputClass[j]) *
                   2 +
               static_cast<std::size_t>(swap);
    }
    [[gnu::noinline]] const PairOutcome& fill(int i, int j, int swap);
    [[gnu::noinline]] void playApart(std::uint8_t* muertoHoy, Rng& rng, int jug1, int jug2,
                                     int prev1, int prev2);

    // The sums the loop held, given back to the report: the chart's and the statistics' sums of
    // the shares by role, and the encounters played since they were taken (one to every count).
    // The chart's take them only in a generation it samples; the loop adds them in every one.
    void handBack(float suma1, float suma2, double stat1, double stat2, std::int64_t played) {
        r_.statCoopSum = {stat1, stat2};
        if (cards_.settings.chartSample) {
            r_.SumaCoop = {suma1, suma2};
            r_.CuentaCoop[0] += static_cast<std::int32_t>(played);
            r_.CuentaCoop[1] += static_cast<std::int32_t>(played);
        }
        r_.statCoopCount[0] += played;
        r_.statCoopCount[1] += played;
    }

    const World& w_;
    GenerationReport& r_;
    GenerationCards& cards_;
    ClassTable table_;
    std::vector<PairOutcome> pairs_;
    encounterSteps::EncounterCommit<encounterSteps::SumsInReport> apart_;
};

const PairOutcome& ClassRound::fill(int i, int j, int swap) {
    PairOutcome& p = pairs_[pairAt(cards_.outputClass.data(), i, j, swap)];
    const encounterSteps::ClassOutcome& o =
        swap ? table_.outcome(cards_, j, i) : table_.outcome(cards_, i, j);
    const int roleI = swap, roleJ = 1 - swap;
    p.payoffI = o.payoffs[roleI];
    p.payoffJ = o.payoffs[roleJ];
    p.coopI = o.coopShare[roleI];
    p.coopJ = o.coopShare[roleJ];
    p.f1 = o.f[0];
    p.f2 = o.f[1];
    p.f1d = o.f[0];
    p.f2d = o.f[1];
    p.ownBitsI = o.recordBits[roleI];
    p.ownBitsJ = o.recordBits[roleJ];
    p.recordAI = o.recordA[roleI];
    p.recordAJ = o.recordA[roleJ];
    p.equalityI = o.equality[roleI];
    p.equalityJ = o.equality[roleJ];
    // The survive-today bits the commit gives: bit 0 for role 1, bit 1 for role 2.
    const std::array<std::uint8_t, 2> dead = {
        static_cast<std::uint8_t>(o.payoffs[0] < w_.UmbralHoy ? 1 : 0),
        static_cast<std::uint8_t>(o.payoffs[1] < w_.UmbralHoy ? 2 : 0)};
    p.deadI = dead[roleI];
    p.deadJ = dead[roleJ];
    p.anyDead = (p.deadI | p.deadJ) != 0;
    p.filled = true;
    return p;
}

void ClassRound::playApart(std::uint8_t* muertoHoy, Rng& rng, int jug1, int jug2, int prev1,
                           int prev2) {
    const int selected = w_.CasillaSel;
    const std::uint8_t result =
        jug1 == selected || jug2 == selected
            ? JugarPartida(w_, cards_, jug1, jug2, prev1, prev2, rng)
            : apart_.commit(table_.outcome(cards_, jug1, jug2), jug1, jug2, prev1, prev2);
    // The selected cell keeps its mark.
    muertoHoy[jug1] = static_cast<std::uint8_t>((result & 1) | (muertoHoy[jug1] & kWatched));
    muertoHoy[jug2] = static_cast<std::uint8_t>((result & 2) | (muertoHoy[jug2] & kWatched));
}

void ClassRound::play(std::vector<std::uint8_t>& muertoHoyList, Rng& rng) {
    const WalkedPositions walk = walkedPositions(w_.neighbourhood.CodVecin[kPrevio]);
    // Through the round a cell that is no ordinary bug reads as dropped out, so one byte tells
    // whether a cell is in play, and the selected cell is marked too, so that one test of both
    // bytes finds the pairs it watches; the marks are taken off at the end (encounters write 0, 1
    // or 2).
    std::uint8_t* const muertoHoy = muertoHoyList.data();
    const std::uint8_t* const square = cards_.square.data();
    const int n = w_.NumJugadores, selected = w_.CasillaSel, movPosibles = w_.MovPosibles;
    for (int c = 1; c <= n; ++c) muertoHoy[c] |= square[c] != 0 ? kNotOrdinary : 0;
    if (selected >= 1 && selected <= n) muertoHoy[selected] |= kWatched;
    const std::size_t width = r_.slotsPerCell, cellCount = r_.cellCount;
    // A record fits when its slot is at most MovPosibles and inside the cell's list. A cell that
    // may play has fewer than MovPosibles records, so when the lists hold MovPosibles of them
    // (they do, as the report is laid out), every pair of cells with counts of 0 or more has room;
    // and when cell numbers and slots fit their fields of the record (worlds hold at most 2000
    // cells), the record's bits need no masks.
    const bool plainRecords = movPosibles <= static_cast<int>(width) - 1 && movPosibles <= 255 &&
                              n <= moveRecord::kPartnerMask;
    // A pair is played apart when either count, read as unsigned, reaches this: a negative count,
    // or any count where the records are not plain.
    const unsigned apartFrom = plainRecords ? 0x80000000u : 0u;
    const std::uint8_t* const outputClass = cards_.outputClass.data();
    const PairOutcome* const pairs = pairs_.data();
    const auto* const rows = w_.neighbourhood.Vecinos.data();
    std::int32_t* const jugadas = r_.Jugadas.data();
    std::uint8_t* const movA = r_.MovA.data();
    std::uint8_t* const movB = r_.MovB.data();
    float* const pagoTotal = r_.PagoTotal.data();
    float* const coopTotal = r_.CoopTotal.data();
    // The sums, held here and given back around every encounter played apart.
    float suma1 = r_.SumaCoop[0], suma2 = r_.SumaCoop[1];
    double stat1 = r_.statCoopSum[0], stat2 = r_.statCoopSum[1];
    // Every pair that passes the checks takes one toss, so the pairs played here since the sums
    // were last given back are the tosses taken since then, less the one of a pair played apart:
    // counted by blocks, not one by one.
    std::int64_t blocksSinceBack = 0;
    CoinTosses coins(rng);
    std::uint64_t tosses = 0;
    int tossesLeft = 0;
    for (int k = walk.first; k <= walk.last; k += walk.step) {
        for (int i = 1; i <= n; ++i) {
            const int j = rows[i][k];
            if (j == kNoPartner) continue;
            // The counts: slot 0, which recordPlace puts at [cell].
            const int countI = jugadas[i], countJ = jugadas[j];
            const unsigned markI = muertoHoy[i], markJ = muertoHoy[j];
            if ((markI & ~kWatched) != 0 || countI >= movPosibles) continue;
            if ((markJ & ~kWatched) != 0 || countJ >= movPosibles) continue;
            // The neighbour plays role 1 on r <= 0.5.
            if (tossesLeft == 0) {
                tosses = coins.block();
                tossesLeft = 64;
                ++blocksSinceBack;
            }
            const int swap = static_cast<int>(tosses >> 63);
            tosses <<= 1;
            --tossesLeft;
            if ((markI | markJ) != 0 || i == j ||
                static_cast<unsigned>(countI | countJ) >= apartFrom) [[unlikely]] {
                const int prevI = countI & 0xFF, prevJ = countJ & 0xFF;
                coins.settle(64 - tossesLeft);
                handBack(suma1, suma2, stat1, stat2, blocksSinceBack * 64 - tossesLeft - 1);
                tossesLeft = 0;
                blocksSinceBack = 0;
                if (swap)
                    playApart(muertoHoy, rng, j, i, prevJ, prevI);
                else
                    playApart(muertoHoy, rng, i, j, prevI, prevJ);
                suma1 = r_.SumaCoop[0];
                suma2 = r_.SumaCoop[1];
                stat1 = r_.statCoopSum[0];
                stat2 = r_.statCoopSum[1];
                continue;
            }
            const PairOutcome& kept = pairs[pairAt(outputClass, i, j, swap)];
            const PairOutcome& p = kept.filled ? kept : fill(i, j, swap);
            pagoTotal[i] += p.payoffI;
            coopTotal[i] += p.coopI;
            pagoTotal[j] += p.payoffJ;
            coopTotal[j] += p.coopJ;
            const int slotI = countI + 1, slotJ = countJ + 1;
            const std::size_t atI = recordPlace(cellCount, i, slotI);
            const std::size_t atJ = recordPlace(cellCount, j, slotJ);
            jugadas[i] = slotI;
            jugadas[atI] = p.ownBitsI | moveRecord::partnerBitsInRange(j, slotJ);
            movA[atI] = p.recordAI;
            movB[atI] = p.equalityI;
            jugadas[j] = slotJ;
            jugadas[atJ] = p.ownBitsJ | moveRecord::partnerBitsInRange(i, slotI);
            movA[atJ] = p.recordAJ;
            movB[atJ] = p.equalityJ;
            suma1 += p.f1;
            suma2 += p.f2;
            stat1 += p.f1d;
            stat2 += p.f2d;
            // Both bytes were 0, as the pair plays here.
            if (p.anyDead) {
                muertoHoy[i] = p.deadI;
                muertoHoy[j] = p.deadJ;
            }
        }
    }
    coins.settle(64 - tossesLeft);
    handBack(suma1, suma2, stat1, stat2, blocksSinceBack * 64 - tossesLeft);
    for (int c = 1; c <= n; ++c)
        muertoHoy[c] &= static_cast<std::uint8_t>(~(kNotOrdinary | kWatched));
}

}  // namespace

void playLiveIteration(const World& w, GenerationReport& r, GenerationScratch& scratch, Rng& rng) {
    GenerationCards& cards = *scratch.cards;
    const auto play = [&](int jug1, int jug2, int prev1, int prev2) {
        return JugarPartida(w, cards, jug1, jug2, prev1, prev2, rng);
    };
    if (cards.index != nullptr) {
        JugarIteracion(w, r, scratch.MuertoHoy, rng, play, Prefetcher(cards));
        return;
    }
    // Without an index the few lines an encounter reads stay in the nearer caches, and nothing is
    // asked ahead. Where every output is a constant, the encounters the selected cell does not
    // watch are played in place.
    if (!decidesByConstants(cards)) {
        JugarIteracion(w, r, scratch.MuertoHoy, rng, play);
        return;
    }
    if (cards.outputClasses != 0) {
        ClassRound(w, r, cards).play(scratch.MuertoHoy, rng);
        return;
    }
    // The sums are held through the round, and handed over to the general path for the pairs the
    // selected cell watches.
    const int selected = w.CasillaSel;
    encounterSteps::EncounterCommit<encounterSteps::HeldSums> commit(w, r, cards.settings);
    const auto handOver = [&](int jug1, int jug2, int prev1, int prev2) {
        commit.sums.finish(r);
        const std::uint8_t result = play(jug1, jug2, prev1, prev2);
        commit.sums.resume(r);
        return result;
    };
    EncounterValues v;  // no view reads these encounters' values
    JugarIteracion(w, r, scratch.MuertoHoy, rng, [&](int jug1, int jug2, int prev1, int prev2) {
        if (jug1 == selected || jug2 == selected) return handOver(jug1, jug2, prev1, prev2);
        return playConstantEncounter(cards, commit, v, jug1, jug2, prev1, prev2);
    });
    commit.sums.finish(r);
}

void EmparejarAzar(World& w, Rng& rng) {
    const int n = w.NumJugadores;
    const int step = (w.neighbourhood.CodVecin[kPrevio] & 8) / 8 + 1;
    std::vector<std::uint8_t> tomado(static_cast<std::size_t>(n) + 1);
    for (int k = 0; k <= 11; k += step) {
        std::fill(tomado.begin(), tomado.end(), 0);
        for (int i = 1; i <= n; ++i) {
            if (n == 1) {
                // A lone cell has nobody to meet; its draw is still made so the stream of draws
                // does not depend on the size of the world.
                rng.uniform();
                w.vecino(1, k) = kNoPartner;
                w.vecino(1, k + 12) = kNoPartner;
                continue;
            }
            const int j = drawPartner(w, rng, tomado, i, k);
            w.vecino(i, k) = static_cast<std::int16_t>(j);
            w.vecino(j, k + 12) = static_cast<std::int16_t>(i);
            tomado[j] = 1;
        }
    }
}

}  // namespace morvane
