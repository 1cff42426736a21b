#include "graph/calloutformat.h"

#include <cstdio>
#include <cstring>

namespace korvath {
namespace {

enum class ArgKind { String, Double, Int };

constexpr ArgKind kArguments[] = {ArgKind::String, ArgKind::Double, ArgKind::String, ArgKind::Int,
                                  ArgKind::Int};
constexpr int kArgumentCount = 5;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a decimal field at `i`; false when it is larger than the limit.
bool ReadNumber(std::string_view f, std::size_t& i, int& value) {
    value = 0;
    while (i < f.size() && IsDigit(f[i])) {
        value = value * 10 + (f[i] - '0');
        if (value > kMaxCalloutFieldWidth) return false;
        ++i;
    }
    return true;
}

}  // namespace

bool IsValidCalloutFormat(std::string_view f) {
    int used = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '\0') return false;
        if (f[i] != '%') continue;
        ++i;
        if (i < f.size() && f[i] == '%') continue;
        while (i < f.size() && std::strchr("-+ #0", f[i]) != nullptr) ++i;
        int number = 0;
        if (!ReadNumber(f, i, number)) return false;
        if (i < f.size() && f[i] == '$') return false;  // positional arguments
        if (i < f.size() && f[i] == '.') {
            ++i;
            if (!ReadNumber(f, i, number)) return false;
        }
        int shortCount = 0;
        int longCount = 0;
        while (i < f.size() && (f[i] == 'h' || f[i] == 'l')) {
            (f[i] == 'h' ? shortCount : longCount)++;
            ++i;
        }
        if (i >= f.size()) return false;  // a lone '%' or a cut conversion
        if (used >= kArgumentCount) return false;
        const char conversion = f[i];
        switch (kArguments[used]) {
        case ArgKind::String:
            if (conversion != 's' || shortCount != 0 || longCount != 0) return false;
            break;
        case ArgKind::Double:
            if (std::strchr("fFeEgGaA", conversion) == nullptr || shortCount != 0 || longCount > 1)
                return false;
            break;
        case ArgKind::Int:
            if (std::strchr("diouxXc", conversion) == nullptr || longCount != 0 || shortCount > 2)
                return false;
            if (conversion == 'c' && shortCount != 0) return false;
            break;
        }
        ++used;
    }
    return true;
}

int FormatCallout(char* buffer, std::size_t size, const char* format, const char* label, double value,
                  int storedRounded, int stored) {
    if (size > 0) buffer[0] = '\0';
    if (format == nullptr || !IsValidCalloutFormat(format)) return -1;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    // The format was checked above against exactly these five arguments.
    const int length = std::snprintf(buffer, size, format, label, value, label, storedRounded, stored);
#pragma GCC diagnostic pop
    if (length < 0) {
        if (size > 0) buffer[0] = '\0';
        return -1;
    }
    return length;
}

}  // namespace korvath
