// Comparing two calibrations, reading and setting single values by name, and the CSV rows.

#include <algorithm>

#include "calibration/calibration_diff.h"
#include "calibration/calibration_values.h"
#include "calibration/curve_export.h"
#include "support/document_fixture.h"

namespace korvath::testing {
namespace {

const std::string kVariables =
    "Gear I16 1:0 Def:2\nRatio F32 1:4 Def:3.5\nFlags U8 1:8 Def:7\nBig I32 1:10 Def:1\n"
    "Label STR 2:0:x Def:Stock\nT T8 10:3 NVM:20:0x10:1\n";
const std::string kPage =
    "[Shift Page]\nEditBox Gears {\nLogicalName GearBox\nStoreFormula I@Gear = x\nMinValue 1\nMaxValue 6\n}\n"
    "EditBox Ratios {\nLogicalName RatioBox\nStoreFormula F@ Ratio = x/100\n}\n"
    "EditBox Wrong {\nLogicalName WrongKind\nStoreFormula F@Gear = x\nMaxValue 4\n}\n";

class CompareTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        other = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, dir.path());
        ASSERT_TRUE(Load(*doc, Declarations(kVariables) + kPage));
        ASSERT_TRUE(Load(*other, Declarations(kVariables) + kPage));
    }
    bool Load(CQRNDoc& d, const std::string& text) {
        d.ResetVariableTable(2);
        return d.LoadDefinitionFile(dir.Write("d.def", text)) && d.ReadDeclarations(1);
    }
    std::unique_ptr<CQRNDoc> other;
};

TEST_F(CompareTest, EqualCalibrationsDifferInNothing) {
    CalibrationDiff diff = CompareCalibrations(*doc, *other, false);
    EXPECT_FALSE(diff.differs);
    EXPECT_TRUE(diff.items.empty());

    diff = CompareCalibrations(*doc, *other, true);
    EXPECT_FALSE(diff.differs);
    // 15 strings, 6 variables, 500 points, 50 visibility flags, the linking, the definition.
    EXPECT_EQ(diff.items.size(), 15u + 6u + 500u + 50u + 1u + 1u);
    EXPECT_TRUE(std::all_of(diff.items.begin(), diff.items.end(), [](const DiffItem& i) { return i.equal; }));
}

TEST_F(CompareTest, EachKindOfChangeIsReportedWithBothValues) {
    ASSERT_TRUE(Load(*other, Declarations(kVariables + "Extra I16 1:20 Def:9\n") + kPage));
    ASSERT_TRUE(other->SetIntVariable("Gear", 4));
    other->calibration().points[3][7] = 120;
    other->calibration().viewState.SetTraceVisible(5, true);
    other->calibration().application.TransmissionType = "4L60E";
    doc->properties().SetText(":Page:Shared 1; :Page:Mine 2; ");
    other->properties().SetText(":Page:Shared 3; :Page:Theirs 4; ");

    const CalibrationDiff diff = CompareCalibrations(*doc, *other, false);
    ASSERT_TRUE(diff.differs);
    auto find = [&](DiffKind kind, const std::string& name) -> const DiffItem* {
        for (const DiffItem& i : diff.items)
            if (i.kind == kind && i.name == name) return &i;
        return nullptr;
    };
    const DiffItem* gear = find(DiffKind::Variable, "Gear");
    ASSERT_NE(gear, nullptr);
    EXPECT_EQ(gear->type, "I16");
    EXPECT_EQ(gear->a, DiffValue{std::int64_t{2}});
    EXPECT_EQ(gear->b, DiffValue{std::int64_t{4}});
    const DiffItem* extra = find(DiffKind::Variable, "Extra");
    ASSERT_NE(extra, nullptr);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(extra->a));

    const DiffItem* point = find(DiffKind::TracePoint, "");
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->trace, 3);
    EXPECT_EQ(point->point, 7);
    EXPECT_EQ(point->b, DiffValue{std::int64_t{120}});
    EXPECT_TRUE(std::holds_alternative<double>(point->displayB));

    const DiffItem* shared = find(DiffKind::Property, ":Page:Shared");
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->a, DiffValue{std::string("1")});
    EXPECT_EQ(shared->b, DiffValue{std::string("3")});
    ASSERT_NE(find(DiffKind::Property, ":Page:Mine"), nullptr);
    ASSERT_NE(find(DiffKind::Property, ":Page:Theirs"), nullptr);

    const DiffItem* definition = find(DiffKind::Definition, "definitionText");
    ASSERT_NE(definition, nullptr);
    EXPECT_EQ(definition->b, DiffValue{std::string("Extra I16 1:20 Def:9")});
    EXPECT_EQ(definition->a, DiffValue{std::string("[Shift Page]")});
    EXPECT_EQ(definition->point, 18);  // the header, 10 layout lines, 6 variables, then the new line

    ASSERT_NE(find(DiffKind::Visibility, "visible"), nullptr);
    ASSERT_NE(find(DiffKind::Application, "TransmissionType"), nullptr);
    EXPECT_EQ(diff.items.size(), 9u);

    const std::string text = DiffText(diff);
    EXPECT_NE(text.find("variable Gear (I16)"), std::string::npos) << text;
    EXPECT_NE(text.find("trace 3, Point 7"), std::string::npos) << text;
    EXPECT_NE(text.find("definition line 18"), std::string::npos) << text;
}

