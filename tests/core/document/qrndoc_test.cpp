#include <gtest/gtest.h>

#include "platform/settings_keys.h"
#include "support/document_fixture.h"

namespace korvath {
namespace {

using testing::DocumentTest;

constexpr const char* kGeneric =
    "[ApplicationID]\nLogicalName Generic\nTransmissionType None\nProdName Demo\n"
    "[Declarations]\n$TotalBlockSize 64\n$DynamicBlockSize 32\n$NumDynamicTableCells 20\n"
    "$NumDynamicTableEntries 2\n$DynamicBlockStart 32\n$DynamicBlockLayout 0\n$DynamicInterpolation 1\n"
    "$StaticBlockSize 32\n$StaticBlockStart 0\n$NVMType 0\nGain I16 1:0 Def:12\n";

TEST_F(DocumentTest, NewCalibrationStartsFromTheGenericDefinitionOfTheRememberedController) {
    dir.Write("PID4/7/generic.init", kGeneric);
    settings.SetInt(settings::kHardwareProfile, settings::kDeviceType, 4);
    settings.SetInt(settings::kHardwareProfile, settings::kFirmwareVersion, 7);
    dir.Write("Package.ver", "b");
    CQRNDoc fresh({host, host, settings}, dir.path());

    EXPECT_EQ(fresh.definitionDirectory(), dir.path() + "/PID4/7");
    const auto& cal = fresh.calibration();
    EXPECT_EQ(cal.application.TransmissionType, "Generic" == std::string("x") ? "" : "None");
    EXPECT_EQ(cal.application.LogicalName, "Generic");
    EXPECT_EQ(cal.product.ProdName, "Demo");
    EXPECT_EQ(cal.application.DefinitionFileName, "generic.init");
    EXPECT_EQ(cal.variables.layout.TotalBlockSize, 64);
    EXPECT_EQ(fresh.FindIntVariable("Gain").get(), 12);
    EXPECT_TRUE(fresh.reader().text().empty());  // a new calibration holds no definition text

    const auto& hw = cal.hardware;
    EXPECT_EQ(hw.Get(HardwareField::DeviceType), 4);
    EXPECT_EQ(hw.Get(HardwareField::FirmwareVersion), 7);
    EXPECT_EQ(hw.Get(HardwareField::FirmwareVersionMinor), 3);
    EXPECT_EQ(hw.Get(HardwareField::HardwareVersion), 2);
    EXPECT_EQ(hw.Get(HardwareField::ApplyDefaultsFlag), 1);
    EXPECT_EQ(hw.Get(HardwareField::ProgramVersionMajor), 3);
    EXPECT_EQ(hw.Get(HardwareField::ProgramVersionMinor), 31);
    EXPECT_EQ(hw.Get(HardwareField::PackageRevision), 'b');

    EXPECT_EQ(cal.points[0][0], 1000);
    EXPECT_EQ(cal.points[0][9], 2800);
    EXPECT_EQ(cal.points[1][0], 500);
    EXPECT_EQ(cal.points[1][9], 1400);
    EXPECT_EQ(cal.points[49][9], 1400);
    for (int t = 0; t < kNumTraces; ++t) EXPECT_EQ(cal.viewState.TraceVisible(t), t < 2) << t;
    EXPECT_EQ(cal.viewState.TraceLinking(), 1);
}

TEST_F(DocumentTest, WithoutAProfileOrGenericDefinitionTheDemoDirectoryIsUsedSilently) {
    EXPECT_EQ(doc->definitionDirectory(), dir.path() + "/PID2/3");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(doc->calibration().hardware.Get(HardwareField::PackageRevision), 0);
    EXPECT_EQ(doc->calibration().application.TransmissionType, "None");
}

TEST_F(DocumentTest, AnIdentifiedControllerKeepsItsProfileAcrossNew) {
    auto& hw = doc->calibration().hardware;
    hw.Set(HardwareField::IdentifiedFlag, 1);
    hw.Set(HardwareField::IdentifiedSinceLoad, 1);
    hw.Set(HardwareField::DeviceType, 9);
    doc->InitNewCalibration();
    EXPECT_EQ(hw.Get(HardwareField::DeviceType), 9);
    EXPECT_EQ(doc->definitionDirectory(), dir.path() + "/PID9/3");
    hw.Set(HardwareField::IdentifiedSinceLoad, 0);
    doc->InitNewCalibration();
    EXPECT_EQ(hw.Get(HardwareField::DeviceType), 2);
    EXPECT_EQ(hw.Get(HardwareField::IdentifiedFlag), 0);
}

TEST_F(DocumentTest, LookupsReportUndeclaredNamesInTheCaption) {
    ASSERT_TRUE(LoadDefinition(Declarations("N I16 1:0 Def:5\nG F32 1:2 Def:2.5\nS STR 2:0:x\nT T8 10:4\n")));
    ASSERT_TRUE(doc->ReadDeclarations(1));
    host.messages.clear();
    EXPECT_EQ(doc->FindIntVariable("N").get(), 5);
    EXPECT_FLOAT_EQ(doc->FindFloatVariable("G").get(), 2.5f);
    EXPECT_EQ(doc->FindStringVariable("S"), doc->FindStringVariable("S"));
    EXPECT_EQ(doc->variables().slots[static_cast<std::size_t>(doc->FindStringVariable("S"))].name, "x");
    EXPECT_EQ(doc->FindTableVariable("T"), 4);
    EXPECT_TRUE(host.messages.empty());

    EXPECT_FALSE(doc->FindIntVariable("G"));  // a float is not an integer
    EXPECT_FALSE(doc->FindFloatVariable("n"));  // names are case-sensitive
    EXPECT_EQ(doc->FindStringVariable("N"), -1);
    EXPECT_EQ(doc->FindTableVariable("S"), -1);
    EXPECT_FALSE(doc->SetIntVariable("Missing", 1));
    ASSERT_EQ(host.messages.size(), 5u);
    EXPECT_EQ(host.messages[0].caption, "G");
    EXPECT_EQ(host.messages[0].text,
              "Definition file error:\n\nCould not resolve integer variable listed above. Please contact us for "
              "assistance.");
    EXPECT_NE(host.messages[1].text.find("floating point variable"), std::string::npos);
    EXPECT_NE(host.messages[2].text.find("string index"), std::string::npos);
    EXPECT_NE(host.messages[3].text.find("table index"), std::string::npos);

    // The pseudo-variable lives in the hardware block and shows no message.
    host.messages.clear();
    ASSERT_TRUE(doc->SetIntVariable("NumNVMTables", 2));
    EXPECT_EQ(doc->calibration().hardware.Get(HardwareField::NumNVMTables), 2);
    EXPECT_TRUE(host.messages.empty());
}

class Assignments : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_TRUE(LoadDefinition(Declarations("A I16 1:0\nB I16 1:2\nG F32 1:4\nN I16 1:8 Def:-1\n") +
                                   "[Page]\nSet @A I:1 @B M:0x0F I:0x03\nBad @A I:2 @A X:1 @B I:9\n"
                                   "Float @G F:2.5\nWide @N I:65535\nUnknown @Nobody I:1 @A I:4\n"
                                   "State0 @A I:7\nState1 @A I:1\nState2 @A I:2\n"));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        ASSERT_TRUE(doc->reader().FindSection("[Page]", 0));
        doc->SetIntVariable("B", static_cast<std::int16_t>(0xF0F0));
        doc->SetModifiedFlag(false);
    }
    std::int16_t Int(const char* name) { return doc->FindIntVariable(name).get(); }
};

