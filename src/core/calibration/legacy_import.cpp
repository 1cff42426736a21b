#include "calibration/legacy_import.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "calibration/calibration_file.h"
#include "definition/definition_listing.h"
#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "platform/paths.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr const char* kEndsEarlyText =
    "This old-format calibration file ends early (after %d lines, %d are needed). The file was not opened and the "
    "calibration in memory has not been changed.";
constexpr std::size_t kMapLineLength = 399;
// The transmission whose controllers always use the second option bit.
constexpr const char* kFourSpeedHeavyDuty = "4L80E";

constexpr float kDefaultAxleRatio = 3.27f;
constexpr float kDefaultTireDiameter = 27.0f;
constexpr float kDefaultSpeedSensorFactor = 6.0f;
constexpr std::int16_t kDefaultBaseTps = 40;
constexpr int kIgnoredNumbers = 5;
constexpr int kLinesPerTable = 20;
constexpr int kConvertedTables = 6;
constexpr int kUnconvertedTrace = 6;

enum class FieldKind { Int, Flag, Bit, Ratio };
struct Field {
    const char* name;
    FieldKind kind;
    std::uint8_t bit;
};

// The lines after the tables, in file order. Every 16-bit field shares one holder: a line
// without a number stores the previous field's value again.
constexpr Field kFields[] = {
    {"BaseTPS", FieldKind::Int, 0},         {"CCOssOn", FieldKind::Int, 0},
    {"CCOssOff", FieldKind::Int, 0},        {"CCMinGear", FieldKind::Int, 0},
    {"CCMinTpsOn", FieldKind::Int, 0},      {"CCMinTpsOff", FieldKind::Int, 0},
    {"CCMaxTpsOn", FieldKind::Int, 0},      {"CCMaxTpsOff", FieldKind::Int, 0},
    {"CCOssMinTpsOR", FieldKind::Int, 0},   {"MANDownshift21", FieldKind::Int, 0},
    {"MANUpshift12", FieldKind::Int, 0},    {"SYCONFIG", FieldKind::Bit, 0x20},
    {"DriveGearTeeth", FieldKind::Int, 0},  {"DrivenGearTeeth", FieldKind::Int, 0},
    {"PSOM", FieldKind::Flag, 0},           {"SYCONFIG", FieldKind::Bit, 0x08},
    {"FourWheelDrive", FieldKind::Flag, 0}, {"LowRangeCal", FieldKind::Flag, 0},
    {"LowRangeRatio", FieldKind::Ratio, 0}, {"SYCONFIG2", FieldKind::Bit, 0x02},
    {"SYCONFIG2", FieldKind::Bit, 0x01},
};
constexpr int kFieldCount = static_cast<int>(std::size(kFields));
constexpr int kLinesAfterComment = 3 + kIgnoredNumbers + 3 + 1 + kLegacyTables * kLinesPerTable + kFieldCount;

constexpr const char* kWheelDriveField = "FourWheelDrive";
constexpr const char* kLowRangeField = "LowRangeCal";

class LineSource {
public:
    explicit LineSource(std::string_view text) : text_(text) {}
    // The next line without its line feed (and a carriage return before it).
    bool Next(std::string_view& line) {
        if (position_ >= text_.size()) return false;
        const auto feed = text_.find('\n', position_);
        const std::size_t end = feed == std::string_view::npos ? text_.size() : feed;
        line = text_.substr(position_, end - position_);
        position_ = feed == std::string_view::npos ? text_.size() : feed + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++count_;
        return true;
    }
    int count() const { return count_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
    int count_ = 0;
};

std::string WithoutQuotes(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != '"') s.push_back(c);
    return s;
}

// "%f": the line's leading number, or `value` unchanged.
void ScanFloat(std::string_view line, float& value) {
    const std::string s(line);
    std::sscanf(s.c_str(), "%f", &value);
}

