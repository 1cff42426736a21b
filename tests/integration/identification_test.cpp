// The document identifying the simulated controller and re-targeting its calibration.

#include <gtest/gtest.h>

#include <memory>

#include "calibration/calibration_file.h"
#include "document/qrndoc.h"
#include "platform/settings_keys.h"
#include "engine/faults.h"
#include "support/recording_host.h"
#include "support/sim_transport.h"

namespace korvath {
namespace {

using namespace korvath::testing;

constexpr const char* kDefinition =
    "[ApplicationID]\nLogicalName KV4\nTransmissionType KV4 Four-Speed\nProdName %s\n"
    "[Declarations]\n$TotalBlockSize 64\n$DynamicBlockSize 32\n$NumDynamicTableCells 20\n"
    "$NumDynamicTableEntries 2\n$DynamicBlockStart 32\n$DynamicBlockLayout 0\n$DynamicInterpolation 1\n"
    "$StaticBlockSize 32\n$StaticBlockStart 0\n$NVMType 0\nGain I16 1:0 Def:%d\n";

sim::ControllerConfig Controller(int product = 2, int firmwareMajor = 3, int firmwareMinor = 3) {
    sim::ControllerConfig config;
    config.product_id = product;
    config.firmware_major = firmwareMajor;
    config.firmware_minor = firmwareMinor;
    config.drive = false;
    return config;
}

class IdentificationTest : public ::testing::Test {
protected:
    void WriteDefinition(const std::string& dirName, const char* productName, int gain) {
        char text[1024];
        std::snprintf(text, sizeof text, kDefinition, productName, gain);
        dir.Write(dirName + "/KV4.def", text);
    }
    // A document whose calibration was made on KV4.def for the given controller.
    void MakeDocument(sim::ControllerConfig config) {
        controller = std::make_unique<sim::Controller>(config);
        auto transport = std::make_unique<SimTransport>(*controller);
        link = transport.get();
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, dir.path(), std::move(transport));
        auto& cal = doc->calibration();
        cal.application.DefinitionFileName = "KV4.def";
        cal.application.TransmissionType = "KV4 Four-Speed";
        cal.product.ProdName = "Demo Controller";
        ASSERT_TRUE(doc->LoadDefinitionFile(dir.File("PID2/3/KV4.def")));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        doc->SetModifiedFlag(false);
        host.messages.clear();
        host.statuses.clear();
    }
    int Profile(const char* key) { return settings.GetInt(settings::kHardwareProfile, key, -1); }

