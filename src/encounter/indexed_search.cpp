// The history search and the trigger look-up on record lists: through the record index where it
// covers a list, record by record elsewhere.
#include "encounter/indexed_search.h"

namespace morvane {

namespace {

// Whether the index answers a look-up of slots 1..n of the list: live play asks for all the
// records the cell holds, player 2 under successive moves for those and the preview on top of
// them; replays of earlier moments read the records one by one.
bool indiceCubre(const ListaRegistros& l, int n) {
    if (!l.indice.disponible()) return false;
    const int r = l.indice.registros();
    return (n == r && (l.slotPrevio < 1 || l.slotPrevio > n)) || (n == r + 1 && l.slotPrevio == n);
}

// The list's index as the indexed look-ups read it, with the memory of `socio`.
VistaMemorias vista(const ListaRegistros& l, int n, int socio) {
    const IndiceCelda& ix = l.indice;
    return {ix.deCelda(), ix.con(socio), ix.cabecera().ultimoSocio,
            l.slotPrevio == n ? &l.previo : nullptr};
}

}  // namespace

int buscarPalabra(const ListaRegistros& l, int a, int n, int role, std::int16_t word) {
    if (indiceCubre(l, n)) return palabraIndexada(vista(l, n, a), a, role, word);
    const auto found = buscarEnRegistrosUnoAUno(l, a, n, role, word);
    return found ? *found : -1;
}

std::optional<std::uint16_t> buscarEnRegistros(const ListaRegistros& l, int a, int n, int role,
                                               std::int16_t word) {
    const int found = buscarPalabra(l, a, n, role, word);
    if (found < 0) return std::nullopt;
    return static_cast<std::uint16_t>(found);
}

int disparoEnRegistros(const ListaRegistros& l, int partner, int n, int role,
                       std::int16_t trigger) {
    if (n < 1) return 0;
    if (indiceCubre(l, n)) return disparoIndexado(vista(l, n, partner), partner, role, trigger);
    return disparoEnRegistrosUnoAUno(l, partner, n, role, trigger);
}

}  // namespace morvane
