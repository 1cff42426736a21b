#include "cli_definition.h"

#include <cstdio>
#include <cstdlib>


namespace korvath::cli {

bool SetVariableFromText(CQRNDoc& doc, const std::string& assignment) {
    const auto equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0) {
        std::fprintf(stderr, "korvath-cli: --var wants NAME=VALUE, not %s\n", assignment.c_str());
        return false;
    }
    const std::string name = assignment.substr(0, equals);
    const std::string text = assignment.substr(equals + 1);
    auto& table = doc.variables();
    for (int i = 0; i < table.count; ++i) {
        VariableSlot& slot = table.slots[static_cast<std::size_t>(i)];
        if (slot.name != name || slot.type == VarType::Continuation) continue;
        char* end = nullptr;
        if (slot.type == VarType::STR) {
            table.slots[static_cast<std::size_t>(i) + 1].name = text;
            return true;
        }
        if (slot.type == VarType::F32) {
            const float f = std::strtof(text.c_str(), &end);
            if (end == text.c_str() || *end) break;
            return doc.StoreFloat(FloatVariableRef(&slot), slot.name, f);
        }
        if (VarType::IsInteger(slot.type)) {
            const long v = std::strtol(text.c_str(), &end, 0);
            if (end == text.c_str() || *end) break;
            if (slot.type == VarType::I32)
                slot.SetInt32(static_cast<std::int32_t>(v));
            else
                slot.SetInt16(static_cast<std::int16_t>(v));
            return true;
        }
    }
    std::fprintf(stderr, "korvath-cli: no variable can take %s\n", assignment.c_str());
    return false;
}

}  // namespace korvath::cli
