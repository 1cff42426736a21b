#pragma once
// The columns of a data log: the time, one display value per monitored or logged item, the
// same items' raw RAM values, the crosshair coordinates, the link mark, and the definition the
// log was recorded with. The first header row names them, the second gives the units.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "comm/data_items.h"

namespace korvath::datalog {

inline constexpr char kTimeColumn[] = "Time";
inline constexpr char kTimeUnit[] = "ms";
inline constexpr char kRawSuffix[] = " (raw)";
inline constexpr char kCrosshairXColumn[] = "Crosshair X";
inline constexpr char kCrosshairYColumn[] = "Crosshair Y";
inline constexpr char kCrosshairXUnit[] = "column";
inline constexpr char kLinkColumn[] = "Link";
inline constexpr char kDefinitionColumn[] = "Definition";
inline constexpr char kLinkLostMark[] = "link lost";
// Columns besides the items' two each: time, crosshair X and Y, link, definition.
inline constexpr std::size_t kFixedColumns = 5;

struct LogItemColumn {
    std::string name;  // DisplayName, or LogicalName when it has none, or "Item <n>"
    std::string unit;  // what the display format prints besides the number ("mph", "%")
    int decimals = -1;  // digits after the point of a numeric value; -1: the shortest exact text
    bool numeric = true;
};

struct LogLayout {
    std::vector<LogItemColumn> items;
    std::string definition;  // who recorded: the definition the items came from
    std::string crosshairYUnit;

    std::size_t ColumnCount() const { return 2 * items.size() + kFixedColumns; }
    std::size_t RawColumn(std::size_t item) const { return 1 + items.size() + item; }
    std::size_t CrosshairXColumn() const { return 1 + 2 * items.size(); }
    std::size_t CrosshairYColumn() const { return CrosshairXColumn() + 1; }
    std::size_t LinkColumn() const { return CrosshairXColumn() + 2; }
    std::size_t DefinitionColumn() const { return CrosshairXColumn() + 3; }
    std::vector<std::string> HeaderRow() const;
    std::vector<std::string> UnitsRow() const;
};

// Whether the poller's item goes into the log (monitored or logged; an item that only moves the
// crosshair does not).
bool IsLoggedItem(const DataItem& item);

// The text a display format prints besides its number: "%.1f mph" gives "mph", "%.0f %%" "%".
std::string UnitOfFormat(std::string_view format);
// Digits after the point of a "%.Nf" format; -1 for any other (or none).
int DecimalsOfFormat(std::string_view format);

// The layout of the given items, in their order, for the named definition.
LogLayout LayOutLog(const std::vector<DataItem>& items, std::string definition);

// Reads a layout back from the two header rows; false (with why) when they are not a log's.
bool ParseLogLayout(const std::vector<std::string>& header, const std::vector<std::string>& units,
                    LogLayout& layout, std::string& why);

// The value cell of a reading: the error or enumerated text as the display shows it, otherwise
// the converted value with the display format's decimals.
std::string ValueCell(const DataItem& item, const LogItemColumn& column, int raw, float value,
                      const std::string& text);

// The raw cell of a reading: the RAM values the item's formula read, in its order, separated by
// spaces ("2 59" for a speed of two bytes); the poller's raw value when the formula reads none.
std::string RawCell(int raw, const std::vector<int>& ramValues);

// What the display shows for a recorded cell: the cell itself, or for a numeric cell of a
// numeric item the value through the item's display format (the last RAM value of the raw cell
// is the one its limits compare).
std::string DisplayTextOfCell(const DataItem& item, std::string_view cell, std::string_view rawCell);

}  // namespace korvath::datalog
