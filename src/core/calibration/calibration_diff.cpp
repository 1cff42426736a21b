#include "calibration/calibration_diff.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "definition/definition_keys.h"
#include "definition/property_store.h"
#include "document/qrndoc.h"

namespace korvath {
namespace {

template <typename Strings>
struct StringField {
    const char* name;
    std::string Strings::*member;
};

constexpr StringField<ApplicationStrings> kApplicationFields[] = {
    {definition_keys::kLogicalName, &ApplicationStrings::LogicalName},
    {"Schema", &ApplicationStrings::Schema},
    {"TransmissionType", &ApplicationStrings::TransmissionType},
    {"SubType", &ApplicationStrings::SubType},
    {"Reserved1", &ApplicationStrings::Reserved1},
    {"DefinitionFileName", &ApplicationStrings::DefinitionFileName},
    {"Description", &ApplicationStrings::Description},
    {"Reserved2", &ApplicationStrings::Reserved2},
};
constexpr StringField<ProductStrings> kProductFields[] = {
    {"ProdID", &ProductStrings::ProdID},       {"ProdName", &ProductStrings::ProdName},
    {"MinFWVer", &ProductStrings::MinFWVer},   {"MaxFWVer", &ProductStrings::MaxFWVer},
    {"MinHWVer", &ProductStrings::MinHWVer},   {"Reserved3", &ProductStrings::Reserved3},
    {"Reserved4", &ProductStrings::Reserved4},
};

class DiffBuilder {
public:
    DiffBuilder(CalibrationDiff& diff, bool includeEqual) : diff_(diff), includeEqual_(includeEqual) {}
    void Add(DiffItem item, bool equal) {
        item.equal = equal;
        if (!equal) diff_.differs = true;
        if (!equal || includeEqual_) diff_.items.push_back(std::move(item));
    }
    bool includeEqual() const { return includeEqual_; }

private:
    CalibrationDiff& diff_;
    bool includeEqual_;
};

template <typename Strings, std::size_t N>
void CompareStrings(DiffBuilder& out, DiffKind kind, const StringField<Strings> (&fields)[N], const Strings& a,
                    const Strings& b) {
    for (const auto& field : fields) {
        DiffItem item{.kind = kind, .name = field.name, .a = a.*field.member, .b = b.*field.member};
        out.Add(std::move(item), a.*field.member == b.*field.member);
    }
}

DiffValue VariableValue(const VariableTable& table, std::size_t slot) {
    const VariableSlot& s = table.slots[slot];
    switch (s.type) {
        case VarType::I8:
        case VarType::I16: return std::int64_t{s.Int16()};
        case VarType::I32: return std::int64_t{s.Int32()};
        case VarType::F32: return FloatAsShown(s.Float());
        case VarType::STR: return slot + 1 < table.slots.size() ? table.slots[slot + 1].name : std::string();
        case VarType::T8: {
            char text[48];
            std::snprintf(text, sizeof text, "table %d, %u cells, stride %u", s.TableAddress(),
                          static_cast<unsigned>(s.CellCount()), static_cast<unsigned>(s.CellStride()));
            return std::string(text);
        }
        default: return {};
    }
}

// Slot indexes of the declared variables by name (the first declaration of a name counts, as
// the lookups find it).
std::unordered_map<std::string, std::size_t> DeclaredByName(const VariableTable& table) {
    std::unordered_map<std::string, std::size_t> byName;
    const int count = std::clamp<int>(table.count, 0, kMaxVariables);
    for (int i = 0; i < count; ++i) {
        const VariableSlot& s = table.slots[static_cast<std::size_t>(i)];
        if (s.type == VarType::Continuation || s.name.empty()) continue;
        byName.emplace(s.name, static_cast<std::size_t>(i));
    }
    return byName;
}

void CompareVariables(DiffBuilder& out, const VariableTable& a, const VariableTable& b) {
    const auto inB = DeclaredByName(b);
    const auto inA = DeclaredByName(a);
    auto add = [&](const VariableTable& first, std::size_t slot, bool firstIsA) {
        const VariableSlot& s = first.slots[slot];
        const VariableTable& other = firstIsA ? b : a;
        const auto& otherIndex = firstIsA ? inB : inA;
        const auto found = otherIndex.find(s.name);
        DiffItem item{.kind = DiffKind::Variable, .name = s.name, .type = TypeWord(s.type)};
        DiffValue mine = VariableValue(first, slot);
        DiffValue theirs;
        bool equal = false;
        if (found != otherIndex.end()) {
            const VariableSlot& o = other.slots[found->second];
            theirs = VariableValue(other, found->second);
            if (o.type != s.type) {
                // Only variables declared in one file come from b's loop, so here first is a.
                item.type += std::string("/") + TypeWord(o.type);
            } else if (s.type == VarType::F32) {
                equal = s.value == o.value;  // bit for bit: a NaN stays equal to itself
            } else {
                equal = mine == theirs;
            }
        }
        item.a = firstIsA ? mine : theirs;
        item.b = firstIsA ? theirs : mine;
        out.Add(std::move(item), equal);
    };
    const int countA = std::clamp<int>(a.count, 0, kMaxVariables);
    for (int i = 0; i < countA; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const auto it = inA.find(a.slots[slot].name);
        if (it != inA.end() && it->second == slot) add(a, slot, true);
    }
    const int countB = std::clamp<int>(b.count, 0, kMaxVariables);
    for (int i = 0; i < countB; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const auto it = inB.find(b.slots[slot].name);
        if (it != inB.end() && it->second == slot && !inA.contains(b.slots[slot].name)) add(b, slot, false);
    }
}

std::string TraceName(CQRNDoc& a, CQRNDoc& b, int trace) {
    for (const CQRNDoc* doc : {&a, &b}) {
        const CGraphEngine* graph = doc->graph();
        if (graph && trace < graph->TraceCount() && graph->TraceAt(trace).name[0]) return graph->TraceAt(trace).name;
    }
    return {};
}

void CompareTraces(DiffBuilder& out, CQRNDoc& a, CQRNDoc& b) {
    const ViewStateBlock& viewA = a.calibration().viewState;
    const ViewStateBlock& viewB = b.calibration().viewState;
    for (int t = 0; t < kNumTraces; ++t) {
        const std::string name = TraceName(a, b, t);
        const auto& pa = a.calibration().points[static_cast<std::size_t>(t)];
        const auto& pb = b.calibration().points[static_cast<std::size_t>(t)];
        for (int p = 0; p < kPointsPerTrace; ++p) {
            const std::int16_t sa = pa[static_cast<std::size_t>(p)];
            const std::int16_t sb = pb[static_cast<std::size_t>(p)];
            if (sa == sb && !out.includeEqual()) continue;
            DiffItem item{.kind = DiffKind::TracePoint, .trace = t, .traceName = name, .point = p,
                          .a = std::int64_t{sa}, .b = std::int64_t{sb},
                          .displayA = FloatAsShown(a.DisplayPointValue(t, p)),
                          .displayB = FloatAsShown(b.DisplayPointValue(t, p))};
            out.Add(std::move(item), sa == sb);
        }
        const bool va = viewA.TraceVisible(t);
        const bool vb = viewB.TraceVisible(t);
        DiffItem item{.kind = DiffKind::Visibility, .name = "visible", .trace = t, .traceName = name,
                      .a = std::int64_t{va}, .b = std::int64_t{vb}};
        out.Add(std::move(item), va == vb);
    }
    DiffItem linking{.kind = DiffKind::Linking, .name = "traceLinking", .a = std::int64_t{viewA.TraceLinking()},
                     .b = std::int64_t{viewB.TraceLinking()}};
    out.Add(std::move(linking), viewA.TraceLinking() == viewB.TraceLinking());
}

void CompareProperties(DiffBuilder& out, const std::string& a, const std::string& b) {
    const auto entriesA = PropertyEntries(a);
    const auto entriesB = PropertyEntries(b);
    auto find = [](const auto& entries, const std::string& key) -> const std::string* {
        for (const auto& [k, v] : entries)
            if (k == key) return &v;
        return nullptr;
    };
    for (const auto& [key, value] : entriesA) {
        if (find(entriesA, key) != &value) continue;  // a repeated key: the first one is the one read
        const std::string* other = find(entriesB, key);
        DiffItem item{.kind = DiffKind::Property, .name = key, .a = value};
        if (other) item.b = *other;
        out.Add(std::move(item), other && *other == value);
    }
    for (const auto& [key, value] : entriesB) {
        if (find(entriesB, key) != &value || find(entriesA, key)) continue;
        out.Add(DiffItem{.kind = DiffKind::Property, .name = key, .b = value}, false);
    }
}

// The definition text keeps each line after a line feed; line 1 is the first kept line.
void CompareDefinitions(DiffBuilder& out, const std::string& a, const std::string& b) {
    DiffItem item{.kind = DiffKind::Definition, .name = "definitionText"};
    if (a == b) {
        out.Add(std::move(item), true);
        return;
    }
    std::size_t startA = a.starts_with('\n') ? 1 : 0;
    std::size_t startB = b.starts_with('\n') ? 1 : 0;
    for (int line = 1;; ++line) {
        const bool moreA = startA <= a.size() && !(startA == a.size() && startA > 0 && a[startA - 1] != '\n');
        const bool moreB = startB <= b.size() && !(startB == b.size() && startB > 0 && b[startB - 1] != '\n');
        const std::size_t endA = moreA ? std::min(a.find('\n', startA), a.size()) : a.size();
        const std::size_t endB = moreB ? std::min(b.find('\n', startB), b.size()) : b.size();
        const std::string_view lineA = moreA ? std::string_view(a).substr(startA, endA - startA) : std::string_view();
        const std::string_view lineB = moreB ? std::string_view(b).substr(startB, endB - startB) : std::string_view();
        if (moreA != moreB || lineA != lineB) {
            item.point = line;
            if (moreA) item.a = std::string(lineA);
            if (moreB) item.b = std::string(lineB);
            out.Add(std::move(item), false);
            return;
        }
        startA = endA + 1;
        startB = endB + 1;
    }
}

}  // namespace

double FloatAsShown(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text - 1, value);
    *result.ptr = '\0';
    return std::strtod(text, nullptr);
}

