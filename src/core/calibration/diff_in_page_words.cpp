#include "calibration/diff_in_page_words.h"

#include "calibration/compared_calibration.h"
#include "document/qrndoc.h"
#include "graph/graphengine.h"

namespace korvath {
namespace {

constexpr char kStoredWord[] = "stored";

// The source a page would name the item by; empty for kinds no page shows.
std::string SourceOf(const DiffItem& item) {
    switch (item.kind) {
        case DiffKind::Variable:
        case DiffKind::Property: return item.name;
        case DiffKind::Application: return shown_settings::kApplicationPrefix + item.name;
        default: return {};
    }
}

std::string ShownValue(const std::vector<ShownSetting>& shown, const ShownSetting& setting) {
    const ShownSetting* same = FindShownSetting(shown, setting.page, setting.caption);
    return same ? same->value : DiffValueText(DiffValue{});
}

void NameByPage(DiffItem& item, const std::vector<ShownSetting>& shownA, const std::vector<ShownSetting>& shownB) {
    const std::string source = SourceOf(item);
    item.aText = DiffValueText(item.a);
    item.bText = DiffValueText(item.b);
    if (source.empty()) return;
    const ShownSetting* setting = FindShownSetting(shownA, source);
    if (!setting) setting = FindShownSetting(shownB, source);
    if (!setting) return;
    item.page = setting->page;
    item.label = setting->caption;
    const std::string a = ShownValue(shownA, *setting);
    const std::string b = ShownValue(shownB, *setting);
    if (a != b || item.equal) {
        item.aText = a;
        item.bText = b;
        return;
    }
    // The page shows both alike (a rounded number, a variant not chosen on either side): the
    // stored values say what differs.
    item.aText = a + " (" + item.name + " " + item.aText + ")";
    item.bText = b + " (" + item.name + " " + item.bText + ")";
}

}  // namespace

void NameInPageWords(CalibrationDiff& diff, const std::vector<ShownSetting>& shownA,
                     const std::vector<ShownSetting>& shownB, const CGraphEngine* graph) {
    for (DiffItem& item : diff.items) {
        if (item.kind != DiffKind::TracePoint) {
            NameByPage(item, shownA, shownB);
            continue;
        }
        item.aText = DiffValueText(item.displayA);
        item.bText = DiffValueText(item.displayB);
        // Points that differ only below the display's step say what is stored.
        if (item.aText == item.bText && !item.equal) {
            item.aText += " (" + std::string(kStoredWord) + " " + DiffValueText(item.a) + ")";
            item.bText += " (" + std::string(kStoredWord) + " " + DiffValueText(item.b) + ")";
        }
        if (graph && item.point >= 0 && item.point < graph->PointCount()) item.columnLabel = graph->ColumnLabel(item.point);
    }
}

std::vector<ShownSetting> ShownSettingsOf(CQRNDoc& doc) {
    ComparedCalibration copy(doc.host(), doc.programDirectory());
    if (!copy.OpenCopyOf(doc)) return {};
    return ReadShownSettings(copy.doc());
}

CalibrationDiff CompareInPageWords(CQRNDoc& a, CQRNDoc& b, bool includeEqual) {
    CalibrationDiff diff = CompareCalibrations(a, b, includeEqual);
    NameInPageWords(diff, ShownSettingsOf(a), ShownSettingsOf(b), a.graph() ? a.graph() : b.graph());
    return diff;
}

}  // namespace korvath
