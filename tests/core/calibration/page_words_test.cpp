// The settings as the demo's pages show them, comparisons named in the pages' words, and the
// calibration report's content.

#include <algorithm>

#include "calibration/calibration_file.h"
#include "calibration/calibration_report.h"
#include "calibration/diff_in_page_words.h"
#include "graph/graphengine.h"
#include "layout/shown_settings.h"
#include "support/document_fixture.h"

namespace korvath {
void PrintTo(const DiffRow& row, std::ostream* out) { *out << DiffLine(row); }
void PrintTo(const ReportField& field, std::ostream* out) { *out << field.caption << ": " << field.value; }
}  // namespace korvath

namespace korvath::testing {
namespace {

class PageWordsTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        other = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, KORVATH_BIN_DIR);
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, KORVATH_BIN_DIR);
        for (CQRNDoc* d : {doc.get(), other.get()}) {
            ASSERT_TRUE(d->LoadDefinitionFile(std::string(KORVATH_BIN_DIR) + "/PID2/3/KV4.def"));
            d->ReadApplicationID();
            d->ReadDeclarations(1);
            d->calibration().application.DefinitionFileName = "KV4.def";
        }
        doc->SetGraph(&graph);
        doc->BindGraphicalTuningTraces();
        other->SetGraph(&otherGraph);
        other->BindGraphicalTuningTraces();
    }
    void TearDown() override {
        doc->SetGraph(nullptr);
        other->SetGraph(nullptr);
    }
    const DiffItem* Find(const CalibrationDiff& diff, DiffKind kind, const std::string& name) {
        for (const DiffItem& i : diff.items)
            if (i.kind == kind && i.name == name) return &i;
        return nullptr;
    }
    CGraphEngine graph, otherGraph;
    std::unique_ptr<CQRNDoc> other;
};

TEST_F(PageWordsTest, EveryControlOfTheDemoPagesIsReadAsItsPageShowsIt) {
    const std::vector<ShownSetting> shown = ShownSettingsOf(*doc);
    auto value = [&](const char* page, const char* caption) {
        const ShownSetting* s = FindShownSetting(shown, page, caption);
        return s ? s->value : std::string("<none>");
    };
    EXPECT_EQ(value("Transmission Type", "Choose Transmission Type"), "KV4 Four-Speed");
    EXPECT_EQ(value("Torque Converter", "Choose Torque Converter"), "Standard converter");
    EXPECT_EQ(value("Torque Converter", "Drive layout"), "Two-wheel drive");
    EXPECT_EQ(value("Torque Converter", "Lock up in third gear too"), "on");  // its DefState
    EXPECT_EQ(value("Torque Converter", "Lock up in low range"), "<none>");  // not enabled: not shown
    // Its DefState is Normal, but the calibration holds the value of Gentle.
    EXPECT_EQ(value("Torque Converter", "Lock-up apply"), "Gentle");
    EXPECT_EQ(value("Shift Program", "Torque converter lock-up"), "on");
    EXPECT_EQ(value("Shift Program", "Shift program"), "Economy");
    EXPECT_EQ(value("Vehicle Numbers", "Axle ratio"), "3.73");
    // Push buttons show no value.
    EXPECT_EQ(value("Shift Program", "About these pages"), "<none>");
    // The variable a check box writes, and the remembered choice of the variant list.
    const ShownSetting* lockUp = FindShownSetting(shown, "TCCEnable");
    ASSERT_NE(lockUp, nullptr);
    EXPECT_EQ(lockUp->caption, "Torque converter lock-up");
    ASSERT_NE(FindShownSetting(shown, ":[ConverterType]:LogicalName"), nullptr);
    EXPECT_EQ(FindShownSetting(shown, ":[ConverterType]:LogicalName")->caption, "Choose Torque Converter");
    EXPECT_EQ(FindShownSetting(shown, "NoSuchVariable"), nullptr);
    // Read from a copy: the calibration is as it was.
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(doc->properties().text().empty()) << doc->properties().text();
}

