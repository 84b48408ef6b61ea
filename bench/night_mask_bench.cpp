// Cost of building the grey line's night mask, once a minute, at the map's size on a normal
// screen (640 x 320) and on a screen of ratio 2 (1280 x 640).
// Run: out/build/default/bench/night_mask_bench
#include <benchmark/benchmark.h>

#include <chrono>

#include "geodesy/night_mask.h"
#include "geodesy/sun.h"

namespace {

using namespace std::chrono;

void BM_NightMask(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    const auto sun = orbida::geodesy::SunAt(sys_days{2026y / 12 / 21} + hours{12});
    for (auto _ : state) {
        auto mask = orbida::geodesy::BuildNightMask(sun, 640 * scale, 320 * scale, 15.0 / scale,
                                                    9630.0f, 4815.0f);
        benchmark::DoNotOptimize(mask);
    }
}
BENCHMARK(BM_NightMask)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
