#include "cli/batch_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "cli/board_image.h"
#include "core/simulation.h"
#include "core/statistics.h"
#include "games/payoff.h"
#include "io/scenario_file.h"
#include "io/statistics_csv.h"
#include "world/neighbourhood.h"

namespace morvane {

namespace {

// A CSV that appears under its name only once it was written whole; "-" writes to standard output.
class CsvSink {
public:
    bool open(const std::string& path, std::string* error) {
        path_ = path;
        if (path == "-") return true;
        tmp_ = path + ".tmp~";
        file_ = std::make_unique<std::ofstream>(tmp_, std::ios::binary | std::ios::trunc);
        if (!*file_) {
            *error = "cannot write " + path;
            return false;
        }
        return true;
    }
    bool write(const std::string& text) {
        if (path_ == "-") {
            std::cout << text << std::flush;
            return static_cast<bool>(std::cout);
        }
        *file_ << text;
        return static_cast<bool>(*file_);
    }
    bool commit(std::string* error) {
        if (path_ == "-") return true;
        file_->close();
        std::error_code ec;
        if (!*file_ || (std::filesystem::rename(tmp_, path_, ec), ec)) {
            *error = "cannot write " + path_;
            discard();
            return false;
        }
        return true;
    }
    void discard() {
        if (!file_) return;
        file_.reset();
        std::error_code ec;
        std::filesystem::remove(tmp_, ec);
    }
    ~CsvSink() { discard(); }

private:
    std::string path_, tmp_;
    std::unique_ptr<std::ofstream> file_;
};

void applyOverrides(World& w, const BatchOptions& o) {
    if (o.payoffs) {
        const auto& p = *o.payoffs;
        w.pagos.T[1] = p[0], w.pagos.R[1] = p[1], w.pagos.P[1] = p[2], w.pagos.S[1] = p[3];
        w.pagos.T[2] = p[4], w.pagos.R[2] = p[5], w.pagos.P[2] = p[6], w.pagos.S[2] = p[7];
        UpdatePayoffMatrix(w.pagos);
    }
    if (o.rule) {
        w.opciones.mnuRegla = {false, false, false, false};
        clickRegla(w, *o.rule - 1);
    }
    if (o.neighbourhood) ChooseNeighbourhood(w, *o.neighbourhood);
    if (o.iterations) w.Iteraciones = static_cast<std::uint8_t>(*o.iterations);
    if (o.mutation) {
        w.FrecMutacion = *o.mutation;
        w.opciones.mnuOpcion[0] = *o.mutation > 0.0f;
        recomputeOpciones(w);
    }
}

}  // namespace

BatchOutcome runBatch(const BatchOptions& opts, const ProgressFn& progress) {
    auto sim = opts.seed ? std::make_unique<Simulation>(*opts.seed) : std::make_unique<Simulation>();
    if (opts.scenario) {
        const auto loaded = sim->load(*opts.scenario);
        if (!loaded.ok)
            return {2, *opts.scenario + ":" + std::to_string(loaded.line) + ": " + loaded.reason};
    } else {
        sim->start();
    }
    World& w = sim->state();
    applyOverrides(w, opts);

    std::string error;
    CsvSink csv;
    const auto slots = countedSlots(w);
    if (opts.csvPath && (!csv.open(*opts.csvPath, &error) || !csv.write(csvHeader(w, slots))))
        return {1, error.empty() ? "cannot write " + *opts.csvPath : error};

    sim->prepare();
    for (int g = 0; g < opts.generations; ++g) {
        sim->step();
        if (opts.csvPath && !csv.write(csvRow(collectStatistics(w, sim->report(), slots))))
            return {1, "cannot write " + *opts.csvPath};
        if (progress) progress(g + 1, opts.generations);
    }
    if (opts.csvPath && !csv.commit(&error)) return {1, error};
    if (opts.savePath) {
        const auto saved = GuardarEscenario(w, *opts.savePath);
        if (!saved.ok) return {1, "cannot save " + *opts.savePath + ": " + saved.reason};
    }
    if (opts.pngPath && !saveBoardPng(w, *opts.pngPath, &error)) return {1, error};
    return {0, {}};
}

}  // namespace morvane
