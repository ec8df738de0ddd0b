#include "support/world_digest.h"

#include <bit>
#include <type_traits>

namespace morvane::testing {

namespace {

// FNV-1a over each value's bytes, lowest first; floats by their bits, bools as one byte.
class Fnv {
  public:
    template <typename T>
    void add(T v) {
        static_assert(std::is_arithmetic_v<T>);
        using Bits = std::conditional_t<
            sizeof(T) == 1, std::uint8_t,
            std::conditional_t<sizeof(T) == 2, std::uint16_t,
                               std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;
        const auto u = std::bit_cast<Bits>(v);
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            h_ ^= static_cast<std::uint8_t>(u >> (8 * i));
            h_ *= 0x100000001b3ULL;
        }
    }
    template <typename C>
    void addAll(const C& c) {
        for (const auto& v : c) add(v);
    }
    std::uint64_t value() const { return h_; }

  private:
    std::uint64_t h_ = 0xcbf29ce484222325ULL;
};

void addPart(Fnv& f, const GenomePart& p) {
    f.add(p.Busqueda);
    for (std::uint8_t b :
         {p.Y0, p.X1, p.Y1, p.X2, p.Y2, p.Y3, p.SenIC, p.SenIA, p.SenIP, p.ValIC, p.ValIA, p.ValIP})
        f.add(b);
    f.add(p.Incertidumbre);
    f.add(p.Irregular);
    f.add(p.TriggerMin);
    f.add(p.TriggerMax);
    f.add(p.Trigger);
}

void addGenome(Fnv& f, const Genoma& g) {
    for (const GenomePart& p : g.parte) addPart(f, p);
    f.add(g.VecinosImitacion);
    f.addAll(g.Colores);
}

}  // namespace

std::uint64_t worldDigest(const World& w, const GenerationReport& r,
                          const std::vector<std::uint8_t>& muertoHoy) {
    Fnv f;
    f.add(w.Generacion);
    for (const auto& copy : w.genomes)
        for (const Genoma& g : copy) addGenome(f, g);
    f.addAll(r.PagoTotal);
    f.addAll(r.CoopTotal);
    // The records cell by cell, whatever order the report keeps them in: a digest says what a
    // generation recorded, not where.
    const auto cellByCell = [&](auto slotValue) {
        for (std::size_t c = 0; c < r.cellCount; ++c)
            for (std::size_t s = 0; s < r.slotsPerCell; ++s)
                f.add(slotValue(static_cast<int>(c), static_cast<int>(s)));
    };
    cellByCell([&](int c, int s) { return r.jugadas(c, s); });
    cellByCell([&](int c, int s) { return r.movA(c, s); });
    cellByCell([&](int c, int s) { return r.movB(c, s); });
    f.addAll(muertoHoy);
    for (const auto& t : r.TiradaRuleta) f.addAll(t);
    for (const auto& p : w.Padres) f.addAll(p);
    f.addAll(r.PuntoCorte);
    f.addAll(r.SumaCoop);
    f.addAll(r.CuentaCoop);
    for (const auto& h : w.HistoriaCoop) f.addAll(h);
    return f.value();
}

std::uint64_t foldDigest(std::uint64_t running, std::uint64_t digest) {
    Fnv f;
    f.add(running);
    f.add(digest);
    return f.value();
}

}  // namespace morvane::testing
