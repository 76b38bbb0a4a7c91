// One frame of the lighting preview per effect, as the window's 50 ms timer
// asks for it. Target: every effect well under 20 us per frame.

#include <benchmark/benchmark.h>

#include <array>

#include "lighting/PreviewEngine.h"

namespace {

using keyloom::LightingState;
using keyloom::Rgb;
using keyloom::lighting::kPreviewKeyCount;
using keyloom::lighting::PreviewEngine;

void PreviewFrame(benchmark::State& bench) {
    LightingState state;
    state.effect = static_cast<std::uint8_t>(bench.range(0));
    state.colourful = bench.range(1) != 0;
    state.direction = 255;
    state.mainColour = 0x0030A0FF;
    std::array<Rgb, kPreviewKeyCount> keyColours{};
    keyColours.fill(Rgb{10, 20, 30});
    PreviewEngine engine(7);
    engine.tick(state, keyColours);  // the effect's start
    for (auto _ : bench) {
        const auto& frame = engine.tick(state, keyColours);
        benchmark::DoNotOptimize(frame.colours.data());
    }
}

void Effects(benchmark::internal::Benchmark* bench) {
    for (int colourful : {1, 0}) {
        for (int effect = 1; effect <= 18; ++effect)
            bench->Args({effect, colourful});
        bench->Args({20, colourful});
    }
    bench->ArgNames({"effect", "colourful"});
}

}  // namespace

BENCHMARK(PreviewFrame)->Apply(Effects);

BENCHMARK_MAIN();
