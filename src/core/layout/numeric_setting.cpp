#include "layout/numeric_setting.h"

#include <cmath>
#include <cstdio>

#include "layout/dynamic_control_texts.h"
#include "layout/formula_action.h"
#include "definition/numeric.h"
#include "document/qrndoc.h"

namespace korvath {
namespace {
constexpr std::array<const char*, NumericSetting::kTargets> kStoreKeys{
    dynamic_texts::kStoreFormula, dynamic_texts::kStoreFormula2, dynamic_texts::kStoreFormula3};
constexpr std::array<const char*, NumericSetting::kTargets> kStoreDefaults{dynamic_texts::kDefaultStoreFormula, "",
                                                                           ""};
// Formula texts are read up to this length.
constexpr std::size_t kMaxFormulaLength = 500;

int TypeOfTarget(std::string_view name) {
    if (name.empty()) return NumericSetting::kNoTarget;
    switch (name.front()) {
        case 'I':
        case 'i': return NumericSetting::kIntTarget;
        case 'F':
        case 'f': return NumericSetting::kFloatTarget;
        default: return NumericSetting::kNoTarget;
    }
}

// "Rounded": add 0.5, then truncate toward zero.
std::int16_t RoundedInt16(double v) { return TruncToInt16(v + 0.5); }
}  // namespace

NumericSetting::NumericSetting()
    : displayFormat(dynamic_texts::kDefaultDisplayFormat),
      displayExpression(dynamic_texts::kDefaultDisplayFormula),
      storeExpression{dynamic_texts::kDefaultStoreFormula, "", ""} {}

bool NumericSetting::Setup(CQRNDoc& doc, std::string_view section, std::string_view logicalName) {
    DefinitionReader& reader = doc.reader();
    std::string text = dynamic_texts::kDefaultDisplayFormula;
    reader.ReadKeyString(dynamic_texts::kDisplayFormula, text, kMaxFormulaLength, 1);
    FormatAndExpression display = SplitFormula(text);
    if (!display.format.empty()) displayFormat = display.format;
    displayExpression = display.expression;

    for (int k = 0; k < kTargets; ++k) {
        const auto i = static_cast<std::size_t>(k);
        std::string formula = kStoreDefaults[i];
        reader.ReadKeyString(kStoreKeys[i], formula, kMaxFormulaLength, 1);
        const auto equals = formula.find('=');
        if (equals != std::string::npos && equals > 0) {
            targetName[i] = std::string(TrimText(std::string_view(formula).substr(0, equals)));
            storeExpression[i] = std::string(TrimText(std::string_view(formula).substr(equals + 1)));
        } else {
            storeExpression[i] = std::string(TrimText(formula));
        }
        targetType[i] = TypeOfTarget(targetName[i]);
        if (const auto at = targetName[i].find('@'); at != std::string::npos)
            targetName[i] = std::string(TrimText(std::string_view(targetName[i]).substr(at + 1)));
    }

    reader.ReadKeyFloat(dynamic_texts::kMinValue, minValue, 1);
    reader.ReadKeyFloat(dynamic_texts::kMaxValue, maxValue, 1);
    reader.ReadKeyFloat(dynamic_texts::kDeltaIncrement, deltaIncrement, 1);
    reader.ReadKeyFloat(dynamic_texts::kDefValue, value, 1);
    reader.ReadKeyInt(dynamic_texts::kGlobalInfluence, globalInfluence, 1);

    if (!HasTargetVariable()) {
        doc.properties().AccessFloatProperty(section, logicalName, value, PropertyMode::Read);
    } else if (targetType[0] == kIntTarget) {
        if (IntVariableRef v = doc.FindIntVariable(targetName[0])) value = v.get();
    } else if (targetType[0] == kFloatTarget) {
        if (FloatVariableRef v = doc.FindFloatVariable(targetName[0])) value = v.get();
    }
    return StoreValue(doc, section, logicalName);
}

bool NumericSetting::WriteTarget(CQRNDoc& doc, int k, float v) {
    const auto i = static_cast<std::size_t>(k);
    if (targetType[i] == kIntTarget) {
        IntVariableRef ref = doc.FindIntVariable(targetName[i]);
        if (!ref) return false;
        const std::int16_t before = ref.get();
        ref.set(RoundedInt16(v));
        if (k == 0) value = ref.get();
        return ref.get() != before;
    }
    if (targetType[i] == kFloatTarget) {
        FloatVariableRef ref = doc.FindFloatVariable(targetName[i]);
        if (!ref) return false;
        const float before = ref.get();
        ref.set(v);
        return !(ref.get() == before);
    }
    return false;
}

bool NumericSetting::StoreValue(CQRNDoc& doc, std::string_view section, std::string_view logicalName) {
    // A number that is no number (from a hostile calibration's property) is clamped to the minimum.
    if (value > maxValue)
        value = maxValue;
    else if (!(value >= minValue))
        value = minValue;

    bool changed = false;
    if (!HasTargetVariable()) doc.properties().AccessFloatProperty(section, logicalName, value, PropertyMode::Write);
    changed |= WriteTarget(doc, 0, value);
    for (int k = 1; k < kTargets; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (storeExpression[i].empty()) continue;
        const auto v = static_cast<float>(EvaluateWithReferences(doc, storeExpression[i], value));
        changed |= WriteTarget(doc, k, v);
    }
    lastStoreChanged_ = changed;
    return changed;
}

double NumericSetting::EvaluateWithReferences(CQRNDoc& doc, const std::string& expression, double x) const {
    std::string copy = expression;
    doc.SubstituteReferences(copy, 0);  // an unresolved reference leaves what Evaluate makes of it
    int errorPosition = 0;
    std::string errorText;
    return parser.Evaluate(copy, x, errorPosition, errorText);
}

std::string NumericSetting::DisplayText(CQRNDoc& doc) const {
    return FormatOneDouble(displayFormat, EvaluateWithReferences(doc, displayExpression, value));
}

bool NumericSetting::Commit(CQRNDoc& doc, std::string_view section, std::string_view logicalName,
                            std::string_view typed) {
    wheelRemainder = 0;
    const std::string text(typed);
    float number = 0;
    // "nan" and "inf" scan as numbers but are no settings.
    if (std::sscanf(text.c_str(), dynamic_texts::kNumberScanFormat, &number) != 1 || !std::isfinite(number))
        return false;
    const float old = value;
    value = static_cast<float>(EvaluateWithReferences(doc, storeExpression[0], number));
    if (std::isnan(value)) value = old;
    StoreValue(doc, section, logicalName);
    if (value != old) doc.SetModifiedFlag();
    return true;
}

void NumericSetting::Step(CQRNDoc& doc, std::string_view section, std::string_view logicalName, int n) {
    const float old = value;
    value = value + static_cast<float>(n) * deltaIncrement;
    StoreValue(doc, section, logicalName);
    if (value != old) doc.SetModifiedFlag();
}

int NumericSetting::TakeWheelSteps(int delta) {
    // Kept in 64 bits while adding, so that a flood of wheel events cannot overflow.
    const std::int64_t sum = static_cast<std::int64_t>(wheelRemainder) + delta;
    const std::int64_t n = sum / kWheelStep;
    wheelRemainder = static_cast<std::int32_t>(sum - n * kWheelStep);
    return static_cast<int>(n);
}

}  // namespace korvath