    TempDir dir;
    RecordingHost host;
    MemorySettings settings;
    std::unique_ptr<sim::Controller> controller;
    SimTransport* link = nullptr;
    std::unique_ptr<CQRNDoc> doc;
};

TEST_F(IdentificationTest, TheSameControllerOnlyConnects) {
    WriteDefinition("PID2/3", "Demo Controller", 1);
    MakeDocument(Controller());
    auto& hw = doc->calibration().hardware;
    hw.Set(HardwareField::HardwareVersion, 1);
    ASSERT_TRUE(doc->IdentifyController(0, 1));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(settings.values.empty());  // nothing written for an unchanged controller
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(hw.Get(HardwareField::IdentifiedFlag), 1);
    EXPECT_EQ(hw.Get(HardwareField::IdentifiedSinceLoad), 1);
    EXPECT_EQ(doc->monitor()->is_connected(), 1);
    ASSERT_FALSE(host.statuses.empty());
    EXPECT_EQ(host.statuses.back(), "Demo Controller connected: Product Version 2.1, Firmware Revision 3.3");
}

TEST_F(IdentificationTest, NewFirmwareReloadsTheDefinitionFromItsDirectory) {
    WriteDefinition("PID2/3", "Demo Controller", 1);
    WriteDefinition("PID2/4", "Demo Controller Mk II", 2);
    settings.SetInt(settings::kHardwareProfile, settings::kDeviceType, 2);  // a controller was known before
    MakeDocument(Controller(2, 4, 0));
    ASSERT_TRUE(doc->IdentifyController(0, 1));
    EXPECT_EQ(doc->definitionDirectory(), dir.path() + "/PID2/4");
    EXPECT_EQ(doc->calibration().product.ProdName, "Demo Controller Mk II");
    EXPECT_EQ(doc->FindIntVariable("Gain").get(), 1);  // declarations mode 0: the stored value stays
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Profile(settings::kFirmwareVersion), 4);
    EXPECT_EQ(Profile(settings::kFirmwareVersionMinor), 0);
    EXPECT_EQ(Profile(settings::kHardwareVersion), 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Controller or Software Revision Change");
    EXPECT_EQ(host.statuses.back(), "Demo Controller Mk II connected: Product Version 2.1, Firmware Revision 4.0");
}

TEST_F(IdentificationTest, NoDefinitionForTheNewControllerIsReportedOnce) {
    WriteDefinition("PID2/3", "Demo Controller", 1);
    settings.SetInt(settings::kHardwareProfile, settings::kDeviceType, 2);
    MakeDocument(Controller(7));
    ASSERT_TRUE(doc->IdentifyController(0, 1));  // still connected
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Incompatible Controller Version");
    EXPECT_EQ(doc->calibration().product.ProdName, "Controller");
    // This installation has no PID7 directory: the profile keeps the controller it can serve.
    EXPECT_EQ(Profile(settings::kDeviceType), 2);
    EXPECT_EQ(doc->monitor()->is_connected(), 1);
    // A second identification finds the versions already updated: no second message.
    ASSERT_TRUE(doc->IdentifyController(0, 1));
    EXPECT_EQ(host.messages.size(), 1u);

    MakeDocument(Controller(8));
    doc->calibration().application.TransmissionType = "None";
    ASSERT_TRUE(doc->IdentifyController(0, 1));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Unrecognized Controller Version");
}

TEST_F(IdentificationTest, TheFirstControllerEverGetsNoRevisionMessage) {
    WriteDefinition("PID2/3", "Demo Controller", 1);
    WriteDefinition("PID2/4", "A product name much longer than thirty-five characters", 2);
    MakeDocument(Controller(2, 4));
    ASSERT_TRUE(doc->IdentifyController(0, 1));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.statuses.back(),
              "A product name much longer than thi connected: Product Version 2.1, Firmware Revision 4.3");
}

TEST_F(IdentificationTest, NoAnswerChangesNothingAndLosingTheLinkIsShown) {
    WriteDefinition("PID2/3", "Demo Controller", 1);
    MakeDocument(Controller(2, 4));
    link->plugged = false;
    EXPECT_FALSE(doc->IdentifyController(0, 1));
    EXPECT_EQ(doc->calibration().hardware.Get(HardwareField::FirmwareVersion), 3);
    EXPECT_TRUE(settings.values.empty());
    EXPECT_EQ(doc->monitor()->is_connected(), 0);

    link->plugged = true;
    ASSERT_TRUE(doc->IdentifyController(0, 1));
    doc->monitor()->set_connected(0);  // what a failed exchange does
    ASSERT_FALSE(host.statuses.empty());
    EXPECT_EQ(host.statuses.back(), "Controller Disconnected");

    CQRNDoc unlinked(DocumentHost{host, host, settings}, dir.path());
    EXPECT_FALSE(unlinked.IdentifyController(0, 1));
}

TEST_F(IdentificationTest, LiveReferencesReadTheControllersRam) {
    WriteDefinition("PID2/3", "Demo Controller", 1);
    MakeDocument(Controller());
    ASSERT_TRUE(doc->IdentifyController(0, 1));
    controller->SetRam(44, 200);  // TPS
    std::string formula = "M:TPS:*100/255";
    EXPECT_EQ(doc->SubstituteReferences(formula, 0), 200);
    EXPECT_EQ(formula, "200*100/255");
}

TEST_F(IdentificationTest, OpeningAFileIdentifiesTheController) {
    WriteDefinition("PID2/3", "Demo Controller", 1);
    MakeDocument(Controller());
    const std::string path = dir.File("cal.qvr");
    ASSERT_TRUE(SaveCalibrationFile(*doc, path));
    doc->calibration().hardware.Set(HardwareField::IdentifiedFlag, 0);
    ASSERT_TRUE(OpenCalibrationFile(*doc, path));
    EXPECT_EQ(doc->calibration().hardware.Get(HardwareField::IdentifiedFlag), 1);
    EXPECT_EQ(doc->calibration().hardware.Get(HardwareField::IdentifiedSinceLoad), 1);
}

