// LargestOfThree on typical entries against a floor: three std::from_chars calls on the same
// numbers in ASCII, which is the least any reading of three decimal numbers must do.

#include "logic/LargestRule.h"

#include <array>
#include <benchmark/benchmark.h>
#include <charconv>
#include <string>
#include <string_view>

namespace {

struct Entries {
    std::array<std::u16string, 3> typed; // as the user typed them
    std::array<std::string, 3> ascii;    // the same numbers as from_chars reads them
};

const std::array<Entries, 3> kCases = {{
    {{u"5", u"9", u"2"}, {"5", "9", "2"}},
    {{u"3.7", u"-10", u"32767"}, {"3.7", "-10", "32767"}},
    {{u"１２", u"－３", u"４．５"}, {"12", "-3", "4.5"}},
}};

const qzds::NumberSymbols& Symbols() {
    static const qzds::NumberSymbols symbols = qzds::NumberSymbolsFor("zh_CN");
    return symbols;
}

void LargestOfThree(benchmark::State& state) {
    const Entries& entries = kCases.at(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            qzds::LargestOfThree(entries.typed[0], entries.typed[1], entries.typed[2], Symbols()));
    }
}

void FromCharsFloor(benchmark::State& state) {
    const Entries& entries = kCases.at(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        for (const std::string& text : entries.ascii) {
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            benchmark::DoNotOptimize(value);
        }
    }
}

BENCHMARK(LargestOfThree)->DenseRange(0, 2);
BENCHMARK(FromCharsFloor)->DenseRange(0, 2);

} // namespace

BENCHMARK_MAIN();
