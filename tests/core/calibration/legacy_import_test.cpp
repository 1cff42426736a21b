#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "calibration/calibration_file.h"
#include "calibration/legacy_import.h"
#include "document/view_host.h"
#include "support/document_fixture.h"
#include "graph/graphengine.h"

namespace korvath {
namespace {

std::string Fixture(const std::string& name) {
    std::ifstream in(std::string(KORVATH_SOURCE_DIR) + "/tests/fixtures/legacy/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Stands in for the graphical tuning bar: rebuilding it binds the traces of the definition.
class BindingViews : public ViewHost {
public:
    void RebuildBars() override { doc->BindGraphicalTuningTraces(); }
    void RedrawView() override {}
    void RefreshSheetPages(void*) override {}
    void RefreshSettingsSheet(int) override {}
    CQRNDoc* doc = nullptr;
};

// The lines of an old file after its header, with a one-line comment: index 0 the comment,
// 1-3 the texts, 9-11 the measures, table n value i at 13 + 20n + 2i, the fields from 153.
std::vector<std::string> OldLines() {
    std::vector<std::string> l = {"\"A comment\"", "\"4L80E\"", "\"HD\"", "\"Pickup\"", "1", "2", "3", "4", "5",
                                  "4.10", "31.5", "8", "0"};
    for (int n = 0; n < kLegacyTables; ++n)
        for (int i = 0; i < 10; ++i) {
            l.push_back(std::to_string(10 * n + i));
            l.push_back("999");
        }
    for (const char* v : {"35", "1200", "900", "3", "20", "15", "80", "85", "1500", "2200", "1800", "1", "17", "40",
                          "5", "0", "1", "1", "2.72", "1", "0"})
        l.push_back(v);
    return l;
}
constexpr std::size_t kTableLine = 13;
constexpr std::size_t kBaseTpsLine = 153;
constexpr std::size_t kFirstBitLine = 164;
constexpr std::size_t kSecondBitLine = 168;
constexpr std::size_t kWheelDriveLine = 169;
constexpr std::size_t kLowRangeLine = 170;
constexpr std::size_t kLastLine = 173;

std::string OldFile(const std::vector<std::string>& lines) {
    std::string s = "\"QVR01\"\n";
    for (const auto& l : lines) s += l + "\n";
    return s;
}

class LegacyImportTest : public testing::DocumentTest {
protected:
    void SetUp() override {
        dir.Write(kLegacyMapFile, Fixture("OldTypetoDef.map"));
        dir.Write("PID2/3/Legacy4L80E.def", Fixture("Legacy4L80E.def"));
        DocumentTest::SetUp();
        views.doc = doc.get();
        doc->SetGraph(&graph);
        doc->SetViewHost(&views);
    }
    void TearDown() override {
        doc->SetViewHost(nullptr);
        doc->SetGraph(nullptr);
    }

    std::int16_t Int(const char* name) { return doc->FindIntVariable(name).get(); }
    float Float(const char* name) { return doc->FindFloatVariable(name).get(); }
    std::string Text(const char* name) {
        const int i = doc->FindStringVariable(name);
        return i < 0 ? "?" : doc->variables().slots[static_cast<std::size_t>(i)].name;
    }
    std::vector<std::string> Captions() {
        std::vector<std::string> c;
        for (const auto& m : host.messages) c.push_back(m.caption);
        return c;
    }

    CGraphEngine graph;
    BindingViews views;
};

TEST_F(LegacyImportTest, TheSampleConvertsOnTheMappedDefinition) {
    const std::string path = dir.Write("old.qvr", Fixture("sample.qvr"));
    ASSERT_TRUE(OpenCalibrationFile(*doc, path));
    ASSERT_EQ(Captions(), std::vector<std::string>{"Old File Format Detected"});
    EXPECT_EQ(host.messages[0].style, MessageStyle::IconInformation);
    EXPECT_FALSE(doc->IsModified());

    const Calibration& c = doc->calibration();
    EXPECT_EQ(c.application.DefinitionFileName, "Legacy4L80E.def");  // map line in other case, trimmed
    EXPECT_EQ(c.application.LogicalName, "Legacy4L80E");
    EXPECT_EQ(c.application.TransmissionType, "4L80E Heavy Duty");  // as the definition names it
    EXPECT_EQ(c.application.SubType, "HD 4x4");
    EXPECT_EQ(c.application.Description, "Heavy duty pickup");
    EXPECT_EQ(c.hardware.Get(HardwareField::FirmwareVersionMinor), -1);
    EXPECT_FALSE(doc->reader().text().empty());

    EXPECT_EQ(Text("UserComment"),
              "Customer truck with new converter, shift points raised for towing, do not lower line pressure");
    EXPECT_FLOAT_EQ(Float("AxleRatio"), 4.10f);
    EXPECT_FLOAT_EQ(Float("TireDiam"), 31.5f);
    EXPECT_FLOAT_EQ(Float("SSFactor"), 8.0f);
    EXPECT_EQ(Int("WOTTPS"), 0);  // its default of 99 is overwritten
    EXPECT_EQ(Int("BaseTPS"), 35);
    EXPECT_EQ(Int("CCOssOn"), 1200);
    EXPECT_EQ(Int("CCMinGear"), 3);
    EXPECT_EQ(Int("CCOssMinTpsOR"), 1500);
    EXPECT_EQ(Int("MANUpshift12"), 1800);
    EXPECT_EQ(Int("SYCONFIG"), 0x0034);  // 0x1234: low byte, bit 0x20 set, bit 0x08 clear
    EXPECT_EQ(Int("DriveGearTeeth"), 17);
    EXPECT_EQ(Int("DrivenGearTeeth"), 40);
    EXPECT_EQ(Int("PSOM"), 1);
    EXPECT_EQ(Int("FourWheelDrive"), 1);
    EXPECT_EQ(Int("LowRangeCal"), 1);
    EXPECT_FLOAT_EQ(Float("LowRangeRatio"), 2.72f);
    EXPECT_FLOAT_EQ(Float("AuxRangeRatio"), 2.72f);
    EXPECT_EQ(Int("SYCONFIG2"), 0x83);  // 0x80 kept, 0x02 from its line, 0x01 for a 4L80E

    // Old table n goes to trace 0, 2, 4, 1, 3, 5 through the raw-to-store conversion; the
    // seventh table is copied unconverted.
    using Trace = std::array<std::int16_t, kPointsPerTrace>;
    EXPECT_EQ(c.points[0], (Trace{0, 16, 32, 44 * 16, 64, 80, 96, 112, 128, 144}));  // 300 counts as 44
    EXPECT_EQ(c.points[2], (Trace{160, 176, 192, 208, 224, 224, 256, 272, 288, 304}));  // "x" repeats 14
    EXPECT_EQ(c.points[4], (Trace{20, 21, 22, 23, 24, 25, 26, 27, 28, 29}));
    EXPECT_EQ(c.points[1], (Trace{480, 496, 512, 528, 544, 560, 576, 592, 608, 624}));
    EXPECT_EQ(c.points[3], (Trace{40, 41, 42, 43, 44, 45, 46, 47, 48, 49}));
    EXPECT_EQ(c.points[5], (Trace{101, 103, 105, 107, 109, 111, 113, 115, 117, 119}));
    EXPECT_EQ(c.points[6], (Trace{60, 61, 62, 63, 64, 65, 66, 67, 68, 69}));
    EXPECT_EQ(c.points[7][0], 500);  // untouched traces keep the new calibration's points
}

TEST_F(LegacyImportTest, NumbersThatAreMissingFallBackAsTheOldProgramDid) {
    auto lines = OldLines();
    lines[9] = "abc";                    // axle ratio: default 3.27
    lines[10] = "0";                     // tyre: not stored
    lines[11] = "-2";                    // sensor factor: not stored
    lines[kBaseTpsLine] = "x";           // holder starts at 40
    lines[kBaseTpsLine + 1] = "";        // the previous field's value again
    lines[kFirstBitLine] = "?";          // holder was reset to 0 for the first flag
    lines[kSecondBitLine] = "7";
    lines[kWheelDriveLine] = "1";
    lines[kLowRangeLine] = "0";
    lines[kTableLine] = "none";          // the first table value without a number: 0
    ASSERT_TRUE(OpenCalibrationData(*doc, OldFile(lines)));
    EXPECT_FLOAT_EQ(Float("AxleRatio"), 3.27f);
    EXPECT_FLOAT_EQ(Float("TireDiam"), 0.0f);
    EXPECT_FLOAT_EQ(Float("SSFactor"), 0.0f);
    EXPECT_EQ(Int("BaseTPS"), 40);
    EXPECT_EQ(Int("CCOssOn"), 40);
    EXPECT_EQ(Int("SYCONFIG"), 0x0014 | 0x08);
    EXPECT_FLOAT_EQ(Float("LowRangeRatio"), 2.72f);
    EXPECT_FLOAT_EQ(Float("AuxRangeRatio"), 1.0f);  // low range not calibrated
    EXPECT_EQ(doc->calibration().points[0][0], 0);
}

TEST_F(LegacyImportTest, NumbersThatAreNotFiniteAreRefusedByName) {
    auto lines = OldLines();
    lines[9] = "inf";
    lines[10] = "1e39";  // beyond a float
    lines[11] = "nan";
    lines[kLastLine - 2] = "-inf";
    ASSERT_TRUE(OpenCalibrationData(*doc, OldFile(lines)));
    for (const char* name : {"AxleRatio", "TireDiam", "SSFactor", "LowRangeRatio", "AuxRangeRatio"})
        EXPECT_TRUE(std::isfinite(Float(name))) << name;
    std::vector<std::string> refused;
    for (const auto& m : host.messages)
        if (m.caption == "Invalid Value") refused.push_back(m.text.substr(0, m.text.find(" is not")));
    EXPECT_EQ(refused, (std::vector<std::string>{"The value inf given for AxleRatio", "The value inf given for TireDiam"}));
}

TEST_F(LegacyImportTest, OnlyAFourL80ETypeForcesTheFirstOptionBit) {
    std::string def = Fixture("Legacy4L80E.def");
    def.replace(def.find("4L80E Heavy Duty"), 16, "TH400");
    dir.Write("PID2/3/TH400.def", def);
    dir.Write(kLegacyMapFile, "TH400=TH400.def\n");
    auto lines = OldLines();
    lines[1] = "\"TH400\"";
    ASSERT_TRUE(OpenCalibrationData(*doc, OldFile(lines)));
    EXPECT_EQ(Int("SYCONFIG2"), 0x82);
    lines[kLastLine] = "1";
    ASSERT_TRUE(OpenCalibrationData(*doc, OldFile(lines)));
    EXPECT_EQ(Int("SYCONFIG2"), 0x83);
}

TEST_F(LegacyImportTest, ACommentOverSeveralLinesIsJoinedBySpaces) {
    auto lines = OldLines();
    lines[0] = "\"first";
    lines.insert(lines.begin() + 1, {"  second line ", "third\""});
    ASSERT_TRUE(OpenCalibrationData(*doc, OldFile(lines)));
    EXPECT_EQ(Text("UserComment"), "first   second line  third");
}

TEST_F(LegacyImportTest, WithoutAMapOrAMatchTheCalibrationStaysGeneric) {
    std::filesystem::remove(dir.File(kLegacyMapFile));
    ASSERT_TRUE(OpenCalibrationData(*doc, OldFile(OldLines())));
    EXPECT_EQ(doc->calibration().application.DefinitionFileName, "generic.init");
    EXPECT_EQ(doc->calibration().application.TransmissionType, "4L80E");
    // The first variable the generic definition lacks is reported by name, the others are
    // counted in the status bar, then the notice.
    EXPECT_EQ(host.messages.front().caption, "UserComment");
    ASSERT_FALSE(host.statuses.empty());
    EXPECT_NE(host.statuses.back().find("more messages like \"Definition file error:\" were not shown"),
              std::string::npos);
    EXPECT_EQ(host.messages.back().caption, "Old File Format Detected");
    // Unbound traces convert to 0; the seventh table is copied as it is.
    EXPECT_EQ(doc->calibration().points[0][5], 0);
    EXPECT_EQ(doc->calibration().points[6][5], 65);

    host.messages.clear();
    dir.Write(kLegacyMapFile, "4L60E=KV4.def\n");
    ASSERT_TRUE(OpenCalibrationData(*doc, OldFile(OldLines())));
    EXPECT_EQ(doc->calibration().application.DefinitionFileName, "");
    EXPECT_TRUE(doc->reader().text().empty());
}

TEST_F(LegacyImportTest, AFileThatEndsEarlyIsRefusedWithoutChange) {
    const auto lines = OldLines();
    const std::string before = CalibrationFileBytes(*doc);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::vector<std::string> cut(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(n));
        host.messages.clear();
        ASSERT_FALSE(OpenCalibrationData(*doc, OldFile(cut))) << n;
        ASSERT_EQ(host.messages.size(), 1u);
        ASSERT_EQ(host.messages[0].caption, kDamagedFileCaption);
        ASSERT_TRUE(CalibrationFileBytes(*doc) == before) << n;
    }
    // A comment that never closes runs to the end of the file.
    ASSERT_FALSE(OpenCalibrationData(*doc, "\"QVR01\"\r\n\"open comment\r\nand more\r\n"));
}

TEST(LegacyMapFile, MatchesTheTypeAsAPrefixIgnoringCase) {
    testing::TempDir dir;
    const std::string map =
        dir.Write("map", "# comment\n4l80e-hd = heavy.def \n4L80E\nth400=th.def\n4L80E=plain.def\n=x\n");
    std::string result = "old";
    EXPECT_TRUE(LookupMapFile(map, "4L80E", result));
    EXPECT_EQ(result, "heavy.def");  // the first line that starts with the type wins
    EXPECT_TRUE(LookupMapFile(map, "TH400", result));
    EXPECT_EQ(result, "th.def");
    EXPECT_TRUE(LookupMapFile(map, "700R4", result));
    EXPECT_EQ(result, "");
    EXPECT_FALSE(LookupMapFile(dir.File("none"), "4L80E", result));
}

}  // namespace
}  // namespace korvath
