#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvane {

// What the history searches and trigger look-ups read of the generation's move records, kept
// in step with the records as the encounters commit them and cleared with the accumulators:
// per cell, and per cell and partner met, the newest records and the sums of all of them, so
// that a search reads one or two adjacent lines instead of the record list.
struct IndiceRegistros {
    // The records of one sequence (all of a cell's, or those with one partner). A search
    // counts at most 15 records newest first, or else all of them. Three rings (those of each
    // role, and every record) hold the running sums of MovA (low half) and MovB (high half)
    // after the k-th record at k mod 16: the newest m <= 15 records sum to the difference of
    // two entries, and all of them to the newest entry. Each ring fills one cache line.
    struct alignas(64) Memoria {
        // [0] records in role 0, [1] in role 1, [2] every record: ring r - 1 serves the role
        // mask r of a search.
        std::array<std::array<std::uint32_t, 16>, 3> anillos{};
        // Indexed like the rings: [0] role 0, [1] role 1, [2] every record. A count of 0
        // goes with a "fired" of 0.
        std::array<std::uint8_t, 3> cuenta{};   // records
        std::array<std::uint8_t, 3> disparo{};  // the newest record fired
        std::uint8_t rolUltimo = 0;             // the newest record's role
        std::int16_t duena = 0, socio = 0;      // whose records, with whom (0: anybody)
    };
    struct Cabecera {
        std::int16_t indexados = 0;    // slots 1..indexados are indexed
        std::int16_t numSocios = 0;    // distinct partners met
        std::int16_t siguiente = 0;    // the partner entry expected next
        std::int16_t ultimoSocio = 0;  // the newest record's partner
        std::uint64_t vistos = 0;      // bit p mod 64 set for every partner p met
    };
    std::size_t anchura = 0;  // MovPosibles + 1 when sized
    std::size_t bloque = 0;   // partner memories set aside per cell: the neighbourhood's count
    std::vector<Cabecera> cabeceras;   // [cell]
    std::vector<Memoria> deCelda;      // [cell]
    std::vector<std::int16_t> socios;  // [cell][k]: the k-th partner met, k < MovPosibles
    // [cell][k] for the first `bloque` partners of each cell, then those of cells that met
    // more, in order of first meeting.
    std::vector<Memoria> conSocio;
};

}  // namespace morvane