TEST_F(Assignments, ApplyingAndTesting) {
    std::int32_t match = 0;  // test only
    EXPECT_EQ(doc->ApplyAssignments("Set", 0, &match), 1);
    EXPECT_EQ(match, 0);
    EXPECT_EQ(Int("A"), 0);
    EXPECT_FALSE(doc->IsModified());

    EXPECT_EQ(doc->ApplyAssignments("Set", 0), 1);
    EXPECT_EQ(Int("A"), 1);
    EXPECT_EQ(static_cast<std::uint16_t>(Int("B")), 0xF0F3);
    EXPECT_TRUE(doc->IsModified());

    match = 0;
    EXPECT_EQ(doc->ApplyAssignments("Set", 0, &match), 1);
    EXPECT_EQ(match, 1);
    EXPECT_EQ(doc->ApplyAssignments("Missing", 0), -1000);

    EXPECT_EQ(doc->ApplyAssignments("Float", 0), 1);
    EXPECT_FLOAT_EQ(doc->FindFloatVariable("G").get(), 2.5f);
}

TEST_F(Assignments, AnItemOfUnknownFormStopsAfterTheItemsBeforeIt) {
    EXPECT_EQ(doc->ApplyAssignments("Bad", 0), 0);
    EXPECT_EQ(Int("A"), 2);
    EXPECT_EQ(static_cast<std::uint16_t>(Int("B")), 0xF0F0);
    EXPECT_FALSE(doc->IsModified());  // the stop leaves the modified flag alone
}