CalibrationDiff CompareCalibrations(CQRNDoc& a, CQRNDoc& b, bool includeEqual) {
    CalibrationDiff diff;
    DiffBuilder out(diff, includeEqual);
    const Calibration& ca = a.calibration();
    const Calibration& cb = b.calibration();
    CompareStrings(out, DiffKind::Application, kApplicationFields, ca.application, cb.application);
    CompareStrings(out, DiffKind::Product, kProductFields, ca.product, cb.product);
    CompareVariables(out, ca.variables, cb.variables);
    CompareTraces(out, a, b);
    CompareProperties(out, ca.properties.text(), cb.properties.text());
    CompareDefinitions(out, a.reader().text(), b.reader().text());
    return diff;
}

std::vector<std::pair<std::string, std::string>> PropertyEntries(const std::string& text) {
    // ":<section>:<name> <value>; " one after another; a key runs to its first space.
    std::vector<std::pair<std::string, std::string>> entries;
    std::size_t pos = text.find(':');
    while (pos != std::string::npos) {
        const std::size_t second = text.find(':', pos + 1);
        if (second == std::string::npos) break;
        const std::size_t space = text.find(' ', second + 1);
        const std::size_t semicolon = text.find(';', second + 1);
        if (space == std::string::npos || semicolon == std::string::npos || semicolon < space) {
            pos = text.find(':', second + 1);
            continue;
        }
        // An entry whose ";" comes after the next entry's ":" is damaged; the store cannot read it.
        const std::size_t next = text.find(':', space + 1);
        if (next < semicolon) {
            pos = next;
            continue;
        }
        entries.emplace_back(text.substr(pos, space - pos),
                             UnescapePropertyText(std::string_view(text).substr(space + 1, semicolon - space - 1)));
        pos = text.find(':', semicolon + 1);
    }
    return entries;
}

