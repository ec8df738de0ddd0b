// morvane-cli: runs scenarios headless, for batch research.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <limits>

#include "cli/arguments.h"
#include "cli/batch_run.h"
#include "games/payoff.h"
#include "io/interrupt_policy.h"

namespace {

using morvane::BatchOptions;

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

// The scenario must be a file that exists; said in the words of the program's other messages.
CLI::Validator scenarioFile() {
    return CLI::Validator(
        [](std::string& path) -> std::string {
            std::error_code ec;
            const auto status = std::filesystem::status(path, ec);
            if (std::filesystem::is_directory(status)) return path + " is a folder, not a file";
            if (!std::filesystem::exists(status)) return path + " does not exist";
            return {};
        },
        "FILE");
}

// Whole-number options arrive as text and are read by one strict rule, so no spelling of a number
// is quietly taken for another.
struct WholeOption {
    const char* name;
    CLI::Option* option;
    std::string text;
    std::uint64_t lo, hi;
};

bool readWhole(const WholeOption& o, std::uint64_t* value) {
    if (!*o.option) return false;
    if (auto bad = morvane::parsePlainWhole(o.text, o.lo, o.hi, value))
        throw CLI::ValidationError(o.name, *bad);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    morvane::installInterruptPolicy();
    CLI::App app{"Morvane: spatial evolutionary game theory, run headless."};
    app.require_subcommand(1);
    BatchOptions opts;
    CLI::App* run =
        app.add_subcommand("run", "Play a scenario (or a fresh start-up world) for N generations.");

    std::string scenario, payoffs, rule, mutation;
    run->add_option("scenario", scenario, "Scenario file (.dpt); without one, the start-up world")
        ->check(scenarioFile());
    constexpr auto kMaxInt = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
    WholeOption generations{"--generations", nullptr, {}, 0, kMaxInt};
    WholeOption seed{"--seed", nullptr, {}, 0, std::numeric_limits<std::uint64_t>::max()};
    WholeOption neighbourhood{"--neighbourhood", nullptr, {}, 0, 14};
    WholeOption iterations{"--iterations", nullptr, {}, 1, 10};
    generations.option = run->add_option("--generations", generations.text,
                                         "Generations to play (0: load, prepare, save)");
    seed.option = run->add_option("--seed", seed.text, "Seed for a reproducible run");
    std::string csv, save, png;
    auto* csvOpt =
        run->add_option("--csv", csv, "CSV of statistics per generation ('-' for stdout)");
    auto* saveOpt = run->add_option("--save", save, "Save the final world as a scenario file");
    auto* pngOpt = run->add_option("--png", png, "Save the final board as a PNG image");
    run->add_flag("--quiet", opts.quiet, "No progress bar");
    auto* payOpt = run->add_option("--payoffs", payoffs, "Pay-offs T1,R1,P1,S1,T2,R2,P2,S2");
    auto* ruleOpt = run->add_option("--rule", rule, "Transition rule")
                        ->check(CLI::IsMember({"maximax", "replicator", "best", "maximin"}));
    neighbourhood.option =
        run->add_option("--neighbourhood", neighbourhood.text, "Neighbourhood type 0..14");
    iterations.option =
        run->add_option("--iterations", iterations.text, "Iterations per generation 1..10");
    auto* mutOpt =
        run->add_option("--mutation", mutation, "Mutation frequency 0..1 (0 turns mutation off)");

    try {
        app.parse(argc, argv);
        std::uint64_t value = 0;
        if (readWhole(generations, &value)) opts.generations = static_cast<int>(value);
        if (readWhole(seed, &value)) opts.seed = value;
        if (readWhole(neighbourhood, &value)) opts.neighbourhood = static_cast<int>(value);
        if (readWhole(iterations, &value)) opts.iterations = static_cast<int>(value);
        if (*payOpt) {
            std::array<float, 8> p{};
            if (auto bad = morvane::parsePayoffs(payoffs, &p))
                throw CLI::ValidationError("--payoffs", *bad);
            if (auto err = payoffBeyondBound(p); !err.empty())
                throw CLI::ValidationError("--payoffs", err);
            opts.payoffs = p;
        }
        if (*mutOpt) {
            float m = 0;
            if (auto bad = morvane::parseReal(mutation, 0.0f, 1.0f, &m))
                throw CLI::ValidationError("--mutation", *bad);
            opts.mutation = m;
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
    if (*csvOpt) opts.csvPath = csv;
    if (*saveOpt) opts.savePath = save;
    if (*pngOpt) opts.pngPath = png;
    if (*ruleOpt) {
        const char* names[] = {"maximax", "replicator", "best", "maximin"};
        for (int i = 0; i < 4; ++i)
            if (rule == names[i]) opts.rule = i + 1;
    }

    const bool bar = !opts.quiet && isatty(STDERR_FILENO);
    const auto outcome = morvane::runBatch(opts, bar ? morvane::ProgressFn(showProgress) : nullptr);
    if (!outcome.message.empty()) std::cerr << "morvane-cli: " << outcome.message << "\n";
    return outcome.exitCode;
}
