// The RAM dump of the simulated controller and the preparation of the mail to technical support.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "calibration/calibration_file.h"
#include "calibration/support_mail.h"
#include "document/diagnostics.h"
#include "document/qrndoc.h"
#include "engine/faults.h"
#include "platform/user_folders.h"
#include "support/recording_host.h"
#include "support/scoped_env.h"
#include "support/sim_transport.h"

namespace korvath {
namespace {

using namespace korvath::testing;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class DiagnosticsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ControllerConfig config;
        config.drive = false;
        controller = std::make_unique<sim::Controller>(config);
        for (int a = 0; a < 256; ++a) controller->SetRam(static_cast<std::uint16_t>(a), static_cast<std::uint8_t>(a));
        auto transport = std::make_unique<SimTransport>(*controller);
        link = transport.get();
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, dir.path(), std::move(transport));
        host.statuses.clear();
    }

    TempDir dir;
    RecordingHost host;
    MemorySettings settings;
    std::unique_ptr<sim::Controller> controller;
    SimTransport* link = nullptr;
    std::unique_ptr<CQRNDoc> doc;
};

TEST_F(DiagnosticsTest, RamDumpIsAHexTableOfTheFirst256Bytes) {
    // The dump reads even while the link is not marked connected (as after construction).
    ASSERT_EQ(doc->monitor()->is_connected(), 0);
    ASSERT_EQ(doc->DumpControllerRam(), RamDumpResult::Written);
    EXPECT_EQ(doc->RamDumpPath(), dir.File("RAMDump.txt"));
    const std::string text = ReadFile(dir.File("RAMDump.txt"));

    std::string expected = "      0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F\n    +";
    expected += std::string(48, '-');
    const char* digits = "0123456789abcdef";
    for (int r = 0; r < 16; ++r) {
        expected += "\n0x";
        expected += static_cast<char>(std::toupper(digits[r]));
        expected += " |";
        for (int c = 0; c < 16; ++c) {
            expected += ' ';
            expected += digits[r];
            expected += digits[c];
        }
    }
    EXPECT_EQ(text, expected);
    // Each value's first digit stands under its column digit.
    const auto header = text.find('A');
    const auto row1 = text.find("\n0x1 |") + 1;
    EXPECT_EQ(text.substr(row1 + header, 2), "1a");
    EXPECT_EQ(text.back(), 'f');  // no line end after the last row
    EXPECT_EQ(host.statuses, (std::vector<std::string>{"Reading controller operating state...",
                                                       "Controller operating state read complete"}));
    EXPECT_EQ(RamDumpText(std::vector<unsigned char>(256)).size(), text.size());
}

TEST_F(DiagnosticsTest, ADumpThatLosesTheControllerLeavesThePreviousDump) {
    ASSERT_EQ(doc->DumpControllerRam(), RamDumpResult::Written);
    const std::string previous = ReadFile(dir.File("RAMDump.txt"));
    // Three bytes go to the controller for each RAM read; it answers 20 reads.
    controller->AddFault({sim::FaultKind::SilentAfter, controller->Stats().bytes_received + 3 * 20});
    host.statuses.clear();
    EXPECT_EQ(doc->DumpControllerRam(), RamDumpResult::ControllerFailed);
    EXPECT_EQ(ReadFile(dir.File("RAMDump.txt")), previous);
    EXPECT_EQ(host.statuses, std::vector<std::string>{"Reading controller operating state..."});
    EXPECT_TRUE(host.messages.empty());  // the controller's failure is not the file's
    // Nothing of the broken dump is left beside the file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(DiagnosticsTest, ADumpFileThatCannotBeMadeIsReportedWithItsPathAndReason) {
    std::filesystem::create_directory(dir.File("RAMDump.txt"));  // a folder in the file's place
    EXPECT_EQ(doc->DumpControllerRam(), RamDumpResult::FileFailed);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "RAM Dump File Error:");
    EXPECT_EQ(host.messages[0].text,
              "The RAM dump could not be saved as " + dir.File("RAMDump.txt") + ": " + SystemReason(EISDIR));
    EXPECT_NE(host.statuses.back(), "Controller operating state read complete");

    // No dump at all: the mail goes without one rather than naming a file that is not there.
    auto mail = PrepareSupportMail(*doc, "", "Untitled");
    ASSERT_TRUE(mail);
    ASSERT_EQ(mail->attachments.size(), 1u);
    EXPECT_EQ(mail->attachments[0].path, mail->temporaryFile);
    FinishSupportMail(*mail);
}

