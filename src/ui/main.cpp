// morvane: the windowed simulator. Starts with the start-up window "Main", or with a scenario open
// in the world window.
#include <QApplication>
#include <QTimer>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/version.h"
#include "ui/frm_about.h"
#include "ui/frm_partidas.h"
#include "ui/frm_principal.h"
#include "ui/session.h"

namespace {

const char* const kUsage =
    "Usage: morvane [--seed S] [SCENARIO.dpt]\n"
    "\n"
    "Morvane: spatial evolutionary game theory on a wrap-around world of bugs.\n"
    "\n"
    "  SCENARIO.dpt   open this scenario in the world window, the start-up window behind it\n"
    "  --seed S       seed the random generator with the whole number S, for a reproducible run\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and the source revision and exit\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are passed on to Qt.\n";

struct Arguments {
    bool help = false;
    std::string error;
    std::optional<std::uint64_t> seed;
    std::optional<std::string> scenario;
    bool version = false;
};

// Qt's options that take a value: their value is not the scenario.
bool isQtOptionWithValue(const std::string& a) {
    static const std::vector<std::string> names{"platform",        "platformpluginpath",
                                                "platformtheme",   "plugin",
                                                "qwindowgeometry", "qwindowicon",
                                                "qwindowtitle",    "style",
                                                "stylesheet",      "geometry",
                                                "title",           "display",
                                                "session",         "name",
                                                "qmljsdebugger"};
    std::string name = a.substr(a.find_first_not_of('-'));
    for (const auto& n : names)
        if (name == n) return true;
    return false;
}

bool isQtOption(const std::string& a) {
    static const std::vector<std::string> flags{"reverse", "widgetcount", "nograb", "dograb",
                                                "sync"};
    if (isQtOptionWithValue(a)) return true;
    const std::string name = a.substr(a.find_first_not_of('-'));
    for (const auto& f : flags)
        if (name == f) return true;
    return false;
}

std::optional<std::uint64_t> parseSeed(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    try {
        return std::stoull(text);
    } catch (...) {
        return std::nullopt;
    }
}

// Read before the application exists, so that --help and mistakes need no display.
Arguments parseArguments(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            args.help = true;
        } else if (a == "--version") {
            args.version = true;
        } else if (a == "--seed" || a.rfind("--seed=", 0) == 0) {
            std::string value;
            if (a == "--seed") {
                if (i + 1 >= argc) return {false, "--seed needs a whole number", {}, {}};
                value = argv[++i];
            } else {
                value = a.substr(7);
            }
            args.seed = parseSeed(value);
            if (!args.seed)
                return {false, "--seed needs a whole number, not '" + value + "'", {}, {}};
        } else if (a.size() > 1 && a[0] == '-') {
            if (!isQtOption(a)) return {false, "unknown option '" + a + "'", {}, {}};
            if (isQtOptionWithValue(a) && a.find('=') == std::string::npos) ++i;
        } else if (args.scenario) {
            return {false, "only one scenario can be opened", {}, {}};
        } else {
            args.scenario = a;
        }
    }
    return args;
}

}  // namespace

int main(int argc, char** argv) {
    const Arguments args = parseArguments(argc, argv);
    if (args.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.version) {
        std::printf("morvane %s (revision %s)\n", morvane::morvaneVersion(),
                    morvane::morvaneRevision());
        return 0;
    }
    if (!args.error.empty()) {
        std::fprintf(stderr, "morvane: %s\n\n%s", args.error.c_str(), kUsage);
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    // Where the remembered settings (window place, recent files, readable text) are kept.
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setWindowIcon(morvane::frmAbout::programIcon());

    morvane::Session& session = morvane::Session::instance();
    if (args.seed) session.seed(*args.seed);

    morvane::frmPrincipal principal;
    principal.setWorldWindowFactory([] { return new morvane::frmPartidas; });
    principal.show();
    if (args.scenario) {
        // As "Open" would, once the start-up window is up: a refused file leaves it alone.
        const QString path = QString::fromLocal8Bit(args.scenario->c_str());
        QTimer::singleShot(0, &principal, [&principal, path] { principal.openScenario(path); });
    }
    return QApplication::exec();
}
