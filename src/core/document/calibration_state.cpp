#include "document/calibration_state.h"

#include <algorithm>
#include <cstring>

#include "document/qrndoc.h"

namespace korvath {
namespace {

bool SameSlot(const VariableSlot& a, const VariableSlot& b) {
    return a.value == b.value && a.address == b.address && a.type == b.type && a.location == b.location &&
           a.name == b.name;
}

bool SameVariables(const VariableTable& a, const VariableTable& b) {
    if (a.count != b.count || a.storeFormulas != b.storeFormulas || a.loadFormulas != b.loadFormulas) return false;
    if (std::memcmp(&a.layout, &b.layout, sizeof a.layout) != 0) return false;
    const auto n = static_cast<std::size_t>(std::clamp(a.count, 0, kMaxVariables));
    if (a.slots.size() < n || b.slots.size() < n) return a.slots.size() == b.slots.size();
    return std::equal(a.slots.begin(), a.slots.begin() + static_cast<std::ptrdiff_t>(n), b.slots.begin(), SameSlot);
}

bool SameStrings(const ApplicationStrings& a, const ApplicationStrings& b) {
    return a.LogicalName == b.LogicalName && a.Schema == b.Schema && a.TransmissionType == b.TransmissionType &&
           a.SubType == b.SubType && a.Reserved1 == b.Reserved1 && a.DefinitionFileName == b.DefinitionFileName &&
           a.Description == b.Description && a.Reserved2 == b.Reserved2;
}

bool SameStrings(const ProductStrings& a, const ProductStrings& b) {
    return a.ProdID == b.ProdID && a.ProdName == b.ProdName && a.MinFWVer == b.MinFWVer && a.MaxFWVer == b.MaxFWVer &&
           a.MinHWVer == b.MinHWVer && a.Reserved3 == b.Reserved3 && a.Reserved4 == b.Reserved4;
}

}  // namespace

bool SameCalibration(const Calibration& a, const Calibration& b) {
    return a.points == b.points && a.hardware.bytes == b.hardware.bytes && a.viewState.bytes == b.viewState.bytes &&
           a.properties.text() == b.properties.text() && SameStrings(a.application, b.application) &&
           SameStrings(a.product, b.product) && a.reservedText == b.reservedText &&
           a.reservedBlock == b.reservedBlock && a.reservedBlock2 == b.reservedBlock2 &&
           a.conversionTables == b.conversionTables && SameVariables(a.variables, b.variables);
}

CalibrationState CaptureState(const CQRNDoc& doc) {
    return CalibrationState{doc.calibration(), doc.reader().text(), doc.definitionDirectory()};
}

bool HoldsState(const CQRNDoc& doc, const CalibrationState& state) {
    return doc.definitionDirectory() == state.definitionDirectory && doc.reader().text() == state.definitionText &&
           SameCalibration(doc.calibration(), state.calibration);
}

void RestoreState(CQRNDoc& doc, const CalibrationState& state) {
    doc.calibration() = state.calibration;
    doc.reader().SetText(state.definitionText);
    doc.SetDefinitionDirectory(state.definitionDirectory);
    // The bars bind the traces again from the definition and show the stored visibility.
    doc.RefreshViews(1);
    doc.RefreshSettingsSheet(0);
}

void RestorePoints(CQRNDoc& doc, const TracePoints& points) {
    TracePoints& now = doc.calibration().points;
    for (int t = 0; t < kNumTraces; ++t) {
        const auto i = static_cast<std::size_t>(t);
        if (now[i] == points[i]) continue;
        now[i] = points[i];
        doc.PushTraceToGraph(t);
    }
    doc.RedrawView();
}

}  // namespace korvath
