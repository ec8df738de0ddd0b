#include "core/transition.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <vector>

#include "base/rng.h"
#include "core/scoring.h"

namespace morvane {

namespace {

// Visited marks for one rule call: stamp[j] == i once cell i has looked at cell j. Sized to the
// world, so no cell number is out of its reach, and never cleared between searching cells.
struct SearchState {
    explicit SearchState(const World& w) : stamp(static_cast<std::size_t>(w.NumJugadores) + 1, 0) {}
    std::vector<int> stamp;
};

std::int32_t searchMask(const World& w, int cell) {
    return w.options.MismosVecinos ? w.neighbourhood.MascaraVecinos[kActual]
                                   : w.genoma(kActual, cell).VecinosImitacion;
}

// Calls weigh(j) for every cell j of cell i's imitation neighbourhood, in position order, each
// once. Blank squares are passed over: a bug that copied one would turn into a permanent wall.
template <typename Weigh>
void forEachCandidate(const World& w, GenerationReport& rep, SearchState& s, int i, Weigh weigh) {
    // Read through locals: the trace's and the parents' stores could otherwise make every read
    // of the world go back to memory.
    const std::int32_t mask = searchMask(w, i);
    const std::array<std::int16_t, kNumPositions>& row = w.neighbourhood.Vecinos[i];
    int* const stamp = s.stamp.data();
    const Genoma* const genomes = w.genomes[kActual].data();
    std::int32_t weighed = 0;
    // The positions in the mask, lowest first.
    constexpr std::uint32_t kAllPositions = (1u << kNumPositions) - 1;
    for (std::uint32_t m = static_cast<std::uint32_t>(mask) & kAllPositions; m != 0; m &= m - 1) {
        const int k = std::countr_zero(m);
        const int j = row[k];
        if (j == kNoPartner || stamp[j] == i) continue;
        stamp[j] = i;
        if (isBlankSquare(genomes[j])) continue;
        weighed |= 1 << k;
        weigh(j);
    }
    auto& trace = rep.transitionTrace[i];
    trace.mask = mask;
    trace.weighed = weighed;
    trace.found = row;
}

// Sized to the world; every cell's trace is written as the rule reaches it.
void prepareTrace(const World& w, GenerationReport& rep) {
    rep.transitionTrace.resize(static_cast<std::size_t>(w.NumJugadores) + 1);
    rep.transitionTrace[0] = {};
}

// classifySurvival, and an empty trace for a blank square, which searches nothing.
bool startCell(World& w, GenerationReport& rep, int i) {
    if (classifySurvival(w, rep, i)) return true;
    rep.transitionTrace[i] = {};
    return false;
}

// Ranks a candidate by key into the two parent slots: strictly greater wins, so the earlier one
// keeps a tie.
void rank(World& w, int i, float key, int candidate, float& best0, float& best1) {
    auto& padres = w.Padres[i];
    if (key > best0) {
        best1 = best0;
        padres[1] = padres[0];
        best0 = key;
        padres[0] = static_cast<std::int16_t>(candidate);
    } else if (key > best1) {
        best1 = key;
        padres[1] = static_cast<std::int16_t>(candidate);
    }
}

struct StrategyGroup {
    int representative;
    int count;
    float sum;
    float min;
};

std::vector<StrategyGroup> groupByStrategy(const World& w, GenerationReport& rep, SearchState& s,
                                           int i) {
    std::vector<StrategyGroup> groups;
    groups.reserve(kNumPositions + 1);
    groups.push_back({i, 1, rep.PagoTotal[i], rep.PagoTotal[i]});
    forEachCandidate(w, rep, s, i, [&](int j) {
        const float p = rep.PagoTotal[j];
        for (auto& g : groups) {
            if (MismoGenoma(w, j, g.representative, kActual) == 0) {
                ++g.count;
                g.sum += p;
                g.min = std::min(g.min, p);
                return;
            }
        }
        groups.push_back({j, 1, p, p});
    });
    return groups;
}

// Best Strategy ranks the groups by their average, Maxi Min by their lowest score; both let only
// the groups whose average reaches the reproduction threshold take part.
void groupRule(World& w, GenerationReport& rep, bool byMinimum) {
    prepareTrace(w, rep);
    SearchState s(w);
    for (int i = 1; i <= w.NumJugadores; ++i) {
        if (!startCell(w, rep, i)) continue;
        float best0 = 0, best1 = 0;
        for (const auto& g : groupByStrategy(w, rep, s, i)) {
            const float average = g.sum / static_cast<float>(g.count);
            if (!(average >= w.UmbralReproduccion)) continue;
            rank(w, i, byMinimum ? g.min : average, g.representative, best0, best1);
        }
    }
}

// The wheel is searched from both ends at once; with a total of 0 the draw is 0 and the search
// from the far end picks the last candidate.
int spinWheel(const std::vector<int>& candidates, const std::vector<float>& c, float r) {
    const int n = static_cast<int>(candidates.size()) - 1;
    for (int m = 1; m <= n; ++m) {
        if (r < c[m]) return candidates[m];
        if (c[n - m] <= r) return candidates[n - m + 1];
    }
    return -1;
}

}  // namespace

void ReglaMaxiMax(World& w, GenerationReport& rep) {
    prepareTrace(w, rep);
    const int n = w.NumJugadores;
    const Genoma* const genomes = w.genomes[kActual].data();
    // The visited marks of forEachCandidate, one place on: the place before cell 1's is
    // kNoPartner's, and it and every blank square's hold the largest mark, so that one test
    // (mark >= i) passes over an empty position, a cell already weighed and a blank square alike.
    // A blank square is never weighed, so marking it ahead changes nothing the search finds.
    std::vector<int> marks(static_cast<std::size_t>(n) + 2, 0);
    constexpr int kNeverWeighed = std::numeric_limits<int>::max();
    static_assert(kNoPartner == -1);
    int* const mark = marks.data() + 1;
    mark[kNoPartner] = kNeverWeighed;
    for (int c = 1; c <= n; ++c)
        if (isBlankSquare(genomes[c])) mark[c] = kNeverWeighed;

    const float* const pago = rep.PagoTotal.data();
    const float threshold = w.UmbralReproduccion, survival = w.UmbralSupervivencia;
    const bool sameNeighbours = w.options.MismosVecinos;
    const std::int32_t sharedMask = w.neighbourhood.MascaraVecinos[kActual];
    const auto* const rows = w.neighbourhood.Vecinos.data();
    auto* const padres = w.Padres.data();
    TransitionTrace* const trace = rep.transitionTrace.data();
    constexpr std::uint32_t kAllPositions = (1u << kNumPositions) - 1;
    // Under option [7] every cell searches the same positions: listed once, lowest first.
    std::array<std::uint8_t, kNumPositions> sharedPositions{};
    int sharedCount = 0;
    for (std::uint32_t m = static_cast<std::uint32_t>(sharedMask) & kAllPositions; m != 0;
         m &= m - 1)
        sharedPositions[sharedCount++] = static_cast<std::uint8_t>(std::countr_zero(m));
    // The runner-up's value runs on from one cell to the next; a first parent found resets it to
    // the cell's own score, so it only ever decides a second parent that is not copied.
    float best1 = 0;
    for (int i = 1; i <= n; ++i) {
        // classifySurvival, with the parents held in locals until the cell is done.
        const std::int16_t f = genomes[i].parte[0].Busqueda & 0xFF;
        if (isBlankSquare(f)) {
            padres[i] = {-1, -1};
            trace[i] = {};
            continue;
        }
        const float own = pago[i];
        int first = i, second = padres[i][1];
        if (diesUnderMaxiMax(own, f, survival, threshold)) first = second = 0;
        // forEachCandidate and rank, over the positions in the mask, lowest first.
        const std::int32_t mask = sameNeighbours ? sharedMask : genomes[i].VecinosImitacion;
        const std::array<std::int16_t, kNumPositions>& row = rows[i];
        float best0 = own;
        // Every position is weighed but those passed over, which are few.
        std::uint32_t weighed = static_cast<std::uint32_t>(mask) & kAllPositions;
        const auto weighAt = [&](int k) {
            const int j = row[k];
            if (mark[j] >= i) {
                weighed ^= 1u << k;
                return;
            }
            mark[j] = i;
            const float p = pago[j];
            if (!(p >= threshold)) return;
            if (p > best0) {
                best1 = best0;
                second = first;
                best0 = p;
                first = j;
            } else if (p > best1) {
                best1 = p;
                second = j;
            }
        };
        if (sameNeighbours) {
            for (int at = 0; at < sharedCount; ++at) weighAt(sharedPositions[at]);
        } else {
            for (std::uint32_t m = weighed; m != 0; m &= m - 1) weighAt(std::countr_zero(m));
        }
        padres[i] = {static_cast<std::int16_t>(first), static_cast<std::int16_t>(second)};
        trace[i].mask = mask;
        trace[i].weighed = static_cast<std::int32_t>(weighed);
        trace[i].found = row;
    }
}

void ReglaReplicador(World& w, GenerationReport& rep, Rng& rng) {
    prepareTrace(w, rep);
    SearchState s(w);
    std::vector<int> candidates;
    std::vector<float> c;
    for (int i = 1; i <= w.NumJugadores; ++i) {
        if (!startCell(w, rep, i)) continue;
        // Index 0 is the empty start of the running sums; candidate 1 is the cell itself.
        candidates.assign({0, i});
        c.assign({0.0f, rep.PagoTotal[i]});
        forEachCandidate(w, rep, s, i, [&](int j) {
            candidates.push_back(j);
            c.push_back(c.back() + rep.PagoTotal[j]);
        });
        for (int p = 0; p < 2; ++p) {
            const float r = rng.uniform() * c.back();
            rep.TiradaRuleta[i][p] = r;
            const int pick = spinWheel(candidates, c, r);
            if (pick > 0 && rep.PagoTotal[pick] >= w.UmbralReproduccion)
                w.Padres[i][p] = static_cast<std::int16_t>(pick);
        }
    }
}

void ReglaMejorEstrategia(World& w, GenerationReport& rep) {
    groupRule(w, rep, false);
}

void ReglaMaxiMin(World& w, GenerationReport& rep) {
    groupRule(w, rep, true);
}

void runTransitionRule(World& w, GenerationReport& rep, Rng& rng) {
    switch (w.options.Regla) {
        case 1:
            ReglaMaxiMax(w, rep);
            break;
        case 2:
            ReglaReplicador(w, rep, rng);
            break;
        case 4:
            ReglaMaxiMin(w, rep);
            break;
        default:
            ReglaMejorEstrategia(w, rep);
            break;
    }
    rep.transition.generation = w.Generacion;
    const std::uint8_t r = w.options.Regla;
    rep.transition.rule = r == 1 || r == 2 || r == 4 ? r : std::uint8_t{3};
    rep.transition.reproduceThreshold = w.UmbralReproduccion;
    rep.transition.parents = w.Padres;
}

int MismoGenoma(const World& w, int a, int b, int copia) {
    return sameStrategy(w.genoma(copia, a), w.genoma(copia, b)) ? 0 : 1;
}

namespace {

void copyPartLocus(const GenomePart& src, GenomePart& dst, int k) {
    switch (k) {
        case 1:
            dst.Busqueda = src.Busqueda;
            break;
        case 2:
            dst.Y0 = src.Y0;
            break;
        case 3:
            dst.Y1 = src.Y1;
            break;
        case 4:
            dst.Y2 = src.Y2;
            break;
        case 5:
            dst.Y3 = src.Y3;
            break;
        case 6:
            dst.X1 = src.X1, dst.X2 = src.X2;
            break;  // the inputs stay ordered together
        case 7:
            dst.SenIC = src.SenIC, dst.SenIA = src.SenIA, dst.SenIP = src.SenIP;
            break;
        case 8:
            dst.ValIC = src.ValIC;
            break;
        case 9:
            dst.ValIA = src.ValIA;
            break;
        case 10:
            dst.ValIP = src.ValIP;
            break;
        case 11:
            dst.Incertidumbre = src.Incertidumbre;
            break;
        case 12:
            dst.Irregular = src.Irregular;
            break;
        case 13:
            dst.TriggerMin = src.TriggerMin;
            break;
        case 14:
            dst.TriggerMax = src.TriggerMax;
            break;
        default:
            dst.Trigger = src.Trigger;
            break;
    }
}

void copyLocus(const Genoma& src, Genoma& dst, int locus) {
    if (locus <= 30) {
        const int p = (locus - 1) / 15;
        copyPartLocus(src.parte[p], dst.parte[p], (locus - 1) % 15 + 1);
    } else if (locus == 31) {
        dst.VecinosImitacion = src.VecinosImitacion;
    } else {
        dst.Colores[locus - 32] = src.Colores[locus - 32];
    }
}

}  // namespace

int CopiarGenoma(World& w, Rng& rng, int dest, int a, int b, int from, int to, int keepFont) {
    int cut = kNumLoci;
    int puntoCorte = -1;
    bool secondUpToCut = false;
    if ((w.options.Opciones[kActual] & 256) == 0) {
        cut = std::min(static_cast<int>(rng.integer(37, 1)), kNumLoci);
        puntoCorte = cut;
        secondUpToCut = rng.uniform() <= 0.5f;
    }
    // Every field belongs to exactly one locus, so the loci of one donor together are the donor:
    // the child starts as a whole copy of the donor of the longer side and takes the loci of the
    // shorter side one by one. Donors are read before dest is written, so a cell may copy from
    // itself or from a parent that is also being written.
    const Genoma& upToCut = w.genoma(from, secondUpToCut ? b : a);
    const Genoma& afterCut = w.genoma(from, secondUpToCut ? a : b);
    const bool longerUpToCut = a == b || 2 * cut >= kNumLoci;
    Genoma child = longerUpToCut ? upToCut : afterCut;
    if (longerUpToCut) {
        if (a != b)
            for (int locus = cut + 1; locus <= kNumLoci; ++locus) copyLocus(afterCut, child, locus);
    } else {
        for (int locus = 1; locus <= cut; ++locus) copyLocus(upToCut, child, locus);
    }
    Genoma& target = w.genoma(to, dest);
    // Loci 35..37, the bug colour, stay the cell's own when asked to.
    if (keepFont != 0)
        for (int c = 3; c < 6; ++c) child.Colores[c] = target.Colores[c];
    target = child;
    return puntoCorte;
}

}  // namespace morvane
