#include "encounter/move_decision.h"

#include <cmath>
#include <cstdlib>

#include "base/numeric.h"
#include "base/rng.h"
#include "games/payoff.h"

namespace morvane {

EncounterSettings encounterSettings(const World& w, int copia) {
    const RunOptions& o = w.options;
    EncounterSettings settings;
    settings.copia = copia;
    settings.prob = w.payoffs.EquilibriumAbsProb[copia];
    // Live play follows the value committed at the last start or step, which the options copy 0
    // took at the same moment; a replay reads that copy.
    settings.successiveMoves =
        copia == kActual ? o.SucesivasActivo : (o.Opciones[kPrevio] & 16) != 0;
    settings.evenIsOne = (o.Opciones[copia] & 512) != 0;
    settings.senMask = o.SenMask;
    settings.adHoc = o.hsbAdHoc;
    settings.ciEsExito = o.CiEsExito != 0;
    settings.cakeCutting = o.chkPartirTarta;
    // The chart keeps 100 samples; a step of 0 or less gives an infinite or NaN quotient and
    // nothing is added.
    settings.chartSample = static_cast<double>(w.Generacion) / w.PasoCoop < 101.0;
    settings.half1 = settings.prob[1] == 1.0f ? 1 : 0;
    settings.half2 = settings.prob[2] == 1.0f ? 1 : 0;
    settings.half2FollowsDisp =
        settings.prob[2] != 1.0f && settings.successiveMoves && settings.prob[2] != 0.0f;
    return settings;
}

std::uint16_t ValorarJugada(const World& w, float disp1, int copia) {
    const PayoffMatrix& m = w.payoffs;
    const auto& prob = m.EquilibriumAbsProb[copia];
    float g = 0.0f;  // player 2's answer: 1 = its absolute move
    if (prob[2] == 1.0f)
        g = 1.0f;
    else if (prob[2] != 0.0f)
        g = disp1 < prob[1] ? 1.0f : 0.0f;
    const float pay1 = expectedPayoff(m, copia, 1, disp1, g);
    const float pay2 = expectedPayoff(m, copia, 2, g, disp1);
    const float s1 = success(m, 1, pay1), s2 = success(m, 2, pay2);
    const bool evenIsOne = (w.options.Opciones[copia] & 512) != 0;
    return static_cast<std::uint16_t>(recordByte(s1 * 100.0f) * 128 +
                                      player1Equality(s1, s2, evenIsOne));
}

std::uint16_t knowledgeOf(const World& w, const EncounterSettings& settings, int b, int roleBit,
                          int half, const RecordList& rival, int n, bool alwaysSearch) {
    const GenomePart& g = w.genoma(settings.copia, b).parte[half];
    if (alwaysSearch || n > 0) {
        if (const auto found = searchRecords(rival, b, n, roleBit, g.Busqueda)) return *found;
    }
    return static_cast<std::uint16_t>(g.Incertidumbre);
}

DecisionCard decisionCard(const Genoma& genoma, int half, std::uint8_t senMask) {
    const GenomePart& g = genoma.parte[half];
    DecisionCard f;
    f.curve = newtonCurve01(g);
    f.complement = {1.0f - hundredth(g.ValIC), 1.0f - hundredth(g.ValIA),
                    1.0f - hundredth(g.ValIP)};
    f.weights =
        decision::weights(senMask, {hundredth(g.SenIC), hundredth(g.SenIA), hundredth(g.SenIP)});
    f.busqueda = g.Busqueda;
    f.incertidumbre = g.Incertidumbre;
    f.trigger = g.Trigger;
    f.triggerMin = g.TriggerMin;
    f.triggerMax = g.TriggerMax;
    f.bugColour = {genoma.Colores[3], genoma.Colores[4], genoma.Colores[5], 0};
    return f;
}

bool halfReadsHistory(const GenomePart& g) {
    const bool flat = g.Y0 == g.Y1 && g.Y1 == g.Y2 && g.Y2 == g.Y3;
    const bool neverFires = g.TriggerMin > g.TriggerMax;
    return !(flat && neverFires);
}

void decide(const World& w, const EncounterSettings& settings, int b, int r, int role, int half,
            const DecisionCard& card, std::uint16_t word, float Si, const RecordList& ownList,
            int ownCount, float f1, Rng& rng, EncounterSide& side) {
    const std::int16_t trigger = w.genoma(settings.copia, b).parte[half].Trigger;
    decideWith<false>(w.genoma(settings.copia, b), w.genoma(settings.copia, r), settings, role,
                      half, card, word, Si, f1, rng, side,
                      [&] { return firedInRecords(ownList, r, ownCount, role - 1, trigger) != 0; });
    side.cell = static_cast<std::int16_t>(b);
}

}  // namespace morvane
