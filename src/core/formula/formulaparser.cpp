#include "formula/formulaparser.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <exception>
#include <numbers>
#include <system_error>

#include "formula/formularewrite.h"

namespace korvath {

namespace {

// Indices into FormulaParser::kFunctionNames.
enum Function {
    kNoFunction, kPi, kAbs, kSqrt, kSinh, kCosh, kTanh, kArctan, kLn, kLog, kExp, kSin, kCos,
    kTan, kCot, kArcsin, kArccos, kInt, kRad, kDeg, kSign, kArsinh, kArcosh, kArtanh, kKgv, kGgt,
};

constexpr int kEndOfText = -1;
constexpr double kPiValue = std::numbers::pi;

bool IsDigit(int c) { return c >= '0' && c <= '9'; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Digits and points as the C library's decimal conversion reads them (the longest valid
// prefix, correctly rounded, overflow to infinity, underflow to zero), without regard to
// the process locale: a GUI running under a locale with a decimal comma must read "1.5".
double DecimalValue(std::string_view digits) {
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
    if (ec == std::errc::invalid_argument) return 0.0;  // "." alone
    if (ec == std::errc::result_out_of_range) {
        // Too large if a non-zero digit stands before the point, else too small.
        for (const char* p = digits.data(); p != end && *p != '.'; ++p)
            if (*p != '0') return HUGE_VAL;
        return 0.0;
    }
    return value;
}

// Truncation toward zero to a 32-bit integer; values that do not fit (and NaN) give the
// processor's "integer indefinite" value, as a hardware conversion does.
double TruncateToInt32(double a) {
    const double t = std::trunc(a);
    if (!(t >= static_cast<double>(INT_MIN) && t <= static_cast<double>(INT_MAX)))
        return static_cast<double>(INT_MIN);
    return t;
}

// One evaluation: everything here lives only as long as the Evaluate call.
class Evaluation {
public:
    Evaluation(std::string_view text, double x) : text_(text), x_(x) {}

    double Run() {
        Next();
        return Expression();
    }
    bool AtEnd() const { return token_ == kEndOfText; }
    std::size_t Position() const { return position_; }
    const char* Message() const { return message_; }

private:
    // Moves to the next character that is not a space; at the end the token is kEndOfText.
    void Next() {
        do {
            ++position_;
            token_ = position_ <= text_.size() ? static_cast<unsigned char>(text_[position_ - 1]) : kEndOfText;
        } while (token_ == ' ');
    }

    double Expression() {
        double value = Term();
        while (token_ == '+' || token_ == '-') {
            const bool add = token_ == '+';
            Next();
            const double right = Term();
            value = add ? value + right : value - right;
        }
        return value;
    }

    double Term() {
        double value = Power();
        while (token_ == '*' || token_ == '/') {
            const bool multiply = token_ == '*';
            Next();
            const double right = Power();
            if (multiply)
                value *= right;
            else if (right == 0.0)
                message_ = FormulaParser::kDivideByZero;
            else
                value /= right;
        }
        return value;
    }

    double Power() {
        double value = Unary();
        while (token_ == '^') {
            Next();
            const double e = Unary();
            const bool whole = std::trunc(e) == e;
            if (value <= 0.0 && (std::fabs(e) <= 1.0 || !whole))
                message_ = FormulaParser::kNegativeRoot;
            else
                value = std::pow(value, e);
        }
        return value;
    }

    double Unary() {
        if (token_ == '-') {
            Next();
            return -Primary();
        }
        return Primary();
    }

    double Primary() {
        if (token_ == kEndOfText) return 0.0;
        if (IsDigit(token_) || token_ == '.') {
            const std::size_t start = position_;
            while (IsDigit(token_) || token_ == '.') Next();
            return DecimalValue(text_.substr(start - 1, position_ - start));
        }
        if (token_ == '(') {
            if (depth_ >= FormulaParser::kMaxNesting) return 0.0;  // stops here
            ++depth_;
            Next();
            const double value = Expression();
            if (token_ == ')') Next();
            --depth_;
            return value;
        }
        if (token_ == 'X' || token_ == 'x') {
            Next();
            return x_;
        }
        const int function = FunctionAtPosition();
        if (function != kNoFunction) {
            if (depth_ >= FormulaParser::kMaxNesting) return 0.0;  // stops here
            position_ += FormulaParser::kFunctionNames[function].size() - 1;
            Next();
            ++depth_;
            const double argument = Primary();
            --depth_;
            return Apply(function, argument);
        }
        return 0.0;  // not consumed: the parse stops at this character
    }

    int FunctionAtPosition() const {
        const std::size_t at = position_ - 1;
        for (int i = 1; i < static_cast<int>(FormulaParser::kFunctionNames.size()); ++i) {
            const std::string_view name = FormulaParser::kFunctionNames[i];
            if (text_.size() - at < name.size()) continue;
            bool equal = true;
            for (std::size_t k = 0; k < name.size() && equal; ++k) equal = Upper(text_[at + k]) == name[k];
            if (equal) return i;
        }
        return kNoFunction;
    }

    // A function outside its domain leaves its argument as the value.
    double Blocked(double a) {
        message_ = FormulaParser::kFunctionDomain;
        return a;
    }

    double Apply(int function, double a) {
        switch (function) {
            case kPi: return kPiValue;  // the argument was read and is not used
            case kAbs: return std::fabs(a);
            case kSqrt: return a < 0.0 ? Blocked(a) : std::sqrt(a);
            case kSinh: return std::sinh(a);
            case kCosh: return std::cosh(a);
            case kTanh: return std::tanh(a);
            case kArctan: return std::atan(a);
            case kLn: return a < 0.0 ? Blocked(a) : std::log(a);
            case kLog: return a < 0.0 ? Blocked(a) : std::log10(a);
            case kExp: return a > 41.0 ? Blocked(a) : std::exp(a);
            case kSin: return std::sin(a);
            case kCos: return std::cos(a);
            case kTan: return std::cos(a) == 0.0 ? Blocked(a) : std::tan(a);
            case kCot: return std::cos(a) / std::sin(a);
            case kArcsin: return std::fabs(a) >= 1.0 ? Blocked(a) : std::asin(a);
            case kArccos: return std::fabs(a) > 1.0 ? Blocked(a) : std::acos(a);
            case kInt: return TruncateToInt32(a);
            case kRad: return a * kPiValue / 180.0;
            case kDeg: return a * 180.0 / kPiValue;
            case kSign: return a > 0.0 ? 1.0 : (a < 0.0 ? -1.0 : 0.0);
            case kArsinh:
                return a >= 0.0 ? std::log(a + std::sqrt(a * a + 1.0)) : -std::log(std::sqrt(a * a + 1.0) - a);
            case kArcosh: return std::fabs(a) < 1.0 ? Blocked(a) : std::log(a + std::sqrt(a * a - 1.0));
            case kArtanh: return std::fabs(a) > 1.0 ? Blocked(a) : 0.5 * std::log((1.0 + a) / (1.0 - a));
            case kKgv:
            case kGgt:
            default: return a;
        }
    }

    std::string_view text_;
    double x_;
    std::size_t position_ = 0;  // 1-based position of token_
    int token_ = kEndOfText;    // current character, or kEndOfText
    int depth_ = 0;             // open parentheses and function arguments
    const char* message_ = "";  // last domain-error text
};

}  // namespace

double FormulaParser::Evaluate(std::string_view formula, double x, int& errorPosition, std::string& errorText,
                               int rewrite) const {
    if (formula.empty()) return 0.0;
    try {
        const std::string text = rewrite == 1 ? formula::RewriteFormula(formula) : std::string(formula);
        Evaluation evaluation(text, x == 0.0 ? kZeroX : x);
        const double value = evaluation.Run();
        if (evaluation.AtEnd()) {
            errorPosition = 0;
            errorText = evaluation.Message();
        } else {
            const std::size_t position = evaluation.Position();
            errorPosition = position > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(position);
            char head[64];
            std::snprintf(head, sizeof head, kErrorPositionFormat, errorPosition);
            errorText = head;
            errorText += evaluation.Message();
        }
        return value;
    } catch (const std::exception& e) {
        errorText = kSystemError;
        errorText += std::string_view(e.what()).substr(0, kMaxExceptionText);
    } catch (...) {
        errorText = kSystemError;
        errorText += "unknown exception";
    }
    return 0.0;
}

}  // namespace korvath