// "%hd": the line's leading decimal number cut to 16 bits, or `value` unchanged.
void ScanShort(std::string_view line, std::int16_t& value) {
    const std::string s(line);
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (end == s.c_str()) return;
    value = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<unsigned long>(v) & 0xFFFF));
}

// Clears the bit on the variable's low byte (the high byte goes as well) and sets it again
// when `on`.
void StoreBit(CQRNDoc& doc, const char* name, std::uint8_t bit, bool on) {
    IntVariableRef v = doc.FindIntVariable(name);
    if (!v) return;
    std::int16_t x = static_cast<std::int16_t>(v.get() & 0xFF & ~bit);
    if (on) x = static_cast<std::int16_t>(x | bit);
    v.set(x);
}

// Old table n feeds trace (n mod 3) * 2 + n / 3: 0, 2, 4, 1, 3, 5.
int TraceOfTable(int n) { return (n % 3) * 2 + n / 3; }

}  // namespace

bool ParseLegacyCalibration(std::string_view body, LegacyCalibration& old, int& lineReached) {
    old = {};
    LineSource lines(body);
    std::string_view line;
    auto fail = [&] {
        lineReached = lines.count();
        return false;
    };

    if (!lines.Next(line)) return fail();
    std::string comment(line);
    while (comment.empty() || comment.back() != '"') {
        if (!lines.Next(line)) return fail();
        comment += ' ';
        comment += line;
    }
    old.comment = WithoutQuotes(comment);

    std::string* texts[] = {&old.transmissionType, &old.subType, &old.description};
    for (std::string* t : texts) {
        if (!lines.Next(line)) return fail();
        *t = WithoutQuotes(line);
    }
    for (int i = 0; i < kIgnoredNumbers; ++i)
        if (!lines.Next(line)) return fail();
    struct Number {
        float* target;
        float fallback;
    };
    const Number numbers[] = {{&old.axleRatio, kDefaultAxleRatio},
                              {&old.tireDiameter, kDefaultTireDiameter},
                              {&old.speedSensorFactor, kDefaultSpeedSensorFactor}};
    for (const auto& n : numbers) {
        if (!lines.Next(line)) return fail();
        *n.target = n.fallback;
        ScanFloat(line, *n.target);
    }
    if (!lines.Next(line)) return fail();  // not used

    // A table line without a number repeats the value read before it.
    std::int16_t tableValue = 0;
    for (auto& table : old.tables) {
        for (int i = 0; i < kLinesPerTable; ++i) {
            if (!lines.Next(line)) return fail();
            if (i % 2 != 0) continue;
            ScanShort(line, tableValue);
            table[static_cast<std::size_t>(i / 2)] = tableValue;
        }
    }

    std::int16_t holder = kDefaultBaseTps;
    bool firstBit = true;
    for (const Field& f : kFields) {
        if (!lines.Next(line)) return fail();
        if (f.kind == FieldKind::Ratio) {
            old.lowRangeRatio = 0;
            ScanFloat(line, old.lowRangeRatio);
            continue;
        }
        if (f.kind == FieldKind::Bit && firstBit) {
            holder = 0;
            firstBit = false;
        }
        ScanShort(line, holder);
        old.fields.push_back(holder);
    }
    lineReached = lines.count();
    return true;
}

bool LookupMapFile(const std::string& path, std::string_view key, std::string& result) {
    result.clear();
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return false;
    char buffer[kMapLineLength + 1];
    while (std::fgets(buffer, sizeof buffer, file)) {
        const char* equals = std::strchr(buffer, '=');
        if (!equals) continue;
        if (std::strlen(buffer) < key.size() || strncasecmp(buffer, std::string(key).c_str(), key.size()) != 0)
            continue;
        result = std::string(TrimText(equals + 1));
        break;
    }
    std::fclose(file);
    return true;
}

