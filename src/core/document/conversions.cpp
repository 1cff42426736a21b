// Trace bindings and the conversions between stored points, raw table bytes and display values.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "definition/numeric.h"
#include "document/qrndoc.h"

namespace korvath {
namespace {

constexpr const char* kFormulaKeys[] = {"StoreToIntFormula", "IntToStoreFormula", "DispToIntFormula",
                                        "IntToDispFormula",  "ProxyFormula",      "PadEnable"};
constexpr std::size_t kConvTableLength = 400;
constexpr std::size_t kConversionBytesPerTrace = 160;
constexpr std::size_t kConversionBytesPerEntry = 8;

bool ValidTrace(int trace) { return trace >= 0 && trace < kNumTraces; }

// A point index that a table needs beyond the 10 points of a trace uses the last point.
int ClampPoint(int index) { return std::clamp(index, 0, kPointsPerTrace - 1); }

}  // namespace

double CQRNDoc::Evaluate(const std::string& formula, double x) {
    int position = -1;
    std::string error;
    return parser_.Evaluate(formula, x, position, error, 1);
}

ConversionEntry CQRNDoc::ConversionTableEntry(int trace, int entry) const {
    ConversionEntry e;
    if (!ValidTrace(trace) || entry < 0 || entry >= kConversionEntries) return e;
    const std::uint8_t* p = cal_.conversionTables.data() + kConversionBytesPerTrace * static_cast<std::size_t>(trace) +
                            kConversionBytesPerEntry * static_cast<std::size_t>(entry);
    std::uint32_t display = 0, raw = 0;
    for (int i = 3; i >= 0; --i) {
        display = (display << 8) | p[i];
        raw = (raw << 8) | p[4 + i];
    }
    std::memcpy(&e.display, &display, sizeof display);
    e.raw = static_cast<std::int32_t>(raw);
    return e;
}

void CQRNDoc::SetConversionTableEntry(int trace, int entry, ConversionEntry value) {
    if (!ValidTrace(trace) || entry < 0 || entry >= kConversionEntries) return;
    std::uint8_t* p = cal_.conversionTables.data() + kConversionBytesPerTrace * static_cast<std::size_t>(trace) +
                      kConversionBytesPerEntry * static_cast<std::size_t>(entry);
    std::uint32_t display = 0;
    std::memcpy(&display, &value.display, sizeof display);
    const auto raw = static_cast<std::uint32_t>(value.raw);
    for (std::size_t i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>((display >> (8 * i)) & 0xFF);
        p[4 + i] = static_cast<std::uint8_t>((raw >> (8 * i)) & 0xFF);
    }
}

bool CQRNDoc::ReadTraceBinding(int trace) {
    if (!graph_ || !ValidTrace(trace)) return false;
    TraceBinding& b = traceBinding(trace);
    reader_.ReadKeyInt("TraceMode", b.TraceMode, 1);
    b.ProxyActive = 0;
    std::int32_t link = trace;
    reader_.ReadKeyInt("Link", link, 1, trace);
    graph_->SetTraceLink(trace, link);
    for (int slot = 0; slot < 6; ++slot) {
        b.formulas[static_cast<std::size_t>(slot)].clear();
        reader_.FindKeyValue(kFormulaKeys[slot], b.formulas[static_cast<std::size_t>(slot)], 1);
    }
    std::string table;
    reader_.ReadKeyString("ConvTable", table, kConvTableLength, 1);
    const char* p = table.c_str();
    const char* end = p + table.size();
    for (int i = 0; i < kConversionEntries && p < end; ++i) {
        int raw = 0, used = 0;
        float display = 0;
        if (std::sscanf(p, "%d %f,%n", &raw, &display, &used) != 2) break;
        SetConversionTableEntry(trace, i, {display, raw});
        if (used == 0) break;  // the last item has no comma after it
        p += used;
    }
    return true;
}

bool CQRNDoc::ClearTraceBinding(int trace) {
    if (!ValidTrace(trace)) return false;
    TraceBinding& b = traceBinding(trace);
    for (int slot = 0; slot <= TraceFormula::Proxy; ++slot) b.formulas[static_cast<std::size_t>(slot)].clear();
    b.TraceMode = TraceModes::None;
    b.ProxyActive = 0;
    for (int i = 0; i < kConversionEntries; ++i) SetConversionTableEntry(trace, i, {});
    if (!graph_) return false;
    graph_->SetTraceLink(trace, trace);
    return true;
}

double CQRNDoc::RawToValue(int trace, int rawByte, int formulaSlot) {
    if (!ValidTrace(trace) || formulaSlot < 0 || formulaSlot >= TraceFormula::Count) return 0;
    const TraceBinding& b = traceBinding(trace);
    double value;
    switch (b.TraceMode) {
        case 2:
        case 3: value = rawByte; break;
        case TraceModes::Formulas: {
            std::string formula = b.formulas[static_cast<std::size_t>(formulaSlot)];
            SubstituteReferences(formula, 0);
            value = Evaluate(formula, rawByte);
            break;
        }
        default: return 0;
    }
    if (std::isnan(value)) return 0;  // a formula outside its domain shows as the lowest value
    return std::clamp(value, 0.0, 32767.0);
}

std::uint8_t CQRNDoc::DisplayToRaw(int trace, float value, int formulaSlot, std::int16_t offset, float position) {
    if (!ValidTrace(trace) || formulaSlot < 0 || formulaSlot >= TraceFormula::Count) return 0;
    const TraceBinding& b = traceBinding(trace);
    std::int16_t raw;
    if (b.ProxyActive == 1) {
        std::string formula = b.formulas[TraceFormula::Proxy];
        SubstituteReferences(formula, position);
        raw = TruncToInt16(Evaluate(formula, value));
    } else {
        switch (b.TraceMode) {
            case 2:
            case 3: raw = TruncToInt16(static_cast<double>(value) + 0.5); break;
            case TraceModes::Formulas: {
                std::string formula = b.formulas[static_cast<std::size_t>(formulaSlot)];
                SubstituteReferences(formula, position);
                raw = TruncToInt16(Evaluate(formula, value));
                break;
            }
            default: return 0;
        }
    }
    return static_cast<std::uint8_t>(std::clamp(raw + offset, 0, 255));
}

std::int16_t CQRNDoc::PaddedPoint(int trace, int index, int mode) {
    if (!ValidTrace(trace)) return 0;
    const int point = ClampPoint(index);
    const std::int16_t value = cal_.points[static_cast<std::size_t>(trace)][static_cast<std::size_t>(point)];
    const std::string& rule = traceBinding(trace).formulas[TraceFormula::PadEnable];
    if (rule.empty()) return value;
    short enable = 0, table = 0;
    char name[71] = "";
    int used = 0;
    if (std::sscanf(rule.c_str(), "%hi:%hi:%70s %n", &enable, &table, name, &used) < 3) return value;
    bool listed = false;
    for (const char* p = rule.c_str() + used; !listed;) {
        short listedIndex = 0;
        int n = 0;
        if (std::sscanf(p, "%hi%n", &listedIndex, &n) != 1 || n == 0) break;
        listed = listedIndex == index;
        p += n;
    }
    if (!listed) return value;
    if (enable != 1 || table < 0 || table >= kNumTraces) return value;
    IntVariableRef pad = FindIntVariable(name);
    if (!pad) return value;
    return static_cast<std::int16_t>(mode == 0 ? value + pad.get() : value - pad.get());
}

float CQRNDoc::OnPointEdited(std::int16_t trace, std::int16_t column, float proposed, std::int16_t& step) {
    if (!ValidTrace(trace) || column < 0 || column >= kPointsPerTrace) return proposed;
    SetModifiedFlag();
    std::int16_t& point = cal_.points[static_cast<std::size_t>(trace)][static_cast<std::size_t>(column)];
    std::uint8_t raw;
    if (step == 0) {
        const std::uint8_t newRaw = DisplayToRaw(trace, proposed, TraceFormula::DispToInt, 0, 0);
        const std::uint8_t oldRaw = DisplayToRaw(trace, point, TraceFormula::StoreToInt, 0, 0);
        step = static_cast<std::int16_t>(newRaw - oldRaw);
        raw = newRaw;
    } else {
        raw = DisplayToRaw(trace, point, TraceFormula::StoreToInt, step, 0);
    }
    point = TruncToInt16(RawToValue(trace, raw, TraceFormula::IntToStore) + 0.5);
    return showConverted_ ? static_cast<float>(RawToValue(trace, raw, TraceFormula::IntToDisp)) : point;
}

std::int16_t CQRNDoc::StoredPointValue(std::int16_t trace, std::int16_t column) {
    if (!ValidTrace(trace) || column < 0 || column >= kPointsPerTrace) return 0;
    return cal_.points[static_cast<std::size_t>(trace)][static_cast<std::size_t>(column)];
}

float CQRNDoc::DisplayPointValue(int trace, int column) {
    if (!ValidTrace(trace) || column < 0 || column >= kPointsPerTrace) return 0;
    const std::int16_t point = cal_.points[static_cast<std::size_t>(trace)][static_cast<std::size_t>(column)];
    const std::uint8_t raw = DisplayToRaw(trace, point, TraceFormula::StoreToInt, 0, 0);
    return static_cast<float>(RawToValue(trace, raw, TraceFormula::IntToDisp));
}

void CQRNDoc::PushTracesToGraph() {
    if (!graph_) return;
    for (int t = 0; t < kNumTraces; ++t) PushTraceToGraph(t);
}

void CQRNDoc::PushTraceToGraph(int trace) {
    if (!graph_ || !ValidTrace(trace)) return;
    const auto& points = cal_.points[static_cast<std::size_t>(trace)];
    if (showConverted_) {
        for (int j = 0; j < kPointsPerTrace; ++j) graph_->SetPointValue(trace, j, DisplayPointValue(trace, j));
        graph_->UpdateTraceRange(trace);
    } else {
        float values[kPointsPerTrace];
        for (int j = 0; j < kPointsPerTrace; ++j) values[j] = points[static_cast<std::size_t>(j)];
        graph_->SetTraceValues(trace, values);
    }
}

void CQRNDoc::RefreshViews(int full) {
    if (!views_) return;
    if (full) {
        if (graph_)
            for (int t = 0; t < kNumTraces; ++t) graph_->SetTraceVisible(t, 0);
        views_->RebuildBars();
    }
    PushTracesToGraph();
    views_->RedrawView();
}

int CQRNDoc::NotifyChange(int flags, void* sheet) {
    if (flags & 2)
        RefreshViews(1);
    else if (flags & 1)
        RefreshViews(0);
    if ((flags & 4) && sheet && views_) views_->RefreshSheetPages(sheet);
    return 1;
}

}  // namespace korvath
