#pragma once

// Hand-built worlds for the scenario file tests, and a whole-world comparison.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "games/payoff.h"
#include "io/number_format.h"
#include "state/world.h"
#include "world/neighbourhood.h"

namespace morvane::testing_io {

// The settings a world has right after "Start": the prisoner's dilemma, neighbourhood code 2
// with 24 partners, "Mutations On [0]" only, "Replicator Dynamics", sum mode 2, 4 rounds, and the
// named strategies of the start-up list with their distribution words. Cells are all zero.
inline World startUpWorld(int cols, int rows) {
    World w;
    w.NumColumnas = static_cast<std::int16_t>(cols);
    w.NumFilas = static_cast<std::int16_t>(rows);
    CrearMundo(w);
    PrepararCeldaCero(w);
    setPayoffs(w.payoffs, {4, 4, 3, 3, 1, 1, 0, 0});
    w.payoffs.GameIndex = 1;
    w.options.mnuOpcion = {true, false, false, false, false, true, true, false, false, false};
    const char* names[] = {"Cuadro muerto", "Cuadro en blanco", "UD", "UC",
                           "Tit For Tat",   "Fairman"};
    for (int s = 2; s <= 7; ++s) {
        w.ListaEstrategias[s].name = names[s - 2];
        w.ListaEstrategias[s].Reparto = (s == 6) ? 0 : 1224;
        for (auto& p : w.ListaEstrategias[s].genoma.parte) p.SenIC = 100;
    }
    for (int s : {6, 7})
        for (auto& p : w.ListaEstrategias[s].genoma.parte) p.Incertidumbre = 12900;
    return w;
}

// A float nearest to a random decimal of at most 7 significant digits, sign and exponent given.
inline float sevenDigitFloat(std::mt19937& gen, int minExp, int maxExp, bool negative) {
    const auto mantissa = std::uniform_int_distribution<int>(0, 9999999)(gen);
    const auto exponent = std::uniform_int_distribution<int>(minExp, maxExp)(gen);
    const std::string text =
        (negative ? "-" : "") + std::to_string(mantissa) + "E" + std::to_string(exponent);
    return parseFloat32(text).value;
}

// Every stored field drawn over its whole width (list floats over what a cell can hold), and
// menus consistent with the option bits, as the windows keep them.
inline World randomWorld(int cols, int rows, std::uint32_t seed) {
    std::mt19937 gen(seed);
    auto any = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(gen);
    };
    auto byte = [&] { return static_cast<std::uint8_t>(any(0, 255)); };
    auto i16 = [&] { return static_cast<std::int16_t>(any(-32768, 32767)); };
    auto i32 = [&] { return static_cast<std::int32_t>(any(INT32_MIN, INT32_MAX)); };

    World w = startUpWorld(cols, rows);
    for (int c = 1; c <= w.NumJugadores; ++c) {
        Genoma& g = w.genoma(kActual, c);
        for (auto& p : g.parte) {
            p.Busqueda = i16(), p.Incertidumbre = i16(), p.Trigger = i16();
            for (auto* b :
                 {&p.Y0, &p.X1, &p.Y1, &p.X2, &p.Y2, &p.Y3, &p.SenIC, &p.SenIA, &p.SenIP, &p.ValIC,
                  &p.ValIA, &p.ValIP, &p.Irregular, &p.TriggerMin, &p.TriggerMax})
                *b = byte();
        }
        g.VecinosImitacion = i32();
        for (auto& k : g.Colores) k = byte();
    }
    PayoffCopy pay;
    for (auto& x : pay) x = sevenDigitFloat(gen, -12, 4, any(0, 1) == 1);
    setPayoffs(w.payoffs, pay);
    w.payoffs.GameIndex = i16();
    w.UmbralSupervivencia = sevenDigitFloat(gen, -12, 4, any(0, 1) == 1);
    w.UmbralReproduccion = sevenDigitFloat(gen, -12, 4, false);
    w.UmbralHoy = sevenDigitFloat(gen, -40, 30, true);
    w.FrecMutacion = sevenDigitFloat(gen, -12, -7, false);

    const std::uint8_t codes[] = {1, 25, 0, 16, 24, 7, 31, 6, 22, 30, 3, 27, 2, 18, 26};
    for (auto& code : w.neighbourhood.CodVecin) code = codes[any(0, 14)] | (any(0, 1) ? 32 : 0);
    w.neighbourhood.Repes =
        static_cast<std::uint8_t>(partnerCount(w.neighbourhood.CodVecin[kActual]));
    for (auto& m : w.neighbourhood.MascaraVecinos) m = i32();
    for (int k = 0; k < 10; ++k) w.options.mnuOpcion[k] = k != 3 && any(0, 1) == 1;
    recomputeOpciones(w);
    w.options.Opciones[kPrevio] = i16();
    w.options.mnuVerMutaciones = any(0, 1) == 1;
    clickRegla(w, static_cast<int>(any(0, 3)));
    clickSuma(w, static_cast<int>(any(0, 2)));
    for (auto& s : w.options.chkSen) s = any(0, 1) == 1;
    w.Iteraciones = static_cast<std::uint8_t>(any(1, 10));

