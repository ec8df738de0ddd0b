// morvane-cli: runs scenarios headless, for batch research.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "cli/batch_run.h"
#include "games/payoff.h"

namespace {

using morvane::BatchOptions;

// "T1,R1,P1,S1,T2,R2,P2,S2": eight finite numbers.
std::string parsePayoffs(const std::string& text, std::array<float, 8>& out) {
    std::stringstream in(text);
    std::string item;
    int n = 0;
    while (std::getline(in, item, ',')) {
        if (n == 8) return "expects exactly eight numbers";
        std::size_t used = 0;
        float v = 0;
        try {
            v = std::stof(item, &used);
        } catch (...) {
            return "'" + item + "' is not a number";
        }
        if (used != item.size() || !std::isfinite(v))
            return "'" + item + "' is not a finite number";
        out[n++] = v;
    }
    if (n != 8) return "expects exactly eight numbers";
    return {};
}

// Empty when every pay-off lies within the matrix's bound; else which one does not, and why.
std::string payoffBeyondBound(const std::array<float, 8>& p) {
    static const char* const names[8] = {"T1", "R1", "P1", "S1", "T2", "R2", "P2", "S2"};
    for (int i = 0; i < 8; ++i) {
        if (morvane::payoffWithinBound(p[i])) continue;
        char value[32];
        std::snprintf(value, sizeof value, "%g", static_cast<double>(p[i]));
        return std::string(names[i]) + " = " + value + " " + morvane::payoffBeyondBoundReason();
    }
    return {};
}

void showProgress(int done, int total) {
    const int width = 40;
    const int filled = total > 0 ? done * width / total : width;
    std::fprintf(stderr, "\r[%s%s] %d/%d", std::string(filled, '#').c_str(),
                 std::string(width - filled, ' ').c_str(), done, total);
    if (done == total) std::fputc('\n', stderr);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Morvane: spatial evolutionary game theory, run headless."};
    app.require_subcommand(1);
    BatchOptions opts;
    CLI::App* run =
        app.add_subcommand("run", "Play a scenario (or a fresh start-up world) for N generations.");

    std::string scenario, payoffs, rule;
    run->add_option("scenario", scenario, "Scenario file (.dpt); without one, the start-up world")
        ->check(CLI::ExistingFile);
    run->add_option("--generations", opts.generations,
                    "Generations to play (0: load, prepare, save)")
        ->check(CLI::NonNegativeNumber);
    std::uint64_t seed = 0;
    auto* seedOpt = run->add_option("--seed", seed, "Seed for a reproducible run");
    std::string csv, save, png;
    auto* csvOpt =
        run->add_option("--csv", csv, "CSV of statistics per generation ('-' for stdout)");
    auto* saveOpt = run->add_option("--save", save, "Save the final world as a scenario file");
    auto* pngOpt = run->add_option("--png", png, "Save the final board as a PNG image");
    run->add_flag("--quiet", opts.quiet, "No progress bar");
    auto* payOpt = run->add_option("--payoffs", payoffs, "Pay-offs T1,R1,P1,S1,T2,R2,P2,S2");
    auto* ruleOpt = run->add_option("--rule", rule, "Transition rule")
                        ->check(CLI::IsMember({"maximax", "replicator", "best", "maximin"}));
    int neighbourhood = 0, iterations = 0;
    float mutation = 0;
    auto* nbOpt = run->add_option("--neighbourhood", neighbourhood, "Neighbourhood type 0..14")
                      ->check(CLI::Range(0, 14));
    auto* itOpt = run->add_option("--iterations", iterations, "Iterations per generation 1..10")
                      ->check(CLI::Range(1, 10));
    auto* mutOpt =
        run->add_option("--mutation", mutation, "Mutation frequency 0..1 (0 turns mutation off)")
            ->check(CLI::Range(0.0, 1.0));

    try {
        app.parse(argc, argv);
        if (*payOpt) {
            std::array<float, 8> p{};
            if (auto err = parsePayoffs(payoffs, p); !err.empty())
                throw CLI::ValidationError("--payoffs", err);
            if (auto err = payoffBeyondBound(p); !err.empty())
                throw CLI::ValidationError("--payoffs", err);
            opts.payoffs = p;
        }
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }
    if (!scenario.empty()) opts.scenario = scenario;
    if (*seedOpt) opts.seed = seed;
    if (*csvOpt) opts.csvPath = csv;
    if (*saveOpt) opts.savePath = save;
    if (*pngOpt) opts.pngPath = png;
    if (*ruleOpt) {
        const char* names[] = {"maximax", "replicator", "best", "maximin"};
        for (int i = 0; i < 4; ++i)
            if (rule == names[i]) opts.rule = i + 1;
    }
    if (*nbOpt) opts.neighbourhood = neighbourhood;
    if (*itOpt) opts.iterations = iterations;
    if (*mutOpt) {
        if (!std::isfinite(mutation)) {
            std::cerr << "--mutation: not a number\n";
            return 2;
        }
        opts.mutation = mutation;
    }

    const bool bar = !opts.quiet && isatty(STDERR_FILENO);
    const auto outcome = morvane::runBatch(opts, bar ? morvane::ProgressFn(showProgress) : nullptr);
    if (!outcome.message.empty()) std::cerr << "morvane-cli: " << outcome.message << "\n";
    return outcome.exitCode;
}
