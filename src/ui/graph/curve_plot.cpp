#include "ui/graph/curve_plot.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QtSvg/QSvgGenerator>
#include <algorithm>
#include <memory>

#include "graph/graphengine.h"
#include "ui/graph/qpainter_surface.h"
#include "ui/graph/qtcolor.h"

namespace korvath::ui {
namespace {

constexpr const char* kValueAxisCaption = "Value (display units)";
constexpr const char* kColumnAxisCaption = "Point";
constexpr const char* kTraceNameFormat = "Trace %1";
constexpr const char* kUnknownFormatText = "the picture's name must end in .png, .svg or .pdf";
constexpr const char* kCannotWriteText = "cannot write %1";
constexpr const char* kTitleDateFormat = "yyyy-MM-dd HH:mm";

// Picture layout in pixels (points for PDF).
constexpr int kMargin = 12;
constexpr int kTitleHeight = 28;
constexpr int kCaptionHeight = 20;
constexpr int kLegendWidth = 180;
constexpr int kLegendRow = 18;
constexpr int kLegendSample = 28;
constexpr int kPdfResolution = 72;  // one point per pixel

// The engine that draws the picture: the chosen traces of the source with their names, colours
// and values, and the source's overlays of the same traces.
std::unique_ptr<CGraphEngine> PictureEngine(const CurvePlot& plot) {
    const CGraphEngine& source = *plot.source;
    auto engine = std::make_unique<CGraphEngine>(source.TraceCount(), source.PointCount());
    engine->SetFeatureFlags(source.FeatureFlags());
    std::vector<float> values(static_cast<std::size_t>(source.PointCount()));
    for (int t : plot.traces) {
        if (t < 0 || t >= source.TraceCount()) continue;
        for (int c = 0; c < source.PointCount(); ++c) values[static_cast<std::size_t>(c)] = source.PointAt(t, c).value;
        engine->SetTraceValues(t, values.data());
        engine->SetTraceColor(t, source.TraceAt(t).color);
        engine->SetTraceText(t, source.TraceAt(t).name, "");
        engine->SetTraceVisible(t, 1);
        const CGraphEngine& behind = plot.overlays ? *plot.overlays : source;
        if (t < behind.TraceCount() && behind.PointCount() == source.PointCount() && behind.HasOverlay(t)) {
            for (int c = 0; c < source.PointCount(); ++c)
                values[static_cast<std::size_t>(c)] = behind.OverlayValue(t, c);
            engine->SetOverlayValues(t, values.data());
        }
    }
    return engine;
}

void PaintLegend(QPainter& painter, const CurvePlot& plot, const QRect& area) {
    const QFontMetrics fm(painter.font());
    int y = area.top();
    for (int t : plot.traces) {
        if (t < 0 || t >= plot.source->TraceCount() || y + kLegendRow > area.bottom()) continue;
        const int middle = y + kLegendRow / 2;
        painter.setPen(QPen(ToQColor(plot.source->TraceAt(t).color), 2));
        painter.drawLine(area.left(), middle, area.left() + kLegendSample, middle);
        painter.setPen(Qt::black);
        const QString name = fm.elidedText(TraceLegendName(*plot.source, t), Qt::ElideRight,
                                           area.width() - kLegendSample - kMargin / 2);
        painter.drawText(QRect(area.left() + kLegendSample + kMargin / 2, y, area.width(), kLegendRow),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        y += kLegendRow;
    }
}

bool PaintOn(QPaintDevice& device, const CurvePlot& plot) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    PaintCurvePlot(painter, plot);
    return painter.end();
}

}  // namespace

PlotFormat PlotFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return PlotFormat::Png;
    if (suffix == QLatin1String("svg")) return PlotFormat::Svg;
    if (suffix == QLatin1String("pdf")) return PlotFormat::Pdf;
    return PlotFormat::Unknown;
}

QString PlotTitle(const QString& fileName, const QDateTime& when) {
    return fileName + QStringLiteral("  ") + when.toString(QString::fromLatin1(kTitleDateFormat));
}