    for (auto& lim : w.Rangos.limits)
        for (auto& part : lim)
            for (auto& v : part) v = i32();
    const std::vector<std::string> names{"",       "UD",      "Tit, For Tat", "  leading blanks",
                                         "a,b,,c", "Ñandú 2", "[Rangos]"};
    for (int s = 2; s <= 20; ++s) {
        StrategySlot& slot = w.ListaEstrategias[s];
        slot.name = names[any(0, static_cast<std::int64_t>(names.size()) - 1)];
        slot.Reparto = i16();
        for (auto& p : slot.genoma.parte) {
            p.Busqueda = i16(), p.Trigger = i16();
            p.Incertidumbre = static_cast<float>(i16());
            for (auto* b : {&p.Y0, &p.X1, &p.Y1, &p.X2, &p.Y2, &p.Y3, &p.Irregular, &p.TriggerMin,
                            &p.TriggerMax})
                *b = byte();
            for (auto* f : {&p.SenIC, &p.SenIA, &p.SenIP, &p.ValIC, &p.ValIA, &p.ValIP}) {
                *f = sevenDigitFloat(gen, -12, -5, false) * 2.55f;
                *f = parseFloat32(formatFloat(*f)).value;
            }
        }
        slot.genoma.VecinosImitacion = i32();
        for (auto& k : slot.genoma.Colores) k = i16();
    }
    return w;
}

// Compares the listed members of a and b; a failure names the member from `names`, the list as
// written (MORVANE_EXPECT_SAME_MEMBERS passes it).
template <class T, class... M>
void expectSameMembers(const T& a, const T& b, std::string_view names, M T::*... members) {
    auto compare = [&](auto member) {
        const std::size_t end = names.find(',');
        EXPECT_TRUE(a.*member == b.*member) << names.substr(0, end);
        names.remove_prefix(end == std::string_view::npos ? names.size() : end + 2);
    };
    (compare(members), ...);
}
#define MORVANE_EXPECT_SAME_MEMBERS(a, b, ...) \
    ::morvane::testing_io::expectSameMembers(a, b, #__VA_ARGS__, __VA_ARGS__)

// Every field of the two worlds, with the field's name on failure.
inline void expectSameWorld(const World& a, const World& b) {
    MORVANE_EXPECT_SAME_MEMBERS(
        a, b, &World::NumColumnas, &World::NumFilas, &World::NumJugadores, &World::Generacion,
        &World::Iteraciones, &World::IteracionesComprometidas, &World::MovPosibles,
        &World::CasillaSel, &World::genomes, &World::Padres, &World::PasoCoop, &World::HistoriaCoop,
        &World::UmbralHoy, &World::UmbralSupervivencia, &World::UmbralReproduccion,
        &World::FrecMutacion, &World::Vista, &World::restorePayoffs);
    MORVANE_EXPECT_SAME_MEMBERS(
        a.options, b.options, &RunOptions::Opciones, &RunOptions::mnuOpcion, &RunOptions::mnuRegla,
        &RunOptions::Regla, &RunOptions::mnuSuma, &RunOptions::ModoSuma,
        &RunOptions::mnuVerMutaciones, &RunOptions::mnuSoloSelec, &RunOptions::chkSen,
        &RunOptions::SenMask, &RunOptions::CiEsExito, &RunOptions::CiEsExitoMenu,
        &RunOptions::MismosVecinos, &RunOptions::SucesivasActivo, &RunOptions::hsbAdHoc,
        &RunOptions::chkPartirTarta);
    MORVANE_EXPECT_SAME_MEMBERS(a.neighbourhood, b.neighbourhood, &Neighbourhood::CodVecin,
                                &Neighbourhood::MascaraVecinos, &Neighbourhood::Repes,
                                &Neighbourhood::Vecinos);
    MORVANE_EXPECT_SAME_MEMBERS(
        a.payoffs, b.payoffs, &PayoffMatrix::T, &PayoffMatrix::R, &PayoffMatrix::P,
        &PayoffMatrix::S, &PayoffMatrix::GameIndex, &PayoffMatrix::PayoffMax,
        &PayoffMatrix::PayoffMin, &PayoffMatrix::AbsoluteMove, &PayoffMatrix::OtherMove,
        &PayoffMatrix::EquilibriumAbsProb, &PayoffMatrix::PayoffCoefConst,
        &PayoffMatrix::PayoffCoefOwn, &PayoffMatrix::PayoffCoefOther, &PayoffMatrix::PayoffCoefXY,
        &PayoffMatrix::MoveLabelAbs, &PayoffMatrix::MoveLabelOther);
    MORVANE_EXPECT_SAME_MEMBERS(a.Rangos, b.Rangos, &Rangos::limits, &Rangos::bounds);
    for (int s = 0; s < kNumListSlots; ++s) {
        SCOPED_TRACE(::testing::Message() << "strategy slot " << s);
        MORVANE_EXPECT_SAME_MEMBERS(a.ListaEstrategias[s], b.ListaEstrategias[s],
                                    &StrategySlot::name, &StrategySlot::Reparto,
                                    &StrategySlot::genoma);
    }
}

}  // namespace morvane::testing_io
