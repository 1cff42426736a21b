// Curve values as clipboard text: what a paste takes from a spreadsheet, another table or
// korvath-cli export, and what it refuses.

#include <gtest/gtest.h>

#include "calibration/cell_text.h"
#include "calibration/settings_step_name.h"

namespace korvath {
namespace {

std::vector<std::optional<double>> Row(std::initializer_list<std::optional<double>> values) { return values; }

TEST(CellText, NumbersAreTypedWithPointDecimalsOnly) {
    double v = 0;
    std::string reason;
    EXPECT_TRUE(ParseCellNumber(" +23.5 ", v, reason));
    EXPECT_DOUBLE_EQ(v, 23.5);
    EXPECT_TRUE(ParseCellNumber("-1e2", v, reason));
    EXPECT_DOUBLE_EQ(v, -100);
    for (const char* bad : {"", "23,5", "23 mph", "abc", "nan", "inf", "1e400", "--2"}) {
        reason.clear();
        EXPECT_FALSE(ParseCellNumber(bad, v, reason)) << bad;
        EXPECT_NE(reason.find("is not a number"), std::string::npos) << bad;
    }
}

TEST(CellText, PastedTextTakesTabsCommasHeadersAndRowNames) {
    PastedCells p = ParseCellText("1\t2.5\t\r\n4\t5\t6\r\n\r\n");
    EXPECT_TRUE(p.error.empty());
    EXPECT_EQ(p.columns, 3);
    ASSERT_EQ(p.values.size(), 2u);
    EXPECT_EQ(p.values[0], Row({1.0, 2.5, std::nullopt}));
    EXPECT_EQ(p.values[1], Row({4.0, 5.0, 6.0}));

    // A spreadsheet's header line and row names.
    p = ParseCellText("Curve\tLow\tHigh\n1-2 Upshift\t10\t12\n2-3 Upshift\t20\t22\n");
    ASSERT_EQ(p.values.size(), 2u);
    EXPECT_EQ(p.values[1], Row({20.0, 22.0}));

    // korvath-cli export: the curve rows' points only.
    p = ParseCellText("kind,trace,name,p0,p1\ntrace,0,\"1-2, Upshift\",10,11\nvariable,,AxleRatio,3.73\n"
                      "trace,1,2-3 Upshift,20,21\n");
    EXPECT_TRUE(p.error.empty()) << p.error;
    ASSERT_EQ(p.values.size(), 2u);
    EXPECT_EQ(p.values[0], Row({10.0, 11.0}));
    EXPECT_EQ(p.values[1], Row({20.0, 21.0}));
}

TEST(CellText, AFieldThatIsNoNumberRefusesThePasteWithWhereAndWhy) {
    const PastedCells p = ParseCellText("1\t2\n3\tx\n");
    EXPECT_TRUE(p.values.empty());
    EXPECT_EQ(p.error, "Line 2, cell 2: \"x\" is not a number; nothing was pasted.");
    EXPECT_FALSE(ParseCellText("").error.empty());
    EXPECT_FALSE(ParseCellText("a\tb\n").error.empty());
}

TEST(CellText, CopiedTextReadsBackAsTheSameValues) {
    const std::string text = FormatCellText({{10, 12.5, 0.1}, {-3, 20000, 7}});
    EXPECT_EQ(text, "10\t12.5\t0.1\n-3\t20000\t7\n");
    const PastedCells p = ParseCellText(text);
    ASSERT_EQ(p.values.size(), 2u);
    EXPECT_EQ(p.values[0], Row({10.0, 12.5, 0.1}));
}

TEST(SettingsStepNames, AChangedChoiceIsNamedWithItsOldAndNewValue) {
    Calibration before, after;
    before.properties.SetText(":ShiftProgram:ShiftFirmness Soft; :Tcc:Lockup On; ");
    after.properties.SetText(":ShiftProgram:ShiftFirmness Firm; :Tcc:Lockup On; ");
    EXPECT_EQ(SettingsStepName(before, after), "ShiftFirmness: Soft \u2192 Firm");
    after.properties.SetText(":ShiftProgram:ShiftFirmness Firm; :Tcc:Lockup Off; :New:Entry 1; ");
    EXPECT_EQ(SettingsStepName(before, after), "ShiftFirmness: Soft \u2192 Firm (and 2 more)");

    Calibration b2 = before;
    b2.application.TransmissionType = "KV5 Five-Speed";
    before.application.TransmissionType = "KV4 Four-Speed";
    EXPECT_EQ(SettingsStepName(before, b2), "Transmission: KV4 Four-Speed \u2192 KV5 Five-Speed");
    EXPECT_EQ(SettingsStepName(before, before), "Change settings");
}

}  // namespace
}  // namespace korvath
