// The graph engine drawn through the QPainter surface into an off-screen image, the way the
// tuning view composes it: a demo calibration with two shift curves, a selection, a callout and
// the live crosshair. The image is written to the build directory (graph-demo.png) for a look,
// and checked pixel by pixel where each part must show.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "graph/graphengine.h"
#include "support/qt_test_app.h"
#include "ui/graph/qpainter_surface.h"
#include "ui/graph/qtcolor.h"

namespace korvath::ui {
namespace {

// The program's one application object, shared with the other tests of this folder.
QGuiApplication& App() { return korvath::testing::TestApp(); }

constexpr int kWidth = 900;
constexpr int kHeight = 600;
constexpr Color kFirstColor = 0x0000C0;   // dark red
constexpr Color kSecondColor = 0xC06000;  // blue

class GraphImage : public ::testing::Test {
protected:
    GraphImage() : image(kWidth, kHeight, QImage::Format_RGB32) {
        App();
        // The view's layout: 20 pixels left and top, 30 right, 20 bottom.
        engine.SetPlotRect(20, 20, kWidth - 50, kHeight - 40);
        {
            QPainter painter(&image);
            QPainterSurface measure(painter);
            engine.MeasureColumnLabels(measure);
        }
        const std::array<float, 10> first = {12, 13, 15, 18, 22, 26, 30, 34, 37, 39};
        const std::array<float, 10> second = {22, 24, 27, 31, 36, 42, 48, 53, 57, 60};
        engine.SetTraceValues(0, first.data());
        engine.SetTraceValues(1, second.data());
        engine.SetTraceColor(0, kFirstColor);
        engine.SetTraceColor(1, kSecondColor);
        engine.SetTraceText(0, "1-2 Upshift", "TPS %s0%%: %.0f MPH");
        engine.SetTraceText(1, "2-3 Upshift", "TPS %s0%%: %.0f MPH (column %s, ~%d, stored %d)");
        engine.SetTraceVisible(0, 1);
        engine.SetTraceVisible(1, 1);
    }

    // `scale` device pixels to an engine pixel, as the view paints on a high-DPI screen.
    void Paint(qreal scale = 1.0) {
        if (image.width() != qRound(kWidth * scale)) image = QImage(qRound(kWidth * scale), qRound(kHeight * scale), QImage::Format_RGB32);
        image.fill(ToQColor(engine.GetBackgroundColor()));
        QPainter painter(&image);
        surface.Begin(painter, scale);
        engine.Draw(surface);
        engine.DrawCrosshair(surface);
        engine.DrawCallout(surface);
        surface.End();
    }

    Color PixelAt(int x, int y) const { return FromQColor(image.pixelColor(x, y)); }
    // True when some pixel within `radius` of (x, y) satisfies the test.
    bool Near(int x, int y, int radius, const std::function<bool(Color)>& test) const {
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                if (test(PixelAt(x + dx, y + dy))) return true;
            }
        }
        return false;
    }
    bool NearColor(int x, int y, int radius, Color color) const {
        return Near(x, y, radius, [color](Color c) { return c == color; });
    }
    int X(int column) const { return engine.ColumnToX(column); }
    int Y(int trace, int column) const { return engine.ValueToY(engine.PointAt(trace, column).value); }

    QImage image;
    CGraphEngine engine{50, 10};
    QPainterSurface surface;
};