const char* DiffKindName(DiffKind kind) {
    switch (kind) {
        case DiffKind::Application: return "application";
        case DiffKind::Product: return "product";
        case DiffKind::Variable: return "variable";
        case DiffKind::TracePoint: return "point";
        case DiffKind::Visibility: return "visibility";
        case DiffKind::Linking: return "linking";
        case DiffKind::Property: return "property";
        case DiffKind::Definition: return "definition";
    }
    return "";
}

const char* TypeWord(std::uint8_t type) {
    switch (type) {
        case VarType::I8: return "I8";
        case VarType::I16: return "I16";
        case VarType::I32: return "I32";
        case VarType::F32: return "F32";
        case VarType::STR: return "STR";
        case VarType::T8: return "T8";
        default: return "?";
    }
}

std::string DiffValueText(const DiffValue& value) {
    if (const auto* i = std::get_if<std::int64_t>(&value)) return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&value)) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", *d);
        return text;
    }
    if (const auto* s = std::get_if<std::string>(&value)) return *s;
    return "-";
}

DiffRow DiffRowOf(const DiffItem& item) {
    DiffRow row;
    if (!item.page.empty()) {
        row.what = item.page + " > " + item.label;
        row.a = item.aText;
        row.b = item.bText;
        return row;
    }
    std::string trace;
    if (item.trace >= 0) trace = item.traceName.empty() ? "trace " + std::to_string(item.trace) : item.traceName;
    switch (item.kind) {
        case DiffKind::Application:
        case DiffKind::Product:
        case DiffKind::Property: row.what = std::string(DiffKindName(item.kind)) + " " + item.name; break;
        case DiffKind::Variable: row.what = "variable " + item.name + " (" + item.type + ")"; break;
        case DiffKind::TracePoint:
            row.what = trace + ", " + kColumnCaption + " " +
                       (item.columnLabel.empty() ? std::to_string(item.point) : item.columnLabel);
            break;
        case DiffKind::Visibility: row.what = trace + " visible"; break;
        case DiffKind::Linking: row.what = "trace linking"; break;
        case DiffKind::Definition:
            row.what = item.point > 0 ? "definition line " + std::to_string(item.point) : "definition";
            break;
    }
    if (item.kind == DiffKind::TracePoint) {
        row.a = item.aText.empty() ? DiffValueText(item.displayA) : item.aText;
        row.b = item.bText.empty() ? DiffValueText(item.displayB) : item.bText;
    } else {
        row.a = DiffValueText(item.a);
        row.b = DiffValueText(item.b);
    }
    if (item.kind == DiffKind::Definition && item.equal) row.a = row.b = "same";
    return row;
}

std::vector<DiffRow> DiffRows(const CalibrationDiff& diff) {
    std::vector<DiffRow> rows;
    rows.reserve(diff.items.size());
    for (const DiffItem& item : diff.items) {
        DiffRow row = DiffRowOf(item);
        // Only items named by a page can share a row; the others each name their own thing.
        if (!item.page.empty() && std::find(rows.begin(), rows.end(), row) != rows.end()) continue;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string DiffLine(const DiffRow& row) { return row.what + ": " + row.a + " \u2192 " + row.b; }

std::string DiffText(const CalibrationDiff& diff) {
    std::string text;
    for (const DiffRow& row : DiffRows(diff)) text += DiffLine(row) + '\n';
    return text;
}

}  // namespace korvath
