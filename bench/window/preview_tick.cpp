// One tick of the lighting preview in the main window, offscreen: the frame
// computed and the keys whose colour changed repainted, against a simulated
// keyboard with the skin and language file the build drew. Effect 1 (the
// hue wave) changes every key each tick, effect 6 (static rings) none after
// its first frame: the dearest and the cheapest tick.
//   bench_preview_tick [--benchmark_repetitions=N]

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "EventPump.h"
#include "lighting/qt/LightingPanel.h"
#include "model/KeyTable.h"
#include "platform/window/WindowMessages.h"
#include "shell/CKeyloomDlg.h"
#include "sim/SimBackend.h"
#include "storage/AppPaths.h"
#include "storage/Language.h"
#include "storage/SystemLanguage.h"

namespace {

using namespace keyloom;

using keyloom::bench::pumpUntil;

struct PreviewWindow {
    QTemporaryDir dir;
    AppPaths paths;
    std::shared_ptr<sim::SimBackend> backend = std::make_shared<sim::SimBackend>();
    hid::HidPlatform platform;
    ReportTrace trace;
    std::unique_ptr<shell::CKeyloomDlg> dialog;
    bool ready = false;

    PreviewWindow() {
        platform.addBackend(backend);
        AppPathsOptions options;
        options.programFolder = KEYLOOM_BENCH_PROGRAM_DIR "/";
        options.dataFolder = dir.filePath("data").toStdString();
        options.registryFile = dir.filePath("registry.ini").toStdString();
        if (buildAppPaths(options, paths) != AppPathsStatus::Ok)
            return;
        auto registry = std::make_shared<registry::Registry>(paths.registryFile);
        installLanguageFiles(
            std::make_shared<LanguageFiles>(paths.programFolder, registry, systemLanguageId()));
        SetKeyTextLookup([](std::string_view key) { return lookupText(key); });
        backend->addKeyboard(sim::kModel652F, 32);

        shell::DialogSetup setup;
        setup.paths = paths;
        setup.registry = registry;
        setup.core.platform = &platform;
        setup.core.trace = &trace;
        setup.trayAvailable = [] { return false; };
        dialog = std::make_unique<shell::CKeyloomDlg>(std::move(setup));
        if (!dialog->initialise().ok)
            return;
        const ConnectionValues& values = dialog->core().state().connection;
        if (!pumpUntil([&] {
                return values.state.load() == 1 && !values.busy.load() && dialog->isVisible();
            }))
            return;
        lighting::qt::LightingPanel& panel = *dialog->lightingPanel();
        panel.clickLightingSwitch(true);
        ready = pumpUntil([&] { return panel.lightingViewOn() && !dialog->isBusy(); });
    }
    ~PreviewWindow() {
        if (dialog)
            dialog->shutdown();
    }

    bool selectEffect(std::uint8_t effect) {
        lighting::qt::LightingPanel& panel = *dialog->lightingPanel();
        const int position = panel.controller()->effects().positionOf(effect);
        if (position < 0)
            return false;
        panel.effectList()->setCurrentIndex(position);
        emit panel.effectList()->activated(position);
        return pumpUntil([&] { return !dialog->isBusy(); });
    }

    // One tick and the repaint it asked for; the window's own timer is held
    // so that only the measured ticks run.
    std::size_t tick() {
        lighting::qt::LightingPanel& panel = *dialog->lightingPanel();
        panel.previewTick();
        dialog->timer(window::timer::kStartup).stop();
        QApplication::sendPostedEvents();
        QApplication::processEvents();
        return panel.keysRepaintedLastTick();
    }
};

PreviewWindow& previewWindow() {
    static PreviewWindow instance;
    return instance;
}

void BM_PreviewTick(benchmark::State& state) {
    PreviewWindow& w = previewWindow();
    if (!w.ready || !w.selectEffect(static_cast<std::uint8_t>(state.range(0)))) {
        state.SkipWithError("the window or the effect is not there");
        return;
    }
    w.tick();  // the first frame after the change paints every key
    std::size_t repainted = 0;
    for (auto _ : state)
        repainted = w.tick();
    state.counters["keys"] = static_cast<double>(repainted);
}
BENCHMARK(BM_PreviewTick)->Arg(1)->Arg(6)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    previewWindow().dialog.reset();
    return 0;
}
