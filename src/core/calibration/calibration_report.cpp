#include "calibration/calibration_report.h"

#include "calibration/diff_in_page_words.h"
#include "calibration/restore_points.h"
#include "document/qrndoc.h"

namespace korvath {
namespace {

namespace rt = report_texts;

std::string OrUnknown(const std::string& text) { return text.empty() ? rt::kUnknown : text; }

std::string DefinitionText(const ApplicationStrings& app) {
    if (app.DefinitionFileName.empty()) return OrUnknown(app.LogicalName);
    return app.LogicalName.empty() ? app.DefinitionFileName : app.DefinitionFileName + " (" + app.LogicalName + ")";
}

std::vector<ReportSection> PagesOf(const std::vector<ShownSetting>& shown) {
    std::vector<ReportSection> pages;
    for (const ShownSetting& s : shown) {
        if (pages.empty() || pages.back().title != s.page) pages.push_back({s.page, {}});
        pages.back().fields.push_back({s.caption, s.value});
    }
    return pages;
}

}  // namespace

std::string ReportControllerText(const CQRNDoc& doc) {
    const HardwareBlock& hw = doc.calibration().hardware;
    const ControllerVersions versions = VersionsOf(doc.calibration());
    if (versions == ControllerVersions{}) return rt::kUnknown;
    const bool connected = hw.Get(HardwareField::IdentifiedFlag) == 1 && hw.Get(HardwareField::IdentifiedSinceLoad) == 1;
    return ControllerText(versions) + (connected ? rt::kConnectedSuffix : rt::kRecordedSuffix);
}

CalibrationReport BuildCalibrationReport(CQRNDoc& doc, const ReportRequest& request) {
    CalibrationReport report;
    report.fileName = request.fileName.empty() ? rt::kUntitled : request.fileName;
    const ApplicationStrings& app = doc.calibration().application;
    report.header = {{rt::kFile, report.fileName},
                     {rt::kDate, request.when},
                     {rt::kController, ReportControllerText(doc)},
                     {rt::kDefinition, DefinitionText(app)},
                     {rt::kTransmission, OrUnknown(app.TransmissionType)}};
    const std::vector<ShownSetting> shown = ShownSettingsOf(doc);
    report.pages = PagesOf(shown);
    if (request.comparedWith) {
        report.compared = true;
        report.header.push_back({rt::kComparedWith, request.comparedName});
        CalibrationDiff diff = CompareCalibrations(doc, *request.comparedWith, false);
        NameInPageWords(diff, shown, ShownSettingsOf(*request.comparedWith), doc.graph());
        report.changes = DiffRows(diff);
    }
    return report;
}

std::string ReportText(const CalibrationReport& report) {
    // Appended piece by piece: GCC 12 at -O3 warns wrongly about "\n" + std::string.
    std::string text(rt::kTitle);
    text += '\n';
    auto field = [&text](const char* indent, const std::string& caption, const std::string& value) {
        text.append(indent).append(caption).append(": ").append(value).append(1, '\n');
    };
    for (const ReportField& f : report.header) field("", f.caption, f.value);
    for (const ReportSection& page : report.pages) {
        text.append(1, '\n').append(page.title).append(1, '\n');
        for (const ReportField& f : page.fields) field("  ", f.caption, f.value);
    }
    if (report.compared) {
        text.append(1, '\n').append(rt::kChanges).append(1, '\n');
        if (report.changes.empty()) text.append("  ").append(rt::kNoChanges).append(1, '\n');
        for (const DiffRow& row : report.changes) text.append("  ").append(DiffLine(row)).append(1, '\n');
    }
    return text;
}

}  // namespace korvath
