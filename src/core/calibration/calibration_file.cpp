#include "calibration/calibration_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "definition/definition_listing.h"
#include "calibration/legacy_import.h"
#include "document/qrndoc.h"
#include "platform/settings_keys.h"
#include "document/version.h"
#include "platform/atomic_file.h"
#include "platform/message_style.h"
#include "platform/paths.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr const char* kNoTransmission = "None";

constexpr const char* kInvalidFormatText =
    "This file is not recognized as a valid calibration file. Please try to load a different file.";
constexpr const char* kInvalidFormatCaption = "Invalid Calibration File Format:";
constexpr const char* kTooManyStoreText =
    "Too many store formulas (%d) for array size, truncating to maximum number.";
constexpr const char* kTooManyStoreCaption = "Store formula array size exceeded";
constexpr const char* kTooManyLoadText = "Too many load formulas (%d) for array size, truncating to maximum number.";
constexpr const char* kTooManyLoadCaption = "Load formula array size exceeded";
constexpr const char* kOldFormatText =
    "You have just loaded a data file from the old Dravonix VUZ application program. It is highly recommended "
    "that you select \"Save As\" from the file menu and save it under a new file name before making any changes. "
    "If this file is saved without changing the file name, then the original file format will be lost and you "
    "will no longer be able to open this file in the old application (if needed).";
constexpr const char* kOldFormatCaption = "Old File Format Detected";
// Files that cannot be taken in: the open calibration stays as it was.
constexpr const char* kDamagedText =
    "This calibration file is damaged or incomplete: %s. The file was not opened and the calibration in memory "
    "has not been changed.";
constexpr const char* kUnreadableText = "The file %s could not be read (%s).";
constexpr const char* kTooLargeText = "The file %s is too large to be a calibration file.";
constexpr const char* kOpenFailedCaption = "File Open Error:";
constexpr const char* kSaveFailedText =
    "The calibration could not be saved as %s. The file on disk, if there was one, has not been changed.";
constexpr const char* kSaveFailedCaption = "File Save Error:";
constexpr const char* kSaveTooLargeFormat =
    "It would take %zu bytes, more than the %zu bytes a calibration file may hold.";

// Item names for the failure description.
constexpr const char* kApplicationStrings = "the application strings";
constexpr const char* kProductStrings = "the product strings";
constexpr const char* kHardwareBlock = "the hardware/version block";
constexpr const char* kTracePoints = "the trace points";
constexpr const char* kPropertyStore = "the property store";
constexpr const char* kReservedText = "the reserved text";
constexpr const char* kReservedBlock = "the reserved block";
constexpr const char* kViewState = "the view-state block";
constexpr const char* kConversionTables = "the conversion tables";
constexpr const char* kLayoutBlock = "the layout block";
constexpr const char* kDefinitionText = "the definition text";
constexpr const char* kReservedBlock2 = "the second reserved block";
constexpr const char* kVariableRecords = "the variable records";
constexpr const char* kStoreFormulas = "the store formulas";
constexpr const char* kLoadFormulas = "the load formulas";

template <class Strings>
auto* ApplicationField(Strings& a, int i) {
    decltype(&a.LogicalName) f[] = {&a.LogicalName, &a.Schema,     &a.TransmissionType, &a.SubType,
                                    &a.Reserved1,   &a.DefinitionFileName, &a.Description, &a.Reserved2};
    return f[i];
}
constexpr int kApplicationFieldCount = 8;

template <class Strings>
auto* ProductField(Strings& p, int i) {
    decltype(&p.ProdID) f[] = {&p.ProdID, &p.ProdName, &p.MinFWVer, &p.MaxFWVer, &p.MinHWVer, &p.Reserved3, &p.Reserved4};
    return f[i];
}
constexpr int kProductFieldCount = 7;

// The layout block's 32-bit fields before the counts, and those after them.
std::int32_t* LayoutHead(ImageLayout& l, int i) {
    std::int32_t* f[] = {&l.TotalBlockSize,      &l.DynamicBlockSize,      &l.NumDynamicTableCells,
                         &l.NumDynamicTableEntries, &l.DynamicBlockStart,   &l.DynamicBlockLayout,
                         &l.DynamicInterpolation, &l.StaticBlockSize,       &l.StaticBlockStart,
                         &l.NVMType};
    return f[i];
}
constexpr int kLayoutHeadCount = 10;
std::int32_t* LayoutTail(ImageLayout& l, int i) {
    std::int32_t* f[] = {&l.CalBufferStart, &l.CalNVMStart, &l.CalNVMPageSize, &l.CalPSVBase};
    return f[i];
}
constexpr int kLayoutTailCount = 4;

