#include "layout/formula_action.h"

#include "definition/definition_reader.h"
#include "document/qrndoc.h"
#include "formula/formulaparser.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {
constexpr int kUnresolved = -1000;
// Longer formats from a definition are refused rather than printed.
constexpr std::size_t kMaxFormatLength = 200;
// Said when the definition gives no usable RangeFailFmt: a refused result is never silent.
constexpr char kPlainRangeFailFormat[] = "The result %g is outside the limits %g to %g, so it was not entered.";

std::string_view TrimTrailing(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}
}  // namespace

FormatAndExpression SplitFormula(std::string_view text) {
    FormatAndExpression out;
    const auto equals = text.find('=');
    if (equals != std::string_view::npos && equals > 0) {
        out.format = std::string(TrimTrailing(text.substr(0, equals)));
        text = text.substr(equals + 1);
    }
    out.expression = std::string(TrimText(text));
    return out;
}

std::string FormatOneDouble(const std::string& format, double value) {
    if (!FormatFitsArgs(format, {FormatArg::Double}, kMaxFormatLength)) return std::string();
    return FormatChecked(format.c_str(), value);
}

FormulaButtonResult RunFormulaAction(CQRNDoc& doc, const FormulaParser& parser, const FormulaButtonSetup& setup) {
    FormulaButtonResult result;
    FormatAndExpression formula = SplitFormula(setup.actionFormula);
    if (doc.SubstituteReferences(formula.expression, 0) == kUnresolved) return result;

    int errorPosition = 0;
    std::string errorText;
    result.value = static_cast<float>(parser.Evaluate(formula.expression, 1.0, errorPosition, errorText));
    result.text = FormatOneDouble(formula.format, result.value);
    if (result.value < setup.minValue || result.value > setup.maxValue) {
        result.outcome = FormulaButtonResult::Outcome::OutOfRange;
        if (FormatFitsArgs(setup.rangeFailFormat, {FormatArg::Double, FormatArg::Double, FormatArg::Double},
                               kMaxFormatLength))
            result.message = FormatChecked(setup.rangeFailFormat.c_str(), static_cast<double>(result.value),
                                           static_cast<double>(setup.minValue),
                                           static_cast<double>(setup.maxValue));
        if (result.message.empty())
            result.message = FormatText(kPlainRangeFailFormat, static_cast<double>(result.value),
                                        static_cast<double>(setup.minValue), static_cast<double>(setup.maxValue));
        return result;
    }
    result.outcome = FormulaButtonResult::Outcome::Accepted;
    return result;
}

}  // namespace korvath
