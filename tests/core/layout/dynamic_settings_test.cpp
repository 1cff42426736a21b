// The decisions behind the settings-page controls, without widgets: the number an edit box keeps
// and shows, a formula button's result, and the text a text box is bound to.

#include <gtest/gtest.h>

#include <algorithm>

#include "layout/bound_text.h"
#include "support/document_fixture.h"
#include "layout/formula_action.h"
#include "layout/numeric_setting.h"

namespace korvath::testing {
namespace {

class NumericSettingTest : public DocumentTest {
protected:
    // A page section with one "EditBox" block holding `keys`; the block is selected.
    void SelectEditBox(const std::string& keys) {
        ASSERT_TRUE(LoadDefinition(Declarations("Gear I16 1:0 Def:1\nGear2 I16 1:2 Def:0\nRatio F32 1:4 Def:1\n"
                                                "AB F32 1:8 Def:0\n") +
                                   "[Page]\nUserOption EditBox {\nLogicalName Field\nDisplayName Field\n" + keys +
                                   "}\n"));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        ASSERT_TRUE(doc->reader().FindSection("[Page]", 0));
        std::string label;
        ASSERT_TRUE(doc->reader().FindBlock("UserOption", label, 0));
        host.messages.clear();
    }
    bool SetupField() { return setting.Setup(*doc, "[Page]", "Field"); }
    bool Type(const char* text) { return setting.Commit(*doc, "[Page]", "Field", text); }
    std::string Shown() { return setting.DisplayText(*doc); }
    std::string Property() {
        std::string value;
        doc->properties().AccessProperty("[Page]", "Field", value, PropertyMode::Read);
        return value;
    }
    NumericSetting setting;
};

TEST_F(NumericSettingTest, BareBlockKeepsItsNumberInThePropertyStore) {
    SelectEditBox("");
    EXPECT_FALSE(SetupField());
    EXPECT_FALSE(setting.HasTargetVariable());
    EXPECT_EQ(Shown(), "1.00");
    EXPECT_EQ(Property(), "1");
    setting.Step(*doc, "[Page]", "Field", 1);
    EXPECT_EQ(Shown(), "2.00");
    EXPECT_TRUE(doc->IsModified());
    setting.Step(*doc, "[Page]", "Field", 5);
    EXPECT_EQ(Shown(), "7.00");
    EXPECT_EQ(Property(), "7");

    // A field built again starts from the stored number.
    NumericSetting again;
    again.Setup(*doc, "[Page]", "Field");
    EXPECT_FLOAT_EQ(again.value, 7.0f);
}

TEST_F(NumericSettingTest, TypedNumbersAreClampedToTheLimits) {
    SelectEditBox("");
    SetupField();
    EXPECT_TRUE(Type("20000"));
    EXPECT_EQ(Shown(), "10000.00");
    EXPECT_TRUE(Type("0"));
    EXPECT_EQ(Shown(), "0.10");
    // Letters, and numbers that are none, store nothing.
    doc->SetModifiedFlag(false);
    EXPECT_FALSE(Type("abc"));
    EXPECT_FALSE(Type("nan"));
    EXPECT_FALSE(Type("inf"));
    EXPECT_EQ(Shown(), "0.10");
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(NumericSettingTest, IntegerTargetRoundsByAddingAHalfAndTruncating) {
    SelectEditBox("StoreFormula I@Gear = x\nMinValue -10\n");
    EXPECT_FALSE(SetupField());
    EXPECT_FLOAT_EQ(setting.value, 1.0f);  // from the variable
    Type("2.6");
    EXPECT_EQ(doc->FindIntVariable("Gear").get(), 3);
    EXPECT_EQ(Shown(), "3.00");
    Type("-2.6");
    EXPECT_EQ(doc->FindIntVariable("Gear").get(), -2);
    EXPECT_EQ(Shown(), "-2.00");
    EXPECT_EQ(Property(), "");  // a variable holds it, not the store
}

TEST_F(NumericSettingTest, TwoCharacterNameIsNoTargetButIsWrittenToo) {
    SelectEditBox("StoreFormula F@AB = x\nDefValue 4\n");
    std::string stored = "6";
    doc->properties().AccessProperty("[Page]", "Field", stored, PropertyMode::Write);
    SetupField();
    EXPECT_FALSE(setting.HasTargetVariable());
    EXPECT_FLOAT_EQ(setting.value, 6.0f);
    EXPECT_FLOAT_EQ(doc->FindFloatVariable("AB").get(), 6.0f);
    Type("9");
    EXPECT_EQ(Property(), "9");
    EXPECT_FLOAT_EQ(doc->FindFloatVariable("AB").get(), 9.0f);
}

TEST_F(NumericSettingTest, DisplayAndStoreFormulasMakeAPair) {
    SelectEditBox("DisplayFormula %.0f rpm = x*100\nStoreFormula F@Ratio = x/100\n"
                  "StoreFormula2 I@Gear2 = x*5000\n");
    SetupField();
    EXPECT_EQ(Shown(), "100 rpm");
    Type("800");
    EXPECT_FLOAT_EQ(doc->FindFloatVariable("Ratio").get(), 8.0f);
    EXPECT_EQ(Shown(), "800 rpm");
    // The further targets get their own formula of the value, without the limits.
    EXPECT_EQ(doc->FindIntVariable("Gear2").get(), 40000 - 65536);
}

TEST_F(NumericSettingTest, SetupTellsWhetherStoringTheStartingValueChangedTheCalibration) {
    SelectEditBox("StoreFormula I@Gear = x\nMaxValue 5\n");
    doc->FindIntVariable("Gear").set(9);
    EXPECT_TRUE(SetupField());
    EXPECT_EQ(doc->FindIntVariable("Gear").get(), 5);
    NumericSetting again;
    EXPECT_FALSE(again.Setup(*doc, "[Page]", "Field"));
}

TEST_F(NumericSettingTest, WheelStepsInWholeNotchesAndKeepsTheRest) {
    EXPECT_EQ(setting.TakeWheelSteps(60), 0);
    EXPECT_EQ(setting.TakeWheelSteps(60), 1);
    EXPECT_EQ(setting.wheelRemainder, 0);
    EXPECT_EQ(setting.TakeWheelSteps(-240), -2);
    EXPECT_EQ(setting.TakeWheelSteps(-130), -1);
    EXPECT_EQ(setting.wheelRemainder, -10);
    for (int i = 0; i < 1000; ++i) setting.TakeWheelSteps(INT32_MAX);  // no overflow
    EXPECT_LT(std::abs(setting.wheelRemainder), NumericSetting::kWheelStep);
}

TEST_F(NumericSettingTest, HostileFormatsShowNothing) {
    SelectEditBox("DisplayFormula %s%s%n = x\n");
    SetupField();
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(FormatOneDouble("%d", 1.0), "");
    EXPECT_EQ(FormatOneDouble("%.3f%%", 1.5), "1.500%");
}

class FormulaActionTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_TRUE(LoadDefinition(Declarations("Gear I16 1:0 Def:3\n")));
        ASSERT_TRUE(doc->ReadDeclarations(1));
    }
    FormulaButtonResult Run(const std::string& formula, float max = 10000.0f,
                            const std::string& rangeFail = "Value %.1f is not between %.1f and %.1f.") {
        return RunFormulaAction(*doc, parser, {formula, rangeFail, 0.1f, max});
    }
    FormulaParser parser;
};

TEST_F(FormulaActionTest, ResultIsFormattedAndCheckedAgainstTheLimits) {
    FormulaButtonResult r = Run("%.1f = 3*4");
    EXPECT_EQ(r.outcome, FormulaButtonResult::Outcome::Accepted);
    EXPECT_EQ(r.text, "12.0");
    r = Run("%.1f = 3*4", 10);
    EXPECT_EQ(r.outcome, FormulaButtonResult::Outcome::OutOfRange);
    EXPECT_EQ(r.message, "Value 12.0 is not between 0.1 and 10.0.");
    EXPECT_EQ(Run("%.1f = 3*4", 12).outcome, FormulaButtonResult::Outcome::Accepted);
    EXPECT_EQ(Run("%.2f = 0.1").outcome, FormulaButtonResult::Outcome::Accepted);
    // References are read from the calibration.
    EXPECT_EQ(Run("%.0f = I:Gear: * 2").text, "6");
    EXPECT_EQ(Run("%.0f = I:Missing: * 2").outcome, FormulaButtonResult::Outcome::Unresolved);
}

TEST_F(FormulaActionTest, HostileFormatsGiveNoText) {
    EXPECT_EQ(Run("%s%s%n = 3").text, "");
    // A refused or missing range format still says why the value was not entered.
    for (const char* rangeFail : {"%s%s%n", ""}) {
        FormulaButtonResult r = Run("%.1f = 3*4", 10, rangeFail);
        EXPECT_EQ(r.outcome, FormulaButtonResult::Outcome::OutOfRange);
        EXPECT_EQ(r.message, "The result 12 is outside the limits 0.1 to 10, so it was not entered.");
    }
    EXPECT_EQ(SplitFormula("=x").expression, "=x");
    EXPECT_EQ(SplitFormula("  %5.2f   =  x * 2 ").format, "  %5.2f");
}

class BoundTextTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_TRUE(LoadDefinition(Declarations("Note STR 2:0 Def:first words\n")));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        doc->SetModifiedFlag(false);
    }
};

