// Speed of the document's conversions: a 60-character formula whose variable references are
// substituted before each evaluation, and the exchange of a 4 KiB memory image both ways.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_document.h"

namespace {

using namespace korvath;

// A 4 KiB image: 1024 bytes of scalars and 48 tables of 64 bytes, each with 60 cells at six
// cells per curve point.
std::string Definition() {
    std::string d =
        "[Declarations]\n$TotalBlockSize 4096\n$DynamicBlockSize 3072\n$NumDynamicTableCells 3072\n"
        "$NumDynamicTableEntries 48\n$DynamicBlockStart 1024\n$DynamicBlockLayout 0\n$DynamicInterpolation 6\n"
        "$StaticBlockSize 1024\n$StaticBlockStart 0\n$NVMType 2\n";
    for (int i = 0; i < 256; ++i) {
        d += "V";
        d += std::to_string(i);
        d += " I16 1:";
        d += std::to_string(4 * i);
        d += " Def:";
        d += std::to_string(i);
        d += "\n";
    }
    for (int t = 0; t < 48; ++t) {
        const std::string n = std::to_string(t);
        d += "T" + n + " T8 10:" + n + " NVM:60:" + std::to_string(64 * t) + ":1\n";
    }
    d += "Gain F32 0:0 Def:2.5\n";
    d += "StoreFormulae:\nI@V0=I:V1:+I:V2:\nLoadFormulae:\nI@V1=I:V0:-I:V2:\n[GraphicalTuning]\n";
    for (int t = 0; t < 48; ++t)
        d += "GraphElement Trace {\nTraceNum " + std::to_string(t) +
             "\nTraceMode 1\nStoreToIntFormula X/16\nIntToStoreFormula X*16\n}\n";
    return d;
}

struct Fixture : bench::BenchDocument {
    Fixture() : BenchDocument("conversions", Definition()) {}
};

void BM_FormulaWithReferences(benchmark::State& state) {
    Fixture f;
    const std::string formula = "(X*I:V10:+F:Gain:)/I:V20:-T:T3:*2+SQRT(X)*I:V30:/(10+I:V40:)";  // 60 characters
    double x = 1;
    for (auto _ : state) {
        std::string text = formula;
        f.doc->SubstituteReferences(text, 2.5f);
        benchmark::DoNotOptimize(f.doc->Evaluate(text, x));
        x = x < 255 ? x + 1 : 1;
    }
}

void BM_ExchangeImage4KiB(benchmark::State& state) {
    Fixture f;
    std::vector<std::uint8_t> image(4096, 0xFF);
    const int direction = static_cast<int>(state.range(0));
    if (!f.doc->ExchangeImage(image.data(), image.size(), 1)) state.SkipWithError("the image could not be built");
    for (auto _ : state) benchmark::DoNotOptimize(f.doc->ExchangeImage(image.data(), image.size(), direction));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 4096);
}

BENCHMARK(BM_FormulaWithReferences);
BENCHMARK(BM_ExchangeImage4KiB)->Arg(1)->Arg(0)->ArgNames({"build"});

}  // namespace

BENCHMARK_MAIN();
