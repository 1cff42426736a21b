// Known answers of the formula evaluator: value, error position and error text for a formula
// and an X. Every failure prints the whole row.

#include "formula/formulaparser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "formula/formularewrite.h"

namespace korvath {
namespace {

using P = FormulaParser;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = std::numbers::pi;

struct Case {
    std::string formula;
    double x;
    double value;
    int position;
    std::string text;
};

std::string PositionText(int position, const std::string& message = "") {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "Error found on position %d!", position);
    return buffer + message;
}

std::string Shorten(const std::string& s) { return s.size() <= 80 ? s : s.substr(0, 77) + "..."; }

void CheckTable(const std::vector<Case>& table, int rewrite = 1) {
    const P parser;
    for (const Case& c : table) {
        int position = -1;
        std::string text = "untouched";
        const double value = parser.Evaluate(c.formula, c.x, position, text, rewrite);
        const bool sameValue = value == c.value || (std::isnan(value) && std::isnan(c.value));
        EXPECT_TRUE(sameValue && position == c.position && text == c.text)
            << "formula \"" << Shorten(c.formula) << "\" x=" << c.x << " rewrite=" << rewrite << "\n  expected "
            << c.value << " / " << c.position << " / \"" << c.text << "\"\n  got      " << value << " / "
            << position << " / \"" << text << "\"";
    }
}

TEST(FormulaParser, GrammarAndPrecedence) {
    CheckTable({
        {"2+3*4", 0, 14, 0, ""},
        {"(2+3)*4", 0, 20, 0, ""},
        {"10-2-3", 0, 5, 0, ""},
        {"100/10/5", 0, 2, 0, ""},
        {"2^3^2", 0, 64, 0, ""},      // "^" chains from the left
        {"-2^2", 0, 4, 0, ""},        // unary minus binds tighter than "^"
        {"2^-1", 0, 0.5, 0, ""},
        {"2*-3", 0, -6, 0, ""},
        {"2--3", 0, 5, 0, ""},
        {"2*+3", 0, 3, 0, ""},        // no unary plus: 2*(nothing) + 3
        {"(X+1", 1, 2, 0, ""},        // a missing ")" is no error
        {"X*10", 2.5, 25, 0, ""},
        {"X", 0, P::kZeroX, 0, ""},   // X = 0 is replaced
        {"X", -0.0, P::kZeroX, 0, ""},
        {"1/X", 0, 8.507059173023462e37, 0, ""},
        {"X", 1e-300, 1e-300, 0, ""},
        {"x*X", 3, 9, 0, ""},
    });
}

TEST(FormulaParser, DomainErrorsKeepTheLeftValueAndTheLastText) {
    CheckTable({
        {"10/0", 0, 10, 0, P::kDivideByZero},
        {"(-8)^(1/3)", 0, -8, 0, P::kNegativeRoot},
        {"(-2)^3", 0, -8, 0, ""},
        {"(-2)^1", 0, -2, 0, P::kNegativeRoot},
        {"0^2", 0, 0, 0, ""},
        {"0^0.5", 0, 0, 0, P::kNegativeRoot},
        {"SQRT(-4)", 0, -4, 0, P::kFunctionDomain},
        {"EXP(42)", 0, 42, 0, P::kFunctionDomain},
        {"EXP(41)", 0, std::exp(41.0), 0, ""},
        {"ARCSIN(1)", 0, 1, 0, P::kFunctionDomain},
        {"ARCCOS(1)", 0, 0, 0, ""},
        {"ARCCOS(1.5)", 0, 1.5, 0, P::kFunctionDomain},
        {"LN(-1)", 0, -1, 0, P::kFunctionDomain},
        {"LN(0)", 0, -kInf, 0, ""},
        {"LOG(-1)", 0, -1, 0, P::kFunctionDomain},
        {"ARCOSH(0.5)", 0, 0.5, 0, P::kFunctionDomain},
        {"ARTANH(2)", 0, 2, 0, P::kFunctionDomain},
        {"1/0+SQRT(-1)", 0, 0, 0, P::kFunctionDomain},  // only the last text is kept
        {"SQRT(-1)+1/0", 0, 0, 0, P::kDivideByZero},
        {"1/0)", 0, 1, 4, PositionText(4, P::kDivideByZero)},
    });
}

TEST(FormulaParser, Functions) {
    CheckTable({
        {"sin(x)", 2, std::sin(2.0), 0, ""},
        {"SIN(X)", 2, std::sin(2.0), 0, ""},
        {"Sinh(1)", 0, std::sinh(1.0), 0, ""},  // SINH is tried before SIN
        {"cosh(1)+TANH(1)", 0, std::cosh(1.0) + std::tanh(1.0), 0, ""},
        {"ARCTAN(1)", 0, std::atan(1.0), 0, ""},
        {"cos(2)*tan(1)", 0, std::cos(2.0) * std::tan(1.0), 0, ""},
        {"COT(1)", 0, std::cos(1.0) / std::sin(1.0), 0, ""},
        {"ARCSIN(0.5)+ARCCOS(0.5)", 0, std::asin(0.5) + std::acos(0.5), 0, ""},
        {"LN(2)", 0, std::log(2.0), 0, ""},
        {"LOG(1000)", 0, std::log10(1000.0), 0, ""},
        {"EXP(1)", 0, std::exp(1.0), 0, ""},
        {"ABS(-3)", 0, 3, 0, ""},
        {"SQRT(16)", 0, 4, 0, ""},
        {"PI*2", 0, 6.283185307179586, 0, ""},  // PI's argument is empty, "*" stays
        {"PI(5)", 0, kPi, 0, ""},
        {"RAD(90)", 0, 90 * kPi / 180, 0, ""},
        {"DEG(1)", 0, 180 / kPi, 0, ""},
        {"INT(-2.7)", 0, -2, 0, ""},
        {"INT(2.7)", 0, 2, 0, ""},
        {"INT(3000000000)", 0, -2147483648.0, 0, ""},
        {"SIGN(-3)+SIGN(5)*10+SIGN(0)*100", 0, 9, 0, ""},
        {"ARSINH(2)", 0, std::log(2 + std::sqrt(5.0)), 0, ""},
        {"ARSINH(-2)", 0, -std::log(std::sqrt(5.0) + 2), 0, ""},
        {"ARCOSH(2)", 0, std::log(2 + std::sqrt(3.0)), 0, ""},
        {"ARTANH(0.5)", 0, 0.5 * std::log(1.5 / 0.5), 0, ""},
        {"KGV(7)", 0, 7, 0, ""},
        {"GGT(7)", 0, 7, 0, ""},
        {"SIN-1", 0, -1, 0, ""},  // the argument is a primary: SIN() - 1
        {"SQRTX", 9, 3, 0, ""},
    });
}

TEST(FormulaParser, RewritingAndErrorPositions) {
    CheckTable({
        {"1,5*2", 0, 3, 0, ""},
        {"[X+1]*2", 1, 4, 0, ""},
        {"{X+1}*2", 1, 4, 0, ""},
        {"X+1 2", 1, 13, 0, ""},  // spaces go first
        {"X+1)", 1, 2, 4, PositionText(4)},
        {"X + 1 )", 1, 2, 4, PositionText(4)},
        {"2#3", 0, 2, 2, PositionText(2)},
        {"#", 0, 0, 1, PositionText(1)},
        {"1e5", 0, 1, 2, PositionText(2)},  // no exponents in numbers
        {"((X)+(1))", 2, 3, 0, ""},
        {"(X)*((X+1))", 2, 6, 0, ""},
        {"X*(1)^2", 3, 9, 0, ""},   // textual removal of "*(1)"
        {"(1)*X^2", 3, 9, 0, ""},
        {"++X", 2, 2, 0, ""},
        {"((X+1)))", 1, 2, 6, PositionText(6)},  // "((X+1))" loses its inner pair
        {"((2))#", 0, 2, 4, PositionText(4)},
        {"2*(x)#", 3, 6, 4, PositionText(4)},
        {"(sin(x))#", 1, std::sin(1.0), 7, PositionText(7)},
        {"(SIN(X))#", 1, std::sin(1.0), 9, PositionText(9)},  // those rewrites are case-sensitive
        {" ", 0, 0, 0, ""},
        {"()", 0, 0, 0, ""},
    });
}

TEST(FormulaParser, WithoutRewriting) {
    CheckTable(
        {
            {"X + 1 )", 1, 2, 7, PositionText(7)},
            {"[X]", 1, 0, 1, PositionText(1)},
            {"1,5", 0, 1, 2, PositionText(2)},
            {"1 2", 0, 1, 0, ""},  // a number read across a space converts up to the space
        },
        0);
}

TEST(FormulaParser, NumbersConvertLikeTheCLibrary) {
    CheckTable({
        {"1.2.3", 0, 1.2, 0, ""},
        {".5", 0, 0.5, 0, ""},
        {"5.", 0, 5, 0, ""},
        {".", 0, 0, 0, ""},
        {"0.1+0.2", 0, 0.30000000000000004, 0, ""},
        {"9007199254740993", 0, 9007199254740992.0, 0, ""},  // correctly rounded
        {"1" + std::string(400, '0'), 0, kInf, 0, ""},
        {"0." + std::string(400, '0') + "1", 0, 0, 0, ""},
        {"0." + std::string(323, '0') + "5", 0, std::numeric_limits<double>::denorm_min(), 0, ""},
    });
}

// "1+(1+(1+(...1)))": N nested parentheses, none directly inside another.
std::string Nested(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "1+(";
    s += "1";
    s.append(static_cast<std::size_t>(n), ')');
    return s;
}

TEST(FormulaParser, DeepNestingStopsInsteadOfOverflowing) {
    const int m = P::kMaxNesting;
    std::string functions;
    for (int i = 0; i < 1000000; ++i) functions += "ABS";
    std::string flat;
    for (int i = 0; i < 500000; ++i) flat += "1+";
    CheckTable({
        {Nested(m), 0, m + 1.0, 0, ""},
        {Nested(m + 1), 0, m + 1.0, 3 * m + 3, PositionText(3 * m + 3)},
        {Nested(1000000), 0, m + 1.0, 3 * m + 3, PositionText(3 * m + 3)},
        {functions + "2", 0, 0, 3 * m + 1, PositionText(3 * m + 1)},
        {flat + "1", 0, 500001, 0, ""},
        {std::string(1000000, '(') + "X" + std::string(1000000, ')'), 4, 4, 0, ""},
        {std::string(1000000, '(') + "X", 4, 0, m + 1, PositionText(m + 1)},
    });
}

TEST(FormulaParser, EmptyFormulaLeavesTheOutputsAlone) {
    int position = 17;
    std::string text = "before";
    EXPECT_EQ(P().Evaluate("", 5, position, text, 1), 0.0);
    EXPECT_EQ(position, 17);
    EXPECT_EQ(text, "before");
}

TEST(FormulaParser, NothingCarriesOverBetweenEvaluations) {
    const P parser;
    int position = -1;
    std::string text;
    parser.Evaluate("1/0#", 0, position, text, 1);
    ASSERT_EQ(text, PositionText(4, P::kDivideByZero));
    EXPECT_EQ(parser.Evaluate("X", 3, position, text, 1), 3);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(parser.Evaluate("X#", 0, position, text, 1), P::kZeroX);
    EXPECT_EQ(text, PositionText(2));
}

TEST(FormulaRewrite, Texts) {
    const std::pair<const char*, const char*> table[] = {
        {"(((X)))", "X"},
        {"1+(((X)))", "1+(X)"},
        {"+(X)", "(X)"},
        {"((x)*2)", "x*2"},
        {"X * (1) + [2, 5]", "X+(2.5)"},
        {"(X+1))", "(X+1))"},
        {"((X+1)", "((X+1)"},
        {"a*(x)*b", "a*x*b"},
        {"(ln(x))+(exp(x))", "ln(x)+exp(x)"},
    };
    for (const auto& [in, out] : table) EXPECT_EQ(formula::RewriteFormula(in), out) << "rewriting \"" << in << "\"";
}

}  // namespace
}  // namespace korvath
