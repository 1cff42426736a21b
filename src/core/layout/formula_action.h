#pragma once
// Formula texts of the form "<C format> = <expression>" (a push button's ActionFormula, an edit
// box's DisplayFormula) and what a formula button computes from one.

#include <string>
#include <string_view>

namespace korvath {

class CQRNDoc;
class FormulaParser;

struct FormatAndExpression {
    std::string format;      // empty when the text has no "=" past its first character
    std::string expression;  // trimmed at both ends
};

// Splits at the first "=" when it stands past position 0: the format is the text before it with
// trailing white space removed, the expression the text after it. Otherwise the whole text is
// the expression.
FormatAndExpression SplitFormula(std::string_view text);

// Prints one double with a format from a definition; empty when the format asks for anything but
// that one double (a bad format shows nothing).
std::string FormatOneDouble(const std::string& format, double value);

// What a formula button's action comes to.
struct FormulaButtonResult {
    enum class Outcome {
        Accepted,    // text goes into the target edit box, which commits it
        Unresolved,  // a variable reference did not resolve: show actionFailText
        OutOfRange,  // the value lies outside [minValue, maxValue]: show message
    };
    Outcome outcome = Outcome::Unresolved;
    float value = 0;
    std::string text;     // the value printed with the formula's format
    std::string message;  // the range message: RangeFailFmt's, or a plain one when it is missing or refused
};

struct FormulaButtonSetup {
    std::string actionFormula;
    std::string rangeFailFormat;
    float minValue = 0.1f;
    float maxValue = 10000.0f;
};

// Substitutes the references of the expression, evaluates it with x = 1 on `parser` (the target
// edit box's own) and checks the bounds, which are accepted themselves.
FormulaButtonResult RunFormulaAction(CQRNDoc& doc, const FormulaParser& parser, const FormulaButtonSetup& setup);

}  // namespace korvath