TEST_F(GraphImage, DemoCalibrationShowsEveryPart) {
    Paint();  // the first paint lays the graph out for the clicks
    ASSERT_EQ(engine.OnButtonDown(0, X(4), Y(1, 4)), 1);
    ASSERT_EQ(engine.OnButtonDown(graph::kShift, X(6), Y(1, 6)), 1);
    ASSERT_EQ(engine.SetCrosshair(7.5f, 25.0f), 1);
    ASSERT_EQ(engine.CalloutTrace(), 1);
    Paint();
    const QString path = QStringLiteral(KORVATH_BIN_DIR "/../graph-demo.png");
    EXPECT_TRUE(image.save(path)) << path.toStdString();

    // Axes: the black label panels with white labels, light grey grid lines.
    EXPECT_EQ(engine.AxisMinimum(), 0);
    EXPECT_EQ(engine.AxisMaximum(), 70);
    EXPECT_EQ(PixelAt(22, kHeight - 22), 0x000000u);
    EXPECT_TRUE(NearColor(X(5), engine.OriginY() + 12, 8, 0xFFFFFF));  // column label "5"
    EXPECT_TRUE(NearColor(X(2) + 10, engine.ValueToY(50), 1, 0xD0D0D0));
    EXPECT_EQ(PixelAt(X(2), engine.ValueToY(65)), 0xD0D0D0u);

    // Two traces in their colours, between their points.
    EXPECT_TRUE(NearColor((X(1) + X(2)) / 2, (Y(0, 1) + Y(0, 2)) / 2, 1, kFirstColor));
    EXPECT_TRUE(NearColor((X(1) + X(2)) / 2, (Y(1, 1) + Y(1, 2)) / 2, 1, kSecondColor));

    // The selection 4 ... 6 of the second trace: orange discs ringed in the trace colour.
    for (int c : {4, 5, 6}) {
        EXPECT_EQ(PixelAt(X(c), Y(1, c)), 0x0080FFu) << c;
        EXPECT_TRUE(NearColor(X(c), Y(1, c) - 5, 1, kSecondColor)) << c;
    }
    EXPECT_NE(PixelAt(X(3), Y(1, 3)), 0x0080FFu);
    EXPECT_NE(PixelAt(X(5), Y(0, 5)), 0x0080FFu);

    // The callout: a yellow box just above the plot at its left end, and a yellow leader with a
    // dark core down to the grabbed point.
    EXPECT_TRUE(NearColor(engine.OriginX() + 2, 20 - 2, 1, 0x00FFFF));
    QPainter painter(&image);
    const int textWidth = QPainterSurface(painter).MeasureText("TPS 60%: 48 MPH (column 6, ~50, stored 48)").width;
    painter.end();
    const int midX = (engine.OriginX() + 1 + textWidth + X(6)) / 2;
    const int midY = (20 + Y(1, 6)) / 2;
    EXPECT_TRUE(NearColor(midX, midY, 2, 0x00FFFF));
    EXPECT_TRUE(NearColor(midX, midY, 2, 0x000000));

    // The crosshair: the white background under the disc inverted to black, a red ring and
    // red dotted arms.
    const int cx = engine.OriginX() + static_cast<int>(engine.XScale() * 7.5f);
    const int cy = engine.OriginY() - static_cast<int>(25.0f * engine.YScale());
    EXPECT_EQ(PixelAt(cx, cy), 0x000000u);
    EXPECT_EQ(PixelAt(cx + 8, cy - 8), 0x000000u);
    EXPECT_TRUE(NearColor(cx, cy - 20, 1, 0x0000FF));
    EXPECT_TRUE(NearColor(cx + 20, cy, 1, 0x0000FF));
    EXPECT_TRUE(NearColor(cx + 40, cy, 5, 0x0000FF));
    EXPECT_EQ(PixelAt(cx + 80, cy), 0xFFFFFFu);  // the arms end 40 pixels outside the ring
}

TEST_F(GraphImage, CrosshairDiscInvertsWhatLiesUnderIt) {
    Paint();
    engine.SetCrosshair(2.0f, 30.0f);  // on a vertical grid line and a horizontal one
    Paint();
    const int cx = engine.OriginX() + static_cast<int>(engine.XScale() * 2.0f);
    const int cy = engine.OriginY() - static_cast<int>(30.0f * engine.YScale());
    EXPECT_EQ(PixelAt(cx, cy - 6), 0x2F2F2Fu);  // grey grid 0xD0D0D0 inverted
    EXPECT_EQ(PixelAt(cx + 6, cy - 6), 0x000000u);
}

// Lengths of the runs of `color` along a row (or a column) of the image.
std::vector<int> Runs(const QImage& image, int at, bool row, Color color) {
    std::vector<int> runs;
    const int length = row ? image.width() : image.height();
    for (int i = 0, run = 0; i <= length; ++i) {
        const bool on = i < length && FromQColor(image.pixelColor(row ? i : at, row ? at : i)) == color;
        if (on) ++run;
        if (!on && run > 0) runs.push_back(std::exchange(run, 0));
    }
    return runs;
}

TEST_F(GraphImage, OnHighDpiImagesEveryGridLineIsAsWideTextGrowsAndTheCrosshairStillInverts) {
    Paint();
    const QRect label(X(5) - 8, engine.OriginY() + 2, 16, 16);  // the column label "5"
    auto lit = [&](qreal scale) {
        int n = 0;
        for (int y = qRound(label.top() * scale); y < qRound((label.bottom() + 1) * scale); ++y)
            for (int x = qRound(label.left() * scale); x < qRound((label.right() + 1) * scale); ++x) n += qGray(image.pixel(x, y)) > 128;
        return n;
    };
    const int litAtOne = lit(1.0);
    engine.SetCrosshair(2.0f, 30.0f);  // on a vertical grid line and a horizontal one
    const int cx = engine.OriginX() + static_cast<int>(engine.XScale() * 2.0f);
    const int cy = engine.OriginY() - static_cast<int>(30.0f * engine.YScale());
    for (const qreal scale : {1.5, 2.0}) {
        Paint(scale);
        // Grid lines across the plot, along a row and a column: two device pixels each.
        for (const bool row : {true, false}) {
            const int at = row ? qRound(engine.ValueToY(45) * scale) : qRound((X(6) + X(7)) / 2 * scale);
            const std::vector<int> runs = Runs(image, at, row, 0xD0D0D0);
            EXPECT_GE(runs.size(), 5u) << scale;
            EXPECT_EQ(std::count(runs.begin(), runs.end(), 2), static_cast<long>(runs.size())) << scale << " " << row;
        }
        EXPECT_EQ(PixelAt(qRound(cx * scale), qRound((cy - 6) * scale)), 0x2F2F2Fu) << scale;  // grey grid inverted
        EXPECT_EQ(PixelAt(qRound((cx + 6) * scale), qRound((cy - 6) * scale)), 0x000000u) << scale;
        EXPECT_NEAR(lit(scale), litAtOne * scale * scale, litAtOne * scale * scale * 0.35) << scale;
    }
}

}  // namespace
}  // namespace korvath::ui
