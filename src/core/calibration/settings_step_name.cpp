#include "calibration/settings_step_name.h"

#include <algorithm>

#include "calibration/calibration_diff.h"
#include "document/curve_edit.h"

namespace korvath {
namespace {

constexpr const char* kArrow = " \u2192 ";
constexpr const char* kGenericName = "Change settings";
constexpr const char* kTransmissionName = "Transmission";
constexpr const char* kNoValue = "(none)";

std::string Shown(const std::string& value) { return value.empty() ? kNoValue : value; }

// ":Section:Name" shows as "Name".
std::string ChoiceName(const std::string& key) {
    const std::size_t colon = key.rfind(':');
    return colon == std::string::npos ? key : key.substr(colon + 1);
}

std::string VariableValue(const VariableSlot& slot) {
    if (slot.type == VarType::F32) return FormatCellNumber(slot.Float());
    if (slot.type == VarType::I32) return std::to_string(slot.Int32());
    if (slot.type == VarType::I8) return std::to_string(static_cast<int>(slot.value[0]));
    return std::to_string(slot.Int16());
}

std::string WithMore(std::string name, int more) {
    if (more > 0) name += " (and " + std::to_string(more) + " more)";
    return name;
}

}  // namespace

std::string SettingsStepName(const Calibration& before, const Calibration& after) {
    const auto old = PropertyEntries(before.properties.text());
    const auto now = PropertyEntries(after.properties.text());
    std::string first;
    int changed = 0;
    for (const auto& [key, value] : now) {
        const auto was = std::find_if(old.begin(), old.end(), [&](const auto& e) { return e.first == key; });
        const std::string previous = was == old.end() ? std::string() : was->second;
        if (previous == value) continue;
        if (changed++ == 0) first = ChoiceName(key) + ": " + Shown(previous) + kArrow + Shown(value);
    }
    if (changed > 0) return WithMore(first, changed - 1);
    if (before.application.TransmissionType != after.application.TransmissionType)
        return std::string(kTransmissionName) + ": " + Shown(before.application.TransmissionType) + kArrow +
               Shown(after.application.TransmissionType);
    const int count = std::min({before.variables.count, after.variables.count, kMaxVariables});
    for (int i = 0; i < count; ++i) {
        const VariableSlot& a = before.variables.slots[static_cast<std::size_t>(i)];
        const VariableSlot& b = after.variables.slots[static_cast<std::size_t>(i)];
        if (a.name != b.name || a.value == b.value || a.type == VarType::T8 || a.type == VarType::STR || a.type == VarType::Continuation) continue;
        if (changed++ == 0) first = a.name + ": " + VariableValue(a) + kArrow + VariableValue(b);
    }
    if (changed > 0) return WithMore(first, changed - 1);
    return kGenericName;
}

}  // namespace korvath
