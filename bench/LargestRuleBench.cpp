// LargestOfThree on what people type, and on the longest entry the input field takes: a guard
// that reading stays far below anything a person could notice.

#include "logic/LargestRule.h"

#include <array>
#include <benchmark/benchmark.h>
#include <string>

namespace {

const std::array<std::array<std::u16string, 3>, 4> kCases = {{
    {u"5", u"9", u"2"},
    {u"3.7", u"-10", u"32767"},
    {u"１２", u"－３", u"４．５"},
    // The most the input field takes, in each entry: 32,767 characters of a long fraction.
    {u"1." + std::u16string(32765, u'4'), u"2." + std::u16string(32765, u'5'),
     u"3." + std::u16string(32765, u'6')},
}};

const qzds::NumberSymbols& Symbols() {
    static const qzds::NumberSymbols symbols = qzds::NumberSymbolsFor("zh_CN");
    return symbols;
}

void LargestOfThree(benchmark::State& state) {
    const auto& entries = kCases.at(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            qzds::LargestOfThree(entries[0], entries[1], entries[2], Symbols()));
    }
}

BENCHMARK(LargestOfThree)->DenseRange(0, 3);

} // namespace

BENCHMARK_MAIN();
