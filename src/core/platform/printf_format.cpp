#include "platform/printf_format.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace korvath {
namespace {

// Skips the digits at i; false when they make a width or precision above kMaxFormatField.
bool SmallNumber(std::string_view format, size_t& i) {
    long number = 0;
    for (; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i) {
        number = number * 10 + (format[i] - '0');
        if (number > static_cast<long>(kMaxFormatField)) return false;
    }
    return true;
}

// Reads the conversions of `format`; returns false on anything that is not plainly safe.
bool Conversions(std::string_view format, std::vector<FormatArg>& out) {
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        ++i;
        if (i >= format.size()) return false;
        if (format[i] == '%') continue;
        while (i < format.size() && std::string_view("-+ #0'").find(format[i]) != std::string_view::npos) ++i;
        if (!SmallNumber(format, i)) return false;
        if (i < format.size() && format[i] == '.') {
            ++i;
            if (!SmallNumber(format, i)) return false;
        }
        bool longModifier = false;
        if (i < format.size() && format[i] == 'l') {
            longModifier = true;
            ++i;
        }
        if (i >= format.size()) return false;
        char c = format[i];
        if (std::string_view("di").find(c) != std::string_view::npos && !longModifier) {
            out.push_back(FormatArg::Int);
        } else if (std::string_view("ouxXc").find(c) != std::string_view::npos && !longModifier) {
            out.push_back(FormatArg::Int);
        } else if (std::string_view("fFeEgGaA").find(c) != std::string_view::npos) {
            out.push_back(FormatArg::Double);
        } else if (c == 's' && !longModifier) {
            out.push_back(FormatArg::String);
        } else {
            return false;  // %n, %p, "*" widths, positional arguments, unknown letters
        }
    }
    return true;
}

bool Check(std::string_view format, std::initializer_list<FormatArg> args, size_t maxLength, bool exact) {
    if (format.size() > maxLength) return false;
    if (format.find('\0') != std::string_view::npos) return false;
    std::vector<FormatArg> found;
    if (!Conversions(format, found)) return false;
    if (found.size() > args.size() || (exact && found.size() != args.size())) return false;
    auto it = args.begin();
    for (FormatArg f : found)
        if (f != *it++) return false;
    return true;
}

std::string VFormat(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(n));
    return out;
}

}  // namespace

bool FormatFitsArgs(std::string_view format, std::initializer_list<FormatArg> args, size_t maxLength) {
    return Check(format, args, maxLength, false);
}

bool FormatTakesExactly(std::string_view format, std::initializer_list<FormatArg> args, size_t maxLength) {
    return Check(format, args, maxLength, true);
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = VFormat(format, args);
    va_end(args);
    return out;
}

std::string FormatChecked(const char* format, ...) {
    va_list args;
    va_start(args, format);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::string out = VFormat(format, args);
#pragma GCC diagnostic pop
    va_end(args);
    return out;
}

}  // namespace korvath
