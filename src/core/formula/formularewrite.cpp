#include "formula/formularewrite.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace korvath::formula {

namespace {

struct Replacement {
    std::string_view from;
    std::string_view to;
};

// Applied one after the other, each over the whole text.
constexpr Replacement kReplacements[] = {
    {" ", ""},          {",", "."},           {"[", "("},          {"{", "("},
    {"]", ")"},         {"}", ")"},           {"*(1)", ""},        {"(1)*", ""},
    {"*(x)", "*x"},     {"((x)*", "(x*"},     {"+(x)*", "+x*"},    {"-(x)*", "-x*"},
    {"*(x)*", "*x*"},   {"(sin(x))", "sin(x)"}, {"(cos(x))", "cos(x)"}, {"(cot(x))", "cot(x)"},
    {"(tan(x))", "tan(x)"}, {"(exp(x))", "exp(x)"}, {"(log(x))", "log(x)"}, {"(ln(x))", "ln(x)"},
};

constexpr std::size_t kUnmatched = static_cast<std::size_t>(-1);

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::size_t hit = text.find(from);
    if (hit == std::string::npos) return;
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    while (hit != std::string::npos) {
        out.append(text, done, hit - done);
        out.append(to);
        done = hit + from.size();
        hit = text.find(from, done);
    }
    out.append(text, done, std::string::npos);
    text = std::move(out);
}

// For every "(" the index of the ")" that closes it, kUnmatched for a "(" that is never
// closed and for every other character.
std::vector<std::size_t> MatchParentheses(const std::string& text) {
    std::vector<std::size_t> match(text.size(), kUnmatched);
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') {
            open.push_back(i);
        } else if (text[i] == ')' && !open.empty()) {
            match[open.back()] = i;
            open.pop_back();
        }
    }
    return match;
}

}  // namespace

std::string RewriteFormula(std::string_view formula) {
    std::string text(formula);
    for (const auto& r : kReplacements) ReplaceAll(text, r.from, r.to);

    // The pairs inside a matched pair are balanced, so the matches found on the whole text
    // stay valid for the part that remains after outer pairs are stripped.
    const std::vector<std::size_t> match = MatchParentheses(text);
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (end > begin && text[begin] == '(' && match[begin] == end - 1) {
        ++begin;
        --end;
    }
    while (begin < end && text[begin] == '+') ++begin;

    // A chain of directly nested pairs collapses to its outermost pair.
    std::vector<bool> removed(text.size(), false);
    for (std::size_t i = begin; i + 1 < end; ++i) {
        if (text[i] != '(' || match[i] == kUnmatched) continue;
        const std::size_t inner = i + 1;
        if (text[inner] == '(' && match[inner] != kUnmatched && match[inner] + 1 == match[i]) {
            removed[inner] = true;
            removed[match[inner]] = true;
        }
    }
    std::string out;
    out.reserve(end - begin);
    for (std::size_t i = begin; i < end; ++i)
        if (!removed[i]) out.push_back(text[i]);
    return out;
}

}  // namespace korvath::formula
