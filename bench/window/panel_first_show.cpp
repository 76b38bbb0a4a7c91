// The lighting panel's cost, once, in a fresh keyloom main window against the
// simulated keyboard (skin and language file the build drew), on whatever
// display the environment gives (window_startup.sh runs it under Xvfb):
//   build      building the panel at its first use, in a window connected and
//              idle but not yet shown (as a start hidden in the tray has it),
//              and what that adds to the resident memory;
//   view on    the lighting view switched on for the first time in the shown
//              window, until its controls are painted (this includes the
//              switch to the active profile on the keyboard), and the memory
//              that adds;
//   settled    the resident memory of the shown window afterwards.
// Prints one line of "name value" pairs:
//   build_ms 21.3 build_kb 2100 view_on_ms 30.1 view_on_kb 800 settled_kb 41000
//
//   bench_panel_first_show

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "EventPump.h"
#include "lighting/qt/LightingPanel.h"
#include "model/KeyTable.h"
#include "shell/CKeyloomDlg.h"
#include "sim/SimBackend.h"
#include "storage/AppPaths.h"
#include "storage/Language.h"
#include "storage/SystemLanguage.h"

namespace {

using namespace keyloom;

using keyloom::bench::pumpUntil;

// Handles what is waiting (posted events, the paints they ask for) until
// nothing is left.
void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

double msSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QApplication application(argc, argv);

    QTemporaryDir dir;
    AppPaths paths;
    AppPathsOptions options;
    options.programFolder = KEYLOOM_BENCH_PROGRAM_DIR "/";
    options.dataFolder = dir.filePath("data").toStdString();
    options.registryFile = dir.filePath("registry.ini").toStdString();
    if (buildAppPaths(options, paths) != AppPathsStatus::Ok) {
        std::fprintf(stderr, "panel_first_show: no program folder\n");
        return 2;
    }
    auto registry = std::make_shared<registry::Registry>(paths.registryFile);
    installLanguageFiles(
        std::make_shared<LanguageFiles>(paths.programFolder, registry, systemLanguageId()));
    SetKeyTextLookup([](std::string_view key) { return lookupText(key); });
    auto backend = std::make_shared<sim::SimBackend>();
    backend->addKeyboard(sim::kModel652F, 32);
    hid::HidPlatform platform;
    platform.addBackend(backend);
    ReportTrace trace;

    shell::DialogSetup setup;
    setup.paths = paths;
    setup.registry = registry;
    setup.core.platform = &platform;
    setup.core.trace = &trace;
    setup.core.startHidden = true;  // the window stays hidden until shown below
    setup.trayAvailable = [] { return false; };
    auto dialog = std::make_unique<shell::CKeyloomDlg>(std::move(setup));
    if (!dialog->initialise().ok) {
        std::fprintf(stderr, "panel_first_show: the window did not initialise\n");
        return 2;
    }
    const ConnectionValues& values = dialog->core().state().connection;
    if (!pumpUntil([&] { return values.state.load() == 1 && !values.busy.load(); })) {
        std::fprintf(stderr, "panel_first_show: no connection\n");
        return 2;
    }
    settle();

    const long beforeBuild = residentKb();
    QElapsedTimer clock;
    clock.start();
    lighting::qt::LightingPanel* panel = dialog->lightingPanel();
    const double buildMs = msSince(clock);
    const long afterBuild = residentKb();
    if (!panel) {
        std::fprintf(stderr, "panel_first_show: no lighting panel\n");
        return 2;
    }

    dialog->showNormal();
    if (!pumpUntil([&] { return dialog->isVisible(); })) {
        std::fprintf(stderr, "panel_first_show: the window did not show\n");
        return 2;
    }
    settle();
    const long beforeView = residentKb();
    clock.restart();
    panel->clickLightingSwitch(true);
    const bool on = pumpUntil([&] { return panel->lightingViewOn() && !dialog->isBusy(); });
    settle();
    const double viewMs = msSince(clock);
    if (!on) {
        std::fprintf(stderr, "panel_first_show: the lighting view did not turn on\n");
        return 2;
    }
    const long afterView = residentKb();

    std::printf("build_ms %.2f build_kb %ld view_on_ms %.2f view_on_kb %ld settled_kb %ld\n",
                buildMs, afterBuild - beforeBuild, viewMs, afterView - beforeView, residentKb());
    std::fflush(stdout);
    dialog->shutdown();
    dialog.reset();
    return 0;
}