// The line faults of the simulator against the firmware query: a garbled exchange is asked
// again and never taken for a controller without the query (firmware 1.0).
TEST_F(IdentificationTest, AGarbledFirmwareQueryIsAskedAgain) {
    WriteDefinition("PID2/3", "Demo Controller", 1);
    for (sim::FaultSpec fault : {sim::FaultSpec{sim::FaultKind::BadEcho, 1}, sim::FaultSpec{sim::FaultKind::DropByte, 5}}) {
        SCOPED_TRACE(sim::FaultName(fault.kind));
        settings.values.clear();
        auto config = Controller();
        config.faults.push_back(fault);
        MakeDocument(config);
        ASSERT_TRUE(doc->IdentifyController(0, 1));
        EXPECT_EQ(doc->calibration().hardware.Get(HardwareField::FirmwareVersion), 3);
        EXPECT_EQ(Profile(settings::kFirmwareVersion), 3);
        EXPECT_TRUE(host.messages.empty());
    }

    // A line that garbles every answer identifies nothing and remembers nothing.
    settings.values.clear();
    auto config = Controller();
    config.faults.push_back({sim::FaultKind::BadEcho, sim::FaultSpec::kEvery});
    MakeDocument(config);
    EXPECT_FALSE(doc->IdentifyController(0, 1));
    EXPECT_EQ(doc->calibration().hardware.Get(HardwareField::FirmwareVersion), 3);
    EXPECT_TRUE(settings.values.empty());
    EXPECT_EQ(doc->monitor()->is_connected(), 0);
}

TEST_F(IdentificationTest, AControllerWithoutADefinitionHereIsNotTransferred) {
    WriteDefinition("PID2/3", "Demo Controller", 1);
    MakeDocument(Controller(2, 9, 1));  // no PID2/9 directory
    const auto gainBefore = doc->FindIntVariable("Gain").get();
    EXPECT_FALSE(doc->TransferCalibration(0));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().caption, "Calibration Read Error:");
    EXPECT_EQ(host.messages.back().text.rfind("No definition for the connected controller (product 2, firmware 9.1)", 0),
              0u);
    EXPECT_EQ(doc->FindIntVariable("Gain").get(), gainBefore);
    EXPECT_EQ(Profile(settings::kFirmwareVersion), -1);
    EXPECT_FALSE(doc->IsModified());

    // The next transfer finds the controller unchanged and still refuses; a write sends nothing.
    auto eepromCommands = [&] {
        const auto& commands = controller->Stats().commands;
        auto found = commands.find('e');
        return found == commands.end() ? 0u : found->second;
    };
    const auto readsBefore = eepromCommands();
    EXPECT_FALSE(doc->TransferCalibration(1));
    EXPECT_EQ(host.messages.back().caption, "Calibration Write Error:");
    EXPECT_EQ(eepromCommands(), readsBefore);

    // Back on a controller this installation knows, transfers work again.
    MakeDocument(Controller());
    EXPECT_TRUE(doc->TransferCalibration(0));
}

TEST_F(IdentificationTest, ANewCalibrationForAControllerWhoseDirectoryIsGoneFallsBack) {
    WriteDefinition("PID2/3", "Demo Controller", 1);
    using namespace settings;
    settings.SetInt(kHardwareProfile, kDeviceType, 2);
    settings.SetInt(kHardwareProfile, kFirmwareVersion, 1);
    CQRNDoc fresh(DocumentHost{host, host, settings}, dir.path());
    EXPECT_EQ(fresh.calibration().hardware.Get(HardwareField::FirmwareVersion), 3);
    EXPECT_EQ(fresh.definitionDirectory(), dir.path() + "/PID2/3");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Definition Directory Missing");
    EXPECT_NE(host.messages[0].text.find(dir.path() + "/PID2/1"), std::string::npos);
}

}  // namespace
}  // namespace korvath
