#pragma once
// Evaluator for the conversion formulas of the definition files: arithmetic in one free
// variable X with a fixed set of named functions, in 64-bit floating point.
//
// A formula arrives here with its variable references already replaced by numbers (the
// document does that); the evaluator knows only X. Before parsing, the text is tidied by a
// fixed set of textual rewrites (see formularewrite.h); error positions refer to the
// rewritten text.
//
// Grammar, operators being single characters:
//   expression := term { ("+" | "-") term }
//   term       := power { ("*" | "/") power }
//   power      := unary { "^" unary }            -- chains from the left: 2^3^2 = 64
//   unary      := "-" primary | primary          -- binds tighter than "^": -2^2 = 4
//   primary    := end of text (0) | number | "(" expression [")"] | X | function primary
// Numbers are digits and points without exponents, converted like the C library's decimal
// conversion ("1.2.3" is 1.2) but independent of the process locale. Function names and X
// are recognised in any letter case.
//
// Domain errors (division by zero, an invalid power, a function outside its domain) never
// stop the evaluation: the operation leaves its left value or argument unchanged and the
// last such text is reported. A character that fits no rule stops the parse; the value
// computed so far is returned together with the position of that character.

#include <array>
#include <string>
#include <string_view>

namespace korvath {

class FormulaParser {
public:
    // Function names in the order they are tried against the text, so that a longer name
    // is found before a name that is its prefix ("SINH" before "SIN", "ARCTAN" before
    // "TAN"). Index 0 is never matched.
    static constexpr std::array<std::string_view, 26> kFunctionNames{
        "",    "PI",     "ABS",    "SQRT", "SINH", "COSH", "TANH",   "ARCTAN", "LN",
        "LOG", "EXP",    "SIN",    "COS",  "TAN",  "COT",  "ARCSIN", "ARCCOS", "INT",
        "RAD", "DEG",    "SIGN",   "ARSINH", "ARCOSH", "ARTANH", "KGV", "GGT"};

    // Domain-error texts (each begins with a space because it follows the position text).
    static constexpr const char* kDivideByZero = " Divide by zero!";
    static constexpr const char* kNegativeRoot = " No SQRT from neg. values!";
    static constexpr const char* kFunctionDomain = " General Parser Error blocked!";
    // Syntax stop: formatted with the 1-based position in the rewritten text, followed by
    // the last domain-error text.
    static constexpr const char* kErrorPositionFormat = "Error found on position %d!";
    // An exception during an evaluation: followed by its description (at most
    // kMaxExceptionText characters).
    static constexpr const char* kSystemError = "System Error: ";
    static constexpr std::size_t kMaxExceptionText = 255;

    // X = 0 is evaluated as the smallest normal single-precision value (2^-126), so that
    // formulas dividing by X stay finite.
    static constexpr double kZeroX = 1.1754943508222875e-38;
    // A result this close to zero is the stand-in for X = 0 carried through the formula (scaled by
    // any factor up to 1e8), not a value: it is a zero.
    static double WithoutZeroStandIn(double result) { return result > -1e-30 && result < 1e-30 ? 0.0 : result; }

    // Parentheses and function arguments nested deeper than this stop the parse at the
    // "(" or function name that would go deeper, reported like any other syntax stop.
    static constexpr int kMaxNesting = 256;

    // Evaluates `formula` for X = `x`.
    // - formula empty: returns 0.0 and leaves errorPosition and errorText untouched.
    // - whole text parsed: errorPosition = 0, errorText = the last domain-error text or "".
    // - parse stopped early: errorPosition = 1-based position of the stopping character,
    //   errorText = kErrorPositionFormat with it, followed by the last domain-error text;
    //   the value computed so far is returned.
    // - an exception during evaluation: errorText = kSystemError + its description,
    //   errorPosition untouched, result 0.0.
    // rewrite = 1 runs the textual rewriting first (every caller in the program does).
    // Nothing of one evaluation carries over into the next.
    double Evaluate(std::string_view formula, double x, int& errorPosition, std::string& errorText,
                    int rewrite = 1) const;
};

}  // namespace korvath