bool WriteFormulas(ArchiveWriter& ar, const std::vector<std::string>& list) {
    for (const auto& f : list)
        if (!ar.WriteString(f)) return false;
    return true;
}

// Reads `count` strings, keeping the first kMaxFormulas.
bool ReadFormulas(ArchiveReader& ar, std::int32_t count, std::vector<std::string>& list, const char* what) {
    if (count < 0) return ar.Fail(std::string(what) + " have a negative count (" + std::to_string(count) + ")");
    // Every string takes at least its one-byte length, so a count beyond the bytes left
    // cannot be honoured; refusing it here keeps a huge count from looping.
    if (static_cast<std::size_t>(count) > ar.remaining())
        return ar.Fail(std::string(what) + " have a count (" + std::to_string(count) +
                       ") larger than the rest of the file");
    list.clear();
    std::string formula;
    for (std::int32_t i = 0; i < count; ++i) {
        if (!ar.ReadString(formula, what)) return false;
        if (i < kMaxFormulas) list.push_back(formula);
    }
    return true;
}

void SetTracePoint(TracePoints& points, std::size_t byteOffset, std::int16_t v) {
    points[byteOffset / 20][(byteOffset % 20) / 2] = v;
}

}  // namespace

bool Serialize(ArchiveWriter& ar, const Calibration& cal, std::string_view definitionText) {
    bool ok = true;
    ar.WriteBytes(kCalibrationHeader.data(), kCalibrationHeader.size());
    ar.WriteU8('\n');
    for (int i = 0; i < kApplicationFieldCount; ++i) ok = ar.WriteString(*ApplicationField(cal.application, i)) && ok;
    for (int i = 0; i < kProductFieldCount; ++i) ok = ar.WriteString(*ProductField(cal.product, i)) && ok;
    ar.WriteBytes(cal.hardware.bytes.data(), cal.hardware.bytes.size());
    for (const auto& trace : cal.points)
        for (std::int16_t p : trace) ar.WriteI16(p);
    ok = ar.WriteString(cal.properties.text()) && ok;
    ok = ar.WriteString(cal.reservedText) && ok;
    ar.WriteBytes(cal.reservedBlock.data(), cal.reservedBlock.size());
    ar.WriteBytes(cal.viewState.bytes.data(), cal.viewState.bytes.size());
    ar.WriteBytes(cal.conversionTables.data(), cal.conversionTables.size());

    const VariableTable& table = cal.variables;
    ImageLayout layout = table.layout;
    const std::int32_t count = std::clamp<std::int32_t>(table.count, 0, kMaxVariables);
    for (int i = 0; i < kLayoutHeadCount; ++i) ar.WriteI32(*LayoutHead(layout, i));
    ar.WriteI32(count);
    ar.WriteI32(static_cast<std::int32_t>(table.storeFormulas.size()));
    ar.WriteI32(static_cast<std::int32_t>(table.loadFormulas.size()));
    for (int i = 0; i < kLayoutTailCount; ++i) ar.WriteI32(*LayoutTail(layout, i));
    ar.WriteI16(layout.FlashBlockSize);
    ar.WriteI16(layout.CalBufferSize);
    ar.WriteBytes(layout.reserved.data(), layout.reserved.size());

    ok = ar.WriteString(definitionText) && ok;
    ar.WriteBytes(cal.reservedBlock2.data(), cal.reservedBlock2.size());
    for (std::int32_t i = 0; i < count; ++i) {
        const VariableSlot& s = table.slots[static_cast<std::size_t>(i)];
        ar.WriteBytes(s.value.data(), s.value.size());
        ar.WriteI16(s.address);
        ar.WriteU8(s.type);
        ar.WriteU8(s.location);
        ok = ar.WriteString(s.name) && ok;
    }
    ok = WriteFormulas(ar, table.storeFormulas) && ok;
    ok = WriteFormulas(ar, table.loadFormulas) && ok;
    return ok;
}