TEST_F(DiagnosticsTest, AProgramDirectoryThatTakesNoFilesSendsTheDumpToTheUserFolder) {
    // A program directory that is a plain file stands for one the user may not write (the
    // tests may run as root, whom permissions do not stop).
    TempDir data;
    ScopedEnv xdg("XDG_DATA_HOME", data.path().c_str());
    auto transport = std::make_unique<SimTransport>(*controller);
    CQRNDoc installed(DocumentHost{host, host, settings}, dir.Write("program", ""), std::move(transport));
    EXPECT_EQ(installed.RamDumpPath(), data.File("korvath/RAMDump.txt"));
    ASSERT_EQ(installed.DumpControllerRam(), RamDumpResult::Written);
    EXPECT_EQ(ReadFile(data.File("korvath/RAMDump.txt")).size(), RamDumpText(std::vector<unsigned char>(256)).size());

    // The temporary copy of the mail: the user's folder too, when the system's is gone.
    ScopedEnv tmp("TMPDIR", dir.File("no-such-folder").c_str());
    installed.SetModifiedFlag(true);
    auto mail = PrepareSupportMail(installed, "", "Untitled");
    ASSERT_TRUE(mail);
    EXPECT_EQ(std::filesystem::path(mail->temporaryFolder).parent_path(), data.File("korvath"));
    EXPECT_EQ(mail->attachments.back().path, data.File("korvath/RAMDump.txt"));
    FinishSupportMail(*mail);
}

TEST_F(DiagnosticsTest, MailAttachesTheSavedFileUnderItsOwnName) {
    const std::string path = dir.File("My Truck.qvr");
    ASSERT_TRUE(SaveCalibrationFile(*doc, path));
    auto mail = PrepareSupportMail(*doc, path, "My Truck");
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->subject, "Zentrix data for troubleshooting");
    EXPECT_EQ(mail->recipientName, "Ardexco Tech Support");
    EXPECT_FALSE(mail->recipientAddress.empty());
    ASSERT_EQ(mail->attachments.size(), 2u);
    EXPECT_EQ(mail->attachments[0].path, path);
    EXPECT_EQ(mail->attachments[0].displayName, "My Truck.qvr");
    EXPECT_EQ(mail->attachments[1].path, dir.File("RAMDump.txt"));
    EXPECT_EQ(mail->attachments[1].displayName, "RAMDump.txt");
    EXPECT_TRUE(mail->temporaryFile.empty());
    EXPECT_TRUE(std::filesystem::exists(dir.File("RAMDump.txt")));  // a fresh dump was made
}

TEST_F(DiagnosticsTest, MailOfAnUnsavedCalibrationAttachesATemporaryCopy) {
    doc->SetModifiedFlag(true);
    auto mail = PrepareSupportMail(*doc, "", "Untitled");
    ASSERT_TRUE(mail);
    EXPECT_TRUE(doc->IsModified());  // the copy does not count as saving
    ASSERT_FALSE(mail->temporaryFile.empty());
    EXPECT_EQ(mail->attachments[0].path, mail->temporaryFile);
    EXPECT_EQ(mail->attachments[0].displayName, "Untitled.qvr");
    // The copy carries the display name, in a fresh folder of its own.
    const std::filesystem::path copy(mail->temporaryFile);
    EXPECT_EQ(copy.filename(), "Untitled.qvr");
    EXPECT_EQ(copy.parent_path(), std::filesystem::path(mail->temporaryFolder));
    EXPECT_EQ(copy.parent_path().filename().string().substr(0, 3), "afx");
    EXPECT_EQ(ReadFile(mail->temporaryFile), CalibrationFileBytes(*doc));
    EXPECT_EQ(MailProgramArguments(*mail),
              (std::vector<std::string>{"--subject", "Zentrix data for troubleshooting", "--attach",
                                        mail->temporaryFile, "--attach", dir.File("RAMDump.txt"),
                                        mail->recipientAddress}));
    FinishSupportMail(*mail);
    EXPECT_FALSE(std::filesystem::exists(mail->temporaryFolder));

    // A saved file changed since: its current content goes as a copy, under the file's name.
    const std::string path = dir.File("truck.v2.qvr");
    ASSERT_TRUE(SaveCalibrationFile(*doc, path));
    doc->calibration().application.Description = "changed";
    doc->SetModifiedFlag(true);
    mail = PrepareSupportMail(*doc, path, "truck.v2");
    ASSERT_TRUE(mail);
    EXPECT_NE(mail->attachments[0].path, path);
    EXPECT_EQ(mail->attachments[0].displayName, "truck.v2.qvr");
    EXPECT_EQ(ReadFile(mail->temporaryFile), CalibrationFileBytes(*doc));
    FinishSupportMail(*mail);

    // A title with a dot gets no extension; a separator in it does not leave the copy's folder.
    mail = PrepareSupportMail(*doc, "", "truck.v3");
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->attachments[0].displayName, "truck.v3");
    FinishSupportMail(*mail);
    mail = PrepareSupportMail(*doc, "", "../up");
    ASSERT_TRUE(mail);
    EXPECT_EQ(std::filesystem::path(mail->temporaryFile).parent_path(), std::filesystem::path(mail->temporaryFolder));
    FinishSupportMail(*mail);
    EXPECT_FALSE(std::filesystem::exists(mail->temporaryFolder));
}

}  // namespace
}  // namespace korvath
