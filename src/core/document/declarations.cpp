// "[Declarations]": the image layout, the variable table and the formula lists.

#include <cstdio>
#include <cstring>

#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr const char* kOverflowText =
    "Static NVM block too large for allocated array size.  Please reboot your computer and try again.  If this "
    "does not work, please contact us for assistance.";
constexpr const char* kOverflowCaption = "Static Memory Array Error";
constexpr const char* kTooManyStoreText = "Too many store formulas for array size, truncating to maximum number.";
constexpr const char* kTooManyStoreCaption = "Error reading store formulas from definition file:";
constexpr const char* kTooManyLoadText = "Too many load formulas for array size, truncating to maximum number.";
constexpr const char* kTooManyLoadCaption = "Error reading load formulas from definition file:";
// Placement errors that the definition can make and the image must not suffer.
constexpr const char* kOutsideStaticText =
    "Definition file error:\n\nThe variable listed above lies outside the static block of the memory image "
    "(static block %d bytes at offset %d, image %d bytes). It is kept in the calibration but not exchanged "
    "with the controller.";
constexpr const char* kBadTraceText =
    "Definition file error:\n\nThe table listed above is bound to trace %d; traces are numbered 0 to 49. The "
    "table is ignored.";
constexpr const char* kOutsideImageText =
    "Definition file error:\n\nThe cells of the table listed above fall outside the memory image (%d bytes). "
    "The table is kept in the calibration but not exchanged with the controller.";

constexpr const char* kStoreHeader = "StoreFormulae:";
constexpr const char* kLoadHeader = "LoadFormulae:";

struct LayoutKey {
    const char* name;
    bool wide;  // read as 32-bit (else as 16-bit, sign-extended)
};

// The required keys in the order they are read.
constexpr LayoutKey kRequiredKeys[] = {
    {"$TotalBlockSize", false},    {"$DynamicBlockSize", false},     {"$NumDynamicTableCells", false},
    {"$NumDynamicTableEntries", false}, {"$DynamicBlockStart", false}, {"$DynamicBlockLayout", false},
    {"$DynamicInterpolation", false}, {"$StaticBlockSize", false},  {"$StaticBlockStart", false},
    {"$NVMType", true},
};

std::int32_t* RequiredField(ImageLayout& l, int i) {
    std::int32_t* fields[] = {&l.TotalBlockSize,     &l.DynamicBlockSize,     &l.NumDynamicTableCells,
                              &l.NumDynamicTableEntries, &l.DynamicBlockStart, &l.DynamicBlockLayout,
                              &l.DynamicInterpolation, &l.StaticBlockSize,     &l.StaticBlockStart,
                              &l.NVMType};
    return fields[i];
}

struct DeclarationLine {
    std::string typeWord;
    std::int16_t location = 0;
    std::int16_t address = -1;
    std::string text;
};

DeclarationLine ScanDeclaration(const std::string& value) {
    DeclarationLine d;
    char word[21] = "";
    short location = 0, address = -1;
    char text[51] = "";
    std::sscanf(value.c_str(), "%20s %hi:%hi:%50s", word, &location, &address, text);
    d.typeWord = word;
    d.location = location;
    d.address = address;
    d.text = text;
    return d;
}

bool IsFormulaHeader(const std::string& key) { return key == kStoreHeader || key == kLoadHeader; }

// A variable declared again reuses its slot when the types agree or both are integers. An
// integer that grows into an I32 needs a second slot, which the old one does not have (the
// slot after it belongs to another variable), so it gets a new pair of slots instead.
bool SlotFits(std::uint8_t existing, std::uint8_t declared) {
    if (existing == declared) return true;
    if (!VarType::IsInteger(existing) || !VarType::IsInteger(declared)) return false;
    return declared != VarType::I32 || existing == VarType::I32;
}

}  // namespace

std::string CQRNDoc::MissingDeclarationsPart() {
    if (!reader_.FindSection("[Declarations]", 0)) return "[Declarations]";
    std::string value;
    for (const LayoutKey& key : kRequiredKeys)
        if (!reader_.FindKeyValue(key.name, value, 0)) return key.name;
    return {};
}