bool Serialize(ArchiveReader& ar, CalibrationImage& image) {
    Calibration& cal = image.calibration;
    for (int i = 0; i < kApplicationFieldCount; ++i)
        if (!ar.ReadString(*ApplicationField(cal.application, i), kApplicationStrings)) return false;
    for (int i = 0; i < kProductFieldCount; ++i)
        if (!ar.ReadString(*ProductField(cal.product, i), kProductStrings)) return false;
    if (!ar.ReadBytes(cal.hardware.bytes.data(), cal.hardware.bytes.size(), kHardwareBlock)) return false;
    for (std::size_t at = 0; at < sizeof(TracePoints); at += 2) {
        std::int16_t v = 0;
        if (!ar.ReadI16(v, kTracePoints)) return false;
        SetTracePoint(cal.points, at, v);
    }
    std::string text;
    if (!ar.ReadString(text, kPropertyStore)) return false;
    cal.properties.SetText(std::move(text));
    if (!ar.ReadString(cal.reservedText, kReservedText)) return false;
    if (!ar.ReadBytes(cal.reservedBlock.data(), cal.reservedBlock.size(), kReservedBlock)) return false;
    if (!ar.ReadBytes(cal.viewState.bytes.data(), cal.viewState.bytes.size(), kViewState)) return false;
    if (!ar.ReadBytes(cal.conversionTables.data(), cal.conversionTables.size(), kConversionTables)) return false;

    VariableTable& table = cal.variables;
    ImageLayout& layout = table.layout;
    std::int32_t count = 0;
    for (int i = 0; i < kLayoutHeadCount; ++i)
        if (!ar.ReadI32(*LayoutHead(layout, i), kLayoutBlock)) return false;
    if (!ar.ReadI32(count, kLayoutBlock) || !ar.ReadI32(image.storeFormulasInFile, kLayoutBlock) ||
        !ar.ReadI32(image.loadFormulasInFile, kLayoutBlock))
        return false;
    for (int i = 0; i < kLayoutTailCount; ++i)
        if (!ar.ReadI32(*LayoutTail(layout, i), kLayoutBlock)) return false;
    if (!ar.ReadI16(layout.FlashBlockSize, kLayoutBlock) || !ar.ReadI16(layout.CalBufferSize, kLayoutBlock) ||
        !ar.ReadBytes(layout.reserved.data(), layout.reserved.size(), kLayoutBlock))
        return false;
    if (count < 0 || count > kMaxVariables)
        return ar.Fail("the variable count (" + std::to_string(count) + ") is outside 0 to " +
                       std::to_string(kMaxVariables));

    if (!ar.ReadString(image.definitionText, kDefinitionText)) return false;
    if (!ar.ReadBytes(cal.reservedBlock2.data(), cal.reservedBlock2.size(), kReservedBlock2)) return false;

    // The records replace the whole table: slots beyond the count are fresh ones.
    table.slots.assign(kMaxVariables, VariableSlot{});
    for (std::int32_t i = 0; i < count; ++i) {
        VariableSlot& s = table.slots[static_cast<std::size_t>(i)];
        if (!ar.ReadBytes(s.value.data(), s.value.size(), kVariableRecords) ||
            !ar.ReadI16(s.address, kVariableRecords) || !ar.ReadU8(s.type, kVariableRecords) ||
            !ar.ReadU8(s.location, kVariableRecords) || !ar.ReadString(s.name, kVariableRecords))
            return false;
    }
    table.count = count;
    return ReadFormulas(ar, image.storeFormulasInFile, table.storeFormulas, kStoreFormulas) &&
           ReadFormulas(ar, image.loadFormulasInFile, table.loadFormulas, kLoadFormulas);
}

