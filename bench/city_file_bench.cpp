// Loading a city file of 10,000, 100,000 and 1,000,000 cities (about 0.3, 3 and 30 MB), building
// the name index and finding a typed prefix, against the cost of merely looking at every byte once
// (counting the line ends with memchr). Each load also reports `x_memchr`: its time over the time
// of that memchr pass on the same bytes, measured beside it.
// Run: out/build/default/bench/city_file_bench
#include <benchmark/benchmark.h>

#include <QString>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include "cities/catalogue.h"
#include "cities/city_file.h"

namespace {

using orbida::cities::Catalogue;
using orbida::cities::FieldReader;
using orbida::cities::NameIndex;
using orbida::cities::ParseCityFile;

constexpr std::array<std::string_view, 16> kSyllables = {"sa",  "la", "ma",  "ri",  "to", "ven",
                                                         "bor", "ne", "pa",  "lis", "ka", "dor",
                                                         "mi",  "an", "ber", "go"};

// One city per line, "Name, latitude, longitude": names of syllables, so that prefixes are shared
// as in real lists, with an accented letter ("é" in the file's encoding) or double quotes around a
// comma now and then.
std::string MakeCityFile(int cities, std::string_view accent) {
    std::string file;
    file.reserve(static_cast<std::size_t>(cities) * 32);
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    char line[96];
    for (int i = 0; i < cities; ++i) {
        const double latitude = static_cast<double>(next() % 179'000) / 1000.0 - 89.5 + 0.0001;
        const double longitude = static_cast<double>(next() % 359'000) / 1000.0 - 179.5 + 0.0001;
        std::string name;
        for (std::uint32_t n = 2 + next() % 3; n > 0; --n) {
            name += kSyllables[next() % kSyllables.size()];
        }
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
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

const std::string& Utf8File(std::int64_t cities) {
    static std::map<std::int64_t, std::string> files;
    auto [it, added] = files.try_emplace(cities);
    if (added) {
        it->second = MakeCityFile(static_cast<int>(cities), "\xC3\xA9");
    }
    return it->second;
}

std::size_t CountLineEnds(const std::string& file) {
    std::size_t lines = 0;
    const char* p = file.data();
    const char* const end = p + file.size();
    while (
        (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
        ++lines;
        ++p;
    }
    return lines;
}

// The fastest of a few memchr passes over the file, in seconds.
double MemchrSeconds(const std::string& file) {
    double best = 1e9;
    for (int k = 0; k < 5; ++k) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(CountLineEnds(file));
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void Report(benchmark::State& state, const std::string& file) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
    state.counters["MB"] = static_cast<double>(file.size()) / 1e6;
}

// Decoding, classification and the catalogue, as the program loads its file. The time of each
// load is kept apart so that the ratio to memchr uses the best of both.
void BM_LoadCityFile(benchmark::State& state) {
    const std::string& file = Utf8File(state.range(0));
    double best = 1e9;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        Catalogue catalogue = ParseCityFile(file);
        benchmark::DoNotOptimize(catalogue);
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    Report(state, file);
    state.counters["x_memchr"] = best / MemchrSeconds(file);
}

void BM_LoadCityFileWindows1252(benchmark::State& state) {
    static const std::string file = MakeCityFile(100'000, "\xE9");
    for (auto _ : state) {
        Catalogue catalogue = ParseCityFile(file);
        benchmark::DoNotOptimize(catalogue);
    }
    Report(state, file);
}

// The field reader alone: splitting into fields, nothing decoded or stored.
void BM_FieldReaderOnly(benchmark::State& state) {
    const std::string& file = Utf8File(state.range(0));
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
    const std::string& file = Utf8File(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountLineEnds(file));
    }
    Report(state, file);
}

// Folding and sorting the names, as the program does on a worker after its window shows.
void BM_BuildNameIndex(benchmark::State& state) {
    const Catalogue catalogue = ParseCityFile(Utf8File(state.range(0)));
    for (auto _ : state) {
        NameIndex index(catalogue);
        benchmark::DoNotOptimize(index);
    }
}

// What typing does: the city the text names, and every suggestion for it in file order. "p" is
// the worst case of a first key (one name in sixteen begins with it), "Borsa" a typical longer
// one.
void BM_PrefixSearch(benchmark::State& state) {
    const Catalogue catalogue = ParseCityFile(Utf8File(state.range(0)));
    const NameIndex index(catalogue);
    const QString typed = state.range(1) == 0 ? QStringLiteral("p") : QStringLiteral("Borsa");
    const QByteArray key = orbida::cities::FoldedKey(typed);
    std::size_t suggestions = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.Match(typed));
        suggestions =
            index.Beginning(std::string_view(key.constData(), static_cast<std::size_t>(key.size())))
                .size();
        benchmark::DoNotOptimize(suggestions);
    }
    state.counters["suggestions"] = static_cast<double>(suggestions);
}

// The same found by looking at every name, as typing does before the index is ready.
void BM_PrefixSearchByScan(benchmark::State& state) {
    const Catalogue catalogue = ParseCityFile(Utf8File(state.range(0)));
    const QString typed = QStringLiteral("Borsa");
    for (auto _ : state) {
        benchmark::DoNotOptimize(orbida::cities::MatchByScan(catalogue, typed));
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_LoadCityFile)->Apply(Sizes);
BENCHMARK(BM_CountLineEnds)->Apply(Sizes);
BENCHMARK(BM_FieldReaderOnly)->Apply(Sizes);
BENCHMARK(BM_LoadCityFileWindows1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildNameIndex)->Apply(Sizes);
BENCHMARK(BM_PrefixSearch)
    ->ArgsProduct({{10'000, 100'000, 1'000'000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrefixSearchByScan)->Apply(Sizes);

}  // namespace
