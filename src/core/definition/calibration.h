#pragma once
// The user's data set for one controller application: everything a ".qvr" file holds.

#include <array>
#include <cstdint>
#include <string>

#include "definition/property_store.h"
#include "definition/variable_table.h"

namespace korvath {

inline constexpr int kNumTraces = 50;
inline constexpr int kPointsPerTrace = 10;

using TracePoints = std::array<std::array<std::int16_t, kPointsPerTrace>, kNumTraces>;

struct ApplicationStrings {
    std::string LogicalName, Schema, TransmissionType, SubType, Reserved1, DefinitionFileName, Description,
        Reserved2;
};

struct ProductStrings {
    std::string ProdID, ProdName, MinFWVer, MaxFWVer, MinHWVer, Reserved3, Reserved4;
};

// Byte offsets of the signed 16-bit fields of the 142-byte hardware/version block.
enum class HardwareField : std::size_t {
    DeviceType = 102,
    HardwareVersion = 108,
    FirmwareVersion = 116,
    FirmwareVersionMinor = 118,
    ProgramVersionMajor = 120,
    ProgramVersionMinor = 122,
    IdentifiedFlag = 124,
    IdentifiedSinceLoad = 126,
    ApplyDefaultsFlag = 128,
    NumNVMTables = 130,
    PackageRevision = 132,
};

struct HardwareBlock {
    std::array<std::uint8_t, 142> bytes{};
    std::int16_t Get(HardwareField f) const;
    void Set(HardwareField f, std::int16_t v);
    std::uint8_t* FieldBytes(HardwareField f) { return bytes.data() + static_cast<std::size_t>(f); }
};

// The 136-byte view-state block: which traces are shown, the link switch, the chosen table.
struct ViewStateBlock {
    static constexpr std::size_t kVisibleOffset = 51;
    static constexpr std::size_t kLinkingOffset = 102;
    static constexpr std::size_t kSelectedTableOffset = 108;

    std::array<std::uint8_t, 136> bytes{};
    bool TraceVisible(int trace) const;
    void SetTraceVisible(int trace, bool visible);
    std::uint8_t TraceLinking() const { return bytes[kLinkingOffset]; }
    void SetTraceLinking(std::uint8_t v) { bytes[kLinkingOffset] = v; }
    std::int32_t SelectedTable() const;
    void SetSelectedTable(std::int32_t table);
};

struct Calibration {
    ApplicationStrings application;
    ProductStrings product;
    HardwareBlock hardware;
    TracePoints points{};
    PropertyStore properties;
    std::string reservedText;
    std::array<std::uint8_t, 508> reservedBlock{};
    ViewStateBlock viewState;
    // 50 traces x 20 entries x {float display value, int32 raw value}, little-endian.
    std::array<std::uint8_t, 8000> conversionTables{};
    VariableTable variables;
    std::array<std::uint8_t, 1024> reservedBlock2{};
    // The definition text lives in the document's reader; the file code reads it from there.
};

}  // namespace korvath
