#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morvane {

// One half of a genome in cell form: the copy every cell of the world carries.
// Part 0 is "Function 0 (move 1st)" (cooperation), part 1 "Function 1 (move 2nd)" (coordination).
struct GenomePart {
    std::int16_t Busqueda = 0;  // packed: Tipo, Prof, TipoHistorial (see the accessors below)
    std::uint8_t Y0 = 0, X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, Y3 = 0;
    std::uint8_t SenIC = 0, SenIA = 0, SenIP = 0;
    std::uint8_t ValIC = 0, ValIA = 0, ValIP = 0;
    std::int16_t Incertidumbre = 0;  // packed: IncerIC, IncerIA, Copia
    std::uint8_t Irregular = 0;
    std::uint8_t TriggerMin = 0, TriggerMax = 0;
    std::int16_t Trigger = 0;  // packed: TriggerResp, Aquien, Cuando

    bool operator==(const GenomePart&) const = default;
};

// A whole genome in cell form.
struct Genoma {
    std::array<GenomePart, 2> parte{};
    std::int32_t VecinosImitacion = 0;  // bit j: the neighbour at position j may be imitated
    // 0..2 user colour (board background, never seen by bugs), 3..5 bug colour (font, seen by bugs)
    std::array<std::uint8_t, 6> Colores{};

    bool operator==(const Genoma&) const = default;
};

// One half of a genome in list form: the strategy list keeps sensibilities, valuations and
// Incertidumbre as floats, so the editor can hold values such as 33.5.
struct ListGenomePart {
    std::int16_t Busqueda = 0;
    std::uint8_t Y0 = 0, X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, Y3 = 0;
    float SenIC = 0, SenIA = 0, SenIP = 0;
    float ValIC = 0, ValIA = 0, ValIP = 0;
    float Incertidumbre = 0;  // holds a whole number, packed as in cell form
    std::uint8_t Irregular = 0;
    std::uint8_t TriggerMin = 0, TriggerMax = 0;
    std::int16_t Trigger = 0;

    bool operator==(const ListGenomePart&) const = default;
};

struct ListGenoma {
    std::array<ListGenomePart, 2> parte{};
    std::int32_t VecinosImitacion = 0;
    std::array<std::int16_t, 6> Colores{};

    bool operator==(const ListGenoma&) const = default;
};

// Bit layout of the packed words, written down once.
//
// Busqueda:      bits 0..2 unused | 3..5 Tipo (stored as type x 8: 0, 8, 16; 24 dead, 32 blank)
//                | 6..9 Prof (depth 1..15) | 10..13 TipoHistorial (0..2) | 14..15 unused
// Incertidumbre: bits 0..6 IncerIC | 7..13 IncerIA | 14 Copia
// Trigger:       bits 0..6 TriggerResp | 7 unused | 8 Aquien | 9..12 Cuando | 13..15 unused
//
// Every writer clears its whole sub-field and keeps every other bit of the word.
namespace packed {

inline int get(std::int32_t word, std::int32_t mask, int shift) {
    return static_cast<int>((word & mask) >> shift);
}
inline std::int16_t set(std::int32_t word, std::int32_t mask, int shift, int value) {
    return static_cast<std::int16_t>((word & ~mask) | ((value << shift) & mask));
}

constexpr std::int32_t kTipoMask = 56, kProfMask = 960, kHistorialMask = 15360;
constexpr std::int32_t kIncerICMask = 127, kIncerIAMask = 16256, kCopiaMask = 16384;
constexpr std::int32_t kRespMask = 127, kAquienMask = 256, kCuandoMask = 7680;

// Tipo is read and written as the stored multiple of 8 (0, 8, 16, 24, 32).
inline int tipo(std::int16_t w) {
    return w & kTipoMask;
}
inline int prof(std::int16_t w) {
    return get(w, kProfMask, 6);
}
inline int historial(std::int16_t w) {
    return get(w, kHistorialMask, 10);
}
inline std::int16_t withTipo(std::int16_t w, int tipoTimes8) {
    return set(w, kTipoMask, 0, tipoTimes8);
}
inline std::int16_t withProf(std::int16_t w, int depth) {
    return set(w, kProfMask, 6, depth);
}
inline std::int16_t withHistorial(std::int16_t w, int h) {
    return set(w, kHistorialMask, 10, h);
}

inline int incerIC(std::int32_t w) {
    return get(w, kIncerICMask, 0);
}
inline int incerIA(std::int32_t w) {
    return get(w, kIncerIAMask, 7);
}
inline int copia(std::int32_t w) {
    return get(w, kCopiaMask, 14);
}
inline std::int16_t withIncerIC(std::int32_t w, int v) {
    return set(w, kIncerICMask, 0, v);
}
inline std::int16_t withIncerIA(std::int32_t w, int v) {
    return set(w, kIncerIAMask, 7, v);
}
inline std::int16_t withCopia(std::int32_t w, int v) {
    return set(w, kCopiaMask, 14, v);
}

inline int triggerResp(std::int16_t w) {
    return get(w, kRespMask, 0);
}
inline int aquien(std::int16_t w) {
    return get(w, kAquienMask, 8);
}
inline int cuando(std::int16_t w) {
    return get(w, kCuandoMask, 9);
}
inline std::int16_t withTriggerResp(std::int16_t w, int v) {
    return set(w, kRespMask, 0, v);
}
inline std::int16_t withAquien(std::int16_t w, int v) {
    return set(w, kAquienMask, 8, v);
}
// The Cuando mask covers all four bits 9..12, so a stray bit of the field never survives a write.
inline std::int16_t withCuando(std::int16_t w, int v) {
    return set(w, kCuandoMask, 9, v);
}

}  // namespace packed