bool CQRNDoc::ReadDeclarations(int applyDefaults) {
    MessageBatchScope oneBoxPerMessage(*this);
    auto& table = cal_.variables;
    ImageLayout layout = table.layout;
    layout.CalBufferStart = 256;
    layout.CalNVMStart = 0x7000;
    layout.CalNVMPageSize = 1024;
    layout.CalPSVBase = -1;
    layout.FlashBlockSize = 64;
    layout.CalBufferSize = 512;

    if (!reader_.FindSection("[Declarations]", 0)) return false;
    for (int i = 0; i < static_cast<int>(std::size(kRequiredKeys)); ++i) {
        const auto& key = kRequiredKeys[i];
        std::int32_t* field = RequiredField(layout, i);
        if (key.wide) {
            if (reader_.ReadKeyInt(key.name, *field, 0) != 1) return false;
        } else {
            std::int16_t v = 0;
            if (reader_.ReadKeyShort(key.name, v, 0) != 1) return false;
            *field = v;
        }
    }
    reader_.ReadKeyInt("$CalBufferStart", layout.CalBufferStart, 0);
    reader_.ReadKeyInt("$CalNVMStart", layout.CalNVMStart, 0);
    reader_.ReadKeyInt("$CalNVMPageSize", layout.CalNVMPageSize, 0);
    reader_.ReadKeyInt("$CalPSVBase", layout.CalPSVBase, 0);
    reader_.ReadKeyShort("$FlashBlockSize", layout.FlashBlockSize, 0);
    reader_.ReadKeyShort("$CalBufferSize", layout.CalBufferSize, 0);
    table.layout = layout;
    if (monitor_) monitor_->set_NVM_type(layout.NVMType);

    std::string key, value;
    std::int32_t cursor = 0;
    bool restarted = false;
    while (reader_.ReadNextLine(key, value, cursor, 0)) {
        if (IsFormulaHeader(key)) break;
        if (key.empty() || key[0] == '$') continue;

        const DeclarationLine d = ScanDeclaration(value);
        const std::uint8_t type = VarType::FromWord(d.typeWord);
        int slotIndex = -1;
        for (int i = 0; i < table.count; ++i) {
            const auto& s = table.slots[static_cast<std::size_t>(i)];
            if (s.name == key && SlotFits(s.type, type)) {
                slotIndex = i;
                break;
            }
        }
        const bool existed = slotIndex >= 0;
        if (!existed) {
            const int need = (type == VarType::STR || type == VarType::I32) ? 2 : 1;
            if (table.count + need > kMaxVariables) {
                if (restarted) {
                    ShowMessage(kOverflowText, kOverflowCaption, MessageStyle::IconError);
                    table.count = kMaxVariables;
                    return false;
                }
                // One automatic restart: a table filled by earlier definitions may leave
                // no room for this one.
                table.Reset(1);
                table.count = 0;
                cursor = 0;
                applyDefaults = 1;
                restarted = true;
                continue;
            }
            slotIndex = table.count;
            table.count += need;
        }
        auto& slot = table.slots[static_cast<std::size_t>(slotIndex)];
        slot.name = key;
        slot.type = type;
        slot.location = static_cast<std::uint8_t>(d.location & 0xFF);
        slot.address = d.address;
        if (type == VarType::STR || type == VarType::I32) {
            auto& next = table.slots[static_cast<std::size_t>(slotIndex) + 1];
            next.type = VarType::Continuation;
            // The declared text starts a text off; it must not replace what the user stored in
            // a calibration when the declarations are read again without defaults (opening a
            // file, a changed controller). A "Fix" text still applies below.
            if (d.location == VarLocation::CalibrationOnly && (!existed || applyDefaults != 0)) next.name = d.text;
        }
        if (type == VarType::T8) {
            slot.SetTable(-1, 10, 1);
            ApplyInitialiser("NVM", value, slotIndex);
        }
        ApplyInitialiser("Fix", value, slotIndex);
        if (!(applyDefaults == 0 && existed)) ApplyInitialiser("Def", value, slotIndex);
        PlaceInImage(slot);
    }

    // Formula lists, starting with the line that ended the declarations.
    enum class Mode { None, Store, Load } mode = Mode::None;
    bool more = IsFormulaHeader(key);
    while (more) {
        if (!key.empty() && key[0] != '$') {
            if (key == kStoreHeader) {
                mode = Mode::Store;
            } else if (key == kLoadHeader) {
                mode = Mode::Load;
            } else if (mode != Mode::None) {
                auto& list = mode == Mode::Store ? table.storeFormulas : table.loadFormulas;
                if (static_cast<int>(list.size()) >= kMaxFormulas) {
                    if (mode == Mode::Store)
                        ShowMessage(kTooManyStoreText, kTooManyStoreCaption, MessageStyle::IconError);
                    else
                        ShowMessage(kTooManyLoadText, kTooManyLoadCaption, MessageStyle::IconError);
                    mode = Mode::None;
                } else {
                    list.push_back(key + value);
                }
            }
        }
        more = reader_.ReadNextLine(key, value, cursor, 0);
    }
    return true;
}

