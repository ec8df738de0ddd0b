#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "core/simulation.h"
#include "core/startup.h"
#include "support/world_digest.h"

namespace morvane {
namespace {

// Two seeded runs of kGenerations generations, digested after every generation: the largest world
// the start-up window makes with every mechanism of the busy world on (24 partners, 10 iterations,
// Replicator Dynamics, crossover, mutation) and the start-up world itself. Any change to what a
// generation computes, down to the last bit of a score, changes the digest; work that only makes
// the generation faster must leave it as it is.
// Short enough to run under the sanitizers as well; the golden CSV run covers the long haul.
constexpr int kGenerations = 25;

std::uint64_t digestOfRun(bool busy) {
    Simulation sim(2024);
    if (busy)
        makeBusyWorld(sim.state(), sim.rng(), 40, 50, 12, 10);
    else
        makeStartupWorld(sim.state(), sim.rng());
    sim.clearReport();
    std::uint64_t run = 0;
    sim.run(kGenerations, [&](int) {
        run = testing::foldDigest(
            run, testing::worldDigest(sim.state(), sim.report(), sim.scratch().MuertoHoy));
    });
    return run;
}

TEST(GoldenHash, SeededRunsOfTheBusyAndTheStartupWorld) {
    struct Row {
        const char* name;
        bool busy;
        std::uint64_t expected;
    };
    const Row rows[] = {
        {"busy world 40 x 50", true, 0x4f9bd09a6b47b3bfULL},
        {"start-up world 25 x 40", false, 0x7169da25d9815512ULL},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::uint64_t digest = digestOfRun(r.busy);
        std::printf("%s: %016llx\n", r.name, static_cast<unsigned long long>(digest));
        EXPECT_EQ(digest, r.expected);
    }
}

}  // namespace
}  // namespace morvane