TEST_F(Assignments, SixteenBitComparisonAndUndeclaredNames) {
    std::int32_t match = 0;
    EXPECT_EQ(doc->ApplyAssignments("Wide", 0, &match), 1);
    EXPECT_EQ(match, 0);  // 65535 never matches a variable holding -1
    EXPECT_EQ(doc->ApplyAssignments("Wide", 0), 1);
    EXPECT_EQ(Int("N"), -1);

    host.messages.clear();
    EXPECT_EQ(doc->ApplyAssignments("Unknown", 0), 1);
    EXPECT_EQ(Int("A"), 4);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Nobody");
}

TEST_F(Assignments, MatchingChoices) {
    doc->SetIntVariable("A", 1);
    std::int32_t index = 0;
    EXPECT_TRUE(doc->FindMatchingChoice("State%d", 0, index));
    EXPECT_EQ(index, 1);
    index = 2;
    doc->SetIntVariable("A", 2);
    EXPECT_TRUE(doc->FindMatchingChoice("State%d", 0, index));  // the current index matches at once
    EXPECT_EQ(index, 2);
    doc->SetIntVariable("A", 99);
    EXPECT_FALSE(doc->FindMatchingChoice("State%d", 0, index));
    EXPECT_FALSE(doc->FindMatchingChoice("Nothing%d", 0, index));
    // Formats from a definition that would read a wrong argument are refused.
    EXPECT_FALSE(doc->FindMatchingChoice("State%s", 0, index));
    EXPECT_FALSE(doc->FindMatchingChoice("State%d%n", 0, index));
    EXPECT_EQ(Int("A"), 99);
}

TEST(PropertyStoreTest, EntriesAreReadWrittenAndCreated) {
    PropertyStore store;
    std::string value = "Default";
    EXPECT_TRUE(store.AccessProperty("Page", "Choice", value, PropertyMode::ReadOrCreate));
    EXPECT_EQ(store.text(), ":Page:Choice Default; ");
    value = "x";
    EXPECT_TRUE(store.AccessProperty("Page", "Choice", value, PropertyMode::Read));
    EXPECT_EQ(value, "Default");
    value = "Other";
    EXPECT_TRUE(store.AccessProperty("Page", "Choice", value, PropertyMode::Write));
    EXPECT_EQ(store.text(), ":Page:Choice Other; ");
    EXPECT_FALSE(store.AccessProperty("Page", "Nope", value, PropertyMode::Read));

    std::int32_t i = 5;
    EXPECT_EQ(store.AccessIntProperty("P", "I", i, PropertyMode::ReadOrCreate), 1);
    i = 0;
    EXPECT_EQ(store.AccessIntProperty("P", "I", i, PropertyMode::Read), 1);
    EXPECT_EQ(i, 5);
    float f = 2.25f;
    EXPECT_EQ(store.AccessFloatProperty("P", "F", f, PropertyMode::Write), 1);
    f = 0;
    EXPECT_EQ(store.AccessFloatProperty("P", "F", f, PropertyMode::Read), 1);
    EXPECT_FLOAT_EQ(f, 2.25f);
    std::int16_t s = 0;
    value = "word";
    store.AccessProperty("P", "S", value, PropertyMode::Write);
    EXPECT_EQ(store.AccessShortProperty("P", "S", s, PropertyMode::Read), 0);  // not a number
}

TEST(PropertyStoreTest, DamagedEntriesAndLongTexts) {
    PropertyStore store;
    store.SetText(":A:B broken :C:D 1; ");
    std::string value;
    EXPECT_FALSE(store.AccessProperty("A", "B", value, PropertyMode::Read));
    value = "fixed";
    EXPECT_TRUE(store.AccessProperty("A", "B", value, PropertyMode::Write));
    value.clear();
    EXPECT_TRUE(store.AccessProperty("A", "B", value, PropertyMode::Read));
    EXPECT_EQ(value, "fixed");
    EXPECT_TRUE(store.AccessProperty("C", "D", value, PropertyMode::Read));
    EXPECT_EQ(value, "1");

    // Values holding ":" make their entry unreadable, never crash.
    value = "a:b";
    EXPECT_TRUE(store.AccessProperty("X", "Y", value, PropertyMode::Write));
    EXPECT_FALSE(store.AccessProperty("X", "Y", value, PropertyMode::Read));

    const std::string longName(200, 'n');
    value = std::string(300, 'v');
    EXPECT_TRUE(store.AccessProperty(longName, longName, value, PropertyMode::Write));
    EXPECT_NE(store.text().find(":" + std::string(60, 'n') + ":" + std::string(38, 'n') + std::string(50, 'v') + "; "),
              std::string::npos);
}

}  // namespace
}  // namespace korvath
