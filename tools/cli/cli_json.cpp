#include "cli_json.h"

#include "cli_command.h"

#include <cstdio>

namespace korvath::cli {

using json = nlohmann::ordered_json;

json LayoutJson(const VariableTable& table) {
    const ImageLayout& l = table.layout;
    return json{{"$TotalBlockSize", l.TotalBlockSize},
                {"$DynamicBlockSize", l.DynamicBlockSize},
                {"$NumDynamicTableCells", l.NumDynamicTableCells},
                {"$NumDynamicTableEntries", l.NumDynamicTableEntries},
                {"$DynamicBlockStart", l.DynamicBlockStart},
                {"$DynamicBlockLayout", l.DynamicBlockLayout},
                {"$DynamicInterpolation", l.DynamicInterpolation},
                {"$StaticBlockSize", l.StaticBlockSize},
                {"$StaticBlockStart", l.StaticBlockStart},
                {"$NVMType", l.NVMType},
                {"$CalBufferStart", l.CalBufferStart},
                {"$CalNVMStart", l.CalNVMStart},
                {"$CalNVMPageSize", l.CalNVMPageSize},
                {"$CalPSVBase", l.CalPSVBase},
                {"$FlashBlockSize", l.FlashBlockSize},
                {"$CalBufferSize", l.CalBufferSize},
                {"variableCount", table.count},
                {"storeFormulaCount", table.storeFormulas.size()},
                {"loadFormulaCount", table.loadFormulas.size()}};
}

json VariablesJson(const VariableTable& table) {
    json variables = json::array();
    for (int i = 0; i < table.count && i < kMaxVariables; ++i) {
        const VariableSlot& s = table.slots[static_cast<std::size_t>(i)];
        char raw[16];
        std::snprintf(raw, sizeof raw, "0x%08X", static_cast<unsigned>(s.Int32()));
        json value;
        switch (s.type) {
            case VarType::I8:
            case VarType::I16: value = s.Int16(); break;
            case VarType::I32: value = s.Int32(); break;
            case VarType::F32: value = s.Float(); break;
            case VarType::STR:
                value = i + 1 < kMaxVariables ? table.slots[static_cast<std::size_t>(i) + 1].name : std::string();
                break;
            case VarType::T8:
                value = json{{"tableAddress", s.TableAddress()}, {"cellCount", s.CellCount()}, {"stride", s.CellStride()}};
                break;
            default: value = nullptr; break;
        }
        variables.push_back(json{{"slot", i},
                                 {"name", s.name},
                                 {"type", s.type},
                                 {"location", s.location},
                                 {"address", s.address},
                                 {"raw", raw},
                                 {"value", value}});
    }
    return variables;
}

json TracesJson(const TracePoints& points) {
    json traces = json::array();
    for (const auto& trace : points) traces.push_back(json(trace));
    return traces;
}

void AddDeclarationsJson(json& out, const Calibration& calibration) {
    const VariableTable& table = calibration.variables;
    out["layout"] = LayoutJson(table);
    out["variables"] = VariablesJson(table);
    out["storeFormulas"] = table.storeFormulas;
    out["loadFormulas"] = table.loadFormulas;
    out["traces"] = TracesJson(calibration.points);
}

json DiffValueJson(const DiffValue& value) {
    if (const auto* i = std::get_if<std::int64_t>(&value)) return *i;
    if (const auto* d = std::get_if<double>(&value)) return *d;
    if (const auto* s = std::get_if<std::string>(&value)) return *s;
    return nullptr;
}

void PrintJson(const json& out) {
    std::printf("%s\n", out.dump(2, ' ', false, json::error_handler_t::replace).c_str());
}

void ReportUnusableDeclarations(const char* command, const std::string& file, CQRNDoc& doc) {
    const std::string missing = doc.MissingDeclarationsPart();
    const std::string why = missing.empty()                 ? std::string("its declarations could not be read")
                            : missing == "[Declarations]" ? std::string("it has no [Declarations] section")
                                                          : "its [Declarations] section has no " + missing;
    std::fprintf(stderr, "korvath-cli %s: %s is no usable definition: %s\n", command, file.c_str(), why.c_str());
}

int PrintDeclarationsResult(bool ok, const Calibration& calibration) {
    json out{{"result", ok ? 1 : 0}};
    AddDeclarationsJson(out, calibration);
    std::printf("%s\n", out.dump(2).c_str());
    return ok ? kSuccess : kFailure;
}

}  // namespace korvath::cli
