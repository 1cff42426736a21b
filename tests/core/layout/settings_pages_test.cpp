// The settings pages without widgets: where controls stand, which variant and which option state
// a page shows and writes, the sheets' page lists, and the transmission-type list and switch.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "definition/definition_reader.h"
#include "layout/settings_page_model.h"
#include "layout/settings_sheet_pages.h"
#include "support/document_fixture.h"

namespace korvath::testing {
namespace {

class SettingsPagesTest : public DocumentTest {
protected:
    void Load(const std::string& pages) {
        ASSERT_TRUE(LoadDefinition(Declarations("A U8 1:0 Def:0\nB U8 1:1 Def:0\nC U8 1:2 Def:0\n") + pages));
        ASSERT_TRUE(doc->ReadDeclarations(1));
    }
    std::vector<PageControl> Build(const std::string& section, const std::string& name = {}) {
        std::vector<PageControl> made;
        layout = SettingsPageLayout{};
        BuildPageControls(*doc, section, name, layout, [&](const PageControl& c) { made.push_back(c); });
        return made;
    }
    int Var(const char* name) { return doc->FindIntVariable(name).get(); }
    SettingsPageLayout layout;
};

constexpr const char* kVariants =
    "[Conv]\nLogicalName A1\nDisplayName First\nBitValFixed @A I:1\n"
    "UserOption CheckBox {\nLogicalName X\n}\n"
    "[Conv]\nLogicalName B2\nDisplayName Second\nBitValFixed @A I:2\nDisplayPic pics/b.bmp\nDescription Two\n";

TEST_F(SettingsPagesTest, SelectorChoosesByFixedValuesThenStoredChoiceThenFirst) {
    Load(kVariants);
    // Nothing holds, nothing stored: the first entry, whose fixed value is then written.
    SelectorResult r = BuildSelector(*doc, "[Conv]");
    ASSERT_EQ(r.variants.size(), 2u);
    EXPECT_EQ(r.variants[1].displayName, "Second");
    EXPECT_EQ(r.chosen, 0);
    EXPECT_EQ(Var("A"), 1);
    // The entry whose fixed value holds beats the stored choice that does not hold.
    doc->FindIntVariable("A").set(2);
    r = BuildSelector(*doc, "[Conv]");
    EXPECT_EQ(r.pageLogicalName, "B2");
    std::string stored;
    doc->properties().AccessProperty("[Conv]", "LogicalName", stored, PropertyMode::Read);
    EXPECT_EQ(stored, "B2");
    // A stored choice that does not hold still beats the first entry when none holds.
    doc->FindIntVariable("A").set(7);
    EXPECT_EQ(BuildSelector(*doc, "[Conv]").chosen, 1);
    // The selected occurrence's options and picture are the chosen one's.
    EXPECT_TRUE(Build("[Conv]", "B2").empty());
    EXPECT_EQ(Build("[Conv]", "A1").size(), 1u);
    EXPECT_EQ(layout.leftY(), 5 + 25);
    const PagePicture picture = ReadPictureAndDescription(*doc, "[Conv]", "B2");
    EXPECT_EQ(picture.description, "Two");
    EXPECT_EQ(picture.path, dir.path() + "/pics/b.bmp");
}

TEST_F(SettingsPagesTest, SingleOccurrenceHasNoListButWritesItsFixedValues) {
    Load("[One]\nLogicalName Only\nDisplayName Only one\nBitValFixed @B I:3\n[Plain]\nUserOption CheckBox {\n}\n");
    const SelectorResult r = BuildSelector(*doc, "[One]");
    EXPECT_TRUE(r.variants.empty());
    EXPECT_EQ(r.pageLogicalName, "Only");
    EXPECT_EQ(Var("B"), 3);
    EXPECT_EQ(BuildSelector(*doc, "[Plain]").pageLogicalName, "");
    // A section the definition lacks shows nothing.
    EXPECT_TRUE(Build("[Missing]").empty());
    EXPECT_TRUE(BuildSelector(*doc, "[Missing]").variants.empty());
}

TEST_F(SettingsPagesTest, CalibrationBeatsStoredChoiceWhichBeatsDefState) {
    Load("[P]\n"
         "UserOption ComboBox {\nLogicalName L\nDefState 5\nListTxt0 a\nListTxt1 b\nListTxt2 c\n"
         "BitValState0 @A I:4\nBitValState1 @A I:5\nBitValState2 @A I:6\n}\n"
         "UserOption CheckBox {\nLogicalName K\nxPosition 1\nBitValState0 @B I:9\nBitValState1 @B I:0\n}\n"
         "UserOption RadioButton {\nLogicalName R\nDefState 7\nTxtState0 x\nTxtState1 y\nTxtState2 z\n"
         "BitValState0 @C I:1\nBitValState1 @C I:2\nBitValState2 @C I:3\n}\n");
    std::int32_t zero = 0;
    doc->properties().AccessIntProperty("[P]", "K", zero, PropertyMode::Write);
    doc->SetModifiedFlag(false);
    const auto made = Build("[P]");
    ASSERT_EQ(made.size(), 3u);
    // DefState 5 names no entry: entry 0, and its list is written.
    EXPECT_EQ(made[0].state, 0);
    EXPECT_EQ(Var("A"), 4);
    // B is 0: the calibration says checked, whatever was stored; nothing more is written.
    EXPECT_EQ(made[1].state, 1);
    EXPECT_EQ(Var("B"), 0);
    // State 7 checks the first option and writes nothing.
    EXPECT_EQ(made[2].state, 0);
    EXPECT_EQ(made[2].entries.size(), 3u);
    EXPECT_EQ(Var("C"), 0);
    EXPECT_EQ(made[2].radio.frame, (ControlRect{10, 70, 340, 170}));
    EXPECT_EQ(made[2].radio.options[2], (ControlRect{25, 140, 325, 160}));
}

TEST_F(SettingsPagesTest, GeometryFollowsColumnsSlotsAndConditions) {
    Load("[G]\n"
         "UserOption EditBox {\nLogicalName E1\n}\n"
         "UserOption CheckBox {\nLogicalName Hidden\nEnableCondition @A I:1\n}\n"
         "UserOption EditBox {\nLogicalName E2\nxPosition 2\n}\n"
         "UserOption EditBox {\nLogicalName E3\n}\n"
         "UserOption PushButton {\nLogicalName P\nxPosition 1\nySpace 7\n}\n"
         "UserOption Unknown {\nySpace 30\n}\n"
         "UserOption TextBox {\nLogicalName T\nxPosition 4\n}\n");
    const auto made = Build("[G]");
    ASSERT_EQ(made.size(), 5u);
    EXPECT_EQ(made[0].captioned.field, (ControlRect{10, 25, 150, 45}));
    // Beside the first edit box, on its row: the hidden check box took no space.
    EXPECT_EQ(made[1].captioned.label, (ControlRect{175, 5, 315, 25}));
    EXPECT_EQ(made[2].captioned.label, (ControlRect{10, 65, 150, 85}));
    EXPECT_EQ(made[3].rect, (ControlRect{350, 12, 490, 37}));
    // Full width, 300 high, below both columns (the unknown block moved the left one by 30).
    EXPECT_EQ(made[4].captioned.field, (ControlRect{10, 175, 690, 475}));
    EXPECT_EQ(layout.leftY(), 495);
    // Only a text box one row high takes Enter as the end of the edit.
    EXPECT_FALSE(TextBoxHoldsOneLine(made[4].captioned.field));
    EXPECT_TRUE(TextBoxHoldsOneLine(layout.PlaceTextBox(1, settings_layout::kFieldWidth).field));
}

TEST_F(SettingsPagesTest, SixtyOptionsOnOnePageAreAllPlaced) {
    std::string page = "[Many]\n";
    for (int i = 0; i < 60; ++i) page += "UserOption CheckBox {\nLogicalName K" + std::to_string(i) + "\n}\n";
    Load(page);
    const auto made = Build("[Many]");
    ASSERT_EQ(made.size(), 60u);
    EXPECT_EQ(made[59].rect.top, 5 + 59 * 25);
    EXPECT_EQ(layout.bottom(), 5 + 59 * 25 + 20);
    // Built again (another variant of the page) with one option: the page shrinks to it.
    layout.Reset(false);
    Load("[Few]\nUserOption CheckBox {\nLogicalName K\n}\n");
    BuildPageControls(*doc, "[Few]", {}, layout, [](const PageControl&) {});
    EXPECT_EQ(layout.bottom(), 5 + 20);
}

// The definitions kept as seeds of the window models' fuzz target: a space past int's range
// after a check box, and one far below zero before an edit box beside it.
TEST_F(SettingsPagesTest, HostileSpacesStayWithinThePageBound) {
    constexpr int kBound = settings_layout::kMaxCoordinate;
    for (const char* seed : {"page-space-overflow.def", "page-space-underflow.def"}) {
        SCOPED_TRACE(seed);
        std::ifstream in(std::string(KORVATH_SOURCE_DIR) + "/tests/fuzz/corpus/window_models/" + seed);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_TRUE(LoadDefinition(text));
        const auto pages = ReadSheetPages(doc->reader(), SheetMode::SystemSettings, 0);
        ASSERT_TRUE(pages && !pages->empty());
        EXPECT_EQ((*pages)[0].section, "[Page]");
        const auto made = Build("[Page]");
        ASSERT_FALSE(made.empty());
        for (const PageControl& c : made)
            for (const ControlRect& r : {c.rect, c.captioned.label, c.captioned.field})
                for (int v : {r.top, r.bottom}) EXPECT_TRUE(v >= -kBound - 100 && v <= kBound + 100) << v;
        EXPECT_LE(layout.bottom(), kBound + 100);
        EXPECT_GE(layout.leftY(), -kBound);
        EXPECT_LE(layout.leftY(), kBound);
    }
    // Both boxes at the page's lowest row; the spacer takes the column back by the bound, to 0,
    // and the edit box stands a row above that, beside the box that would have been there.
    ASSERT_TRUE(LoadDefinition(Declarations("") + "[P]\nUserOption CheckBox {\nySpace 2147483647\n}\n"
                               "UserOption CheckBox {\n}\nUserOption Spacer {\nySpace -2147483648\n}\n"
                               "UserOption EditBox {\nxPosition 2\n}\n"));
    const auto made = Build("[P]");
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(made[0].rect.top, kBound);
    EXPECT_EQ(made[1].rect.top, kBound);
    EXPECT_EQ(made[2].captioned.label.top, -60);
    EXPECT_EQ(made[2].captioned.field.top, made[2].captioned.label.bottom);
    EXPECT_EQ(layout.bottom(), kBound + 20);
}

TEST_F(SettingsPagesTest, SheetListsTabsTitlesAndFallbacks) {
    Load("[ConfigurationDialog]\nTab0 ApplicationID\nText0 Kind\nTab1 One\nHelpText1 Help one\nText1 Title one\n"
         "Tab2 Two\nText2 Second\n[QuickTuneDialog]\n");
    auto pages = ReadSheetPages(doc->reader(), SheetMode::SystemSettings, 0);
    ASSERT_TRUE(pages && pages->size() == 3u);
    EXPECT_EQ((*pages)[0].section, "[ApplicationID]");
    EXPECT_EQ((*pages)[2].title, "Second");
    // HelpText1 stands before Text1: the title is found inside the help text's line.
    EXPECT_EQ((*pages)[1].title, "Help one");
    // A rebuild keeps page 0.
    EXPECT_EQ(ReadSheetPages(doc->reader(), SheetMode::SystemSettings, 3)->size(), 2u);
    // An empty wizard list has no pages; without any list the transmission page stands in.
    EXPECT_TRUE(ReadSheetPages(doc->reader(), SheetMode::SetupWizard, 0)->empty());
    Load("[Other]\n");
    pages = ReadSheetPages(doc->reader(), SheetMode::SystemSettings, 0);
    ASSERT_EQ(pages->size(), 3u);
    EXPECT_EQ((*pages)[0].title, "Transmission Type");
    EXPECT_TRUE((*pages)[1].section.empty());
    EXPECT_EQ((*pages)[2].title, std::string(70, ' '));
    EXPECT_EQ(ReadSheetPages(doc->reader(), SheetMode::SetupWizard, 0)->size(), 1u);
    EXPECT_FALSE(ReadSheetPages(doc->reader(), SheetMode::SetupWizard, 1));
    EXPECT_EQ(ReadSheetPages(doc->reader(), SheetMode::SystemSettings, 3)->size(), 2u);  // blanks only
    // Only Tab0 to Tab19 count.
    std::string many = "[ConfigurationDialog]\n";
    for (int i = 0; i < 25; ++i) many += "Tab" + std::to_string(i) + " S" + std::to_string(i) + "\n";
    Load(many);
    EXPECT_EQ(ReadSheetPages(doc->reader(), SheetMode::SystemSettings, 0)->size(), 20u);
}

TEST(SettingsSheetRules, WizardButtonsAndRefreshPlan) {
    EXPECT_EQ(WizardButtonsFor(0, 1), (WizardButtons{false, false, false}));
    EXPECT_EQ(WizardButtonsFor(0, 3), (WizardButtons{false, true, false}));
    EXPECT_EQ(WizardButtonsFor(1, 3), (WizardButtons{true, true, false}));
    EXPECT_EQ(WizardButtonsFor(2, 3), (WizardButtons{true, false, true}));
    const SettingsSheetRefresh none = PlanSettingsSheetRefresh(true, 1, "None");
    EXPECT_TRUE(none.rebuild && !none.visit && !none.open);
    const SettingsSheetRefresh closed = PlanSettingsSheetRefresh(false, 1, "None");
    EXPECT_FALSE(closed.rebuild || closed.open || closed.visit);
    const SettingsSheetRefresh real = PlanSettingsSheetRefresh(false, 1, "KV4 Four-Speed");
    EXPECT_TRUE(real.open && real.visit && !real.rebuild);
    EXPECT_FALSE(PlanSettingsSheetRefresh(true, 0, "KV4 Four-Speed").visit);
}

TEST_F(SettingsPagesTest, TransmissionListSkipsUntypedFilesAndSwitchesDefinitions) {
    const std::string decl = Declarations("A U8 1:0 Def:3\n");
    dir.Write("defs/a.def", "[ApplicationID]\nLogicalName     LA\nTransmissionType Alpha 4\nProdName P\nDescription dA\n" + decl);
    dir.Write("defs/b.def", "[ApplicationID]\nLogicalName LB\nTransmissionType Beta\nProdName P\nDescription dB\n" + decl);
    dir.Write("defs/untyped.def", "[ApplicationID]\nLogicalName LU\nProdName P\nDescription d\n" + decl);
    doc->SetDefinitionDirectory(dir.File("defs"));
    const auto choices = BuildTransmissionList(*doc);
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[1].transmissionType, "Beta");
    // Nothing of the calibration's matches; then a type of the same first four letters is applied.
    doc->calibration().application.TransmissionType = "None";
    EXPECT_EQ(SyncTransmissionChoice(*doc, choices).select, -1);
    doc->calibration().application.TransmissionType = "Alpha 5";
    EXPECT_EQ(SyncTransmissionChoice(*doc, choices).select, 0);
    EXPECT_TRUE(SyncTransmissionChoice(*doc, choices).apply);
    ASSERT_TRUE(ApplyTransmissionChoice(*doc, choices[1]));
    EXPECT_EQ(doc->calibration().application.LogicalName, "LB");
    EXPECT_EQ(doc->calibration().application.DefinitionFileName, "b.def");
    EXPECT_EQ(Var("A"), 3);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(SyncTransmissionChoice(*doc, choices).select, 1);
    EXPECT_FALSE(SyncTransmissionChoice(*doc, choices).apply);
    // Closing the page keeps the chosen values from now on.
    KeepChosenTransmission(*doc);
    EXPECT_EQ(doc->calibration().hardware.Get(HardwareField::ApplyDefaultsFlag), 0);
    // A file gone meanwhile changes nothing.
    DefinitionChoice gone = choices[0];
    gone.fileName = "gone.def";
    EXPECT_FALSE(ApplyTransmissionChoice(*doc, gone));
    EXPECT_EQ(doc->calibration().application.LogicalName, "LB");
}

TEST_F(SettingsPagesTest, PicturePathsLeadingOutOfTheProgramDirectoryShowNothing) {
    Load("[V]\nLogicalName V\nDisplayName V\nDisplayPic ../../etc/passwd\n[W]\nLogicalName W\nDisplayName W\n"
         "DisplayPic /etc/passwd\n");
    EXPECT_FALSE(ReadPictureAndDescription(*doc, "[V]", "V").path);
    EXPECT_FALSE(ReadPictureAndDescription(*doc, "[W]", "W").path);
}

}  // namespace
}  // namespace korvath::testing
