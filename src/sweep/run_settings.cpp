#include "sweep/run_settings.h"

#include "core/neighbourhood_setup.h"
#include "games/payoff.h"

namespace morvane {

namespace {

template <typename T>
void take(std::optional<T>& into, const std::optional<T>& patch) {
    if (patch) into = patch;
}

void applyPayoffs(World& w, const RunSettings& s) {
    bool any = false;
    for (const auto& p : s.payoff) any = any || p.has_value();
    if (!any) return;
    float* const slots[8] = {&w.payoffs.T[1], &w.payoffs.R[1], &w.payoffs.P[1], &w.payoffs.S[1],
                             &w.payoffs.T[2], &w.payoffs.R[2], &w.payoffs.P[2], &w.payoffs.S[2]};
    for (int i = 0; i < 8; ++i)
        if (s.payoff[i]) *slots[i] = *s.payoff[i];
    UpdatePayoffMatrix(w.payoffs);
}

}  // namespace

void overlay(RunSettings& into, const RunSettings& patch) {
    for (std::size_t i = 0; i < into.payoff.size(); ++i) take(into.payoff[i], patch.payoff[i]);
    take(into.rule, patch.rule);
    take(into.neighbourhood, patch.neighbourhood);
    take(into.iterations, patch.iterations);
    take(into.mutation, patch.mutation);
    take(into.thresholdToday, patch.thresholdToday);
    take(into.thresholdSurvive, patch.thresholdSurvive);
    take(into.thresholdReproduce, patch.thresholdReproduce);
    take(into.sumMode, patch.sumMode);
    for (std::size_t k = 0; k < into.option.size(); ++k) take(into.option[k], patch.option[k]);
}

void applyRunSettings(World& w, const RunSettings& s) {
    applyPayoffs(w, s);
    if (s.rule) {
        w.options.mnuRegla = {false, false, false, false};
        clickRegla(w, *s.rule - 1);
    }
    // Option 7 changes what a neighbourhood type means, so the ticks come before the type.
    for (int k = 0; k < 10; ++k) {
        if (s.option[k] && w.options.mnuOpcion[k] != *s.option[k]) clickOpcion(w, k);
    }
    if (s.neighbourhood) ChooseNeighbourhood(w, *s.neighbourhood);
    if (s.iterations) w.Iteraciones = static_cast<std::uint8_t>(*s.iterations);
    if (s.mutation) {
        w.FrecMutacion = *s.mutation;
        w.options.mnuOpcion[0] = *s.mutation > 0.0f;
        recomputeOpciones(w);
    }
    if (s.thresholdToday) w.UmbralHoy = *s.thresholdToday;
    if (s.thresholdSurvive) w.UmbralSupervivencia = *s.thresholdSurvive;
    if (s.thresholdReproduce) w.UmbralReproduccion = *s.thresholdReproduce;
    if (s.sumMode) {
        w.options.mnuSuma = {false, false, false};
        clickSuma(w, *s.sumMode - 1);
    }
}

}  // namespace morvane
