// Name lookups over the variable table: first match wins, names compared exactly.

#include <cmath>

#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr const char* kUnresolvedInteger =
    "Definition file error:\n\nCould not resolve integer variable listed above. Please contact us for assistance.";
constexpr const char* kUnresolvedFloat =
    "Definition file error:\n\nCould not resolve floating point variable listed above. Please contact us for "
    "assistance.";
constexpr const char* kUnresolvedString =
    "Definition file error:\n\nCould not resolve string index listed above. Please contact us for assistance.";
constexpr const char* kUnresolvedTable =
    "Definition file error:\n\nCould not resolve table index listed above. Please contact us for assistance.";

constexpr const char* kNumNVMTables = "NumNVMTables";
constexpr const char* kNonFiniteCaption = "Invalid Value";
constexpr const char* kNonFiniteFormat =
    "The value %g given for %.80s is not a finite number.  %.80s was left unchanged.";

template <typename Match>
int FindSlot(const VariableTable& table, std::string_view name, Match match) {
    for (int i = 0; i < table.count && i < kMaxVariables; ++i) {
        const auto& s = table.slots[static_cast<std::size_t>(i)];
        if (s.name == name && match(s.type)) return i;
    }
    return -1;
}

}  // namespace

IntVariableRef CQRNDoc::FindIntVariable(std::string_view name) {
    int i = FindSlot(cal_.variables, name, VarType::IsInteger);
    if (i >= 0) return IntVariableRef(cal_.variables.slots[static_cast<std::size_t>(i)].value.data());
    if (name == kNumNVMTables) return IntVariableRef(cal_.hardware.FieldBytes(HardwareField::NumNVMTables));
    ShowMessage(kUnresolvedInteger, name, MessageStyle::IconExclamation);
    return {};
}

FloatVariableRef CQRNDoc::FindFloatVariable(std::string_view name) {
    int i = FindSlot(cal_.variables, name, [](std::uint8_t t) { return t == VarType::F32; });
    if (i >= 0) return FloatVariableRef(&cal_.variables.slots[static_cast<std::size_t>(i)]);
    ShowMessage(kUnresolvedFloat, name, MessageStyle::IconExclamation);
    return {};
}

int CQRNDoc::FindStringVariable(std::string_view name) {
    int i = FindSlot(cal_.variables, name, [](std::uint8_t t) { return t == VarType::STR; });
    if (i >= 0 && i + 1 < kMaxVariables) return i + 1;
    ShowMessage(kUnresolvedString, name, MessageStyle::IconExclamation);
    return -1;
}

std::int16_t CQRNDoc::FindTableVariable(std::string_view name) {
    int i = FindSlot(cal_.variables, name, [](std::uint8_t t) { return t == VarType::T8; });
    if (i >= 0) return cal_.variables.slots[static_cast<std::size_t>(i)].address;
    ShowMessage(kUnresolvedTable, name, MessageStyle::IconExclamation);
    return -1;
}

bool CQRNDoc::SetIntVariable(std::string_view name, std::int16_t value) {
    IntVariableRef ref = FindIntVariable(name);
    if (!ref) return false;
    ref.set(value);
    return true;
}

bool CQRNDoc::SetFloatVariable(std::string_view name, float value) {
    FloatVariableRef ref = FindFloatVariable(name);
    return ref && StoreFloat(ref, name, value);
}

bool CQRNDoc::StoreFloat(FloatVariableRef ref, std::string_view name, float value) {
    // An infinity or NaN would go into the controller's image as it is.
    if (!std::isfinite(value)) {
        const std::string n(name);
        ShowMessage(FormatText(kNonFiniteFormat, static_cast<double>(value), n.c_str(), n.c_str()), kNonFiniteCaption,
                    MessageStyle::IconExclamation);
        return false;
    }
    ref.set(value);
    return true;
}

}  // namespace korvath
