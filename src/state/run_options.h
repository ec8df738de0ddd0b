#pragma once

#include <array>
#include <cstdint>

namespace morvane {

// Menu ticks are data of their own: decoding a saved view word may tick several rules at once,
// and a save writes the ticks back as they are.
struct RunOptions {
    std::array<std::int16_t, 2> Opciones{1, 1};  // [copia]: bit k = item k ticked
    std::array<bool, 10> mnuOpcion{true,  false, false, false, false,
                                   false, false, false, false, false};
    std::array<bool, 4> mnuRegla{false, true, false, false};
    std::uint8_t Regla = 2;  // 1 Maxi Max, 2 Replicator Dynamics, 3 Best Strategy, 4 Maxi Min
    std::array<bool, 3> mnuSuma{false, true, false};
    std::uint8_t ModoSuma = 2;  // 1 Total, 2 / moves played, 3 / potential moves
    bool mnuVerMutaciones = false;
    bool mnuSoloSelec = false;
    std::array<bool, 3> chkSen{true, true, true};  // "Ci Sen", "Ei Sen", "Si Sen"

    // Committed at every start or step.
    std::uint8_t SenMask = 7;
    std::uint8_t CiEsExito = 0;
    std::uint8_t CiEsExitoMenu = 0;  // pending value the results table toggles
    bool MismosVecinos = false;
    bool SucesivasActivo = false;

    // Window-only settings; a headless run keeps the values the window starts with.
    int hsbAdHoc = 0;
    bool chkPartirTarta = false;
};

}  // namespace morvane
