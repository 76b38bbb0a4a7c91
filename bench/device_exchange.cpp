// Host time of one configuration exchange (write, reply, read) against the
// simulated keyboard in-process: the cost the program adds per report.

#include <array>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "device/DeviceLink.h"
#include "device/DiscoveryMonitor.h"
#include "sim/SimBackend.h"

namespace {

class IgnoreChanges : public keyloom::ConnectionHandler {
public:
    void connectionChanged(int) override {}
};

void BM_ReadParameterBlock(benchmark::State& state) {
    auto backend = std::make_shared<keyloom::sim::SimBackend>();
    auto keyboard = backend->addKeyboard(keyloom::sim::kModel652F);
    keyloom::hid::HidPlatform platform;
    platform.addBackend(backend);
    keyloom::ReportTrace trace;
    keyloom::DeviceLink link(platform, trace);
    IgnoreChanges handler;
    keyloom::StartupState startup;
    keyloom::DiscoveryMonitor monitor(link, handler, startup);
    if (monitor.scanOnce() != keyloom::DiscoveryMonitor::ScanResult::Found) {
        state.SkipWithError("simulated keyboard not found");
        return;
    }
    std::array<std::uint8_t, keyloom::kParameterBlockSize> block{};
    for (auto _ : state) {
        if (link.ReadParameterBlock(block) != keyloom::DeviceResult::Success) {
            state.SkipWithError("exchange failed");
            break;
        }
        // The simulated keyboard keeps a log of every report; keep it from
        // growing into the measurement.
        if ((state.iterations() & 1023) == 0)
            keyboard->withFirmware([](keyloom::sim::SimFirmware& f) { f.log().clear(); });
        benchmark::DoNotOptimize(block);
    }
}
BENCHMARK(BM_ReadParameterBlock)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
