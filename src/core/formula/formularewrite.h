#pragma once
// The textual tidying a formula goes through before it is parsed. Definition files were
// written by hand over many years, so the same conversion appears as "X * (1)", "[X+1]*2"
// or "((X))"; the rewriting brings these to one plain form. It never changes the value of a
// formula except through the removal of "*(1)" and "(1)*" (which is textual: "X*(1)^2"
// becomes "X^2").

#include <string>
#include <string_view>

namespace korvath::formula {

// In this order:
// 1. every occurrence (left to right, non-overlapping, case-sensitive) of a fixed list of
//    fragments is replaced: spaces dropped, "," to ".", "[" "{" to "(", "]" "}" to ")",
//    "*(1)" and "(1)*" dropped, and redundant parentheses around lower-case x and around
//    sin/cos/cot/tan/exp/log/ln of x removed;
// 2. while one matching pair of parentheses encloses the whole text, that pair is removed;
// 3. leading "+" characters are removed;
// 4. wherever a pair of parentheses directly encloses another pair ("((" ... "))" with the
//    inner pair closing just before the outer one), the inner pair is removed.
// Runs in time linear in the length of the text (times the number of fragments).
std::string RewriteFormula(std::string_view formula);

}  // namespace korvath::formula