std::vector<int> VisibleTraces(const CGraphEngine& engine) {
    std::vector<int> traces;
    for (int t = 0; t < engine.TraceCount(); ++t)
        if (engine.TraceAt(t).visible) traces.push_back(t);
    return traces;
}

QString TraceLegendName(const CGraphEngine& engine, int trace) {
    const char* name = engine.TraceAt(trace).name;
    return *name ? QString::fromUtf8(name) : QString::fromLatin1(kTraceNameFormat).arg(trace);
}

void PaintCurvePlot(QPainter& painter, const CurvePlot& plot) {
    const QRect all(QPoint(0, 0), plot.size);
    painter.fillRect(all, Qt::white);
    if (!plot.source) return;
    const QFontMetrics fm(painter.font());

    painter.setPen(Qt::black);
    QFont titleFont = painter.font();
    titleFont.setBold(true);
    painter.save();
    painter.setFont(titleFont);
    painter.drawText(QRect(kMargin, kMargin / 2, all.width() - 2 * kMargin, kTitleHeight), Qt::AlignCenter,
                     plot.title);
    painter.restore();

    const QRect graphArea(kMargin + kCaptionHeight, kMargin + kTitleHeight,
                          all.width() - 3 * kMargin - kCaptionHeight - kLegendWidth,
                          all.height() - 2 * kMargin - kTitleHeight - kCaptionHeight);
    std::unique_ptr<CGraphEngine> engine = PictureEngine(plot);
    {
        QPainterSurface surface(painter);
        engine->MeasureColumnLabels(surface);
        engine->SetPlotRect(static_cast<std::int16_t>(graphArea.left()), static_cast<std::int16_t>(graphArea.top()),
                            static_cast<std::int16_t>(std::max(graphArea.width(), 0)),
                            static_cast<std::int16_t>(std::max(graphArea.height(), 0)));
        engine->Draw(surface);
        surface.End();
    }

    painter.setPen(Qt::black);
    painter.drawText(QRect(graphArea.left(), graphArea.bottom() + 2, graphArea.width(), kCaptionHeight),
                     Qt::AlignCenter, QString::fromLatin1(kColumnAxisCaption));
    painter.save();
    painter.translate(kMargin + fm.ascent() / 2, graphArea.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-graphArea.height() / 2, -kCaptionHeight / 2, graphArea.height(), kCaptionHeight),
                     Qt::AlignCenter, QString::fromLatin1(kValueAxisCaption));
    painter.restore();

    PaintLegend(painter, plot, QRect(all.width() - kMargin - kLegendWidth, graphArea.top(), kLegendWidth,
                                     graphArea.height()));
}

bool WritePaintedFile(const QString& path, const std::function<bool(QIODevice&)>& paint, QString& error) {
    // Made in memory first and saved in one step.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool painted = paint(buffer);
    buffer.close();
    QSaveFile file(path);
    if (!painted || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QString::fromLatin1(kCannotWriteText).arg(path);
        return false;
    }
    return true;
}

bool WriteCurvePlot(const CurvePlot& plot, const QString& path, QString& error) {
    const PlotFormat format = PlotFormatOf(path);
    if (format == PlotFormat::Unknown) {
        error = QString::fromLatin1(kUnknownFormatText);
        return false;
    }
    return WritePaintedFile(path, [&](QIODevice& out) {
        if (format == PlotFormat::Png) {
            QImage image(plot.size, QImage::Format_RGB32);
            return PaintOn(image, plot) && image.save(&out, "PNG");
        }
        if (format == PlotFormat::Svg) {
            QSvgGenerator svg;
            svg.setOutputDevice(&out);
            svg.setSize(plot.size);
            svg.setViewBox(QRect(QPoint(0, 0), plot.size));
            svg.setTitle(plot.title);
            return PaintOn(svg, plot);
        }
        QPdfWriter pdf(&out);
        pdf.setResolution(kPdfResolution);
        pdf.setPageSize(QPageSize(QSizeF(plot.size), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(plot.title);
        return PaintOn(pdf, plot);
    }, error);
}

}  // namespace korvath::ui
