// Reading Debian's country file (about 330 KB) and looking callsigns up in it.
// Run: out/build/default/bench/dxcc_bench
#include <benchmark/benchmark.h>

#include <QFile>
#include <array>
#include <string>
#include <string_view>

#include "dxcc/country_file.h"

namespace {

using orbida::dxcc::CountryFile;

const std::string& DebianFile() {
    static const std::string bytes = [] {
        QFile file(QStringLiteral("/usr/share/hamradio-files/cty.dat"));
        if (!file.open(QIODevice::ReadOnly)) {
            return std::string();
        }
        return file.readAll().toStdString();
    }();
    return bytes;
}

// The whole reading: entity lines, every prefix and exact call, the tables.
void BM_ParseCountryFile(benchmark::State& state) {
    const std::string& bytes = DebianFile();
    if (bytes.empty()) {
        state.SkipWithError("no /usr/share/hamradio-files/cty.dat");
        return;
    }
    for (auto _ : state) {
        CountryFile file = CountryFile::Parse(bytes);
        benchmark::DoNotOptimize(file);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

// One look-up per iteration, cycling through the kinds of call: prefix only, exact call, /P,
// PREFIX/CALL, CALL/PREFIX, call area, /MM, nothing matching, lower case.
void BM_Lookup(benchmark::State& state) {
    const std::string& bytes = DebianFile();
    if (bytes.empty()) {
        state.SkipWithError("no /usr/share/hamradio-files/cty.dat");
        return;
    }
    const CountryFile file = CountryFile::Parse(bytes);
    constexpr std::array<std::string_view, 10> calls = {
        "3B8CF",  "VK0EK",     "JA1NUT/P", "EA8/DL1ABC", "DL1ABC/EA8",
        "W1AW/7", "DL1ABC/MM", "QQ1QQQQ",  "vk9xyz",     "AA0XYZ"};
    std::size_t k = 0;
    for (auto _ : state) {
        auto result = file.Lookup(calls[k]);
        benchmark::DoNotOptimize(result);
        k = k + 1 == calls.size() ? 0 : k + 1;
    }
}

BENCHMARK(BM_ParseCountryFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lookup)->Unit(benchmark::kNanosecond);

}  // namespace
