#pragma once
// What differs between two calibrations: the application and product strings, the declared
// variables (matched by name), the trace points in store and display units, which traces are
// shown and whether they are linked, the property store entries, and the definition texts.
// The command line prints it and the program lists it beside the compared curves.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace korvath {

class CQRNDoc;

// A value on one side: absent (that side does not have the item), an integer, a float or a text.
using DiffValue = std::variant<std::monostate, std::int64_t, double, std::string>;

// A float as the shortest decimal that reads back as the same float (3.73f becomes 3.73), so
// that printed values look as they were typed.
double FloatAsShown(float value);

enum class DiffKind { Application, Product, Variable, TracePoint, Visibility, Linking, Property, Definition };

struct DiffItem {
    DiffKind kind = DiffKind::Application;
    std::string name{};     // field, variable, "section:name" of a property, "definitionText"
    std::string type{};     // a variable's type word
    int trace = -1;         // trace points and visibility
    std::string traceName{};  // as the graph engine names the trace (empty when it has none)
    int point = -1;         // trace points: the column; the definition: the first differing line (1-based)
    DiffValue a{}, b{};     // trace points in store units
    DiffValue displayA{}, displayB{};  // trace points only, in display units
    bool equal = false;
    // As the user meets it (NameInPageWords): the settings page and caption that show it (empty
    // when no page does), a trace point's column label, and both values as shown.
    std::string page{}, label{};
    std::string columnLabel{};
    std::string aText{}, bText{};
};

struct CalibrationDiff {
    std::vector<DiffItem> items;  // the differing ones, and the equal ones when asked for
    bool differs = false;
};

// Compares `a` with `b`; neither is changed except for the conversion formulas' scratch state.
// Trace names come from a's graph engine (b's when a has none).
CalibrationDiff CompareCalibrations(CQRNDoc& a, CQRNDoc& b, bool includeEqual);

// The property store's entries as (":section:name", value) pairs, in file order; values unescaped
// (free text keeps ":" and ";" escaped in the store).
std::vector<std::pair<std::string, std::string>> PropertyEntries(const std::string& storeText);

const char* DiffKindName(DiffKind kind);
// The type word of a declared type code ("I16", "T8", 8-bit integers "I8").
const char* TypeWord(std::uint8_t type);
// "3", "3.73", "text", "-" for an absent value.
std::string DiffValueText(const DiffValue& value);

// A curve point is named by its curve and this caption of the columns with the column's label.
inline constexpr char kColumnCaption[] = "Point";

// One line of the listing: what it is, and the value on each side, in the pages' words when the
// item has them ("Vehicle Numbers > Axle ratio", "1-2 Upshift, Point 3"), else by the names the
// calibration keeps ("variable AxleRatio (F32)").
struct DiffRow {
    std::string what;
    std::string a, b;
    bool operator==(const DiffRow&) const = default;
};
DiffRow DiffRowOf(const DiffItem& item);
// The rows of every item, in order; items shown by the same setting with the same values (a
// radio group that writes two variables) make one row.
std::vector<DiffRow> DiffRows(const CalibrationDiff& diff);
// "what: a → b".
std::string DiffLine(const DiffRow& row);
// The rows as lines.
std::string DiffText(const CalibrationDiff& diff);

}  // namespace korvath