bool CQRNDoc::PlaceInImage(VariableSlot& slot) {
    const ImageLayout& l = cal_.variables.layout;
    if (slot.type == VarType::T8) {
        if (slot.address < 0 || slot.address >= kNumTraces) {
            ShowMessage(FormatText(kBadTraceText, slot.address), slot.name, MessageStyle::IconExclamation);
            slot.address = -1;
            slot.location = VarLocation::NotInImage;
            return false;
        }
        if (slot.location == VarLocation::NotInImage) return true;
        const std::int64_t first = static_cast<std::int64_t>(l.DynamicBlockStart) + slot.TableAddress();
        const std::int64_t last =
            first + static_cast<std::int64_t>(slot.CellStride()) * (slot.CellCount() > 0 ? slot.CellCount() - 1 : 0);
        if (slot.TableAddress() < 0 || first < 0 || last >= l.TotalBlockSize) {
            ShowMessage(FormatText(kOutsideImageText, l.TotalBlockSize), slot.name, MessageStyle::IconExclamation);
            slot.location = VarLocation::NotInImage;
            return false;
        }
        return true;
    }
    if (slot.location != VarLocation::StaticBlock) return true;
    const int size = VarType::ImageSize(slot.type);
    const std::int64_t end = static_cast<std::int64_t>(slot.address) + size;
    if (size == 0) return true;
    if (slot.address < 0 || end > l.StaticBlockSize ||
        static_cast<std::int64_t>(l.StaticBlockStart) + end > l.TotalBlockSize || l.StaticBlockStart < 0) {
        ShowMessage(FormatText(kOutsideStaticText, l.StaticBlockSize, l.StaticBlockStart, l.TotalBlockSize),
                    slot.name, MessageStyle::IconExclamation);
        slot.location = VarLocation::NotInImage;
        return false;
    }
    return true;
}

bool CQRNDoc::ApplyInitialiser(std::string_view kind, const std::string& text, int slotIndex) {
    if (slotIndex < 0 || slotIndex >= kMaxVariables) return false;
    const std::string marker = std::string(kind.substr(0, 50)) + ":";
    const auto at = text.find(marker);
    if (at == std::string::npos) return false;
    const char* args = text.c_str() + at + marker.size();
    auto& slot = cal_.variables.slots[static_cast<std::size_t>(slotIndex)];

    switch (slot.type) {
        case VarType::I8:
        case VarType::I16:
        case VarType::I32: {
            int v = 0, mask = -1;
            if (std::sscanf(args, "%i:%i", &v, &mask) < 1) return false;
            slot.SetInt32((slot.Int32() & ~mask) | (v & mask));
            return true;
        }
        case VarType::F32: {
            float f = 0;
            if (std::sscanf(args, "%f", &f) != 1) return false;
            return StoreFloat(FloatVariableRef(&slot), slot.name, f);
        }
        case VarType::STR: {
            if (slotIndex + 1 < kMaxVariables) cal_.variables.slots[static_cast<std::size_t>(slotIndex) + 1].name = args;
            return true;
        }
        case VarType::T8: {
            if (kind == "NVM") {
                short count = 10, address = -1, stride = 1;
                if (std::sscanf(args, "%hi:%hi:%hi", &count, &address, &stride) < 2) return false;
                slot.SetTable(address, static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(stride));
                return true;
            }
            // Initial points of the table's trace; a table bound outside the 50 traces has none.
            if (slot.address < 0 || slot.address >= kNumTraces) return true;
            auto& points = cal_.points[static_cast<std::size_t>(slot.address)];
            const int limit = std::min<int>(slot.location, kPointsPerTrace);
            for (int i = 0; i < limit; ++i) {
                int v = 0, used = 0;
                if (std::sscanf(args, "%i,%n", &v, &used) < 1) break;
                points[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(v);
                if (used == 0) break;  // the last number has no comma after it
                args += used;
            }
            return true;
        }
        default: return false;
    }
}

}  // namespace korvath
