// korvath-cli plot FILE OUT.png|OUT.svg|OUT.pdf [--size WxH] [--traces N,...]

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli_calibration.h"
#include "cli_command.h"
#include "cli_offscreen_app.h"
#include "ui/graph/curve_plot.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"plot", "FILE OUT.png|OUT.svg|OUT.pdf [--size WxH] [--traces N,...]",
                       "draw the visible curves (or the listed traces) as the program draws them, with a legend, "
                       "axis captions and the file name and date; needs no display",
                       &Run};
const CommandRegistration kRegistration{kCommand};

bool ParseSize(const std::string& text, QSize& size) {
    int w = 0, h = 0, used = 0;
    if (std::sscanf(text.c_str(), "%5dx%5d%n", &w, &h, &used) != 2 || static_cast<std::size_t>(used) != text.size())
        return false;
    if (w < ui::kMinPlotSide || h < ui::kMinPlotSide || w > ui::kMaxPlotSide || h > ui::kMaxPlotSide) return false;
    size = QSize(w, h);
    return true;
}

bool ParseTraces(const std::string& text, std::vector<int>& traces) {
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        int t = -1, used = 0;
        if (std::sscanf(item.c_str(), "%3d%n", &t, &used) != 1 || static_cast<std::size_t>(used) != item.size() ||
            t < 0 || t >= kNumTraces)
            return false;
        traces.push_back(t);
    }
    return !traces.empty();
}

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    ui::CurvePlot plot;
    plot.size = ui::kDefaultPlotSize;
    bool listed = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--size" && i + 1 < args.size()) {
            if (!ParseSize(args[++i], plot.size))
                return UsageError(kCommand, "--size wants WxH, each 200 ... 8000 pixels");
        } else if (a == "--traces" && i + 1 < args.size()) {
            if (!ParseTraces(args[++i], plot.traces)) return UsageError(kCommand, "--traces wants numbers 0 ... 49");
            listed = true;
        } else if (a.starts_with("--")) {
            return UsageError(kCommand, "unknown option " + a);
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) return UsageError(kCommand, "a calibration file and a picture file expected");
    const QString out = QString::fromStdString(positional[1]);
    if (ui::PlotFormatOf(out) == ui::PlotFormat::Unknown)
        return UsageError(kCommand, "the picture's name must end in .png, .svg or .pdf");

    CalibrationSession session(options);
    if (!session.Open(positional[0])) return kFailure;
    CQRNDoc& doc = session.doc();
    doc.PushTracesToGraph();
    const auto bound = [&](int t) { return doc.traceBinding(t).TraceMode != TraceModes::None; };
    if (!listed) {
        // The traces the program shows: bound by the definition and marked visible.
        const ViewStateBlock& view = doc.calibration().viewState;
        for (int t = 0; t < kNumTraces; ++t)
            if (bound(t) && view.TraceVisible(t)) plot.traces.push_back(t);
    }
    for (const int t : plot.traces) {
        // It would be drawn flat, as if the calibration held a curve there.
        if (!bound(t)) {
            std::fprintf(stderr, "korvath-cli plot: trace %d is not bound by the definition of %s\n", t,
                         positional[0].c_str());
            return kFailure;
        }
    }
    plot.source = doc.graph();
    const QFileInfo file(QString::fromStdString(positional[0]));
    plot.title = ui::PlotTitle(file.fileName(), file.lastModified());

    // Text needs a GUI application.
    const std::unique_ptr<QGuiApplication> app = StartOffscreenApplication();

    QString error;
    if (!ui::WriteCurvePlot(plot, out, error)) {
        std::fprintf(stderr, "korvath-cli plot: %s\n", error.toStdString().c_str());
        return kFailure;
    }
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