TEST_F(PageWordsTest, DifferencesAreNamedByPageCaptionAndShownValues) {
    ASSERT_TRUE(other->SetIntVariable("TCCEnable", 0));
    ASSERT_TRUE(other->SetIntVariable("SYCONFIG2", 1));
    std::string highStall = "HighStall";
    other->properties().AccessProperty("[ConverterType]", "LogicalName", highStall, PropertyMode::Write);
    ASSERT_TRUE(other->SetFloatVariable("AxleRatio", 3.7301f));
    ASSERT_TRUE(other->SetIntVariable("MANUpshift12", 41));
    other->calibration().points[0][3] += 16;

    const CalibrationDiff diff = CompareInPageWords(*doc, *other, false);
    const DiffItem* lockUp = Find(diff, DiffKind::Variable, "TCCEnable");
    ASSERT_NE(lockUp, nullptr);
    EXPECT_EQ(DiffRowOf(*lockUp), (DiffRow{"Shift Program > Torque converter lock-up", "on", "off"}));
    const DiffItem* converter = Find(diff, DiffKind::Property, ":[ConverterType]:LogicalName");
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(DiffLine(DiffRowOf(*converter)),
              "Torque Converter > Choose Torque Converter: Standard converter \u2192 High-stall converter");
    // SYCONFIG2 is the same choice: one row for both.
    const std::string text = DiffText(diff);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5) << text;
    // A number the page rounds alike says what is stored.
    const DiffItem* axle = Find(diff, DiffKind::Variable, "AxleRatio");
    ASSERT_NE(axle, nullptr);
    EXPECT_EQ(axle->label, "Axle ratio");
    EXPECT_EQ(axle->aText, "3.73 (AxleRatio 3.73)");
    EXPECT_EQ(axle->bText, "3.73 (AxleRatio 3.7301)");
    // No page shows it: the calibration's name.
    const DiffItem* manual = Find(diff, DiffKind::Variable, "MANUpshift12");
    ASSERT_NE(manual, nullptr);
    EXPECT_TRUE(manual->page.empty());
    EXPECT_EQ(DiffRowOf(*manual).what, "variable MANUpshift12 (I16)");
    EXPECT_EQ(manual->aText, "40");
    // A curve point by its curve and column, in display units.
    const DiffItem* point = Find(diff, DiffKind::TracePoint, "");
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(DiffRowOf(*point), (DiffRow{"1-2 Up, Point 3", "20", "20.5"}));
    // Below the display's step (1/32 mph): the stored values say what differs.
    other->calibration().points[0][3] = static_cast<std::int16_t>(doc->calibration().points[0][3] + 1);
    const CalibrationDiff fine = CompareInPageWords(*doc, *other, false);
    const DiffItem* finePoint = Find(fine, DiffKind::TracePoint, "");
    ASSERT_NE(finePoint, nullptr);
    EXPECT_EQ(DiffRowOf(*finePoint), (DiffRow{"1-2 Up, Point 3", "20 (stored 640)", "20 (stored 641)"}));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(other->IsModified());
}

TEST_F(PageWordsTest, ReportHoldsHeaderPagesAndChanges) {
    ReportRequest request{.fileName = "car.qvr", .when = "2026-12-10 22:00"};
    CalibrationReport report = BuildCalibrationReport(*doc, request);
    EXPECT_EQ(report.fileName, "car.qvr");
    ASSERT_GE(report.header.size(), 5u);
    doc->calibration().hardware = HardwareBlock{};
    EXPECT_EQ(BuildCalibrationReport(*doc, request).header[2], (ReportField{"Controller", "not known"}));
    EXPECT_EQ(report.header[3], (ReportField{"Definition", "KV4.def (KV4)"}));
    EXPECT_EQ(report.header[4], (ReportField{"Transmission", "KV4 Four-Speed"}));
    std::vector<std::string> titles;
    for (const ReportSection& page : report.pages) titles.push_back(page.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Transmission Type", "Torque Converter", "Shift Program",
                                                "Vehicle Numbers"}));
    EXPECT_FALSE(report.compared);
    EXPECT_EQ(ReportText(report).find("Changes"), std::string::npos);

    doc->calibration().hardware.Set(HardwareField::DeviceType, 2);
    doc->calibration().hardware.Set(HardwareField::HardwareVersion, 1);
    doc->calibration().hardware.Set(HardwareField::FirmwareVersion, 3);
    doc->calibration().hardware.Set(HardwareField::FirmwareVersionMinor, 0);
    ASSERT_TRUE(other->SetIntVariable("TCCEnable", 0));
    request.comparedWith = other.get();
    request.comparedName = "stock.qvr";
    report = BuildCalibrationReport(*doc, request);
    EXPECT_EQ(report.header[2].value, "product 2, hardware 1, firmware 3.0 (as the calibration records it)");
    doc->calibration().hardware.Set(HardwareField::IdentifiedFlag, 1);
    doc->calibration().hardware.Set(HardwareField::IdentifiedSinceLoad, 1);
    EXPECT_EQ(ReportControllerText(*doc), "product 2, hardware 1, firmware 3.0 (connected)");
    EXPECT_TRUE(report.compared);
    const std::string text = ReportText(report);
    EXPECT_NE(text.find("Compared with: stock.qvr"), std::string::npos) << text;
    EXPECT_NE(text.find("Changes\n  Shift Program > Torque converter lock-up: on \u2192 off\n"), std::string::npos)
        << text;

    ASSERT_TRUE(other->SetIntVariable("TCCEnable", 1));
    EXPECT_NE(ReportText(BuildCalibrationReport(*doc, request)).find("Changes\n  No differences."), std::string::npos);
}

TEST(PlainCaption, DropsKeyboardMarksAndTheFinalColon) {
    EXPECT_EQ(PlainCaption("&Converter help"), "Converter help");
    EXPECT_EQ(PlainCaption("Salt && pepper"), "Salt & pepper");
    EXPECT_EQ(PlainCaption(" Choose Torque Converter: "), "Choose Torque Converter");
    EXPECT_EQ(PlainCaption("&"), "");
}

}  // namespace
}  // namespace korvath::testing
