// A fixed number of generations of one busy world, for measuring tools that want a plain program:
// callgrind and cachegrind count its instructions and misses, `time` its CPU seconds.
//   morvane_busy_run <world> <generations>   world 0: the largest window world (40 x 50, type 12,
//   10 iterations); world 1: the start-up world (25 x 40, type 12, 4 iterations)
// It prints the generation reached and one score, so that two builds can be seen to agree, and on
// stderr the CPU milliseconds a generation took, the set-up left out.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "core/simulation.h"
#include "core/startup.h"

int main(int argc, char** argv) {
    using namespace morvane;
    const std::string world = argc > 1 ? argv[1] : "";
    const int generations = argc > 2 ? std::atoi(argv[2]) : -1;
    if (argc != 3 || (world != "0" && world != "1") || generations < 0) {
        std::fprintf(stderr, "usage: morvane_busy_run <0|1> <generations>\n");
        return 2;
    }
    Simulation sim(12345);
    if (world == "0")
        makeBusyWorld(sim.state(), sim.rng(), 40, 50, 12, 10);
    else
        makeBusyWorld(sim.state(), sim.rng(), 25, 40, 12, 4);
    sim.clearReport();
    sim.prepare();
    const auto cpuSeconds = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    };
    const double start = cpuSeconds();
    for (int g = 0; g < generations; ++g) sim.step();
    if (generations > 0)
        std::fprintf(stderr, "%.4f ms a generation\n", (cpuSeconds() - start) * 1e3 / generations);
    std::printf("%d %f\n", sim.state().Generacion, static_cast<double>(sim.report().PagoTotal[5]));
    return 0;
}
