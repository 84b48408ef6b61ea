// Cost of one whole tracking tick: the hot path of the program, run on every pointer movement.
// Run: out/build/default/bench/tick_bench
#include <benchmark/benchmark.h>

#include <cmath>

#include "tracking/tick.h"

namespace {

using orbida::tracking::ComputeTick;
using orbida::tracking::TickInput;

// The pointer over (mapX, mapY) twips, the reference at (lat, lon).
TickInput Input(double mapX, double mapY, double lat, double lon) {
    TickInput in;
    in.pi = orbida::tracking::ComputePi();
    in.degToRad = orbida::tracking::ComputeDegToRad(in.pi);
    in.twipsPerPixelX = 1.0f;
    in.twipsPerPixelY = 1.0f;
    in.windowLeft = static_cast<float>(-(mapX + 330.0));
    in.windowTop = static_cast<float>(-(mapY + 1090.0));
    in.referencePoint = {lat, lon};
    in.referenceHundredths = {std::floor(lat * 100) / 100, std::floor(lon * 100) / 100};
    in.entoureLeft = static_cast<float>(4815.0 - 26.75 * lon - 70.0);
    return in;
}

void Run(benchmark::State& state, const TickInput& input) {
    for (auto _ : state) {
        auto frame = ComputeTick(input);
        benchmark::DoNotOptimize(frame);
    }
}

// Paris to New York.
void BM_TickDirect(benchmark::State& state) {
    Run(state, Input(2835.5, 1322.5, 48.8566, -2.3522));
}
// Los Angeles to Tokyo, across the antimeridian.
void BM_TickAntimeridian(benchmark::State& state) {
    Run(state, Input(8551.5, 1452.5, 34.05, 118.25));
}
// Paris to New York with the long-path route drawn too.
void BM_TickLongRoute(benchmark::State& state) {
    TickInput input = Input(2835.5, 1322.5, 48.8566, -2.3522);
    input.longRoute = true;
    Run(state, input);
}
// Pointer outside the window.
void BM_TickOffTheMap(benchmark::State& state) {
    Run(state, Input(-20000, 6000, 48.8566, -2.3522));
}

BENCHMARK(BM_TickDirect);
BENCHMARK(BM_TickAntimeridian);
BENCHMARK(BM_TickLongRoute);
BENCHMARK(BM_TickOffTheMap);

}  // namespace
