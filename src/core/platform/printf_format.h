#pragma once
// Format strings that come from definition files are untrusted: before one is handed to
// snprintf it must be checked against the arguments it will actually get.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace korvath {

enum class FormatArg { Int, Double, String };

// The largest width or precision a format from a file may ask for: a display line holds no more.
inline constexpr std::size_t kMaxFormatField = 49;

// True when `format` is at most maxLength characters and its conversions, in order, take a
// prefix of `args` (fewer conversions than arguments are fine; "%%" is literal text).
// Flags, a numeric width and precision (each at most kMaxFormatField) are allowed; "*" widths, "%n", positional arguments
// and length modifiers other than "l" on floating conversions are not.
bool FormatFitsArgs(std::string_view format, std::initializer_list<FormatArg> args,
                    std::size_t maxLength = 1000);

// Same check, but the format must take exactly `args` (no fewer conversions).
bool FormatTakesExactly(std::string_view format, std::initializer_list<FormatArg> args,
                        std::size_t maxLength = 1000);

// snprintf into a std::string of whatever length the result needs.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formats with a format checked by FormatFitsArgs; the arguments are passed as given. (The
// format is a plain pointer: va_start on a reference parameter is undefined.)
std::string FormatChecked(const char* format, ...);

}  // namespace korvath
