// The formula evaluator on any text, at a few X values.

#include <cmath>
#include <string>

#include "formula/formulaparser.h"
#include "fuzz_target.h"

KORVATH_FUZZ_TARGET(formula)(const std::uint8_t* data, std::size_t size) {
    static const korvath::FormulaParser parser;
    const std::string_view text = korvath::fuzz::AsText(data, size);
    for (double x : {0.0, 1.0, -3.5, 1e300}) {
        int position = 0;
        std::string error;
        (void)parser.Evaluate(text, x, position, error, 1);
        KORVATH_FUZZ_CHECK(position >= 0 && static_cast<std::size_t>(position) <= text.size() + 1);
    }
    return 0;
}
