// The calibration report's pages: where its parts fall, long values, and the same pages on a
// device of any resolution.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "graph/graphengine.h"
#include "support/pdf_pages.h"
#include "support/qt_test_app.h"
#include "ui/tools/report_painter.h"

namespace korvath::testing {
namespace {

using Kind = ui::ReportBlock::Kind;
const QSizeF kA4(595, 842);  // points
constexpr qreal kMargin = 40;

CalibrationReport ManyFields(int pages, int fieldsEach, const std::string& value = "value") {
    CalibrationReport report;
    report.fileName = "car.qvr";
    report.header = {{"File", "car.qvr"}, {"Date", "2026-12-10 22:00"}};
    for (int p = 0; p < pages; ++p) {
        ReportSection& section = report.pages.emplace_back();
        section.title = "Page " + std::to_string(p);
        for (int f = 0; f < fieldsEach; ++f) section.fields.push_back({"Caption " + std::to_string(f), value});
    }
    return report;
}

TEST(ReportLayout, PartsStayInsideThePageInOrderAndHeadingsGoWithTheirFirstRow) {
    TestApp();
    CalibrationReport report = ManyFields(6, 25);
    report.compared = true;
    report.changes = {{"Main > Lock", "on", "off"}};
    const ui::ReportLayout layout = ui::LayOutReport(report, kA4);
    EXPECT_GE(layout.pageCount, 3);
    ASSERT_FALSE(layout.blocks.empty());
    EXPECT_EQ(layout.blocks.front().kind, Kind::Title);
    EXPECT_EQ(layout.blocks.back().kind, Kind::Change);
    int fields = 0;
    for (std::size_t i = 0; i < layout.blocks.size(); ++i) {
        const ui::ReportBlock& b = layout.blocks[i];
        EXPECT_GE(b.rect.top(), kMargin) << i;
        EXPECT_LE(b.rect.bottom(), kA4.height() - kMargin) << i;
        EXPECT_LT(b.page, layout.pageCount) << i;
        fields += b.kind == Kind::Field;
        if (i == 0) continue;
        const ui::ReportBlock& before = layout.blocks[i - 1];
        // Pages only go forward, and on one page each part is below the one before.
        EXPECT_GE(b.page, before.page) << i;
        if (b.page == before.page) {
            EXPECT_GE(b.rect.top(), before.rect.bottom() - 0.01) << i;
        }
        // A heading never stands alone at the foot of a page.
        if (before.kind == Kind::Heading) {
            EXPECT_EQ(b.page, before.page) << i;
        }
    }
    EXPECT_EQ(fields, 6 * 25);
    EXPECT_EQ(layout.blocks[layout.blocks.size() - 2].kind, Kind::Heading);
    EXPECT_EQ(layout.blocks[layout.blocks.size() - 2].section, -1);  // the changes' heading
}

TEST(ReportLayout, AValueLongerThanAPageIsCutToOnePageAndTheRestFollows) {
    TestApp();
    const std::string huge(20000, 'w');
    CalibrationReport report = ManyFields(1, 3, "short");
    report.pages[0].fields[1].value = huge + " " + huge;
    const ui::ReportLayout layout = ui::LayOutReport(report, kA4);
    ASSERT_EQ(layout.blocks.back().kind, Kind::Field);
    for (const ui::ReportBlock& b : layout.blocks) EXPECT_LE(b.rect.height(), kA4.height() - 2 * kMargin);
    EXPECT_LE(layout.pageCount, 3);
    // An empty comparison says so.
    report.compared = true;
    EXPECT_EQ(ui::LayOutReport(report, kA4).blocks.back().kind, Kind::NoChanges);
}

int PagesWritten(const CalibrationReport& report, int resolution) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(resolution);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        CGraphEngine graph(2, 10);
        ui::CurvePlot curves;
        curves.source = &graph;
        curves.traces = {0};
        if (!ui::PaintCalibrationReport(pdf, report, curves)) return -1;
    }
    return PdfPageCount(bytes.toStdString());
}

TEST(ReportPainter, APrinterOfAnyResolutionGetsTheSamePagesAsThePdf) {
    TestApp();
    const CalibrationReport report = ManyFields(5, 20);
    const int pages = ui::LayOutReport(report, kA4).pageCount;
    EXPECT_GT(pages, 1);
    EXPECT_EQ(PagesWritten(report, 72), pages);
    EXPECT_EQ(PagesWritten(report, 600), pages);
}

}  // namespace
}  // namespace korvath::testing
