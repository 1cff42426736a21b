#include "definition/edit_box_limits.h"

#include "definition/definition_keys.h"
#include "definition/element_text_limits.h"

namespace korvath {
namespace {

constexpr const char* kEditBoxKey = "EditBox";
constexpr const char* kStoreFormulaKey = "StoreFormula";
constexpr const char* kMinValueKey = "MinValue";
constexpr const char* kMaxValueKey = "MaxValue";

// The target of a store formula "<type letter>@<name> = <expression>": empty when the formula
// names none (no "=" after the first character), with the type letter in `letter`.
std::string_view StoreTarget(std::string_view formula, char& letter) {
    const auto equals = formula.find('=');
    if (equals == std::string_view::npos || equals == 0) return {};
    std::string_view target = TrimText(formula.substr(0, equals));
    letter = target.empty() ? '\0' : target.front();
    const auto at = target.find('@');
    if (at != std::string_view::npos) target = TrimText(target.substr(at + 1));
    return target;
}

}  // namespace

std::vector<EditBoxLimits> EditBoxesStoringVariables(const DefinitionReader& definition) {
    std::vector<EditBoxLimits> boxes;
    DefinitionReader reader = definition;
    const std::string& text = reader.text();
    // "[" alone finds every section in turn; its header runs to the "]".
    for (int more = 0; reader.FindSection("[", more); more = 1) {
        const auto start = static_cast<std::size_t>(reader.sectionStart());
        const auto close = text.find(']', start);
        std::string section = "[";
        if (close != std::string::npos && close <= static_cast<std::size_t>(reader.sectionEnd()))
            section.append(text, start, close - start);
        section += ']';
        std::string label;
        for (int next = 0; reader.FindBlock(kEditBoxKey, label, next); next = 1) {
            std::string formula;
            if (!reader.FindKeyValue(kStoreFormulaKey, formula, 1)) continue;
            char letter = '\0';
            const std::string_view variable = StoreTarget(formula, letter);
            if (variable.empty()) continue;
            const bool integer = letter == 'I' || letter == 'i';
            if (!integer && letter != 'F' && letter != 'f') continue;
            EditBoxLimits box;
            box.section = section;
            box.integerTarget = integer;
            box.variable = std::string(variable);
            reader.ReadKeyString(definition_keys::kLogicalName, box.logicalName, kLogicalNameLength, 1);
            reader.ReadKeyString(definition_keys::kDisplayName, box.displayName, kDisplayNameLength, 1);
            reader.ReadKeyFloat(kMinValueKey, box.minValue, 1);
            reader.ReadKeyFloat(kMaxValueKey, box.maxValue, 1);
            boxes.push_back(std::move(box));
        }
    }
    return boxes;
}

std::vector<EditBoxLimits> EditBoxesStoringInto(const DefinitionReader& definition, std::string_view variable) {
    std::vector<EditBoxLimits> boxes = EditBoxesStoringVariables(definition);
    std::erase_if(boxes, [&](const EditBoxLimits& box) { return box.variable != variable; });
    return boxes;
}

double EditBoxClamp(const EditBoxLimits& box, double value) {
    // The box's own order: the maximum first, then the minimum.
    if (value > box.maxValue) return box.maxValue;
    if (value < box.minValue) return box.minValue;
    return value;
}

}  // namespace korvath
