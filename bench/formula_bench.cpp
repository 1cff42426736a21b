// Speed of one formula evaluation as the document, the settings pages and the live-data
// poller call it (rewriting included, a fresh evaluation each time).

#include <benchmark/benchmark.h>

#include <string>

#include "formula/formulaparser.h"

namespace {

// A raw-byte-to-value conversion as definition files write them.
const std::string kShort = "X*2-40";
// 60 characters, with functions, powers, parentheses and the comma the rewriting turns into a point.
const std::string kSixty = "(X*0,75+SQRT(X)*2.5-LN(X+1)/3)^2/(1+ABS(SIN(RAD(X))))-40.125";

void Evaluate(benchmark::State& state, const std::string& formula) {
    const korvath::FormulaParser parser;
    int position = 0;
    std::string text;
    double x = 1.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parser.Evaluate(formula, x, position, text, 1));
        x = x < 255.0 ? x + 1.0 : 1.0;
    }
    if (position != 0 || !text.empty()) state.SkipWithError("the formula did not evaluate cleanly");
}

void BM_EvaluateShort(benchmark::State& state) { Evaluate(state, kShort); }
void BM_Evaluate60Characters(benchmark::State& state) { Evaluate(state, kSixty); }

BENCHMARK(BM_EvaluateShort);
BENCHMARK(BM_Evaluate60Characters);

}  // namespace

BENCHMARK_MAIN();