std::string_view HeaderLine(std::string_view bytes, std::size_t& bodyStart) {
    const auto feed = bytes.find('\n');
    std::string_view line = bytes.substr(0, feed);
    bodyStart = feed == std::string_view::npos ? bytes.size() : feed + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

std::string CalibrationFileBytes(const CQRNDoc& doc) {
    ArchiveWriter ar;
    Serialize(ar, doc.calibration(), doc.reader().text());
    return ar.Take();
}

bool SaveCalibrationFile(CQRNDoc& doc, const std::string& path) {
    ArchiveWriter ar;
    std::string why;
    bool saved = Serialize(ar, doc.calibration(), doc.reader().text());
    // A file the tool would refuse to open again is not written.
    if (saved && ar.bytes().size() > kMaxCalibrationFileSize) {
        why = FormatText(kSaveTooLargeFormat, ar.bytes().size(), kMaxCalibrationFileSize);
        saved = false;
    }
    if (saved) saved = WriteFileAtomically(path, ar.bytes(), &why);
    if (!saved) {
        std::string text = FormatText(kSaveFailedText, path.c_str());
        if (!why.empty()) text += " " + why;
        doc.ShowMessage(text, kSaveFailedCaption, MessageStyle::IconError);
        return false;
    }
    doc.SetModifiedFlag(false);
    return true;
}

namespace {

void Identify(const OpenHooks& hooks, CQRNDoc& doc) {
    if (hooks.identify)
        hooks.identify(doc);
    else
        doc.IdentifyController(0, 1);
}

void RefreshSheet(const OpenHooks& hooks, CQRNDoc& doc) {
    if (hooks.refreshSettingsSheet)
        hooks.refreshSettingsSheet(doc);
    else
        doc.RefreshSettingsSheet(0);
}

// Everything up to and including the last directory separator is dropped (names written on
// Windows carry backslashes).
std::string FileNameOnly(const std::string& name) {
    const auto cut = name.find_last_of("\\/");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

// Reads the declarations of the loaded definition over the stored table without applying
// defaults, so the stored values (texts included) win. The formula lists need care: the
// definition's formulas follow the stored ones, except those the stored lists already hold. The stored lists normally came from this very definition,
//   and appending them again would make every open and save grow the lists (running each
//   statement once more) until they overflow. Only when even the merged lists would pass 40
//   are the definition's formulas appended as they are, so the overflow is reported as usual.
void ReloadDeclarations(CQRNDoc& doc) {
    VariableTable& table = doc.variables();
    const std::vector<std::string> storedStore = table.storeFormulas;
    const std::vector<std::string> storedLoad = table.loadFormulas;
    table.storeFormulas.clear();
    table.loadFormulas.clear();
    if (!doc.ReadDeclarations(0)) {
        table.storeFormulas = storedStore;
        table.loadFormulas = storedLoad;
        return;
    }
    auto merge = [](const std::vector<std::string>& stored, const std::vector<std::string>& added) {
        std::vector<std::string> merged = stored;
        for (const auto& f : added)
            if (std::find(stored.begin(), stored.end(), f) == stored.end()) merged.push_back(f);
        return merged;
    };
    auto store = merge(storedStore, table.storeFormulas);
    auto load = merge(storedLoad, table.loadFormulas);
    if (store.size() <= static_cast<std::size_t>(kMaxFormulas) && load.size() <= static_cast<std::size_t>(kMaxFormulas)) {
        table.storeFormulas = std::move(store);
        table.loadFormulas = std::move(load);
    } else {
        table.storeFormulas = storedStore;
        table.loadFormulas = storedLoad;
        doc.ReadDeclarations(0);
    }
}

void AfterLegacyImport(CQRNDoc& doc, const OpenHooks& hooks) {
    doc.calibration().hardware.Set(HardwareField::FirmwareVersionMinor, -1);
    Identify(hooks, doc);
    doc.RefreshViews(1);
    RefreshSheet(hooks, doc);
    doc.ShowMessage(kOldFormatText, kOldFormatCaption, MessageStyle::IconInformation);
}

// The steps after the data has replaced the calibration.
void AfterLoad(CQRNDoc& doc, const OpenHooks& hooks) {
    Calibration& cal = doc.calibration();
    HardwareBlock& hw = cal.hardware;
    cal.application.DefinitionFileName = FileNameOnly(cal.application.DefinitionFileName);

    // The definition follows the controller last identified on this computer.
    {
        using namespace settings;
        SettingsStore& s = doc.host().settings;
        const int device = s.GetInt(kHardwareProfile, kDeviceType, kAbsentOnLoad);
        const int firmware = s.GetInt(kHardwareProfile, kFirmwareVersion, kAbsentOnLoad);
        const int minor = s.GetInt(kHardwareProfile, kFirmwareVersionMinor, kAbsentOnLoad);
        const int hardware = s.GetInt(kHardwareProfile, kHardwareVersion, kAbsentOnLoad);
        if (device != kAbsentOnLoad && firmware != kAbsentOnLoad && minor != kAbsentOnLoad &&
            hardware != kAbsentOnLoad) {
            hw.Set(HardwareField::DeviceType, static_cast<std::int16_t>(device));
            hw.Set(HardwareField::FirmwareVersion, static_cast<std::int16_t>(firmware));
            hw.Set(HardwareField::FirmwareVersionMinor, static_cast<std::int16_t>(minor));
            hw.Set(HardwareField::HardwareVersion, static_cast<std::int16_t>(hardware));
        }
    }

    doc.SetDefinitionDirectory(DefinitionDirectoryFor(doc.programDirectory(), hw.Get(HardwareField::DeviceType),
                                                      hw.Get(HardwareField::FirmwareVersion)));
    // When the definition file is here its declarations are read again over the stored ones:
    // stored values win, new variables get their defaults, its formulas are appended. When it
    // is missing the copy inside the calibration is used as it is.
    const std::string definition = FindDefinitionFile(doc.definitionDirectory(), cal.application.DefinitionFileName);
    if (!definition.empty() && doc.LoadDefinitionFile(definition)) {
        doc.ReadApplicationID();
        ReloadDeclarations(doc);
    }

    if (cal.application.TransmissionType == kNoTransmission) {
        cal.reservedText.clear();
        doc.reader().Clear();
    }
    hw.Set(HardwareField::ProgramVersionMajor, kProgramVersionMajor);
    hw.Set(HardwareField::ProgramVersionMinor, kProgramVersionMinor);
    hw.Set(HardwareField::PackageRevision, doc.packageRevision());

    Identify(hooks, doc);
    doc.RefreshViews(1);
    RefreshSheet(hooks, doc);
}

}  // namespace

bool OpenCalibrationData(CQRNDoc& doc, std::string_view bytes, const OpenHooks& hooks) {
    std::size_t bodyStart = 0;
    const std::string_view header = HeaderLine(bytes, bodyStart);
    if (header == kLegacyHeader) {
        if (!ImportLegacyCalibration(doc, bytes.substr(bodyStart))) return false;
        AfterLegacyImport(doc, hooks);
        doc.SetModifiedFlag(false);
        return true;
    }
    if (header != kCalibrationHeader) {
        doc.ShowMessage(kInvalidFormatText, kInvalidFormatCaption, MessageStyle::Ok);
        return false;
    }

    // Read into a detached copy; the calibration changes only when all of it was read.
    auto image = std::make_unique<CalibrationImage>();
    ArchiveReader ar(bytes.substr(bodyStart));
    if (!Serialize(ar, *image)) {
        doc.ShowMessage(FormatText(kDamagedText, ar.error().c_str()), kDamagedFileCaption, MessageStyle::IconError);
        return false;
    }
    image->calibration.hardware.Set(HardwareField::IdentifiedSinceLoad, 0);
    if (image->storeFormulasInFile > kMaxFormulas)
        doc.ShowMessage(FormatText(kTooManyStoreText, image->storeFormulasInFile), kTooManyStoreCaption,
                        MessageStyle::IconError);
    if (image->loadFormulasInFile > kMaxFormulas)
        doc.ShowMessage(FormatText(kTooManyLoadText, image->loadFormulasInFile), kTooManyLoadCaption,
                        MessageStyle::IconError);

    doc.calibration() = std::move(image->calibration);
    doc.reader().SetText(std::move(image->definitionText));
    AfterLoad(doc, hooks);
    doc.SetModifiedFlag(false);
    return true;
}

namespace {
// The system's words for why `path` is no file to read: missing, a folder, or another kind.
std::string WhyNotAFile(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) return ec.message();
    if (std::filesystem::is_directory(status)) return std::make_error_code(std::errc::is_a_directory).message();
    return "not a regular file";
}
}  // namespace

bool OpenCalibrationFile(CQRNDoc& doc, const std::string& path, const OpenHooks& hooks) {
    std::error_code ec;
    const bool regular = std::filesystem::is_regular_file(path, ec);
    const auto size = regular ? std::filesystem::file_size(path, ec) : 0;
    if (regular && !ec && size > kMaxCalibrationFileSize) {
        doc.ShowMessage(FormatText(kTooLargeText, path.c_str()), kOpenFailedCaption, MessageStyle::IconError);
        return false;
    }
    std::string bytes;
    bool read = false;
    std::string why;
    if (regular && !ec) {
        errno = 0;
        std::ifstream in(path, std::ios::binary);
        bytes.resize(static_cast<std::size_t>(size));
        read = in && in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())) &&
               in.gcount() == static_cast<std::streamsize>(bytes.size());
        if (!read) why = errno != 0 ? std::generic_category().message(errno) : "it ended early";
    } else {
        why = ec ? ec.message() : WhyNotAFile(path);
    }
    if (!read) {
        doc.ShowMessage(FormatText(kUnreadableText, path.c_str(), why.c_str()), kOpenFailedCaption,
                        MessageStyle::IconError);
        return false;
    }
    return OpenCalibrationData(doc, bytes, hooks);
}

}  // namespace korvath
