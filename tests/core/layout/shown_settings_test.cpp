// Every setting the pages show, read without widgets from hand-made definitions: what each kind of
// control shows, what of the calibration it names, and definitions that try to break the reading.

#include <gtest/gtest.h>

#include "layout/shown_settings.h"
#include "support/document_fixture.h"

namespace korvath::testing {
namespace {

class ShownSettingsTest : public DocumentTest {
protected:
    std::vector<ShownSetting> Read(const std::string& pages) {
        EXPECT_TRUE(LoadDefinition(Declarations("A U8 1:0 Def:1\nB U8 1:1 Def:0\nRatio F32 1:4 Def:3.5\n"
                                                "Name STR 2:0:x Def:Stock\n") +
                                   pages));
        EXPECT_TRUE(doc->ReadDeclarations(1));
        return ReadShownSettings(*doc);
    }
    static std::string Sheet(const std::string& sections) {
        return "[ConfigurationDialog]\nTab0 Main\nText0 Main Page\nTab1 Other\nText1 Other Page\n" + sections;
    }
};

TEST_F(ShownSettingsTest, EachKindOfControlShowsItsValueAndNamesWhatItShows) {
    const auto shown = Read(Sheet(
        "[Main]\n"
        "UserOption CheckBox {\nLogicalName Lock\nDisplayName &Lock up\nBitValState0 @A I:0\nBitValState1 @A I:1\n}\n"
        "UserOption ComboBox {\nLogicalName Mode\nDisplayName Mode:\nListTxt0 Soft\nListTxt1 Firm\n"
        "BitValState0 @B I:0\nBitValState1 @B I:1 @ A I:1\n}\n"
        "UserOption RadioButton {\nLogicalName Pick\nDisplayName Pick\nDefState 2\nTxtState0 One\nTxtState1 Two\n"
        "TxtState2 Three\n}\n"
        "UserOption EditBox {\nLogicalName Ratio\nDisplayName Ratio\nDisplayFormula %.2f : 1 = x\n"
        "StoreFormula F@Ratio = x\n}\n"
        "UserOption EditBox {\nLogicalName Kept\nDisplayName Kept number\nDisplayFormula %.0f = x\nDefValue 7\n}\n"
        "UserOption TextBox {\nLogicalName Name\nDisplayName Name\nTargetVar Name\n}\n"
        "UserOption TextBox {\nLogicalName Notes\nDisplayName Notes\n}\n"
        "UserOption PushButton {\nLogicalName Go\nDisplayName Go\n}\n"
        "[Other]\nUserOption CheckBox {\nLogicalName Lock\nDisplayName Lock again\n}\n"));
    ASSERT_EQ(shown.size(), 8u);
    auto at = [&](std::size_t i) { return std::make_pair(shown[i].caption, shown[i].value); };
    EXPECT_EQ(at(0), std::make_pair(std::string("Lock up"), std::string("on")));
    EXPECT_EQ(at(1), std::make_pair(std::string("Mode"), std::string("Soft")));
    EXPECT_EQ(at(2), std::make_pair(std::string("Pick"), std::string("Three")));
    EXPECT_EQ(at(3), std::make_pair(std::string("Ratio"), std::string("3.50 : 1")));
    EXPECT_EQ(at(4), std::make_pair(std::string("Kept number"), std::string("7")));
    EXPECT_EQ(at(5), std::make_pair(std::string("Name"), std::string("Stock")));
    EXPECT_EQ(at(6), std::make_pair(std::string("Notes"), std::string()));
    EXPECT_EQ(at(7), std::make_pair(std::string("Lock again"), std::string("off")));
    EXPECT_EQ(shown[0].page, "Main Page");
    EXPECT_EQ(shown[7].page, "Other Page");

    EXPECT_EQ(shown[0].sources, (std::vector<std::string>{"A", ":[Main]:Lock"}));
    EXPECT_EQ(shown[1].sources, (std::vector<std::string>{"B", "A", ":[Main]:Mode"}));
    EXPECT_EQ(shown[3].sources, (std::vector<std::string>{"Ratio"}));
    EXPECT_EQ(shown[4].sources, (std::vector<std::string>{":[Main]:Kept"}));
    EXPECT_EQ(shown[5].sources, (std::vector<std::string>{"Name"}));
    EXPECT_EQ(shown[6].sources, (std::vector<std::string>{":[Main]:Notes"}));
    // A is shown by the check box and the list: the check box, which shows nothing else, names it.
    EXPECT_EQ(FindShownSetting(shown, "A"), &shown[0]);
    EXPECT_EQ(FindShownSetting(shown, "B"), &shown[1]);
    EXPECT_EQ(FindShownSetting(shown, "Other Page", "Lock again"), &shown[7]);
    EXPECT_EQ(FindShownSetting(shown, "Main Page", "Lock again"), nullptr);
}

TEST_F(ShownSettingsTest, VariantListsAndTheTransmissionPageAreSettingsToo) {
    const auto shown = Read(
        "[ConfigurationDialog]\nTab0 ApplicationID\nText0 Transmission Type\nTab1 Conv\nText1 Converter\n"
        "[Conv]\nLogicalName C1\nDisplayName First\nBitValFixed @A I:1\n"
        "[Conv]\nLogicalName C2\nDisplayName Second\nBitValFixed @B I:1 @A I:0\n");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "Choose Transmission Type");
    EXPECT_EQ(shown[0].value, "None");  // the calibration names none
    EXPECT_EQ(shown[0].sources.front(), "application.TransmissionType");
    EXPECT_EQ(shown[1].caption, "Choose Converter");
    EXPECT_EQ(shown[1].value, "First");  // A is 1: the first variant holds
    EXPECT_EQ(shown[1].sources, (std::vector<std::string>{"A", "B", ":[Conv]:LogicalName"}));
}

TEST_F(ShownSettingsTest, BrokenDefinitionsShowWhatTheyCanAndNothingMore) {
    // No sheet at all: the transmission page alone.
    EXPECT_EQ(Read("").size(), 1u);
    // A page that does not exist, a list without entries, a state beyond the options, an edit box
    // whose format is hostile, and a caption of nothing but marks.
    const auto shown = Read(Sheet(
        "[Main]\n"
        "UserOption ComboBox {\nLogicalName Empty\nDisplayName Empty list\n}\n"
        "UserOption RadioButton {\nLogicalName Far\nDisplayName Far\nDefState 99\nTxtState0 Only\n}\n"
        "UserOption EditBox {\nLogicalName Bad\nDisplayName Bad\nDisplayFormula %s%s%n = x\n}\n"
        "UserOption CheckBox {\nLogicalName Marks\nDisplayName &&&\nBitValState0 @ \nBitValState1 @@@\n}\n"));
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].value, "");
    EXPECT_EQ(shown[1].value, "Only");
    EXPECT_EQ(shown[2].value, "");  // the format is refused, not printed
    EXPECT_EQ(shown[3].caption, "&");
    EXPECT_EQ(shown[3].sources, (std::vector<std::string>{":[Main]:Marks"}));  // "@" names no variable
}

}  // namespace
}  // namespace korvath::testing
