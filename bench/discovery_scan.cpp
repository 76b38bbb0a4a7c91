// Discovery costs on a fake sysfs tree of 64 hidraw nodes: one enumeration
// (sysfs reads and descriptor parsing for every node) and the presence tests
// that run every 100 ms while the keyboard is connected.

#include <benchmark/benchmark.h>

#include "hid_bench_tree.h"

namespace {

using namespace keyloom;

constexpr unsigned kNodes = 64;

struct ScanFixture {
    ScanFixture() {
        for (unsigned n = 0; n < kNodes; ++n)
            tree.addNode(n, bench::compositeKeyboardDescriptor());
        backend = tree.backend();
    }
    bench::HidBenchTree tree;
    std::shared_ptr<hid::HidrawBackend> backend;
};

void BM_EnumerateSixtyFourNodes(benchmark::State& state) {
    ScanFixture fixture;
    std::vector<std::string> paths;
    for (auto _ : state) {
        paths.clear();
        if (!fixture.backend->enumerate(paths) || paths.size() != 3 * kNodes) {
            state.SkipWithError("enumeration failed");
            break;
        }
    }
}
BENCHMARK(BM_EnumerateSixtyFourNodes)->Unit(benchmark::kMillisecond);

void BM_StillPresent(benchmark::State& state) {
    ScanFixture fixture;
    std::vector<std::string> paths;
    fixture.backend->enumerate(paths);
    auto handle = paths.empty() ? nullptr : fixture.backend->open(paths.back(), {});
    if (!handle) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        if (!handle->stillPresent()) {
            state.SkipWithError("not present");
            break;
        }
    }
}
BENCHMARK(BM_StillPresent)->Unit(benchmark::kMicrosecond);

void BM_IsPresent(benchmark::State& state) {
    ScanFixture fixture;
    std::vector<std::string> paths;
    fixture.backend->enumerate(paths);
    if (paths.empty()) {
        state.SkipWithError("nothing enumerated");
        return;
    }
    for (auto _ : state) {
        if (!fixture.backend->isPresent(paths.back())) {
            state.SkipWithError("not present");
            break;
        }
    }
}
BENCHMARK(BM_IsPresent)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
