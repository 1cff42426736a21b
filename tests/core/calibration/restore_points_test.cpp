#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "calibration/calibration_file.h"
#include "calibration/restore_points.h"
#include "support/document_fixture.h"

namespace korvath {
namespace {

using testing::DocumentTest;

class RestorePointsTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_TRUE(LoadDefinition(Declarations("A U8 1:0 Def:1\nB U8 1:1 Def:2\n", 16, 16)));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        doc->calibration().application.DefinitionFileName = "test.def";
        doc->calibration().application.TransmissionType = "Test Box";
        SetController(2);
    }
    void SetController(int device) {
        auto& hw = doc->calibration().hardware;
        hw.Set(HardwareField::DeviceType, static_cast<std::int16_t>(device));
        hw.Set(HardwareField::HardwareVersion, 1);
        hw.Set(HardwareField::FirmwareVersion, 3);
        hw.Set(HardwareField::FirmwareVersionMinor, 3);
    }
    RestorePointInfo Keep(RestorePointStore& store, std::uint8_t first, std::size_t known = 16) {
        TableSnapshot snapshot{RestoreReason::BeforeWrite, 1, std::vector<std::uint8_t>(16, 0), known};
        snapshot.image[0] = first;
        RestorePointInfo kept;
        std::string why;
        EXPECT_TRUE(store.Keep(*doc, snapshot, kept, why)) << why;
        return kept;
    }
};

TEST_F(RestorePointsTest, APointIsACalibrationOfItsImageAndLeavesTheDocumentAsItWas) {
    RestorePointStore store(dir.File("points"));
    doc->SetModifiedFlag(false);
    const RestorePointInfo kept = Keep(store, 0x2A, 1);

    EXPECT_EQ(doc->FindIntVariable("A").get(), 1);  // the open calibration is untouched
    EXPECT_FALSE(doc->IsModified());
    const auto listed = store.Find(kept.id);
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->reason, RestoreReason::BeforeWrite);
    EXPECT_EQ(listed->table, 2);
    EXPECT_EQ(listed->controller, (ControllerVersions{2, 1, 3, 3}));
    EXPECT_EQ(listed->definition, "test.def");
    EXPECT_EQ(listed->transmission, "Test Box");
    EXPECT_FALSE(listed->complete());
    EXPECT_EQ(listed->knownBytes, 1u);
    EXPECT_EQ(listed->image[0], 0x2A);
    EXPECT_EQ(listed->time.size(), 20u);  // 2026-12-10T19:35:11Z

    // Opened like any calibration, it holds the image's values and its own table.
    ASSERT_TRUE(OpenCalibrationFile(*doc, listed->path));
    EXPECT_EQ(doc->FindIntVariable("A").get(), 0x2A);
    EXPECT_EQ(doc->FindIntVariable("B").get(), 0);
    EXPECT_EQ(doc->SelectedTable(), 1);
}

TEST_F(RestorePointsTest, PruningKeepsTheFirstOfEachControllerAndTheNewestOthers) {
    RestorePointStore store(dir.File("points"), 3);
    const RestorePointInfo first = Keep(store, 1);
    for (std::uint8_t i = 2; i <= 7; ++i) Keep(store, i);
    SetController(5);
    Keep(store, 100);

    std::vector<int> kept;
    for (const auto& p : store.List()) kept.push_back(p.image[0]);
    EXPECT_EQ(kept, (std::vector<int>{100, 7, 6, 5, 1}));  // newest first
    EXPECT_TRUE(std::filesystem::exists(first.path));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.File("points"))) ++files;
    EXPECT_EQ(files, 10u);  // the pruned points are gone, both of their files
}

TEST_F(RestorePointsTest, HalfWrittenAndForeignFilesAreNotListed) {
    RestorePointStore store(dir.File("points"));
    const RestorePointInfo kept = Keep(store, 9);
    dir.Write("points/orphan.qvr", "QVR02\n");  // a point whose description never came
    dir.Write("points/bad.meta", "time=x\nreason=sideways\ntable=1\n");
    dir.Write("points/bad.qvr", "QVR02\n");
    std::ofstream(dir.File("points/short.meta")) << "time=2026-01-01T00:00:00Z\nreason=read\ntable=3\n";
    const auto listed = store.List();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].id, kept.id);
    EXPECT_FALSE(store.Find("../points/" + kept.id));
}

TEST_F(RestorePointsTest, NoRoomIsToldWithTheFolderAndTheReason) {
    dir.Write("file", "x");
    RestorePointStore blocked(dir.File("file/points"));
    const std::string why = blocked.CheckRoom(100);
    EXPECT_NE(why.find(dir.File("file/points")), std::string::npos) << why;
    EXPECT_NE(why.find("Not a directory"), std::string::npos) << why;
    EXPECT_EQ(RestorePointStore(dir.File("points")).CheckRoom(100), "");
}

}  // namespace
}  // namespace korvath
