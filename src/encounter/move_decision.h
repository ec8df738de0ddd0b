#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/numeric.h"
#include "base/rng.h"
#include "encounter/history.h"
#include "games/payoff.h"
#include "state/world.h"
#include "strategy/behaviour.h"

namespace morvane {

class Rng;

// The settings one encounter reads. Live play (copia 1) reads the live game analysis and option
// bits, a replay (copia 0) the ones committed at the last start or step, so that a replay meets
// the settings the generation was played with.
struct EncounterSettings {
    int copia = 1;
    std::array<float, 3> prob{};   // EquilibriumAbsProb by role 1, 2
    bool successiveMoves = false;  // successive moves
    bool evenIsOne = false;        // option [9]: even outcome = 1 (on) or 0.5 (off)
    std::uint8_t senMask = 7;
    int adHoc = 0;
    bool ciEsExito = false;
    bool cakeCutting = false;  // cake cutting
    bool chartSample = false;  // encounters add to the cooperation chart's sums this generation
    // The genome halves, which follow from prob and successiveMoves: player 1's; player 2's when it
    // does not depend on player 1's disposition, and whether it does.
    int half1 = 0, half2 = 0;
    bool half2FollowsDisp = false;
};

EncounterSettings encounterSettings(const World& w, int copia);

// Genome half of player 1, and of player 2 once player 1's disposition is known: half 1 where a
// role's reference probability is 1, and for player 2 under successive moves (with a reference
// probability other than 0) also when player 1's disposition falls below its own.
inline int player1Half(const EncounterSettings& settings) {
    return settings.half1;
}
inline int player2Half(const EncounterSettings& settings, float disp1) {
    return settings.half2FollowsDisp ? (disp1 < settings.prob[1] ? 1 : 0) : settings.half2;
}

// (759 - d) / 759 for every colour difference d = 0..765, worked out at compile time with the
// same rounding: a look-up instead of a division on the encounter's path.
inline constexpr std::array<float, 766> kColourSimilarities = [] {
    std::array<float, 766> t{};
    for (int d = 0; d < 766; ++d) t[d] = static_cast<float>(759 - d) / 759.0f;
    return t;
}();

// Colour similarity of two bugs: 1 for equal bug colours, 0 for components 253 apart.
inline float colourSimilarity(const Genoma& a, const Genoma& b) {
    int diff = 0;
    for (int c = 3; c < 6; ++c) diff += std::abs(a.Colores[c] - b.Colores[c]);
    return kColourSimilarities[diff];
}

// Expected pay-off of role k playing its absolute move with probability own against other, from
// the role's four coefficients.
inline float expectedPayoff(float coefConst, float coefOwn, float coefOther, float coefXY, int k,
                            float own, float other) {
    // The cross term is always taken as XY * disp1 * disp2, in that order.
    const float d1 = k == 1 ? own : other, d2 = k == 1 ? other : own;
    return coefConst + coefOwn * own + coefOther * other + coefXY * d1 * d2;
}
inline float expectedPayoff(const PayoffMatrix& m, int copia, int k, float own, float other) {
    return expectedPayoff(m.PayoffCoefConst[copia][k], m.PayoffCoefOwn[copia][k],
                          m.PayoffCoefOther[copia][k], m.PayoffCoefXY[copia][k], k, own, other);
}

// A pay-off as a share of the pay-off range max - min; 1 when the range is empty.
inline float success(float max, float min, float pay) {
    const float range = max - min;
    if (max == min) return 1.0f;
    return (pay - min) / range;
}
inline float success(const PayoffMatrix& m, int k, float pay) {
    return success(m.PayoffMax[k], m.PayoffMin[k], pay);
}

// A percentage as stored in a record byte: floored, a NaN taken as 0, held within 0..100 so that
// an average never spills into the neighbouring field of a packed word.
inline std::uint8_t recordByte(float percent) {
    // Below 0 (or NaN) the floor is negative, from 100 on it is at least 100; in between the
    // conversion's truncation is the floor.
    if (!(percent >= 0.0f)) return 0;
    if (percent >= 100.0f) return 100;
    return static_cast<std::uint8_t>(static_cast<int>(percent));
}

// Player 1's equality for successes s1, s2 (player 2's is the same with option [9], else 100 - it).
inline std::uint8_t player1Equality(float s1, float s2, bool evenIsOne) {
    const float d = s2 - s1;
    return recordByte(evenIsOne ? (1.0f - std::fabs(d)) * 100.0f : (d + 1.0f) / 2.0f * 100.0f);
}

// Success (bits 7..13) and equality (bits 0..6) of player 1's provisional move as player 2 would
// answer it.
std::uint16_t ValorarJugada(const World& w, float disp1, int copia);

// What the deciding bug b (role bit roleBit, genome half `half`) knows of its rival: the search of
// the rival's first n records, or b's "without data" values when the rival has none. With
// `alwaysSearch` the search runs even for n = 0 (the preview counts as a record).
std::uint16_t knowledgeOf(const World& w, const EncounterSettings& settings, int b, int roleBit,
                          int half, const RecordList& rival, int n, bool alwaysSearch);

// What a decision reads of a genome half: the behaviour curve's coefficients, the valuations'
// complements, the weights its sensibilities give the indexes under a SenMask, the search,
// fall-back and trigger words and the bug colour, on one cache line. The live genomes do not change
// while the rounds are played, so a generation works these out once per cell, and the rounds read a
// card instead of the genome.
struct alignas(64) DecisionCard {
    NewtonCurve curve;
    std::array<float, 3> complement{};  // 1 - ValIC, ValIA, ValIP / 100
    std::array<float, 3> weights{};     // the weights of Ci, Ei, Si by the card's SenMask
    std::int16_t busqueda = 0, incertidumbre = 0, trigger = 0;
    std::uint8_t triggerMin = 0, triggerMax = 0;
    // Colores 3..5 and a 0, so that the four bytes can be compared as one word.
    std::array<std::uint8_t, 4> bugColour{};
};
static_assert(sizeof(DecisionCard) == 64);
DecisionCard decisionCard(const Genoma& g, int half, std::uint8_t senMask);
// Whether a genome half's output can depend on what the records say. A flat curve (Y0 = Y1 = Y2 =
// Y3) gives the same output for every input, and an empty trigger range (Min above Max) never
// fires: such a half decides the same whatever its search finds.
bool halfReadsHistory(const GenomePart& g);

// Colour similarity of the bugs of two cards, as colourSimilarity() gives it for their genomes.
inline float colourSimilarity(const DecisionCard& a, const DecisionCard& b) {
#if defined(__SSE2__)
    // One sum of absolute byte differences over the four bytes; the fourth is 0 on every card.
    std::uint32_t wa, wb;
    std::memcpy(&wa, a.bugColour.data(), sizeof wa);
    std::memcpy(&wb, b.bugColour.data(), sizeof wb);
    const __m128i sad = _mm_sad_epu8(_mm_cvtsi32_si128(static_cast<int>(wa)),
                                     _mm_cvtsi32_si128(static_cast<int>(wb)));
    return kColourSimilarities[static_cast<std::uint32_t>(_mm_cvtsi128_si32(sad))];
#else
    int diff = 0;
    for (int c = 0; c < 3; ++c) diff += std::abs(a.bugColour[c] - b.bugColour[c]);
    return kColourSimilarities[diff];
#endif
}

namespace decision {

// The weights of Ci, Ei and Si in the input x by SenMask, from a genome half's sensibilities / 100.
// With two indexes the first one's sensibility is used and the second gets its complement.
inline std::array<float, 3> weights(std::uint8_t senMask, const std::array<float, 3>& sen) {
    switch (senMask & 7) {
        case 0:
            return {0.0f, 0.0f, 0.0f};
        case 1:
            return {1.0f, 0.0f, 0.0f};
        case 2:
            return {0.0f, 1.0f, 0.0f};
        case 4:
            return {0.0f, 0.0f, 1.0f};
        case 3:
            return {sen[0], 1.0f - sen[0], 0.0f};
        case 5:
            return {sen[0], 0.0f, 1.0f - sen[0]};
        case 6:
            return {0.0f, sen[1], 1.0f - sen[1]};
        default:
            return sen;
    }
}

// The input x: the indexes' distances from the valuations (given as complements, 1 - value),
// weighted. A left-out index has weight 0 and adds an exact 0, so an index entering alone enters
// as it is; with no index at all x is 1.
inline float input(float Ci, float Ei, float Si, const std::array<float, 3>& complement,
                   const std::array<float, 3>& p, std::uint8_t senMask) {
    const float t0 = std::fabs(Ci - complement[0]);
    const float t1 = std::fabs(Ei - complement[1]);
    const float t2 = std::fabs(Si - complement[2]);
    const float x = p[0] * t0 + p[1] * t1 + p[2] * t2;
    return (senMask & 7) == 0 ? 1.0f : x;
}

}  // namespace decision

// One move decision into `out` (all but the deciding cell's number): the bug with genome gb,
// deciding with half `half` (and its card) in role 1 or 2 against the rival with genome gr, with
// the knowledge word found, the colour similarity and, for player 2, player 1's output f1.
// `firedBefore()` is DisparoPrevio for the bug's trigger: whether it fired in the earlier meeting
// its whom and when fields select. With kAlwaysLookUp (a look-up that only reads a few lines) it is
// asked even where its answer is not used; otherwise only when the trigger's range is not empty
// and the input falls outside it. Without kObserved only the half, the output, the disposition and
// the trigger's answer are stored: what the encounter goes on with when no view shows it.
template <bool kAlwaysLookUp, bool kObserved = true, typename FiredBefore>
void decideWith(const Genoma& gb, const Genoma& gr, const EncounterSettings& settings, int role,
                int half, const DecisionCard& card, std::uint16_t word, float Si, float f1,
                Rng& rng, EncounterSide& out, FiredBefore firedBefore) {
    // Worked out in a local and stored once: the byte fields of the side may alias anything, and
    // storing them as they come would make every later read go back to memory.
    EncounterSide side;
    const GenomePart& g = gb.parte[half];
    side.half = static_cast<std::uint8_t>(half);
    side.xAdHoc = false;
    if constexpr (kObserved) side.colours = gb.Colores;
    side.Ci = knowledgeCi(word);
    side.Ei = knowledgeEi(word);

    // Under the ad-hoc switch the player's valuations count as 1, and their complements as 0.
    const bool adHocValues = (settings.adHoc & (role == 1 ? 1 : 2)) != 0;
    const std::array<float, 3> complement = adHocValues ? std::array<float, 3>{} : card.complement;
    side.x = decision::input(side.Ci, side.Ei, Si, complement, card.weights, settings.senMask);
    if constexpr (kObserved) {
        side.val = adHocValues ? std::array<float, 3>{1.0f, 1.0f, 1.0f}
                               : std::array<float, 3>{hundredth(g.ValIC), hundredth(g.ValIA),
                                                      hundredth(g.ValIP)};
        side.weights = card.weights;
    }
    if (role == 1 && (settings.adHoc & 1) != 0) {
        side.x = hundredth(gr.parte[0].ValIC);
        side.xAdHoc = true;
    }

    side.f = evalNewtonCurve01(card.curve, g, side.x);
    // The trigger: inside its range it answers at once; otherwise, when the range is not empty, it
    // answers again if it fired in the earlier meeting its whom and when fields select.
    // A cheap look-up is made whether or not it is needed: inputs fall in and out of a trigger's
    // range at random, and a branch on them would often be mispredicted.
    const float d100 = side.x * 100.0f;
    const float lo = card.triggerMin, hi = card.triggerMax;
    const bool inRange = (lo <= d100) & (d100 <= hi);
    if constexpr (kAlwaysLookUp)
        side.fired = inRange | ((lo <= hi) & firedBefore());
    else
        side.fired = inRange || (lo <= hi && firedBefore());
    const float response = hundredth(static_cast<std::uint8_t>(packed::triggerResp(card.trigger)));
    // Picked from a pair by the fired bit: no branch, and fewer instructions than a select on the
    // bits, which would carry both values into whole-number registers and back.
    const std::array<float, 2> answers{side.f, response};
    side.f = answers[side.fired];

    if (role == 2 && (settings.adHoc & 2) != 0) {
        side.fired = false;
        side.f = hundredth(gb.parte[0].ValIC) <= f1 ? 1.0f : 0.0f;
    }
    if ((settings.adHoc & 4) != 0) side.f = rng.uniform() <= hundredth(g.SenIC) ? 1.0f : 0.0f;

    side.disp = DispositionToProb(settings.prob[role], side.f);
    if constexpr (kObserved) {
        side.cell = out.cell;
        out = side;
    } else {
        // What the encounter itself reads on; the rest is worked out only for a view.
        out.half = side.half;
        out.f = side.f;
        out.disp = side.disp;
        out.fired = side.fired;
    }
}

// One move decision into `side`: bug b against rival r in role 1 or 2 with genome half `half`
// (and its card), the knowledge word found, the colour similarity, b's own record list and count,
// and for player 2 player 1's output f1.
void decide(const World& w, const EncounterSettings& settings, int b, int r, int role, int half,
            const DecisionCard& card, std::uint16_t word, float Si, const RecordList& ownList,
            int ownCount, float f1, Rng& rng, EncounterSide& side);

}  // namespace morvane
