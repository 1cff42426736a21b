#include "calibration/calibration_values.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "definition/edit_box_limits.h"
#include "document/qrndoc.h"

namespace korvath {
namespace {

constexpr std::string_view kTracePrefix = "trace.";

struct PointName {
    int trace = -1;
    int point = -1;
};

// "trace.N[i]" with N < 50 and i < 10; false for anything else.
bool ParsePointName(std::string_view name, PointName& out) {
    if (!name.starts_with(kTracePrefix)) return false;
    int trace = -1, point = -1, used = 0;
    const std::string text(name.substr(kTracePrefix.size()));
    if (std::sscanf(text.c_str(), "%3d[%2d]%n", &trace, &point, &used) != 2) return false;
    if (static_cast<std::size_t>(used) != text.size() || text[0] < '0' || text[0] > '9') return false;
    if (trace < 0 || trace >= kNumTraces || point < 0 || point >= kPointsPerTrace) return false;
    out = {trace, point};
    return true;
}

// The first declared slot of `name`, as the lookups find it; -1 when none.
int DeclaredSlot(const VariableTable& table, std::string_view name) {
    const int count = std::min<int>(table.count, kMaxVariables);
    for (int i = 0; i < count; ++i) {
        const VariableSlot& s = table.slots[static_cast<std::size_t>(i)];
        if (s.type != VarType::Continuation && s.name == name) return i;
    }
    return -1;
}

bool ParseInteger(std::string_view text, long long low, long long high, long long& out) {
    const std::string s(TrimText(text));
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 0);
    if (errno == ERANGE || end == s.c_str() || *end != '\0' || v < low || v > high) return false;
    out = v;
    return true;
}

bool ParseFloat(std::string_view text, float& out) {
    const std::string s(TrimText(text));
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(s.c_str(), &end);
    if (errno == ERANGE || end == s.c_str() || *end != '\0' || !std::isfinite(v) ||
        std::fabs(v) > std::numeric_limits<float>::max())
        return false;
    out = static_cast<float>(v);
    return true;
}

std::string Describe(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// An "I@" box writes integer variables, an "F@" box float ones; a box of the other kind does
// not reach the variable at all.
void NoteEditBoxClamps(const CQRNDoc& doc, const std::string& name, double value, bool integer,
                       SetResult& result) {
    for (const EditBoxLimits& box : EditBoxesStoringInto(doc.reader(), name)) {
        if (box.integerTarget != integer) continue;
        const double kept = EditBoxClamp(box, value);
        if (kept == value) continue;
        result.notices.push_back("the edit box " + box.logicalName + " of " + box.section + " keeps " + name +
                                 " within " + Describe(box.minValue) + " ... " + Describe(box.maxValue) +
                                 " and would change " + Describe(value) + " to " + Describe(kept));
    }
}

}  // namespace

bool GetCalibrationValue(const CQRNDoc& doc, std::string_view name, DiffValue& value, std::string& error) {
    const Calibration& cal = doc.calibration();
    if (PointName p; ParsePointName(name, p)) {
        value = std::int64_t{cal.points[static_cast<std::size_t>(p.trace)][static_cast<std::size_t>(p.point)]};
        return true;
    }
    const int slot = DeclaredSlot(cal.variables, name);
    if (slot < 0) {
        error = std::string(name) + " is not declared by the calibration's definition";
        return false;
    }
    const VariableSlot& s = cal.variables.slots[static_cast<std::size_t>(slot)];
    switch (s.type) {
        case VarType::I8:
        case VarType::I16: value = std::int64_t{s.Int16()}; return true;
        case VarType::I32: value = std::int64_t{s.Int32()}; return true;
        case VarType::F32: value = FloatAsShown(s.Float()); return true;
        case VarType::STR:
            value = slot + 1 < kMaxVariables ? cal.variables.slots[static_cast<std::size_t>(slot) + 1].name
                                             : std::string();
            return true;
        default: error = std::string(name) + " is a table; its points are trace.N[i]"; return false;
    }
}

SetResult SetCalibrationValue(CQRNDoc& doc, std::string_view assignment) {
    SetResult result;
    const auto equals = assignment.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        result.error = "NAME=VALUE expected, not " + std::string(assignment);
        return result;
    }
    const std::string name(TrimText(assignment.substr(0, equals)));
    const std::string_view text = assignment.substr(equals + 1);
    auto badValue = [&](const char* what) {
        result.error = std::string(text) + " is not " + what + " (for " + name + ")";
        return result;
    };
    Calibration& cal = doc.calibration();

    if (PointName p; ParsePointName(name, p)) {
        long long v = 0;
        if (!ParseInteger(text, INT16_MIN, INT16_MAX, v)) return badValue("a 16-bit point value");
        cal.points[static_cast<std::size_t>(p.trace)][static_cast<std::size_t>(p.point)] = static_cast<std::int16_t>(v);
        result.ok = true;
        return result;
    }
    const int slot = DeclaredSlot(cal.variables, name);
    if (slot < 0) {
        result.error = name + " is not declared by the calibration's definition";
        return result;
    }
    VariableSlot& s = cal.variables.slots[static_cast<std::size_t>(slot)];
    long long v = 0;
    switch (s.type) {
        case VarType::I8:
            // One byte in the controller's image, read back as 0 ... 255.
            if (!ParseInteger(text, 0, UINT8_MAX, v)) return badValue("an 8-bit value (0 ... 255)");
            s.SetInt32(static_cast<std::int32_t>(v));
            break;
        case VarType::I16:
            if (!ParseInteger(text, INT16_MIN, INT16_MAX, v)) return badValue("a 16-bit integer");
            s.SetInt16(static_cast<std::int16_t>(v));
            break;
        case VarType::I32:
            if (!ParseInteger(text, INT32_MIN, INT32_MAX, v)) return badValue("a 32-bit integer");
            s.SetInt32(static_cast<std::int32_t>(v));
            break;
        case VarType::F32: {
            float f = 0;
            if (!ParseFloat(text, f)) return badValue("a finite 32-bit float");
            s.SetFloat(f);
            NoteEditBoxClamps(doc, name, f, false, result);
            result.ok = true;
            return result;
        }
        case VarType::STR: {
            if (slot + 1 >= kMaxVariables) return badValue("storable");
            if (text.size() > kMaxTextValueLength) return badValue("a text of at most 255 characters");
            for (const char c : text)
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return badValue("a text without control characters");
            cal.variables.slots[static_cast<std::size_t>(slot) + 1].name = std::string(text);
            result.ok = true;
            return result;
        }
        default:
            result.error = name + " is a table; set its points as trace.N[i]";
            return result;
    }
    NoteEditBoxClamps(doc, name, static_cast<double>(v), true, result);
    result.ok = true;
    return result;
}

}  // namespace korvath
