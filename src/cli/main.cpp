// morvane-cli: runs scenarios and sweeps of them headless, for batch research.
#include <CLI/CLI.hpp>

#include "base/version.h"
#include "cli/run_command.h"
#include "cli/sweep_command.h"
#include "io/interrupt_policy.h"

int main(int argc, char** argv) {
    morvane::installInterruptPolicy();
    CLI::App app{"Morvane: spatial evolutionary game theory, run headless."};
    app.set_version_flag("--version", std::string("morvane-cli ") + morvane::morvaneVersion() +
                                          " (revision " + morvane::morvaneRevision() + ")");
    app.require_subcommand(1);
    morvane::RunCommand run(app);
    morvane::SweepCommand sweep(app);
    try {
        app.parse(argc, argv);
        if (run.app()->parsed()) run.read();
        if (sweep.sweepApp()->parsed()) sweep.read();
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }
    if (run.app()->parsed()) return run.execute();
    if (sweep.sweepApp()->parsed()) return sweep.executeSweep();
    return sweep.executeMerge();
}
