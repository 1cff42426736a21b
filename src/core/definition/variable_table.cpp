#include "definition/variable_table.h"

namespace korvath {

std::uint8_t VarType::FromWord(const std::string& word) {
    if (word == "I16") return I16;
    if (word == "I32") return I32;
    if (word == "F32") return F32;
    if (word == "STR") return STR;
    if (word == "T8") return T8;
    return I8;
}

int VarType::ImageSize(std::uint8_t type) {
    switch (type) {
        case I8: return 1;
        case I16: return 2;
        case I32:
        case F32: return 4;
        default: return 0;
    }
}

void VariableSlot::SetInt16(std::int16_t v) {
    value[0] = static_cast<std::uint8_t>(v & 0xFF);
    value[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

std::int32_t VariableSlot::Int32() const {
    std::uint32_t u = static_cast<std::uint32_t>(value[0]) | (static_cast<std::uint32_t>(value[1]) << 8) |
                      (static_cast<std::uint32_t>(value[2]) << 16) | (static_cast<std::uint32_t>(value[3]) << 24);
    return static_cast<std::int32_t>(u);
}

void VariableSlot::SetInt32(std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) value[i] = static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF);
}

float VariableSlot::Float() const {
    std::uint32_t u = static_cast<std::uint32_t>(Int32());
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

void VariableSlot::SetFloat(float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    SetInt32(static_cast<std::int32_t>(u));
}

void VariableSlot::SetTable(std::int16_t tableAddress, std::uint8_t count, std::uint8_t stride) {
    SetInt16(tableAddress);
    value[2] = count;
    value[3] = stride;
}

void VariableTable::Reset(int level) {
    if (level >= 2) {
        layout.TotalBlockSize = layout.DynamicBlockSize = layout.NumDynamicTableCells = 0;
        layout.NumDynamicTableEntries = layout.DynamicBlockStart = 0;
        layout.StaticBlockSize = layout.StaticBlockStart = 0;
        count = 0;
    }
    storeFormulas.clear();
    loadFormulas.clear();
    for (auto& slot : slots) {
        if (level >= 1) {
            slot.name.clear();
            slot.value = {};
            slot.type = 0;
        }
        slot.address = -1;
        slot.location = 0;
    }
}

}  // namespace korvath
