#pragma once
// Common set-up of the graph engine tests: the plot a 500 x 400 view gives the engine, a
// recording surface with 6 x 12 pixel characters, and a stand-in for the document that stores
// points as raw steps of two display units each (proposed values rounded to the nearest step).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "graph/graphengine.h"
#include "support/recording_surface.h"

namespace korvath::test {

class StepDocument : public ValueCallback {
public:
    static constexpr float kUnitsPerStep = 2.0f;

    struct Call {
        int trace;
        int column;
        float proposed;
        int deltaIn;
    };

    float OnPointEdited(std::int16_t trace, std::int16_t column, float proposed, std::int16_t& delta) override {
        calls.push_back({trace, column, proposed, delta});
        int& raw = raw_[static_cast<std::size_t>(trace)][static_cast<std::size_t>(column)];
        if (delta == 0) {
            const int newRaw = std::clamp(static_cast<int>(proposed / kUnitsPerStep + 0.5f), 0, 255);
            delta = static_cast<std::int16_t>(newRaw - raw);
            raw = newRaw;
        } else {
            raw = std::clamp(raw + delta, 0, 255);
        }
        return static_cast<float>(raw) * kUnitsPerStep;
    }
    std::int16_t StoredPointValue(std::int16_t trace, std::int16_t column) override {
        return static_cast<std::int16_t>(raw_[static_cast<std::size_t>(trace)][static_cast<std::size_t>(column)] * 10 + 3);
    }

    void SetRaw(int trace, int column, int raw) {
        raw_[static_cast<std::size_t>(trace)][static_cast<std::size_t>(column)] = raw;
    }
    int Raw(int trace, int column) const {
        return raw_[static_cast<std::size_t>(trace)][static_cast<std::size_t>(column)];
    }
    // Fills a trace of the engine from the stored steps, as the document's push does.
    void Push(CGraphEngine& engine, int trace) const {
        std::array<float, 10> values{};
        for (int c = 0; c < 10; ++c) values[static_cast<std::size_t>(c)] = static_cast<float>(Raw(trace, c)) * kUnitsPerStep;
        engine.SetTraceValues(trace, values.data());
    }

    std::vector<Call> calls;

private:
    std::array<std::array<int, 10>, 50> raw_{};
};

class GraphTest : public ::testing::Test {
protected:
    GraphTest() {
        engine.SetPlotRect(20, 20, 450, 360);
        engine.MeasureColumnLabels(surface);
    }

    void SetTrace(int trace, std::array<float, 10> values, bool visible = true) {
        engine.SetTraceValues(trace, values.data());
        engine.SetTraceVisible(trace, visible ? 1 : 0);
    }
    void Redraw() {
        surface.Clear();
        engine.Draw(surface);
    }
    // Pixel of a point in the last layout.
    int X(int column) const { return engine.ColumnToX(column); }
    int Y(int trace, int column) const { return engine.ValueToY(engine.PointAt(trace, column).value); }
    int Click(int trace, int column, int modifiers = 0, int dx = 0, int dy = 0) {
        return engine.OnButtonDown(modifiers, X(column) + dx, Y(trace, column) + dy);
    }
    bool Selected(int trace, int column) const { return engine.PointAt(trace, column).selected != 0; }
    std::vector<int> SelectedColumns(int trace) const {
        std::vector<int> out;
        for (int c = 0; c < engine.PointCount(); ++c) {
            if (Selected(trace, c)) out.push_back(c);
        }
        return out;
    }

    CGraphEngine engine{50, 10};
    RecordingSurface surface;
};

inline std::array<float, 10> Ramp(float start, float step) {
    std::array<float, 10> v{};
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = start + step * static_cast<float>(i);
    return v;
}

inline std::array<float, 10> Flat(float value) {
    std::array<float, 10> v{};
    v.fill(value);
    return v;
}

}  // namespace korvath::test
