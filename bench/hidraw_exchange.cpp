// Host time of one request/reply exchange through the hidraw backend's real
// transfer code: a 64-byte write, a device thread that echoes 64 bytes, and
// the read of the reply.

#include <benchmark/benchmark.h>
#include <sys/socket.h>

#include <array>
#include <thread>

#include "hid_bench_tree.h"

namespace {

using namespace keyloom;

void BM_HidrawExchange(benchmark::State& state) {
    bench::HidBenchTree tree;
    tree.addNode(0, bench::compositeKeyboardDescriptor());
    auto backend = tree.backend();
    std::vector<std::string> paths;
    backend->enumerate(paths);
    if (paths.size() != 3) {
        state.SkipWithError("fake tree not enumerated");
        return;
    }
    auto handle = backend->open(paths[2], {true, true, true, false});
    if (!handle) {
        state.SkipWithError("vendor collection not opened");
        return;
    }
    int device = tree.deviceEnd(0);
    std::thread echo([device] {
        std::array<std::uint8_t, 64> report{};
        for (;;) {
            ssize_t n = ::recv(device, report.data(), report.size(), 0);
            if (n <= 0)
                return;  // shut down at the end of the run
            if (::send(device, report.data(), report.size(), 0) != 64)
                return;
        }
    });

    hid::CancelEvent cancel;
    std::array<std::uint8_t, 64> request{};
    std::array<std::uint8_t, 64> reply{};
    request[0] = 4;
    for (auto _ : state) {
        std::size_t transferred = 0;
        if (handle->write(request, transferred, 1000, cancel) != hid::TransferResult::Done ||
            handle->read(reply, transferred, 300, cancel) != hid::TransferResult::Done) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
    ::shutdown(device, SHUT_RDWR);
    echo.join();
}
BENCHMARK(BM_HidrawExchange)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