// Kinds of cell, by the live part-0 Busqueda.
inline bool isDeadSquare(std::int16_t busqueda) {
    return (busqueda & 24) == 24;
}
inline bool isBlankSquare(std::int16_t busqueda) {
    return (busqueda & 32) != 0;
}
inline bool isMutable(std::int16_t busqueda) {
    return (busqueda & 56) < 24;
}
inline bool isDeadSquare(const Genoma& g) {
    return isDeadSquare(g.parte[0].Busqueda);
}
inline bool isBlankSquare(const Genoma& g) {
    return isBlankSquare(g.parte[0].Busqueda);
}
inline bool isMutable(const Genoma& g) {
    return isMutable(g.parte[0].Busqueda);
}

// List form to cell form: sensibilities, valuations and Incertidumbre round halves to even
// (33.5 -> 34, 32.5 -> 32); colours keep the low byte of each component.
Genoma toCellForm(const ListGenoma& g);
// Cell form to list form: the widening inverse.
ListGenoma toListForm(const Genoma& g);

namespace genomeLayout {
// The fields of a half up to TriggerMax lie in its first bytes without a gap, and Trigger after
// one byte of padding: comparing those bytes and Trigger is comparing every field.
constexpr std::size_t kLeadingBytes = offsetof(GenomePart, TriggerMax) + 1;
static_assert(std::is_standard_layout_v<GenomePart>);
static_assert(offsetof(GenomePart, Busqueda) == 0 && offsetof(GenomePart, Incertidumbre) == 14 &&
              offsetof(GenomePart, Irregular) == 16 && kLeadingBytes == 19 &&
              offsetof(GenomePart, Trigger) == 20 && sizeof(GenomePart) == 22);

inline bool samePart(const GenomePart& a, const GenomePart& b) {
    return std::memcmp(&a, &b, kLeadingBytes) == 0 && a.Trigger == b.Trigger;
}
}  // namespace genomeLayout

// Same strategy: every field of both parts and the imitation mask equal; colours are not compared.
// Inline: the statistics compare every cell with the strategies met before it. The bytes of both
// parts and the mask are compared first, as one block: equal bytes are equal fields, and only when
// they differ (in a field, or in padding alone) do the fields decide.
inline bool sameStrategy(const Genoma& a, const Genoma& b) {
    static_assert(offsetof(Genoma, VecinosImitacion) == 2 * sizeof(GenomePart));
    constexpr std::size_t kStrategyBytes = offsetof(Genoma, VecinosImitacion) + 4;
#if defined(__SSE2__)
    // The 48 bytes as three 16-byte compares, where std::memcmp takes six of 8 bytes.
    static_assert(kStrategyBytes == 48);
    const auto bytes = [](const Genoma& g, int at) {
        return _mm_loadu_si128(
            reinterpret_cast<const __m128i*>(reinterpret_cast<const unsigned char*>(&g) + at));
    };
    const __m128i equal = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(bytes(a, 0), bytes(b, 0)),
                                                      _mm_cmpeq_epi8(bytes(a, 16), bytes(b, 16))),
                                        _mm_cmpeq_epi8(bytes(a, 32), bytes(b, 32)));
    if (_mm_movemask_epi8(equal) == 0xFFFF) return true;
#else
    if (std::memcmp(&a, &b, kStrategyBytes) == 0) return true;
#endif
    return genomeLayout::samePart(a.parte[0], b.parte[0]) &&
           genomeLayout::samePart(a.parte[1], b.parte[1]) &&
           a.VecinosImitacion == b.VecinosImitacion;
}

// The genome of cell 0 and of every dead square a run produces ("Cuadro muerto" as cells carry it).
Genoma deadSquareGenome();

}  // namespace morvane
