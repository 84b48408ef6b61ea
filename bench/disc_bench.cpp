// Cost of laying the world picture on the azimuthal map after a change of home, zoom or size:
// 1000 x 1000 device pixels, the whole world and a zoom on home, against the same work done with
// the projection's exact inverse, the baseline.
// Run: out/build/default/bench/disc_bench
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "geodesy/disc_raster.h"

namespace {

using orbida::geodesy::AzimuthalEquidistant;
using orbida::geodesy::PlanePoint;

constexpr int kSide = 1000;
constexpr int kPictureWidth = 2048;
constexpr int kPictureHeight = 1024;

const std::vector<std::uint32_t>& Picture() {
    static const std::vector<std::uint32_t> picture(kPictureWidth * kPictureHeight, 0xFF336699u);
    return picture;
}

double RadiusKm(int zoomed) {
    return zoomed ? 2000.0 : AzimuthalEquidistant::kRimKm;
}

void BM_DiscPicture(benchmark::State& state) {
    const AzimuthalEquidistant paris({48.8566, -2.3522});
    const double radius = RadiusKm(static_cast<int>(state.range(0)));
    std::vector<std::uint32_t> out(kSide * kSide);
    for (auto _ : state) {
        orbida::geodesy::DrawAzimuthalPicture(
            paris, {-radius, -radius}, 2.0 * radius / kSide, kSide, kSide,
            {Picture().data(), kPictureWidth, kPictureHeight}, 0u, out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_DiscPicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The baseline: the exact inverse at each pixel's centre.
void BM_DiscPictureExactInverse(benchmark::State& state) {
    const AzimuthalEquidistant paris({48.8566, -2.3522});
    const double radius = RadiusKm(static_cast<int>(state.range(0)));
    const double upp = 2.0 * radius / kSide;
    std::vector<std::uint32_t> out(kSide * kSide);
    for (auto _ : state) {
        for (int j = 0; j < kSide; ++j) {
            for (int i = 0; i < kSide; ++i) {
                const auto place =
                    paris.Inverse(PlanePoint{-radius + (i + 0.5) * upp, -radius + (j + 0.5) * upp});
                int column = 0, row = 0;
                if (place) {
                    orbida::geodesy::PicturePixel(*place, kPictureWidth, kPictureHeight, column,
                                                  row);
                }
                out[static_cast<std::size_t>(j * kSide + i)] =
                    place ? Picture()[static_cast<std::size_t>(row * kPictureWidth + column)] : 0u;
            }
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_DiscPictureExactInverse)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
