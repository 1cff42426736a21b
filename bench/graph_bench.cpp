// The tuning graph redraws everything after every mouse move. These benchmarks measure a full
// Draw of 50 visible traces into a 1920 x 1080 image through the QPainter surface, the whole
// paint as the view composes it, and a drag of a 10-point selection across 5 traces. Each
// reports the heap allocations per iteration as the counter "allocs".
//
// Run with --benchmark_repetitions=N to get medians; the program runs Qt offscreen unless
// QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <atomic>
#include <cstdlib>
#include <new>

#include "graph/graphengine.h"
#include "ui/graph/qpainter_surface.h"
#include "ui/graph/qtcolor.h"

#include "support/allocation_counter.h"

namespace korvath {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A document stand-in that keeps raw steps of one display unit, as a direct table does.
class StepDocument : public ValueCallback {
public:
    float OnPointEdited(std::int16_t trace, std::int16_t column, float proposed, std::int16_t& delta) override {
        int& raw = raw_[static_cast<std::size_t>(trace)][static_cast<std::size_t>(column)];
        if (delta == 0) {
            const int next = std::clamp(static_cast<int>(proposed + 0.5f), 0, 255);
            delta = static_cast<std::int16_t>(next - raw);
            raw = next;
        } else {
            raw = std::clamp(raw + delta, 0, 255);
        }
        return static_cast<float>(raw);
    }
    std::int16_t StoredPointValue(std::int16_t trace, std::int16_t column) override {
        return static_cast<std::int16_t>(raw_[static_cast<std::size_t>(trace)][static_cast<std::size_t>(column)]);
    }
    void Set(int trace, int column, int raw) { raw_[static_cast<std::size_t>(trace)][static_cast<std::size_t>(column)] = raw; }

private:
    std::array<std::array<int, 10>, 50> raw_{};
};

void FillTraces(CGraphEngine& engine, StepDocument& document, int visible) {
    for (int t = 0; t < visible; ++t) {
        std::array<float, 10> values{};
        for (int c = 0; c < 10; ++c) {
            const int raw = (t * 4 + c * (5 + t % 7) + (c * c) % 11) % 250;
            document.Set(t, c, raw);
            values[static_cast<std::size_t>(c)] = static_cast<float>(raw);
        }
        engine.SetTraceValues(t, values.data());
        engine.SetTraceVisible(t, 1);
        engine.SetTraceText(t, "Trace", "TPS %s0%%: %.0f MPH (column %s, ~%d, stored %d)");
    }
}

struct Scene {
    Scene() : image(kWidth, kHeight, QImage::Format_RGB32) {
        engine.SetValueCallback(&document);
        engine.SetPlotRect(20, 20, kWidth - 50, kHeight - 40);
        {
            QPainter painter(&image);
            ui::QPainterSurface measure(painter);
            engine.MeasureColumnLabels(measure);
        }
        FillTraces(engine, document, 50);
        engine.SetCrosshair(4.3f, 120.0f);
        Paint();
        // Some selected points, so that markers are drawn too.
        engine.OnButtonDown(0, engine.ColumnToX(3), engine.ValueToY(engine.PointAt(7, 3).value));
        engine.OnKey(graph::kKeyEnd, 1, graph::kShift);
        engine.OnButtonUp();
    }
    void Paint() {
        image.fill(ui::ToQColor(engine.GetBackgroundColor()));
        QPainter painter(&image);
        surface.Begin(painter);
        engine.Draw(surface);
        engine.DrawCrosshair(surface);
        engine.DrawCallout(surface);
        surface.End();
    }

    QImage image;
    CGraphEngine engine{50, 10};
    StepDocument document;
    ui::QPainterSurface surface;
};

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(korvath::testing::AllocationCount() - before), benchmark::Counter::kAvgIterations);
}

// Engine Draw alone (layout, axes, 50 traces) into an open painter.
void BM_Draw50Traces(benchmark::State& state) {
    Scene scene;
    QPainter painter(&scene.image);
    scene.surface.Begin(painter);
    scene.engine.Draw(scene.surface);  // warm the pen cache
    const long before = korvath::testing::AllocationCount();
    for (auto _ : state) {
        scene.engine.Draw(scene.surface);
    }
    ReportAllocations(state, before);
    scene.surface.End();
}
BENCHMARK(BM_Draw50Traces)->Unit(benchmark::kMillisecond);

// The whole paint as the view does it after a mouse move: fill, Draw, crosshair, callout.
void BM_PaintFrame(benchmark::State& state) {
    Scene scene;
    scene.Paint();
    const long before = korvath::testing::AllocationCount();
    for (auto _ : state) {
        scene.engine.RequestCallout(7, 3);
        scene.Paint();
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_PaintFrame)->Unit(benchmark::kMillisecond);

// A drag of a 10-point selection (columns 3 and 6 of five linked traces), engine only.
void BM_DragTenPoints(benchmark::State& state) {
    Scene scene;
    CGraphEngine& engine = scene.engine;
    for (int t = 0; t < 50; ++t) engine.SetTraceVisible(t, t < 5 ? 1 : 0);
    for (int t = 0; t < 4; ++t) engine.SetTraceLink(t, t + 1);
    engine.SetLinking(1);
    scene.Paint();
    engine.OnButtonDown(0, engine.ColumnToX(3), engine.ValueToY(engine.PointAt(0, 3).value));
    engine.OnButtonDown(graph::kCtrl, engine.ColumnToX(6), engine.ValueToY(engine.PointAt(0, 6).value));
    int selected = 0;
    for (int t = 0; t < 50; ++t) {
        for (int c = 0; c < 10; ++c) selected += engine.PointAt(t, c).selected;
    }
    if (selected != 10) state.SkipWithError("the selection is not 10 points");
    const int y = engine.ValueToY(engine.PointAt(0, 6).value);
    int step = 0;
    const long before = korvath::testing::AllocationCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.OnMouseMove(1, engine.ColumnToX(6), y - (step & 15) * 3));
        ++step;
    }
    ReportAllocations(state, before);
    engine.OnButtonUp();
}
BENCHMARK(BM_DragTenPoints);

// The same drag followed by the paint the view does after it.
void BM_DragTenPointsAndPaint(benchmark::State& state) {
    Scene scene;
    CGraphEngine& engine = scene.engine;
    for (int t = 0; t < 50; ++t) engine.SetTraceVisible(t, t < 5 ? 1 : 0);
    for (int t = 0; t < 4; ++t) engine.SetTraceLink(t, t + 1);
    engine.SetLinking(1);
    scene.Paint();
    engine.OnButtonDown(0, engine.ColumnToX(3), engine.ValueToY(engine.PointAt(0, 3).value));
    engine.OnButtonDown(graph::kCtrl, engine.ColumnToX(6), engine.ValueToY(engine.PointAt(0, 6).value));
    const int y = engine.ValueToY(engine.PointAt(0, 6).value);
    int step = 0;
    scene.Paint();
    const long before = korvath::testing::AllocationCount();
    for (auto _ : state) {
        engine.OnMouseMove(1, engine.ColumnToX(6), y - (step & 15) * 3);
        scene.Paint();
        ++step;
    }
    ReportAllocations(state, before);
    engine.OnButtonUp();
}
BENCHMARK(BM_DragTenPointsAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvath

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