bool ImportLegacyCalibration(CQRNDoc& doc, std::string_view body) {
    CQRNDoc::MessageBatchScope oneBoxPerMessage(doc);
    LegacyCalibration old;
    int lineReached = 0;
    if (!ParseLegacyCalibration(body, old, lineReached)) {
        // The header line counts as the first line of the file.
        doc.ShowMessage(FormatText(kEndsEarlyText, lineReached + 1, 1 + 1 + kLinesAfterComment), kDamagedFileCaption,
                        MessageStyle::IconError);
        return false;
    }

    doc.InitNewCalibration();
    Calibration& cal = doc.calibration();
    cal.application.LogicalName.clear();
    cal.application.TransmissionType = old.transmissionType;

    std::string definition;
    if (LookupMapFile(ResolveExistingPath(JoinPath(doc.programDirectory(), kLegacyMapFile)),
                      cal.application.TransmissionType, definition)) {
        cal.application.DefinitionFileName = definition;
        const std::string path = FindDefinitionFile(doc.definitionDirectory(), definition);
        if (!path.empty() && doc.LoadDefinitionFile(path)) {
            doc.ReadApplicationID();
            doc.ReadDeclarations(1);
        }
        // Rebuilding the tuning bar binds the traces of the new definition.
        doc.RefreshViews(1);
    }
    cal.application.SubType = old.subType;
    cal.application.Description = old.description;

    const int comment = doc.FindStringVariable("UserComment");
    if (comment >= 0 && comment < kMaxVariables) cal.variables.slots[static_cast<std::size_t>(comment)].name = old.comment;

    const std::pair<const char*, float> measures[] = {
        {"AxleRatio", old.axleRatio}, {"TireDiam", old.tireDiameter}, {"SSFactor", old.speedSensorFactor}};
    for (const auto& [name, value] : measures)
        if (value > 0) doc.SetFloatVariable(name, value);
    doc.SetIntVariable("WOTTPS", 0);

    bool wheelDrive = false, lowRange = false;
    std::size_t next = 0;
    for (const Field& f : kFields) {
        if (f.kind == FieldKind::Ratio) {
            if (old.lowRangeRatio > 0) doc.SetFloatVariable(f.name, old.lowRangeRatio);
            continue;
        }
        const std::int16_t value = old.fields[next++];
        switch (f.kind) {
            case FieldKind::Int: doc.SetIntVariable(f.name, value); break;
            case FieldKind::Flag: doc.SetIntVariable(f.name, value != 0 ? 1 : 0); break;
            case FieldKind::Bit: StoreBit(doc, f.name, f.bit, value != 0); break;
            case FieldKind::Ratio: break;
        }
        if (std::strcmp(f.name, kWheelDriveField) == 0) wheelDrive = value != 0;
        if (std::strcmp(f.name, kLowRangeField) == 0) lowRange = value != 0;
    }
    doc.SetFloatVariable("AuxRangeRatio", wheelDrive && lowRange && old.lowRangeRatio > 0 ? old.lowRangeRatio : 1.0f);

    for (int n = 0; n < kConvertedTables; ++n) {
        const int trace = TraceOfTable(n);
        for (int i = 0; i < kPointsPerTrace; ++i) {
            const int raw = old.tables[static_cast<std::size_t>(n)][static_cast<std::size_t>(i)] & 0xFF;
            cal.points[static_cast<std::size_t>(trace)][static_cast<std::size_t>(i)] =
                static_cast<std::int16_t>(doc.RawToValue(trace, raw, 1) + 0.5);
        }
    }
    cal.points[kUnconvertedTrace] = old.tables[kUnconvertedTrace];

    if (cal.application.TransmissionType.find(kFourSpeedHeavyDuty) != std::string::npos) {
        if (IntVariableRef v = doc.FindIntVariable("SYCONFIG2")) v.set(static_cast<std::int16_t>(v.get() | 0x01));
    }
    return true;
}

}  // namespace korvath
