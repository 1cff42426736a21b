#include "calibration/curve_export.h"

#include <algorithm>
#include <cstdio>

#include "document/qrndoc.h"
#include "platform/csv_field.h"

namespace korvath {
namespace {

constexpr const char* kCsvHeaderStart = "kind,trace,name";
constexpr const char* kTraceKind = "trace";
constexpr const char* kVariableKind = "variable";

std::string CsvNumber(const DiffValue& value) {
    if (const auto* d = std::get_if<double>(&value)) {
        char text[32];
        std::snprintf(text, sizeof text, "%.9g", *d);
        return text;
    }
    return DiffValueText(value);
}

}  // namespace

std::vector<ExportRow> ExportRows(CQRNDoc& doc) {
    std::vector<ExportRow> rows;
    const CGraphEngine* graph = doc.graph();
    for (int t = 0; t < kNumTraces; ++t) {
        if (doc.traceBinding(t).TraceMode == TraceModes::None) continue;
        ExportRow row{.kind = ExportRow::Kind::Trace, .trace = t};
        if (graph && t < graph->TraceCount()) row.name = graph->TraceAt(t).name;
        for (int p = 0; p < kPointsPerTrace; ++p) row.values.emplace_back(FloatAsShown(doc.DisplayPointValue(t, p)));
        rows.push_back(std::move(row));
    }
    const VariableTable& table = doc.calibration().variables;
    const int count = std::min<int>(table.count, kMaxVariables);
    for (int i = 0; i < count; ++i) {
        const VariableSlot& s = table.slots[static_cast<std::size_t>(i)];
        DiffValue value;
        switch (s.type) {
            case VarType::I8:
            case VarType::I16: value = std::int64_t{s.Int16()}; break;
            case VarType::I32: value = std::int64_t{s.Int32()}; break;
            case VarType::F32: value = FloatAsShown(s.Float()); break;
            default: continue;
        }
        rows.push_back(ExportRow{.kind = ExportRow::Kind::Variable, .name = s.name, .values = {value}});
    }
    return rows;
}

std::string ExportCsv(const std::vector<ExportRow>& rows) {
    std::string csv = kCsvHeaderStart;
    for (int p = 0; p < kPointsPerTrace; ++p) csv += ",p" + std::to_string(p);
    csv += '\n';
    for (const ExportRow& row : rows) {
        const bool trace = row.kind == ExportRow::Kind::Trace;
        csv += trace ? kTraceKind : kVariableKind;
        csv += ',';
        if (trace) csv += std::to_string(row.trace);
        csv += ',';
        AppendCsvField(csv, row.name);
        for (const DiffValue& v : row.values) csv += ',' + CsvNumber(v);
        csv += '\n';
    }
    return csv;
}

}  // namespace korvath
