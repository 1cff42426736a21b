#pragma once
// The calibration as rows for a spreadsheet: every bound trace with its ten points in display
// units and its name, then every scalar variable with its value.

#include <string>
#include <vector>

#include "calibration/calibration_diff.h"

namespace korvath {

class CQRNDoc;

struct ExportRow {
    enum class Kind { Trace, Variable } kind = Kind::Trace;
    int trace = -1;             // Trace rows
    std::string name{};         // the engine's trace name, or the variable's name
    std::vector<DiffValue> values{};  // ten display values of a trace, the one value of a variable
};

std::vector<ExportRow> ExportRows(CQRNDoc& doc);
// Comma-separated text with a header line; names are quoted where they need it.
std::string ExportCsv(const std::vector<ExportRow>& rows);

}  // namespace korvath
