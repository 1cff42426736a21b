#include "document/curve_edit.h"

#include <algorithm>
#include <cmath>
#include <charconv>

#include "document/qrndoc.h"

namespace korvath {
namespace {

constexpr int kMaxRawByte = 255;

bool ValidPoint(int trace, int column) {
    return trace >= 0 && trace < kNumTraces && column >= 0 && column < kPointsPerTrace;
}

// The traces linked to `trace` (not itself), following the chain as selecting a point does.
std::vector<int> LinkedTraces(const CGraphEngine& graph, int trace) {
    std::vector<int> linked;
    int n = graph.TraceAt(trace).link;
    for (int steps = 0; n != trace && steps < graph.TraceCount(); ++steps) {
        if (graph.TraceAt(n).visible) linked.push_back(n);
        const int next = graph.TraceAt(n).link;
        if (next == n) break;
        n = next;
    }
    return linked;
}

}  // namespace

float CurveEditor::ShownValue(int trace, int column) const {
    if (!ValidPoint(trace, column)) return 0;
    if (const CGraphEngine* graph = doc_.graph(); graph && doc_.showConverted())
        return graph->PointAt(trace, column).value;
    return doc_.showConverted() ? doc_.DisplayPointValue(trace, column) : doc_.StoredPointValue(trace, column);
}

float CurveEditor::StorePoint(int trace, int column, double value) {
    if (!ValidPoint(trace, column) || !std::isfinite(value)) return ShownValue(trace, column);
    // A value beyond the controller's byte stores the nearest one it holds: the conversion
    // alone would wrap a large value round to a small one.
    const double atZero = doc_.RawToValue(trace, 0, TraceFormula::IntToDisp);
    const double atFull = doc_.RawToValue(trace, kMaxRawByte, TraceFormula::IntToDisp);
    if (doc_.showConverted() && atZero != atFull) value = std::clamp(value, std::min(atZero, atFull), std::max(atZero, atFull));
    const auto proposed = static_cast<float>(std::clamp(value, -32768.0, 32767.0));
    std::int16_t delta = 0;
    const auto t = static_cast<std::int16_t>(trace);
    const auto c = static_cast<std::int16_t>(column);
    const float shown = doc_.OnPointEdited(t, c, proposed, delta);
    CGraphEngine* graph = doc_.graph();
    if (!graph) return shown;
    graph->SetPointValue(trace, column, shown);
    graph->UpdateTraceRange(trace);
    if (delta != 0 && graph->SetLinking(graph::kLinkingQuery) == 1) {
        for (int linked : LinkedTraces(*graph, trace)) {
            const auto l = static_cast<std::int16_t>(linked);
            graph->SetPointValue(linked, column, doc_.OnPointEdited(l, c, graph->PointAt(linked, column).value, delta));
            graph->UpdateTraceRange(linked);
        }
    }
    return shown;
}

int CurveEditor::StoreBlock(const PointBlock& at, const BlockValues& values) {
    int stored = 0;
    const int rows = std::min(at.RowCount(), static_cast<int>(values.size()));
    for (int r = 0; r < rows; ++r) {
        const auto& row = values[static_cast<std::size_t>(r)];
        const int trace = at.traces[static_cast<std::size_t>(r)];
        for (std::size_t i = 0; i < row.size(); ++i) {
            const int column = at.firstColumn + static_cast<int>(i);
            if (column >= kPointsPerTrace || (at.lastColumn >= at.firstColumn && column > at.lastColumn)) break;
            if (!row[i] || !ValidPoint(trace, column)) continue;
            StorePoint(trace, column, *row[i]);
            ++stored;
        }
    }
    return stored;
}

BlockValues CurveEditor::OperationValues(const PointBlock& block, BlockOperation operation, double operand) const {
    BlockValues result;
    const int columns = block.ColumnCount();
    for (int trace : block.traces) {
        std::vector<double> now(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i) now[static_cast<std::size_t>(i)] = ShownValue(trace, block.firstColumn + i);
        std::vector<std::optional<double>> row(static_cast<std::size_t>(columns));
        const double first = columns > 0 ? now.front() : 0;
        const double last = columns > 0 ? now.back() : 0;
        for (int i = 0; i < columns; ++i) {
            const auto k = static_cast<std::size_t>(i);
            const bool inner = i > 0 && i < columns - 1;
            switch (operation) {
                case BlockOperation::Set: row[k] = operand; break;
                case BlockOperation::Add: row[k] = now[k] + operand; break;
                case BlockOperation::Scale: row[k] = now[k] * (1.0 + operand / 100.0); break;
                case BlockOperation::Interpolate:
                    if (inner) row[k] = first + (last - first) * i / (columns - 1);
                    break;
                case BlockOperation::Smooth:
                    // From the values before the smoothing, not the ones it has just changed.
                    if (inner) row[k] = (now[k - 1] + now[k] + now[k + 1]) / 3.0;
                    break;
            }
        }
        result.push_back(std::move(row));
    }
    return result;
}

std::string FormatCellNumber(double value) {
    if (!std::isfinite(value)) return "0";
    // The shortest fixed form that reads back as the same float, whatever the C locale says.
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<float>(value), std::chars_format::fixed);
    std::string s(text, result.ec == std::errc() ? result.ptr : text);
    // (A fill, not a copy of "0": GCC 12 at -O3 warns about the copy inside std::string.)
    if (s.empty() || s == "-0") return std::string(1, '0');
    return s;
}

std::string CellCountText(int rows, int columns) {
    if (rows == 1 && columns == 1) return "1 cell";
    return std::to_string(rows) + "\u00d7" + std::to_string(columns) + " cells";
}

std::string PasteStepName(int rows, int columns) { return "Paste " + CellCountText(rows, columns); }

std::string OperationStepName(BlockOperation operation, const PointBlock& block, double operand) {
    const std::string cells = CellCountText(block.RowCount(), block.ColumnCount());
    const std::string number = FormatCellNumber(operand);
    switch (operation) {
        case BlockOperation::Set: return "Set " + cells + " to " + number;
        case BlockOperation::Add: return "Add " + number + " to " + cells;
        case BlockOperation::Scale: return "Scale " + cells + " by " + (operand > 0 ? "+" : "") + number + " %";
        case BlockOperation::Interpolate: return "Interpolate " + cells;
        case BlockOperation::Smooth: return "Smooth " + cells;
    }
    return cells;
}

std::string PointName(const CQRNDoc& doc, int trace, int column) {
    std::string name = "trace " + std::to_string(trace);
    std::string label = std::to_string(column);
    if (const CGraphEngine* graph = doc.graph(); graph && ValidPoint(trace, column)) {
        if (graph->TraceAt(trace).name[0] != '\0') name = graph->TraceAt(trace).name;
        label = graph->ColumnLabel(column);
    }
    return name + " at " + label;
}

}  // namespace korvath
