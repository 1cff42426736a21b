// korvath-cli report FILE OUT.pdf [--compare OTHER]

#include <QDateTime>
#include <QFileInfo>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "calibration/calibration_report.h"
#include "calibration/compared_calibration.h"
#include "cli_calibration.h"
#include "cli_command.h"
#include "cli_offscreen_app.h"
#include "ui/tools/report_painter.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"report", "FILE OUT.pdf [--compare OTHER]",
                       "the calibration report as a PDF: the file, controller, definition and transmission, the "
                       "curves, every settings page's captions and values, and with --compare the changes from "
                       "OTHER; needs no display",
                       &Run};
const CommandRegistration kRegistration{kCommand};

std::string FileNameOf(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName().toStdString(); }

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    std::string compare;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--compare" && i + 1 < args.size()) {
            compare = args[++i];
        } else if (args[i].starts_with("--")) {
            return UsageError(kCommand, "unknown option " + args[i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) return UsageError(kCommand, "a calibration file and a PDF file expected");
    if (QFileInfo(QString::fromStdString(positional[1])).suffix().toLower() != QLatin1String("pdf"))
        return UsageError(kCommand, "the report's name must end in .pdf");

    CalibrationSession session(options);
    if (!session.Open(positional[0])) return kFailure;
    CQRNDoc& doc = session.doc();
    doc.PushTracesToGraph();
    std::unique_ptr<ComparedCalibration> other;
    if (!compare.empty()) {
        other = std::make_unique<ComparedCalibration>(doc.host(), doc.programDirectory());
        if (!other->Open(compare)) return kFailure;
        // Its curves dashed behind, as the program draws a compared calibration.
        other->ShowAsOverlays(*doc.graph(), true);
    }

    // Text needs a GUI application.
    const std::unique_ptr<QGuiApplication> app = StartOffscreenApplication();

    ReportRequest request{.fileName = FileNameOf(positional[0]),
                          .when = ui::ReportDateText(QDateTime::currentDateTime()).toStdString()};
    if (other) {
        request.comparedWith = &other->doc();
        request.comparedName = FileNameOf(compare);
    }
    const CalibrationReport report = BuildCalibrationReport(doc, request);
    ui::CurvePlot curves;
    curves.source = doc.graph();
    curves.traces = ui::VisibleTraces(*doc.graph());
    const QFileInfo file(QString::fromStdString(positional[0]));
    curves.title = ui::PlotTitle(file.fileName(), file.lastModified());

    QString error;
    int pages = 0;
    if (!ui::WriteCalibrationReport(report, curves, QString::fromStdString(positional[1]), error, &pages)) {
        std::fprintf(stderr, "korvath-cli report: %s\n", error.toStdString().c_str());
        return kFailure;
    }
    std::printf("%s: %d pages\n", positional[1].c_str(), pages);
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
