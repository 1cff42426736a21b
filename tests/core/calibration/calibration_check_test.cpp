#include <gtest/gtest.h>

#include "calibration/calibration_check.h"
#include "graph/graphengine.h"
#include "support/document_fixture.h"

namespace korvath {
namespace {

using testing::DocumentTest;

// The demo's KV4 definition, whose shift-down curves must stay below their shift-up curves.
class CalibrationCheckTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        doc->SetGraph(&graph);
        ASSERT_TRUE(doc->LoadDefinitionFile(KORVATH_SOURCE_DIR "/data/PID2/3/KV4.def"));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        ASSERT_GT(doc->BindGraphicalTuningTraces(), 0);
        doc->calibration().application.DefinitionFileName = "KV4.def";
        doc->calibration().application.TransmissionType = "KV4 Four-Speed";
    }
    CGraphEngine graph;
};

TEST_F(CalibrationCheckTest, ADownshiftAtOrAboveItsUpshiftIsNamedWithItsColumns) {
    EXPECT_TRUE(CheckCalibration(*doc, nullptr).empty());  // the demo's own curves are sound
    auto& points = doc->calibration().points;
    points[1][3] = points[0][3];      // equal counts: the gears would hunt
    points[3][6] = points[2][6] + 16;  // above
    points[3][8] = points[2][8] + 16;
    points[6][0] = 0;                  // pressure curves may cross: no pair
    const auto findings = CheckCalibration(*doc, nullptr);
    ASSERT_EQ(findings.size(), 2u) << FindingsText(findings);
    EXPECT_EQ(findings[0], "2-1 Down is at or above 1-2 Up at column 4: the gears would hunt between them.");
    EXPECT_EQ(findings[1], "3-2 Down is at or above 2-3 Up at columns 7, 9: the gears would hunt between them.");
}

TEST_F(CalibrationCheckTest, AnotherTransmissionInTheControllerIsNamedWithBoth) {
    const HeldCalibration kv5{"KV5.def", "KV5 Five-Speed"};
    const HeldCalibration same{"kv4.DEF", "KV4 Four-Speed"};
    EXPECT_TRUE(CheckCalibration(*doc, &same).empty());
    doc->calibration().application.DefinitionFileName = "KV5.def";
    doc->calibration().application.TransmissionType = "KV5 Five-Speed";
    const HeldCalibration kv4{"KV4.def", TransmissionOfDefinition(KORVATH_SOURCE_DIR "/data/PID2/3/KV4.def")};
    EXPECT_EQ(CheckCalibration(*doc, &kv4),
              std::vector<std::string>{"You are writing KV5 Five-Speed to a controller that holds KV4 Four-Speed."});
    EXPECT_TRUE(CheckCalibration(*doc, &kv5).empty());
}

TEST_F(CalibrationCheckTest, ASettingNoEditBoxWouldKeepIsNamedWithItsLimits) {
    struct Case {
        const char* variable;
        std::int16_t value;
        const char* finding;  // empty: within the limits of some box that stores it
    };
    // CCOssOn is stored by two variants of the converter page: 1200 ... 3500 and 800 ... 3000.
    const Case cases[] = {
        {"CCMaxTpsOn", 95, ""},
        {"CCMaxTpsOn", 120, "Lock below throttle (%) is 120, outside the 10 ... 95 its settings page allows (CCMaxTpsOn)."},
        {"CCOssOn", 1000, ""},
        {"CCOssOn", 3600, "Lock-up above is 3600, outside the 1200 ... 3500 its settings page allows (CCOssOn)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.variable) + " = " + std::to_string(c.value));
        IntVariableRef variable = doc->FindIntVariable(c.variable);
        ASSERT_TRUE(variable);
        const std::int16_t before = variable.get();
        variable.set(c.value);
        const auto findings = CheckCalibration(*doc, nullptr);
        EXPECT_EQ(findings, *c.finding ? std::vector<std::string>{c.finding} : std::vector<std::string>{});
        variable.set(before);
    }
}

}  // namespace
}  // namespace korvath
