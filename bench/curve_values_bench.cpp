// Speed of the Curve Values table's edits: pasting a 50×10 block of text (parsed, then every
// cell through the document's edit rule and its conversion formulas) and undoing it (the stored
// points put back and the changed traces shown again).

#include <benchmark/benchmark.h>

#include <string>

#include "calibration/cell_text.h"
#include "document/calibration_state.h"
#include "document/curve_edit.h"
#include "document/qrndoc.h"
#include "graph/graphengine.h"

#include "bench_document.h"

namespace {

using namespace korvath;

// 50 traces converted by formulas as the demo's are: display = raw / 2, stored = raw * 16.
std::string Definition() {
    std::string d =
        "[Declarations]\n$TotalBlockSize 1024\n$DynamicBlockSize 512\n$NumDynamicTableCells 500\n"
        "$NumDynamicTableEntries 50\n$DynamicBlockStart 512\n$DynamicBlockLayout 0\n$DynamicInterpolation 1\n"
        "$StaticBlockSize 512\n$StaticBlockStart 0\n$NVMType 2\n[GraphicalTuning]\n";
    for (int t = 0; t < kNumTraces; ++t)
        d += "GraphElement Trace {\nTraceNum " + std::to_string(t) +
             "\nTraceMode 1\nStoreToIntFormula X/16\nIntToStoreFormula X*16\nDispToIntFormula X*2\n"
             "IntToDispFormula X/2\n}\n";
    return d;
}

struct Fixture : bench::BenchDocument {
    Fixture() : BenchDocument("curve-values", Definition()) {
        for (int t = 0; t < kNumTraces; ++t) {
            graph.SetTraceVisible(t, 1);
            block.traces.push_back(t);
            for (int c = 0; c < kPointsPerTrace; ++c) {
                doc->calibration().points[t][c] = static_cast<std::int16_t>(16 * (20 + t + c));
                if (c > 0) text += '\t';
                text += std::to_string(30 + t);
                text += c % 2 ? ".5" : ".0";
            }
            text += "\n";
        }
        block.lastColumn = kPointsPerTrace - 1;
        doc->PushTracesToGraph();
    }
    PointBlock block;
    std::string text;
};

// What a paste step does: the points before are kept, the text parsed and stored cell by cell.
void BM_Paste50x10(benchmark::State& state) {
    Fixture f;
    const TracePoints original = f.doc->calibration().points;
    for (auto _ : state) {
        const TracePoints before = f.doc->calibration().points;
        const PastedCells cells = ParseCellText(f.text);
        CurveEditor(*f.doc).StoreBlock(f.block, cells.values);
        const TracePoints after = f.doc->calibration().points;
        benchmark::DoNotOptimize(before);
        benchmark::DoNotOptimize(after);
        state.PauseTiming();
        RestorePoints(*f.doc, original);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Paste50x10)->Unit(benchmark::kMillisecond);

// Undoing it: the stored points back, every changed trace shown again.
void BM_UndoPaste50x10(benchmark::State& state) {
    Fixture f;
    const TracePoints original = f.doc->calibration().points;
    CurveEditor(*f.doc).StoreBlock(f.block, ParseCellText(f.text).values);
    const TracePoints pasted = f.doc->calibration().points;
    for (auto _ : state) {
        RestorePoints(*f.doc, original);
        state.PauseTiming();
        RestorePoints(*f.doc, pasted);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoPaste50x10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
