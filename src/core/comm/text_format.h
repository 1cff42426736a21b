#pragma once
// printf-style formatting into a std::string, checked by the compiler against its arguments.

#include <string>

namespace korvath {

std::string StringPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace korvath
