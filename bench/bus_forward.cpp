// What a command costs when keyloomctl hands it to the running window
// program: the same command line run on the window's core as one keyboard
// job (its own keyboard work, the baseline), the call over the session bus as
// keyloomctl sends it, and the whole keyloomctl process. The difference
// between the first two is the forwarding's own cost (target <= 5 ms).
// Needs a session bus: run-all.sh starts a private one (dbus-run-session).
// The window thread serves the bus while the benchmarks run on a thread of
// their own.

#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <thread>

#include "cli/BusClient.h"
#include "cli/CommandLine.h"
#include "model/KeyTable.h"
#include "shell/CKeyloomDlg.h"
#include "shell/KeyloomBusService.h"
#include "sim/SimBackend.h"
#include "sim/SimModel.h"
#include "storage/Language.h"
#include "storage/LanguageTables.h"

namespace {

using namespace keyloom;

const std::vector<std::string> kCommand{"profile"};  // reads the parameter block

shell::CKeyloomDlg* mainWindow = nullptr;
cli::CliHost* host = nullptr;

// The window's core as a host, its prompts left alone (the command asks none).
class BenchHost : public cli::CliHost {
public:
    KeyloomCore& core() override { return mainWindow->core(); }
    void routePrompts(window::Prompter*) override {}
};

void BM_CommandOnCore(benchmark::State& state) {
    for (auto _ : state) {
        cli::CommandRun run;
        mainWindow->core().queue().runAndWait([&] { run = cli::runCommandLine(kCommand, *host); });
        if (run.exitCode != 0)
            state.SkipWithError(run.err.c_str());
    }
}
BENCHMARK(BM_CommandOnCore)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ForwardedCall(benchmark::State& state) {
    for (auto _ : state) {
        const auto run = cli::runInRunningKeyloom(kCommand, 60);
        if (!run || run->exitCode != 0)
            state.SkipWithError(run ? run->err.c_str() : "no Keyloom on the bus");
    }
}
BENCHMARK(BM_ForwardedCall)->UseRealTime()->Unit(benchmark::kMillisecond);

// keyloomctl as a user runs it; with --version it starts and ends only,
// which is the process's share of the first figure.
void runKeyloomctl(benchmark::State& state, const char* words) {
    const std::string command =
        std::string(KEYLOOM_BENCH_PROGRAM_DIR) + "/keyloomctl " + words + " >/dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("keyloomctl failed");
}
void BM_KeyloomctlProcess(benchmark::State& state) {
    runKeyloomctl(state, "profile");
}
void BM_KeyloomctlStartOnly(benchmark::State& state) {
    runKeyloomctl(state, "--version");
}
BENCHMARK(BM_KeyloomctlProcess)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyloomctlStartOnly)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const std::filesystem::path data = std::filesystem::temp_directory_path() /
                                       ("keyloom-bench-bus-" + std::to_string(::getpid()));
    AppPathsOptions options;
    options.programFolder = std::string(KEYLOOM_BENCH_PROGRAM_DIR) + "/";
    options.dataFolder = data.string();
    options.registryFile = (data / "registry.ini").string();
    AppPaths paths;
    if (buildAppPaths(options, paths) != AppPathsStatus::Ok)
        return 1;
    installLanguageFiles(
        std::make_shared<LanguageFiles>(paths.programFolder, nullptr, kFallbackLanguage));
    SetKeyTextLookup([](std::string_view key) { return lookupText(key); });

    hid::HidPlatform platform;
    auto backend = std::make_shared<sim::SimBackend>();
    platform.addBackend(backend);
    backend->addKeyboard(sim::kModel652F, 32);
    shell::DialogSetup setup;
    setup.paths = paths;
    setup.core.platform = &platform;
    setup.core.startHidden = true;
    setup.trayAvailable = [] { return false; };
    shell::CKeyloomDlg dialog(std::move(setup));
    if (!dialog.initialise().ok)
        return 1;
    shell::KeyloomBusService service(dialog);
    std::string error;
    if (!service.start(error)) {
        std::fprintf(stderr, "bench_bus_forward: %s\n", error.c_str());
        return 1;
    }
    mainWindow = &dialog;
    BenchHost benchHost;
    host = &benchHost;

    const ConnectionValues& values = dialog.core().state().connection;
    std::thread benchmarks;
    QTimer ready;
    QObject::connect(&ready, &QTimer::timeout, [&] {
        if (values.state.load() != 1 || values.busy.load() || values.activeProfile.load() < 0)
            return;
        ready.stop();
        benchmarks = std::thread([] {
            benchmark::RunSpecifiedBenchmarks();
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        });
    });
    ready.start(10);
    QApplication::exec();
    benchmarks.join();
    dialog.shutdown();
    std::filesystem::remove_all(data);
    benchmark::Shutdown();
    return 0;
}