TEST(PropertyEntries, ReadsEntriesAndSkipsDamagedOnes) {
    const auto entries = PropertyEntries(":A:x 1; :B:y two words; :C:broken :D:z 5; ");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], (std::pair<std::string, std::string>{":A:x", "1"}));
    EXPECT_EQ(entries[1].second, "two words");
    EXPECT_EQ(entries[2].first, ":D:z");
    EXPECT_TRUE(PropertyEntries("").empty());
    // A text box's escaped separators are shown as typed.
    EXPECT_EQ(PropertyEntries(":T:Notes Customer\x1b" "c J. Smith\x1b" "s done; ")[0].second, "Customer: J. Smith; done");
}

TEST_F(CompareTest, SetChecksEveryTypeAndLeavesTheCalibrationOnFailure) {
    const Calibration before = doc->calibration();
    for (const char* bad : {"Nobody=1", "Gear=40000", "Gear=2.5", "Gear=", "Flags=256", "Flags=-1",
                            "Ratio=abc", "Ratio=1e39", "Ratio=nan", "Big=4294967296", "T=1", "Label=a\nb",
                            "trace.50[0]=1", "trace.3[10]=1", "trace.3[1]=70000", "=5", "Gear"}) {
        const SetResult r = SetCalibrationValue(*doc, bad);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_FALSE(r.error.empty()) << bad;
    }
    EXPECT_EQ(doc->calibration().points, before.points);
    for (int i = 0; i < doc->variables().count; ++i)
        EXPECT_EQ(doc->variables().slots[i].value, before.variables.slots[i].value) << i;
    EXPECT_EQ(doc->variables().slots[6].name, "Stock");  // the text slot after Label

    for (const char* good : {"Gear=-3", "Flags=0xFF", "Big=-2147483648", "Ratio=4.1", "Label=Tow pack",
                             "trace.3[9]=-5"})
        EXPECT_TRUE(SetCalibrationValue(*doc, good).ok) << good;
    DiffValue v;
    std::string error;
    ASSERT_TRUE(GetCalibrationValue(*doc, "Flags", v, error));
    EXPECT_EQ(v, DiffValue{std::int64_t{255}});
    ASSERT_TRUE(GetCalibrationValue(*doc, "Big", v, error));
    EXPECT_EQ(v, DiffValue{std::int64_t{INT32_MIN}});
    ASSERT_TRUE(GetCalibrationValue(*doc, "Label", v, error));
    EXPECT_EQ(v, DiffValue{std::string("Tow pack")});
    ASSERT_TRUE(GetCalibrationValue(*doc, "trace.3[9]", v, error));
    EXPECT_EQ(v, DiffValue{std::int64_t{-5}});
    EXPECT_FALSE(GetCalibrationValue(*doc, "T", v, error));
    EXPECT_FALSE(GetCalibrationValue(*doc, "trace.3", v, error));
}

TEST_F(CompareTest, ValuesAnEditBoxWouldClampAreNoted) {
    SetResult r = SetCalibrationValue(*doc, "Gear=9");
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.notices.size(), 1u);  // the float box that names Gear does not reach an integer
    EXPECT_NE(r.notices[0].find("GearBox"), std::string::npos) << r.notices[0];
    EXPECT_NE(r.notices[0].find("[Shift Page]"), std::string::npos) << r.notices[0];
    EXPECT_NE(r.notices[0].find("to 6"), std::string::npos) << r.notices[0];
    EXPECT_TRUE(SetCalibrationValue(*doc, "Gear=6").notices.empty());

    // Default limits 0.1 ... 10000, and a space after the "@".
    r = SetCalibrationValue(*doc, "Ratio=0.05");
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_NE(r.notices[0].find("RatioBox"), std::string::npos);
    EXPECT_TRUE(SetCalibrationValue(*doc, "Ratio=3").notices.empty());
}

TEST_F(CompareTest, ExportRowsHoldBoundTracesAndScalars) {
    doc->variables().slots[0].name = "Gear, first";  // a name that needs quoting
    const auto rows = ExportRows(*doc);
    // No graph: no trace is bound, so only the scalars (not the text and the table).
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].kind, ExportRow::Kind::Variable);
    const std::string csv = ExportCsv(rows);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "kind,trace,name,p0,p1,p2,p3,p4,p5,p6,p7,p8,p9");
    EXPECT_NE(csv.find("variable,,\"Gear, first\",2\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("variable,,Ratio,3.5\n"), std::string::npos) << csv;
}

}  // namespace
}  // namespace korvath::testing
