// Host time of the two big sequences against the simulated keyboard holding
// 100 macros of 40 events: the connection change with the full read it runs
// (default matrix, parameter block, all three key matrices and the macro area
// through the slot file, lighting records), and writing everything back.
// The benchmark's thread is the window thread, so the read-profile message
// runs in place.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/HeadlessBinding.h"
#include "core/KeyloomCore.h"
#include "core/window/HeadlessWindow.h"
#include "sim/SimBackend.h"

namespace {

using namespace keyloom;

constexpr int kMacroCount = 100;
constexpr std::size_t kEventsPerMacro = 40;
constexpr std::uint8_t kCapacityUnits = 160;  // 20,480 bytes

class Bench {
public:
    Bench() {
        char pattern[] = "/tmp/keyloom-bench-XXXXXX";
        folder_ = ::mkdtemp(pattern) ? pattern : "";
        ::setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        platform_.addBackend(backend_);
        keyboard_ = backend_->addKeyboard(sim::kModel652F, kCapacityUnits);

        AppPaths paths;
        paths.dataFolder = folder_ + "/data";
        paths.settingsFile = paths.dataFolder + "/tzkb.ini";
        paths.userModeFilePrefix = paths.dataFolder + "/UserDengColor_";
        paths.userModeTemplatePrefix = folder_ + "/UserDengColor_";
        CoreSetup setup;
        setup.platform = &platform_;
        setup.trace = &trace_;
        setup.startHidden = true;
        core_ = std::make_unique<KeyloomCore>(window_.coreWindow(), paths, setup);
        bindHeadlessWindow(window_, *core_);

        core_->link().openConfigurationDevice(keyboard_->configPath());
        core_->link().setConnected(true);
        core_->connectionChanged(1);
        fillMacros();
    }
    ~Bench() {
        core_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    KeyloomCore& core() { return *core_; }

private:
    void fillMacros() {
        {
            auto working = core_->workingStore().lock();
            for (int i = 1; i <= kMacroCount; ++i) {
                MacroRecord macro;
                macro.number = static_cast<std::uint16_t>(i);
                macro.name = u"Macro " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
                for (std::size_t e = 0; e < kEventsPerMacro; ++e)
                    macro.actions.push_back({5, 0x1E, static_cast<std::uint16_t>(e % 2)});
                working->macros.push_back(std::move(macro));
            }
            working->image->block(0)[0x1E] = {AssignmentKind::Macro, 1, 7};
        }
        core_->writeAll(true);
    }

    std::string folder_;
    std::shared_ptr<sim::SimBackend> backend_ = std::make_shared<sim::SimBackend>();
    std::shared_ptr<sim::SimKeyboard> keyboard_;
    hid::HidPlatform platform_;
    ReportTrace trace_;
    window::HeadlessWindow window_;
    std::unique_ptr<KeyloomCore> core_;
};

void BM_ConnectionChangeAndFullRead(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        bench.core().connectionChanged(0);
        bench.core().connectionChanged(1);
    }
    auto working = bench.core().workingStore().lock();
    if (working->macros.size() != kMacroCount)
        state.SkipWithError("the macros did not come back");
}
BENCHMARK(BM_ConnectionChangeAndFullRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// The part of the full read that goes through the slot file (dump of the
// keyboard, then the load), for comparison with the whole.
void BM_RefreshThroughSlotFile(benchmark::State& state) {
    Bench bench;
    for (auto _ : state)
        bench.core().refreshFromKeyboard();
}
BENCHMARK(BM_RefreshThroughSlotFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteAllActiveProfile(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        if (!bench.core().writeAll(false)) {
            state.SkipWithError("write failed");
            break;
        }
    }
}
BENCHMARK(BM_WriteAllActiveProfile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteAllThreeProfiles(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        if (!bench.core().writeAll(true)) {
            state.SkipWithError("write failed");
            break;
        }
    }
}
BENCHMARK(BM_WriteAllThreeProfiles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
