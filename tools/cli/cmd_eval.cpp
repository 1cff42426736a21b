// korvath-cli eval FORMULA [--x X]: evaluates one conversion formula for X as the document
// does and prints the value with the evaluator's error outputs as one JSON line.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "formula/formulaparser.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kEval{"eval", "FORMULA [--x X]",
                    "evaluate a formula in X; prints {\"value\", \"errorPosition\", \"errorText\"}", &Run};
static CommandRegistration reg{kEval};

// The evaluator's outputs before it runs: an evaluation that does not touch them (an empty
// formula) is reported with position -1 and a null text. The evaluator never writes a text
// that starts with a NUL character.
constexpr int kUntouchedPosition = -1;
const std::string kUntouchedText("\0untouched", 10);

bool ParseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

// 17 significant digits, so that the printed value reads back as exactly the double that
// was computed (the JSON library prints the shortest form instead). JSON has no infinity
// or NaN: those print as null.
std::string JsonNumber17(double value) {
    if (!std::isfinite(value)) return "null";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
    return std::string(buffer, result.ptr);
}

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    (void)options;
    std::string formula;
    bool haveFormula = false;
    double x = 0.0;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && a == "--x") {
            if (i + 1 >= args.size()) return UsageError(kEval, "--x needs a value");
            if (!ParseNumber(args[++i], x)) return UsageError(kEval, "--x: not a number: " + args[i]);
        } else if (haveFormula) {
            return UsageError(kEval, "more than one formula");
        } else {
            formula = a;
            haveFormula = true;
        }
    }
    if (!haveFormula) return UsageError(kEval, "missing FORMULA");

    FormulaParser parser;
    int errorPosition = kUntouchedPosition;
    std::string errorText = kUntouchedText;
    const double value = parser.Evaluate(formula, x, errorPosition, errorText, 1);

    const nlohmann::json text = errorText == kUntouchedText ? nlohmann::json(nullptr) : nlohmann::json(errorText);
    std::printf("{\"value\":%s, \"errorPosition\":%d, \"errorText\":%s}\n", JsonNumber17(value).c_str(),
                errorPosition, text.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
