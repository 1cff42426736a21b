#pragma once
// The number behind a numeric edit box of a settings page: kept in stored units, shown through
// a display formula and a C format, typed back through a store formula, clamped to the block's
// limits, and written to up to three calibration variables or, without a variable, to the
// property store. The edit box widget only shows and forwards; every decision is made here.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "formula/formulaparser.h"

namespace korvath {

class CQRNDoc;

class NumericSetting {
public:
    static constexpr int kTargets = 3;
    // Target types.
    static constexpr int kNoTarget = -1;
    static constexpr int kIntTarget = 0;    // 16-bit view, FindIntVariable
    static constexpr int kFloatTarget = 1;  // FindFloatVariable
    // One step of the mouse wheel.
    static constexpr int kWheelStep = 120;
    // A target name this short is no variable: the number lives in the property store.
    static constexpr std::size_t kMinTargetNameLength = 3;

    FormulaParser parser;  // also used by the push buttons that target this field
    std::int32_t globalInfluence = 0;
    float value = 1.0f;
    float deltaIncrement = 1.0f;
    std::string displayFormat;
    std::string displayExpression;
    std::array<std::string, kTargets> storeExpression;
    std::array<std::string, kTargets> targetName;
    std::array<std::int32_t, kTargets> targetType{kNoTarget, kNoTarget, kNoTarget};
    float maxValue = 10000.0f;
    float minValue = 0.1f;
    std::int32_t wheelRemainder = 0;

    NumericSetting();

    bool HasTargetVariable() const { return targetName[0].size() >= kMinTargetNameLength; }

    // Reads the keys of the "EditBox" block the reader has selected, takes the starting value
    // (from the variable, the stored property or DefValue) and stores it. Returns whether that
    // store changed a calibration variable.
    bool Setup(CQRNDoc& doc, std::string_view section, std::string_view logicalName);

    // Clamps value and writes the targets or the property; true when a variable changed. Does not
    // mark the document modified.
    bool StoreValue(CQRNDoc& doc, std::string_view section, std::string_view logicalName);

    // The number as the field shows it: value through the display formula and format; empty
    // when the format is unusable.
    std::string DisplayText(CQRNDoc& doc) const;

    // Typed text through store formula 1 (the wheel remainder is dropped). False when the text is
    // no number and nothing was stored; the document is marked modified when value changed.
    bool Commit(CQRNDoc& doc, std::string_view section, std::string_view logicalName, std::string_view typed);

    // n whole steps up or down; marks the document modified when value changed.
    void Step(CQRNDoc& doc, std::string_view section, std::string_view logicalName, int n);

    // Adds a wheel movement (in 120ths of a notch); returns the whole steps it completes.
    int TakeWheelSteps(int delta);

    // Whether the last StoreValue changed a calibration variable.
    bool lastStoreChanged() const { return lastStoreChanged_; }

private:
    double EvaluateWithReferences(CQRNDoc& doc, const std::string& expression, double x) const;
    bool WriteTarget(CQRNDoc& doc, int k, float v);

    bool lastStoreChanged_ = false;
};

}  // namespace korvath
