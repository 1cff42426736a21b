#pragma once
// The text of a small data log written by hand for a test.

#include <string>
#include <vector>

#include "datalog/csv_text.h"
#include "datalog/log_layout.h"

namespace korvath::testing {

// A log of the given item names; each row: time, the items' cells, crosshair X and Y, link.
inline std::string LogText(const std::vector<std::string>& names, const std::vector<std::vector<std::string>>& rows) {
    datalog::LogLayout layout;
    for (const auto& name : names) layout.items.push_back({name, "", -1, true});
    layout.definition = "KV4";
    std::string text;
    datalog::AppendCsvRecord(text, layout.HeaderRow());
    datalog::AppendCsvRecord(text, layout.UnitsRow());
    for (const auto& cells : rows) {
        std::vector<std::string> record{cells[0]};
        record.insert(record.end(), cells.begin() + 1, cells.begin() + 1 + static_cast<std::ptrdiff_t>(names.size()));
        record.resize(1 + 2 * names.size(), "0");  // raw cells
        record.insert(record.end(), cells.begin() + 1 + static_cast<std::ptrdiff_t>(names.size()), cells.end());
        record.push_back(layout.definition);
        datalog::AppendCsvRecord(text, record);
    }
    return text;
}

}  // namespace korvath::testing
