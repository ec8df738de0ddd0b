#include "cli/run_command.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <limits>

#include "cli/arguments.h"
#include "games/payoff.h"
#include "io/line_reader.h"

namespace morvane {

namespace {

constexpr auto kMaxInt = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
constexpr float kMaxFloat = std::numeric_limits<float>::max();

// Empty when every pay-off lies within the matrix's bound; else which one does not, and why.
std::string payoffBeyondBound(const std::array<float, 8>& p) {
    for (int i = 0; i < 8; ++i) {
        if (payoffWithinBound(p[i])) continue;
        char value[32];
        std::snprintf(value, sizeof value, "%g", static_cast<double>(p[i]));
        return std::string(kPayoffNames[i]) + " = " + value + " " + payoffBeyondBoundReason();
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
bool readWhole(CLI::App* app, const char* name, const std::string& text, std::uint64_t lo,
               std::uint64_t hi, std::uint64_t* value) {
    if (app->count(name) == 0) return false;
    if (auto bad = parsePlainWhole(text, lo, hi, value)) throw CLI::ValidationError(name, *bad);
    return true;
}

void readRealOption(CLI::App* app, const char* name, const std::string& text, float lo, float hi,
                    std::optional<float>* into) {
    if (app->count(name) == 0) return;
    float v = 0;
    if (auto bad = parseReal(text, lo, hi, &v)) throw CLI::ValidationError(name, *bad);
    *into = v;
}

// "K=on" or "K=off", K one of the run options 0..9.
void readRunOption(const std::string& text, RunSettings* s) {
    const auto equals = text.find('=');
    const std::string item = text.substr(0, equals),
                      state = equals == std::string::npos ? "" : text.substr(equals + 1);
    std::uint64_t k = 0;
    if (equals == std::string::npos || (state != "on" && state != "off"))
        throw CLI::ValidationError("--option", quoteToken(text) + " is not K=on or K=off");
    if (auto bad = parsePlainWhole(item, 0, 9, &k)) throw CLI::ValidationError("--option", *bad);
    s->option[k] = state == "on";
}

}  // namespace

RunCommand::RunCommand(CLI::App& app)
    : run_(app.add_subcommand("run",
                              "Play a scenario (or a fresh start-up world) for N generations.")) {
    run_->add_option("scenario", scenario_, "Scenario file (.dpt); without one, the start-up world")
        ->check(scenarioFile());
    run_->add_option("--generations", generations_, "Generations to play (0: load, prepare, save)");
    run_->add_option("--seed", seed_, "Seed for a reproducible run");
    run_->add_option("--csv", csv_, "CSV of statistics per generation ('-' for stdout)");
    run_->add_option("--save", save_, "Save the final world as a scenario file");
    run_->add_option("--png", png_, "Save the final board as a PNG image");
    run_->add_flag("--quiet", opts_.quiet, "No progress bar");
    run_->add_option("--payoffs", payoffs_, "Pay-offs T1,R1,P1,S1,T2,R2,P2,S2");
    run_->add_option("--rule", rule_, "Transition rule")
        ->check(CLI::IsMember({"maximax", "replicator", "best", "maximin"}));
    run_->add_option("--neighbourhood", neighbourhood_, "Neighbourhood type 0..14");
    run_->add_option("--iterations", iterations_, "Iterations per generation 1..10");
    run_->add_option("--mutation", mutation_, "Mutation frequency 0..1 (0 turns mutation off)");
    run_->add_option("--threshold-today", thresholdToday_,
                     "Minimum to survive today (after a move)");
    run_->add_option("--threshold-survive", thresholdSurvive_,
                     "Minimum to survive after a generation");
    run_->add_option("--threshold-reproduce", thresholdReproduce_,
                     "Minimum to reproduce after a generation");
    run_->add_option("--sum-mode", sumMode_,
                     "Scores: 1 total, 2 per move played, 3 per potential move");
    run_->add_option("--option", options_, "Run option K ticked or not: K=on, K=off (K 0..9)")
        ->allow_extra_args(false);
}

void RunCommand::read() {
    RunSettings& s = opts_.settings;
    std::uint64_t value = 0;
    if (readWhole(run_, "--generations", generations_, 0, kMaxInt, &value))
        opts_.generations = static_cast<int>(value);
    if (readWhole(run_, "--seed", seed_, 0, std::numeric_limits<std::uint64_t>::max(), &value))
        opts_.seed = value;
    if (readWhole(run_, "--neighbourhood", neighbourhood_, 0, 14, &value))
        s.neighbourhood = static_cast<int>(value);
    if (readWhole(run_, "--iterations", iterations_, 1, 10, &value))
        s.iterations = static_cast<int>(value);
    if (readWhole(run_, "--sum-mode", sumMode_, 1, 3, &value)) s.sumMode = static_cast<int>(value);
    if (run_->count("--payoffs")) {
        std::array<float, 8> p{};
        if (auto bad = parsePayoffs(payoffs_, &p)) throw CLI::ValidationError("--payoffs", *bad);
        if (auto err = payoffBeyondBound(p); !err.empty())
            throw CLI::ValidationError("--payoffs", err);
        for (int i = 0; i < 8; ++i) s.payoff[i] = p[i];
    }
    readRealOption(run_, "--mutation", mutation_, 0.0f, 1.0f, &s.mutation);
    readRealOption(run_, "--threshold-today", thresholdToday_, -kMaxFloat, kMaxFloat,
                   &s.thresholdToday);
    readRealOption(run_, "--threshold-survive", thresholdSurvive_, -kMaxFloat, kMaxFloat,
                   &s.thresholdSurvive);
    readRealOption(run_, "--threshold-reproduce", thresholdReproduce_, -kMaxFloat, kMaxFloat,
                   &s.thresholdReproduce);
    for (const auto& text : options_) readRunOption(text, &s);
    if (s.mutation && s.option[0]) {
        throw CLI::ValidationError(
            "--option",
            "0 and --mutation both given: a mutation above 0 ticks option 0, 0 unticks it");
    }
    if (run_->count("--rule")) {
        for (std::size_t i = 0; i < kRuleNames.size(); ++i)
            if (rule_ == kRuleNames[i]) s.rule = static_cast<int>(i) + 1;
    }
    if (!scenario_.empty()) opts_.scenario = scenario_;
    if (run_->count("--csv")) opts_.csvPath = csv_;
    if (run_->count("--save")) opts_.savePath = save_;
    if (run_->count("--png")) opts_.pngPath = png_;
}

int RunCommand::execute() {
    const bool bar = !opts_.quiet && isatty(STDERR_FILENO);
    const auto outcome = runBatch(opts_, bar ? ProgressFn(showProgress) : nullptr);
    if (!outcome.message.empty()) std::cerr << "morvane-cli: " << outcome.message << "\n";
    return outcome.exitCode;
}

}  // namespace morvane
