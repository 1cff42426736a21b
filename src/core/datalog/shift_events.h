#pragma once
// The shifts of a data log: every change of the gear channel, with the time of the first row
// that shows the new gear, every channel's value there and where the crosshair stood. The gear
// channel is the item named "Gear" (or a name holding the word "gear"); failing that, the text
// channel whose every text is a gear's ("N", "First", "2nd", "3", ...).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datalog/data_log_reader.h"

namespace korvath::datalog {

// Up (a higher gear), down, or unknown when either text is not a gear's.
enum class ShiftDirection { Up, Down, Unknown };

struct ShiftEvent {
    std::size_t row = 0;
    std::int64_t timeMs = 0;
    std::string from, to;
    ShiftDirection direction = ShiftDirection::Unknown;
    std::optional<float> crosshairX, crosshairY;  // none when hidden or not recorded
    std::vector<std::string> values;              // every item's display value cell, in the layout's order
};

// The order of a gear's text: "P" -2, "R" -1, "N" 0, "First"/"1st"/"1"/"Gear 1" 1, ...; none for
// any other text.
std::optional<int> GearRank(std::string_view text);

// Whether the item's name makes it the gear: "Gear", "Current gear", "Gear (actual)", but not
// "Commanded gear", "Old gear" or "Gear ratio".
bool IsGearName(std::string_view name);

struct ShiftAnalysis {
    std::optional<std::size_t> gearItem;  // the layout's item of the gear channel
    std::vector<ShiftEvent> shifts;
};

// Finds the gear channel (or takes `gearName` when given: an item's column name) and every shift.
// False, with why, when the log has no gear channel or cannot be read to its end.
bool AnalyseShifts(DataLogReader& log, const std::string& gearName, ShiftAnalysis& out, std::string& why);

}  // namespace korvath::datalog
