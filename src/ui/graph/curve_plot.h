#pragma once
// Pictures of the tuning curves for reports: the chosen traces drawn by the graph engine as the
// view draws them (compared curves included), with a legend of their names and colours, axis
// captions, and the file name and date as a title. One picture as PNG, SVG or PDF; the command
// line's plot and the program's Export Curves both write through here.

#include <QDateTime>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QIODevice;
class QPainter;

namespace korvath {
class CGraphEngine;
}

namespace korvath::ui {

enum class PlotFormat { Png, Svg, Pdf, Unknown };

struct CurvePlot {
    const CGraphEngine* source = nullptr;  // names, colours, display values, overlays
    // Whose overlays are drawn behind the curves instead of the source's (a report's comparison).
    const CGraphEngine* overlays = nullptr;
    std::vector<int> traces;               // drawn, in legend order
    QString title;
    QSize size{800, 600};
};

inline constexpr QSize kDefaultPlotSize{800, 600};
inline constexpr int kMinPlotSide = 200;
inline constexpr int kMaxPlotSide = 8000;

// By the file name's extension (case-insensitive).
PlotFormat PlotFormatOf(const QString& path);
// "<file name>  <yyyy-MM-dd HH:mm>".
QString PlotTitle(const QString& fileName, const QDateTime& when);
// The traces the engine shows, in trace order.
std::vector<int> VisibleTraces(const CGraphEngine& engine);
// A legend entry: the engine's name of the trace, or "Trace N" when it has none.
QString TraceLegendName(const CGraphEngine& engine, int trace);

// Paints the whole picture into a `plot.size` area at the painter's origin.
void PaintCurvePlot(QPainter& painter, const CurvePlot& plot);
// Writes what `paint` puts into the device it is given to `path` in one step, so a failure leaves
// no half-written file; false (paint failed or the file cannot be written) with `error` otherwise.
bool WritePaintedFile(const QString& path, const std::function<bool(QIODevice&)>& paint, QString& error);

// Writes the picture to `path` in the format its extension names; false with `error` otherwise.
bool WriteCurvePlot(const CurvePlot& plot, const QString& path, QString& error);

}  // namespace korvath::ui
