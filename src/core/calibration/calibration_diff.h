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

// One line of the listing: what it is, and the value on each side.
struct DiffRow {
    std::string what;  // "variable AxleRatio (F32)", "trace 0 1-2 Upshift [4]" and the like
    std::string a, b;
};
DiffRow DiffRowOf(const DiffItem& item);
// The rows as aligned text columns, one line each.
std::string DiffText(const CalibrationDiff& diff);

}  // namespace korvath
