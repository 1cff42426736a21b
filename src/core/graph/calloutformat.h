#pragma once
// Callout formats come from definition files. A callout is printed with exactly five arguments:
// column label (string), point value (double), column label (string), stored value rounded to
// tens (int), stored value (int). A format is used only when every conversion it names fits the
// argument in its place; fewer conversions than five are fine.

#include <cstddef>
#include <string_view>

namespace korvath {

bool IsValidCalloutFormat(std::string_view format);

// Width and precision above this are refused, so that no callout grows without bound.
constexpr int kMaxCalloutFieldWidth = 255;

// Prints a valid format into `buffer` (always terminated when size > 0). Returns the length the
// full text needs, or -1 when the format is not valid (the buffer is then left empty).
int FormatCallout(char* buffer, std::size_t size, const char* format, const char* label,
                  double value, int storedRounded, int stored);

}  // namespace korvath