TEST_F(BoundTextTest, VariableOrPropertyHoldsWhatWasTyped) {
    const TextBinding variable{"[Page]", "Notes", "Note"};
    EXPECT_EQ(ReadBoundText(*doc, variable).value_or("?"), "first words");
    EXPECT_FALSE(WriteBoundText(*doc, variable, "first words"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(WriteBoundText(*doc, variable, "line one\nline two; with: marks"));
    EXPECT_EQ(ReadBoundText(*doc, variable).value_or("?"), "line one\nline two; with: marks");
    EXPECT_TRUE(doc->IsModified());

    // The property store's own separators are kept escaped there, so the text comes back whole.
    const TextBinding property{"[Page]", "Notes", ""};
    EXPECT_EQ(ReadBoundText(*doc, property).value_or("?"), "");
    EXPECT_TRUE(WriteBoundText(*doc, property, "a;b:c"));
    EXPECT_EQ(ReadBoundText(*doc, property).value_or("?"), "a;b:c");
    EXPECT_FALSE(WriteBoundText(*doc, property, "a;b:c"));
    EXPECT_TRUE(WriteBoundText(*doc, {"[Page]", "Other", ""}, "x:"));
    EXPECT_EQ(ReadBoundText(*doc, property).value_or("?"), "a;b:c");
    EXPECT_EQ(ReadBoundText(*doc, {"[Page]", "Other", ""}).value_or("?"), "x:");

    host.messages.clear();
    const TextBinding missing{"[Page]", "Notes", "NoSuchText"};
    EXPECT_FALSE(ReadBoundText(*doc, missing).has_value());
    EXPECT_FALSE(WriteBoundText(*doc, missing, "lost"));
    EXPECT_EQ(host.messages.size(), 2u);  // the lookup reports each time
}

TEST_F(BoundTextTest, EveryCharacterComesBackAndOlderStoresReadTheSame) {
    std::string every;
    for (char c = ' '; c <= '~'; ++c) every += c;
    every += "\n\t\x1b\x1b" "c caf\xc3\xa9 \xe2\x82\xac";  // line break, tab, ESC pairs, UTF-8
    const TextBinding notes{"[Page]", "Notes", ""};
    const TextBinding after{"[Page]", "After", ""};
    // Longer than an appended value may be: the first write keeps it whole.
    EXPECT_TRUE(WriteBoundText(*doc, notes, every));
    EXPECT_TRUE(WriteBoundText(*doc, after, "next"));
    EXPECT_EQ(ReadBoundText(*doc, notes).value_or("?"), every);
    EXPECT_EQ(ReadBoundText(*doc, after).value_or("?"), "next");
    // The store itself holds no separator of the text.
    const std::string& store = doc->properties().text();
    EXPECT_EQ(std::count(store.begin(), store.end(), ';'), 2);
    EXPECT_EQ(std::count(store.begin(), store.end(), ':'), 4);

    // A store written before the escapes (its marks already spaces, a backslash kept) reads as it was.
    doc->properties().SetText(":[Page]:Notes Customer  J. Smith\\c 100%; :[Page]:Other 12; ");
    EXPECT_EQ(ReadBoundText(*doc, notes).value_or("?"), "Customer  J. Smith\\c 100%");
    EXPECT_EQ(UnescapePropertyText("lone \x1bx and end \x1b"), "lone \x1bx and end \x1b");
}

}  // namespace
}  // namespace korvath::testing
