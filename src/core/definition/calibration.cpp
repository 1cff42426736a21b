#include "definition/calibration.h"

namespace korvath {

std::int16_t HardwareBlock::Get(HardwareField f) const {
    const auto at = static_cast<std::size_t>(f);
    return static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void HardwareBlock::Set(HardwareField f, std::int16_t v) {
    const auto at = static_cast<std::size_t>(f);
    bytes[at] = static_cast<std::uint8_t>(v & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

bool ViewStateBlock::TraceVisible(int trace) const {
    return trace >= 0 && trace < 50 && bytes[kVisibleOffset + static_cast<std::size_t>(trace)] == 1;
}

void ViewStateBlock::SetTraceVisible(int trace, bool visible) {
    if (trace >= 0 && trace < 50) bytes[kVisibleOffset + static_cast<std::size_t>(trace)] = visible ? 1 : 0;
}

std::int32_t ViewStateBlock::SelectedTable() const {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | bytes[kSelectedTableOffset + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(u);
}

void ViewStateBlock::SetSelectedTable(std::int32_t table) {
    auto u = static_cast<std::uint32_t>(table);
    for (std::size_t i = 0; i < 4; ++i) bytes[kSelectedTableOffset + i] = static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF);
}

}  // namespace korvath
