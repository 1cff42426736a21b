#pragma once
// The variable table (at most 4096 slots, declaration order), the memory-image layout read
// from the "$" keys of "[Declarations]", and the store and load formula lists.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace korvath {

namespace VarType {
inline constexpr std::uint8_t I8 = 0;  // any unrecognised type word: an 8-bit integer
inline constexpr std::uint8_t I16 = 1;
inline constexpr std::uint8_t I32 = 2;
inline constexpr std::uint8_t F32 = 8;
inline constexpr std::uint8_t STR = 16;
inline constexpr std::uint8_t T8 = 32;
inline constexpr std::uint8_t Continuation = 255;  // second slot of I32 and STR

inline bool IsInteger(std::uint8_t type) { return type <= I32; }
std::uint8_t FromWord(const std::string& word);
// Bytes a scalar of this type takes in the memory image (0 for STR, T8 and continuations).
int ImageSize(std::uint8_t type);
}  // namespace VarType

namespace VarLocation {
inline constexpr std::uint8_t NotInImage = 0;
inline constexpr std::uint8_t StaticBlock = 1;
inline constexpr std::uint8_t CalibrationOnly = 2;
}  // namespace VarLocation

// Four value bytes kept little-endian whatever the host, read through typed views.
struct VariableSlot {
    std::array<std::uint8_t, 4> value{};
    std::int16_t address = -1;
    std::uint8_t type = 0;
    std::uint8_t location = 0;
    std::string name;

    std::int16_t Int16() const { return static_cast<std::int16_t>(value[0] | (value[1] << 8)); }
    void SetInt16(std::int16_t v);
    std::int32_t Int32() const;
    void SetInt32(std::int32_t v);
    float Float() const;
    void SetFloat(float v);
    // T8: table address in the low half, then the cell count, then the cell stride.
    std::int16_t TableAddress() const { return Int16(); }
    std::uint8_t CellCount() const { return value[2]; }
    std::uint8_t CellStride() const { return value[3]; }
    void SetTable(std::int16_t tableAddress, std::uint8_t count, std::uint8_t stride);
};

// Reference to a 16-bit value (a slot's low half or a field of the hardware block).
class IntVariableRef {
public:
    IntVariableRef() = default;
    explicit IntVariableRef(std::uint8_t* bytes) : bytes_(bytes) {}
    explicit operator bool() const { return bytes_ != nullptr; }
    std::int16_t get() const { return static_cast<std::int16_t>(bytes_[0] | (bytes_[1] << 8)); }
    void set(std::int16_t v) const {
        bytes_[0] = static_cast<std::uint8_t>(v & 0xFF);
        bytes_[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
    }

private:
    std::uint8_t* bytes_ = nullptr;
};

class FloatVariableRef {
public:
    FloatVariableRef() = default;
    explicit FloatVariableRef(VariableSlot* slot) : slot_(slot) {}
    explicit operator bool() const { return slot_ != nullptr; }
    float get() const { return slot_->Float(); }
    void set(float v) const { slot_->SetFloat(v); }

private:
    VariableSlot* slot_ = nullptr;
};

// The "$" keys of "[Declarations]" (the layout block of a calibration file).
struct ImageLayout {
    std::int32_t TotalBlockSize = 0;
    std::int32_t DynamicBlockSize = 0;
    std::int32_t NumDynamicTableCells = 0;
    std::int32_t NumDynamicTableEntries = 0;
    std::int32_t DynamicBlockStart = 0;
    std::int32_t DynamicBlockLayout = 0;
    std::int32_t DynamicInterpolation = 0;
    std::int32_t StaticBlockSize = 0;
    std::int32_t StaticBlockStart = 0;
    std::int32_t NVMType = 0;
    std::int32_t CalBufferStart = 256;
    std::int32_t CalNVMStart = 0x7000;
    std::int32_t CalNVMPageSize = 1024;
    std::int32_t CalPSVBase = -1;
    std::int16_t FlashBlockSize = 64;
    std::int16_t CalBufferSize = 512;
    std::array<std::uint8_t, 12> reserved{};
};

inline constexpr int kMaxVariables = 4096;
inline constexpr int kMaxFormulas = 40;

struct VariableTable {
    std::vector<VariableSlot> slots = std::vector<VariableSlot>(kMaxVariables);
    std::int32_t count = 0;  // slots in use
    ImageLayout layout;
    std::vector<std::string> storeFormulas;  // at most kMaxFormulas each
    std::vector<std::string> loadFormulas;

    // 0: formula lists; 1: also every slot's name, value and type; 2: also the layout.
    // Every level sets each slot's address to -1 and its location to 0.
    void Reset(int level);
};

}  // namespace korvath
