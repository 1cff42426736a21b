#pragma once
// Curve values as text, for the clipboard: tab-separated rows of numbers with "." decimals.
// Pasting also takes comma-separated rows, a spreadsheet's header line and row names, and the
// curve rows of korvath-cli export (its header line, its variable rows and the kind, trace and
// name fields before the points are left out).

#include <string>
#include <string_view>
#include <vector>

#include "document/curve_edit.h"

namespace korvath {

// A typed number: optional blanks around, "." decimals, an optional sign and exponent. False
// with the reason (for the status bar) when the text is not such a number.
bool ParseCellNumber(std::string_view text, double& value, std::string& reason);

struct PastedCells {
    BlockValues values;  // row by row; an empty field is an absent value
    int columns = 0;     // the widest row
    std::string error;   // why nothing can be pasted (empty when it can)
};
PastedCells ParseCellText(std::string_view text);

// Rows by lines, cells by tabs, each line ending with a line feed.
std::string FormatCellText(const std::vector<std::vector<double>>& rows);

}  // namespace korvath
