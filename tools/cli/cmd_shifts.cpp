// korvath-cli shifts LOG.csv [--json] [--gear COLUMN]

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_json.h"
#include "datalog/shift_events.h"

namespace korvath::cli {
namespace {

using json = nlohmann::ordered_json;

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"shifts", "LOG.csv [--json] [--gear COLUMN]",
                       "list the shifts of a data log: every change of its gear channel (the column named Gear, "
                       "or the one given), with the time, the gears, the crosshair's position and every channel's "
                       "value at the first row of the new gear",
                       &Run};
const CommandRegistration kRegistration{kCommand};

json CellJson(const std::string& cell) {
    double value = 0.0;
    if (datalog::ParseDecimal(cell, value)) return value;
    return cell;
}

// The coordinate as the log wrote it ("31.1"), not the float's nearest double.
json CoordinateJson(const std::optional<float>& c) {
    if (!c) return nullptr;
    return CellJson(datalog::FormatDecimal(static_cast<double>(*c), -1));
}

json ShiftsJson(const datalog::LogLayout& layout, const std::vector<datalog::ShiftEvent>& shifts) {
    json out = json::array();
    for (const auto& shift : shifts) {
        json values = json::object();
        for (std::size_t i = 0; i < layout.items.size() && i < shift.values.size(); ++i)
            values[layout.items[i].name] = CellJson(shift.values[i]);
        out.push_back({{"time", static_cast<double>(shift.timeMs) / 1000.0},
                       {"from", shift.from},
                       {"to", shift.to},
                       {"x", CoordinateJson(shift.crosshairX)},
                       {"y", CoordinateJson(shift.crosshairY)},
                       {"values", std::move(values)}});
    }
    return out;
}

const char* DirectionText(datalog::ShiftDirection direction) {
    switch (direction) {
        case datalog::ShiftDirection::Up: return "up";
        case datalog::ShiftDirection::Down: return "down";
        case datalog::ShiftDirection::Unknown: break;
    }
    return "";
}

void PrintShifts(const std::vector<datalog::ShiftEvent>& shifts) {
    for (const auto& shift : shifts) {
        std::printf("%10.3f s  %s -> %s", static_cast<double>(shift.timeMs) / 1000.0, shift.from.c_str(),
                    shift.to.c_str());
        if (const char* direction = DirectionText(shift.direction); *direction) std::printf(" (%s)", direction);
        if (shift.crosshairX && shift.crosshairY)
            std::printf("  at %g, %g", static_cast<double>(*shift.crosshairX), static_cast<double>(*shift.crosshairY));
        std::printf("\n");
    }
}

int Run(const GlobalOptions&, const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    bool asJson = false;
    std::string gearName;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            asJson = true;
        } else if (args[i] == "--gear" && i + 1 < args.size()) {
            gearName = args[++i];
            if (gearName.empty()) return UsageError(kCommand, "--gear wants a column's name");
        } else if (args[i].starts_with("--")) {
            return UsageError(kCommand, "unknown option " + args[i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 1) return UsageError(kCommand, "one data log expected");
    const std::string& file = positional[0];
    datalog::DataLogReader log;
    datalog::ShiftAnalysis analysis;
    std::string why;
    if (!log.Open(file, why) || !datalog::AnalyseShifts(log, gearName, analysis, why)) {
        std::fprintf(stderr, "korvath-cli shifts: %s is no data log to read shifts from: %s\n", file.c_str(),
                     why.c_str());
        return kFailure;
    }
    if (log.skippedRows() > 0 || log.truncated())
        std::fprintf(stderr, "korvath-cli shifts: %zu rows of %s are not a log's and were left out%s\n",
                     log.skippedRows(), file.c_str(), log.truncated() ? "; the log is longer than can be read" : "");
    if (asJson)
        PrintJson(ShiftsJson(log.layout(), analysis.shifts));
    else
        PrintShifts(analysis.shifts);
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
