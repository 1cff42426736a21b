#include "calibration/calibration_check.h"

#include <strings.h>

#include <algorithm>
#include <map>

#include "definition/definition_keys.h"
#include "definition/definition_reader.h"
#include "definition/edit_box_limits.h"
#include "document/qrndoc.h"
#include "document/tuning_bar_layout.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr char kApplicationSection[] = "[ApplicationID]";
constexpr char kTransmissionTypeKey[] = "TransmissionType";
constexpr char kTraceNumKey[] = "TraceNum";
constexpr char kMustStayBelowKey[] = "MustStayBelow";
constexpr std::size_t kTextLength = 200;
constexpr char kOtherTransmissionFormat[] = "You are writing %s to a controller that holds %s.";
constexpr char kCurvesCrossFormat[] =
    "%s is at or above %s at column%s %s: the gears would hunt between them.";

constexpr char kOutsideLimitsFormat[] = "%s is %g, outside the %g ... %g its settings page allows (%s).";

struct TracePair {
    int trace = -1;
    int below = -1;
    std::string name;
};

std::string TraceName(DefinitionReader& reader, int trace) {
    std::string name;
    if (!reader.ReadKeyString(definition_keys::kDisplayName, name, kTextLength, 1) || name.empty())
        name = "Trace " + std::to_string(trace);
    return name;
}

// The traces that name one they must stay below, and every trace's name.
std::vector<TracePair> TracePairs(const DefinitionReader& definition, std::vector<std::string>& names) {
    DefinitionReader reader = definition;  // the caller's selection stays as it was
    std::vector<TracePair> pairs;
    names.assign(kNumTraces, {});
    if (!reader.FindSection(tuning_bar::kSection, 0)) return pairs;
    std::string type;
    for (int next = 0; reader.FindBlock(tuning_bar::kBlockKey, type, next); next = 1) {
        if (type != tuning_bar::kTraceType) continue;
        std::int32_t trace = -1, below = -1;
        reader.ReadKeyInt(kTraceNumKey, trace, 1, -1);
        if (trace < 0 || trace >= kNumTraces) continue;
        names[static_cast<std::size_t>(trace)] = TraceName(reader, trace);
        reader.ReadKeyInt(kMustStayBelowKey, below, 1, -1);
        if (below >= 0 && below < kNumTraces && below != trace) pairs.push_back({trace, below, {}});
    }
    return pairs;
}

// A setting an edit box keeps between limits that holds a value outside them, as a file from
// elsewhere or an older definition may leave it. Variants of one page (a section per converter
// type, say) may store into one variable with different limits: only a value no box would keep
// is a finding, named by the first box's caption.
void FindValuesOutsideLimits(CQRNDoc& doc, std::vector<std::string>& findings) {
    std::map<std::string, std::vector<EditBoxLimits>> boxesByVariable;
    std::vector<std::string> order;
    for (EditBoxLimits& box : EditBoxesStoringVariables(doc.reader())) {
        auto& boxes = boxesByVariable[box.variable];
        if (boxes.empty()) order.push_back(box.variable);
        boxes.push_back(std::move(box));
    }
    for (const std::string& variable : order) {
        const auto& boxes = boxesByVariable[variable];
        const EditBoxLimits& first = boxes.front();
        double value = 0;
        if (first.integerTarget) {
            IntVariableRef ref = doc.FindIntVariable(variable);
            if (!ref) continue;
            value = ref.get();
        } else {
            FloatVariableRef ref = doc.FindFloatVariable(variable);
            if (!ref) continue;
            value = ref.get();
        }
        const bool kept = std::any_of(boxes.begin(), boxes.end(),
                                      [&](const EditBoxLimits& box) { return EditBoxClamp(box, value) == value; });
        if (kept) continue;
        const std::string& caption = first.displayName.empty() ? first.logicalName : first.displayName;
        findings.push_back(FormatText(kOutsideLimitsFormat, caption.c_str(), value, static_cast<double>(first.minValue),
                                      static_cast<double>(first.maxValue), variable.c_str()));
    }
}

}  // namespace

std::string TransmissionOfDefinition(const std::string& path) {
    DefinitionReader reader;
    std::string name;
    if (!reader.LoadDefinitionFile(path) || !reader.FindSection(kApplicationSection, 0)) return {};
    reader.ReadKeyString(kTransmissionTypeKey, name, kTextLength, 0);
    return name;
}

std::vector<std::string> CheckCalibration(CQRNDoc& doc, const HeldCalibration* held) {
    std::vector<std::string> findings;
    const auto& application = doc.calibration().application;
    if (held && !held->definition.empty() &&
        strcasecmp(held->definition.c_str(), application.DefinitionFileName.c_str()) != 0) {
        auto shown = [](const std::string& transmission, const std::string& definition) {
            return transmission.empty() ? definition : transmission;
        };
        findings.push_back(FormatText(kOtherTransmissionFormat,
                                      shown(application.TransmissionType, application.DefinitionFileName).c_str(),
                                      shown(held->transmission, held->definition).c_str()));
    }
    std::vector<std::string> names;
    for (const TracePair& pair : TracePairs(doc.reader(), names)) {
        std::string columns;
        int count = 0;
        for (int c = 0; c < kPointsPerTrace; ++c) {
            // In display units, as the graph shows them: the curves of a pair may convert differently.
            if (doc.DisplayPointValue(pair.trace, c) < doc.DisplayPointValue(pair.below, c)) continue;
            columns += (count++ ? ", " : "") + std::to_string(c + 1);
        }
        if (count > 0)
            findings.push_back(FormatText(kCurvesCrossFormat, names[static_cast<std::size_t>(pair.trace)].c_str(),
                                          names[static_cast<std::size_t>(pair.below)].c_str(), count > 1 ? "s" : "",
                                          columns.c_str()));
    }
    FindValuesOutsideLimits(doc, findings);
    return findings;
}

std::string FindingsText(const std::vector<std::string>& findings) {
    std::string text;
    for (const auto& f : findings) text += (text.empty() ? "" : "\n\n") + f;
    return text;
}

}  // namespace korvath
