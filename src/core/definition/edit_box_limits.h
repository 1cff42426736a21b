#pragma once
// The limits of the settings pages' numeric edit boxes, read from the definition without
// building a page: which "EditBox" blocks store their number straight into a variable, and the
// range they clamp that number to. Scripts that set a variable are told when the program's
// edit box would not keep the value.

#include <string>
#include <string_view>
#include <vector>

#include "definition/definition_reader.h"

namespace korvath {

struct EditBoxLimits {
    std::string section;      // the page's section header, "[Name]"
    std::string logicalName;  // the block's LogicalName
    std::string displayName;  // its caption on the page; may be empty
    std::string variable;     // the variable its first store formula targets
    bool integerTarget = false;  // "I@": the variable receives the number rounded
    float minValue = 0.1f;
    float maxValue = 10000.0f;
};

// Every edit box whose first store formula targets a variable ("I@name = ..." or "F@name = ..."),
// in file order. Works on a copy of the reader, so the caller's section and block selection stay
// as they were.
std::vector<EditBoxLimits> EditBoxesStoringVariables(const DefinitionReader& definition);

// Those of them that store into `variable`.
std::vector<EditBoxLimits> EditBoxesStoringInto(const DefinitionReader& definition, std::string_view variable);

// The value an edit box would keep of `value`: clamped to its range, as it clamps a typed number.
double EditBoxClamp(const EditBoxLimits& box, double value);

}  // namespace korvath
