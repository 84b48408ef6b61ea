// Loading a city file of 100,000 cities (about 3 MB) into the two lists, against the cost of
// merely looking at every byte once (counting the line ends with memchr). The ratio of the two
// throughputs is what the reader costs per byte over reading the file at all.
// Run: out/build/default/bench/city_file_bench
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "cities/city_file.h"

namespace {

using orbida::cities::FieldReader;
using orbida::cities::ParseCityFile;

constexpr int kCities = 100'000;

// One city per line, "Name, latitude, longitude", with a name in double quotes or with an accented
// letter now and then. accent is "é" in the file's encoding.
std::string MakeCityFile(std::string_view accent) {
    std::string file;
    file.reserve(static_cast<std::size_t>(kCities) * 40);
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    char line[96];
    for (int i = 0; i < kCities; ++i) {
        const double latitude = static_cast<double>(next() % 179'000) / 1000.0 - 89.5;
        const double longitude = static_cast<double>(next() % 359'000) / 1000.0 - 179.5;
        std::string name = "Ville " + std::to_string(next() % 1'000'000);
        if (i % 10 == 3) {
            name += std::string(" Saint-") + std::string(accent) + "tienne";
        } else if (i % 10 == 7) {
            name = "\"" + name + ", Nord\"";
        }
        std::snprintf(line, sizeof line, ", %.4f, %.4f\n", latitude, longitude);
        file += name;
        file += line;
    }
    return file;
}

const std::string& Utf8File() {
    static const std::string file = MakeCityFile("\xC3\xA9");
    return file;
}

const std::string& Windows1252File() {
    static const std::string file = MakeCityFile("\xE9");
    return file;
}

void Report(benchmark::State& state, const std::string& file) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
    state.counters["MB"] = static_cast<double>(file.size()) / 1e6;
}

// Decoding, classification and both lists, as the program loads its file.
void BM_ParseCityFileUtf8(benchmark::State& state) {
    const std::string& file = Utf8File();
    for (auto _ : state) {
        auto catalogue = ParseCityFile(file);
        benchmark::DoNotOptimize(catalogue);
    }
    Report(state, file);
}

void BM_ParseCityFileWindows1252(benchmark::State& state) {
    const std::string& file = Windows1252File();
    for (auto _ : state) {
        auto catalogue = ParseCityFile(file);
        benchmark::DoNotOptimize(catalogue);
    }
    Report(state, file);
}

// The field reader alone: splitting into fields, nothing decoded or stored.
void BM_FieldReaderOnly(benchmark::State& state) {
    const std::string& file = Utf8File();
    for (auto _ : state) {
        std::size_t fields = 0;
        for (FieldReader reader(file); !reader.AtEnd(); ++fields) {
            benchmark::DoNotOptimize(reader.Next());
        }
        benchmark::DoNotOptimize(fields);
    }
    Report(state, file);
}

// The baseline: every byte looked at once, the line ends counted.
void BM_CountLineEnds(benchmark::State& state) {
    const std::string& file = Utf8File();
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* p = file.data();
        const char* const end = p + file.size();
        while ((p = static_cast<const char*>(
                    std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
            ++lines;
            ++p;
        }
        benchmark::DoNotOptimize(lines);
    }
    Report(state, file);
}

BENCHMARK(BM_ParseCityFileUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseCityFileWindows1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldReaderOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountLineEnds)->Unit(benchmark::kMillisecond);

}  // namespace
