// The repaint cost of one crosshair update: the poller's crosshair coordinate reaches the
// dashboard, which moves the tuning graph's crosshair and repaints the view at once (the whole
// graph is composed again). The view is 1000 x 600 on the demo definition with its curves shown.
//
// Run with --benchmark_repetitions=N to get medians; the program runs Qt offscreen unless
// QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "document/qrndoc.h"
#include "ui/dashboard/dashboard.h"
#include "ui/graph/qrnview.h"

#include "qt_benchmark_main.h"
#include "quiet_document_host.h"

namespace {

using namespace korvath;

using bench::NoSettings;
using bench::QuietHost;

void CrosshairRepaint(benchmark::State& state) {
    QuietHost host;
    NoSettings settings;
    CQRNDoc doc(DocumentHost{host, host, settings}, std::string(KORVATH_BIN_DIR));
    if (!doc.LoadDefinitionFile(std::string(KORVATH_BIN_DIR) + "/PID2/3/KV4.def") || !doc.ReadDeclarations(1)) {
        state.SkipWithError("the demo definition did not load");
        return;
    }
    ui::CQRNView view(doc);
    view.resize(1000, 600);
    view.show();
    QCoreApplication::processEvents();  // exposed, so that a repaint paints at once
    doc.BindGraphicalTuningTraces();
    for (int t = 0; t < 9; ++t) view.graph().SetTraceVisible(t, 1);
    doc.PushTracesToGraph();
    view.Redraw();  // the axes fit the curves, as after a read, so the crosshair is on the plot
    ui::CDashboard dashboard;
    dashboard.SetTuningView(&view);
    const float y = 40.0f;
    dashboard.OnLiveData(10001, nullptr, &y);
    int step = 0;
    const int paintsBefore = view.paintCount();
    for (auto _ : state) {
        // A new throttle position at every update, as while driving.
        const float x = 1.0f + static_cast<float>(step++ % 16) * 0.5f;
        dashboard.OnLiveData(10000, nullptr, &x);
    }
    if (view.paintCount() == paintsBefore) state.SkipWithError("the view did not paint");
    state.counters["paints"] =
        benchmark::Counter(static_cast<double>(view.paintCount() - paintsBefore), benchmark::Counter::kAvgIterations);
}
BENCHMARK(CrosshairRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return korvath::bench::RunBenchmarksWithWidgets(argc, argv); }
