// Curve pictures for reports: the PNG checked pixel by pixel, the SVG parsed as XML, the PDF's
// pages counted, and a file that cannot be made.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <array>

#include "graph/graphengine.h"
#include "support/qt_test_app.h"
#include "ui/graph/curve_plot.h"
#include "ui/graph/qtcolor.h"

namespace korvath::ui {
namespace {

class CurvePlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        korvath::testing::TestApp();
        ASSERT_TRUE(dir.isValid());
        std::array<float, 10> rising{}, flat{};
        for (int i = 0; i < 10; ++i) {
            rising[static_cast<std::size_t>(i)] = 10.0f * static_cast<float>(i);
            flat[static_cast<std::size_t>(i)] = 50.0f;
        }
        engine.SetTraceValues(0, rising.data());
        engine.SetTraceColor(0, kRed);
        engine.SetTraceText(0, "1-2 Upshift", "");
        engine.SetTraceVisible(0, 1);
        engine.SetTraceValues(1, flat.data());
        engine.SetTraceColor(1, kBlue);  // not visible: not in the picture
        plot.source = &engine;
        plot.traces = VisibleTraces(engine);
        plot.title = PlotTitle(QStringLiteral("demo.qvr"), QDateTime(QDate(2026, 12, 9), QTime(21, 30)));
        plot.size = QSize(640, 480);
    }
    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    static constexpr Color kRed = 0x0000FF;
    static constexpr Color kBlue = 0xFF0000;
    CGraphEngine engine{50, 10};
    CurvePlot plot;
    QTemporaryDir dir;
};

int CountColour(const QImage& image, const QRect& area, QColor colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour) ++n;
    return n;
}

TEST_F(CurvePlotTest, PngShowsTheVisibleCurveAndItsLegendOnly) {
    EXPECT_EQ(plot.traces, std::vector<int>{0});
    EXPECT_EQ(TraceLegendName(engine, 1), QStringLiteral("Trace 1"));
    QString error;
    ASSERT_TRUE(WriteCurvePlot(plot, File("c.png"), error)) << error.toStdString();
    QImage image(File("c.png"));
    ASSERT_EQ(image.size(), QSize(640, 480));
    image.save(QStringLiteral(KORVATH_BIN_DIR "/curve-plot.png"));
    const QRect legend(640 - 12 - 180, 40, 180, 400);
    const QRect graph(0, 40, 640 - 12 - 180 - 1, 400);
    EXPECT_GT(CountColour(image, graph, ToQColor(kRed)), 200);  // the rising curve
    EXPECT_GT(CountColour(image, legend, ToQColor(kRed)), 20);  // its legend sample
    EXPECT_EQ(CountColour(image, image.rect(), ToQColor(kBlue)), 0);
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
}

TEST_F(CurvePlotTest, SvgParsesAndPdfHasOnePage) {
    QString error;
    ASSERT_TRUE(WriteCurvePlot(plot, File("c.svg"), error)) << error.toStdString();
    QFile svg(File("c.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    int polylines = 0;
    bool legendText = false;
    QString width;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            if (xml.tokenType() == QXmlStreamReader::Characters && xml.text().contains(QLatin1String("1-2 Upshift")))
                legendText = true;
            continue;
        }
        if (xml.name() == QLatin1String("svg")) width = xml.attributes().value(QLatin1String("width")).toString();
        if (xml.name() == QLatin1String("polyline") || xml.name() == QLatin1String("path")) ++polylines;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(width.startsWith(QLatin1String("225.")) || width.startsWith(QLatin1String("640")))
        << width.toStdString();
    EXPECT_GT(polylines, 0);
    EXPECT_TRUE(legendText);

    ASSERT_TRUE(WriteCurvePlot(plot, File("c.pdf"), error)) << error.toStdString();
    QFile pdf(File("c.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    const QString text = QString::fromLatin1(bytes);
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 1);
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("/Count\\s+1\\b"))));
}

TEST_F(CurvePlotTest, UnknownFormatsAndUnwritablePlacesFail) {
    QString error;
    EXPECT_FALSE(WriteCurvePlot(plot, File("c.gif"), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(WriteCurvePlot(plot, File("no/such/folder/c.png"), error));
    EXPECT_FALSE(QFile::exists(File("no/such/folder/c.png")));
    EXPECT_EQ(PlotFormatOf(QStringLiteral("A.PDF")), PlotFormat::Pdf);
}

}  // namespace
}  // namespace korvath::ui
