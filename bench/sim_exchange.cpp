// Cost of one configuration exchange with the simulated keyboard: the
// firmware alone, and a whole write + read through an open HID handle, with
// reports taking no time and taking 1000 us each as on a real full-speed wire
// (there the exchange should cost about 2 ms).

#include <benchmark/benchmark.h>

#include "platform/hid/CancelEvent.h"
#include "sim/SimBackend.h"

namespace {

using namespace keyloom;

void BM_FirmwareReadParameterBlock(benchmark::State& state) {
    sim::SimFirmware firmware(sim::kModel652F);
    const sim::Report request = sim::makeRequest(sim::command::kReadParameterBlock, 44, 0);
    for (auto _ : state) {
        auto response = firmware.handleRequest(request);
        benchmark::DoNotOptimize(response);
    }
}
BENCHMARK(BM_FirmwareReadParameterBlock);

void BM_HandleExchange(benchmark::State& state) {
    auto backend = std::make_shared<sim::SimBackend>();
    auto keyboard = backend->addKeyboard(sim::kModel652F);
    keyboard->setReportTime(static_cast<std::uint32_t>(state.range(0)));
    auto handle = backend->open(keyboard->configPath(), {true, true, true, false});
    hid::CancelEvent cancel;
    const sim::Report request = sim::makeRequest(sim::command::kReadParameterBlock, 44, 0);
    sim::Report reply{};
    for (auto _ : state) {
        std::size_t n = 0;
        if (handle->write(request, n, 1000, cancel) != hid::TransferResult::Done ||
            handle->read(reply, n, 300, cancel) != hid::TransferResult::Done) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_HandleExchange)->Arg(0)->Arg(1000)->UseRealTime();

// A whole key matrix of the 384-byte model: seven exchanges.
void BM_HandleKeyMatrixRead(benchmark::State& state) {
    auto backend = std::make_shared<sim::SimBackend>();
    auto keyboard = backend->addKeyboard(sim::kModel5064);
    auto handle = backend->open(keyboard->configPath(), {true, true, true, false});
    hid::CancelEvent cancel;
    sim::Report reply{};
    for (auto _ : state) {
        for (std::uint16_t p = 0; p < 384; p += 56) {
            auto length = static_cast<std::uint8_t>(p + 56 < 384 ? 56 : 384 - p);
            std::size_t n = 0;
            handle->write(sim::makeRequest(sim::command::kReadKeyMatrix, length, 512 + p), n, 1000,
                          cancel);
            handle->read(reply, n, 300, cancel);
        }
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_HandleKeyMatrixRead);

}  // namespace

BENCHMARK_MAIN();
