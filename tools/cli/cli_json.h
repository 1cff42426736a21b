#pragma once
// JSON views of a calibration shared by the subcommands that print one.

#include <nlohmann/json.hpp>

#include "calibration/calibration_diff.h"
#include "document/qrndoc.h"

namespace korvath::cli {

// {"$TotalBlockSize":…, every "$" key, "variableCount", "storeFormulaCount", "loadFormulaCount"}
nlohmann::ordered_json LayoutJson(const VariableTable& table);
// [{"slot","name","type","location","address","raw","value"}, …] for the slots in use.
nlohmann::ordered_json VariablesJson(const VariableTable& table);
// [[10 points] × 50]
nlohmann::ordered_json TracesJson(const TracePoints& points);
// The layout, variables, formula lists and traces of a calibration.
void AddDeclarationsJson(nlohmann::ordered_json& out, const Calibration& calibration);
// null, a number or a text.
nlohmann::ordered_json DiffValueJson(const DiffValue& value);
// Prints the JSON with two spaces of indent (bad UTF-8 replaced) and a line feed.
void PrintJson(const nlohmann::ordered_json& json);
// Prints {"result": 0|1, …the declarations…} and returns the matching exit status.
int PrintDeclarationsResult(bool ok, const Calibration& calibration);
// Says on standard error why `file` gave no declarations: the section or layout key it lacks.
void ReportUnusableDeclarations(const char* command, const std::string& file, CQRNDoc& doc);

}  // namespace korvath::cli
